#include "ledger/SalaryCalc.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "PayCalcFixture.h"
#include "ledger/OpenPeriod.h"
#include "ledger/PayrollYearFile.h"
#include "ledger/Rounding.h"
#include "platform/IniFile.h"
#include "support/TempDir.h"

namespace ledger {
namespace {

using testing_calc::PayCalcTest;

// ---------------------------------------------------------------------------
// Money rounding

TEST(MoneyRounding, ModesAndThresholds) {
    EXPECT_EQ(RoundByMode(2, -2.5f), -3);
    EXPECT_EQ(RoundByMode(1, -2.5f), -2);
    EXPECT_EQ(RoundByMode(0, 2.9999996f), 3);  // the 0.000001 tolerance
    EXPECT_EQ(RoundByMode(7, 2.9999996f), 3);  // any other mode truncates likewise
    EXPECT_EQ(RoundByMode(0, -2.7f), -2);
    EXPECT_EQ(TruncTol(-2.9999996), -3);

    struct Case {
        double x;
        int over50, over500;
    };
    for (const Case& c : {Case{10.5, 10, 10}, Case{10.6, 11, 11}, Case{10.505, 10, 11},
                          Case{10.501, 10, 11}, Case{-10.6, -11, -11}, Case{-10.5, -10, -10}})
        EXPECT_EQ(RoundOver50(c.x), c.over50) << c.x;
    for (const Case& c :
         {Case{10.5, 10, 10}, Case{10.505, 10, 11}, Case{10.501, 10, 11}, Case{-10.6, -11, -11}})
        EXPECT_EQ(RoundOver500(c.x), c.over500) << c.x;
}

TEST(MoneyRounding, ProductsPassThroughSinglePrecision) {
    SysOption o;
    o.hasuuSik = 1;
    // 1.1 × 1,500 is 1650.0000000000002 in double; the float step makes it 1,650.
    EXPECT_EQ(RoundPayment(o, 1.1, 1500), 1650);
    for (int mode : {0, 1, 2}) {
        o.hasuuSik = o.hasuuGen = o.hasuuKou = mode;
        EXPECT_EQ(RoundPayment(o, 1.0, 16777217), 16777216) << mode;
        EXPECT_EQ(RoundDeduction(o, 1.0, 16777217), 16777216) << mode;
    }
    EXPECT_THROW(RoundPayment(o, 1e6, 1e6), platform::ConvertError);
    EXPECT_THROW(RoundOver50(3e9), platform::ConvertError);
}

// ---------------------------------------------------------------------------
// Salary

class SalaryTest : public PayCalcTest {
protected:
    // The monthly-paid employee of the worked example.
    TEmployeeRec& worker(int slot = 1) {
        TEmployeeRec& e = addEmployee(slot, "260401_090000", 1);
        e.BasePay = 250000;
        e.PostAllowance = 10000;
        e.FamilyAllowance = 5000;
        e.OvertimeUnit = 1800;
        e.NightUnit = 2200;
        e.CommuteFree = 12000;
        e.AbsenceDeduction = 12000;
        e.LateDeduction = 1500;
        e.HealthInsured = 1;
        e.HealthPremium = 12500;
        e.CareInsured = 1;
        e.CarePremium = 2000;
        e.PensionInsured = 1;
        e.PensionPremium = 23790;
        e.EmpInsured = 1;
        e.ResidentTax = 8000;
        e.ResidentTaxJune = 8500;
        e.TaxColumn = 0;
        e.TaxDependants = 1;
        return e;
    }
    void typeWorkerAttendance(int slot = 1) {
        type(slot, "普通残業時間", "10:30");
        type(slot, "深夜残業時間", "2.25");
        type(slot, "欠勤日数", "1");
        type(slot, "遅刻早退時間", "0:30");
    }
};

TEST_F(SalaryTest, MonthlyScenarioToTheYen) {
    worker();
    BuildItemGrid(ledger);
    typeWorkerAttendance();
    EXPECT_TRUE(recalc().empty());

    EXPECT_EQ(pay(1, kPayBase), 250000);
    EXPECT_EQ(pay(1, kPayOvertime), 18900);
    EXPECT_EQ(pay(1, kPayNight), 4950);
    EXPECT_EQ(pay(1, kPayCommuteFree), 12000);
    EXPECT_EQ(pay(1, kPayAbsence), -12000);
    EXPECT_EQ(pay(1, kPayLate), -750);
    EXPECT_EQ(pay(1, kPayTaxableTotal), 276100);
    EXPECT_EQ(pay(1, kPayTotal), 288100);
    EXPECT_EQ(ded(1, kDedSocialInsBase), 288100);
    EXPECT_EQ(ded(1, kDedEmployment), 1729);  // 1,728.6 under the 0.500 rule
    EXPECT_EQ(ded(1, kDedSocialInsTotal), 40019);
    EXPECT_EQ(ded(1, kDedAfterSocialIns), 236081);
    EXPECT_EQ(ded(1, kDedIncomeTax), 9000);
    EXPECT_EQ(ded(1, kDedResidentTax), 8000);
    EXPECT_EQ(ded(1, kDedTotal), 57019);
    // The scheduled figures come from the period, not the grid.
    EXPECT_EQ(ledger.Attendance(1).Values[kAttScheduledDays], 21);
    EXPECT_EQ(ledger.Attendance(1).Values[kAttScheduledHours], 168);
    EXPECT_DOUBLE_EQ(ledger.Attendance(1).Values[kAttOvertime], 10.5);
    EXPECT_TRUE(messages.entries.empty());
}

TEST_F(SalaryTest, JuneTakesTheJuneResidentTaxOutsideSocialInsurance) {
    openPeriod(6);
    worker();
    BuildItemGrid(ledger);
    typeWorkerAttendance();
    recalc();
    EXPECT_EQ(ded(1, kDedResidentTax), 8500);
    EXPECT_EQ(ded(1, kDedSocialInsTotal), 40019);
    EXPECT_EQ(ded(1, kDedAfterSocialIns), 236081);
    EXPECT_EQ(ded(1, kDedTotal), 57519);
}

TEST_F(SalaryTest, BasePayByPayType) {
    TEmployeeRec& daily = addEmployee(1, "A", 2);
    daily.BasePay = 10000;
    daily.PaidLeavePay = 8000;
    TEmployeeRec& hourly = addEmployee(2, "B", 3);
    hourly.BasePay = 1200;
    TEmployeeRec& monthly = addEmployee(3, "C", 1);
    monthly.BasePay = 300000;
    monthly.PaidLeavePay = 8000;
    BuildItemGrid(ledger);
    type(1, "出勤日数", "20");
    type(1, "有休日数", "1");
    type(2, "実働時間", "160:30");
    type(3, "出勤日数", "3");
    type(3, "有休日数", "2");
    recalc();
    EXPECT_EQ(pay(1, kPayBase), 208000);
    EXPECT_EQ(pay(2, kPayBase), 192600);
    EXPECT_EQ(pay(3, kPayBase), 300000);  // whatever the attendance
}

TEST_F(SalaryTest, EmploymentInsuranceIsTakenOnEverythingPaid) {
    struct Case {
        const char* name;
        int post, commuteFree;
        const char* absentDays;
        int expected;
    };
    // 250,000 + post (+ commuting) (− 12,000 per absent day), at 0.6 %.
    for (const Case& c :
         {Case{"plain", 10000, 0, "", 1560}, Case{"commuting raises", 10000, 12000, "", 1632},
          Case{"absence lowers", 10000, 0, "1", 1488}, Case{"0.504 rounds up", 10084, 0, "", 1561},
          Case{"0.498 rounds down", 10083, 0, "", 1560}}) {
        TEmployeeRec& e = addEmployee(1, "A", 1);
        e.BasePay = 250000;
        e.PostAllowance = c.post;
        e.CommuteFree = c.commuteFree;
        e.AbsenceDeduction = 12000;
        e.EmpInsured = 1;
        BuildItemGrid(ledger);
        type(1, "欠勤日数", c.absentDays);
        recalc();
        EXPECT_EQ(ded(1, kDedEmployment), c.expected) << c.name;
    }
}

TEST_F(SalaryTest, EmploymentInsuranceRoundsItsExactValue) {
    ledger.BasicInfo().EmpInsRate = 0.95;
    struct Case {
        int basePay, expected;
    };
    // 216,158 × 0.95 % is exactly 2,053.501: over the 0.500 rule, though its
    // binary product is 2,053.50099…; the others were exact before and stay.
    for (const Case& c :
         {Case{216158, 2054}, Case{216157, 2053}, Case{300000, 2850}, Case{216210, 2054}}) {
        TEmployeeRec& e = addEmployee(1, "A", 1);
        e.BasePay = c.basePay;
        e.EmpInsured = 1;
        BuildItemGrid(ledger);
        recalc();
        EXPECT_EQ(ded(1, kDedEmployment), c.expected) << c.basePay;
    }
}

TEST_F(SalaryTest, RoundingModesOfComputedPaysAndReductions) {
    struct Case {
        int mode;
        int overtime, absence;
    };
    for (const Case& c : {Case{1, 15787, -16666}, Case{2, 15786, -16667}, Case{0, 15786, -16666}}) {
        TEmployeeRec& e = addEmployee(1, "A", 1);
        e.OvertimeUnit = 1563;
        e.AbsenceDeduction = 11111;
        ledger.sysOption.hasuuSik = c.mode;
        ledger.sysOption.hasuuGen = c.mode == 1 ? 0 : c.mode;
        BuildItemGrid(ledger);
        type(1, "普通残業時間", "10.1");
        type(1, "欠勤日数", "1.5");
        recalc();
        EXPECT_EQ(pay(1, kPayOvertime), c.overtime) << c.mode;
        EXPECT_EQ(pay(1, kPayAbsence), c.absence) << c.mode;
    }
}

TEST_F(SalaryTest, FreeItemsFollowTheirTaxAndInsuranceFlags) {
    TEmployeeRec& e = worker();
    e.FixedAllowance[0] = 5000;
    e.FixedDeduction[0] = 3000;
    BuildItemGrid(ledger);
    typeWorkerAttendance();

    // Off every default layout: nothing is paid or deducted.
    recalc();
    EXPECT_EQ(pay(1, kPayFixed1), 0);
    EXPECT_EQ(ded(1, kDedFixed1), 0);
    EXPECT_EQ(pay(1, kPayTaxableTotal), 276100);

    // 固定手当１ taxable but outside the insurance base; 固定控除１ deducted before
    // tax and out of the base.
    setUse(ItemGroup::Payment, 3, 1, true);
    setUse(ItemGroup::Deduction, 10, 1, true);
    ledger.sysOption.kazei = "100000100000";
    ledger.sysOption.syaho = "000000100000";
    recalc();
    EXPECT_EQ(pay(1, kPayFixed1), 5000);
    EXPECT_EQ(pay(1, kPayTaxableTotal), 281100);
    EXPECT_EQ(pay(1, kPayTotal), 293100);
    EXPECT_EQ(ded(1, kDedSocialInsBase), 288100 - 3000);
    EXPECT_EQ(ded(1, kDedFixed1), 3000);
    EXPECT_EQ(ded(1, kDedSocialInsTotal), 40019 + 30 + 3000);  // employment on 293,100
    EXPECT_EQ(ded(1, kDedAfterSocialIns), 281100 - 43049);

    // Without Kazei the deduction no longer lowers the taxed amount, and the
    // allowance is no longer taxed.
    ledger.sysOption.kazei = "000000000000";
    recalc();
    EXPECT_EQ(pay(1, kPayTaxableTotal), 276100);
    EXPECT_EQ(ded(1, kDedSocialInsTotal), 40049);
    EXPECT_EQ(ded(1, kDedAfterSocialIns), 276100 - 40049);
    EXPECT_EQ(ded(1, kDedTotal), 40049 + 3000 + 8000 + 9000);
}

TEST_F(SalaryTest, ItemsOffTheEmployeesLayoutAreZero) {
    TEmployeeRec& e = addEmployee(1, "A", 1);
    e.HolidayUnit = 2000;
    e.PaidLeavePay = 9000;
    e.HealthInsured = 1;
    e.HealthPremium = 5000;
    ledger.Payment(1).Amounts[kPayHoliday] = 777;  // left over from an earlier layout
    BuildItemGrid(ledger);
    // 休日普通残業 hours are typed for daily-paid staff, off the monthly layout.
    setUse(ItemGroup::Attendance, 10, 2, true);
    BuildItemGrid(ledger);
    type(1, "休日普通残業", "4");
    setUse(ItemGroup::Deduction, 0, 1, false);  // no 健康保険料 on monthly slips
    recalc();
    EXPECT_EQ(pay(1, kPayHoliday), 0);
    EXPECT_EQ(ded(1, kDedHealth), 0);
    EXPECT_EQ(ded(1, kDedSocialInsTotal), 0);
}

TEST_F(SalaryTest, TypedAmountsAreKeptAndCounted) {
    worker();
    BuildItemGrid(ledger);
    typeWorkerAttendance();
    ledger.Payment(1).Amounts[kPayBase] = 123456;
    ledger.Payment(1).ManualFlags[kPayBase] = 1;
    ledger.Deduction(1).Amounts[kDedIncomeTax] = 5000;
    ledger.Deduction(1).ManualFlags[kDedIncomeTax] = 1;
    recalc();
    recalc();  // and across recalculations
    EXPECT_EQ(pay(1, kPayBase), 123456);
    EXPECT_EQ(pay(1, kPayTaxableTotal), 276100 - 250000 + 123456);
    EXPECT_EQ(ded(1, kDedIncomeTax), 5000);
    EXPECT_EQ(ded(1, kDedTotal), ded(1, kDedSocialInsTotal) + 8000 + 5000);
}

TEST_F(SalaryTest, SlotsNotActiveAreClearedButKeepAttendance) {
    worker(1);
    worker(2);
    BuildItemGrid(ledger);
    typeWorkerAttendance(1);
    typeWorkerAttendance(2);
    recalc();
    ASSERT_NE(pay(2, kPayTotal), 0);
    ledger.Payment(2).ManualFlags[kPayBase] = 1;

    for (std::uint8_t status : {2, 3}) {
        ledger.Employee(2).Status = status;
        recalc();
        const TPaymentRec zeroPay{};
        const TDeductionRec zeroDed{};
        EXPECT_EQ(std::memcmp(&ledger.Payment(2), &zeroPay, sizeof zeroPay), 0) << int(status);
        EXPECT_EQ(std::memcmp(&ledger.Deduction(2), &zeroDed, sizeof zeroDed), 0) << int(status);
        EXPECT_DOUBLE_EQ(ledger.Attendance(2).Values[kAttOvertime], 10.5);
    }
    // A free slot loses everything.
    ledger.Employee(2).Key.set("");
    recalc();
    EXPECT_EQ(ledger.Attendance(2).Values[kAttOvertime], 0);
    EXPECT_EQ(pay(1, kPayTotal), 288100);  // the others are untouched
}

TEST_F(SalaryTest, EachEmployeeReadsTheColumnOfItsSlot) {
    for (int slot : {1, 2, 3}) addEmployee(slot, "K" + std::to_string(slot), 1).OvertimeUnit = 1000;
    ledger.Employee(2).Status = 2;  // on leave: no column
    BuildItemGrid(ledger);
    EXPECT_EQ(ledger.grid.employeeColumns(), 2);
    EXPECT_EQ(ledger.grid.columnSlot(2), 3);
    EXPECT_EQ(GridColumnOfSlot(ledger, 3), 2);
    ledger.grid.setCell(1, rowOf("普通残業時間"), "1");
    ledger.grid.setCell(2, rowOf("普通残業時間"), "3");
    recalc();
    EXPECT_EQ(pay(1, kPayOvertime), 1000);
    EXPECT_EQ(pay(3, kPayOvertime), 3000);
}

TEST_F(SalaryTest, VariableItemsAreTakenOnlyWhereThePayTypeUsesThem) {
    addEmployee(1, "M", 1);
    addEmployee(2, "D", 2);
    setUse(ItemGroup::Payment, 14, 2, true);  // 変動手当１ on daily slips only
    setUse(ItemGroup::Other, 0, 1, true);     // その他１ on monthly slips only
    BuildItemGrid(ledger);
    const int row = rowOf("変動手当１");
    ASSERT_NE(row, 0);
    EXPECT_TRUE(ledger.grid.editable(row, 2));
    EXPECT_FALSE(ledger.grid.editable(row, 1));
    type(1, "変動手当１", "4,000");
    type(2, "変動手当１", "5,000");
    type(1, "その他１", "700");
    type(2, "その他１", "800");
    recalc();
    EXPECT_EQ(pay(1, kPayVariable1), 0);
    EXPECT_EQ(pay(2, kPayVariable1), 5000);
    EXPECT_EQ(pay(2, kPayTaxableTotal), 5000);
    // その他 is kept in both records and in neither total.
    EXPECT_EQ(pay(1, kPayOther1), 700);
    EXPECT_EQ(ded(1, kDedOther1), 700);
    EXPECT_EQ(pay(2, kPayOther1), 0);
    EXPECT_EQ(pay(1, kPayTotal), 0);
    EXPECT_EQ(ded(1, kDedTotal), 0);

    EXPECT_TRUE(IsVariableItemUsed(ledger, 2, "変動手当１"));
    EXPECT_FALSE(IsVariableItemUsed(ledger, 1, "変動手当１"));
    EXPECT_FALSE(IsVariableItemUsed(ledger, 1, "基本給"));  // not a variable item
    EXPECT_FALSE(IsPaymentItemUsed(ledger, "基本給", 4));   // no such pay type
}

TEST_F(SalaryTest, ALabelGivenTwiceStillReadsEachItemsOwnRow) {
    // The user named その他１ like 変動控除１; each row still feeds its own field.
    ledger.sysOption.freeLabels[12] = "積立金";
    ledger.sysOption.freeLabels[9] = "積立金";
    addEmployee(1, "M", 1);
    setUse(ItemGroup::Deduction, 14, 1, true);
    setUse(ItemGroup::Other, 0, 1, true);
    BuildItemGrid(ledger);
    int first = 0, second = 0;
    for (int r = 1; r < ledger.grid.rowCount(); ++r)
        if (ledger.grid.label(r) == "積立金") (first ? second : first) = r;
    ASSERT_NE(second, 0);
    ledger.grid.setCell(1, first, "1,000");
    ledger.grid.setCell(1, second, "20");
    recalc();
    EXPECT_EQ(ded(1, kDedVariable1), 1000);
    EXPECT_EQ(ded(1, kDedOther1), 20);
    EXPECT_EQ(pay(1, kPayOther1), 20);
}

// Older settings hold a layout entry under the item's label. Renaming the label
// later in the run must not drop the item: the running program computes what a
// fresh start reading the same settings computes.
TEST_F(SalaryTest, ALabelCodedLayoutEntryKeepsItsItemThroughARename) {
    testing_support::TempDir dir;
    platform::IniFile ini(dir / "Tolvane.ini");
    ini.writeString("KyuyoItemName", "Sikyu03", "F住宅手当");
    ini.writeString("KyuyoKeitai1", "Sikyu", "111100110011110001");
    ledger.sysOption.freeLabels[0] = "住宅手当";
    addEmployee(1, "M", 1).FixedAllowance[0] = 10000;
    ledger.Employee(1).BasePay = 300000;

    OpenPeriodData(ledger, ini);
    EXPECT_EQ(ledger.itemTables.PaymentItems[3].Code, "F固定手当１");
    SaveItemTables(ini, SlipKind::Salary, ledger.itemTables, ledger.sysOption);  // its OK
    ledger.sysOption.freeLabels[0] = "住居手当";  // renamed in the settings dialog
    recalc();
    const std::int32_t running = pay(1, kPayTaxableTotal);

    OpenPeriodData(ledger, ini);  // what a fresh start reads
    recalc();
    EXPECT_EQ(pay(1, kPayFixed1), 10000);
    EXPECT_EQ(pay(1, kPayTaxableTotal), 310000);
    EXPECT_EQ(running, pay(1, kPayTaxableTotal));
}

TEST_F(SalaryTest, IncomeTaxFollowsColumnAndDependants) {
    TEmployeeRec& e = addEmployee(1, "A", 1);
    e.BasePay = 100000;
    struct Case {
        int column, dependants, tax;
    };
    for (const Case& c :
         {Case{0, 1, 9000}, Case{0, 9, 1780}, Case{0, -3, 10000}, Case{1, 2, 46780}}) {
        e.TaxColumn = std::uint8_t(c.column);
        e.TaxDependants = c.dependants;
        CalcSalary(ledger, 1);
        EXPECT_EQ(ded(1, kDedIncomeTax), c.tax) << c.column << "/" << c.dependants;
    }
}

TEST_F(SalaryTest, MalformedGridTextIsReportedAndCountsAsZero) {
    addEmployee(1, "A", 1).OvertimeUnit = 1000;
    BuildItemGrid(ledger);
    type(1, "普通残業時間", "1.2.3");
    recalc();
    EXPECT_EQ(pay(1, kPayOvertime), 0);
    ASSERT_EQ(messages.entries.size(), 1u);
    EXPECT_EQ(messages.entries[0].first, MessageLog::Kind::Error);
}

TEST_F(SalaryTest, NoCalculationForOldHeiseiYears) {
    worker();
    BuildItemGrid(ledger);
    ledger.CurData.Era = "平成";
    ledger.CurData.Year = 24;
    ledger.Payment(1).Amounts[kPayBase] = 42;
    CalcSalary(ledger, 1);
    EXPECT_EQ(pay(1, kPayBase), 42);
    EXPECT_EQ(pay(1, kPayTotal), 0);
}

TEST_F(SalaryTest, ATotalBeyondTheAmountRangeIsRefused) {
    TEmployeeRec& e = addEmployee(1, "A", 1);
    e.BasePay = 2000000000;
    e.PostAllowance = 2000000000;
    EXPECT_THROW(CalcSalary(ledger, 1), platform::ConvertError);
}

// ---------------------------------------------------------------------------
// Paid-leave remainder of the previous period

TEST_F(PayCalcTest, PaidLeaveBalanceIsFoundByKeyInTheStoredPeriod) {
    ShortString<14> key{};
    key.set("260101_120000");
    TPeriodBlock& march = reader.block(thisYear, 3);
    march.EmployeeTbl[4].Key.set("260101_120000");  // slot 5 there
    march.AttendanceTbl[4].Values[kAttPaidLeaveLeft] = 7.5;
    EXPECT_DOUBLE_EQ(PrevPaidLeaveBalance(ledger, 3, key, reader), 7.5);
    EXPECT_EQ(PrevPaidLeaveBalance(ledger, 2, key, reader), kNoPaidLeaveBalance);
    EXPECT_EQ(PrevPaidLeaveBalance(ledger, 3, ShortString<14>{}, reader), kNoPaidLeaveBalance);
    EXPECT_EQ(PrevPaidLeaveBalance(ledger, 16, key, reader), kNoPaidLeaveBalance);
}

TEST(PaidLeaveBalanceFiles, JanuaryReadsDecemberOfLastYearsFile) {
    testing_support::TempDir dir;
    FixedClock clock({2026, 1, 20});
    Ledger ledger(clock);
    ledger.dataPath = dir.path();
    ledger.CurData = {dir / "令和8年給与･賞与.dat", "令和", 8, 1};
    ShortString<14> key{};
    key.set("250401_101010");

    EXPECT_EQ(PrevPaidLeaveBalance(ledger, 0, key), kNoPaidLeaveBalance);  // no file

    const auto last = dir / "令和7年給与･賞与.dat";
    CreateDataFile(ledger, last);
    TPeriodBlock december{};
    december.EmployeeTbl[2].Key.set("250401_101010");
    december.AttendanceTbl[2].Values[kAttPaidLeaveLeft] = 10.0;
    {
        std::fstream f(last, std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(PeriodOffset(11));
        f.write(reinterpret_cast<const char*>(&december), sizeof december);
    }
    EXPECT_DOUBLE_EQ(PrevPaidLeaveBalance(ledger, 0, key), 10.0);
    // Memory is not consulted: the same employee in the open period changes nothing.
    ledger.Employee(1).Key.set("250401_101010");
    ledger.Attendance(1).Values[kAttPaidLeaveLeft] = 3.0;
    EXPECT_DOUBLE_EQ(PrevPaidLeaveBalance(ledger, 0, key), 10.0);
}

}  // namespace
}  // namespace ledger
