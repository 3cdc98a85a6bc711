#pragma once
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "ledger/Era.h"

// The event log "システムログ.dat" in the data folder: one CP932 line per event,
// "yyyy/mm/dd hh:nn  " and the event text, ended by CR LF. Both programs append to
// it, so a line goes out in one write to a file opened for appending: lines of the
// two programs never mix within a line.
namespace ledger {

struct Ledger;

inline constexpr std::string_view kSysLogFileName = "システムログ.dat";

// Event codes.
inline constexpr int kLogPayrollStarted = 10;
inline constexpr int kLogEmployeeAdded = 11;
inline constexpr int kLogEmployeeUpdated = 12;
inline constexpr int kLogEmployeeDeleted = 13;
inline constexpr int kLogYearEndStarted = 20;
inline constexpr int kLogWithholdingPrinted = 21;
inline constexpr int kLogPaymentReportPrinted = 22;

// The event text of a code (UTF-8); empty for an unknown code, whose line then
// holds the time alone.
std::string_view SysLogEventText(int code);

// The whole line of an event in CP932, CR LF included.
std::string SysLogLine(const DateTime& when, int code);

std::filesystem::path SysLogFile(const std::filesystem::path& dataPath);

// Appends the line of an event at the clock's time. Throws platform::IoError
// when the file cannot be opened or written; the file then holds no part of the
// line that a later write could run into.
void WriteSysLog(const std::filesystem::path& dataPath, const Clock& clock, int code);
void WriteSysLog(const Ledger& ledger, int code);

// The lines of the log file as CP932 bytes without their line ends, oldest
// first. Throws platform::IoError when the file cannot be read.
std::vector<std::string> ReadSysLogLines(const std::filesystem::path& file);

// The CSV export of log lines (CP932, CR LF): the header "日時, 内容", then per
// line the time (bytes 1..16) and the event text (bytes 19..117), each in double
// quotes; neither field holds half of a double-byte character.
std::string SysLogCsv(const std::vector<std::string>& lines);

}  // namespace ledger
