#include "ledger/ui/PasswordDialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ledger/Password.h"
#include "ledger/ui/DialogFont.h"
#include "ledger/ui/PasswordPrompt.h"
#include "ledger/ui/TextColour.h"
#include "platform/IniFile.h"
#include "platform/ui/Application.h"
#include "platform/ui/MessageBox.h"

namespace ledger::ui {
using platform::ui::MessageBox;

PasswordDialog::PasswordDialog(std::filesystem::path iniFile, QWidget* parent)
    : QDialog(parent), iniFile_(std::move(iniFile)) {
    setObjectName(QStringLiteral("fmSetPass"));
    setWindowTitle(QStringLiteral("パスワード設定"));
    setFont(dialogFont());

    edPass1 = new QLineEdit(this);
    edPass2 = new QLineEdit(this);
    for (QLineEdit* e : {edPass1, edPass2}) {
        hideAsStars(e);
        e->setMinimumWidth(200);
        restrictToPasswordCharacters(e);
    }
    auto* warning = new QLabel(QStringLiteral("パスワードを忘れてしまいますと、ソフトを起動する\n"
                                              "事が出来なくなってしまいますので御注意下さい。"),
                               this);
    setTextColour(warning, Qt::red);
    btSetPass = new QPushButton(QStringLiteral("パスワード設定"), this);
    btCancel = new QPushButton(QStringLiteral("キャンセル"), this);

    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel(QStringLiteral("パスワード設定入力"), this), 0, 0);
    fields->addWidget(edPass1, 0, 1);
    fields->addWidget(new QLabel(QStringLiteral("パスワード確認入力"), this), 1, 0);
    fields->addWidget(edPass2, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btSetPass);
    buttons->addWidget(btCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(warning);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(btSetPass, &QPushButton::clicked, this, &PasswordDialog::btSetPassClick);
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void PasswordDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void PasswordDialog::FormShow() {
    edPass1->clear();
    edPass2->clear();
    edPass1->setFocus();
}

void PasswordDialog::btSetPassClick() {
    const std::string pass = edPass1->text().toStdString();
    if (pass != edPass2->text().toStdString()) {
        MessageBox::error(this, QStringLiteral("パスワードの設定入力と確認入力が異なっています。"));
        edPass1->setFocus();
        return;
    }
    const bool removing = pass.empty();
    if (!MessageBox::confirm(this, removing ? QStringLiteral("パスワード設定を解除しますか？")
                                            : QStringLiteral("パスワードを設定しますか？")))
        return;
    if (!platform::ui::guarded(this, [&] {
            platform::IniFile ini(iniFile_);
            WritePassword(ini, pass);
        }))
        return;
    MessageBox::information(this, removing ? QStringLiteral("パスワード設定を解除しました。")
                                           : QStringLiteral("パスワードを設定しました。"));
    accept();
}

}  // namespace ledger::ui
