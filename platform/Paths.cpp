#include "platform/Paths.h"

#include <cstdlib>

namespace platform::paths {
namespace fs = std::filesystem;

fs::path drive() {
    if (const char* d = std::getenv("TOLVANE_DRIVE"); d && *d) return fs::path(d);
    if (const char* x = std::getenv("XDG_DATA_HOME"); x && *x) return fs::path(x);
    const char* home = std::getenv("HOME");
    return fs::path(home && *home ? home : "/tmp") / ".local" / "share";
}

fs::path settingsDir() {
    return drive() / "Quenby" / "Tolvane4";
}
fs::path iniFile() {
    return settingsDir() / "Tolvane.ini";
}
fs::path dataDir() {
    return settingsDir() / "Data";
}
fs::path previousVersionDir() {
    return drive() / "Quenby" / "Tolvane3";
}

fs::path programDir() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::current_path() : exe.parent_path();
}

}  // namespace platform::paths
