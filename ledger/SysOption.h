#pragma once
#include <array>
#include <string>
#include <string_view>

namespace platform {
class IniFile;
}

// The payroll program's [Option] settings in memory: item labels, the taxable and
// social-insurance flags of the free items, the rounding modes, the time style
// and the switches. Loaded once at start, replaced field by field when the
// settings dialog is confirmed. All texts UTF-8.
namespace ledger {

inline constexpr const char* kOptionSection = "Option";

// [Option] keys of the 15 attendance labels, in attendance-record order.
inline constexpr std::array<std::string_view, 15> kAttendanceLabelKeys{
    "inSyoNisu", "inSyuNisu", "inYukNisu", "inKekNisu", "inKyuNisu",
    "inTokNisu", "inSyoJikn", "inJitJikn", "inFutZan",  "inSinZan",
    "inKyuZanF", "inKyuZanS", "inCikoSuu", "inCikoJik", "inYukZan"};
inline constexpr std::array<std::string_view, 15> kAttendanceLabelDefaults{
    "所定労働日数", "出勤日数",     "有休日数",     "欠勤日数",     "休日出勤日数",
    "特別休暇日数", "所定労働時間", "実働時間",     "普通残業時間", "深夜残業時間",
    "休日普通残業", "休日深夜残業", "遅刻早退回数", "遅刻早退時間", "有休残日数"};

// [Option] keys of the 11 payment labels.
inline constexpr std::array<std::string_view, 11> kPaymentLabelKeys{
    "inKihon",   "inYakuTea", "inFamiTea", "inFutuTea", "inSinTea", "inKyFuTea",
    "inKySnTea", "inTuukin0", "inTuukin1", "inKekKojo", "inChiKojo"};
inline constexpr std::array<std::string_view, 11> kPaymentLabelDefaults{
    "基本給",       "役職手当",     "家族手当",   "普通残業手当", "深夜残業手当", "休日普通残業",
    "休日深夜残業", "非課税通勤費", "課税通勤費", "欠勤控除",     "遅刻早退控除"};

// The 15 user-named items: 固定手当, 変動手当, 固定控除, 変動控除, その他 (three each),
// in this order; keys and standard names.
inline constexpr std::array<std::string_view, 15> kFreeLabelKeys{
    "FixTeate1", "FixTeate2", "FixTeate3", "VarTeate1", "VarTeate2",
    "VarTeate3", "FixKoujo1", "FixKoujo2", "FixKoujo3", "VarKoujo1",
    "VarKoujo2", "VarKoujo3", "Sonota1",   "Sonota2",   "Sonota3"};
inline constexpr std::array<std::string_view, 15> kFreeLabelDefaults{
    "固定手当１", "固定手当２", "固定手当３", "変動手当１", "変動手当２",
    "変動手当３", "固定控除１", "固定控除２", "固定控除３", "変動控除１",
    "変動控除２", "変動控除３", "その他１",   "その他２",   "その他３"};

struct SysOption {
    SysOption();

    std::string corpName;
    std::array<std::string, 15> attendanceLabels;  // by kAttendanceLabelKeys
    std::array<std::string, 11> paymentLabels;     // by kPaymentLabelKeys
    std::array<std::string, 15> freeLabels;        // by kFreeLabelKeys
    std::string tokuSyoyo = "特別賞与";            // name of bonus period 15
    // '1' per free item (固定手当１-３, 変動手当１-３, 固定控除１-３, 変動控除１-３): taxable
    // payment or deduction taken before tax / counts toward the social-insurance base.
    std::string kazei = "111111000000";
    std::string syaho = "111111000000";
    int hasuuSik = 1;   // rounding of computed payments: 1 up, 2 half
    int hasuuGen = 0;   // rounding of reductions: 0 down, 2 half
    int hasuuKou = 0;   // rounding of computed deductions and taxes: 0 down, 2 half
    int timeStyle = 1;  // 0 decimal hours, 1 h:mm
    bool prnRuikei = true;
    bool use2kSatu = true;
    bool autoSelect = true;
    bool inputOverN = true;

    // The label held under an [Option] key name, or nullptr for another key.
    const std::string* labelForKey(std::string_view key) const;
    std::string* labelForKey(std::string_view key);

    bool kazeiFlag(int index) const {
        return index >= 0 && index < int(kazei.size()) && kazei[std::size_t(index)] == '1';
    }
    bool syahoFlag(int index) const {
        return index >= 0 && index < int(syaho.size()) && syaho[std::size_t(index)] == '1';
    }
};

// Reads every [Option] key of the settings dialog; an absent or unreadable value
// (not a number, out of range, an empty label, a flag string that is not twelve
// '0'/'1' characters) gives the key's default. The company name is not read, and
// members kept under other keys are left as they are.
void LoadSysOption(const platform::IniFile& ini, SysOption& option);

// Writes the [Option] keys of the settings dialog in their fixed order:
// DefJikanD (the hours per day, "%.2f"), CorpName (unquoted), the free labels,
// TokuSyoyo and the その他 labels (quoted), Kazei, Syaho, the attendance and
// payment labels (quoted), TimeStyle, the rounding modes and the two print
// switches. Throws platform::IoError when the file cannot be written.
void SaveSysOption(platform::IniFile& ini, const SysOption& option, double hoursPerDay);

}  // namespace ledger
