#pragma once
#include "ledger/ui/SlipItemsDialog.h"

namespace ledger::ui {

// 賞与明細書印刷項目の設定: the items of the bonus slips per pay type.
class BonusSlipItemsDialog : public SlipItemsDialog {
    Q_OBJECT
public:
    BonusSlipItemsDialog(ledger::Ledger& ledger, std::filesystem::path iniFile,
                         QWidget* parent = nullptr)
        : SlipItemsDialog(ledger::SlipKind::Bonus, ledger, std::move(iniFile), parent) {
        setObjectName(QStringLiteral("fmPrnFormS"));
    }
};

}  // namespace ledger::ui
