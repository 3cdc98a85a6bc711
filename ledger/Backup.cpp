#include "ledger/Backup.h"

#include <stdlib.h>

#include <cctype>
#include <exception>
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

// A fresh hidden folder inside `parent` for the files of one restore, removed
// with everything in it when the restore ends.
class StagingFolder {
public:
    explicit StagingFolder(const fs::path& parent) {
        std::string tmpl = (parent / ".restore-XXXXXX").string();
        if (::mkdtemp(tmpl.data()) == nullptr)
            throw std::system_error(errno, std::generic_category());
        path_ = tmpl;
    }
    ~StagingFolder() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    StagingFolder(const StagingFolder&) = delete;
    StagingFolder& operator=(const StagingFolder&) = delete;
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

// One file of a restore: its copy waits in the staging folder until every copy
// is made; the file it replaces is moved aside until every replacement is made.
struct StagedFile {
    fs::path target;
    fs::path staged;
    fs::path aside;
};

// Renames the staged files over their targets. When any rename fails, the
// renames already made are undone in reverse, so the targets are as before.
void replaceAll(const std::vector<StagedFile>& files) {
    std::vector<std::pair<fs::path, fs::path>> done;  // from, to
    auto move = [&](const fs::path& from, const fs::path& to) {
        fs::rename(from, to);
        done.emplace_back(from, to);
    };
    try {
        for (const StagedFile& f : files) {
            std::error_code ec;
            if (fs::exists(fs::symlink_status(f.target, ec))) move(f.target, f.aside);
            move(f.staged, f.target);
        }
    } catch (...) {
        for (auto it = done.rbegin(); it != done.rend(); ++it) {
            std::error_code ec;
            fs::rename(it->second, it->first, ec);
        }
        throw;
    }
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

RestoreResult RestoreData(const fs::path& dataPath, const fs::path& iniFile,
                          const fs::path& folder) {
    const fs::path backupIni = folder / iniFile.filename();
    std::error_code ec;
    if (!fs::is_regular_file(backupIni, ec)) return RestoreResult::NoSettingsFile;
    try {
        const std::vector<fs::path> sources = RestoreSourceFiles(folder);
        // Staged beside their targets, so that the final renames stay within
        // one file system.
        StagingFolder dataStage(dataPath);
        StagingFolder iniStage(iniFile.parent_path());
        std::vector<StagedFile> files;
        auto stage = [&](const fs::path& source, const fs::path& target, const StagingFolder& at) {
            const std::string name = target.filename().string();
            StagedFile f{target, at.path() / ("new-" + name), at.path() / ("old-" + name)};
            platform::copyReplacing(source, f.staged);
            files.push_back(std::move(f));
        };
        for (const fs::path& f : sources) stage(f, dataPath / f.filename(), dataStage);
        stage(backupIni, iniFile, iniStage);
        replaceAll(files);
        return RestoreResult::Restored;
    } catch (const std::exception&) {
        return RestoreResult::Failed;
    }
}

bool DataRestore(const fs::path& dataPath, const fs::path& iniFile, const fs::path& folder,
                 MessageSink& messages) {
    switch (RestoreData(dataPath, iniFile, folder)) {
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
