#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

// Whole-file operations. Every failure throws platform::IoError with the fixed
// text for its cause; nothing here ever leaves a half-written file under the
// real name.
namespace platform {

// The whole content of a file. A name that is not a regular file (a folder, a
// pipe) is refused rather than read.
std::string readFile(const std::filesystem::path& file);

// The same for a name that must itself be a regular file: a symbolic link is
// refused, never followed, for input taken from a folder someone else may have
// filled (a backup medium).
std::string readFileNoFollow(const std::filesystem::path& file);

// Opens a regular file for reading and returns its descriptor; a pipe in its
// place is refused without waiting for a writer.
int openForReading(const std::filesystem::path& file);

// Whether a regular file is there: false when nothing has the name; a dangling
// link or a name that is no regular file throws, so that nobody creates a file
// over it.
bool regularFileExists(const std::filesystem::path& file);

// Writes the bytes to a temporary file in the same folder, flushes it to disk,
// renames it over the file and flushes the folder. A symbolic link of the user's
// own is followed: the file it names is replaced and the link stays; another
// account's link, a dangling link or a name that is no regular file is refused. The file keeps its
// permissions; a new one is readable and writable by its owner only, unless a mode is given, which
// the file then takes whether new or not. On any failure the temporary file is removed and the old
// file stays as it was; a write over the file-size limit fails like one on a full disk.
void writeFileAtomic(const std::filesystem::path& file, std::string_view bytes,
                     std::optional<unsigned> mode = std::nullopt);

// Bytes to put at an offset of a file.
struct FilePart {
    std::int64_t offset;
    std::string_view bytes;
};

// Replaces an existing file as writeFileAtomic does, with a copy of it in which
// the parts are overwritten: the rest of the file, however long, is carried over
// by the kernel and never held in memory. A file shorter than minSize is first
// lengthened with zero bytes. A missing file is an error.
void writeFilePartsAtomic(const std::filesystem::path& file, std::int64_t minSize,
                          const std::vector<FilePart>& parts);

// Makes sure a file another writer is about to fill is for its owner only: a
// missing one is created empty with mode 0600, whatever the umask; an existing
// regular file keeps its mode, as a file writeFileAtomic replaces does. A name
// that is no regular file or a dangling link is refused.
void createPrivateFile(const std::filesystem::path& file);

// Creates the folder and any missing parents, each readable by its owner only
// (pay data must not be open to other accounts, whatever the umask). True when
// the folder exists afterwards.
bool createPrivateFolders(const std::filesystem::path& folder, std::error_code& ec);

// Whether a folder may hold the user's files: one that belongs to another account
// or that other accounts can write into could have their links planted among
// ours. A missing folder is fit (it is made private when created); a link to a
// folder is judged by the folder.
enum class FolderTrust { Fit, Missing, Foreign };
FolderTrust folderTrust(const std::filesystem::path& folder);

// Makes a write beyond the file-size limit fail (EFBIG) instead of ending the
// process, so the save can report it.
void ignoreFileSizeSignal();

// Removes the temporary files that writeFileAtomic leaves when the process dies
// during a save (".<name>.<8 hex digits>"), for names of the folder matching the
// pattern, and only those that no running save still holds. Returns how many.
int removeStaleTemporaries(const std::filesystem::path& folder, std::string_view pattern);
// The same for names of the folder that `isOurs` accepts.
int removeStaleTemporaries(const std::filesystem::path& folder,
                           const std::function<bool(std::string_view)>& isOurs);

// An advisory lock (flock) on a lock file beside the given file, held while the
// object lives; every process that reads, changes and replaces the file takes it,
// so that no change of one is undone by another.
class FileLock {
public:
    explicit FileLock(const std::filesystem::path& file);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    static std::filesystem::path lockFileOf(const std::filesystem::path& file);

private:
    int fd_;
};

// Copies a file, replacing the target.
void copyReplacing(const std::filesystem::path& from, const std::filesystem::path& to);

// Deletes a file; a file that is already gone is not an error.
void removeFile(const std::filesystem::path& file);

// Regular files of a folder whose names match a pattern of "*" and "?" ("?" is
// one character; "*.*" is every name, with or without a dot), compared without
// regard to ASCII case (as "*.dat" matched "B.DAT" on the original system),
// sorted by name. A folder that cannot be listed throws.
std::vector<std::filesystem::path> listByPattern(const std::filesystem::path& folder,
                                                 std::string_view pattern);

// Whether a name matches such a pattern.
bool matchesPattern(std::string_view name, std::string_view pattern);

}  // namespace platform
