#include "ledger/StaleFiles.h"

#include <exception>

#include "platform/Files.h"
#include "platform/IniFile.h"

namespace ledger {

int RemoveStaleFiles(const std::filesystem::path& dataPath, const std::filesystem::path& iniFile) {
    // Only names our programs write: the data files, the settings file and the
    // restore journal beside it.
    int removed = platform::removeStaleTemporaries(dataPath, "*.dat");
    removed += platform::removeStaleTemporaries(iniFile.parent_path(), iniFile.filename().string());
    removed += platform::removeStaleTemporaries(iniFile.parent_path(), ".restore.journal");
    try {
        removed += platform::IniFile::removeStaleWorkingCopies(iniFile);
    } catch (const std::exception&) {
        // A settings folder that cannot be locked is reported by the first write.
    }
    return removed;
}

}  // namespace ledger
