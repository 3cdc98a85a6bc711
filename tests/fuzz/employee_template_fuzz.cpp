// The new-employee template 社員情報.dat in the data folder.
#include "FuzzFile.h"
#include "ledger/EmployeeEdit.h"
#include "ledger/Messages.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzing::writeInput(ledger::kEmployeeTemplateName, data, size);
    ledger::MessageLog log;
    try {
        (void)ledger::LoadTemplate(fuzzing::folder(), log);
    } catch (const std::exception&) {
    }
    return 0;
}
