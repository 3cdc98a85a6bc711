#include "ledger/Recalc.h"

#include <gtest/gtest.h>

#include <cstring>

#include "PayCalcFixture.h"

namespace ledger {
namespace {

using testing_calc::PayCalcTest;

class RecalcTest : public PayCalcTest {
protected:
    void staff() {
        for (int slot = 1; slot <= 5; ++slot) {
            TEmployeeRec& e = addEmployee(slot, "K" + std::to_string(slot), 1 + (slot - 1) % 3);
            e.BasePay = slot == 1 ? 300000 : 1100;
            e.OvertimeUnit = 1900;
            e.PaidLeavePay = 7000;
            e.EmpInsured = 1;
        }
        setUse(ItemGroup::Payment, 14, 1, true);
        setUse(ItemGroup::Payment, 14, 2, true);
        setUse(ItemGroup::Other, 2, 3, true);
    }
};

// Showing the records in a fresh grid and recalculating changes nothing: what
// the grid shows is what the calculation stored.
TEST_F(RecalcTest, AGridBuiltFromTheRecordsRecalculatesToTheSameRecords) {
    staff();
    BuildItemGrid(ledger);
    for (int slot = 1; slot <= 5; ++slot) {
        type(slot, "出勤日数", std::to_string(15 + slot));
        type(slot, "有休日数", "1.5");
        type(slot, "実働時間", "151:45");
        type(slot, "変動手当１", std::to_string(1000 * slot));
        type(slot, "その他３", "-250");
    }
    ledger.Employee(1).PayForm = 1;
    recalc();
    const TPeriodBlock first = *ledger.block;
    BuildItemGrid(ledger);
    recalc();
    EXPECT_EQ(std::memcmp(&first, ledger.block.get(), sizeof first), 0);
    EXPECT_EQ(pay(2, kPayBase), 17 * 1100 + 10500);
    EXPECT_EQ(pay(3, kPayOther1 + 2), -250);
}

TEST_F(RecalcTest, SalaryPeriodsNeverAskAboutTheTax) {
    staff();
    BuildItemGrid(ledger);
    EXPECT_TRUE(recalc().empty());
    EXPECT_EQ(reader.reads, 0);  // and read no stored period
}

TEST_F(RecalcTest, ManualTaxFlagsAreSetOnlyForGivenSlots) {
    staff();
    SetManualIncomeTax(ledger, {2, 0, 81, 5});
    for (int slot = 1; slot <= 5; ++slot)
        EXPECT_EQ(ledger.Deduction(slot).ManualFlags[kDedIncomeTax], slot == 2 || slot == 5)
            << slot;
}

}  // namespace
}  // namespace ledger
