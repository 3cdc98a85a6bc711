#include "ledger/RestoreJournal.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <exception>
#include <stdexcept>
#include <system_error>

#include "platform/Errors.h"
#include "platform/Files.h"

namespace ledger {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kMagic = "tolvane-restore 2";
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
        if (RestoreJournal::isStageName(name) &&
            it->symlink_status(dirEc).type() == fs::file_type::directory)
            stages.push_back(it->path());
    }
    for (const fs::path& p : stages) fs::remove_all(p, ec);
}

// A number written in the given digits, and nothing else.
std::optional<std::uint64_t> number(std::string_view s, std::string_view digits, int base) {
    if (s.empty() || s.find_first_not_of(digits) != std::string_view::npos) return std::nullopt;
    std::uint64_t v = 0;
    const char* end = s.data() + s.size();
    auto [p, ec] = std::from_chars(s.data(), end, v, base);
    if (ec != std::errc() || p != end) return std::nullopt;
    return v;
}

std::string fingerprintText(std::uint64_t v) {
    char buf[17];
    std::snprintf(buf, sizeof buf, "%016llx", static_cast<unsigned long long>(v));
    return buf;
}

std::optional<fs::file_type> typeOf(const fs::path& p) {
    std::error_code ec;
    const fs::file_status st = fs::symlink_status(p, ec);
    if (!fs::exists(st)) return std::nullopt;
    return st.type();
}

enum class AtTarget { Nothing, RestoredCopy, Other };

// Whether the name holds the restored copy the journal describes, byte for byte.
AtTarget whatIsAt(const fs::path& target, const RestoreJournal::File& f) {
    const auto type = typeOf(target);
    if (!type) return AtTarget::Nothing;
    if (*type != fs::file_type::regular) return AtTarget::Other;
    std::error_code ec;
    if (fs::file_size(target, ec) != f.size || ec) return AtTarget::Other;
    try {
        if (RestoreJournal::fingerprintOf(platform::readFileNoFollow(target)) == f.fingerprint)
            return AtTarget::RestoredCopy;
    } catch (const std::exception&) {
    }
    return AtTarget::Other;
}

// A journal is acted on only when everything it names is what a restore of ours
// leaves: its staging folders are real folders (not links) in their own folders,
// the restored copies waiting in them are regular files, its files bear the names
// a restore writes, and every file an undo would remove is the restored copy.
bool holdsUp(const RestorePlaces& places, const RestoreJournal& j) {
    for (auto place : {RestoreJournal::Place::Data, RestoreJournal::Place::Settings})
        if (typeOf(places.stage(j, place)) != fs::file_type::directory) return false;
    const std::string iniName = places.iniFile.filename().string();
    for (std::size_t i = 0; i < j.files.size(); ++i) {
        const RestoreJournal::File& f = j.files[i];
        if (f.place == RestoreJournal::Place::Settings ? f.name != iniName
                                                       : !platform::matchesPattern(f.name, "*.dat"))
            return false;
        // An old file put aside may be the user's own link; a restored copy never is.
        const auto staged = typeOf(places.staged(j, i)), aside = typeOf(places.aside(j, i));
        if (staged && *staged != fs::file_type::regular) return false;
        if (aside && *aside != fs::file_type::regular && *aside != fs::file_type::symlink)
            return false;
        if (j.phase == RestoreJournal::Phase::Back && !f.hadOld && !staged &&
            whatIsAt(places.target(f), f) == AtTarget::Other)
            return false;
    }
    return true;
}

}  // namespace

bool RestoreJournal::isStageName(std::string_view name) {
    if (name.size() != kStagePrefix.size() + 6 || !name.starts_with(kStagePrefix)) return false;
    for (char c : name.substr(kStagePrefix.size()))
        if (!(c >= '0' && c <= '9') && !(c >= 'a' && c <= 'z') && !(c >= 'A' && c <= 'Z'))
            return false;
    return true;
}

std::uint64_t RestoreJournal::fingerprintOf(std::string_view bytes) {
    // FNV-1a: enough to tell the restored copy from another file; not a defence
    // against someone who can write the journal itself.
    std::uint64_t h = 14695981039346656037ull;
    for (unsigned char c : bytes) {
        h ^= c;
        h *= 1099511628211ull;
    }
    return h;
}

std::string RestoreJournal::text() const {
    std::string out(kMagic);
    out += "\nphase ";
    out += phase == Phase::Forward ? "forward" : "back";
    out += "\nstage " + hex(dataStage) + " " + hex(settingsStage) + "\n";
    for (const File& f : files) {
        out += "file ";
        out += f.place == Place::Data ? "data " : "settings ";
        out += f.hadOld ? "1 " : "0 ";
        out += hex(f.name) + " " + std::to_string(f.size) + " " + fingerprintText(f.fingerprint) +
               "\n";
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
    if (!data || !settings || !isStageName(*data) || !isStageName(*settings)) return std::nullopt;
    j.dataStage = *data;
    j.settingsStage = *settings;
    for (std::size_t i = 3; i + 1 < lines.size(); ++i) {
        auto w = words(lines[i]);
        if (w.size() != 6 || w[0] != "file") return std::nullopt;
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
        // Only as text() writes them, so that a journal reads back the same.
        const auto size = number(w[4], "0123456789", 10);
        const auto fingerprint = number(w[5], "0123456789abcdef", 16);
        if (!size || (w[4].size() > 1 && w[4][0] == '0') || !fingerprint || w[5].size() != 16)
            return std::nullopt;
        f.size = *size;
        f.fingerprint = *fingerprint;
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

fs::path RestorePlaces::staged(const RestoreJournal& j, std::size_t i) const {
    return stage(j, j.files[i].place) / ("new-" + std::to_string(i));
}

fs::path RestorePlaces::aside(const RestoreJournal& j, std::size_t i) const {
    return stage(j, j.files[i].place) / ("old-" + std::to_string(i));
}

void WriteRestoreJournal(const RestorePlaces& places, const RestoreJournal& journal) {
    platform::writeFileAtomic(places.journal(), journal.text());
}

void RollRestoreForward(const RestorePlaces& places, const RestoreJournal& journal,
                        const RestoreStepHook& step) {
    // A restored copy still in the staging folder has not been renamed yet; one
    // already gone is in place. Each rename replaces the name at once, so no name
    // is ever empty.
    for (std::size_t i = 0; i < journal.files.size(); ++i) {
        const fs::path staged = places.staged(journal, i);
        if (!nameExists(staged)) continue;
        renameOrThrow(staged, places.target(journal.files[i]));
        if (step) step();
    }
    syncFolders(places);
}

void RollRestoreBack(const RestorePlaces& places, const RestoreJournal& journal,
                     const RestoreStepHook& step) {
    for (std::size_t i = 0; i < journal.files.size(); ++i) {
        const RestoreJournal::File& f = journal.files[i];
        const fs::path target = places.target(f);
        if (f.hadOld) {
            const fs::path aside = places.aside(journal, i);
            if (!nameExists(aside)) continue;  // already back
            renameOrThrow(aside, target);
        } else if (!nameExists(places.staged(journal, i))) {
            // The file was new with this restore: its copy goes again once it has
            // left the staging folder, and only the copy itself.
            switch (whatIsAt(target, f)) {
                case AtTarget::Nothing:
                    break;
                case AtTarget::Other:
                    throw std::runtime_error("not the restored copy: " + target.string());
                case AtTarget::RestoredCopy:
                    if (::unlink(target.c_str()) != 0 && errno != ENOENT)
                        throw platform::IoError::fromErrno(errno);
                    break;
            }
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
        if (!journal || !holdsUp(places, *journal)) return RestoreRecovery::Failed;
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
