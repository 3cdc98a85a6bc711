// The rows both record layouts show alike; each editor puts them in its own
// order among the rows of its own fields.
#include <array>
#include <initializer_list>

#include "withholding/ui/RecordEditor.h"

namespace withholding::ui {

std::vector<RecordEditor::FormRow> RecordEditor::joinRows(
    std::initializer_list<std::vector<FormRow>> parts) {
    std::vector<FormRow> rows;
    for (const auto& part : parts) rows.insert(rows.end(), part.begin(), part.end());
    return rows;
}

std::vector<RecordEditor::FormRow> RecordEditor::payeeRows() {
    using R = FormRow;
    return {
        R{0, QStringLiteral("郵便番号"), {{"edYubinNo", {}}}},
        R{0, QStringLiteral("住　所"), {{"edJusyo1", {}}}},
        R{0, QString(), {{"edJusyo2", {}}}},
        R{0, QStringLiteral("受給者番号"), {{"edJukyuNo", {}}}},
        R{0, QStringLiteral("フリガナ"), {{"edFurigana", {}}}},
        R{0, QStringLiteral("役職名"), {{"edYakusyoku", {}}}},
        R{0, QStringLiteral("支払金額"), {{"edSiharai", {}}}},
        R{0, QStringLiteral("給与所得控除後の額"), {{"edSyoKouGak", {}}}},
        R{0, QStringLiteral("所得控除の額の合計"), {{"edKouGakKei", {}}}},
        R{0, QStringLiteral("源泉徴収税額"), {{"edGensenGak", {}}}},
        R{0, QStringLiteral("(所得税･徴収税額)"), {{"edChousyu", {}}}},
    };
}

RecordEditor::FormRow RecordEditor::amountRow(std::string_view name, int column) {
    static const std::array<std::pair<std::string_view, const char*>, 4> labels{{
        {"edHaiTokGak", "配偶者特別控除の額"},
        {"edSyahoGaku", "社会保険料等の金額"},
        {"edHaiSyotok", "配偶者の合計所得"},
        {"edChoSonGak", "旧長期損害保険料額"},
    }};
    QString label;
    for (const auto& [n, text] : labels)
        if (n == name) label = QString::fromUtf8(text);
    return FormRow{column, label, {{name, {}}}};
}

std::vector<RecordEditor::FormRow> RecordEditor::dependantRows(int column) {
    using R = FormRow;
    return {
        R{column,
          QStringLiteral("扶養親族 特定"),
          {{"edFuyoKazu1", QStringLiteral("人")}, {"edFuyoKazu2", QStringLiteral("従人")}}},
        R{column,
          QStringLiteral("扶養親族 老人"),
          {{"edFuyoKazu3", QStringLiteral("<内")},
           {"edFuyoKazu4", QStringLiteral("人")},
           {"edFuyoKazu5", QStringLiteral("従人")}}},
        R{column,
          QStringLiteral("扶養親族 その他"),
          {{"edFuyoKazu6", QStringLiteral("人")}, {"edFuyoKazu7", QStringLiteral("従人")}}},
        R{column,
          QStringLiteral("障害者 特別"),
          {{"edSyouKazu1", QStringLiteral("<内")}, {"edSyouKazu2", QStringLiteral("人")}}},
        R{column, QStringLiteral("障害者 その他"), {{"edSyouKazu3", QStringLiteral("人")}}},
    };
}

std::vector<RecordEditor::FormRow> RecordEditor::deductionRows() {
    using R = FormRow;
    return {
        R{1, QStringLiteral("生命保険料の控除額"), {{"edSeihoGaku", {}}}},
        R{1, QStringLiteral("地震保険料の控除額"), {{"edJisinGaku", {}}}},
        R{1, QStringLiteral("住宅借入金特別控除"), {{"edJutakGaku", {}}}},
    };
}

std::vector<RecordEditor::FormRow> RecordEditor::remarkRows(int lines) {
    static constexpr std::array<std::string_view, 5> names{"edTekiyou1", "edTekiyou2", "edTekiyou3",
                                                           "edTekiyou4", "edTekiyou5"};
    std::vector<FormRow> rows;
    for (int i = 0; i < lines && i < int(names.size()); ++i)
        rows.push_back(FormRow{
            1, i == 0 ? QStringLiteral("摘　要") : QString(), {{names[std::size_t(i)], {}}}});
    return rows;
}

std::vector<RecordEditor::FormRow> RecordEditor::premiumRows() {
    using R = FormRow;
    return {
        R{1, QStringLiteral("新生命保険料額"), {{"edSeimeiN", {}}}},
        R{1, QStringLiteral("旧生命保険料額"), {{"edSeimeiO", {}}}},
        R{1, QStringLiteral("介護医療保険料額"), {{"edKaigoiryo", {}}}},
        R{1, QStringLiteral("新個人年金保険料額"), {{"edNenkinN", {}}}},
        R{1, QStringLiteral("旧個人年金保険料額"), {{"edNenkinO", {}}}},
    };
}

std::vector<RecordEditor::FormRow> RecordEditor::personRows() {
    using R = FormRow;
    return {
        R{2,
          QStringLiteral("本人"),
          {{"cbTaisyou1", QStringLiteral("未成年")},
           {"cbTaisyou11", QStringLiteral("外国人")},
           {"cbTaisyou9", QStringLiteral("死亡退職")},
           {"cbTaisyou10", QStringLiteral("災害者")},
           {"cbTaisyou2", QStringLiteral("乙欄")},
           {"cbTaisyou3", QStringLiteral("障害者 特別")},
           {"cbTaisyou4", QStringLiteral("障害者 その他")},
           {"cbTaisyou5", QStringLiteral("寡婦 一般")},
           {"cbTaisyou6", QStringLiteral("寡婦 特別")},
           {"cbTaisyou7", QStringLiteral("寡夫")},
           {"cbTaisyou8", QStringLiteral("勤労学生")}}},
        R{2,
          QStringLiteral("就職・退職"),
          {{"cbSyusyoku", QStringLiteral("就職")},
           {"cbTaisyoku", QStringLiteral("退職")},
           {"edSyuTaiY", QStringLiteral("年")},
           {"edSyuTaiM", QStringLiteral("月")},
           {"edSyuTaiD", QStringLiteral("日")}}},
        R{2,
          QStringLiteral("生年月日"),
          {{"cbGengou", {}},
           {"edSeinenY", QStringLiteral("年")},
           {"edSeinenM", QStringLiteral("月")},
           {"edSeinenD", QStringLiteral("日")}}},
    };
}

}  // namespace withholding::ui
