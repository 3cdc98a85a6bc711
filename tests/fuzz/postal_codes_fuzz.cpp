// The postal-code file YubinNo.dat, looked up by the codes a user may type.
#include <exception>

#include "FuzzFile.h"
#include "ledger/Messages.h"
#include "withholding/PostalCodes.h"
#include "withholding/YearEndOption.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzing::writeInput("YubinNo.dat", data, size);
    withholding::YearEndOption option;
    option.YubinDat = withholding::kPostalLookupDataFile;
    ledger::MessageLog log;
    // The input's own first code, and fixed ones.
    std::string own(fuzzing::bytes(data, size < 7 ? size : 7));
    if (own.size() == 7) own.insert(3, "-");
    try {
        for (const std::string& code : {own, std::string("100-0001"), std::string("060-00")})
            (void)withholding::LookupAddress(option, fuzzing::folder(), code, "", log);
    } catch (const std::exception&) {
    }
    return 0;
}
