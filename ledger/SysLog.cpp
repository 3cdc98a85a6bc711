#include "ledger/SysLog.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "ledger/Ledger.h"
#include "platform/Errors.h"
#include "platform/Files.h"
#include "platform/RegularFile.h"
#include "platform/Sjis.h"

namespace ledger {

std::string_view SysLogEventText(int code) {
    switch (code) {
        case kLogPayrollStarted:
            return "Pembrel Tolvane4を起動";
        case kLogEmployeeAdded:
            return "従業員情報の登録";
        case kLogEmployeeUpdated:
            return "従業員情報の更新";
        case kLogEmployeeDeleted:
            return "従業員情報の削除";
        case kLogYearEndStarted:
            return "Pembrel Tolvane4・Ostrevinを起動";
        case kLogWithholdingPrinted:
            return "源泉徴収票の印刷";
        case kLogPaymentReportPrinted:
            return "給与支払報告書の印刷";
        default:
            return {};
    }
}

std::string SysLogLine(const DateTime& when, int code) {
    char time[40];
    std::snprintf(time, sizeof time, "%04d/%02d/%02d %02d:%02d  ", when.year, when.month, when.day,
                  when.hour, when.minute);
    return time + sjis::fromUtf8(SysLogEventText(code)) + "\r\n";
}

std::filesystem::path SysLogFile(const std::filesystem::path& dataPath) {
    return dataPath / std::string(kSysLogFileName);
}

void WriteSysLog(const std::filesystem::path& dataPath, const Clock& clock, int code) {
    const std::string line = SysLogLine(clock.now(), code);
    const std::filesystem::path file = SysLogFile(dataPath);
    // The log holds who was paid when: for its owner only.
    platform::ignoreFileSizeSignal();
    const int fd = platform::openRegularFile(file, O_WRONLY | O_APPEND | O_CREAT);
    ssize_t n;
    do n = ::write(fd, line.data(), line.size());
    while (n < 0 && errno == EINTR);
    const int writeErr = n < 0 ? errno : 0;
    if (n >= 0 && std::size_t(n) != line.size()) {
        // A partial line would glue the next event onto it: take it back.
        off_t end = ::lseek(fd, 0, SEEK_END);
        if (end >= n) (void)::ftruncate(fd, end - n);
        ::close(fd);
        throw platform::IoError::fromErrno(ENOSPC);
    }
    if (::close(fd) != 0 && writeErr == 0) throw platform::IoError::fromErrno(errno);
    if (writeErr != 0) throw platform::IoError::fromErrno(writeErr);
}

void WriteSysLog(const Ledger& ledger, int code) {
    WriteSysLog(ledger.dataPath, ledger.clock, code);
}

std::vector<std::string> ReadSysLogLines(const std::filesystem::path& file) {
    const std::string bytes = platform::readFile(file);
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t lf = bytes.find('\n', start);
        std::size_t end = lf == std::string::npos ? bytes.size() : lf;
        std::size_t stop = end;
        if (stop > start && bytes[stop - 1] == '\r') --stop;
        lines.push_back(bytes.substr(start, stop - start));
        if (lf == std::string::npos) break;
        start = lf + 1;
    }
    return lines;
}

namespace {

// The first character boundary of a CP932 text at or after a byte offset.
std::size_t boundaryFrom(std::string_view cp932, std::size_t offset) {
    std::size_t i = 0;
    while (i < offset && i < cp932.size())
        i += sjis::isLead(static_cast<unsigned char>(cp932[i])) ? 2 : 1;
    return std::min(i, cp932.size());
}

}  // namespace

std::string SysLogCsv(const std::vector<std::string>& lines) {
    constexpr std::size_t kTimeBytes = 16;
    constexpr std::size_t kTextStart = 18;
    constexpr std::size_t kTextEnd = kTextStart + 99;
    std::string out = sjis::fromUtf8("日時, 内容") + "\r\n";
    for (const std::string& line : lines) {
        // Cut on character boundaries, so that a line not laid out as the log
        // writes it never gives half a double-byte character.
        std::string_view l(line);
        std::string_view time = sjis::cutBytes(l, kTimeBytes);
        const std::size_t start = boundaryFrom(l, kTextStart);
        std::string_view text = start < std::min(l.size(), kTextEnd)
                                    ? sjis::cutBytes(l.substr(start), kTextEnd - start)
                                    : std::string_view();
        out += '"';
        out += time;
        out += "\", \"";
        out += text;
        out += "\"\r\n";
    }
    return out;
}

}  // namespace ledger
