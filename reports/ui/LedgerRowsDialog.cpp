#include "reports/ui/LedgerRowsDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "ledger/SysOption.h"
#include "ledger/ui/DialogFont.h"
#include "platform/IniFile.h"
#include "platform/ui/Application.h"
#include "platform/ui/MessageBox.h"

namespace reports::ui {

namespace {

// Fifteen boxes in three columns of five, filled column by column.
void layBoxes(QGroupBox* group, std::array<QCheckBox*, kLedgerRowItems>& boxes) {
    auto* grid = new QGridLayout(group);
    grid->setHorizontalSpacing(16);
    for (int i = 0; i < kLedgerRowItems; ++i) {
        boxes[std::size_t(i)] = new QCheckBox(group);
        grid->addWidget(boxes[std::size_t(i)], i % 5, i / 5);
    }
}

}  // namespace

LedgerRowsDialog::LedgerRowsDialog(const ledger::SysOption& options, std::filesystem::path iniFile,
                                   QWidget* parent)
    : QDialog(parent), options_(options), iniFile_(std::move(iniFile)) {
    setObjectName(QStringLiteral("fmPrnItem"));
    setWindowTitle(QStringLiteral("給与台帳/月別一覧の印刷項目"));
    setFont(ledger::ui::dialogFont());

    GroupBox1 = new QGroupBox(QStringLiteral("印刷項目に追加する勤怠項目"), this);
    GroupBox2 = new QGroupBox(QStringLiteral("印刷項目から削除する支給/控除/その他項目"), this);
    layBoxes(GroupBox1, cbAddItem);
    layBoxes(GroupBox2, cbDelItem);

    sbDefault = new QPushButton(QStringLiteral("初期状態"), this);
    bbOk = new QPushButton(QStringLiteral("Ｏ Ｋ"), this);
    bbCancel = new QPushButton(QStringLiteral("キャンセル"), this);
    bbOk->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(sbDefault);
    buttons->addStretch();
    buttons->addWidget(bbOk);
    buttons->addWidget(bbCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(GroupBox1);
    layout->addWidget(GroupBox2);
    layout->addLayout(buttons);

    connect(sbDefault, &QPushButton::clicked, this, &LedgerRowsDialog::sbDefaultClick);
    connect(bbOk, &QPushButton::clicked, this,
            [this] { platform::ui::guarded(this, [this] { bbOkClick(); }); });
    connect(bbCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void LedgerRowsDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    platform::ui::guarded(this, [this] { FormShow(); });
}

void LedgerRowsDialog::FormShow() {
    for (int i = 1; i <= kLedgerRowItems; ++i) {
        const auto add = QString::fromStdString(AddedItemCaption(i, options_));
        cbAddItem[std::size_t(i - 1)]->setText(add);
        // The last attendance position is unused and has no caption; only its box
        // goes, since every box shown must be one the user can see and uncheck.
        if (i == kLedgerRowItems) cbAddItem[std::size_t(i - 1)]->setVisible(!add.isEmpty());
        cbDelItem[std::size_t(i - 1)]->setText(
            QString::fromStdString(RemovedItemCaption(i, options_)));
    }
    const LedgerRowFlags flags = LoadLedgerRowFlags(platform::IniFile(iniFile_));
    for (std::size_t i = 0; i < std::size_t(kLedgerRowItems); ++i) {
        cbAddItem[i]->setChecked(flags.added[i]);
        cbDelItem[i]->setChecked(flags.removed[i]);
    }
}

LedgerRowFlags LedgerRowsDialog::checkedFlags() const {
    LedgerRowFlags flags;
    for (std::size_t i = 0; i < std::size_t(kLedgerRowItems); ++i) {
        flags.added[i] = cbAddItem[i]->isChecked();
        flags.removed[i] = cbDelItem[i]->isChecked();
    }
    return flags;
}

void LedgerRowsDialog::sbDefaultClick() {
    if (!platform::ui::MessageBox::confirm(
            this, QString::fromUtf8(kResetRowsQuestion.data(), int(kResetRowsQuestion.size()))))
        return;
    for (std::size_t i = 0; i < std::size_t(kLedgerRowItems); ++i) {
        cbAddItem[i]->setChecked(false);
        cbDelItem[i]->setChecked(false);
    }
}

void LedgerRowsDialog::bbOkClick() {
    const LedgerRowFlags flags = checkedFlags();
    if (!LedgerRowsAcceptable(flags)) {
        platform::ui::MessageBox::error(
            this, QString::fromUtf8(kTooManyAddedRows.data(), int(kTooManyAddedRows.size())));
        return;
    }
    platform::IniFile ini(iniFile_);
    SaveLedgerRowFlags(ini, flags);
    accept();
}

}  // namespace reports::ui
