#pragma once
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class FileLock;
struct IniLines;

// The settings file with the semantics of the Windows profile functions the
// programs were written against:
// - sections and keys match without regard to ASCII case, blanks around keys and
//   values are ignored;
// - a value in double (or single) quotes loses one pair of them and keeps its
//   inner blanks;
// - a read of an absent key gives the default;
// - a write changes one line and keeps every other section, key, comment and
//   unreadable line as it was;
// - the file is CP932 with CR LF line ends and is replaced through a temporary
//   file, so a failed write leaves it as it was.
// Every call sees the file as it is now (both programs share it): a file that
// changed since it was last read is read again, an unchanged one is not parsed
// twice. Every write holds the file's lock from its read to its replacement, so
// that two programs writing their own keys at the same moment never undo each
// other. A file over kMaxSize reads as empty (every read gives its default) and
// is never written: it stays as it is; a write that would take the file over it
// is refused (platform::IoError), the file unchanged. Texts are UTF-8 here.
class IniFile {
public:
    // A settings file is a few kilobytes; one far beyond that is damaged, and
    // reading it on every call would stall the programs.
    static constexpr std::uintmax_t kMaxSize = 1 << 20;

    // The time now, for telling whether the file has settled; the system's clock
    // unless given (tests move it on).
    using Clock = std::function<timespec()>;

    // A file is kept parsed for the next call only once its content and its
    // status both last changed more than two seconds before the clock's now: a
    // change within one tick of a coarse file-system clock leaves its times as
    // they were.
    explicit IniFile(std::filesystem::path file, Clock clock = {});
    ~IniFile();
    IniFile(const IniFile&) = default;
    IniFile& operator=(const IniFile&) = default;

    const std::filesystem::path& path() const { return file_; }

    std::string readString(const std::string& section, const std::string& key,
                           const std::string& def = {}) const;
    // The default also for a value that is not a whole number.
    int readInteger(const std::string& section, const std::string& key, int def) const;
    // "0" is false, any other number true; not a number gives the default.
    bool readBool(const std::string& section, const std::string& key, bool def) const;
    bool valueExists(const std::string& section, const std::string& key) const;
    bool sectionExists(const std::string& section) const;
    // The keys of a section in file order.
    std::vector<std::string> readSectionKeys(const std::string& section) const;

    // Throws platform::IoError when the file cannot be read or replaced and
    // platform::ConvertError when the value has no CP932 form or holds a line
    // break; a section or key that would not read back as itself (empty, "=" in a
    // key, "]" in a section) is std::invalid_argument. Either way the file is
    // unchanged.
    void writeString(const std::string& section, const std::string& key, const std::string& value);
    // Writes the value in double quotes, so its leading and trailing blanks survive.
    void writeQuoted(const std::string& section, const std::string& key, const std::string& value);
    void writeInteger(const std::string& section, const std::string& key, int value);
    void writeBool(const std::string& section, const std::string& key, bool value);
    void eraseSection(const std::string& section);

    // Runs a group of writes that belong together (a dialog's settings) against a
    // working copy in memory and then replaces the file once: the keys reach the
    // file all together or, when a write fails, not at all.
    void writeAll(const std::function<void(IniFile&)>& writes);

    // The value as the file's bytes, unconverted (one pair of quotes removed as
    // usual), for a value stored as bytes rather than text: the start-up password
    // is kept with every byte shifted, which need not be valid CP932.
    std::string readBytes(const std::string& section, const std::string& key,
                          const std::string& def = {}) const;
    // Writes the bytes as the value unconverted; CR, LF and NUL are refused
    // (platform::ConvertError), as for every value.
    void writeBytes(const std::string& section, const std::string& key, std::string_view bytes);

    // Whether the file is over kMaxSize (and so read as empty and never written).
    bool tooLarge() const;

    // Removes the working copies of grouped writes that earlier versions left in
    // the folder when they died (".<name>.<pid>.batch", and the temporary files
    // of their saves, ".<name>.<pid>.batch.<8 hex digits>"). Returns how many.
    static int removeStaleWorkingCopies(const std::filesystem::path& file);

private:
    // The file's lock, or nothing for writeAll's working copy.
    std::unique_ptr<FileLock> lock() const;
    // The lines as they are now: the working copy's, or the file's.
    std::shared_ptr<const IniLines> content() const;
    // Replaces the lines: the working copy's, or the file through a temporary file.
    void replace(const IniLines& lines);

    std::filesystem::path file_;
    Clock clock_;
    // Set for writeAll's working copy, which lives in memory only.
    std::shared_ptr<IniLines> memory_;
};

}  // namespace platform
