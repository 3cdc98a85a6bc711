#pragma once
#include "ledger/ui/SlipItemsDialog.h"

namespace ledger::ui {

// 給与明細書印刷項目の設定: the items of the salary slips per pay type.
class SalarySlipItemsDialog : public SlipItemsDialog {
    Q_OBJECT
public:
    SalarySlipItemsDialog(ledger::Ledger& ledger, std::filesystem::path iniFile,
                          QWidget* parent = nullptr)
        : SlipItemsDialog(ledger::SlipKind::Salary, ledger, std::move(iniFile), parent) {
        setObjectName(QStringLiteral("fmPrnFormK"));
    }
};

}  // namespace ledger::ui
