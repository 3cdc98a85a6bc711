#include "withholding/ui/OldLayoutRecordEditor.h"

#include "withholding/WithholdingFile.h"

namespace withholding::ui {

OldLayoutRecordEditor::OldLayoutRecordEditor(ledger::Ledger& ledger, WithholdingData& data,
                                             QWidget* parent)
    : RecordEditor(ledger, data, parent) {
    setObjectName(QStringLiteral("fmDataEdit"));
    using R = FormRow;
    build(joinRows({
        payeeRows(),
        {R{0,
           QStringLiteral("控除対象配偶者"),
           {{"cbKouHaiUmu", {}}, {"cbRoujin", QStringLiteral("老人")}}},
         amountRow("edHaiTokGak", 0)},
        dependantRows(1),
        {amountRow("edSyahoGaku", 1)},
        deductionRows(),
        remarkRows(3),
        premiumRows(),
        {amountRow("edHaiSyotok", 1), amountRow("edChoSonGak", 1),
         R{2, QStringLiteral("16歳未満"), {{"edUnder16", QStringLiteral("人")}}}},
        personRows(),
    }));
}

std::vector<RecordEditor::FieldInfo> OldLayoutRecordEditor::fields() const {
    std::vector<FieldInfo> out;
    for (const auto& f : OldLayoutFields()) out.push_back({f.name, f.kind, f.maxLength});
    return out;
}
std::string OldLayoutRecordEditor::showField(int i) const {
    return OldLayoutFields()[i].show(data_.OldRecord(EditSlot));
}
void OldLayoutRecordEditor::storeField(int i, std::string_view t) {
    OldLayoutFields()[i].store(data_.OldRecord(EditSlot), t);
}
bool OldLayoutRecordEditor::manualFlag(int k) const {
    return data_.OldRecord(EditSlot).ManualFlags[k - 1] != 0;
}
void OldLayoutRecordEditor::setManualFlag(int k, bool on) {
    data_.OldRecord(EditSlot).ManualFlags[k - 1] = on ? 1 : 0;
}
std::optional<std::string> OldLayoutRecordEditor::computeRecord(const YearEndContext& context) {
    return ComputeYearEnd(data_.OldRecord(EditSlot), context);
}
bool OldLayoutRecordEditor::otsu() const {
    return data_.OldRecord(EditSlot).PersonFlags[kPersonOtsu] != 0;
}
int OldLayoutRecordEditor::status() const {
    return data_.OldRecord(EditSlot).Status;
}
QStringList OldLayoutRecordEditor::listItems(std::string_view name) const {
    if (name == "cbKouHaiUmu")
        return {QStringLiteral("有"), QStringLiteral("無"), QStringLiteral("従有"),
                QStringLiteral("従無")};
    return RecordEditor::listItems(name);
}

}  // namespace withholding::ui
