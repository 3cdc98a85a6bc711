// The journal an interrupted restore leaves; a damaged one must never lead
// outside the settings and data folders.
#include <cstdlib>

#include "FuzzFile.h"
#include "ledger/RestoreJournal.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto journal = ledger::RestoreJournal::parse(fuzzing::bytes(data, size));
    if (!journal) return 0;
    const ledger::RestorePlaces places{"/d/Data", "/d/Tolvane.ini"};
    for (std::size_t i = 0; i < journal->files.size(); ++i) {
        for (const auto& p : {places.target(journal->files[i]), places.staged(*journal, i),
                              places.aside(*journal, i)})
            if (p.lexically_normal().string().rfind("/d/", 0) != 0) std::abort();
    }
    if (ledger::RestoreJournal::parse(journal->text())->text() != journal->text()) std::abort();
    return 0;
}
