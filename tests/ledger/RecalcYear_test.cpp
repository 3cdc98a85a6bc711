// A whole year recalculated and saved twice: by RecalcAll on one long-lived
// ledger, as the program does it (what the layouts hold is resolved once and
// kept while nothing changes), and slot by slot on a fresh ledger for every
// period, each slot resolving everything anew. Settings change during the year;
// the two year files must come out byte for byte the same.
#include <gtest/gtest.h>

#include <string>

#include "PayCalcFixture.h"
#include "ledger/BonusCalc.h"
#include "ledger/ItemGrid.h"
#include "ledger/ItemTables.h"
#include "ledger/Ledger.h"
#include "ledger/PayCalcSupport.h"
#include "ledger/PayrollYearFile.h"
#include "ledger/Recalc.h"
#include "ledger/SalaryCalc.h"
#include "support/TempDir.h"

namespace ledger {
namespace {

namespace fs = std::filesystem;
using testing_support::readText;
using testing_support::TempDir;

void fillTables(Ledger& l) {
    l.tables.salary = testing_calc::smallSalaryTable();
    l.tables.bonus = testing_calc::smallBonusTable();
    l.tables.salaryLoaded = l.tables.bonusLoaded = true;
}

void switchUse(Ledger& l, ItemGroup group, std::string_view code, int payType, bool on) {
    for (TEditItems& item : l.itemTables.items(group))
        if (item.Code == code) item.Use[std::size_t(payType)] = on;
}

// The state of a period as the user left it: employees, settings and layout as
// they stand at that point of the year, and the figures typed in the grid.
// Premium rates give whole yen, so no premium rounds at a half.
void preparePeriod(Ledger& l, const fs::path& folder, int year, int period) {
    l.dataPath = folder;
    l.CurData = {folder / ("令和" + std::to_string(year) + "年給与･賞与.dat"), "令和", year,
                 period};
    l.clearPeriod();
    if (fs::exists(l.CurData.FileName)) LoadFileHeader(l, l.CurData.FileName);
    l.FileHeader.BonusPayMonth[0] = 7;
    l.FileHeader.BonusPayMonth[1] = 12;
    l.FileHeader.BonusPayMonth[2] = 3;
    const SlipKind kind = period >= kFirstBonus ? SlipKind::Bonus : SlipKind::Salary;
    ResetItemTables(l.itemTables, kind);
    l.sysOption = SysOption{};
    // Every typed item, and a second fixed allowance, on every slip.
    for (int t = 1; t <= kPayTypes; ++t) {
        for (std::string_view code : {"V変動手当１", "V変動手当２", "V変動手当３", "F固定手当２"})
            switchUse(l, ItemGroup::Payment, code, t, true);
        for (std::string_view code : {"V変動控除１", "V変動控除２"})
            switchUse(l, ItemGroup::Deduction, code, t, true);
        for (std::string_view code : {"Vその他１", "Vその他３"})
            switchUse(l, ItemGroup::Other, code, t, true);
    }
    const bool later = year == 8 && period >= 5;
    if (later) {
        // A variable pay renamed, a fixed one given the name of a standard item,
        // and a variable item taken off the daily-paid slip.
        l.sysOption.freeLabels[std::size_t(paycalc::kFreeVarPay)] = "食事手当";
        l.sysOption.freeLabels[std::size_t(paycalc::kFreeFixedPay + 1)] = "家族手当";
        switchUse(l, ItemGroup::Payment, "V変動手当２", 2, false);
        switchUse(l, ItemGroup::Deduction, "V変動控除１", 3, false);
    }
    if (year == 8 && period >= 9) switchUse(l, ItemGroup::Deduction, "F住民税", 1, false);
    l.PrnLayout = BuildPrnLayout(l.itemTables, kind);

    TBasicInfo& info = l.BasicInfo();
    info.WorkDays = 20;
    info.WorkHours = 160;
    info.EmpInsRate = 0.6;
    info.HealthInsRate = 5;
    info.CareInsRate = 1;
    info.PensionRate = 9;
    for (int slot = 1; slot <= kSlots - 3; ++slot) {
        TEmployeeRec& e = l.Employee(slot);
        e.Key.set("2601" + std::to_string(10000 + slot));
        e.Name.set("山田" + std::to_string(slot));
        e.Status = std::uint8_t(slot == 11 && later ? 3 : 1);
        e.PayForm = std::uint8_t(1 + (slot + (later && slot == 7 ? 1 : 0)) % 3);
        e.BasePay = e.PayForm == 1 ? 200000 + 1000 * slot : 1000 + slot;
        e.PaidLeavePay = 8000;
        e.PostAllowance = slot % 5 == 0 ? 20000 : 0;
        e.FamilyAllowance = 5000 * (slot % 3);
        e.FixedAllowance[1] = 3000;
        e.OvertimeUnit = 1600;
        e.NightUnit = 2000;
        e.AbsenceDeduction = 10000;
        e.CommuteFree = 10000;
        e.HealthInsured = e.CareInsured = e.PensionInsured = e.EmpInsured = 1;
        e.HealthPremium = 12000;
        e.CarePremium = 2000;
        e.PensionPremium = 24000;
        e.ResidentTax = 8000;
        e.FixedDeduction[0] = 1000;
        e.TaxColumn = std::uint8_t(slot % 9 == 0 ? 1 : 0);
        e.TaxDependants = slot % 4;
    }
    BuildItemGrid(l);
    ItemGrid& g = l.grid;
    for (int c = 1; c <= g.employeeColumns(); ++c) {
        const int slot = g.columnSlot(c);
        for (int r = 1; r < g.rowCount(); ++r) {
            const GridItem item = g.item(r);
            std::string text = std::to_string(100 * (slot % 7) + 10 * r);
            if (item.kind == GridItemKind::Bonus)
                text = std::to_string(200000 + 10000 * (slot % 30));
            else if (item.kind == GridItemKind::Attendance)
                text = item.index == 1 ? std::to_string(18 + slot % 3) : "2.5";
            g.setCell(c, r, text);
        }
    }
}

void saveLikeTheProgram(Ledger& l, MessageLog& messages) {
    SetManualIncomeTax(l, RecalcAll(l, messages));
    SavePeriod(l, l.CurData.FileName);
}

void saveSlotBySlot(Ledger& l, MessageLog& messages) {
    std::vector<int> manual;
    for (int slot = 1; slot <= kSlots; ++slot) {
        if (!l.isBonusPeriod()) {
            RecalcSalarySlot(l, slot, messages);
            continue;
        }
        RecalcBonusSlot(l, slot, messages);
        if (!l.Employee(slot).Key.empty() && !l.BonusTaxOk[std::size_t(slot - 1)])
            manual.push_back(slot);
    }
    SetManualIncomeTax(l, manual);
    SavePeriod(l, l.CurData.FileName);
}

TEST(RecalcYear, RecalcAllSavesTheSameFilesAsSlotBySlotCalculationOverAWholeYear) {
    TempDir programDir, referenceDir;
    FixedClock clock({2026, 12, 20});
    Ledger program(clock);
    fillTables(program);
    MessageLog programMessages, referenceMessages;
    for (int year : {7, 8}) {
        CreateDataFile(program, programDir / ("令和" + std::to_string(year) + "年給与･賞与.dat"));
        CreateDataFile(program, referenceDir / ("令和" + std::to_string(year) + "年給与･賞与.dat"));
        for (int period = 1; period <= kPeriods; ++period) {
            preparePeriod(program, programDir.path(), year, period);
            saveLikeTheProgram(program, programMessages);

            Ledger reference(clock);
            fillTables(reference);
            preparePeriod(reference, referenceDir.path(), year, period);
            saveSlotBySlot(reference, referenceMessages);
        }
        const std::string name = "令和" + std::to_string(year) + "年給与･賞与.dat";
        const std::string saved = readText(programDir / name);
        ASSERT_EQ(saved.size(), std::size_t(kYearFileSize));
        EXPECT_TRUE(saved == readText(referenceDir / name)) << name;
    }
    EXPECT_EQ(programMessages.entries, referenceMessages.entries);
    // The figures are real: everybody was paid in December, and the renamed
    // variable pay was counted.
    const auto december = ReadPeriodBlock(programDir / "令和8年給与･賞与.dat", 12);
    int paid = 0, renamedPay = 0;
    for (const TPaymentRec& p : december->PaymentTbl) {
        paid += p.Amounts[kPayTotal] > 0;
        renamedPay += p.Amounts[kPayVariable1] != 0;
    }
    EXPECT_EQ(paid, kSlots - 3 - 1);  // all but the empty slots and the one on leave
    EXPECT_GT(renamedPay, 0);
}

}  // namespace
}  // namespace ledger
