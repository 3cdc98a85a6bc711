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

TEST_F(RecalcTest, SalaryPeriodsWithinTheTaxTableDoNotAsk) {
    staff();
    BuildItemGrid(ledger);
    EXPECT_TRUE(recalc().empty());
    EXPECT_EQ(reader.reads, 0);  // and read no stored period
}

// Where the table file's ranges end, the tax is left to be typed: 0 and the slot
// listed, like a bonus whose previous month is missing.
TEST_F(RecalcTest, PayBeyondTheTaxTableIsListedWithNoTax) {
    ledger.tables.salary.Rows[4].Upper = 1710000;
    for (int slot : {1, 2, 3, 4}) {
        TEmployeeRec& e = addEmployee(slot, "K" + std::to_string(slot), 1);
        e.TaxDependants = 2;
        e.TaxColumn = slot == 3 ? 1 : 0;
    }
    ledger.Employee(1).BasePay = 2500000;
    ledger.Employee(2).BasePay = 1709999;
    ledger.Employee(3).BasePay = 1710000;  // 乙 too
    ledger.Employee(4).BasePay = 2500000;
    ledger.Employee(4).Status = 3;  // retired: nothing to ask
    ledger.Employee(1).Name.set("山田 太郎");
    ledger.Employee(3).Name.set("佐藤 花子");
    BuildItemGrid(ledger);
    EXPECT_EQ(recalc(), (std::vector<int>{1, 3}));
    EXPECT_EQ(ded(1, kDedIncomeTax), 0);
    EXPECT_EQ(ded(3, kDedIncomeTax), 0);
    EXPECT_EQ(ded(1, kDedTotal), 0);
    // The last row's 112,000 for two dependants, plus 33.693 % of 759,999.
    EXPECT_EQ(ded(2, kDedIncomeTax), 112000 + 256066);

    const std::string question = ManualTaxQuestion(ledger, {1, 3});
    EXPECT_NE(question.find("税額表の範囲(1,710,000円未満)を超えている"), std::string::npos);
    EXPECT_NE(question.find("\r　山田 太郎\r　佐藤 花子\r\r"), std::string::npos) << question;
    EXPECT_NE(question.find("手入力モードに変更しますか？"), std::string::npos);

    // A typed tax is kept as always.
    SetManualIncomeTax(ledger, {1});
    ledger.Deduction(1).Amounts[kDedIncomeTax] = 703940;
    EXPECT_EQ(recalc(), (std::vector<int>{3}));
    EXPECT_EQ(ded(1, kDedIncomeTax), 703940);
    EXPECT_EQ(ded(1, kDedTotal), 703940);
}

TEST_F(RecalcTest, BonusPeriodsKeepTheirOwnQuestion) {
    openPeriod(13);
    EXPECT_EQ(ManualTaxQuestion(ledger, {1}), kManualTaxQuestion);
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
