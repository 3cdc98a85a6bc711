#include "ledger/BonusCalc.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "PayCalcFixture.h"
#include "support/TempDir.h"

namespace ledger {
namespace {

using testing_calc::PayCalcTest;

constexpr const char* kKey = "250401_080000";

class BonusTest : public PayCalcTest {
protected:
    BonusTest() {
        openPeriod(13);
        setBonusDate(13, 7, 10);
    }

    void setBonusDate(int period, int month, int day) {
        ledger.FileHeader.BonusPayMonth[period - kFirstBonus] = month;
        ledger.FileHeader.BonusPayDay[period - kFirstBonus] = day;
    }

    // The insured, taxed employee of the worked example.
    TEmployeeRec& insured(int slot = 1, const char* key = kKey) {
        TEmployeeRec& e = addEmployee(slot, key, 1);
        e.HealthInsured = e.CareInsured = e.PensionInsured = e.EmpInsured = 1;
        e.TaxColumn = 0;
        e.TaxDependants = 2;
        return e;
    }

    // A stored period of a file holding the employee in some slot.
    TPeriodBlock& stored(const std::filesystem::path& file, int period, int slot = 7,
                         const char* key = kKey) {
        TPeriodBlock& b = reader.block(file, period);
        b.EmployeeTbl[slot - 1].Key.set(key);
        return b;
    }
    void storeTaxable(const std::filesystem::path& file, int period, std::int32_t amount) {
        stored(file, period).PaymentTbl[6].Amounts[kPayTaxableTotal] = amount;
    }
    void storeLastSalary(int period, std::int32_t afterSocialIns,
                         const std::filesystem::path* file = nullptr) {
        stored(file ? *file : thisYear, period).DeductionTbl[6].Amounts[kDedAfterSocialIns] =
            afterSocialIns;
    }

    std::int32_t capBase(std::int32_t standard) {
        return HealthBonusCapBase(ledger, 1, standard, reader);
    }

    // Types a bonus in the grid and recalculates.
    std::vector<int> recalcWithBonus(const std::string& bonus, const std::string& fee = "") {
        BuildItemGrid(ledger);
        type(1, "賞与", bonus);
        if (!fee.empty()) type(1, "役員報酬", fee);
        return recalc();
    }
};

TEST_F(BonusTest, ScenarioToTheYen) {
    insured();
    storeLastSalary(6, 200000);
    EXPECT_TRUE(recalcWithBonus("1,234,567").empty());
    EXPECT_EQ(pay(1, kPayBase), 1234567);
    EXPECT_EQ(pay(1, kPayTaxableTotal), 1234567);
    EXPECT_EQ(ded(1, kDedHealth), 61577);
    EXPECT_EQ(ded(1, kDedPension), 112911);   // on the standard amount 1,234,000
    EXPECT_EQ(ded(1, kDedEmployment), 7407);  // on what was paid
    EXPECT_EQ(ded(1, kDedCare), 10118);       // 71,695 combined
    EXPECT_EQ(ded(1, kDedSocialInsTotal), 192013);
    EXPECT_EQ(ded(1, kDedAfterSocialIns), 1042554);
    EXPECT_EQ(ded(1, kDedIncomeTax), 21288);
    EXPECT_EQ(ded(1, kDedTotal), 213301);
    EXPECT_TRUE(ledger.BonusTaxOk[0]);

    ledger.sysOption.hasuuKou = 2;
    recalc();
    EXPECT_EQ(ded(1, kDedIncomeTax), 21289);
}

TEST_F(BonusTest, StandardAmountAndPensionCap) {
    struct Case {
        const char* bonus;
        int health, pension;
    };
    // Health on the standard amount (cut to thousands), pension on at most 1,500,000.
    for (const Case& c :
         {Case{"1,234,567", 61577, 112911}, Case{"2,000,000", 99800, 137250}, Case{"999", 0, 0}}) {
        insured();
        recalcWithBonus(c.bonus);
        EXPECT_EQ(ded(1, kDedHealth), c.health) << c.bonus;
        EXPECT_EQ(ded(1, kDedPension), c.pension) << c.bonus;
    }
}

TEST_F(BonusTest, YearlyHealthCapCountsEarlierBonusesAsStored) {
    insured();
    setBonusDate(13, 4, 10);
    setBonusDate(14, 5, 10);  // the one calculated
    setBonusDate(15, 4, 20);
    ledger.CurData.Period = 14;
    struct Case {
        std::int32_t first, second, standard, base;
    };
    for (const Case& c : {Case{3000000, 2500000, 600000, 230000},
                          Case{3000500, 2500400, 600000, 229100},  // not cut to thousands
                          Case{5800000, 0, 600000, 0}, Case{5130000, 0, 600000, 600000},
                          Case{1000000, 0, 600000, 600000}}) {
        storeTaxable(thisYear, 13, c.first);
        storeTaxable(thisYear, 15, c.second);
        EXPECT_EQ(capBase(c.standard), c.base) << c.first << "+" << c.second;
    }
}

TEST_F(BonusTest, AboveTheCapOnlyThePensionIsCharged) {
    insured();
    setBonusDate(14, 6, 30);
    storeTaxable(thisYear, 14, 5800000);
    recalcWithBonus("600,000");
    EXPECT_EQ(ded(1, kDedHealth), 0);
    EXPECT_EQ(ded(1, kDedCare), 0);
    EXPECT_EQ(ded(1, kDedPension), 54900);
}

TEST_F(BonusTest, FebruaryCountsLastYearsAprilToDecemberBonuses) {
    insured();
    TPayrollFileHeader& last = reader.header(lastYear);
    last.BonusPayMonth[0] = 7;
    last.BonusPayMonth[1] = 12;
    last.BonusPayMonth[2] = 2;  // in last year's insurance year: not counted
    storeTaxable(lastYear, 13, 1000000);
    storeTaxable(lastYear, 14, 2000000);
    storeTaxable(lastYear, 15, 500000);
    setBonusDate(13, 2, 25);  // later this month: not counted
    setBonusDate(14, 1, 15);
    setBonusDate(15, 2, 20);
    storeTaxable(thisYear, 13, 300000);
    storeTaxable(thisYear, 14, 400000);
    ledger.CurData.Period = 15;
    EXPECT_EQ(capBase(2500000), 5730000 - 3400000);
}

TEST_F(BonusTest, BonusesOfOneMonthCountByDay) {
    insured();
    setBonusDate(13, 7, 10);
    setBonusDate(14, 7, 25);
    storeTaxable(thisYear, 13, 3000000);
    storeTaxable(thisYear, 14, 3000000);
    ledger.CurData.Period = 14;
    EXPECT_EQ(capBase(3000000), 2730000);  // the 25th counts the 10th
    ledger.CurData.Period = 13;
    EXPECT_EQ(capBase(3000000), 3000000);  // the 10th does not count the 25th
    // Paid on the same day, each counts the other.
    setBonusDate(14, 7, 10);
    EXPECT_EQ(capBase(3000000), 2730000);
    ledger.CurData.Period = 14;
    EXPECT_EQ(capBase(3000000), 2730000);
}

// A bonus whose month is not set, or is no month at all, passes as paid before
// any dated one; one without a month counts only month-less bonuses up to its
// day. Without last year's file a spring bonus counts this year's alone.
TEST_F(BonusTest, BonusesWithoutAMonthCountAsEarlier) {
    insured();
    storeTaxable(thisYear, 13, 1000000);
    storeTaxable(thisYear, 14, 2000000);
    ledger.CurData.Period = 15;
    struct Case {
        const char* name;
        int month13, day13, month14, day14, month15;
        std::int32_t standard, base;
    };
    for (const Case& c : {
             Case{"March, others unset", 0, 0, 14, 0, 3, 3000000, 2730000},
             Case{"July, others unset", 0, 0, 255, 0, 7, 3000000, 2730000},
             Case{"unset, one dated", 7, 1, 0, 5, 13, 4000000, 3730000},
             Case{"unset, later day", 7, 1, 0, 6, -1, 4000000, 4000000},
         }) {
        setBonusDate(13, c.month13, c.day13);
        setBonusDate(14, c.month14, c.day14);
        setBonusDate(15, c.month15, 5);
        EXPECT_EQ(capBase(c.standard), c.base) << c.name;
    }
}

TEST_F(BonusTest, CareIsTheCombinedPremiumLessTheHealthPremium) {
    insured().TaxColumn = 0;
    ledger.BasicInfo().HealthInsRate = 4.95;
    ledger.BasicInfo().CareInsRate = 0.82;
    recalcWithBonus("123,456");
    EXPECT_EQ(ded(1, kDedHealth), 6088);  // 6,088.5 rounds down
    EXPECT_EQ(ded(1, kDedCare), 1009);    // 7,097 combined

    ledger.Deduction(1).Amounts[kDedHealth] = 6000;
    ledger.Deduction(1).ManualFlags[kDedHealth] = 1;
    recalc();
    EXPECT_EQ(ded(1, kDedHealth), 6000);
    EXPECT_EQ(ded(1, kDedCare), 1097);
}

// Rates have three decimals and bases are whole yen, so a premium whose exact
// value ends in .51 (.501 for employment insurance) must round up, even where the
// binary product falls just below it.
TEST_F(BonusTest, PremiumsRoundTheirExactValue) {
    insured();
    ledger.BasicInfo().HealthInsRate = 5.095;
    ledger.BasicInfo().CareInsRate = 0.82;
    setBonusDate(14, 6, 30);
    storeTaxable(thisYear, 14, 5644200);  // leaves a health base of 85,800
    recalcWithBonus("100,000");
    EXPECT_EQ(ded(1, kDedHealth), 4372);     // 4,371.51
    EXPECT_EQ(ded(1, kDedCare), 703);        // 5,075.07 combined
    EXPECT_EQ(ded(1, kDedPension), 9150);    // unchanged: exact
    EXPECT_EQ(ded(1, kDedEmployment), 600);  // unchanged: exact

    storeTaxable(thisYear, 14, 0);
    ledger.BasicInfo().EmpInsRate = 0.95;
    recalcWithBonus("216,158");
    EXPECT_EQ(ded(1, kDedEmployment), 2054);  // 2,053.501
    EXPECT_EQ(ded(1, kDedHealth), 11005);     // 11,005.2 on 216,000, unchanged

    ledger.BasicInfo().HealthInsRate = 4.907;
    ledger.BasicInfo().CareInsRate = 0.8;
    recalcWithBonus("93,000");
    EXPECT_EQ(ded(1, kDedHealth), 4564);  // 4,563.51
    EXPECT_EQ(ded(1, kDedCare), 744);     // 5,307.51 combined
}

TEST_F(BonusTest, DirectorsFeeCarriesNoEmploymentInsurance) {
    insured();
    recalcWithBonus("500,000", "300,000");
    EXPECT_EQ(pay(1, kPayTotal), 800000);
    EXPECT_EQ(ded(1, kDedEmployment), 3000);  // on 500,000
    recalcWithBonus("", "300,000");
    EXPECT_EQ(ded(1, kDedEmployment), 0);
    EXPECT_EQ(ded(1, kDedHealth), 14970);  // the fee still counts for health
}

TEST_F(BonusTest, TaxNeedsLastMonthsSalaryAndAtMostTenTimesIt) {
    TEmployeeRec& e = addEmployee(1, kKey, 1);
    e.TaxDependants = 0;
    storeLastSalary(6, 70000);
    struct Case {
        const char* bonus;
        bool computed;
        int tax;
    };
    // No premiums: the bonus is the amount after social insurance. 70,000 lies
    // in the 2.042 % range for no dependants.
    for (const Case& c : {Case{"700,000", true, 14294}, Case{"700,001", false, 0}}) {
        const std::vector<int> manual = recalcWithBonus(c.bonus);
        EXPECT_EQ(ledger.BonusTaxOk[0], c.computed) << c.bonus;
        EXPECT_EQ(ded(1, kDedIncomeTax), c.tax) << c.bonus;
        EXPECT_EQ(manual, c.computed ? std::vector<int>{} : std::vector<int>{1}) << c.bonus;
    }
}

TEST_F(BonusTest, NoSalaryLastMonthAsksForTypedTaxUntilItIsTyped) {
    insured(1);
    insured(2, "250401_080001");
    storeLastSalary(6, 200000);  // only the first employee was paid in June
    std::vector<int> manual = recalcWithBonus("300,000");
    EXPECT_EQ(manual, std::vector<int>{2});
    EXPECT_EQ(ded(2, kDedIncomeTax), 0);

    SetManualIncomeTax(ledger, manual);
    EXPECT_EQ(ledger.Deduction(2).ManualFlags[kDedIncomeTax], 1);
    ledger.Deduction(2).Amounts[kDedIncomeTax] = 12345;
    EXPECT_TRUE(recalc().empty());
    EXPECT_TRUE(ledger.BonusTaxOk[1]);
    EXPECT_EQ(ded(2, kDedIncomeTax), 12345);
    EXPECT_EQ(ded(2, kDedTotal), ded(2, kDedSocialInsTotal) + 12345);
}

TEST_F(BonusTest, PreviousMonthComesFromTheBonusMonth) {
    addEmployee(1, kKey, 1);
    TPeriodBlock& december = stored(lastYear, 12);
    december.DeductionTbl[6].Amounts[kDedAfterSocialIns] = 300000;
    storeLastSalary(3, 70000);
    struct Case {
        int month, tax;
    };
    // 300,000 of last December: the 45.945 % default row; 70,000 of March: 2.042 %.
    for (const Case& c :
         {Case{1, 45945}, Case{4, 2042}, Case{0, 45945}, Case{17, 45945}, Case{-3, 45945}}) {
        setBonusDate(13, c.month, 1);
        recalcWithBonus("100,000");
        EXPECT_EQ(ded(1, kDedIncomeTax), c.tax) << c.month;
    }
    EXPECT_EQ(PrevAfterSocialIns(ledger, 0, ledger.Employee(1).Key, reader), 300000);
    EXPECT_EQ(PrevAfterSocialIns(ledger, 5, ledger.Employee(1).Key, reader), 0);
}

TEST_F(BonusTest, ANegativeTaxIsZero) {
    TEmployeeRec& e = addEmployee(1, kKey, 1);
    e.TaxDependants = -2;  // taken as none
    storeLastSalary(6, 100000);
    setUse(ItemGroup::Deduction, 14, 1, true);  // 変動控除１, deducted before tax
    ledger.sysOption.kazei = "000000000100";
    BuildItemGrid(ledger);
    type(1, "賞与", "100,000");
    type(1, "変動控除１", "150,000");
    recalc();
    EXPECT_EQ(ded(1, kDedAfterSocialIns), -50000);
    EXPECT_EQ(ded(1, kDedIncomeTax), 0);
    EXPECT_TRUE(ledger.BonusTaxOk[0]);
}

TEST_F(BonusTest, FixedNamesAreReadWhateverTheLayout) {
    insured();
    setUse(ItemGroup::Payment, 1, 1, false);  // no 役員報酬 on monthly bonus slips
    setUse(ItemGroup::Payment, 1, 2, true);
    BuildItemGrid(ledger);
    type(1, "賞与", "100,000");
    type(1, "役員報酬", "50,000");
    recalc();
    EXPECT_EQ(pay(1, kPayPost), 50000);    // kept ...
    EXPECT_EQ(pay(1, kPayTotal), 100000);  // ... and counted nowhere
    EXPECT_EQ(ded(1, kDedResidentTax), 0);
}

TEST_F(BonusTest, SlotsNotActiveCountAsComputed) {
    insured(1);
    insured(2, "250401_080001").Status = 3;
    ledger.Payment(2).Amounts[kPayBase] = 1;
    EXPECT_TRUE(recalcWithBonus("300,000") == std::vector<int>{1});
    EXPECT_TRUE(ledger.BonusTaxOk[1]);
    EXPECT_EQ(pay(2, kPayBase), 0);
}

TEST_F(BonusTest, EachStoredBlockIsReadOncePerRecalculation) {
    for (int slot = 1; slot <= 80; ++slot) insured(slot, ("K" + std::to_string(slot)).c_str());
    setBonusDate(13, 2, 10);  // reads last year's header and blocks too
    reader.header(lastYear);
    BuildItemGrid(ledger);
    reader.reads = 0;
    recalc();
    // This year's 14, 15 and January; last year's header, 13, 14, 15.
    EXPECT_LE(reader.reads, 7);
}

TEST(BonusFiles, CapAndPreviousMonthAreReadFromTheSavedFile) {
    testing_support::TempDir dir;
    FixedClock clock({2026, 8, 1});
    Ledger ledger(clock);
    ledger.dataPath = dir.path();
    const auto file = dir / "令和8年給与･賞与.dat";
    ledger.CurData = {file, "令和", 8, 14};
    CreateDataFile(ledger, file);
    ShortString<14> key{};
    key.set(kKey);
    TPeriodBlock block{};
    block.EmployeeTbl[0].Key = key;
    block.PaymentTbl[0].Amounts[kPayTaxableTotal] = 1000500;
    block.DeductionTbl[0].Amounts[kDedAfterSocialIns] = 222000;
    {
        std::fstream f(file, std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(PeriodOffset(12));  // 夏期賞与
        f.write(reinterpret_cast<const char*>(&block), sizeof block);
        f.seekp(PeriodOffset(5));  // June
        f.write(reinterpret_cast<const char*>(&block), sizeof block);
    }
    ledger.FileHeader.BonusPayMonth[0] = 7;
    ledger.FileHeader.BonusPayMonth[1] = 12;
    ledger.Employee(1).Key = key;
    ledger.Employee(1).Status = 1;
    EXPECT_EQ(HealthBonusCapBase(ledger, 1, 5000000), 5730000 - 1000500);
    EXPECT_EQ(PrevAfterSocialIns(ledger, 6, key), 222000);
    EXPECT_EQ(PrevAfterSocialIns(ledger, 0, key), 0);  // no file of last year
}

}  // namespace
}  // namespace ledger
