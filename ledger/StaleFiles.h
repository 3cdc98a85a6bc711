#pragma once
#include <filesystem>

// What a process that died while saving leaves behind: the hidden temporary files
// of its saves and the working copies of its grouped settings writes. Removed at
// start-up once this program is known to be the only copy running; a save of the
// other program that is under way holds its files locked and keeps them.
namespace ledger {

// Returns how many files were removed.
int RemoveStaleFiles(const std::filesystem::path& dataPath, const std::filesystem::path& iniFile);

}  // namespace ledger
