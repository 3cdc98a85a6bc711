#include "ledger/ui/NewYearFileDialog.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ledger/Ledger.h"
#include "ledger/PeriodSelection.h"
#include "ledger/ui/DialogFont.h"
#include "ledger/ui/EditHelper.h"
#include "platform/ui/MessageBox.h"

namespace ledger::ui {

NewYearFileDialog::NewYearFileDialog(ledger::Ledger& ledger, QWidget* parent)
    : QDialog(parent), ledger_(ledger) {
    setObjectName(QStringLiteral("fmInpDlg"));
    setWindowTitle(QStringLiteral("データファイル作成"));
    setFont(dialogFont());
    setModal(true);

    auto* prompt = new QLabel(QStringLiteral("作成するデータファイルの年を入力"), this);
    // The edit sits over the blanks between the era name and 年.
    auto* yearBox = new QWidget(this);
    lbYear = new QLabel(yearBox);
    edYear = new QLineEdit(yearBox);
    edYear->setMaxLength(2);
    edYear->setAlignment(Qt::AlignRight);
    edYear->setAttribute(Qt::WA_InputMethodEnabled, false);
    edYear->setInputMethodHints(Qt::ImhDigitsOnly);
    // Ｏ Ｋ is the default button: Enter in the year presses it.
    EditHelper::attachDigits(edYear, 2, ledger_.sysOption)->setEnterMovesOn(false);
    yearBox->setFixedHeight(edYear->sizeHint().height());

    btOk = new QPushButton(QStringLiteral("Ｏ Ｋ"), this);
    btCancel = new QPushButton(QStringLiteral("キャンセル"), this);
    btOk->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btOk);
    buttons->addWidget(btCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addWidget(yearBox);
    layout->addLayout(buttons);
    setMinimumWidth(240);

    connect(btOk, &QPushButton::clicked, this, &NewYearFileDialog::btOkClick);
    connect(btCancel, &QPushButton::clicked, this, &NewYearFileDialog::reject);
}

void NewYearFileDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void NewYearFileDialog::FormShow() {
    const QString era = QString::fromStdString(ledger_.CurData.Era);
    lbYear->setText(era + QStringLiteral("       年"));
    const QFontMetrics fm(lbYear->font());
    const int h = edYear->sizeHint().height();
    lbYear->setGeometry(0, 0, fm.horizontalAdvance(lbYear->text()) + 4, h);
    const int left = fm.horizontalAdvance(era) + 2;
    const int width = fm.horizontalAdvance(QStringLiteral("       ")) - 4;
    edYear->setGeometry(left, 0, std::max(width, 24), h);
    lbYear->parentWidget()->setMinimumWidth(lbYear->width());
    edYear->clear();
    edYear->setFocus();
}

void NewYearFileDialog::btOkClick() {
    std::string message;
    InputYear = ledger::CheckNewYear(ledger_.dataPath, ledger_.CurData.Era,
                                     edYear->text().toStdString(), message);
    if (!message.empty()) {
        platform::ui::MessageBox::error(this, QString::fromStdString(message));
        edYear->setFocus();
        return;
    }
    accept();
}

}  // namespace ledger::ui
