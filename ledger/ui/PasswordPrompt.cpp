#include "ledger/ui/PasswordPrompt.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "ledger/Password.h"
#include "ledger/ui/DialogFont.h"
#include "platform/IniFile.h"
#include "platform/ui/MessageBox.h"

namespace ledger::ui {

void restrictToPasswordCharacters(QLineEdit* edit) {
    edit->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[\\x20-\\x7e]*")), edit));
    // No composing: the password is typed key by key.
    edit->setAttribute(Qt::WA_InputMethodEnabled, false);
}

void hideAsStars(QLineEdit* edit) {
    edit->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    edit->setEchoMode(QLineEdit::Password);
}

PasswordPrompt::PasswordPrompt(const std::filesystem::path& iniFile, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("fmInpPass"));
    setWindowTitle(QStringLiteral("パスワード入力"));
    setFont(dialogFont());

    auto* label = new QLabel(QStringLiteral("パスワードを入力して下さい。"), this);
    edPassword = new QLineEdit(this);
    hideAsStars(edPassword);
    edPassword->setMinimumWidth(220);
    restrictToPasswordCharacters(edPassword);
    cbShow = new QCheckBox(QStringLiteral("入力内容を表示する"), this);
    btOk = new QPushButton(QStringLiteral("Ｏ Ｋ"), this);
    btCancel = new QPushButton(QStringLiteral("キャンセル"), this);
    btOk->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btOk);
    buttons->addWidget(btCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(edPassword);
    layout->addWidget(cbShow);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(btOk, &QPushButton::clicked, this, &PasswordPrompt::btOkClick);
    connect(btCancel, &QPushButton::clicked, this, &PasswordPrompt::btCancelClick);
    connect(cbShow, &QCheckBox::toggled, this, &PasswordPrompt::cbShowClick);

    password_ = ReadPassword(platform::IniFile(iniFile));
    Passed = password_.empty();
}

bool PasswordPrompt::gate() {
    if (!Passed) exec();
    return Passed;
}

void PasswordPrompt::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    edPassword->setFocus();
}

void PasswordPrompt::btOkClick() {
    // Compared byte for byte, case and all.
    if (edPassword->text().toStdString() == password_) {
        Passed = true;
        accept();
        return;
    }
    platform::ui::MessageBox::error(this, QStringLiteral("パスワードが違います"));
    edPassword->setFocus();
}

void PasswordPrompt::btCancelClick() {
    reject();
}

void PasswordPrompt::cbShowClick() {
    edPassword->setEchoMode(cbShow->isChecked() ? QLineEdit::Normal : QLineEdit::Password);
}

}  // namespace ledger::ui
