#include "withholding/ui/DataEdit2.h"

#include <QPushButton>

#include "withholding/WithholdingFile.h"
#include "withholding/ui/Family.h"

namespace withholding::ui {

TfmDataEdit2::TfmDataEdit2(ledger::Ledger& ledger, WithholdingData& data, QWidget* parent)
    : TfmRecordEditor(ledger, data, parent) {
    setObjectName(QStringLiteral("fmDataEdit2"));
    using R = FormRow;
    build({
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
        R{0,
          QStringLiteral("控除対象配偶者"),
          {{"cbKouHaiAri", QStringLiteral("有")},
           {"cbKouHaiJyu", QStringLiteral("従有")},
           {"cbKouHaiRou", QStringLiteral("老人")}}},
        R{0, QStringLiteral("配偶者特別控除の額"), {{"edHaiTokGak", {}}}},
        R{0,
          QStringLiteral("扶養親族 特定"),
          {{"edFuyoKazu1", QStringLiteral("人")}, {"edFuyoKazu2", QStringLiteral("従人")}}},
        R{0,
          QStringLiteral("扶養親族 老人"),
          {{"edFuyoKazu3", QStringLiteral("<内")},
           {"edFuyoKazu4", QStringLiteral("人")},
           {"edFuyoKazu5", QStringLiteral("従人")}}},
        R{0,
          QStringLiteral("扶養親族 その他"),
          {{"edFuyoKazu6", QStringLiteral("人")}, {"edFuyoKazu7", QStringLiteral("従人")}}},
        R{0,
          QStringLiteral("障害者 特別"),
          {{"edSyouKazu1", QStringLiteral("<内")}, {"edSyouKazu2", QStringLiteral("人")}}},
        R{0, QStringLiteral("障害者 その他"), {{"edSyouKazu3", QStringLiteral("人")}}},
        R{0, QStringLiteral("16歳未満扶養親族の数"), {{"edUnder16", QStringLiteral("人")}}},
        R{0, QStringLiteral("非居住者である親族の数"), {{"edHikyoju", QStringLiteral("人")}}},
        R{0, QStringLiteral("社会保険料等の金額"), {{"edSyahoGaku", {}}}},
        R{1, QStringLiteral("生命保険料の控除額"), {{"edSeihoGaku", {}}}},
        R{1, QStringLiteral("地震保険料の控除額"), {{"edJisinGaku", {}}}},
        R{1, QStringLiteral("住宅借入金特別控除"), {{"edJutakGaku", {}}}},
        R{1, QStringLiteral("小規模企業共済掛金等"), {{"edKyosaGaku", {}}}},
        R{1, QStringLiteral("摘　要"), {{"edTekiyou1", {}}}},
        R{1, QString(), {{"edTekiyou2", {}}}},
        R{1, QString(), {{"edTekiyou3", {}}}},
        R{1, QString(), {{"edTekiyou4", {}}}},
        R{1, QString(), {{"edTekiyou5", {}}}},
        R{1, QStringLiteral("新生命保険料額"), {{"edSeimeiN", {}}}},
        R{1, QStringLiteral("旧生命保険料額"), {{"edSeimeiO", {}}}},
        R{1, QStringLiteral("介護医療保険料額"), {{"edKaigoiryo", {}}}},
        R{1, QStringLiteral("新個人年金保険料額"), {{"edNenkinN", {}}}},
        R{1, QStringLiteral("旧個人年金保険料額"), {{"edNenkinO", {}}}},
        R{1,
          QStringLiteral("住宅借入金等特別控除"),
          {{"edJuKariTek", QStringLiteral("<適用数")}, {"edJuKariGak", QStringLiteral("<可能額")}}},
        R{1,
          QStringLiteral("居住開始年月日 1"),
          {{"cbKyojuG1", {}},
           {"edKyojuY1", QStringLiteral("年")},
           {"edKyojuM1", QStringLiteral("月")},
           {"edKyojuD1", QStringLiteral("日")}}},
        R{1,
          QStringLiteral("居住開始年月日 2"),
          {{"cbKyojuG2", {}},
           {"edKyojuY2", QStringLiteral("年")},
           {"edKyojuM2", QStringLiteral("月")},
           {"edKyojuD2", QStringLiteral("日")}}},
        R{1,
          QStringLiteral("控除区分 1"),
          {{"cbJuKariKbn1", {}},
           {"cbJuKariTok1", QStringLiteral("特定取得")},
           {"edJuKariZan1", QStringLiteral("<年末残高")}}},
        R{1,
          QStringLiteral("控除区分 2"),
          {{"cbJuKariKbn2", {}},
           {"cbJuKariTok2", QStringLiteral("特定取得")},
           {"edJuKariZan2", QStringLiteral("<年末残高")}}},
        R{1, QString(), {{"btFamily", QStringLiteral("配偶者/扶養親族")}}},
        R{1, QStringLiteral("配偶者の合計所得"), {{"edHaiSyotok", {}}}},
        R{1, QStringLiteral("国民年金保険料額"), {{"edKokuho", {}}}},
        R{1, QStringLiteral("旧長期損害保険料額"), {{"edChoSonGak", {}}}},
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
    });
    btFamily = qobject_cast<QPushButton*>(control("btFamily"));
}

std::vector<TfmRecordEditor::FieldInfo> TfmDataEdit2::fields() const {
    std::vector<FieldInfo> out;
    for (const auto& f : NewLayoutFields()) out.push_back({f.name, f.kind, f.maxLength});
    return out;
}
std::string TfmDataEdit2::showField(int i) const {
    return NewLayoutFields()[i].show(data_.Record(EditSlot));
}
void TfmDataEdit2::storeField(int i, std::string_view t) {
    NewLayoutFields()[i].store(data_.Record(EditSlot), t);
}
bool TfmDataEdit2::manualFlag(int k) const {
    return data_.Record(EditSlot).ManualFlags[k - 1] != 0;
}
void TfmDataEdit2::setManualFlag(int k, bool on) {
    data_.Record(EditSlot).ManualFlags[k - 1] = on ? 1 : 0;
}
bool TfmDataEdit2::otsu() const {
    return data_.Record(EditSlot).PersonFlags[kPersonOtsu] != 0;
}
int TfmDataEdit2::status() const {
    return data_.Record(EditSlot).Status;
}

void TfmDataEdit2::extraButtonClick(std::string_view name) {
    if (name == "btFamily") btFamilyClick();
}

void TfmDataEdit2::btFamilyClick() {
    // The family dialog touches only fields this editor does not show.
    if (!family_) return;
    family_->FamilySlot = EditSlot;
    runModal(*family_);
}

}  // namespace withholding::ui
