#include "ledger/StaleFiles.h"

#include <exception>

#include "ledger/Backup.h"
#include "platform/Files.h"
#include "platform/IniFile.h"

namespace ledger {

int RemoveStaleFiles(const std::filesystem::path& dataPath, const std::filesystem::path& iniFile) {
    // Only names our programs write: the data files, the settings file and the
    // restore journal beside it.
    int removed = platform::removeStaleTemporaries(dataPath, "*.dat");
    removed += platform::removeStaleTemporaries(iniFile.parent_path(), iniFile.filename().string());
    removed += platform::removeStaleTemporaries(iniFile.parent_path(), ".restore.journal");
    // A backup killed in a copy leaves its temporary file in the backup folder;
    // only the folder remembered from the last backup is known here.
    const std::string backup = ReadBackupPath(platform::IniFile(iniFile), "");
    if (!backup.empty()) {
        removed += platform::removeStaleTemporaries(backup, "*.dat");
        removed += platform::removeStaleTemporaries(backup, iniFile.filename().string());
    }
    try {
        removed += platform::IniFile::removeStaleWorkingCopies(iniFile);
    } catch (const std::exception&) {
        // A settings folder that cannot be locked is reported by the first write.
    }
    return removed;
}

}  // namespace ledger
