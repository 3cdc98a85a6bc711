#include "ledger/ui/EmployeeListDialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>

#include "ledger/EmployeeList.h"
#include "ledger/Ledger.h"
#include "ledger/Startup.h"
#include "ledger/SysLog.h"
#include "platform/Sjis.h"
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

struct Person {
    int slot;
    const char* name;
    int kind, payForm, status;
    int era, year, month, day;
    const char* dept;
    int dependants;
};

const Person kStaff[] = {
    {1, "山田太郎", 1, 1, 1, 3, 38, 4, 12, "総務部", 3},
    {2, "佐藤花子", 2, 1, 2, 3, 52, 11, 3, "経理部", 1},
    {3, "ｽｽﾞｷ ｲﾁﾛｳ", 4, 3, 1, 4, 2, 7, 21, "製造部", 0},
    {4, "田中一郎", 2, 2, 3, 0, 0, 0, 0, "", 0},
    {5, "伊藤美咲", 5, 3, 1, 4, 11, 1, 30, "営業部", 2},
};

struct EmployeeListDialogTest : ::testing::Test {
    TempDir dir;
    BoxRecorder box;
    ledger::FixedClock clock{{2026, 5, 20, 10, 15, 0}};
    ledger::Ledger ledger{clock};
    ledger::WindowPlacement placement;
    std::unique_ptr<EmployeeListDialog> list;

    void SetUp() override {
        ledger.dataPath = dir.path();
        ledger.CurData.Era = "令和";
        ledger.CurData.Year = 8;
        ledger.CurData.Period = 5;
        for (const Person& p : kStaff) put(p);
        list = std::make_unique<EmployeeListDialog>(ledger, dir / "Tolvane.ini", placement);
    }

    void put(const Person& p) {
        ledger::TEmployeeRec& r = ledger.Employee(p.slot);
        r.Key.set("260520_10150" + std::to_string(p.slot));
        r.Name.set(p.name);
        r.Kind = std::uint8_t(p.kind);
        r.PayForm = std::uint8_t(p.payForm);
        r.Status = std::uint8_t(p.status);
        r.BirthEra = std::uint8_t(p.era);
        r.BirthYear = std::uint8_t(p.year);
        r.BirthMonth = std::uint8_t(p.month);
        r.BirthDay = std::uint8_t(p.day);
        r.Dept.set(p.dept);
        r.Dependants = p.dependants;
        ledger.Payment(p.slot).Amounts[0] = 1000 * p.slot;
    }

    void open(int mode) {
        list->MembListMode = mode;
        list->FormShow();
        list->FormActivate();
    }

    std::vector<int> shownSlots() const {
        std::vector<int> out;
        for (int i = 0; i < list->ListBox->count(); ++i)
            out.push_back(
                ledger::RowSlot(sjis::fromUtf8(list->ListBox->item(i)->text().toStdString())));
        return out;
    }

    std::string logText() const { return sjis::toUtf8(readText(dir / "システムログ.dat")); }
};

TEST_F(EmployeeListDialogTest, ChoosingModeSelectsTheActiveEmployeesAndTheToggleFlips) {
    open(1);
    EXPECT_EQ(list->chosenSlots(), (std::vector<int>{1, 3, 5}));
    EXPECT_EQ(list->sbAllOnOff->text(), QStringLiteral("全て解除"));
    EXPECT_FALSE(list->StatusBar->isHidden());
    EXPECT_EQ(list->StatusBar->currentMessage(),
              QStringLiteral("給与/賞与明細書の印刷対象社員をクリックして選択して下さい。"));
    EXPECT_TRUE(list->pnMaintenance->isHidden());
    list->show();
    testing_support::screenshot(list.get(), "memblist_choose_slips");
    list->sbAllOnOffClick();
    EXPECT_TRUE(list->chosenSlots().empty());
    EXPECT_EQ(list->sbAllOnOff->text(), QStringLiteral("全て選択"));
    list->sbAllOnOffClick();
    EXPECT_EQ(list->chosenSlots(), (std::vector<int>{1, 3, 5}));
    list->hide();
}

TEST_F(EmployeeListDialogTest, AHeadingClickSortsAndDropsTheSelection) {
    open(2);
    EXPECT_EQ(list->StatusBar->currentMessage(),
              QStringLiteral("社員別給与台帳の印刷対象社員をクリックして選択して下さい。"));
    list->HeadCtrlSectionClick(5);  // 生年月日
    EXPECT_EQ(shownSlots(), (std::vector<int>{4, 1, 2, 3, 5}));
    EXPECT_TRUE(list->chosenSlots().empty());
    EXPECT_EQ(list->sbAllOnOff->text(), QStringLiteral("全て選択"));
    EXPECT_EQ(list->LastOrder, ledger::kOrderBirth);
}

TEST_F(EmployeeListDialogTest, OkHandsOverTheChosenRowsInDisplayedOrder) {
    open(1);
    list->sbAllOnOffClick();  // none
    list->bbOkClick();
    EXPECT_EQ(box.boxes, QStringList{QStringLiteral("印刷対象が選択されていません。")});
    EXPECT_EQ(list->result(), 0);

    // 氏名 in CP932 order: 伊藤, 佐藤, 山田, 田中, then the half-width ｽｽﾞｷ.
    list->HeadCtrlSectionClick(1);
    EXPECT_EQ(shownSlots(), (std::vector<int>{5, 2, 1, 4, 3}));
    list->sbAllOnOffClick();
    list->bbOkClick();
    EXPECT_EQ(list->result(), int(QDialog::Accepted));
    EXPECT_EQ(list->chosenSlots(), (std::vector<int>{5, 1, 3}));
    const std::vector<std::string> rows = list->chosenRows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], ledger::EmployeeRow(ledger, 5));
    EXPECT_EQ(ledger::RowSlot(rows[2]), 3);
}

TEST_F(EmployeeListDialogTest, MaintenanceButtonsFollowTheUsedSlots) {
    open(0);
    EXPECT_TRUE(list->StatusBar->isHidden());
    EXPECT_TRUE(list->pnSelect->isHidden());
    EXPECT_FALSE(list->pnMaintenance->isHidden());
    EXPECT_TRUE(list->sbDelete->isEnabled());
    EXPECT_TRUE(list->sbNewEnter->isEnabled());
    EXPECT_EQ(list->ListBox->currentRow(), 0);
    list->show();
    testing_support::screenshot(list.get(), "memblist_maintenance");
    list->hide();
    ledger.clearPeriod();
    list->UpdateButtons();
    EXPECT_FALSE(list->sbDelete->isEnabled());
    for (int s = 1; s <= 80; ++s) put({s, "x", 2, 1, 1, 0, 0, 0, 0, "", 0});
    list->UpdateButtons();
    EXPECT_FALSE(list->sbNewEnter->isEnabled());
}

TEST_F(EmployeeListDialogTest, WithoutACurrentRowModifyAndDeleteRefuse) {
    open(0);
    list->ListBox->setCurrentItem(nullptr);
    list->sbModifyClick();
    list->sbDeleteClick();
    EXPECT_EQ(box.boxes, (QStringList{QStringLiteral("データが未選択です。"),
                                      QStringLiteral("データが未選択です。")}));
}

TEST_F(EmployeeListDialogTest, DeleteAsksAndShiftsTheLaterEmployeesDown) {
    open(0);
    list->ListBox->setCurrentRow(2);  // slot 3
    box.answer = Answer::No;
    list->sbDeleteClick();
    EXPECT_EQ(box.boxes, QStringList{QStringLiteral(
                             "下記社員の登録情報を削除しますか？\r\r【 製造部  ｽｽﾞｷ ｲﾁﾛｳ 】")});
    EXPECT_EQ(ledger.Employee(3).Name.str(), "ｽｽﾞｷ ｲﾁﾛｳ");

    box.answer = Answer::Yes;
    list->sbDeleteClick();
    EXPECT_EQ(ledger.Employee(3).Name.str(), "田中一郎");
    EXPECT_EQ(ledger.Payment(3).Amounts[0], 4000);
    EXPECT_EQ(ledger.Employee(4).Name.str(), "伊藤美咲");
    EXPECT_TRUE(ledger.Employee(5).Key.empty());
    EXPECT_EQ(shownSlots(), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_NE(logText().find("従業員情報の削除"), std::string::npos);
}

TEST_F(EmployeeListDialogTest, WithTheYearsWithholdingFileDeleteWarnsFirst) {
    writeText(dir / "源泉徴収(令和8年).dat", "x");
    open(0);
    box.answer = Answer::No;
    list->sbDeleteClick();
    ASSERT_EQ(box.boxes.size(), 1);
    EXPECT_TRUE(
        box.boxes[0].startsWith(QStringLiteral("今年の源泉徴収データが作成されているため")));
    EXPECT_EQ(box.requests[0].icon, platform::ui::Icon::Warning);
    EXPECT_EQ(ledger.Employee(1).Name.str(), "山田太郎");
}

TEST_F(EmployeeListDialogTest, AddAndModifyGoThroughTheEditorAndAreLogged) {
    std::vector<int> asked;
    list->editEmployee = [&](int slot) {
        asked.push_back(slot);
        if (slot < 0) put({6, "渡辺健", 2, 1, 1, 0, 0, 0, 0, "", 0});
        return slot != 2;  // the edit of slot 2 is cancelled
    };
    open(0);
    list->HeadCtrlSectionClick(1);
    list->sbNewEnterClick();
    EXPECT_EQ(list->ListBox->count(), 6);
    // Coming back from the editor lists by number again.
    EXPECT_EQ(list->LastOrder, ledger::kOrderSlot);

    list->ListBox->setCurrentRow(1);
    list->sbModifyClick();  // slot 2, cancelled: nothing logged
    list->ListBox->setCurrentRow(4);
    list->ListBoxDblClick();  // slot 5
    EXPECT_EQ(asked, (std::vector<int>{-1, 2, 5}));
    EXPECT_EQ(list->ListBox->currentRow(), 4);
    const std::string log = logText();
    EXPECT_NE(log.find("従業員情報の登録"), std::string::npos);
    EXPECT_EQ(log.find("従業員情報の更新"), log.rfind("従業員情報の更新")) << "logged once";
}

TEST_F(EmployeeListDialogTest, OnlyTheHeightChangesAndItIsKeptForTheMainWindow) {
    writeText(dir / "Tolvane.ini", "[Window]\r\nMembList_X=300\r\nMembList_Y=700\r\n");
    EmployeeListDialog sized(ledger, dir / "Tolvane.ini", placement);
    EXPECT_EQ(sized.width(), sized.DesignWidth);
    EXPECT_EQ(sized.height(), 700);
    EXPECT_EQ(sized.maximumHeight(), 1200);
    sized.show();
    sized.resize(sized.DesignWidth, 640);
    sized.hide();
    EXPECT_EQ(placement.membListHeight, 640);
    EXPECT_EQ(placement.membListWidth, sized.DesignWidth);
}

}  // namespace
