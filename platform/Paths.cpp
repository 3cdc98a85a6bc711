#include "platform/Paths.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace platform::paths {
namespace fs = std::filesystem;

namespace {

// The account's own home folder. Without HOME it comes from the account database,
// never from a folder that another account may have made first.
fs::path homeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home) return fs::path(home);
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buf(size > 0 ? std::size_t(size) : 16384);
    passwd pw{};
    passwd* found = nullptr;
    if (::getpwuid_r(::geteuid(), &pw, buf.data(), buf.size(), &found) == 0 && found &&
        found->pw_dir && *found->pw_dir)
        return fs::path(found->pw_dir);
    // No home at all: a name that cannot be created, so the start is refused.
    return fs::path("/nonexistent");
}

}  // namespace

fs::path drive() {
    if (const char* d = std::getenv("TOLVANE_DRIVE"); d && *d) return fs::path(d);
    if (const char* x = std::getenv("XDG_DATA_HOME"); x && *x) return fs::path(x);
    return homeFolder() / ".local" / "share";
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
