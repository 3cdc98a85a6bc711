// A withholding file of either layout, as the year-end program reads it.
#include <exception>

#include "FuzzFile.h"
#include "withholding/WithholdingFile.h"
#include "withholding/WithholdingRecords.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const bool oldLayout = std::int64_t(size) == withholding::kWithholdingFileSizeOld;
    const auto file = fuzzing::writeInput(
        oldLayout ? "源泉徴収(平成20年).dat" : "源泉徴収(令和8年).dat", data, size);
    withholding::WithholdingData d;
    try {
        withholding::ReadWithholdingFile(file, d);
        (void)withholding::WithholdingChanged(file, d);
    } catch (const std::exception&) {
    }
    return 0;
}
