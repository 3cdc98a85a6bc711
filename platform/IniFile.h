#pragma once
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class FileLock;

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
// Every call reads the file anew (both programs share it), and every write holds
// the file's lock from its read to its replacement, so that two programs writing
// their own keys at the same moment never undo each other. Texts are UTF-8 here.
class IniFile {
public:
    explicit IniFile(std::filesystem::path file) : file_(std::move(file)) {}

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
    // working copy and then replaces the file once: the keys reach the file all
    // together or, when a write fails, not at all.
    void writeAll(const std::function<void(IniFile&)>& writes);

    // The value as the file's bytes, unconverted (one pair of quotes removed as
    // usual), for a value stored as bytes rather than text: the start-up password
    // is kept with every byte shifted, which need not be valid CP932.
    std::string readBytes(const std::string& section, const std::string& key,
                          const std::string& def = {}) const;
    // Writes the bytes as the value unconverted; CR, LF and NUL are refused
    // (platform::ConvertError), as for every value.
    void writeBytes(const std::string& section, const std::string& key, std::string_view bytes);

    // Removes the working copies of grouped writes that a process left when it
    // died. Returns how many.
    static int removeStaleWorkingCopies(const std::filesystem::path& file);

private:
    // The file's lock, or nothing for writeAll's private working copy.
    std::unique_ptr<FileLock> lock() const;

    std::filesystem::path file_;
    bool workingCopy_ = false;
};

}  // namespace platform
