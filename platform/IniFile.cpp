#include "platform/IniFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <ctime>
#include <map>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string_view>

#include "platform/Errors.h"
#include "platform/Files.h"
#include "platform/Sjis.h"

namespace platform {

// The file as lines of raw CP932 bytes, without their line ends.
struct IniLines {
    std::vector<std::string> lines;
};

namespace {

using Lines = IniLines;

std::string_view trim(std::string_view s) {
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

// Names compare without regard to ASCII case, but the second byte of a
// double-byte character is no letter even where its value is that of one
// ("ア" is 83 41, "ヂ" 83 61).
bool equalNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto x = static_cast<unsigned char>(a[i]);
        auto y = static_cast<unsigned char>(b[i]);
        if (sjis::isLead(x)) {
            if (x != y || i + 1 >= a.size() || a[i + 1] != b[i + 1]) return false;
            ++i;
        } else if (std::tolower(x) != std::tolower(y)) {
            return false;
        }
    }
    return true;
}

// The position of a byte in CP932 text, stepping over double-byte characters
// (']' is also the second byte of "ゾ" and others).
std::size_t findByte(std::string_view s, char c) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == c) return i;
        if (sjis::isLead(static_cast<unsigned char>(s[i]))) ++i;
    }
    return std::string_view::npos;
}

Lines parse(const std::string& data) {
    Lines out;
    std::size_t start = 0;
    while (start < data.size()) {
        std::size_t nl = data.find('\n', start);
        std::size_t end = nl == std::string::npos ? data.size() : nl;
        std::string line = data.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        out.lines.push_back(std::move(line));
        start = end == data.size() ? end : end + 1;
    }
    return out;
}

IoError tooLargeError() {
    return IoError(EFBIG, "設定ファイルが大きすぎます");
}

// What tells one state of a file from another without reading it. A save
// replaces the file (a new inode); an edit in place changes its times or size.
struct Identity {
    dev_t dev;
    ino_t ino;
    off_t size;
    timespec mtime;
    timespec ctime;
    bool operator==(const Identity& o) const {
        return dev == o.dev && ino == o.ino && size == o.size && mtime.tv_sec == o.mtime.tv_sec &&
               mtime.tv_nsec == o.mtime.tv_nsec && ctime.tv_sec == o.ctime.tv_sec &&
               ctime.tv_nsec == o.ctime.tv_nsec;
    }
};

// The parsed lines of the settings files read last, each with the state of the
// file it was read from. Only a cache: what it gives is always what reading the
// file would give, so it holds no state of the programs.
class ParsedFiles {
public:
    std::shared_ptr<const Lines> find(const std::string& file, const Identity& id) {
        std::lock_guard guard(mutex_);
        auto it = entries_.find(file);
        return it != entries_.end() && it->second.id == id ? it->second.lines : nullptr;
    }
    void keep(const std::string& file, const Identity& id, std::shared_ptr<const Lines> lines) {
        std::lock_guard guard(mutex_);
        if (entries_.size() >= 8 && !entries_.count(file)) entries_.clear();
        entries_[file] = Entry{id, std::move(lines)};
    }
    void forget(const std::string& file) {
        std::lock_guard guard(mutex_);
        entries_.erase(file);
    }

private:
    struct Entry {
        Identity id;
        std::shared_ptr<const Lines> lines;
    };
    std::mutex mutex_;
    std::map<std::string, Entry> entries_;
};

ParsedFiles& parsedFiles() {
    static ParsedFiles files;
    return files;
}

// A file changed within this many seconds of now may change again with the same
// times (file systems keep them coarser than the clock): it is not kept.
constexpr time_t kSettleSeconds = 2;

// A copy that keeps the modification time (cp -p, rsync -t) changes only the
// status-change time, so both must lie back.
bool settled(const struct stat& st, const timespec& now) {
    return st.st_mtim.tv_sec + kSettleSeconds < now.tv_sec &&
           st.st_ctim.tv_sec + kSettleSeconds < now.tv_sec;
}

timespec realTime() {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return now;
}

std::shared_ptr<const Lines> load(const std::filesystem::path& file, const IniFile::Clock& clock) {
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0) {
        if (errno == ENOENT) return std::make_shared<const Lines>();  // reads as empty
        throw IoError::fromErrno(errno);
    }
    if (S_ISREG(st.st_mode) && std::uintmax_t(st.st_size) > IniFile::kMaxSize)
        throw tooLargeError();
    const Identity id{st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim};
    if (auto kept = parsedFiles().find(file.string(), id)) return kept;
    std::string data;
    try {
        data = readFile(file);
    } catch (const IoError& e) {
        if (e.code() == ENOENT) return std::make_shared<const Lines>();
        throw;
    }
    // Grown past the limit since it was looked at: still too large.
    if (data.size() > IniFile::kMaxSize) throw tooLargeError();
    auto lines = std::make_shared<const Lines>(parse(data));
    if (settled(st, clock ? clock() : realTime())) parsedFiles().keep(file.string(), id, lines);
    return lines;
}

void save(const std::filesystem::path& file, const Lines& l) {
    std::string data;
    for (const auto& line : l.lines) {
        data += line;
        data += "\r\n";
    }
    // Written, it would read as empty from then on: every setting its default.
    if (data.size() > IniFile::kMaxSize) throw tooLargeError();
    parsedFiles().forget(file.string());
    writeFileAtomic(file, data);
}

// The section name of a "[name]" line.
std::optional<std::string_view> sectionName(std::string_view line) {
    line = trim(line);
    if (line.size() < 2 || line.front() != '[') return std::nullopt;
    std::size_t close = findByte(line, ']');
    if (close == std::string_view::npos) return std::nullopt;
    return trim(line.substr(1, close - 1));
}

// Key and raw value of a "key=value" line; a line starting with ";" is a comment.
std::optional<std::pair<std::string_view, std::string_view>> keyValue(std::string_view line) {
    std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    std::string_view key = trim(line.substr(0, eq));
    if (!key.empty() && key.front() == ';') return std::nullopt;
    return std::make_pair(key, trim(line.substr(eq + 1)));
}

struct Range {
    std::size_t header;  // index of the "[section]" line
    std::size_t end;     // one past its last line
};

std::optional<Range> findSection(const Lines& l, std::string_view section) {
    for (std::size_t i = 0; i < l.lines.size(); ++i) {
        auto name = sectionName(l.lines[i]);
        if (!name || !equalNoCase(*name, section)) continue;
        std::size_t j = i + 1;
        while (j < l.lines.size() && !sectionName(l.lines[j])) ++j;
        return Range{i, j};
    }
    return std::nullopt;
}

std::optional<std::size_t> findKey(const Lines& l, const Range& r, std::string_view key) {
    for (std::size_t i = r.header + 1; i < r.end; ++i) {
        auto kv = keyValue(l.lines[i]);
        if (kv && equalNoCase(kv->first, key)) return i;
    }
    return std::nullopt;
}

std::string unquote(std::string_view v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return std::string(v);
}

// A section or key name as the file holds it; blanks around it never count, as
// they do not in the file.
std::optional<std::string> nameBytes(std::string_view utf8) {
    return sjis::tryFromUtf8(trim(utf8));
}

// The value's bytes with one pair of quotes removed, or nothing when the key is
// absent.
std::optional<std::string> readRaw(const Lines& l, const std::string& section,
                                   const std::string& key) {
    auto sec = nameBytes(section);
    auto k = nameBytes(key);
    if (!sec || !k) return std::nullopt;
    auto r = findSection(l, *sec);
    if (!r) return std::nullopt;
    auto i = findKey(l, *r, *k);
    if (!i) return std::nullopt;
    return unquote(keyValue(l.lines[*i])->second);
}

// Section and key names come from the program, never from the user; one that
// would not read back as itself is a fault in the calling code.
std::string checkedSection(const std::string& section) {
    std::string sec = sjis::fromUtf8(trim(section));
    if (sec.empty() || findByte(sec, ']') != std::string::npos ||
        sec.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos)
        throw std::invalid_argument("bad settings section name: " + section);
    return sec;
}

std::string checkedKey(const std::string& key) {
    std::string k = sjis::fromUtf8(trim(key));
    if (k.empty() || k.front() == '[' || k.front() == ';' ||
        k.find_first_of(std::string_view("=\r\n\0", 4)) != std::string::npos)
        throw std::invalid_argument("bad settings key: " + key);
    return k;
}

// Replaces the value of the key, or adds the key (and the section), keeping
// every other line as it was. False when the line already read so.
bool writeLine(Lines& l, const std::string& section, const std::string& key,
               std::string_view valueBytes) {
    std::string sec = checkedSection(section);
    std::string k = checkedKey(key);
    if (valueBytes.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos)
        throw ConvertError("設定値に改行は使えません。");
    std::string line = k + "=" + std::string(valueBytes);
    if (auto r = findSection(l, sec)) {
        if (auto i = findKey(l, *r, k)) {
            // Rewriting a line that already reads so (the window placement on
            // every close) would only cost a flush to disk.
            if (l.lines[*i] == line) return false;
            l.lines[*i] = line;
        } else {
            // After the last non-blank line of the section, as the profile API does.
            std::size_t at = r->end;
            while (at > r->header + 1 && trim(l.lines[at - 1]).empty()) --at;
            l.lines.insert(l.lines.begin() + std::ptrdiff_t(at), line);
        }
    } else {
        if (!l.lines.empty() && !trim(l.lines.back()).empty()) l.lines.emplace_back();
        l.lines.push_back("[" + sec + "]");
        l.lines.push_back(line);
    }
    return true;
}

// Whether an entry is a working copy that an earlier version's grouped write
// left beside the file: ".<name>.<pid>.batch".
bool isWorkingCopyName(std::string_view entry, const std::string& name) {
    const std::string before = "." + name + ".";
    constexpr std::string_view after = ".batch";
    if (entry.size() <= before.size() + after.size() || !entry.starts_with(before) ||
        !entry.ends_with(after))
        return false;
    const std::string_view pid =
        entry.substr(before.size(), entry.size() - before.size() - after.size());
    return pid.find_first_not_of("0123456789") == std::string_view::npos;
}

std::optional<int> parseInt(std::string_view s) {
    s = trim(s);
    if (s.empty()) return std::nullopt;
    int base = 10;
    bool neg = false;
    if (s.front() == '-' || s.front() == '+') {
        neg = s.front() == '-';
        s.remove_prefix(1);
    }
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        base = 16;
        s.remove_prefix(2);
    } else if (!s.empty() && s[0] == '$') {
        base = 16;
        s.remove_prefix(1);
    }
    // One sign only: the number parser would take a second one ("--5", "-0x-5").
    if (s.empty() || s.front() == '-' || s.front() == '+') return std::nullopt;
    long long v = 0;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v, base);
    if (ec != std::errc() || p != s.data() + s.size()) return std::nullopt;
    if (neg) v = -v;
    if (v < INT32_MIN || v > INT32_MAX) return std::nullopt;
    return int(v);
}

}  // namespace

std::string IniFile::readString(const std::string& section, const std::string& key,
                                const std::string& def) const {
    try {
        if (auto v = readRaw(*content(), section, key)) return sjis::toUtf8(*v);
        return def;
    } catch (const IoError&) {
        return def;  // an unreadable file reads like a missing one, as the profile API did
    }
}

int IniFile::readInteger(const std::string& section, const std::string& key, int def) const {
    auto v = parseInt(readString(section, key));
    return v.value_or(def);
}

bool IniFile::readBool(const std::string& section, const std::string& key, bool def) const {
    auto v = parseInt(readString(section, key));
    return v ? *v != 0 : def;
}

bool IniFile::valueExists(const std::string& section, const std::string& key) const {
    try {
        return readRaw(*content(), section, key).has_value();
    } catch (const IoError&) {
        return false;
    }
}

bool IniFile::sectionExists(const std::string& section) const {
    try {
        auto sec = nameBytes(section);
        return sec && findSection(*content(), *sec).has_value();
    } catch (const IoError&) {
        return false;
    }
}

std::vector<std::string> IniFile::readSectionKeys(const std::string& section) const {
    std::vector<std::string> out;
    try {
        auto sec = nameBytes(section);
        if (!sec) return out;
        const auto l = content();
        auto r = findSection(*l, *sec);
        if (!r) return out;
        for (std::size_t i = r->header + 1; i < r->end; ++i)
            if (auto kv = keyValue(l->lines[i]); kv && !kv->first.empty())
                out.push_back(sjis::toUtf8(kv->first));
    } catch (const IoError&) {
    }
    return out;
}

IniFile::IniFile(std::filesystem::path file, Clock clock)
    : file_(std::move(file)), clock_(std::move(clock)) {}
IniFile::~IniFile() = default;

std::unique_ptr<FileLock> IniFile::lock() const {
    if (memory_) return nullptr;
    return std::make_unique<FileLock>(file_);
}

std::shared_ptr<const IniLines> IniFile::content() const {
    if (memory_) return memory_;
    return load(file_, clock_);
}

void IniFile::replace(const IniLines& lines) {
    if (memory_)
        *memory_ = lines;
    else
        save(file_, lines);
}

bool IniFile::tooLarge() const {
    struct stat st {};
    return !memory_ && ::stat(file_.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           std::uintmax_t(st.st_size) > kMaxSize;
}

void IniFile::writeString(const std::string& section, const std::string& key,
                          const std::string& value) {
    writeBytes(section, key, sjis::fromUtf8(value));
}

std::string IniFile::readBytes(const std::string& section, const std::string& key,
                               const std::string& def) const {
    try {
        return readRaw(*content(), section, key).value_or(def);
    } catch (const IoError&) {
        return def;
    }
}

void IniFile::writeBytes(const std::string& section, const std::string& key,
                         std::string_view bytes) {
    auto held = lock();
    Lines l = *content();
    if (writeLine(l, section, key, bytes)) replace(l);
}

void IniFile::writeQuoted(const std::string& section, const std::string& key,
                          const std::string& value) {
    writeString(section, key, "\"" + value + "\"");
}

void IniFile::writeInteger(const std::string& section, const std::string& key, int value) {
    writeString(section, key, std::to_string(value));
}

void IniFile::writeBool(const std::string& section, const std::string& key, bool value) {
    writeString(section, key, value ? "1" : "0");
}

void IniFile::writeAll(const std::function<void(IniFile&)>& writes) {
    auto held = lock();
    IniFile copy(file_);
    copy.memory_ = std::make_shared<IniLines>(*content());
    writes(copy);
    // A group that changed nothing does not rewrite the file.
    if (copy.memory_->lines != content()->lines) replace(*copy.memory_);
}

void IniFile::eraseSection(const std::string& section) {
    std::string sec = checkedSection(section);
    auto held = lock();
    Lines l = *content();
    bool found = false;
    // Every copy of a repeated section goes, or the next one would surface.
    while (auto r = findSection(l, sec)) {
        l.lines.erase(l.lines.begin() + std::ptrdiff_t(r->header),
                      l.lines.begin() + std::ptrdiff_t(r->end));
        found = true;
    }
    if (found) replace(l);
}

int IniFile::removeStaleWorkingCopies(const std::filesystem::path& file) {
    // Under the lock no grouped write of an earlier version is under way, so
    // every copy is a leftover.
    FileLock held(file);
    const std::string name = file.filename().string();
    const std::filesystem::path folder = file.parent_path();
    int removed = 0;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        std::error_code rmEc;
        if (isWorkingCopyName(it->path().filename().string(), name) && it->is_regular_file(rmEc) &&
            std::filesystem::remove(it->path(), rmEc))
            ++removed;
    }
    // The temporary files of their saves: "." before a working copy's name and
    // ".<8 hex digits>" after it.
    return removed + removeStaleTemporaries(folder, [&name](std::string_view target) {
               return isWorkingCopyName(target, name);
           });
}

}  // namespace platform
