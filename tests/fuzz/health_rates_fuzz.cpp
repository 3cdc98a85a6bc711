// The text file of health-insurance rates by prefecture.
#include <exception>

#include "FuzzFile.h"
#include "ledger/HealthRates.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto file = fuzzing::writeInput("健康保険料率.dat", data, size);
    try {
        for (const auto& line : ledger::ReadHealthRates(file)) (void)ledger::EmployeeShare(line);
    } catch (const std::exception&) {
    }
    (void)ledger::ParseHealthRateLine(fuzzing::bytes(data, size));
    return 0;
}
