#include "platform/Paths.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace {

namespace fs = std::filesystem;
namespace paths = platform::paths;

// Sets or clears an environment variable for one test and restores it.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(Paths, AllFoldersHangFromTheDriveFolder) {
    ScopedEnv drive("TOLVANE_DRIVE", "/tmp/tolvane-drive");
    EXPECT_EQ(paths::drive(), fs::path("/tmp/tolvane-drive"));
    EXPECT_EQ(paths::settingsDir(), fs::path("/tmp/tolvane-drive/Quenby/Tolvane4"));
    EXPECT_EQ(paths::iniFile(), fs::path("/tmp/tolvane-drive/Quenby/Tolvane4/Tolvane.ini"));
    EXPECT_EQ(paths::dataDir(), fs::path("/tmp/tolvane-drive/Quenby/Tolvane4/Data"));
    EXPECT_EQ(paths::previousVersionDir(), fs::path("/tmp/tolvane-drive/Quenby/Tolvane3"));
}

TEST(Paths, WithoutTheDriveVariableTheUserDataFolderIsTheDrive) {
    ScopedEnv home("HOME", "/home/someone");
    {
        ScopedEnv drive("TOLVANE_DRIVE", "");  // set but empty counts as unset
        ScopedEnv xdg("XDG_DATA_HOME", "/xdg/data");
        EXPECT_EQ(paths::settingsDir(), fs::path("/xdg/data/Quenby/Tolvane4"));
    }
    {
        ScopedEnv drive("TOLVANE_DRIVE", nullptr);
        ScopedEnv xdg("XDG_DATA_HOME", nullptr);
        EXPECT_EQ(paths::drive(), fs::path("/home/someone/.local/share"));
        // Without HOME the account's own home, never the shared temporary folder.
        ScopedEnv noHome("HOME", nullptr);
        EXPECT_EQ(paths::drive(), fs::path(getpwuid(geteuid())->pw_dir) / ".local/share");
    }
}

TEST(Paths, TheProgramFolderIsTheFolderOfTheRunningExecutable) {
    EXPECT_TRUE(fs::exists(paths::programDir() / "test_platform"));
}

}  // namespace
