#include "ledger/Startup.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <exception>
#include <initializer_list>
#include <optional>

#include "ledger/Ledger.h"
#include "ledger/PayrollYearFile.h"
#include "ledger/YearFileName.h"
#include "platform/Errors.h"
#include "platform/Files.h"
#include "platform/FolderChain.h"
#include "platform/IniFile.h"

namespace ledger {
namespace fs = std::filesystem;

namespace {

std::string cannotStart(int err) {
    char text[96];
    std::snprintf(text, sizeof text, "プログラム起動不可[%d]", err);
    return text;
}

constexpr const char* kWindowSection = "Window";

// A folder on the way to ours that another account could swap for its own would
// hand it everything we read and write there, whatever we check afterwards. Ours
// (the settings and the data folder) must also be the user's own.
platform::FolderWayResult WalkWay(const fs::path& folder, bool ours, bool make) {
    platform::FolderWay how;
    how.ownLast = ours;
    how.make = make;
    return platform::walkFolderWay(folder, how);
}

std::string FolderNotOwnMessage(const fs::path& folder) {
    return std::string(kFolderNotOwn) + "\n" + folder.string();
}

}  // namespace

bool HasReadOnlyAttribute(const fs::path& file) {
    struct stat st;
    if (::stat(file.c_str(), &st) != 0) return false;
    return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

int ProbeWritable(const fs::path& folder) {
    const fs::path probe = folder / std::string(kProbeFileName);
    int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW, 0600);
    if (fd < 0) return errno;
    // A pipe with a reader opens even so; it is not ours to remove.
    struct stat st {};
    const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    ::close(fd);
    if (!regular) return EEXIST;
    ::unlink(probe.c_str());
    return 0;
}

std::vector<std::string> SettingsFolderFailureMessages(int err) {
    std::vector<std::string> messages;
    if (err == 0 || err == ENOENT || err == EROFS || err == EACCES)
        messages.emplace_back(kSettingsNotWritable);
    messages.push_back(cannotStart(err));
    return messages;
}

bool CheckSettingsFolder(const fs::path& settingsDir, const fs::path& iniFile,
                         const fs::path& dataDir, const fs::path& previousDir, Prompter& prompter) {
    using Status = platform::FolderWayResult::Status;
    auto fail = [&prompter](int err) {
        for (const auto& m : SettingsFolderFailureMessages(err)) prompter.error(m);
        return false;
    };
    // Every way is looked at before anything is made on any of them. The previous
    // version's matters only while its data is still to be copied.
    const auto settings = WalkWay(settingsDir, true, false);
    const auto data = WalkWay(dataDir, true, false);
    const auto previous = data.status == Status::Missing
                              ? WalkWay(previousDir / "Data", false, false)
                              : platform::FolderWayResult{};
    for (const auto* way : {&settings, &data, &previous}) {
        if (way->status != Status::Unsafe) continue;
        prompter.error(FolderNotOwnMessage(way->at));
        return false;
    }
    // Made (and looked at again on the way) only where the first look found it missing.
    const auto made = settings.status == Status::Safe ? settings : WalkWay(settingsDir, true, true);
    if (made.status == Status::Unsafe) {
        prompter.error(FolderNotOwnMessage(made.at));
        return false;
    }
    if (made.status == Status::Failed) return fail(made.error);
    if (HasReadOnlyAttribute(iniFile)) return fail(0);
    if (const int err = ProbeWritable(settingsDir); err != 0) return fail(err);
    if (platform::IniFile(iniFile).tooLarge())
        prompter.warning(std::string(kSettingsTooLarge) + "\n" + iniFile.string());
    return true;
}

int LoadTables(Ledger& ledger, const fs::path& folder, MessageSink& messages, bool* unreadable) {
    ledger.tables = LoadStatutoryTables(folder);
    if (unreadable) *unreadable = false;
    for (const std::string& problem : ledger.tables.problems) {
        const std::string name = problem.substr(0, problem.find(": "));
        std::error_code ec;
        if (!fs::exists(folder / name, ec)) continue;
        messages.error(problem);
        if (unreadable) *unreadable = true;
    }
    return ledger.tables.loadedCount();
}

void MigrateOldData(const fs::path& previousDir, const fs::path& dataPath, const fs::path& iniFile,
                    Prompter& prompter) {
    bool allCopied = true;
    auto copy = [&](const fs::path& from, const fs::path& to) {
        try {
            platform::copyReplacing(from, to);
            return true;
        } catch (const platform::IoError& e) {
            prompter.error(std::string(e.what()) + "\n" + from.string());
            allCopied = false;
            return false;
        }
    };

    const fs::path oldData = previousDir / "Data";
    std::error_code ec;
    if (fs::is_directory(oldData, ec)) {
        try {
            for (const fs::path& file : platform::listByPattern(oldData, "*.dat"))
                copy(file, dataPath / file.filename());
        } catch (const platform::IoError& e) {
            prompter.error(std::string(e.what()) + "\n" + oldData.string());
            allCopied = false;
        }
    }

    const fs::path oldIni = previousDir / iniFile.filename();
    // Without Tolvane3's settings file there was nothing to migrate worth a note.
    if (!fs::exists(oldIni, ec)) return;
    if (copy(oldIni, iniFile) && allCopied) prompter.information(std::string(kMigrated));
}

bool PrepareDataFolder(Ledger& ledger, const fs::path& dataPath, const fs::path& previousDir,
                       const fs::path& iniFile, Prompter& prompter) {
    ledger.dataPath = dataPath;
    ledger.CurData.FileName = dataPath / TodayYearFileName(ledger.clock);

    std::error_code ec;
    if (!fs::exists(dataPath, ec)) {
        // Refused before the data folder is made, so that the next start still
        // migrates once the folder is put right.
        using Status = platform::FolderWayResult::Status;
        const auto previous = WalkWay(previousDir / "Data", false, false);
        const auto made =
            previous.status == Status::Unsafe ? previous : WalkWay(dataPath, true, true);
        if (made.status == Status::Unsafe) {
            prompter.error(FolderNotOwnMessage(made.at));
            return false;
        }
        if (made.status != Status::Safe) {
            prompter.error(std::string(kDataFolderNotCreated));
            return false;
        }
        MigrateOldData(previousDir, dataPath, iniFile, prompter);
    }
    try {
        CreateDataFile(ledger, ledger.CurData.FileName);
    } catch (const std::exception& e) {
        prompter.error(e.what());
        return false;
    }
    return true;
}

bool MainWindowCreateSteps(Ledger& ledger, const fs::path& programDir, const fs::path& dataPath,
                           const fs::path& previousDir, const fs::path& iniFile, Prompter& prompter,
                           int& tablesLoaded) {
    bool unreadable = false;
    tablesLoaded = LoadTables(ledger, programDir, prompter, &unreadable);
    // The program is going to end for the missing table: leave the data folder
    // as it was rather than create, migrate or add today's year file first.
    if (unreadable) return true;
    return PrepareDataFolder(ledger, dataPath, previousDir, iniFile, prompter);
}

std::string VersionText(std::string_view v) {
    std::string out;
    if (v.size() >= 1) out += v[0];
    if (v.size() >= 3) out += '.', out += v[2];
    if (v.size() >= 5) out += v[4];
    return out;
}

std::string ProgramVersionText() {
#ifdef TOLVANE_FILE_VERSION
    return VersionText(TOLVANE_FILE_VERSION);
#else
    return {};
#endif
}

WindowPlacement ReadWindowPlacement(const platform::IniFile& ini) {
    WindowPlacement p;
    // Far beyond any screen: such a value was damaged, not chosen.
    constexpr int kLimit = 100000;
    auto value = [&](const char* key, int def, int low) {
        int v = ini.readInteger(kWindowSection, key, def);
        return v < low || v > kLimit ? def : v;
    };
    p.maximized = ini.readString(kWindowSection, "State", "wsMaximized") == "wsMaximized";
    p.x = value("Pos_X", p.x, -kLimit);
    p.y = value("Pos_Y", p.y, -kLimit);
    p.width = value("Width", p.width, 0);
    p.height = value("Height", p.height, 0);
    if (ini.valueExists(kWindowSection, "MembList_X"))
        p.membListWidth = ini.readInteger(kWindowSection, "MembList_X", 0);
    if (ini.valueExists(kWindowSection, "MembList_Y"))
        p.membListHeight = ini.readInteger(kWindowSection, "MembList_Y", 0);
    return p;
}

void WriteWindowPlacement(platform::IniFile& ini, const WindowPlacement& p) {
    ini.writeString(kWindowSection, "State", p.maximized ? "wsMaximized" : "wsNormal");
    ini.writeInteger(kWindowSection, "Pos_X", p.x);
    ini.writeInteger(kWindowSection, "Pos_Y", p.y);
    ini.writeInteger(kWindowSection, "Width", p.width);
    ini.writeInteger(kWindowSection, "Height", p.height);
    if (p.membListWidth) ini.writeInteger(kWindowSection, "MembList_X", *p.membListWidth);
    if (p.membListHeight) ini.writeInteger(kWindowSection, "MembList_Y", *p.membListHeight);
}

}  // namespace ledger
