#include "ledger/RestoreJournal.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <exception>
#include <system_error>

#include "platform/Errors.h"
#include "platform/Files.h"

namespace ledger {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kMagic = "tolvane-restore 1";
constexpr std::string_view kJournalName = ".restore.journal";
constexpr std::string_view kStagePrefix = ".restore-";

// Names are written as hex, so that no byte of a file name can break a line.
std::string hex(std::string_view s) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : s) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

std::optional<std::string> unhex(std::string_view s) {
    if (s.size() % 2 != 0) return std::nullopt;
    auto value = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        return -1;
    };
    std::string out;
    for (std::size_t i = 0; i < s.size(); i += 2) {
        int hi = value(s[i]), lo = value(s[i + 1]);
        if (hi < 0 || lo < 0) return std::nullopt;
        out += char(hi * 16 + lo);
    }
    return out;
}

// A file name of the journal must stay inside its folder.
bool plainName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
           name.find('\0') == std::string::npos;
}

std::vector<std::string_view> words(std::string_view line) {
    std::vector<std::string_view> out;
    std::size_t at = 0;
    while (at <= line.size()) {
        std::size_t sp = line.find(' ', at);
        if (sp == std::string_view::npos) sp = line.size();
        out.push_back(line.substr(at, sp - at));
        at = sp + 1;
    }
    return out;
}

bool nameExists(const fs::path& p) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(p, ec));
}

void syncFolder(const fs::path& folder) {
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

void renameOrThrow(const fs::path& from, const fs::path& to) {
    if (::rename(from.c_str(), to.c_str()) != 0) throw platform::IoError::fromErrno(errno);
}

void syncFolders(const RestorePlaces& places) {
    syncFolder(places.dataPath);
    syncFolder(places.iniFile.parent_path());
}

// Staging folders that no journal names: what a restore left when it ended
// before its journal was written (or after it was removed).
void removeLooseStages(const fs::path& folder) {
    std::error_code ec;
    std::vector<fs::path> stages;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::error_code dirEc;
        if (name.size() == kStagePrefix.size() + 6 && name.starts_with(kStagePrefix) &&
            it->symlink_status(dirEc).type() == fs::file_type::directory)
            stages.push_back(it->path());
    }
    for (const fs::path& p : stages) fs::remove_all(p, ec);
}

}  // namespace

std::string RestoreJournal::text() const {
    std::string out(kMagic);
    out += "\nphase ";
    out += phase == Phase::Forward ? "forward" : "back";
    out += "\nstage " + hex(dataStage) + " " + hex(settingsStage) + "\n";
    for (const File& f : files) {
        out += "file ";
        out += f.place == Place::Data ? "data " : "settings ";
        out += f.hadOld ? "1 " : "0 ";
        out += hex(f.name) + "\n";
    }
    out += "end\n";
    return out;
}

std::optional<RestoreJournal> RestoreJournal::parse(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t nl = text.find('\n', at);
        if (nl == std::string_view::npos) return std::nullopt;  // cut short
        lines.push_back(text.substr(at, nl - at));
        at = nl + 1;
    }
    if (lines.size() < 4 || lines[0] != kMagic || lines.back() != "end") return std::nullopt;
    RestoreJournal j;
    if (lines[1] == "phase forward")
        j.phase = Phase::Forward;
    else if (lines[1] == "phase back")
        j.phase = Phase::Back;
    else
        return std::nullopt;
    auto stage = words(lines[2]);
    if (stage.size() != 3 || stage[0] != "stage") return std::nullopt;
    auto data = unhex(stage[1]);
    auto settings = unhex(stage[2]);
    if (!data || !settings || !plainName(*data) || !plainName(*settings)) return std::nullopt;
    j.dataStage = *data;
    j.settingsStage = *settings;
    for (std::size_t i = 3; i + 1 < lines.size(); ++i) {
        auto w = words(lines[i]);
        if (w.size() != 4 || w[0] != "file") return std::nullopt;
        File f;
        if (w[1] == "data")
            f.place = Place::Data;
        else if (w[1] == "settings")
            f.place = Place::Settings;
        else
            return std::nullopt;
        if (w[2] != "0" && w[2] != "1") return std::nullopt;
        f.hadOld = w[2] == "1";
        auto name = unhex(w[3]);
        if (!name || !plainName(*name)) return std::nullopt;
        f.name = *name;
        j.files.push_back(std::move(f));
    }
    return j;
}

fs::path RestorePlaces::journal() const {
    return iniFile.parent_path() / std::string(kJournalName);
}

fs::path RestorePlaces::folder(RestoreJournal::Place place) const {
    return place == RestoreJournal::Place::Data ? dataPath : iniFile.parent_path();
}

fs::path RestorePlaces::stage(const RestoreJournal& j, RestoreJournal::Place place) const {
    return folder(place) / (place == RestoreJournal::Place::Data ? j.dataStage : j.settingsStage);
}

fs::path RestorePlaces::target(const RestoreJournal::File& f) const {
    return folder(f.place) / f.name;
}

fs::path RestorePlaces::staged(const RestoreJournal& j, const RestoreJournal::File& f) const {
    return stage(j, f.place) / ("new-" + f.name);
}

fs::path RestorePlaces::aside(const RestoreJournal& j, const RestoreJournal::File& f) const {
    return stage(j, f.place) / ("old-" + f.name);
}

void WriteRestoreJournal(const RestorePlaces& places, const RestoreJournal& journal) {
    platform::writeFileAtomic(places.journal(), journal.text());
}

void RollRestoreForward(const RestorePlaces& places, const RestoreJournal& journal,
                        const RestoreStepHook& step) {
    // A restored copy still in the staging folder has not been renamed yet; one
    // already gone is in place. Each rename replaces the name at once, so no name
    // is ever empty.
    for (const RestoreJournal::File& f : journal.files) {
        const fs::path staged = places.staged(journal, f);
        if (!nameExists(staged)) continue;
        renameOrThrow(staged, places.target(f));
        if (step) step();
    }
    syncFolders(places);
}

void RollRestoreBack(const RestorePlaces& places, const RestoreJournal& journal,
                     const RestoreStepHook& step) {
    for (const RestoreJournal::File& f : journal.files) {
        const fs::path target = places.target(f);
        if (f.hadOld) {
            const fs::path aside = places.aside(journal, f);
            if (!nameExists(aside)) continue;  // already back
            renameOrThrow(aside, target);
        } else {
            // The file was new with this restore: it goes again.
            if (::unlink(target.c_str()) != 0 && errno != ENOENT)
                throw platform::IoError::fromErrno(errno);
        }
        if (step) step();
    }
    syncFolders(places);
}

void FinishRestore(const RestorePlaces& places, const RestoreJournal& journal,
                   const RestoreStepHook& step) {
    platform::removeFile(places.journal());
    syncFolder(places.iniFile.parent_path());
    if (step) step();
    std::error_code ec;
    fs::remove_all(places.stage(journal, RestoreJournal::Place::Data), ec);
    fs::remove_all(places.stage(journal, RestoreJournal::Place::Settings), ec);
}

RestoreRecovery RecoverUnfinishedRestore(const RestorePlaces& places) {
    std::error_code ec;
    if (!fs::is_directory(places.iniFile.parent_path(), ec)) return RestoreRecovery::NothingToDo;
    std::optional<platform::FileLock> lock;
    try {
        lock.emplace(places.iniFile);
    } catch (const std::exception&) {
        // Without the lock nothing can be cleared safely; only an unfinished
        // restore makes that a reason to stop.
        return nameExists(places.journal()) ? RestoreRecovery::Failed
                                            : RestoreRecovery::NothingToDo;
    }
    RestoreRecovery result = RestoreRecovery::NothingToDo;
    if (nameExists(places.journal())) {
        std::optional<RestoreJournal> journal;
        try {
            journal = RestoreJournal::parse(platform::readFile(places.journal()));
        } catch (const std::exception&) {
            return RestoreRecovery::Failed;
        }
        // The journal is written whole or not at all; a damaged one is no journal
        // of ours, and nothing can be told from it.
        if (!journal) return RestoreRecovery::Failed;
        try {
            if (journal->phase == RestoreJournal::Phase::Forward) {
                RollRestoreForward(places, *journal, {});
                result = RestoreRecovery::Completed;
            } else {
                RollRestoreBack(places, *journal, {});
                result = RestoreRecovery::RolledBack;
            }
            FinishRestore(places, *journal, {});
        } catch (const std::exception&) {
            return RestoreRecovery::Failed;
        }
    }
    removeLooseStages(places.dataPath);
    removeLooseStages(places.iniFile.parent_path());
    return result;
}

bool RecoverUnfinishedRestore(const RestorePlaces& places, MessageSink& messages) {
    RestoreRecovery r = RestoreRecovery::Failed;
    try {
        r = RecoverUnfinishedRestore(places);
    } catch (const std::exception&) {
    }
    switch (r) {
        case RestoreRecovery::NothingToDo:
            return true;
        case RestoreRecovery::Completed:
            messages.information(std::string(kRestoreCompleted));
            return true;
        case RestoreRecovery::RolledBack:
            messages.information(std::string(kRestoreRolledBack));
            return true;
        case RestoreRecovery::Failed:
            break;
    }
    messages.error(std::string(kRestoreRecoveryFailed));
    return false;
}

}  // namespace ledger
