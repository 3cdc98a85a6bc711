#include "ledger/Backup.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cctype>
#include <exception>
#include <optional>
#include <system_error>

#include "ledger/SysOption.h"
#include "platform/Files.h"
#include "platform/IniFile.h"

namespace ledger {
namespace fs = std::filesystem;

namespace {

bool isPostalCodeFile(const std::string& name) {
    std::string lower = name;
    for (char& c : lower) c = char(std::tolower(static_cast<unsigned char>(c)));
    return lower == "yubinno.dat";
}

// A fresh hidden folder inside `parent` for the files of one restore. Removed
// with everything in it unless the restore reached its journal, which then owns it.
class StagingFolder {
public:
    explicit StagingFolder(const fs::path& parent) {
        std::string tmpl = (parent / ".restore-XXXXXX").string();
        if (::mkdtemp(tmpl.data()) == nullptr)
            throw std::system_error(errno, std::generic_category());
        path_ = tmpl;
    }
    ~StagingFolder() {
        if (!kept_) {
            std::error_code ec;
            fs::remove_all(path_, ec);
        }
    }
    StagingFolder(const StagingFolder&) = delete;
    StagingFolder& operator=(const StagingFolder&) = delete;
    const fs::path& path() const { return path_; }
    void keep() { kept_ = true; }

private:
    fs::path path_;
    bool kept_ = false;
};

// The old file's content put aside for an undo: a second name for it where the
// file system allows, else a copy.
void putAside(const fs::path& target, const fs::path& aside) {
    if (::link(target.c_str(), aside.c_str()) == 0) return;
    platform::copyReplacing(target, aside);
}

void syncFolder(const fs::path& folder) {
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

bool IsWithholdingFileName(const std::string& name) {
    return name.rfind("源泉徴収", 0) == 0;
}

std::vector<fs::path> BackupSourceFiles(const fs::path& dataPath) {
    std::vector<fs::path> out;
    for (const fs::path& f : platform::listByPattern(dataPath, "*.dat")) {
        const std::string name = f.filename().string();
        if (IsWithholdingFileName(name) || isPostalCodeFile(name)) continue;
        out.push_back(f);
    }
    return out;
}

std::vector<fs::path> RestoreSourceFiles(const fs::path& folder) {
    std::vector<fs::path> out;
    for (const fs::path& f : platform::listByPattern(folder, "*.dat"))
        if (!IsWithholdingFileName(f.filename().string())) out.push_back(f);
    return out;
}

std::string ReadBackupPath(const platform::IniFile& ini, const std::string& fallback) {
    return ini.readString(kOptionSection, kBackupPathKey, fallback);
}

bool BackupData(const fs::path& dataPath, const fs::path& iniFile, const fs::path& folder) {
    try {
        for (const fs::path& f : BackupSourceFiles(dataPath))
            platform::copyReplacing(f, folder / f.filename());
        platform::copyReplacing(iniFile, folder / iniFile.filename());
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool DataBackup(const fs::path& dataPath, const fs::path& iniFile, const fs::path& folder,
                MessageSink& messages) {
    if (!BackupData(dataPath, iniFile, folder)) {
        messages.error(std::string(kBackupFailed));
        return false;
    }
    std::string rememberFailure;
    try {
        platform::IniFile(iniFile).writeString(kOptionSection, kBackupPathKey, folder.string());
    } catch (const std::exception& e) {
        // The backup itself is complete; only the folder is not remembered.
        rememberFailure = e.what();
    }
    messages.information(std::string(kBackupDone));
    if (!rememberFailure.empty()) messages.error(rememberFailure);
    return true;
}

RestoreResult RestoreData(const fs::path& dataPath, const fs::path& iniFile, const fs::path& folder,
                          const RestoreStepHook& step) {
    const fs::path backupIni = folder / iniFile.filename();
    std::error_code ec;
    if (!fs::is_regular_file(backupIni, ec)) return RestoreResult::NoSettingsFile;
    const RestorePlaces places{dataPath, iniFile};
    std::optional<RestoreJournal> journal;
    try {
        // The other program must not write the settings file in between, and its
        // start-up must not take this restore's files for leftovers.
        platform::FileLock lock(iniFile);
        const std::vector<fs::path> sources = RestoreSourceFiles(folder);
        // Staged beside their targets, so that the final renames stay within
        // one file system.
        StagingFolder dataStage(dataPath);
        StagingFolder iniStage(iniFile.parent_path());
        RestoreJournal j;
        j.dataStage = dataStage.path().filename().string();
        j.settingsStage = iniStage.path().filename().string();
        auto stage = [&](const fs::path& source, RestoreJournal::Place place) {
            RestoreJournal::File f{place, source.filename().string(), false};
            if (place == RestoreJournal::Place::Settings) f.name = iniFile.filename().string();
            platform::copyReplacing(source, places.staged(j, f));
            const fs::path target = places.target(f);
            f.hadOld = fs::exists(fs::symlink_status(target, ec));
            if (f.hadOld) putAside(target, places.aside(j, f));
            j.files.push_back(std::move(f));
            if (step) step();
        };
        for (const fs::path& f : sources) stage(f, RestoreJournal::Place::Data);
        stage(backupIni, RestoreJournal::Place::Settings);
        syncFolder(dataStage.path());
        syncFolder(iniStage.path());

        // From here on a crash is finished at the next start.
        WriteRestoreJournal(places, j);
        dataStage.keep();
        iniStage.keep();
        journal = j;
        if (step) step();
        RollRestoreForward(places, j, step);
        FinishRestore(places, j, step);
        return RestoreResult::Restored;
    } catch (const std::exception&) {
        if (journal) {
            // Undo what was renamed; should that fail too, the next start does it.
            try {
                platform::FileLock lock(iniFile);
                journal->phase = RestoreJournal::Phase::Back;
                WriteRestoreJournal(places, *journal);
                if (step) step();
                RollRestoreBack(places, *journal, step);
                FinishRestore(places, *journal, step);
            } catch (const std::exception&) {
            }
        }
        return RestoreResult::Failed;
    }
}

bool DataRestore(const fs::path& dataPath, const fs::path& iniFile, const fs::path& folder,
                 MessageSink& messages) {
    switch (RestoreData(dataPath, iniFile, folder, {})) {
        case RestoreResult::NoSettingsFile:
            messages.error(std::string(kRestoreNoData));
            return false;
        case RestoreResult::Failed:
            messages.error(std::string(kRestoreFailed));
            return false;
        case RestoreResult::Restored:
            break;
    }
    messages.information(std::string(kRestoreDone));
    return true;
}

}  // namespace ledger
