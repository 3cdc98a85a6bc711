#include "ledger/ui/PasswordPrompt.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QValidator>

#include "platform/ui/MessageBox.h"
#include "support/TempDir.h"
#include "ui/BoxRecorder.h"
#include "ui/Screenshot.h"

namespace {
using namespace ledger::ui;
using testing_support::BoxRecorder;
using testing_support::TempDir;
using testing_support::writeText;

struct PasswordPromptTest : ::testing::Test {
    TempDir dir;
    BoxRecorder box;
};

TEST_F(PasswordPromptTest, NoStoredPasswordOpensTheGateWithoutAsking) {
    PasswordPrompt none(dir / "Tolvane.ini");
    EXPECT_TRUE(none.Passed);
    EXPECT_TRUE(none.gate());
    writeText(dir / "Tolvane.ini", "[Option]\r\nListFile=\"\"\r\n");
    EXPECT_TRUE(PasswordPrompt(dir / "Tolvane.ini").Passed);
}

TEST_F(PasswordPromptTest, OnlyTheExactPasswordPasses) {
    writeText(dir / "Tolvane.ini", "[Option]\r\nListFile=\"QRS\"\r\n");
    PasswordPrompt prompt(dir / "Tolvane.ini");
    EXPECT_FALSE(prompt.Passed);

    for (const char* wrong : {"ABC", "ab", "abcd", ""}) {
        prompt.edPassword->setText(QString::fromUtf8(wrong));
        prompt.btOkClick();
        EXPECT_FALSE(prompt.Passed) << wrong;
        EXPECT_NE(prompt.result(), QDialog::Accepted);
    }
    EXPECT_EQ(box.boxes, QStringList(4, QStringLiteral("パスワードが違います")));

    prompt.edPassword->setText(QStringLiteral("abc"));
    prompt.btOkClick();
    EXPECT_TRUE(prompt.Passed);
    EXPECT_EQ(prompt.result(), QDialog::Accepted);
}

TEST_F(PasswordPromptTest, CancelLeavesTheGateClosed) {
    writeText(dir / "Tolvane.ini", "[Option]\r\nListFile=\"QRS\"\r\n");
    PasswordPrompt prompt(dir / "Tolvane.ini");
    prompt.btCancelClick();
    EXPECT_FALSE(prompt.Passed);
    EXPECT_EQ(prompt.result(), QDialog::Rejected);
}

TEST_F(PasswordPromptTest, FieldTakesPrintableAsciiAndShowsItOnRequest) {
    PasswordPrompt prompt(dir / "Tolvane.ini");
    const QValidator* v = prompt.edPassword->validator();
    ASSERT_NE(v, nullptr);
    for (QString ok : {QStringLiteral("Az09 !~")}) {
        int pos = 0;
        EXPECT_EQ(v->validate(ok, pos), QValidator::Acceptable);
    }
    for (QString bad : {QStringLiteral("あ"), QStringLiteral("a\tb"), QStringLiteral("ｱ")}) {
        int pos = 0;
        EXPECT_EQ(v->validate(bad, pos), QValidator::Invalid) << bad.toStdString();
    }
    // Hidden as "*", one per character, until the box asks for clear text.
    prompt.edPassword->setText(QStringLiteral("secret"));
    prompt.show();
    EXPECT_EQ(prompt.edPassword->displayText(), QStringLiteral("******"));
    prompt.cbShow->setChecked(true);
    EXPECT_EQ(prompt.edPassword->displayText(), QStringLiteral("secret"));
    prompt.cbShow->setChecked(false);
    EXPECT_EQ(prompt.edPassword->displayText(), QStringLiteral("******"));
    testing_support::screenshot(&prompt, QStringLiteral("InpPass"));
}

}  // namespace
