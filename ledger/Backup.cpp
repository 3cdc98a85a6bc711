#include "ledger/Backup.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <exception>
#include <optional>
#include <system_error>

#include "ledger/SysOption.h"
#include "platform/Errors.h"
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

// The skipped names, one a line; a folder full of them is not listed whole.
std::string skippedReport(const std::vector<std::string>& names) {
    constexpr std::size_t kListed = 10;
    std::string out(kRestoreSkipped);
    for (std::size_t i = 0; i < names.size() && i < kListed; ++i) out += "\r" + names[i];
    if (names.size() > kListed) out += "\r…ほか" + std::to_string(names.size() - kListed) + "件";
    return out;
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

RestoreSources ListRestoreSources(const platform::Folder& folder) {
    RestoreSources out;
    for (platform::Folder::Entry& e : folder.entries()) {
        if (!platform::matchesPattern(e.name, "*.dat") || IsWithholdingFileName(e.name)) continue;
        if (e.regularFile)
            out.files.push_back(folder.path() / e.name);
        else
            out.skipped.push_back(std::move(e.name));
    }
    return out;
}

RestoreSources ListRestoreSources(const fs::path& folder) {
    return ListRestoreSources(platform::Folder(folder));
}

std::vector<fs::path> RestoreSourceFiles(const fs::path& folder) {
    return ListRestoreSources(folder).files;
}

bool HoldsSettingsFile(const fs::path& folder, const fs::path& iniFile) {
    std::error_code ec;
    return fs::symlink_status(folder / iniFile.filename(), ec).type() == fs::file_type::regular;
}

bool HoldsSettingsFile(const platform::Folder& folder, const fs::path& iniFile) {
    struct stat st {};
    return ::fstatat(folder.fd(), iniFile.filename().c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
           S_ISREG(st.st_mode);
}

std::string ReadBackupPath(const platform::IniFile& ini, const std::string& fallback) {
    return ini.readString(kOptionSection, kBackupPathKey, fallback);
}

bool BackupData(const fs::path& dataPath, const fs::path& iniFile, const fs::path& folder,
                std::string* failure, const std::function<void()>& afterCopy) {
    // The file being read or written when it failed.
    fs::path at = folder;
    try {
        const platform::Folder into(folder);
        at = dataPath;
        const std::vector<fs::path> sources = BackupSourceFiles(dataPath);
        auto copy = [&](const fs::path& from) {
            at = from;
            const std::string bytes = platform::readFile(from);
            at = folder / from.filename();
            platform::writeFileAtomic(into, from.filename().string(), bytes);
            if (afterCopy) afterCopy();
        };
        for (const fs::path& f : sources) copy(f);
        copy(iniFile);
        return true;
    } catch (const std::exception& e) {
        if (failure) *failure = at.string() + "\r" + e.what();
        return false;
    }
}

bool DataBackup(const fs::path& dataPath, const fs::path& iniFile, const fs::path& folder,
                MessageSink& messages) {
    std::string failure;
    if (!BackupData(dataPath, iniFile, folder, &failure)) {
        // Which file and why: a cause the user can remove (another account's file
        // in a shared folder) is not the full disk the fixed text suggests.
        messages.error(std::string(kBackupFailed) + "\r" + failure);
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
                          const RestoreStepHook& step, std::vector<std::string>* skipped) {
    std::error_code ec;
    std::optional<platform::Folder> from;
    try {
        from.emplace(folder);
    } catch (const std::exception&) {
        return RestoreResult::NoSettingsFile;
    }
    if (!HoldsSettingsFile(*from, iniFile)) return RestoreResult::NoSettingsFile;
    const RestorePlaces places{dataPath, iniFile};
    std::optional<RestoreJournal> journal;
    try {
        // The other program must not write the settings file in between, and its
        // start-up must not take this restore's files for leftovers.
        platform::FileLock lock(iniFile);
        const RestoreSources sources = ListRestoreSources(*from);
        if (skipped) *skipped = sources.skipped;
        // Staged beside their targets, so that the final renames stay within
        // one file system.
        StagingFolder dataStage(dataPath);
        StagingFolder iniStage(iniFile.parent_path());
        RestoreJournal j;
        j.dataStage = dataStage.path().filename().string();
        j.settingsStage = iniStage.path().filename().string();
        auto stage = [&](const fs::path& source, RestoreJournal::Place place) {
            RestoreJournal::File& f = j.files.emplace_back();
            f.place = place;
            f.name = place == RestoreJournal::Place::Settings ? iniFile.filename().string()
                                                              : source.filename().string();
            // A link put in the source's place since the listing is refused here.
            const std::string bytes = platform::readFileNoFollow(*from, source.filename().string());
            f.size = bytes.size();
            f.fingerprint = RestoreJournal::fingerprintOf(bytes);
            const std::size_t i = j.files.size() - 1;
            platform::writeFileAtomic(places.staged(j, i), bytes);
            const fs::path target = places.target(f);
            f.hadOld = fs::exists(fs::symlink_status(target, ec));
            if (f.hadOld) putAside(target, places.aside(j, i));
            if (step) step();
        };
        for (const fs::path& f : sources.files) stage(f, RestoreJournal::Place::Data);
        stage(folder / iniFile.filename(), RestoreJournal::Place::Settings);
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
    std::vector<std::string> skipped;
    switch (RestoreData(dataPath, iniFile, folder, {}, &skipped)) {
        case RestoreResult::NoSettingsFile:
            messages.error(std::string(kRestoreNoData));
            return false;
        case RestoreResult::Failed:
            messages.error(std::string(kRestoreFailed));
            return false;
        case RestoreResult::Restored:
            break;
    }
    if (!skipped.empty()) messages.warning(skippedReport(skipped));
    messages.information(std::string(kRestoreDone));
    return true;
}

}  // namespace ledger
