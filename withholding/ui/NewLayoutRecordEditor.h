#pragma once
#include "withholding/ui/RecordEditor.h"

class QPushButton;

namespace withholding::ui {

class FamilyDialog;

// The new layout (TWithholdingRec, 1500 bytes), with the button to the spouse
// and dependants dialog.
class NewLayoutRecordEditor : public RecordEditor {
    Q_OBJECT
public:
    NewLayoutRecordEditor(ledger::Ledger& ledger, WithholdingData& data, QWidget* parent = nullptr);

    void setFamilyDialog(FamilyDialog* family) { family_ = family; }
    void btFamilyClick();

    QPushButton* btFamily = nullptr;

protected:
    std::vector<FieldInfo> fields() const override;
    std::string showField(int index) const override;
    void storeField(int index, std::string_view text) override;
    bool manualFlag(int k) const override;
    void setManualFlag(int k, bool on) override;
    bool otsu() const override;
    int status() const override;
    std::optional<std::string> computeRecord(const YearEndContext& context) override;
    void extraButtonClick(std::string_view name) override;

private:
    FamilyDialog* family_ = nullptr;
};

}  // namespace withholding::ui
