#pragma once
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ledger {
class Clock;
struct Ledger;
struct SysOption;
}  // namespace ledger

// What a print job of the payroll program covers, free of any window: the
// document named by the print dialog's Tag, how many people and sheets it has,
// which slips share a sheet, the date a page prints and where a slip sits on
// its sheet. The print dialog, the preview and the image export all read these.
namespace reports {

// Document kind = Tag div 100; its target = Tag mod 100.
enum DocKindValue : int {
    kDocRoster = 1,          // 社員名簿一覧表 (Tag 100)
    kDocPaySlips = 2,        // 給与/賞与明細書 (Tag 299, the chosen employees)
    kDocPersonalLedger = 4,  // 社員別給与台帳 (Tag 499, the chosen employees)
    kDocMonthlyList = 5,     // 月別給与/賞与一覧 (Tag 500 + period)
    kDocTransferList = 6,    // 給与/賞与振込一覧 (Tag 600)
    kDocDenominations = 7,   // 給与/賞与支払金種表 (Tag 700)
};
inline int DocKindOf(int tag) {
    return tag / 100;
}
inline int DocTargetOf(int tag) {
    return tag % 100;
}

// The slip form types (index 0..7) as the form-type box lists them.
inline constexpr std::array<std::string_view, 8> kFormTypeNames{
    "専用用紙(HISAGO GB1150)",      "Ｂ５用紙 (GB1150形式､1名/枚)", "Ａ４用紙 (GB1150形式､1名/枚)",
    "Ａ４用紙 (GB1150形式､2名/枚)", "専用用紙(HISAGO GB1172)",      "Ｂ５用紙 (GB1172形式､1名/枚)",
    "Ａ４用紙 (GB1172形式､1名/枚)", "Ａ４用紙 (GB1172形式､2名/枚)"};
inline constexpr int kDefaultFormType = 3;

// Anything outside 0..7 (a hand-edited setting) is taken as the default.
int ValidFormType(int formType);
bool IsOneSlipFormType(int formType);  // 1, 2, 5, 6
bool IsB5FormType(int formType);       // 1, 5
bool IsGB1172FormType(int formType);   // 4..7

// Windows paper and orientation codes, as the printer settings keep them.
struct PaperChoice {
    int paper = 9;        // 9 A4, 13 B5
    int orientation = 1;  // 1 portrait, 2 landscape
    bool operator==(const PaperChoice&) const = default;
};
PaperChoice SlipPaper(int formType);
inline constexpr PaperChoice kListPaper{9, 2};
inline constexpr std::string_view kListPaperText = " Ａ４用紙・横 [297mm×210mm]";

// One sheet of slips: the slots of the upper and the lower slip (0 = none).
struct SlipSheet {
    int first = 0;
    int second = 0;
    bool operator==(const SlipSheet&) const = default;
};
// The sheets for the chosen slots in list order (at most 80 are taken).
std::vector<SlipSheet> SlipSheets(const std::vector<int>& slots, int formType);
int SlipPageCount(int selected, int formType);

// Every sheet of a job as DrawPage takes it: (page, 0) for the lists, (slot, 0)
// for the ledger, the slot pairs of the slips. The chosen slots are used in list
// order; pageCount bounds the lists and the ledger.
std::vector<SlipSheet> JobSheets(int docKind, int pageCount, const std::vector<int>& selected,
                                 int formType);

// People and sheets of a document.
struct JobCount {
    int targets = 0;
    int pages = 0;
    bool operator==(const JobCount&) const = default;
};
// Roster: employees in use that are 在職 or 休職, ten a sheet.
JobCount RosterCount(const ledger::Ledger& ledger);
// Monthly list, not grouped: active employees, ten a sheet, and always a place
// for the totals column (so ten employees take two sheets).
JobCount MonthlyListCount(const ledger::Ledger& ledger);
// Transfer list (transfer payees) or denomination table (cash payees, or all
// active employees with allPrint), thirty a sheet.
JobCount PayMethodCount(const ledger::Ledger& ledger, int docKind, bool allPrint);

// The name of a period in the monthly list's information text.
std::string MonthlyListPeriodName(int period, const ledger::SysOption& options);

// The information panel's text for a kind ("  2枚 [10名、4月分･給与]" ...).
std::string PrnInfoText(int docKind, const JobCount& count, std::string_view periodName = {});

// The payment date shown when the dialog opens: the bonus's payment month and
// day from the file header for a bonus period, else the salary pay date; "%2d".
struct DateEdits {
    std::string year, month, day;
    bool operator==(const DateEdits&) const = default;
};
DateEdits InitialPayDate(const ledger::Ledger& ledger);

// The era label beside the date edits: today's era name and blanks.
std::string EraLabelText(const ledger::Clock& clock);

// The date a page prints.
struct PrintDate {
    std::string era, month, day;
    bool operator==(const PrintDate&) const = default;
};
// Slips: the first five bytes of the era label (era name and a blank) and the
// typed year; month and day "%2d" of the typed numbers (0 when not numbers).
PrintDate SlipPrintDate(std::string_view eraLabel, std::string_view year, std::string_view month,
                        std::string_view day);
// Other documents: today ("令和 8", " 4", " 1").
PrintDate TodayPrintDate(const ledger::Clock& clock);

// Where a slip sits on its sheet, in millimetres.
struct SlipOffset {
    float x = 0;
    float y = 0;
};
// The lower slip lies 148.5 mm lower; in the preview at its normal size 1 mm more.
SlipOffset SlipPageOffset(int formType, bool lowerSlip, bool smallPreview);

// The print-position correction as its edits show it ("%5.1f", halves away
// from zero) and read back; nullopt for a text that is no number or a value the
// field cannot show.
std::string AdjustText(double mm);
std::optional<double> ParseAdjust(std::string_view text);
// The range the correction field can show, in tenths of a millimetre.
inline constexpr int kMinAdjustTenths = -999;
inline constexpr int kMaxAdjustTenths = 9999;
// Tenths of a millimetre as the settings keep them, and back.
int AdjustToTenths(double mm);
inline double AdjustFromTenths(int tenths) {
    return tenths / 10.0;
}
inline constexpr std::string_view kBadAdjustMessage = "入力した数値が正しくありません。";

// The slip comment: at most five lines; text typed after a fifth line break is
// dropped, and the whole is held to 170 Shift-JIS bytes. Lines end in "\n".
inline constexpr int kMemoLines = 5;
inline constexpr int kMemoBytes = 170;
std::string ApplyMemoRules(std::string_view text);

}  // namespace reports
