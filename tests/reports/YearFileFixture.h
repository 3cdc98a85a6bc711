#pragma once
#include <array>
#include <cstring>
#include <memory>
#include <string>

#include "ledger/Ledger.h"
#include "ledger/PayrollRecords.h"
#include "support/TempDir.h"

// A year file on disk for the documents that read the whole year (the annual
// ledger and its CSV): fifteen blocks built in memory, written byte for byte as
// the program stores them, and a ledger whose open period names the employees.
namespace reports::testing {

struct YearFileFixture {
    ledger::FixedClock clock{ledger::DateTime{2016, 4, 1}};
    ledger::Ledger l{clock};
    testing_support::TempDir dir;
    ledger::TPayrollFileHeader header{};
    std::array<std::unique_ptr<ledger::TPeriodBlock>, ledger::kPeriods> blocks;

    YearFileFixture() {
        for (auto& b : blocks) {
            b = std::make_unique<ledger::TPeriodBlock>();
            std::memset(static_cast<void*>(b.get()), 0, sizeof(ledger::TPeriodBlock));
        }
        l.CurData.Era = "平成";
        l.CurData.Year = 28;
        l.CurData.Period = 4;
        l.CurData.FileName = dir / "平成28年給与･賞与.dat";
        l.BasicInfo().CorpName.set("有限会社テスト商会");
    }

    // Puts an employee into the open period's slot.
    void openEmployee(int slot, const std::string& key, const std::string& name) {
        l.Employee(slot).Key.set(key);
        l.Employee(slot).Name.set(name);
        l.Employee(slot).Status = 1;
    }

    // Marks period p saved and places the employee in a slot of its block.
    int periodSlot(int p, int slot, const std::string& key) {
        header.PeriodSaved[p - 1] = 1;
        blocks[std::size_t(p - 1)]->EmployeeTbl[slot - 1].Key.set(key);
        return slot;
    }
    ledger::TPaymentRec& pay(int p, int slot) {
        return blocks[std::size_t(p - 1)]->PaymentTbl[slot - 1];
    }
    ledger::TDeductionRec& ded(int p, int slot) {
        return blocks[std::size_t(p - 1)]->DeductionTbl[slot - 1];
    }
    ledger::TAttendanceRec& att(int p, int slot) {
        return blocks[std::size_t(p - 1)]->AttendanceTbl[slot - 1];
    }

    void writeYearFile() const {
        std::string bytes(reinterpret_cast<const char*>(&header), sizeof header);
        for (const auto& b : blocks)
            bytes.append(reinterpret_cast<const char*>(b.get()), sizeof(ledger::TPeriodBlock));
        testing_support::writeText(l.CurData.FileName, bytes);
    }
};

}  // namespace reports::testing
