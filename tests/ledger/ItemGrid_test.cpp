#include "ledger/ItemGrid.h"

#include <gtest/gtest.h>

#include "PayCalcFixture.h"

namespace ledger {
namespace {

using testing_calc::PayCalcTest;

class ItemGridTest : public PayCalcTest {
protected:
    std::vector<std::string> labels() const {
        std::vector<std::string> out;
        for (int r = 1; r < ledger.grid.rowCount(); ++r) out.push_back(ledger.grid.label(r));
        return out;
    }
};

TEST(ItemGridModel, CellsOutsideTheGridReadEmptyAndIgnoreWrites) {
    ItemGrid g;
    EXPECT_EQ(g.rowCount(), 1);
    const int row = g.addRow("出勤日数", ItemGroup::Attendance, {GridItemKind::Attendance, 1},
                             {true, true, false, false});
    g.setCell(81, row, "x");
    g.setCell(3, 9, "x");
    EXPECT_EQ(g.cell(81, row), "");
    EXPECT_EQ(g.cell(-1, row), "");
    EXPECT_EQ(g.cell(3, 9), "");
    EXPECT_FALSE(g.editable(row, 4));
    EXPECT_TRUE(g.isAttendanceRow(row));
    EXPECT_EQ(g.columnSlot(1), 81);
}

TEST_F(ItemGridTest, SalaryRowsAreTheTypedItemsOfAnyPayType) {
    addEmployee(1, "A", 1);
    BuildItemGrid(ledger);
    EXPECT_EQ(labels(),
              (std::vector<std::string>{"出勤日数", "有休日数", "欠勤日数", "特別休暇日数",
                                        "実働時間", "普通残業時間", "深夜残業時間", "遅刻早退回数",
                                        "遅刻早退時間", "有休残日数"}));
    const int absent = 3;
    EXPECT_TRUE(ledger.grid.editable(absent, 1));
    EXPECT_FALSE(ledger.grid.editable(absent, 2));
    EXPECT_TRUE(ledger.grid.editable(absent, 0));  // columns without an employee
    EXPECT_TRUE(ledger.grid.isAttendanceRow(absent));

    // A user label shows in place of the standard one, and a variable item
    // switched on for hourly staff gets a row after the attendance.
    ledger.sysOption.freeLabels[3] = "出張手当";
    setUse(ItemGroup::Payment, 14, 3, true);
    BuildItemGrid(ledger);
    EXPECT_EQ(labels().back(), "出張手当");
    EXPECT_FALSE(ledger.grid.isAttendanceRow(ledger.grid.rowCount() - 1));
    EXPECT_EQ(ledger.grid.item(ledger.grid.rowCount() - 1),
              (GridItem{GridItemKind::VariablePay, 0}));
}

TEST_F(ItemGridTest, BonusRowsHaveNoAttendance) {
    openPeriod(13);
    addEmployee(1, "A", 1);
    ledger.Payment(1).Amounts[kPayBase] = 1234567;
    BuildItemGrid(ledger);
    EXPECT_EQ(labels(), (std::vector<std::string>{"賞与", "役員報酬"}));
    EXPECT_EQ(ledger.grid.cell(1, 1), "1,234,567");
    EXPECT_EQ(ledger.grid.cell(1, 2), "      0");
}

TEST_F(ItemGridTest, CellsShowTheRecordsInTheirFormats) {
    addEmployee(1, "A", 1);
    addEmployee(2, "B", 1).Status = 2;
    addEmployee(3, "C", 1);
    setUse(ItemGroup::Payment, 14, 1, true);
    ledger.Attendance(3).Values[kAttPaidLeaveDays] = 1.5;
    ledger.Attendance(3).Values[kAttOvertime] = 1.5;
    ledger.Payment(3).Amounts[kPayVariable1] = 4000;
    BuildItemGrid(ledger);

    EXPECT_EQ(ledger.grid.cell(1, 0), "社員A");
    EXPECT_EQ(ledger.grid.cell(2, 0), "社員C");
    EXPECT_EQ(ledger.grid.cell(3, 0), "");
    EXPECT_EQ(ledger.grid.employeeColumns(), 2);
    EXPECT_EQ(ledger.grid.columnSlot(2), 3);
    EXPECT_EQ(ledger.grid.columnSlot(3), 81);
    EXPECT_EQ(ledger.grid.cell(2, rowOf("有休日数")), "  1.50");
    EXPECT_EQ(ledger.grid.cell(2, rowOf("普通残業時間")), "  1:30");
    EXPECT_EQ(ledger.grid.cell(2, rowOf("変動手当１")), "  4,000");
    EXPECT_EQ(ledger.grid.cell(3, rowOf("変動手当１")), "");

    ledger.sysOption.timeStyle = 0;
    BuildItemGrid(ledger);
    EXPECT_EQ(ledger.grid.cell(2, rowOf("普通残業時間")), "  1.50");
}

TEST_F(ItemGridTest, APeriodWithoutEmployeesHasNoColumns) {
    BuildItemGrid(ledger);
    EXPECT_EQ(ledger.grid.employeeColumns(), 0);
    EXPECT_GT(ledger.grid.rowCount(), 1);
    for (int r = 0; r < ledger.grid.rowCount(); ++r) EXPECT_EQ(ledger.grid.cell(1, r), "");
}

TEST_F(ItemGridTest, AStatusChangedSinceTheBuildNeverReadsAnotherColumn) {
    addEmployee(1, "A", 1);
    addEmployee(2, "B", 1);
    addEmployee(3, "C", 1);
    BuildItemGrid(ledger);
    type(2, "有休日数", "1");
    type(3, "有休日数", "2");
    ledger.Employee(2).Status = 3;  // retired in the employee list
    addEmployee(4, "D", 1);         // added there
    recalc();
    EXPECT_DOUBLE_EQ(ledger.Attendance(3).Values[kAttPaidLeaveDays], 2);
    EXPECT_DOUBLE_EQ(ledger.Attendance(4).Values[kAttPaidLeaveDays], 0);
    EXPECT_EQ(GridColumnOfSlot(ledger, 4), ItemGrid::kColumns);
}

// The default salary rows: 1 出勤日数, 2 有休日数, 3 欠勤日数, 4 特別休暇日数,
// 5 実働時間, 6 普通残業時間, 7 深夜残業時間, 8 遅刻早退回数, 9 遅刻早退時間,
// 10 有休残日数.
TEST_F(ItemGridTest, EachRowHasItsFormatAndKeys) {
    addEmployee(1, "A", 1);
    setUse(ItemGroup::Payment, 14, 1, true);
    BuildItemGrid(ledger);
    struct Case {
        const char* label;
        int format;
        const char* keys;
    };
    for (const Case& c :
         {Case{"出勤日数", 52, "-."}, Case{"特別休暇日数", 52, "-."},
          Case{"遅刻早退回数", 62, "-."}, Case{"有休残日数", 62, "-."}, Case{"実働時間", 62, "-.:"},
          Case{"深夜残業時間", 62, "-.:"}, Case{"変動手当１", 90, "-"}}) {
        const int row = rowOf(c.label);
        ASSERT_NE(row, 0) << c.label;
        EXPECT_EQ(GridFormatCode(ledger.grid, row), c.format) << c.label;
        EXPECT_EQ(GridExtraKeys(ledger.grid, row), c.keys) << c.label;
    }
    EXPECT_TRUE(GridAcceptsChar(ledger.grid, rowOf("実働時間"), U':'));
    EXPECT_FALSE(GridAcceptsChar(ledger.grid, rowOf("出勤日数"), U':'));
    EXPECT_FALSE(GridAcceptsChar(ledger.grid, rowOf("変動手当１"), U'.'));
    EXPECT_TRUE(GridAcceptsChar(ledger.grid, rowOf("変動手当１"), U'7'));
    EXPECT_FALSE(GridAcceptsChar(ledger.grid, rowOf("変動手当１"), U'５'));
}

TEST_F(ItemGridTest, CommittingACellNormalisesItOrReportsAndZeroesIt) {
    addEmployee(1, "A", 1);
    setUse(ItemGroup::Payment, 14, 1, true);
    struct Case {
        const char* label;
        const char* typed;
        int timeStyle;
        const char* shown;
        const char* message;
    };
    const Case cases[] = {
        {"出勤日数", "21", 1, " 21.00", ""},
        {"出勤日数", "123", 1, "  0.00", "入力した数値が上限を超えました。"},
        {"遅刻早退回数", "123", 1, "123.00", ""},
        {"実働時間", "1:30", 1, "  1:30", ""},
        {"実働時間", "1:30", 0, "  1.50", ""},
        {"実働時間", "1.5", 1, "  1:30", ""},
        {"実働時間", "1:75", 1, "  0:00", "分の入力が59を超えています。"},
        {"有休日数", "1-2", 1, "  0.00", "符号(－)の位置が不正です。"},
        {"有休日数", "", 1, "  0.00", ""},
        {"変動手当１", "12345", 1, " 12,345", ""},
        {"変動手当１", "-500", 1, "   -500", ""},
        {"変動手当１", "12345678", 1, "      0", "入力した数値が上限を超えました。"},
    };
    for (const Case& c : cases) {
        ledger.sysOption.timeStyle = c.timeStyle;
        BuildItemGrid(ledger);
        messages.entries.clear();
        const int row = rowOf(c.label);
        ledger.grid.setCell(1, row, c.typed);
        CommitGridCell(ledger, 1, row, messages);
        EXPECT_EQ(ledger.grid.cell(1, row), c.shown) << c.label << " " << c.typed;
        const std::string said = messages.entries.empty() ? "" : messages.entries[0].second;
        EXPECT_EQ(said, c.message) << c.label << " " << c.typed;
    }

    // The calculation reads back what the commit left.
    ledger.sysOption.timeStyle = 1;
    BuildItemGrid(ledger);
    type(1, "実働時間", "1:30");
    CommitGridCell(ledger, 1, rowOf("実働時間"), messages);
    recalc();
    EXPECT_DOUBLE_EQ(ledger.Attendance(1).Values[kAttHoursWorked], 1.5);

    // Title cells and columns without an employee are not touched.
    ledger.grid.setCell(2, 1, "abc");
    CommitGridCell(ledger, 2, 1, messages);
    EXPECT_EQ(ledger.grid.cell(2, 1), "abc");
    CommitGridCell(ledger, 1, 0, messages);
    EXPECT_EQ(ledger.grid.cell(1, 0), "社員A");
}

TEST_F(ItemGridTest, OnlyAnEmployeesTypedRowsTakeInput) {
    addEmployee(1, "A", 1);
    addEmployee(2, "B", 2);
    addEmployee(3, "C", 7);  // a damaged pay type
    BuildItemGrid(ledger);
    const int absent = rowOf("欠勤日数");
    EXPECT_TRUE(GridCellEditable(ledger, 1, absent));
    EXPECT_FALSE(GridCellEditable(ledger, 2, absent));
    EXPECT_TRUE(GridCellEditable(ledger, 2, rowOf("有休日数")));
    EXPECT_FALSE(GridCellEditable(ledger, 3, rowOf("有休日数")));
    EXPECT_FALSE(GridCellEditable(ledger, 4, rowOf("有休日数")));
    EXPECT_EQ(GridPayType(ledger, 2), 2);
    EXPECT_EQ(GridPayType(ledger, 4), 0);
}

TEST_F(ItemGridTest, EnterMovesToTheNextRowTypedForThePayType) {
    BuildItemGrid(ledger);
    struct Case {
        int payType, from, to;
    };
    for (const Case& c : {Case{2, 2, 4}, Case{2, 10, 1}, Case{3, 5, 10}, Case{3, 10, 1},
                          Case{1, 9, 10}, Case{0, 3, 4}, Case{0, 10, 1}})
        EXPECT_EQ(NextEditableRow(ledger.grid, c.from, c.payType), c.to)
            << c.payType << ":" << c.from;

    // A pay type that types no row stays where it is.
    ItemGrid g;
    g.addRow("x", ItemGroup::Attendance, {GridItemKind::Attendance, 1}, {true, true, false, false});
    g.addRow("y", ItemGroup::Attendance, {GridItemKind::Attendance, 2}, {true, false, false, true});
    EXPECT_EQ(NextEditableRow(g, 1, 2), 1);
    EXPECT_EQ(NextEditableRow(g, 1, 1), 1);
    EXPECT_EQ(NextEditableRow(g, 1, 3), 2);
}

TEST_F(ItemGridTest, LeavingPaidLeaveDaysFillsAZeroRemainderFromThePreviousPeriod) {
    addEmployee(1, "A", 1);
    addEmployee(2, "B", 1);
    addEmployee(3, "C", 1);
    TPeriodBlock& march = reader.block(thisYear, 3);
    march.EmployeeTbl[4].Key.set("A");  // another slot last month: found by Key
    march.AttendanceTbl[4].Values[kAttPaidLeaveLeft] = 10;
    march.EmployeeTbl[0].Key.set("B");
    march.AttendanceTbl[0].Values[kAttPaidLeaveLeft] = 10;
    BuildItemGrid(ledger);
    const int days = rowOf("有休日数");
    const int left = rowOf("有休残日数");

    type(1, "有休日数", "1.5");
    EXPECT_TRUE(FillPaidLeaveRemainder(ledger, 1, days, messages, reader));
    EXPECT_EQ(ledger.grid.cell(1, left), "  8.50");

    // A remainder already there stays; an employee without last month's figure
    // gets nothing; leaving another row does nothing.
    type(2, "有休日数", "1");
    type(2, "有休残日数", "  3.00");
    EXPECT_FALSE(FillPaidLeaveRemainder(ledger, 2, days, messages, reader));
    EXPECT_EQ(ledger.grid.cell(2, left), "  3.00");
    type(3, "有休日数", "2");
    EXPECT_FALSE(FillPaidLeaveRemainder(ledger, 3, days, messages, reader));
    EXPECT_EQ(ledger.grid.cell(3, left), "  0.00");
    type(1, "有休残日数", "  0.00");
    EXPECT_FALSE(FillPaidLeaveRemainder(ledger, 1, rowOf("出勤日数"), messages, reader));
    EXPECT_EQ(ledger.grid.cell(1, left), "  0.00");
    EXPECT_TRUE(messages.entries.empty());

    // January looks at December of last year; without that file nothing is written.
    openPeriod(1);
    BuildItemGrid(ledger);
    type(1, "有休日数", "1");
    EXPECT_FALSE(FillPaidLeaveRemainder(ledger, 1, days, messages, reader));
    EXPECT_EQ(ledger.grid.cell(1, left), "  0.00");
    TPeriodBlock& december = reader.block(lastYear, 12);
    december.EmployeeTbl[0].Key.set("A");
    december.AttendanceTbl[0].Values[kAttPaidLeaveLeft] = 5;
    EXPECT_TRUE(FillPaidLeaveRemainder(ledger, 1, days, messages, reader));
    EXPECT_EQ(ledger.grid.cell(1, left), "  4.00");
}

}  // namespace
}  // namespace ledger
