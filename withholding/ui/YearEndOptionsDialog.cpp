#include "withholding/ui/YearEndOptionsDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ledger/EditRules.h"
#include "ledger/Ledger.h"
#include "ledger/ui/DialogFont.h"
#include "ledger/ui/EditHelper.h"
#include "platform/IniFile.h"
#include "platform/ui/Application.h"
#include "withholding/PostalCodes.h"
#include "withholding/YearEndOption.h"
#include "withholding/ui/ImeCtrl.h"

namespace withholding::ui {

namespace {

void applyEntrySwitches(const YearEndOption& option, ledger::SysOption& fields) {
    fields.autoSelect = option.AutoSelect;
    fields.inputOverN = option.InputOverN;
}

}  // namespace

YearEndOptionsDialog::YearEndOptionsDialog(YearEndOption& option, ledger::Ledger& ledger,
                                           std::filesystem::path iniFile,
                                           std::filesystem::path dataPath, QWidget* parent)
    : QDialog(parent),
      option_(option),
      ledger_(ledger),
      iniFile_(std::move(iniFile)),
      dataPath_(std::move(dataPath)) {
    setObjectName(QStringLiteral("fmOption"));
    setWindowTitle(QStringLiteral("動作環境設定"));
    setFont(ledger::ui::dialogFont());

    edSyubetu = new QLineEdit(this);
    edSyubetu->setFixedWidth(120);
    cbPrnLine = new QCheckBox(QStringLiteral("切り分けの補助線を印刷する"), this);
    cbHasuuCut = new QCheckBox(QStringLiteral("源泉徴収税額の100円未満切り捨て"), this);
    cbAutoSel = new QCheckBox(QStringLiteral("数値項目を自動選択する"), this);
    cbInpOverN = new QCheckBox(QStringLiteral("数値項目を上書き入力する"), this);
    cbAutoSel->hide();
    cbInpOverN->hide();

    gbYubin = new QGroupBox(QStringLiteral("郵便番号→住所変換"), this);
    cbAtokDic = new QCheckBox(QStringLiteral("ＡＴＯＫ郵便番号辞書を使用"), gbYubin);
    cbYubinDat = new QCheckBox(QStringLiteral("日本郵便･郵便番号データを使用"), gbYubin);
    lbYubinDat = new QLabel(gbYubin);
    sbUpdate = new QPushButton(QStringLiteral("更新"), gbYubin);
    cbAtokDic->hide();
    // No Linux input method is known to carry that dictionary.
    cbAtokDic->setEnabled(false);
    // Fetching and running the maker's updater is not offered.
    sbUpdate->setEnabled(false);
    auto* yubin = new QGridLayout(gbYubin);
    yubin->addWidget(cbAtokDic, 0, 0, 1, 2);
    yubin->addWidget(cbYubinDat, 1, 0, 1, 2);
    yubin->addWidget(lbYubinDat, 2, 0);
    yubin->addWidget(sbUpdate, 2, 1);
    gbYubin->hide();

    btSysSave = new QPushButton(QStringLiteral("Ｏ Ｋ"), this);
    btCancel = new QPushButton(QStringLiteral("キャンセル"), this);
    btSysSave->setAutoDefault(false);
    btCancel->setAutoDefault(false);

    auto* syubetu = new QHBoxLayout;
    syubetu->addWidget(new QLabel(QStringLiteral("種 別"), this));
    syubetu->addWidget(edSyubetu);
    syubetu->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btSysSave);
    buttons->addWidget(btCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(syubetu);
    layout->addWidget(cbPrnLine);
    layout->addWidget(cbHasuuCut);
    layout->addWidget(cbAutoSel);
    layout->addWidget(cbInpOverN);
    layout->addWidget(gbYubin);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // Enter moves on; the 種別 is held to the slip cell's bytes.
    ledger::ui::EditHelper::attachText(edSyubetu, kSyubetuBytes, ledger.sysOption);
    for (QWidget* w : {static_cast<QWidget*>(cbPrnLine), static_cast<QWidget*>(cbHasuuCut),
                       static_cast<QWidget*>(cbAutoSel), static_cast<QWidget*>(cbInpOverN),
                       static_cast<QWidget*>(cbAtokDic), static_cast<QWidget*>(cbYubinDat)})
        ledger::ui::EditHelper::attachEnter(w);
    SetImeMode(edSyubetu, 2);

    // The two look-up sources exclude each other.
    connect(cbAtokDic, &QCheckBox::clicked, this, [this](bool on) {
        if (on) cbYubinDat->setChecked(false);
    });
    connect(cbYubinDat, &QCheckBox::clicked, this, [this](bool on) {
        if (on) cbAtokDic->setChecked(false);
    });
    connect(btSysSave, &QPushButton::clicked, this, [this] { btSysSaveClick(); });
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);

    platform::ui::guarded(this,
                          [this] { option_ = LoadYearEndOption(platform::IniFile(iniFile_)); });
    applyEntrySwitches(option_, ledger_.sysOption);
}

void YearEndOptionsDialog::FormShow() {
    edSyubetu->setText(
        QString::fromStdString(ledger::FitEditText(option_.Syubetu, kSyubetuBytes).text));
    cbAtokDic->setChecked(option_.YubinDat == kPostalLookupImeDictionary);
    cbYubinDat->setChecked(option_.YubinDat == kPostalLookupDataFile);
    cbAutoSel->setChecked(option_.AutoSelect);
    cbInpOverN->setChecked(option_.InputOverN);
    cbPrnLine->setChecked(option_.PrintLine);
    cbHasuuCut->setChecked(option_.HasuuCut);
    ShowPostalDataDate();
    edSyubetu->setFocus();
}

void YearEndOptionsDialog::ShowPostalDataDate() {
    const auto date = withholding::ShowPostalDataDate(dataPath_);
    lbYubinDat->setText(QString::fromStdString(date.text));
    cbYubinDat->setEnabled(date.exists);
}

void YearEndOptionsDialog::btSysSaveClick() {
    YearEndOption next = option_;
    next.Syubetu = ledger::FitEditText(edSyubetu->text().toStdString(), kSyubetuBytes).text;
    edSyubetu->setText(QString::fromStdString(next.Syubetu));
    next.YubinDat = kPostalLookupNone;
    if (cbAtokDic->isChecked()) next.YubinDat = kPostalLookupImeDictionary;
    if (cbYubinDat->isChecked()) next.YubinDat = kPostalLookupDataFile;
    next.AutoSelect = cbAutoSel->isChecked();
    next.InputOverN = cbInpOverN->isChecked();
    next.PrintLine = cbPrnLine->isChecked();
    next.HasuuCut = cbHasuuCut->isChecked();
    const bool saved = platform::ui::guarded(this, [&] {
        platform::IniFile ini(iniFile_);
        SaveYearEndOption(ini, next);
    });
    if (!saved) return;
    option_ = next;
    applyEntrySwitches(option_, ledger_.sysOption);
    accept();
}

void YearEndOptionsDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

}  // namespace withholding::ui
