#pragma once
#include "withholding/ui/RecordEditor.h"

namespace withholding::ui {

// The old layout (TWithholdingRecOld, years up to 平成27).
class OldLayoutRecordEditor : public RecordEditor {
    Q_OBJECT
public:
    OldLayoutRecordEditor(ledger::Ledger& ledger, WithholdingData& data, QWidget* parent = nullptr);

protected:
    std::vector<FieldInfo> fields() const override;
    std::string showField(int index) const override;
    void storeField(int index, std::string_view text) override;
    bool manualFlag(int k) const override;
    void setManualFlag(int k, bool on) override;
    bool otsu() const override;
    int status() const override;
    std::optional<std::string> computeRecord(const YearEndContext& context) override;
    QStringList listItems(std::string_view name) const override;
};

}  // namespace withholding::ui
