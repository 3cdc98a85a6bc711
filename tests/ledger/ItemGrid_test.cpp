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

}  // namespace
}  // namespace ledger
