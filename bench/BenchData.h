#pragma once
// A realistic company for the benchmarks: 80 employees of the three pay types
// with Japanese names, every period of this year saved, last year's file beside
// it, and the tax tables the calculation reads. Everything lives in a fresh
// folder removed afterwards.
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "ledger/ItemGrid.h"
#include "ledger/ItemTables.h"
#include "ledger/Ledger.h"
#include "ledger/Messages.h"
#include "ledger/PayrollYearFile.h"
#include "ledger/Recalc.h"

namespace bench_data {

namespace fs = std::filesystem;

inline void fillTables(ledger::Ledger& l) {
    ledger::SalaryTaxTable& t = l.tables.salary;
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
    ledger::BonusTaxTable& b = l.tables.bonus;
    b.KouRowCount = 2;
    b.KouRows[0].Rate = 0.02042;
    b.KouRows[0].Upper = {300000, 300000, 300000, 300000, 300000, 300000, 300000, 300000};
    b.KouRows[1].Rate = 0.1021;
    b.OtsuRowCount = 1;
    b.OtsuRows[0].Rate = 0.45945;
    l.tables.salaryLoaded = l.tables.bonusLoaded = true;
}

inline constexpr std::array<const char*, 16> kFamilyNames{
    "佐藤", "鈴木", "高橋", "田中", "伊藤",   "渡辺", "山本", "中村",
    "小林", "加藤", "吉田", "山田", "佐々木", "山口", "松本", "井上"};
inline constexpr std::array<const char*, 10> kGivenNames{"太郎", "花子", "一郎", "美咲", "健太",
                                                         "由美", "翔",   "陽子", "大輔", "恵"};

// A fresh temporary folder, removed with everything in it.
struct TempFolder {
    TempFolder() {
        std::string templ = (fs::temp_directory_path() / "tolvane-bench-XXXXXX").string();
        if (!::mkdtemp(templ.data())) std::abort();
        path = templ;
    }
    ~TempFolder() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
    fs::path path;
};

// The company of one open year (令和8) with last year's file (令和7).
struct Company {
    Company() : ledger(clock) {
        ledger.dataPath = folder.path;
        fillTables(ledger);
        writeYear(7);
        writeYear(8);
    }

    // Opens a period of this year's file for a recalculation: the layout of its
    // kind, the grid built and every cell typed.
    void openPeriod(int period) {
        useYear(8, period);
        ledger::LoadFileHeader(ledger, ledger.CurData.FileName);
        ledger::LoadPeriod(ledger, ledger.CurData.FileName);
        typeGrid(period);
    }

    // Every period of an era year calculated from typed figures and saved.
    void writeYear(int year) {
        useYear(year, 1);
        ledger::CreateDataFile(ledger, ledger.CurData.FileName);
        ledger.clearPeriod();
        ledger.FileHeader.BonusPayMonth[0] = 7;
        ledger.FileHeader.BonusPayMonth[1] = 12;
        ledger.FileHeader.BonusPayDay[0] = 10;
        ledger.FileHeader.BonusPayDay[1] = 10;
        fillEmployees();
        for (int p = 1; p <= ledger::kPeriods; ++p) {
            useYear(year, p);
            typeGrid(p);
            ledger::MessageLog messages;
            auto manual = ledger::RecalcAll(ledger, messages);
            ledger::SetManualIncomeTax(ledger, manual);
            ledger::SavePeriod(ledger, ledger.CurData.FileName);
        }
    }

    void useYear(int year, int period) {
        ledger.CurData = {folder.path / ("令和" + std::to_string(year) + "年給与･賞与.dat"), "令和",
                          year, period};
        const auto kind =
            period >= ledger::kFirstBonus ? ledger::SlipKind::Bonus : ledger::SlipKind::Salary;
        ledger::ResetItemTables(ledger.itemTables, kind);
        ledger.PrnLayout = ledger::BuildPrnLayout(ledger.itemTables, kind);
    }

    void fillEmployees() {
        ledger::TBasicInfo& info = ledger.BasicInfo();
        info.CorpName.set("株式会社トルヴァン商事");
        info.WorkDays = 21;
        info.WorkHours = 168;
        info.PayDay = 25;
        info.EmpInsRate = 0.6;
        info.HealthInsRate = 4.99;
        info.CareInsRate = 0.82;
        info.PensionRate = 9.15;
        for (int slot = 1; slot <= ledger::kSlots; ++slot) {
            ledger::TEmployeeRec& e = ledger.Employee(slot);
            e.Key.set("2601" + std::to_string(10000 + slot));
            e.Code.set(std::to_string(1000 + slot));
            e.Name.set(std::string(kFamilyNames[std::size_t(slot % 16)]) +
                       kGivenNames[std::size_t(slot % 10)]);
            e.Dept.set(slot % 2 ? "営業部" : "製造部");
            e.Kind = std::uint8_t(1 + slot % 4);
            e.Status = 1;
            e.PayForm = std::uint8_t(1 + slot % 3);
            e.PayMethod = std::uint8_t(slot % 2);
            e.BasePay = e.PayForm == 1 ? 250000 + 1000 * slot : 1200 + slot;
            e.PaidLeavePay = 9000;
            e.PostAllowance = slot % 5 == 0 ? 20000 : 0;
            e.FamilyAllowance = 5000 * (slot % 3);
            e.OvertimeUnit = 1800;
            e.NightUnit = 2200;
            e.HolidayUnit = 2000;
            e.AbsenceDeduction = 12000;
            e.LateDeduction = 1500;
            e.CommuteFree = 12000;
            e.HealthInsured = e.CareInsured = e.PensionInsured = e.EmpInsured = 1;
            e.HealthPremium = 12500 + 10 * slot;
            e.CarePremium = 2050;
            e.PensionPremium = 23790 + 10 * slot;
            e.ResidentTax = 8000 + 100 * (slot % 7);
            e.ResidentTaxJune = 8600;
            e.TaxColumn = std::uint8_t(slot % 9 == 0 ? 1 : 0);
            e.TaxDependants = slot % 4;
        }
    }

    // Attendance in a salary month, the bonus amounts in a bonus period.
    void typeGrid(int period) {
        ledger::BuildItemGrid(ledger);
        ledger::ItemGrid& g = ledger.grid;
        for (int c = 1; c <= g.employeeColumns(); ++c) {
            const int slot = g.columnSlot(c);
            for (int r = 1; r < g.rowCount(); ++r) {
                const ledger::GridItem item = g.item(r);
                std::string text = "0";
                if (period >= ledger::kFirstBonus)
                    text = item.kind == ledger::GridItemKind::Bonus
                               ? std::to_string(300000 + 5000 * (slot % 40))
                               : "1,000";
                else if (item.kind == ledger::GridItemKind::Attendance)
                    text = item.index == 1   ? std::to_string(19 + slot % 3)
                           : item.index == 7 ? "160"
                           : item.index < 6  ? "1"
                                             : "2.5";
                else
                    text = std::to_string(1000 * (slot % 5));
                g.setCell(c, r, text);
            }
        }
    }

    ledger::FixedClock clock{{2026, 12, 20}};
    TempFolder folder;
    ledger::Ledger ledger;
};

}  // namespace bench_data
