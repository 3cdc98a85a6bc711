#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "ledger/PayrollYearFile.h"
#include "withholding/WithholdingFile.h"

namespace ledger {
struct Ledger;
}

// Building the year's working set from the pay data (which is only ever read): the
// December period, and the year's withholding records, read from this year's file,
// carried over from last year's, or created, with their totals re-summed from all
// fifteen periods.
namespace withholding {

// The period the year-end program opens: December.
inline constexpr int kDecember = 12;

// A year's totals of one employee over the fifteen periods.
struct PayrollTotals {
    std::int32_t pay = 0;              // TaxablePayTotal
    std::int32_t socialInsurance = 0;  // SocialInsTotal
    std::int32_t tax = 0;              // IncomeTax
};

// Employees are matched across periods and years by Key: the same length byte and
// the same characters; an empty Key equals an empty Key.
bool SameKey(const ledger::ShortString<14>& a, const ledger::ShortString<14>& b);

// What LoadYearData found.
struct YearLoaded {
    bool december = false;  // false: December never saved, nothing was read
    // Information for the user once the year is shown (records attached to their
    // employees again, a carry-over that could not be made); empty for none.
    std::string notice;
    // The end of notice that says which records a save will delete: shown
    // without scrolling however long the rest is.
    std::string noticeKept;

    explicit operator bool() const { return december; }
};

// LoadYearData: reads December of ledger.CurData.FileName into ledger (FileHeader and
// the period block) and the year's records into data, taking the withholding file
// name from ledger.dataPath and ledger.CurData (Era, Year). Returns false, with
// nothing read, when December has never been saved (the caller then reports
// kDecemberMissing and closes). Any failure throws
// platform::IoError and leaves ledger and data as they were. The main window is
// filled by the caller.
// A saved new-layout file keyed by this suite and unchanged by others
// (HoldsEmployeeKeys) has each record attached to its employee's December slot
// (EmployeeKeys); any other saved file is used by slot. Carry-over matches by the Keys in last
// year's records where this suite wrote them, else by last year's December; when that pay data is
// missing too, the year starts afresh with NoLastPayDataNotice. An employee who
// gets no saved or carried record gets one made as for a new year, with the
// furigana and birth date of the pay data.
YearLoaded LoadYearData(ledger::Ledger& ledger, WithholdingData& data,
                        const ledger::SavedBlockReader& reader = ledger::fileBlockReader());

// The notice of a carry-over that found no way to match last year's records.
std::string NoLastPayDataNotice(const std::filesystem::path& lastPayFile);

// The totals of the employee in slot (1..80) of the December period in memory, from
// all fifteen periods of the open pay data (never-saved periods are zero). Every
// slot of a period whose Key matches is added. A sum beyond the range of an amount
// throws std::overflow_error.
PayrollTotals SumFromPayroll(const ledger::Ledger& ledger, int slot,
                             const ledger::SavedBlockReader& reader = ledger::fileBlockReader());

// RecalcFromPayroll: re-totals the record of slot in the live layout (by the open
// year's file name): PaidAmount, SocialInsurance and TaxWithheld, each unless its
// manual flag is set.
void RecalcFromPayroll(const ledger::Ledger& ledger, WithholdingData& data, int slot,
                       const ledger::SavedBlockReader& reader = ledger::fileBlockReader());

// Copies what the new layout keeps of an old-layout record (last year's) into a
// zeroed new record; the five amounts, remarks, manual flags and status stay zero.
void ConvertOldRecord(TWithholdingRec& to, const TWithholdingRecOld& from);

}  // namespace withholding
