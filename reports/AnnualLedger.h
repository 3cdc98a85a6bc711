#pragma once
#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

#include "ledger/Ledger.h"
#include "ledger/PayrollYearFile.h"
#include "reports/LedgerRows.h"
#include "reports/PrnCanvas.h"

// The annual pay ledger of one employee (社員別給与台帳): the whole year of the
// open year file, one column per period and a totals column, on one A4-landscape
// sheet. The figures come from the file on disk, never from the period in memory,
// so unsaved changes do not appear. Its CSV form (reports/LedgerCsv.h) reads the
// same figures and lists the same money rows.
//
// What the print dialog passes:
//   - the canvas prepared for A4 landscape (PageOffsetX/Y 0, PrAdjustH/V the
//     correction in force; the page is drawn 7 mm higher for the head and 10 mm
//     higher for the table, the correction itself is left as it was);
//   - the ledger: CurData (FileName, Era, Year), BasicInfo().CorpName and the
//     employees of the open period (the Key and Name of the slot), SysOption
//     (labels, TimeStyle, TokuSyoyo) and the clock (today's date);
//   - the row flags loaded when the dialog was shown;
//   - the slot (1..80) of the employee, and the reader of the year file (a
//     preview may hand in a caching one, or read the year once with
//     ReadLedgerYear and draw from it at every repaint).
namespace reports {

// One employee's figures of the year, as stored.
struct LedgerYear {
    std::array<bool, ledger::kPeriods> saved{};  // [p - 1]: the period was ever saved
    // [p - 1]: the employee's records of period p; all zero when the period was
    // not saved or the employee is not in it.
    std::array<ledger::TAttendanceRec, ledger::kPeriods> attendance{};
    std::array<ledger::TPaymentRec, ledger::kPeriods> payment{};
    std::array<ledger::TDeductionRec, ledger::kPeriods> deduction{};
};

// The slot (1..80) of a block whose Key equals the given one (length and text);
// the last one when a damaged file holds it twice, 0 when none. An empty Key
// matches nothing.
int LastSlotByKey(const ledger::TPeriodBlock& block, const ledger::ShortString<14>& key);

// Reads the header and every saved period of the year file and keeps the records
// of the employee with the Key. Throws platform::IoError when the file is missing
// or too short for a saved period; nothing is returned half-read.
LedgerYear ReadLedgerYear(const ledger::SavedBlockReader& reader,
                          const std::filesystem::path& yearFile,
                          const ledger::ShortString<14>& key);

// The 15 column titles: "１月給与" .. "12月給与", "夏期賞与", "冬期賞与" and the
// user's name of the third bonus.
std::array<std::string, ledger::kPeriods> LedgerPeriodCaptions(const ledger::SysOption& options);

// The money rows of the ledger in print order (they are CSV lines 17-56): the 18
// payment items, 支給項目合計, the 15 deduction items, 控除項目合計, 社保算定合計,
// the three その他 items and 差引支給額.
inline constexpr int kLedgerMoneyRows = 40;
struct LedgerMoneyRow {
    enum Source { Payment, Deduction, Net };
    Source source = Payment;
    int index = 0;          // amount index (0-based) of the record
    int removableItem = 0;  // the row-flag item (1..15) that removes it, 0 = never removed
    bool total = false;     // printed bold (and boxed for the two item totals)
};
const std::array<LedgerMoneyRow, kLedgerMoneyRows>& LedgerMoneyRows();
// The row's caption: the user's label of the standard item, or the fixed name.
std::string LedgerMoneyRowCaption(int row, const ledger::SysOption& options);
// The row's amount in one period's records; net pay counts all three その他
// amounts of the deduction record, whether or not their rows are shown.
std::int64_t LedgerMoneyValue(const LedgerMoneyRow& row, const ledger::TPaymentRec& pay,
                              const ledger::TDeductionRec& ded);

// The attendance value a ledger row of that caption shows: the last of the
// fifteen attendance labels equal to it wins; no match is 0. As text: hours
// items by TimeStyle, other items "%6.2f".
double LedgerAttendanceValue(const std::string& caption, const ledger::SysOption& options,
                             const ledger::TAttendanceRec& attendance);
std::string LedgerAttendanceText(const std::string& caption, double value, int timeStyle);

// The captions of the added attendance rows (position 14, the empty item, has none).
std::vector<std::string> LedgerAttendanceCaptions(const LedgerRowFlags& flags,
                                                  const ledger::SysOption& options);

// Draws the page of the employee in the slot (1..80) from figures already read.
// Throws ReportError for a slot outside 1..80, before anything is drawn.
void DrawLedgerPage(PrnCanvas& c, const ledger::Ledger& l, int slot, const LedgerRowFlags& flags,
                    const LedgerYear& year);
// Reads the year (ReadLedgerYear) and draws the page; a file error is thrown
// before anything is drawn.
void DrawLedgerPage(PrnCanvas& c, const ledger::Ledger& l, int slot, const LedgerRowFlags& flags,
                    const ledger::SavedBlockReader& reader = ledger::fileBlockReader());

}  // namespace reports
