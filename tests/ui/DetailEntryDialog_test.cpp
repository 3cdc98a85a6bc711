#include "ledger/ui/DetailEntryDialog.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "../ledger/PayCalcFixture.h"
#include "ledger/DataEntry.h"
#include "ledger/PayrollYearFile.h"
#include "support/PersonTyping.h"
#include "support/TempDir.h"
#include "ui/BoxRecorder.h"
#include "ui/Screenshot.h"

namespace ledger::ui {
namespace {

constexpr const char* kKey = "250401_080000";

class DetailEntryDialogTest : public testing_calc::PayCalcTest {
protected:
    DetailEntryDialogTest() {
        setUse(ItemGroup::Payment, 14, 1, true);  // 変動手当１
        setUse(ItemGroup::Other, 0, 1, true);     // その他１
        addEmployee(1, "240101_000000").Status = 3;
        TEmployeeRec& e = addEmployee(2, kKey, 1);
        e.Name.set("山田太郎");
        e.BasePay = 250000;
        e.FamilyAllowance = 10000;
        e.CommuteFree = 12000;
        e.HealthInsured = e.PensionInsured = e.EmpInsured = 1;
        e.HealthPremium = 12974;
        e.PensionPremium = 23790;
        e.TaxDependants = 1;
        e.Memo.set("4月より時短勤務");
        ledger.Attendance(2).Values[kAttScheduledDays] = 21;
        ledger.Attendance(2).Values[kAttDaysWorked] = 20;
        ledger.Attendance(2).Values[kAttScheduledHours] = 168;
        ledger.Attendance(2).Values[kAttHoursWorked] = 160.5;
        ledger.Attendance(2).Values[kAttOvertime] = 12.25;
        addEmployee(3, "250401_080001").Status = 2;
        addEmployee(4, "250401_080002", 2).Name.set("佐藤花子");
        recalc();
        BuildItemGrid(ledger);
        dialog.reader = &reader;
        dialog.setSlot(2);
    }
    ~DetailEntryDialogTest() override { dialog.hide(); }

    QLineEdit* ed(ItemGroup g, const char* label) {
        QLineEdit* e = dialog.editOf(g, label);
        EXPECT_NE(e, nullptr) << label;
        return e;
    }
    // Types into a field and leaves it, as the user does.
    void typeAndLeave(QLineEdit* e, const QString& text) {
        dialog.InputItemEnter(e);
        e->setText(text);
        dialog.InputItemExit(e);
    }

    testing_support::BoxRecorder boxes;
    DetailEntryDialog dialog{ledger};
};

TEST_F(DetailEntryDialogTest, ShowsTheEmployee) {
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "詳細入力画面 【山田太郎】");
    EXPECT_EQ(dialog.lbSimei->text(), "山田太郎");
    QLineEdit* base = ed(ItemGroup::Payment, "基本給");
    EXPECT_EQ(base->text(), "   250,000");
    EXPECT_TRUE(base->isReadOnly());
    EXPECT_FALSE(ed(ItemGroup::Attendance, "出勤日数")->isReadOnly());
    EXPECT_EQ(ed(ItemGroup::Attendance, "実働時間")->text(), "160:30");
    EXPECT_TRUE(dialog.edit(ItemGroup::Attendance, 4)->isHidden());
    EXPECT_EQ(dialog.edit(ItemGroup::Payment, 0)->objectName(), "edSikyu1");
    EXPECT_EQ(dialog.mmBikou->toPlainText(), "4月より時短勤務");
    EXPECT_EQ(dialog.pnSikyuTotal->text(),
              QString::fromStdString(FmtAmount(10, pay(2, kPayTotal))));
    EXPECT_FALSE(dialog.sbBackData->isEnabled());  // slot 1 has left
    EXPECT_TRUE(dialog.sbNextData->isEnabled());
    testing_support::screenshot(&dialog, "DataEdit");
}

TEST_F(DetailEntryDialogTest, PayBeyondTheTaxTableAsksForTypedTax) {
    ledger.tables.salary.Rows[4].Upper = 1710000;
    boxes.answer = platform::ui::Answer::No;
    dialog.show();
    QLineEdit* base = ed(ItemGroup::Payment, "基本給");
    dialog.InputItemEnter(base);
    dialog.sbManualClick();
    typeAndLeave(base, "2500000");
    ASSERT_EQ(boxes.boxes.size(), 1);
    EXPECT_TRUE(boxes.boxes[0].contains("税額表の範囲(1,710,000円未満)を超えている"));
    EXPECT_TRUE(boxes.boxes[0].contains("\r　山田太郎\r")) << boxes.boxes[0].toStdString();
    EXPECT_EQ(ded(2, kDedIncomeTax), 0);
    EXPECT_EQ(ledger.Deduction(2).ManualFlags[kDedIncomeTax], 0);
}

TEST_F(DetailEntryDialogTest, ManualFlagMakesAFixedItemTypedAndKeepsIt) {
    dialog.show();
    QLineEdit* base = ed(ItemGroup::Payment, "基本給");
    dialog.InputItemEnter(base);
    EXPECT_TRUE(dialog.sbManual->isEnabled());
    EXPECT_FALSE(dialog.sbCalculator->isEnabled());
    dialog.sbManualClick();
    EXPECT_EQ(ledger.Payment(2).ManualFlags[kPayBase], 1);
    EXPECT_FALSE(base->isReadOnly());
    EXPECT_EQ(base->palette().color(QPalette::Text), QColor(Qt::red));
    EXPECT_TRUE(dialog.sbCalculator->isEnabled());

    typeAndLeave(base, "300000");
    EXPECT_EQ(pay(2, kPayBase), 300000);
    EXPECT_EQ(base->text(), "   300,000");
    EXPECT_EQ(dialog.pnSikyuTotal->text(),
              QString::fromStdString(FmtAmount(10, pay(2, kPayTotal))));
    // The main window's next recalculation keeps it.
    recalc();
    EXPECT_EQ(pay(2, kPayBase), 300000);

    for (const char* label : {"課税支給合計"}) {
        dialog.InputItemEnter(ed(ItemGroup::Payment, label));
        EXPECT_FALSE(dialog.sbManual->isEnabled()) << label;
    }
    dialog.InputItemEnter(ed(ItemGroup::Deduction, "社保控除後計"));
    EXPECT_FALSE(dialog.sbManual->isEnabled());
    dialog.InputItemEnter(ed(ItemGroup::Attendance, "出勤日数"));
    EXPECT_FALSE(dialog.sbManual->isEnabled());
    EXPECT_TRUE(boxes.boxes.isEmpty());
}

TEST_F(DetailEntryDialogTest, AFigureTypedAfterTheManualSwitchReplacesTheOneShown) {
    dialog.show();
    dialog.activateWindow();
    QLineEdit* base = ed(ItemGroup::Payment, "基本給");
    base->setFocus(Qt::TabFocusReason);
    QTest::qWait(250);
    QTest::mouseClick(dialog.sbManual, Qt::LeftButton);
    ASSERT_FALSE(base->isReadOnly());
    EXPECT_EQ(QApplication::focusWidget(), base);
    testing_support::typeAtPace("1234\n", 100);
    EXPECT_EQ(pay(2, kPayBase), 1234);
    EXPECT_EQ(base->text(), "     1,234");

    // Overtyping equal digits moves on: "05" before the first 0 of 300,000.
    base->setFocus(Qt::TabFocusReason);
    base->setText("   300,000");
    QTest::qWait(250);
    testing_support::pressAtPace(Qt::Key_Home, 100);
    testing_support::pressAtPace(Qt::Key_Right, 100);
    testing_support::typeAtPace("05\n", 100);
    EXPECT_EQ(pay(2, kPayBase), 305000);
}

// However fast the keys follow a click, the figure saved in the year file is
// the one typed: beside the figure, at or right of the middle of its last
// character's ink, or after a double or triple click anywhere it replaces the
// whole of it; before a digit it overtypes from there; over a selection
// (dragged or by Shift+arrows) the whole run of keys takes its place; after
// Home it starts at the figure's first digit.
TEST_F(DetailEntryDialogTest, AFigureTypedAfterAClickIsSavedAsTyped) {
    using namespace testing_support;
    struct Row {
        ItemGroup group;
        const char* label;
        int value;  // its index in the attendance or payment record
        double shown;
        ClickAt at;
        const char* keys;
        double saved;
    } rows[] = {
        {ItemGroup::Attendance, "有休日数", kAttPaidLeaveDays, 2, kBesideFigure, "1", 1.0},
        // on the first 0 of "  2.00"
        {ItemGroup::Attendance, "有休日数", kAttPaidLeaveDays, 2, ClickAt{4}, "5", 2.5},
        {ItemGroup::Attendance, "有休日数", kAttPaidLeaveDays, 2, kHome, "3", 3.0},
        {ItemGroup::Attendance, "有休日数", kAttPaidLeaveDays, 2, doubleClickOn(4), "1.5", 1.5},
        {ItemGroup::Attendance, "有休日数", kAttPaidLeaveDays, 2, doubleClickOn(2), "12", 12},
        {ItemGroup::Attendance, "有休残日数", kAttPaidLeaveLeft, 10, dragOver(1, 2), "15", 15},
        // "160:30": the minutes, then the hours
        {ItemGroup::Attendance, "実働時間", kAttHoursWorked, 160.5, doubleClickOn(4), "168", 168},
        {ItemGroup::Attendance, "実働時間", kAttHoursWorked, 160.5, doubleClickOn(1), "45", 45},
        {ItemGroup::Attendance, "実働時間", kAttHoursWorked, 160.5, dragOver(0, 1), "13", 130.5},
        {ItemGroup::Payment, "変動手当１", kPayVariable1, 8000, rightHalfOf(9), "7000", 7000},
        {ItemGroup::Payment, "変動手当１", kPayVariable1, 8000, ClickAt{9}, "7", 8007},
        {ItemGroup::Payment, "変動手当１", kPayVariable1, 8000, dragOver(7, 8), "5", 850},
        {ItemGroup::Payment, "変動手当１", kPayVariable1, 8000, doubleClickOn(9), "123456", 123456},
        // "   120,000"
        {ItemGroup::Payment, "変動手当１", kPayVariable1, 120000, homeShiftRightTo(3, 5), "150",
         150000},
        {ItemGroup::Payment, "変動手当１", kPayVariable1, 2600, shiftLeftOver(7, 8), "80", 2800},
        // the 1 of "21"
        {ItemGroup::Payment, "変動手当１", kPayVariable1, 21, inkRightOf(9), "20", 20},
        {ItemGroup::Payment, "変動手当１", kPayVariable1, 21, inkMiddleOf(9), "20", 20},
        {ItemGroup::Payment, "変動手当１", kPayVariable1, 21, inkLeftOf(9), "5", 25},
    };
    TempDir dir;
    const auto file = dir.path() / "令和8年給与･賞与.dat";
    Ledger spare(clock);
    CreateDataFile(spare, file);
    dialog.show();
    dialog.activateWindow();
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.label << " " << row.shown << " at "
                                        << row.at.character << " how " << row.at.how);
        forEachWayIn([&](bool hadFocus, int pace) {
            const bool attendance = row.group == ItemGroup::Attendance;
            if (attendance)
                ledger.Attendance(2).Values[row.value] = row.shown;
            else
                ledger.Payment(2).Amounts[row.value] = std::int32_t(row.shown);
            dialog.sbBackNextDataClick(0);
            testing_support::clickAndType(ed(row.group, row.label),
                                          ed(ItemGroup::Attendance, "出勤日数"), hadFocus, row.at,
                                          row.keys, pace);
            typeAtPace("\n", pace);
            SavePeriod(ledger, file);
            const auto block = ReadPeriodBlock(file, 4);
            EXPECT_DOUBLE_EQ(attendance ? block->AttendanceTbl[1].Values[row.value]
                                        : double(block->PaymentTbl[1].Amounts[row.value]),
                             row.saved);
        });
    }
}

TEST_F(DetailEntryDialogTest, OtherAndVariableItemsAreStoredAndTotalled) {
    dialog.show();
    typeAndLeave(ed(ItemGroup::Other, "その他１"), "5000");
    typeAndLeave(ed(ItemGroup::Payment, "変動手当１"), "8000");
    EXPECT_EQ(pay(2, kPayOther1), 5000);
    EXPECT_EQ(ded(2, kDedOther1), 5000);
    EXPECT_EQ(pay(2, kPayVariable1), 8000);
    EXPECT_EQ(dialog.pnSonotaTotal->text(), "     5,000");
    EXPECT_EQ(dialog.pnSikyugaku->text(),
              QString::fromStdString(FmtAmount(10, pay(2, kPayTotal) + 5000 - ded(2, kDedTotal))));
}

TEST_F(DetailEntryDialogTest, AnOverlongFigureIsReportedAndZeroed) {
    dialog.show();
    QLineEdit* days = ed(ItemGroup::Attendance, "出勤日数");
    dialog.InputItemEnter(days);
    days->setText("123");
    dialog.FormCloseQuery();  // closing runs the exit handling of the field
    ASSERT_EQ(boxes.boxes.size(), 1);
    EXPECT_EQ(boxes.boxes[0], "入力した数値が上限を超えました。");
    EXPECT_DOUBLE_EQ(ledger.Attendance(2).Values[kAttDaysWorked], 0);
}

TEST_F(DetailEntryDialogTest, SteppingStoresAndSkipsEmployeesNotActive) {
    dialog.show();
    dialog.mmBikou->setPlainText("次回より変更");
    dialog.sbBackNextDataClick(1);
    EXPECT_EQ(dialog.slot(), 4);  // slot 3 is on leave
    EXPECT_EQ(ledger.Employee(2).Memo.str(), "次回より変更");
    EXPECT_EQ(dialog.lbSimei->text(), "佐藤花子");
    EXPECT_FALSE(dialog.sbNextData->isEnabled());
    EXPECT_TRUE(dialog.sbBackData->isEnabled());
    dialog.sbBackNextDataClick(-1);
    EXPECT_EQ(dialog.slot(), 2);
}

TEST_F(DetailEntryDialogTest, CalculatorValueIsRoundedIntoTheField) {
    dialog.show();
    ledger.sysOption.hasuuSik = 1;
    QLineEdit* var = ed(ItemGroup::Payment, "変動手当１");
    dialog.InputItemEnter(var);
    dialog.openCalculator = [] { return std::optional<double>(1234.2); };
    dialog.sbCalculatorClick();
    EXPECT_EQ(var->text(), "     1,235");
    dialog.openCalculator = [] { return std::optional<double>(5e9); };
    dialog.sbCalculatorClick();
    EXPECT_EQ(var->text(), "     1,235");  // refused, unchanged
    EXPECT_EQ(boxes.boxes, QStringList{"入力した数値が上限を超えました。"});
    dialog.openCalculator = [] { return std::nullopt; };  // cancelled
    dialog.sbCalculatorClick();
    EXPECT_EQ(var->text(), "     1,235");
}

TEST_F(DetailEntryDialogTest, MemoTakesNoSixthLine) {
    dialog.show();
    dialog.mmBikou->setPlainText("1\n2\n3\n4\n5\n6");
    EXPECT_EQ(dialog.mmBikou->toPlainText(), "1\n2\n3\n4\n5");
    dialog.mmBikou->setPlainText("a\nb");
    dialog.FormCloseQuery();
    EXPECT_EQ(ledger.Employee(2).Memo.bytes(), std::string("a\r\nb"));
}

TEST_F(DetailEntryDialogTest, PaidLeaveRemainderFollowsTheDaysTaken) {
    TPeriodBlock& march = reader.block(thisYear, 3);
    march.EmployeeTbl[6].Key.set(kKey);
    march.AttendanceTbl[6].Values[kAttPaidLeaveLeft] = 10;
    dialog.show();
    typeAndLeave(ed(ItemGroup::Attendance, "有休日数"), "1.5");
    EXPECT_EQ(ed(ItemGroup::Attendance, "有休残日数")->text(), "  8.50");
    dialog.FormCloseQuery();
    EXPECT_DOUBLE_EQ(ledger.Attendance(2).Values[kAttPaidLeaveLeft], 8.5);
}

class DetailEntryBonusTest : public DetailEntryDialogTest {
protected:
    DetailEntryBonusTest() {
        openPeriod(13);
        ledger.FileHeader.BonusPayMonth[0] = 7;
        ledger.FileHeader.BonusPayDay[0] = 10;
        reader.block(thisYear, 6);  // June holds no salary for her
        dialog.setSlot(2);
    }
};

TEST_F(DetailEntryBonusTest, TaxThatCannotBeComputedAsksForTypedTax) {
    for (auto answer : {platform::ui::Answer::No, platform::ui::Answer::Yes}) {
        ledger.Deduction(2).ManualFlags[kDedIncomeTax] = 0;
        boxes.boxes.clear();
        boxes.answer = answer;
        dialog.show();
        typeAndLeave(ed(ItemGroup::Payment, "賞与"), "300000");
        ASSERT_GE(boxes.boxes.size(), 1);
        EXPECT_TRUE(boxes.boxes[0].endsWith("\r\rこの社員の所得税を手入力モードに変更しますか？"));
        EXPECT_EQ(ded(2, kDedIncomeTax), 0);
        const bool yes = answer == platform::ui::Answer::Yes;
        EXPECT_EQ(ledger.Deduction(2).ManualFlags[kDedIncomeTax], yes ? 1 : 0);
        EXPECT_EQ(boxes.boxes.size(), yes ? 2 : 1);
        if (yes) {
            EXPECT_EQ(
                boxes.boxes[1],
                "所得税計算を手入力モードに変更しました。\r所得税の計算と入力を行って下さい。");
            EXPECT_EQ(dialog.currentEdit(), ed(ItemGroup::Deduction, "所得税"));
        }
        dialog.hide();
    }
}

}  // namespace
}  // namespace ledger::ui
