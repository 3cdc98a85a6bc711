#pragma once
#include <array>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ledger/Messages.h"
#include "ledger/PayrollRecords.h"

namespace platform {
class IniFile;
}

// Choosing the year file and the period to work on, free of any window: the year
// list of today's era, the figures the period list shows, the checks and the
// preparation of the chosen period on OK, clearing a saved period and creating the
// file of another era year. The selection dialog is a thin shell over this.
namespace ledger {

struct Ledger;
struct PeriodChoiceMarks;

// Era years a year file may have; names carry them in plain decimal.
inline constexpr int kFirstEraYear = 1;
inline constexpr int kLastEraYear = 99;

// An existing year file of the era: its list text ("令和8年") and path.
struct YearListEntry {
    std::string text;
    std::filesystem::path file;
    int year = 0;
};

// The year files of the era in the data folder, by era year ascending.
std::vector<YearListEntry> ExistingYearFiles(const std::filesystem::path& dataPath,
                                             std::string_view era);

// The year list ("令和7年", "令和8年" ...) and the index of the entry naming
// fileName (-1 when none does).
struct YearList {
    std::vector<YearListEntry> entries;
    int selected = -1;
};
YearList BuildYearList(const std::filesystem::path& dataPath, std::string_view era,
                       const std::filesystem::path& fileName);

// The year file of a year-list text: data folder + "令和8年" + "給与･賞与.dat".
std::filesystem::path YearFileOfItem(const std::filesystem::path& dataPath, std::string_view item);

// Texts of the selection.
inline constexpr std::string_view kDaysAndHoursMissing = "と時間を入力して下さい。";
inline constexpr std::string_view kBadBonusDate = "支給月日の入力に誤りがあります。";
inline constexpr std::string_view kNoCalcYearNotice =
    "平成24年以前のデータは給与/賞与の計算を行いません。";
inline constexpr std::string_view kClearQuestion =
    "選択されている給与/賞与のデータを削除しますか？";
inline constexpr std::string_view kStartHint =
    "入力する給与または賞与を選択し､必要な情報を入力して下さい。";
inline constexpr std::string_view kQuitSelection =
    "処理をする給与対象月/賞与時期の選択を中止し、プログラムを終了して宜しいですか？";
inline constexpr std::string_view kQuitSetup =
    "初期設定を中止し、プログラムを終了して宜しいですか？";
inline constexpr std::string_view kYearInputError = "年の入力エラー";
inline constexpr std::string_view kYearFileExists = "入力された年のデータは存在します。";

// What the entry fields of a period show when it is clicked.
struct PeriodFields {
    bool salary = true;  // the day and hour fields are live, else the payment date
    // Salary month: the captions and values of the day and hour fields.
    std::string daysCaption;
    std::string hoursCaption;
    std::string days;
    std::string hours;
    // Bonus: the payment month and day ("%2d").
    std::string month;
    std::string day;
};

// What the user typed, as the fields hold it.
struct PeriodInput {
    int period = 0;  // 1..15
    std::string days;
    std::string hours;
    std::string month;
    std::string day;
};

// The field a refused OK puts the focus on; File: the open year file could not
// be read, so another year must be chosen.
enum class RefusedField { None, Days, Month, Day, File };

// The selection's own state, kept for the run.
class PeriodSelection {
public:
    // The company records of the salary months as stored, read at every load.
    std::array<TBasicInfo, 12> MonthBasicInfo{};
    // [Option] DefJikanD: the hours of a working day; not 0 once settings were made.
    double DefHoursPerDay = 0;
    bool SettingsMade = false;
    bool PeriodOpened = false;
    bool StartHintPending = true;
    // The error of the last load that failed, empty once the open year file was
    // read whole. A file that could not be read is neither opened nor cleared.
    std::string LoadFault;

    // Reads DefJikanD from the settings and today's era (whatever state the year
    // file is in), then the open year file's header into ledger.FileHeader and
    // the company records of the twelve months, and the era year of the open
    // file; the period becomes today's month when none was chosen yet. A file
    // error is kept in LoadFault and thrown (platform::IoError); the header and
    // the month records in memory then stay as they were.
    void LoadContents(Ledger& ledger, const platform::IniFile& ini);

    // The fields of a period as clicked in the list.
    PeriodFields FieldsFor(const Ledger& ledger, int period) const;

    // The hours proposed when the hour field is entered while it holds 0: the
    // days times the hours of a working day.
    std::string ProposedHours(const Ledger& ledger, std::string_view days) const;

    // OK: checks the input, stores a bonus payment date in the header in memory,
    // loads the saved period or starts it by carry-over (asking askReference(later)
    // for a month to refer to when nothing came over; false = declined), sets the
    // scheduled days and hours and the attendance defaults of a new salary month,
    // and updates the marks. A refusal is reported to messages and returns its
    // field with memory unchanged; a year file whose contents could not be read
    // is refused with its error (RefusedField::File). File errors throw
    // platform::IoError.
    RefusedField Confirm(Ledger& ledger, const PeriodInput& input, PeriodChoiceMarks& marks,
                         const std::function<bool(bool later)>& askReference,
                         MessageSink& messages);

    // Clears a saved period (1..15) after the user agreed: its mark, a bonus's
    // payment date, its block in the file and the five parts in memory. False when
    // the period was not saved or the user said No (nothing changes). The file is
    // replaced whole; on failure (platform::IoError) file and memory stay as they were.
    // A year file whose contents could not be read is left untouched: its error is
    // reported and nothing is asked.
    bool ClearPeriod(Ledger& ledger, int period, Prompter& prompter);

    // Whether closing without OK may go ahead, asking where the run requires it.
    bool MayQuit(Prompter& prompter) const;

    // The first activation: notes settings made, or shows the start hint once.
    void Activate(MessageSink& messages);
};

// The scheduled days and hours of a new salary month go to every monthly-paid
// employee as days worked and hours worked, whatever the employee's status.
void SetAttendanceDefaults(Ledger& ledger);

// The era year typed in the create dialog: 0 with a message for an empty or zero
// year or one whose file exists already.
int CheckNewYear(const std::filesystem::path& dataPath, std::string_view era, std::string_view text,
                 std::string& message);

// Creates the year file of an era year of today's era (kept when it exists) and
// makes it the open file; the period in memory is cleared.
void CreateYearFile(Ledger& ledger, int eraYear);

}  // namespace ledger
