#pragma once
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <utility>

#include "ledger/BonusCalc.h"
#include "ledger/Common.h"
#include "ledger/ItemGrid.h"
#include "ledger/ItemTables.h"
#include "ledger/Ledger.h"
#include "ledger/Recalc.h"
#include "ledger/SalaryCalc.h"
#include "ledger/YearFileName.h"
#include "platform/Errors.h"

// State for the pay calculation tests: a ledger with a small monthly and bonus
// tax table, the default slip layouts, and stored periods served from memory.
namespace ledger::testing_calc {

// A monthly table of five rows: rows 3..5 start the formula ranges.
inline SalaryTaxTable smallSalaryTable() {
    SalaryTaxTable t;
    t.RowCount = 5;
    t.Rows[0] = {88000, 89000, {130, 0, 0, 0, 0, 0, 0, 0}, 3200};
    t.Rows[1] = {89000, 740000, {10000, 9000, 8000, 7000, 6000, 5500, 5200, 5000}, 50000};
    t.Rows[2] = {740000, 780000, {70000, 66000, 62000, 58000, 54000, 50000, 46000, 42000}, 259000};
    t.Rows[3] = {780000, 950000, {80000, 76000, 72000, 68000, 64000, 60000, 56000, 52000}, 275000};
    t.Rows[4] = {
        950000, 1700000, {120000, 116000, 112000, 108000, 104000, 100000, 96000, 92000}, 345000};
    t.KouRate1 = 0.2042;
    t.KouRate2 = 0.23483;
    t.KouRate3 = 0.33693;
    t.OtsuRateLow = 0.03063;
    t.OtsuRate1 = 0.4084;
    t.OtsuRate2 = 0.45945;
    t.KouExtraDependant = 1610;
    t.OtsuDependant = 1610;
    return t;
}

// A bonus table of three 甲 rows (0 %, 2.042 %, default 45.945 %) and two 乙 rows.
inline BonusTaxTable smallBonusTable() {
    BonusTaxTable t;
    t.KouRowCount = 3;
    t.KouRows[0].Rate = 0.0;
    t.KouRows[0].Upper = {68000, 94000, 133000, 171000, 210000, 243000, 275000, 308000};
    t.KouRows[1].Rate = 0.02042;
    t.KouRows[1].Lower = t.KouRows[0].Upper;
    t.KouRows[1].Upper = {79000, 243000, 282000, 317000, 351000, 385000, 420000, 455000};
    t.KouRows[2].Rate = 0.45945;
    t.OtsuRowCount = 2;
    t.OtsuRows[0] = {0.1021, 222000};
    t.OtsuRows[1] = {0.45945, 0};
    return t;
}

// Stored year files in memory: a file exists once anything of it was stored.
// Reads of a file that does not exist fail as the real reader does.
class MemoryReader : public SavedBlockReader {
public:
    TPeriodBlock& block(const std::filesystem::path& file, int period) {
        files_.insert(file);
        auto& b = blocks_[{file, period}];
        if (!b) b = std::make_unique<TPeriodBlock>();
        return *b;
    }
    TPayrollFileHeader& header(const std::filesystem::path& file) {
        files_.insert(file);
        return headers_[file];
    }

    std::unique_ptr<TPeriodBlock> read(const std::filesystem::path& file,
                                       int period) const override {
        ++reads;
        if (!files_.count(file)) throw platform::IoError::fromErrno(ENOENT);
        auto it = blocks_.find({file, period});
        return it == blocks_.end() ? std::make_unique<TPeriodBlock>()
                                   : std::make_unique<TPeriodBlock>(*it->second);
    }
    TPayrollFileHeader header(const std::filesystem::path& file) const override {
        ++reads;
        if (!files_.count(file)) throw platform::IoError::fromErrno(ENOENT);
        auto it = headers_.find(file);
        return it == headers_.end() ? TPayrollFileHeader{} : it->second;
    }

    mutable int reads = 0;

private:
    std::set<std::filesystem::path> files_;
    std::map<std::pair<std::filesystem::path, int>, std::unique_ptr<TPeriodBlock>> blocks_;
    std::map<std::filesystem::path, TPayrollFileHeader> headers_;
};

// A salary or bonus period of 令和8 with the default settings and layouts.
class PayCalcTest : public testing::Test {
protected:
    PayCalcTest() : clock({2026, 5, 1}), ledger(clock) {
        ledger.dataPath = "/data";
        ledger.CurData.FileName = thisYear;
        ledger.CurData.Era = "令和";
        ledger.CurData.Year = 8;
        ledger.tables.salary = smallSalaryTable();
        ledger.tables.bonus = smallBonusTable();
        ledger.tables.salaryLoaded = ledger.tables.bonusLoaded = true;
        openPeriod(4);
    }

    // Opens a period in memory with the default layout of its kind.
    void openPeriod(int period) {
        ledger.CurData.Period = period;
        const SlipKind kind = period >= kFirstBonus ? SlipKind::Bonus : SlipKind::Salary;
        ResetItemTables(ledger.itemTables, kind);
        ledger.PrnLayout = BuildPrnLayout(ledger.itemTables, kind);
        TBasicInfo& b = ledger.BasicInfo();
        b.WorkDays = 21;
        b.WorkHours = 168;
        b.EmpInsRate = 0.6;
        b.HealthInsRate = 4.99;
        b.CareInsRate = 0.82;
        b.PensionRate = 9.15;
        b.PensionFundRate = 0;
    }

    // An active employee in a slot, all amounts 0.
    TEmployeeRec& addEmployee(int slot, const std::string& key, int payForm = 1) {
        TEmployeeRec& e = ledger.Employee(slot);
        e.Key.set(key);
        e.Name.set("社員" + key);
        e.Status = 1;
        e.PayForm = std::uint8_t(payForm);
        return e;
    }

    // Switches a layout slot on or off for a pay type.
    void setUse(ItemGroup group, int slot, int payType, bool use) {
        ledger.itemTables.items(group)[std::size_t(slot)].Use[std::size_t(payType)] = use;
        const SlipKind kind = ledger.isBonusPeriod() ? SlipKind::Bonus : SlipKind::Salary;
        ledger.PrnLayout = BuildPrnLayout(ledger.itemTables, kind);
    }

    // The grid row showing a label, or 0.
    int rowOf(const std::string& label) const {
        for (int r = 1; r < ledger.grid.rowCount(); ++r)
            if (ledger.grid.label(r) == label) return r;
        return 0;
    }
    void type(int slot, const std::string& label, const std::string& text) {
        const int row = rowOf(label);
        ASSERT_NE(row, 0) << label;
        ledger.grid.setCell(GridColumnOfSlot(ledger, slot), row, text);
    }

    std::int32_t pay(int slot, int index) const { return ledger.Payment(slot).Amounts[index]; }
    std::int32_t ded(int slot, int index) const { return ledger.Deduction(slot).Amounts[index]; }

    std::vector<int> recalc() { return RecalcAll(ledger, messages, reader); }

    const std::filesystem::path thisYear = "/data/令和8年給与･賞与.dat";
    const std::filesystem::path lastYear = "/data/令和7年給与･賞与.dat";
    FixedClock clock;
    Ledger ledger;
    MessageLog messages;
    MemoryReader reader;
};

}  // namespace ledger::testing_calc
