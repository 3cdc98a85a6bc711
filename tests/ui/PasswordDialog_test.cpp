#include "ledger/ui/PasswordDialog.h"

#include <gtest/gtest.h>

#include <QLineEdit>

#include "ledger/Password.h"
#include "platform/IniFile.h"
#include "platform/ui/MessageBox.h"
#include "support/TempDir.h"
#include "ui/BoxRecorder.h"
#include "ui/Screenshot.h"

namespace {
using namespace ledger::ui;
using platform::ui::Answer;
using testing_support::BoxRecorder;
using testing_support::readText;
using testing_support::TempDir;
using testing_support::writeText;

struct PasswordDialogTest : ::testing::Test {
    TempDir dir;
    BoxRecorder box;
    PasswordDialog dialog{dir / "Tolvane.ini"};

    void type(const char* a, const char* b) {
        dialog.edPass1->setText(QString::fromUtf8(a));
        dialog.edPass2->setText(QString::fromUtf8(b));
    }
};

TEST_F(PasswordDialogTest, SetsThePasswordAfterConfirmation) {
    type("abc", "abc");
    dialog.btSetPassClick();
    EXPECT_EQ(box.boxes, (QStringList{QStringLiteral("パスワードを設定しますか？"),
                                      QStringLiteral("パスワードを設定しました。")}));
    EXPECT_EQ(readText(dir / "Tolvane.ini"), "[Option]\r\nListFile=\"QRS\"\r\n");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(PasswordDialogTest, RemovingWritesAnEmptyQuotedValue) {
    writeText(dir / "Tolvane.ini", "[Option]\r\nListFile=\"QRS\"\r\n");
    type("", "");
    dialog.btSetPassClick();
    EXPECT_EQ(box.boxes, (QStringList{QStringLiteral("パスワード設定を解除しますか？"),
                                      QStringLiteral("パスワード設定を解除しました。")}));
    EXPECT_EQ(readText(dir / "Tolvane.ini"), "[Option]\r\nListFile=\"\"\r\n");
    EXPECT_EQ(ledger::ReadPassword(platform::IniFile(dir / "Tolvane.ini")), "");
}

TEST_F(PasswordDialogTest, MismatchOrNoWritesNothing) {
    type("abc", "abd");
    dialog.btSetPassClick();
    EXPECT_EQ(box.boxes,
              QStringList{QStringLiteral("パスワードの設定入力と確認入力が異なっています。")});
    box.answer = Answer::No;
    type("abc", "abc");
    dialog.btSetPassClick();
    EXPECT_FALSE(std::filesystem::exists(dir / "Tolvane.ini"));
    EXPECT_NE(dialog.result(), QDialog::Accepted);
}

TEST_F(PasswordDialogTest, ASettingsFileThatCannotBeWrittenIsReportedAndTheDialogStays) {
    PasswordDialog nowhere(dir / "missing/Tolvane.ini");
    nowhere.edPass1->setText(QStringLiteral("abc"));
    nowhere.edPass2->setText(QStringLiteral("abc"));
    nowhere.btSetPassClick();
    ASSERT_EQ(box.boxes.size(), 2);
    EXPECT_EQ(box.boxes[1], QStringLiteral("ファイルが見つかりません"));
    EXPECT_NE(nowhere.result(), QDialog::Accepted);
}

TEST_F(PasswordDialogTest, ShowingEmptiesBothFields) {
    type("x", "y");
    dialog.show();
    EXPECT_TRUE(dialog.edPass1->text().isEmpty());
    EXPECT_TRUE(dialog.edPass2->text().isEmpty());
    dialog.edPass1->setText(QStringLiteral("abc"));
    testing_support::screenshot(&dialog, QStringLiteral("SetPass"));
    dialog.hide();
}

}  // namespace
