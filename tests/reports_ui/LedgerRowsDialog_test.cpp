#include "reports/ui/LedgerRowsDialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>

#include "ledger/SysOption.h"
#include "platform/IniFile.h"
#include "support/TempDir.h"
#include "ui/BoxRecorder.h"
#include "ui/Screenshot.h"

namespace {

using reports::ui::LedgerRowsDialog;

class LedgerRowsDialogTest : public ::testing::Test {
protected:
    testing_support::TempDir dir;
    std::filesystem::path ini = dir.path() / "Tolvane.ini";
    ledger::SysOption options;
    LedgerRowsDialog dlg{options, ini};

    void check(const std::vector<int>& add, const std::vector<int>& del) {
        for (int i : add) dlg.cbAddItem[std::size_t(i - 1)]->setChecked(true);
        for (int i : del) dlg.cbDelItem[std::size_t(i - 1)]->setChecked(true);
    }
    std::string stored(const char* key) {
        return platform::IniFile(ini).readString("Option", key, "(none)");
    }
};

TEST_F(LedgerRowsDialogTest, CaptionsFollowTheLabelsAndTheUnusedBoxIsHidden) {
    options.attendanceLabels[1] = "出勤";
    options.attendanceLabels[3] = "";
    options.freeLabels[0] = "資格手当";
    dlg.FormShow();
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("給与台帳/月別一覧の印刷項目"));
    EXPECT_EQ(dlg.cbAddItem[1]->text(), QStringLiteral("出勤"));
    // Only the unused last position loses its box; an emptied label keeps it, as
    // a checked box still counts against the removed items.
    const struct {
        int box;
        bool shown;
    } boxes[] = {{4, true}, {14, true}, {15, false}};
    for (const auto& b : boxes)
        EXPECT_EQ(dlg.cbAddItem[std::size_t(b.box - 1)]->isVisibleTo(&dlg), b.shown) << b.box;
    EXPECT_EQ(dlg.cbDelItem[0]->text(), QStringLiteral("資格手当"));
    EXPECT_EQ(dlg.cbDelItem[12]->text(), QStringLiteral("その他１"));
    testing_support::screenshot(&dlg, QStringLiteral("PrnItem"));
}

TEST_F(LedgerRowsDialogTest, MoreAddedThanRemovedIsRefused) {
    testing_support::BoxRecorder boxes;
    dlg.FormShow();
    check({1, 2, 3}, {1, 2});
    dlg.bbOkClick();
    ASSERT_EQ(boxes.boxes.size(), 1);
    EXPECT_EQ(
        boxes.boxes[0],
        QStringLiteral("追加する勤怠項目が多すぎます。\r追加項目数≦削除項目数にして下さい。"));
    EXPECT_EQ(stored("DaichoAdd"), "(none)");
    EXPECT_NE(dlg.result(), QDialog::Accepted);

    dlg.cbAddItem[2]->setChecked(false);
    dlg.bbOkClick();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(stored("DaichoAdd"), "110000000000000");
    EXPECT_EQ(stored("DaichoDel"), "110000000000000");
}

TEST_F(LedgerRowsDialogTest, DefaultsUncheckWithoutWritingAndShowReadsTheKeys) {
    platform::IniFile(ini).writeString("Option", "DaichoAdd", "010000000000000");
    platform::IniFile(ini).writeString("Option", "DaichoDel", "000000000000001");
    dlg.FormShow();
    EXPECT_TRUE(dlg.cbAddItem[1]->isChecked());
    EXPECT_TRUE(dlg.cbDelItem[14]->isChecked());

    testing_support::BoxRecorder boxes;
    boxes.answer = platform::ui::Answer::No;
    dlg.sbDefaultClick();
    EXPECT_TRUE(dlg.cbAddItem[1]->isChecked());
    boxes.answer = platform::ui::Answer::Yes;
    dlg.sbDefaultClick();
    EXPECT_EQ(boxes.boxes.last(), QStringLiteral("追加/削除する項目設定を初期状態に戻します。"));
    EXPECT_EQ(dlg.checkedFlags(), reports::LedgerRowFlags{});
    dlg.reject();
    EXPECT_EQ(stored("DaichoAdd"), "010000000000000");
}

}  // namespace
