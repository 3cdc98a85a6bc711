#include "withholding/ui/CompanyInfoDialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ledger/Ledger.h"
#include "ledger/ui/DialogFont.h"
#include "ledger/ui/EditHelper.h"
#include "platform/Errors.h"
#include "platform/ui/Application.h"
#include "withholding/CompanyInfo.h"
#include "withholding/WithholdingFile.h"
#include "withholding/ui/ImeCtrl.h"

namespace withholding::ui {

CompanyInfoDialog::CompanyInfoDialog(const ledger::Ledger& ledger, WithholdingData& data,
                                     QWidget* parent)
    : QDialog(parent), ledger_(ledger), data_(data) {
    setObjectName(QStringLiteral("fmCorpInfo"));
    setWindowTitle(QStringLiteral("会社情報の設定"));
    setFont(ledger::ui::dialogFont());
    pnSyamei = new QLabel(this);
    pnSyamei->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    pnSyamei->setMinimumHeight(24);
    edJusyo1 = new QLineEdit(this);
    edJusyo2 = new QLineEdit(this);
    edTelNo = new QLineEdit(this);
    bbOk = new QPushButton(QStringLiteral("Ｏ Ｋ"), this);
    bbCancel = new QPushButton(QStringLiteral("キャンセル"), this);
    bbOk->setAutoDefault(false);
    bbCancel->setAutoDefault(false);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("名 称"), this), 0, 0);
    grid->addWidget(pnSyamei, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("住 所"), this), 1, 0);
    grid->addWidget(edJusyo1, 1, 1);
    grid->addWidget(edJusyo2, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("電話番号"), this), 3, 0);
    grid->addWidget(edTelNo, 3, 1);
    grid->setColumnMinimumWidth(1, 360);
    edTelNo->setMaximumWidth(140);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(bbOk);
    buttons->addWidget(bbCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    // The shared field behaviour: Enter moves on, Ctrl+Delete empties, the
    // byte limits of the header's texts.
    ledger::ui::EditHelper::attachText(edJusyo1, kCorpAddressBytes, ledger.sysOption);
    ledger::ui::EditHelper::attachText(edJusyo2, kCorpAddressBytes, ledger.sysOption);
    ledger::ui::EditHelper::attachText(edTelNo, kCorpTelephoneBytes, ledger.sysOption);
    SetImeMode(edJusyo1, 2);
    SetImeMode(edJusyo2, 2);
    SetImeMode(edTelNo, 1);

    connect(bbOk, &QPushButton::clicked, this, [this] { bbOkClick(); });
    connect(bbCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void CompanyInfoDialog::FormShow() {
    pnSyamei->setText(QString::fromStdString(ledger_.BasicInfo().CorpName.str()));
    edJusyo1->setText(QString::fromStdString(data_.Header.Address1.str()));
    edJusyo2->setText(QString::fromStdString(data_.Header.Address2.str()));
    edTelNo->setText(QString::fromStdString(data_.Header.Telephone.str()));
    edJusyo1->setFocus();
}

void CompanyInfoDialog::bbOkClick() {
    const bool stored = platform::ui::guarded(this, [this] {
        StoreCorpInfo(data_.Header, edJusyo1->text().toStdString(), edJusyo2->text().toStdString(),
                      edTelNo->text().toStdString());
    });
    if (!stored) return;
    // The fields show what was stored.
    FormShow();
    accept();
}

void CompanyInfoDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

}  // namespace withholding::ui
