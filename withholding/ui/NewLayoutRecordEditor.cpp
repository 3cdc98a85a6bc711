#include "withholding/ui/NewLayoutRecordEditor.h"

#include <QPushButton>
#include <algorithm>

#include "withholding/WithholdingFile.h"
#include "withholding/ui/FamilyDialog.h"

namespace withholding::ui {

NewLayoutRecordEditor::NewLayoutRecordEditor(ledger::Ledger& ledger, WithholdingData& data,
                                             QWidget* parent)
    : RecordEditor(ledger, data, parent) {
    setObjectName(QStringLiteral("fmDataEdit2"));
    using R = FormRow;
    // The declared 特定親族特別控除 follows the earthquake insurance.
    auto deductions = deductionRows();
    auto quake = std::find_if(deductions.begin(), deductions.end(), [](const FormRow& r) {
        return !r.controls.empty() && r.controls.front().first == "edJisinGaku";
    });
    deductions.insert(quake == deductions.end() ? quake : quake + 1,
                      R{1, QStringLiteral("特定親族特別控除の額"), {{"edSpecificRelative", {}}}});
    build(joinRows({
        payeeRows(),
        {R{0,
           QStringLiteral("控除対象配偶者"),
           {{"cbKouHaiAri", QStringLiteral("有")},
            {"cbKouHaiJyu", QStringLiteral("従有")},
            {"cbKouHaiRou", QStringLiteral("老人")}}},
         amountRow("edHaiTokGak", 0)},
        dependantRows(0),
        {R{0, QString(), {{"cbDependantUnder23", QStringLiteral("23歳未満の扶養親族あり")}}},
         R{0, QStringLiteral("16歳未満扶養親族の数"), {{"edUnder16", QStringLiteral("人")}}},
         R{0, QStringLiteral("非居住者である親族の数"), {{"edHikyoju", QStringLiteral("人")}}},
         amountRow("edSyahoGaku", 0)},
        deductions,
        {R{1, QStringLiteral("小規模企業共済掛金等"), {{"edKyosaGaku", {}}}}},
        remarkRows(5),
        premiumRows(),
        {R{1,
           QStringLiteral("住宅借入金等特別控除"),
           {{"edJuKariTek", QStringLiteral("<適用数")},
            {"edJuKariGak", QStringLiteral("<可能額")}}},
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
         amountRow("edHaiSyotok", 1), R{1, QStringLiteral("国民年金保険料額"), {{"edKokuho", {}}}},
         amountRow("edChoSonGak", 1)},
        personRows(),
    }));
    btFamily = qobject_cast<QPushButton*>(control("btFamily"));
}

std::vector<RecordEditor::FieldInfo> NewLayoutRecordEditor::fields() const {
    std::vector<FieldInfo> out;
    for (const auto& f : NewLayoutFields()) out.push_back({f.name, f.kind, f.maxLength});
    return out;
}
std::string NewLayoutRecordEditor::showField(int i) const {
    return NewLayoutFields()[i].show(data_.Record(EditSlot));
}
void NewLayoutRecordEditor::storeField(int i, std::string_view t) {
    NewLayoutFields()[i].store(data_.Record(EditSlot), t);
}
bool NewLayoutRecordEditor::manualFlag(int k) const {
    return data_.Record(EditSlot).ManualFlags[k - 1] != 0;
}
void NewLayoutRecordEditor::setManualFlag(int k, bool on) {
    data_.Record(EditSlot).ManualFlags[k - 1] = on ? 1 : 0;
}
std::optional<std::string> NewLayoutRecordEditor::computeRecord(const YearEndContext& context) {
    return ComputeYearEnd(data_.Record(EditSlot), context);
}
bool NewLayoutRecordEditor::otsu() const {
    return data_.Record(EditSlot).PersonFlags[kPersonOtsu] != 0;
}
int NewLayoutRecordEditor::status() const {
    return data_.Record(EditSlot).Status;
}

void NewLayoutRecordEditor::extraButtonClick(std::string_view name) {
    if (name == "btFamily") btFamilyClick();
}

void NewLayoutRecordEditor::btFamilyClick() {
    // The family dialog touches only fields this editor does not show.
    if (!family_) return;
    family_->FamilySlot = EditSlot;
    runModal(*family_);
}

}  // namespace withholding::ui
