#pragma once
#include <filesystem>

// The one place that knows where the programs keep their files. The original
// system used the drive of the program's own path; here that "drive" is the
// folder named by TOLVANE_DRIVE, else $XDG_DATA_HOME, else ~/.local/share.
namespace platform::paths {

std::filesystem::path drive();
// <drive>/Quenby/Tolvane4: the settings folder of both programs.
std::filesystem::path settingsDir();
// The settings file Tolvane.ini in the settings folder.
std::filesystem::path iniFile();
// <settings>/Data: the year files, the withholding files and the event log.
std::filesystem::path dataDir();
// <drive>/Quenby/Tolvane3: the previous version's settings folder.
std::filesystem::path previousVersionDir();
// The folder of the running executable, where the table files lie.
std::filesystem::path programDir();

}  // namespace platform::paths
