#include "ledger/ItemLabel.h"

namespace ledger {

const std::array<StandardItem, 41> kStandardItems{{
    {"F所定労働日数", "inSyoNisu"}, {"V出勤日数", "inSyuNisu"},     {"V有休日数", "inYukNisu"},
    {"V欠勤日数", "inKekNisu"},     {"V休日出勤日数", "inKyuNisu"}, {"V特別休暇日数", "inTokNisu"},
    {"F所定労働時間", "inSyoJikn"}, {"V実働時間", "inJitJikn"},     {"V普通残業時間", "inFutZan"},
    {"V深夜残業時間", "inSinZan"},  {"V休日普通残業", "inKyuZanF"}, {"V休日深夜残業", "inKyuZanS"},
    {"V遅刻早退回数", "inCikoSuu"}, {"V遅刻早退時間", "inCikoJik"}, {"V有休残日数", "inYukZan"},
    {"F基本給", "inKihon"},         {"F役職手当", "inYakuTea"},     {"F家族手当", "inFamiTea"},
    {"F普通残業手当", "inFutuTea"}, {"F深夜残業手当", "inSinTea"},  {"F休日普通残業", "inKyFuTea"},
    {"F休日深夜残業", "inKySnTea"}, {"F非課税通勤費", "inTuukin0"}, {"F課税通勤費", "inTuukin1"},
    {"F欠勤控除", "inKekKojo"},     {"F遅刻早退控除", "inChiKojo"}, {"F固定手当１", "FixTeate1"},
    {"F固定手当２", "FixTeate2"},   {"F固定手当３", "FixTeate3"},   {"V変動手当１", "VarTeate1"},
    {"V変動手当２", "VarTeate2"},   {"V変動手当３", "VarTeate3"},   {"F固定控除１", "FixKoujo1"},
    {"F固定控除２", "FixKoujo2"},   {"F固定控除３", "FixKoujo3"},   {"V変動控除１", "VarKoujo1"},
    {"V変動控除２", "VarKoujo2"},   {"V変動控除３", "VarKoujo3"},   {"Vその他１", "Sonota1"},
    {"Vその他２", "Sonota2"},       {"Vその他３", "Sonota3"},
}};

std::string ItemLabel(std::string_view code, const SysOption& options) {
    for (const auto& item : kStandardItems) {
        if (item.code != code) continue;
        if (const std::string* label = options.labelForKey(item.optionKey))
            return std::string(code.substr(0, 1)) + *label;
        break;
    }
    return std::string(code);
}

bool IsTimeItem(std::string_view label) {
    return label.find("時間") != std::string_view::npos ||
           label.find("残業") != std::string_view::npos;
}

}  // namespace ledger
