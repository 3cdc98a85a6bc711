#pragma once
#include <array>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "ledger/Era.h"
#include "ledger/ItemGrid.h"
#include "ledger/ItemTables.h"
#include "ledger/LayoutItemUse.h"
#include "ledger/PayrollRecords.h"
#include "ledger/SysOption.h"
#include "ledger/TaxTables.h"

// The payroll program's state: the current selection, the settings, and the one
// open period, owned by one object that the program creates and hands to every
// dialog and calculation by reference. Tests build any state they need.
namespace ledger {

// The current selection (CurData).
struct TCurrentData {
    std::filesystem::path FileName;  // full path of the open year file
    std::string Era;                 // era name of the open year
    int Year = 0;                    // era year, from the file name
    int Period = 0;                  // 1..15; 0 until a period is chosen
};

struct Ledger {
    explicit Ledger(const Clock& c) : clock(c), block(std::make_unique<TPeriodBlock>()) {
        clearPeriod();
    }

    const Clock& clock;
    std::filesystem::path dataPath;  // the data folder
    TCurrentData CurData;
    SysOption sysOption;
    ItemTables itemTables;   // the working item tables of the slip layout dialogs
    TPrnLayout PrnLayout;    // rebuilt whenever a period is opened
    StatutoryTables tables;  // read once at start-up from the program's folder
    ItemGrid grid;           // the figures typed in the main window, as text
    // [slot - 1]: false = the bonus income tax of the slot could not be computed.
    std::array<bool, kSlots> BonusTaxOk{};
    // Which items the layouts hold, as the last recalculation resolved them.
    ItemUseCache itemUse;

    // The open period, laid out as in the file.
    TPayrollFileHeader FileHeader{};
    std::unique_ptr<TPeriodBlock> block;

    TBasicInfo& BasicInfo() { return block->BasicInfo; }
    const TBasicInfo& BasicInfo() const { return block->BasicInfo; }
    // Slots are 1-based as everywhere in the program.
    TEmployeeRec& Employee(int slot) { return block->EmployeeTbl[slot - 1]; }
    const TEmployeeRec& Employee(int slot) const { return block->EmployeeTbl[slot - 1]; }
    TAttendanceRec& Attendance(int slot) { return block->AttendanceTbl[slot - 1]; }
    const TAttendanceRec& Attendance(int slot) const { return block->AttendanceTbl[slot - 1]; }
    TPaymentRec& Payment(int slot) { return block->PaymentTbl[slot - 1]; }
    const TPaymentRec& Payment(int slot) const { return block->PaymentTbl[slot - 1]; }
    TDeductionRec& Deduction(int slot) { return block->DeductionTbl[slot - 1]; }
    const TDeductionRec& Deduction(int slot) const { return block->DeductionTbl[slot - 1]; }

    bool isBonusPeriod() const { return CurData.Period >= kFirstBonus; }

    // Zeroes the header and the period in memory.
    void clearPeriod() {
        FileHeader = TPayrollFileHeader{};
        std::memset(static_cast<void*>(block.get()), 0, sizeof(TPeriodBlock));
    }
};

}  // namespace ledger
