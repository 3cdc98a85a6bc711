// RecalcAll over a full period of 80 active employees, for a salary month and
// for a bonus whose tax and yearly cap read the stored files.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "ledger/ItemGrid.h"
#include "ledger/ItemTables.h"
#include "ledger/Ledger.h"
#include "ledger/PayrollYearFile.h"
#include "ledger/Recalc.h"

namespace {

using namespace ledger;
namespace fs = std::filesystem;

void fillTables(Ledger& l) {
    SalaryTaxTable& t = l.tables.salary;
    t.RowCount = 3;
    t.Rows[0] = {88000, 740000, {10000, 9000, 8000, 7000, 6000, 5500, 5200, 5000}, 50000};
    t.Rows[1] = {740000, 950000, {70000, 66000, 62000, 58000, 54000, 50000, 46000, 42000}, 259000};
    t.Rows[2] = {
        950000, 1700000, {120000, 116000, 112000, 108000, 104000, 100000, 96000, 92000}, 345000};
    t.KouRate1 = 0.2042;
    t.KouRate2 = 0.23483;
    t.KouRate3 = 0.33693;
    t.OtsuRateLow = 0.03063;
    t.OtsuRate1 = 0.4084;
    t.OtsuRate2 = 0.45945;
    t.KouExtraDependant = t.OtsuDependant = 1610;
    BonusTaxTable& b = l.tables.bonus;
    b.KouRowCount = 2;
    b.KouRows[0].Rate = 0.02042;
    b.KouRows[0].Upper = {300000, 300000, 300000, 300000, 300000, 300000, 300000, 300000};
    b.KouRows[1].Rate = 0.1021;
    b.OtsuRowCount = 1;
    b.OtsuRows[0].Rate = 0.45945;
    l.tables.salaryLoaded = l.tables.bonusLoaded = true;
}

// A ledger with 80 employees of all three pay types, its year file and last
// year's in a fresh folder.
struct Setup {
    explicit Setup(int period) : clock({2026, 8, 1}), ledger(clock) {
        dir = fs::temp_directory_path() / ("tolvane_bench_" + std::to_string(::getpid()));
        fs::create_directories(dir);
        ledger.dataPath = dir;
        ledger.CurData = {dir / "令和8年給与･賞与.dat", "令和", 8, period};
        CreateDataFile(ledger, dir / "令和7年給与･賞与.dat");
        CreateDataFile(ledger, ledger.CurData.FileName);
        fillTables(ledger);
        const SlipKind kind = period >= kFirstBonus ? SlipKind::Bonus : SlipKind::Salary;
        ResetItemTables(ledger.itemTables, kind);
        ledger.PrnLayout = BuildPrnLayout(ledger.itemTables, kind);
        TBasicInfo& info = ledger.BasicInfo();
        info.WorkDays = 21;
        info.WorkHours = 168;
        info.EmpInsRate = 0.6;
        info.HealthInsRate = 4.99;
        info.CareInsRate = 0.82;
        info.PensionRate = 9.15;
        for (int slot = 1; slot <= kSlots; ++slot) {
            TEmployeeRec& e = ledger.Employee(slot);
            e.Key.set("2601" + std::to_string(10000 + slot));
            e.Name.set("社員" + std::to_string(slot));
            e.Status = 1;
            e.PayForm = std::uint8_t(1 + slot % 3);
            e.BasePay = e.PayForm == 1 ? 250000 + 1000 * slot : 1200;
            e.OvertimeUnit = 1800;
            e.NightUnit = 2200;
            e.AbsenceDeduction = 12000;
            e.CommuteFree = 12000;
            e.HealthInsured = e.CareInsured = e.PensionInsured = e.EmpInsured = 1;
            e.HealthPremium = 12500;
            e.PensionPremium = 23790;
            e.TaxDependants = slot % 4;
            ledger.Deduction(slot).Amounts[kDedAfterSocialIns] = 200000 + slot;
            ledger.Payment(slot).Amounts[kPayTaxableTotal] = 400000;
        }
        if (period >= kFirstBonus) {
            // June's salaries and the other bonuses stored, as the tax and the
            // cap read them.
            ledger.FileHeader.BonusPayMonth[0] = 7;
            ledger.FileHeader.BonusPayMonth[1] = 12;
            for (int p : {6, 14, 15}) {
                ledger.CurData.Period = p;
                SavePeriod(ledger, ledger.CurData.FileName);
            }
            ledger.CurData.Period = period;
        }
        BuildItemGrid(ledger);
        for (int c = 1; c <= kSlots; ++c)
            for (int r = 1; r < ledger.grid.rowCount(); ++r)
                ledger.grid.setCell(c, r, period >= kFirstBonus ? "600,000" : "2.5");
    }
    ~Setup() {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }

    FixedClock clock;
    Ledger ledger;
    fs::path dir;
    MessageLog messages;
};

void BM_RecalcAllSalary(benchmark::State& state) {
    Setup s(4);
    for (auto _ : state) benchmark::DoNotOptimize(RecalcAll(s.ledger, s.messages));
    state.SetItemsProcessed(state.iterations() * kSlots);
}
BENCHMARK(BM_RecalcAllSalary)->Unit(benchmark::kMillisecond);

void BM_RecalcAllBonus(benchmark::State& state) {
    Setup s(13);
    for (auto _ : state) benchmark::DoNotOptimize(RecalcAll(s.ledger, s.messages));
    state.SetItemsProcessed(state.iterations() * kSlots);
}
BENCHMARK(BM_RecalcAllBonus)->Unit(benchmark::kMillisecond);

}  // namespace
