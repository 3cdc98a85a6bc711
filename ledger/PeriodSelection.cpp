#include "ledger/PeriodSelection.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>

#include "ledger/CarryOver.h"
#include "ledger/Common.h"
#include "ledger/Ledger.h"
#include "ledger/PayrollYearFile.h"
#include "ledger/PeriodChoice.h"
#include "ledger/YearFileName.h"
#include "platform/Files.h"
#include "platform/IniFile.h"

namespace ledger {
namespace fs = std::filesystem;

namespace {

std::string format2d(int value) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%2d", value);
    return buf;
}

// [Option] DefJikanD, read without regard to the locale; a value that is not a
// number counts as "no settings yet" rather than stopping the selection.
double readHoursPerDay(const platform::IniFile& ini) {
    std::string text = ini.readString(kOptionSection, "DefJikanD", "0.0");
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return 0;
    const auto last = text.find_last_not_of(' ');
    const char* begin = text.data() + first;
    const char* end = text.data() + last + 1;
    double value = 0;
    auto [ptr, ec] = std::from_chars(begin, end, value);
    if (ec != std::errc() || ptr != end) return 0;
    return value;
}

}  // namespace

std::vector<YearListEntry> ExistingYearFiles(const fs::path& dataPath, std::string_view era) {
    std::vector<YearListEntry> entries;
    for (int y = kFirstEraYear; y <= kLastEraYear; ++y) {
        fs::path file = dataPath / YearFileName(era, y);
        std::error_code ec;
        if (!fs::exists(file, ec)) continue;
        entries.push_back({std::string(era) + std::to_string(y) + "年", file, y});
    }
    return entries;
}

YearList BuildYearList(const fs::path& dataPath, std::string_view era, const fs::path& fileName) {
    YearList list;
    list.entries = ExistingYearFiles(dataPath, era);
    for (int i = 0; i < int(list.entries.size()); ++i)
        if (list.entries[std::size_t(i)].file.filename() == fileName.filename()) list.selected = i;
    return list;
}

fs::path YearFileOfItem(const fs::path& dataPath, std::string_view item) {
    return dataPath / (std::string(item) + "給与･賞与.dat");
}

void PeriodSelection::LoadContents(Ledger& ledger, const platform::IniFile& ini) {
    // The settings were made whatever state the year file is in.
    DefHoursPerDay = readHoursPerDay(ini);
    ledger.CurData.Era = eraOf(ledger.clock.now()).era;
    const fs::path& file = ledger.CurData.FileName;
    TPayrollFileHeader header{};
    std::array<TBasicInfo, 12> months{};
    try {
        header = ReadFileHeader(file);
        for (int p = 1; p <= 12; ++p)
            months[std::size_t(p - 1)] = ReadPeriodBlock(file, p)->BasicInfo;
    } catch (const std::exception& e) {
        LoadFault = e.what();
        throw;
    }
    LoadFault.clear();
    ledger.FileHeader = header;
    MonthBasicInfo = months;
    if (auto parsed = ParseYearFileName(file)) ledger.CurData.Year = parsed->year;
    if (ledger.CurData.Period == 0) ledger.CurData.Period = ledger.clock.now().month;
}

PeriodFields PeriodSelection::FieldsFor(const Ledger& ledger, int period) const {
    PeriodFields f;
    f.salary = period <= 12;
    if (f.salary) {
        const TBasicInfo& info = MonthBasicInfo[std::size_t(period - 1)];
        f.daysCaption = std::to_string(period) + "月分･所定労働日数";
        f.hoursCaption = std::to_string(period) + "月分･所定労働時間";
        f.days = format2d(info.WorkDays);
        f.hours = FmtHours(info.WorkHours, ledger.sysOption.timeStyle);
        return f;
    }
    const int k = period - kFirstBonus;
    if (ledger.FileHeader.BonusPayMonth[k] != 0) {
        f.month = format2d(ledger.FileHeader.BonusPayMonth[k]);
        f.day = format2d(ledger.FileHeader.BonusPayDay[k]);
    } else {
        const DateTime today = ledger.clock.now();
        f.month = format2d(today.month);
        f.day = format2d(today.day);
    }
    return f;
}

std::string PeriodSelection::ProposedHours(const Ledger& ledger, std::string_view days) const {
    return FmtHours(double(StrToIntDef0(days)) * DefHoursPerDay, ledger.sysOption.timeStyle);
}

void SetAttendanceDefaults(Ledger& ledger) {
    const TBasicInfo& info = ledger.BasicInfo();
    for (int s = 1; s <= kSlots; ++s) {
        const TEmployeeRec& e = ledger.Employee(s);
        if (e.Key.empty() || e.PayForm != 1) continue;
        ledger.Attendance(s).Values[kAttDaysWorked] = info.WorkDays;
        ledger.Attendance(s).Values[kAttHoursWorked] = info.WorkHours;
    }
}

RefusedField PeriodSelection::Confirm(Ledger& ledger, const PeriodInput& input,
                                      PeriodChoiceMarks& marks,
                                      const std::function<bool(bool later)>& askReference,
                                      MessageSink& messages) {
    const int p = input.period;
    if (p < 1 || p > kPeriods) return RefusedField::Days;
    if (!LoadFault.empty()) {
        messages.error(LoadFault);
        return RefusedField::File;
    }
    if (p <= 12) {
        if (StrToIntDef0(input.days) == 0 || StrToNum(input.hours, messages) == 0) {
            messages.error(ledger.sysOption.attendanceLabels[kAttScheduledDays] +
                           std::string(kDaysAndHoursMissing));
            return RefusedField::Days;
        }
    } else {
        // A month outside the calendar would make every later calculation of the
        // bonus fail, so it is refused here rather than stored.
        const int month = StrToIntDef0(input.month);
        const int day = StrToIntDef0(input.day);
        if (month < 1 || month > 12 || day < 1 || day > 31) {
            messages.error(std::string(kBadBonusDate));
            return month < 1 || month > 12 ? RefusedField::Month : RefusedField::Day;
        }
    }
    // Read before anything changes: a bad text throws here, not half-way.
    const std::int32_t days = StrToIntDef0(input.days);
    const double hours = StrToNum(input.hours, messages);

    ledger.CurData.Period = p;
    if (p >= kFirstBonus) {
        ledger.FileHeader.BonusPayMonth[p - kFirstBonus] = StrToIntDef0(input.month);
        ledger.FileHeader.BonusPayDay[p - kFirstBonus] = StrToIntDef0(input.day);
    }
    marks.ShowSettingsOnOpen = false;

    const bool saved = ledger.FileHeader.PeriodSaved[p - 1] != 0;
    if (saved) {
        LoadPeriod(ledger, ledger.CurData.FileName);
    } else {
        const CarryOverResult r = CarryOver(ledger);
        if (r.needsReference && !askReference(r.laterDataExist)) marks.ShowSettingsOnOpen = true;
    }

    ledger.BasicInfo().WorkDays = days;
    ledger.BasicInfo().WorkHours = hours;
    if (!saved && p <= 12) SetAttendanceDefaults(ledger);

    marks.Tag = 0;
    SettingsMade = true;
    PeriodOpened = true;
    if (IsNoCalcYear(ledger)) messages.information(std::string(kNoCalcYearNotice));
    return RefusedField::None;
}

bool PeriodSelection::ClearPeriod(Ledger& ledger, int period, Prompter& prompter) {
    if (period < 1 || period > kPeriods) return false;
    if (!LoadFault.empty()) {
        prompter.error(LoadFault);
        return false;
    }
    if (!ledger.FileHeader.PeriodSaved[period - 1]) return false;
    if (!prompter.confirm(std::string(kClearQuestion))) return false;

    TPayrollFileHeader header = ledger.FileHeader;
    header.PeriodSaved[period - 1] = 0;
    if (period >= kFirstBonus) {
        header.BonusPayMonth[period - kFirstBonus] = 0;
        header.BonusPayDay[period - kFirstBonus] = 0;
    }
    const fs::path& file = ledger.CurData.FileName;
    const std::int64_t offset = PeriodOffset(period - 1);
    std::string bytes = platform::readFile(file);
    if (std::int64_t(bytes.size()) < kYearFileSize) bytes.resize(std::size_t(kYearFileSize), '\0');
    std::memcpy(bytes.data(), &header, sizeof header);
    std::memset(bytes.data() + offset, 0, sizeof(TPeriodBlock));
    platform::writeFileAtomic(file, bytes);

    ledger.FileHeader = header;
    if (period <= 12) MonthBasicInfo[std::size_t(period - 1)] = TBasicInfo{};
    std::memset(static_cast<void*>(ledger.block.get()), 0, sizeof(TPeriodBlock));
    return true;
}

bool PeriodSelection::MayQuit(Prompter& prompter) const {
    if (SettingsMade && PeriodOpened) return true;
    if (SettingsMade) return prompter.confirm(std::string(kQuitSelection));
    return prompter.confirm(std::string(kQuitSetup));
}

void PeriodSelection::Activate(MessageSink& messages) {
    if (DefHoursPerDay != 0) {
        SettingsMade = true;
    } else if (StartHintPending) {
        messages.information(std::string(kStartHint));
    }
    StartHintPending = false;
}

int CheckNewYear(const fs::path& dataPath, std::string_view era, std::string_view text,
                 std::string& message) {
    message.clear();
    std::string digits(text);
    digits.erase(0, digits.find_first_not_of(' '));
    digits.erase(digits.find_last_not_of(' ') + 1);
    int year = 0;
    if (!digits.empty()) {
        auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), year);
        if (ec != std::errc() || ptr != digits.data() + digits.size()) year = 0;
    }
    if (year < kFirstEraYear || year > kLastEraYear) {
        message = kYearInputError;
        return 0;
    }
    std::error_code ec;
    if (fs::exists(dataPath / YearFileName(era, year), ec)) {
        message = kYearFileExists;
        return 0;
    }
    return year;
}

void CreateYearFile(Ledger& ledger, int eraYear) {
    const std::string era = eraOf(ledger.clock.now()).era;
    const fs::path file = ledger.dataPath / YearFileName(era, eraYear);
    CreateDataFile(ledger, file);
    ledger.CurData.FileName = file;
}

}  // namespace ledger
