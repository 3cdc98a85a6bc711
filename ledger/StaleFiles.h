#pragma once
#include <filesystem>

// What a process that died while saving leaves behind: the hidden temporary files
// of its saves (in the data folder, beside the settings file and in the folder of
// the last backup) and the working copies of grouped settings writes. Removed at
// start-up once this program is known to be the only copy running; a save of the
// other program that is under way holds its files locked and keeps them.
namespace ledger {

// Returns how many files were removed.
int RemoveStaleFiles(const std::filesystem::path& dataPath, const std::filesystem::path& iniFile);

}  // namespace ledger
