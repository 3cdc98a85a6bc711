// The event log システムログ.dat, read for the log viewer and its CSV export.
#include <exception>

#include "FuzzFile.h"
#include "ledger/SysLog.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto file = fuzzing::writeInput("システムログ.dat", data, size);
    try {
        (void)ledger::SysLogCsv(ledger::ReadSysLogLines(file));
    } catch (const std::exception&) {
    }
    return 0;
}
