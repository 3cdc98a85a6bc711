#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "platform/Fd.h"

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
// own is followed: the file it names is replaced and the link stays; a link of
// another account is itself replaced, never followed; a dangling link or a name
// that is no regular file is refused. A file of the user's own keeps its
// permissions; a new one, or one that replaces a file of another account, is
// readable and writable by its owner only, unless a mode is given, which the file
// then takes whether new or not. Where a shared folder's sticky bit keeps another
// account's file under the name, the save fails (IoError::foreignFile). On any
// failure the temporary file is removed and the old file stays as it was; a write
// over the file-size limit fails like one on a full disk.
void writeFileAtomic(const std::filesystem::path& file, std::string_view bytes,
                     std::optional<unsigned> mode = std::nullopt);

// A folder opened once, for work that makes or reads several files in it: they
// stay in that folder whatever is done to its path meanwhile (the folder renamed
// and a link put in its place). Throws IoError when it cannot be opened.
class Folder {
public:
    explicit Folder(const std::filesystem::path& path);

    int fd() const { return fd_.get(); }
    // The path it was opened by, for messages.
    const std::filesystem::path& path() const { return path_; }

    struct Entry {
        std::string name;
        bool regularFile;  // a link is none, whatever it names
    };
    // Its entries but "." and "..", sorted by name.
    std::vector<Entry> entries() const;

private:
    std::filesystem::path path_;
    Fd fd_;
};

// writeFileAtomic for a file of a folder opened beforehand.
void writeFileAtomic(const Folder& folder, const std::string& name, std::string_view bytes,
                     std::optional<unsigned> mode = std::nullopt);

// readFileNoFollow for a file of a folder opened beforehand.
std::string readFileNoFollow(const Folder& folder, const std::string& name);

class CheckedFeed;

// The new content of a file on its way, for a writer that cannot be handed the
// bytes (the PDF printer): a temporary file in the file's folder, private, locked
// and without a name until commit() puts it in the file's place under
// writeFileAtomic's rules, so that a job that never ends well, killed or not,
// leaves nothing behind. Where the file system cannot make a file without a name
// it is named at once, and the leftovers of our naming that no job holds are
// removed by the next output to the folder.
class PendingReplacement {
public:
    explicit PendingReplacement(const std::filesystem::path& file);
    PendingReplacement(const Folder& folder, const std::string& name);
    ~PendingReplacement();
    PendingReplacement(const PendingReplacement&) = delete;
    PendingReplacement& operator=(const PendingReplacement&) = delete;

    // The file that commit() replaces: the name, or the file a link of the user's own names.
    const std::filesystem::path& target() const { return target_; }
    int fd() const { return fd_.get(); }
    // A name a writer that insists on opening a file by name writes the content
    // to; whatever anyone does meanwhile to the names of the folder, it reaches
    // the temporary file, and every write is checked by commit(). The writer must
    // have closed it before commit().
    std::filesystem::path writerPath();
    // `beforeRename` runs once everything is written and synced, for tests that
    // start the other program's clean-up there.
    void commit(std::optional<unsigned> mode = std::nullopt,
                const std::function<void()>& beforeRename = {});

private:
    void open(int folderFd, const std::string& name);

    std::filesystem::path target_;
    Fd folder_;
    std::string name_;
    std::string temporary_;  // empty while the file has no name
    Fd fd_;
    std::unique_ptr<CheckedFeed> feed_;
};

// Bytes to put at an offset of a file.
struct FilePart {
    std::int64_t offset;
    std::string_view bytes;
};

// Replaces an existing file as writeFileAtomic does, with a copy of it in which
// the parts are overwritten: the rest of the file, however long, is carried over
// by the kernel and never held in memory. A file shorter than minSize is first
// lengthened with zero bytes. A missing file is an error, and so is a link of
// another account: the old content is never read through it.
void writeFilePartsAtomic(const std::filesystem::path& file, std::int64_t minSize,
                          const std::vector<FilePart>& parts);

// Whether a folder may hold the user's files: one that belongs to another account
// or that other accounts can write into could have their links planted among
// ours. A missing folder is fit (it is made private when created); a link to a
// folder is judged by the folder.
enum class FolderTrust { Fit, Missing, Foreign };
FolderTrust folderTrust(const std::filesystem::path& folder);

// Makes a write beyond the file-size limit fail (EFBIG) instead of ending the
// process, so the save can report it.
void ignoreFileSizeSignal();

// Removes the temporary files that a save leaves when the process dies during it,
// only those that no running save still holds: every one of the current naming
// (".tolvane." and 12 hex digits, which stands for no particular file) and those
// of earlier versions (".<name>.<8 hex digits>") whose name matches the pattern.
// Returns how many.
int removeStaleTemporaries(const std::filesystem::path& folder, std::string_view pattern);
// The same with the earlier versions' names that `isOurs` accepts.
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
