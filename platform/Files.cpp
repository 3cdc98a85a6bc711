#include "platform/Files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <dirent.h>
#include <csignal>
#include <cstdlib>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <optional>
#include <random>
#include <utility>

#include "platform/CheckedFeed.h"
#include "platform/Errors.h"
#include "platform/Fd.h"
#include "platform/RegularFile.h"

namespace platform {
namespace fs = std::filesystem;

namespace {

void writeAll(int fd, std::string_view bytes) {
    ignoreFileSizeSignal();
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw IoError::fromErrno(errno);
        }
        p += n;
        left -= std::size_t(n);
    }
}

// The name of a temporary file of a save: the same short length whatever the
// name of the file it stands for, so that a file whose name is as long as the
// file system allows can still be saved.
constexpr std::string_view kTempPrefix = ".tolvane.";
constexpr std::size_t kTempDigits = 12;

// Digits as temporaryName writes them, and as earlier versions did.
bool lowerHexDigits(std::string_view digits) {
    return std::all_of(digits.begin(), digits.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) || (c >= 'a' && c <= 'f');
    });
}

struct ClosesDir {
    void operator()(DIR* d) const { ::closedir(d); }
};

// A listing of the folder behind a descriptor, on a description of its own so
// that reading it moves no offset of the caller's; null when it cannot be read.
std::unique_ptr<DIR, ClosesDir> listingOf(int folder) {
    Fd listing(::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (listing.get() < 0) return nullptr;
    std::unique_ptr<DIR, ClosesDir> dir(::fdopendir(listing.get()));
    if (dir) listing.release();
    return dir;
}

std::string temporaryName(std::random_device& rd) {
    char digits[kTempDigits + 1];
    std::snprintf(digits, sizeof digits, "%04x%08x", unsigned(rd()) & 0xffffu, unsigned(rd()));
    return std::string(kTempPrefix) + digits;
}

void lock(int fd) {
    while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
    }
}

// A fresh file in the target's folder, for its owner only: a file saved for the
// first time holds pay data. It is made without a name and locked, so that a job
// killed before it ended well leaves nothing; nameTemporary() names it only to
// rename it. Where the file system cannot make a file without a name, it gets one
// that cannot be guessed at once, created exclusively so that nothing planted
// under that name (a link above all) is ever written through, and locked, which
// tells a clean-up that it is no leftover. `name` is left empty for an unnamed file.
int createTemp(int folder, std::string& name) {
    name.clear();
    int unnamed = ::openat(folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (unnamed >= 0) {
        // Named later through its descriptor's name, which needs /proc.
        if (::access(descriptorPath(unnamed).c_str(), F_OK) == 0) {
            lock(unnamed);
            return unnamed;
        }
        ::close(unnamed);
    }
    std::random_device rd;
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = temporaryName(rd);
        int fd = ::openat(folder, name.c_str(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0) {
            lock(fd);
            return fd;
        }
        if (errno != EEXIST) {
            name.clear();
            throw IoError::fromErrno(errno);
        }
    }
    name.clear();
    throw IoError::fromErrno(EEXIST);
}

// Gives an unnamed temporary file a name of our naming in its folder, still
// locked, for the rename into place.
std::string nameTemporary(int folder, int fd) {
    std::random_device rd;
    const std::string self = descriptorPath(fd);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = temporaryName(rd);
        if (::linkat(AT_FDCWD, self.c_str(), folder, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
            return name;
        if (errno != EEXIST) throw IoError::fromErrno(errno);
    }
    throw IoError::fromErrno(EEXIST);
}

// The file a save of `name` in the folder replaces, when that is not the name
// itself: a link of the user's own is followed, so that the link survives and
// its file is the one updated. A new file, a regular file and a link of another
// account (replaced, never followed) give nullopt.
std::optional<fs::path> linkedTarget(int folder, const std::string& name) {
    struct stat st {};
    if (::fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno == ENOENT) return std::nullopt;  // a new file
        throw IoError::fromErrno(errno);
    }
    if (S_ISREG(st.st_mode)) return std::nullopt;
    if (!S_ISLNK(st.st_mode)) throw IoError::notRegularFile();
    // A link the user did not make may have been planted to have the save
    // overwrite some other file of the user's: the link itself is replaced.
    if (st.st_uid != ::geteuid()) return std::nullopt;
    const std::string link = folder == AT_FDCWD ? name : descriptorPath(folder) + "/" + name;
    std::unique_ptr<char, decltype(&std::free)> real(::realpath(link.c_str(), nullptr), &std::free);
    if (!real) {
        if (errno == ENOENT || errno == ENOTDIR) throw IoError::danglingLink();
        throw IoError::fromErrno(errno);
    }
    if (::stat(real.get(), &st) != 0) throw IoError::fromErrno(errno);
    if (!S_ISREG(st.st_mode)) throw IoError::notRegularFile();
    return fs::path(real.get());
}

// Whether a name is one of createTemp's.
bool isTemporaryName(std::string_view entry) {
    if (entry.size() != kTempPrefix.size() + kTempDigits ||
        entry.substr(0, kTempPrefix.size()) != kTempPrefix)
        return false;
    return lowerHexDigits(entry.substr(kTempPrefix.size()));
}

// ".<name>.<8 hex digits>": the temporary files of earlier versions, which a
// save killed before an update may have left, and the name each stands for.
std::optional<std::string> earlierTemporaryFor(const std::string& entry) {
    constexpr std::size_t kSuffix = 9;  // "." and eight hex digits
    if (entry.size() < 1 + 1 + kSuffix || entry.front() != '.') return std::nullopt;
    const std::size_t dot = entry.size() - kSuffix;
    if (entry[dot] != '.') return std::nullopt;
    if (!lowerHexDigits(std::string_view(entry).substr(dot + 1))) return std::nullopt;
    return entry.substr(1, dot - 1);
}

// Makes the rename itself durable; file systems that cannot sync a folder are
// left to their own guarantees.
void syncFolder(int folder) {
    if (::fsync(folder) != 0 && errno != EINVAL && errno != EROFS && errno != EBADF)
        throw IoError::fromErrno(errno);
}

// Removes the temporary files that no job holds: those of our current naming and
// the earlier versions' ones that `isOurs` accepts. `ownOnly` keeps other
// accounts' files in a shared folder theirs.
int removeStaleIn(int folder, const std::function<bool(std::string_view)>& isOurs, bool ownOnly) {
    int removed = 0;
    const auto dir = listingOf(folder);
    if (!dir) return 0;
    while (const dirent* e = ::readdir(dir.get())) {
        const std::string name = e->d_name;
        if (!isTemporaryName(name)) {
            const auto target = earlierTemporaryFor(name);
            if (!target || !isOurs(*target)) continue;
        }
        // Only a regular file is opened at all, and for writing where we may: on
        // NFS an exclusive lock needs a descriptor open for writing.
        struct stat seen {};
        if (::fstatat(folder, name.c_str(), &seen, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(seen.st_mode))
            continue;
        constexpr int kFlags = O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW;
        Fd fd(::openat(folder, name.c_str(), O_RDWR | kFlags));
        if (fd.get() < 0 && (errno == EACCES || errno == EROFS || errno == EPERM))
            fd = Fd(::openat(folder, name.c_str(), O_RDONLY | kFlags));
        struct stat st {};
        if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        if (ownOnly && st.st_uid != ::geteuid()) continue;
        // A save under way holds its temporary file locked.
        if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) continue;
        struct stat now {};
        if (::fstatat(folder, name.c_str(), &now, AT_SYMLINK_NOFOLLOW) != 0 ||
            now.st_ino != st.st_ino || now.st_dev != st.st_dev)
            continue;
        if (::unlinkat(folder, name.c_str(), 0) == 0) ++removed;
    }
    return removed;
}

}  // namespace

namespace {

// `extraFlags` may add O_NOFOLLOW, which refuses a link as no regular file.
int openRegular(const fs::path& file, int extraFlags, int folder = AT_FDCWD) {
    Fd fd(openRegularAt(folder, file, O_RDONLY | extraFlags));
    // Not blocking only while opening: a pipe would otherwise have waited for a writer.
    int flags = ::fcntl(fd.get(), F_GETFL);
    if (flags >= 0) ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK);
    return fd.release();
}

}  // namespace

int openForReading(const fs::path& file) {
    return openRegular(file, 0);
}

bool regularFileExists(const fs::path& file) {
    struct stat st {};
    if (::stat(file.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) throw IoError::notRegularFile();
        return true;
    }
    if (errno != ENOENT && errno != ENOTDIR) throw IoError::fromErrno(errno);
    if (::lstat(file.c_str(), &st) == 0) throw IoError::danglingLink();
    return false;
}

void ignoreFileSizeSignal() {
    // Set on every save, not once: nothing else may have put the default back.
    std::signal(SIGXFSZ, SIG_IGN);
}

FolderTrust folderTrust(const fs::path& folder) {
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0)
        return errno == ENOENT ? FolderTrust::Missing : FolderTrust::Foreign;
    if (!S_ISDIR(st.st_mode) || st.st_uid != ::geteuid() || (st.st_mode & (S_IWGRP | S_IWOTH)) != 0)
        return FolderTrust::Foreign;
    return FolderTrust::Fit;
}

int removeStaleTemporaries(const fs::path& folder, std::string_view pattern) {
    return removeStaleTemporaries(
        folder, [pattern](std::string_view name) { return matchesPattern(name, pattern); });
}

int removeStaleTemporaries(const fs::path& folder,
                           const std::function<bool(std::string_view)>& isOurs) {
    Fd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return dir.get() < 0 ? 0 : removeStaleIn(dir.get(), isOurs, false);
}

fs::path FileLock::lockFileOf(const fs::path& file) {
    return file.parent_path() / ("." + file.filename().string() + ".lock");
}

FileLock::FileLock(const fs::path& file)
    : fd_(openRegularFile(lockFileOf(file), O_RDWR | O_CREAT)) {
    while (::flock(fd_, LOCK_EX) != 0) {
        if (errno == EINTR) continue;
        // A file system without locks (some network shares) is written as it
        // always was, unlocked, rather than not at all.
        if (errno == ENOLCK || errno == EOPNOTSUPP || errno == EINVAL) break;
        int err = errno;
        ::close(fd_);
        throw IoError::fromErrno(err);
    }
}

FileLock::~FileLock() {
    ::close(fd_);  // releases the lock
}

namespace {

std::string readWhole(Fd fd) {
    // Sized once from the file and read straight into place: a year file is well
    // over a megabyte, and a buffer grown by doubling copies it several times.
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) throw IoError::fromErrno(errno);
    std::string out;
    std::size_t size = st.st_size > 0 ? std::size_t(st.st_size) : 0;
    out.resize(size + 1);  // one byte more shows a file that grew meanwhile
    std::size_t used = 0;
    for (;;) {
        if (used == out.size()) out.resize(out.size() + 65536);
        ssize_t n = ::read(fd.get(), out.data() + used, out.size() - used);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw IoError::fromErrno(errno);
        }
        if (n == 0) break;
        used += std::size_t(n);
    }
    out.resize(used);
    return out;
}

}  // namespace

std::string readFile(const fs::path& file) {
    return readWhole(Fd(openForReading(file)));
}

std::string readFileNoFollow(const fs::path& file) {
    return readWhole(Fd(openRegular(file, O_NOFOLLOW)));
}

std::string readFileNoFollow(const Folder& folder, const std::string& name) {
    return readWhole(Fd(openRegular(name, O_NOFOLLOW, folder.fd())));
}

Folder::Folder(const fs::path& path)
    : path_(path),
      fd_(::open(path.empty() ? "." : path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (fd_.get() < 0) throw IoError::fromErrno(errno);
}

std::vector<Folder::Entry> Folder::entries() const {
    std::vector<Entry> out;
    const auto dir = listingOf(fd());
    if (!dir) throw IoError::fromErrno(errno);
    errno = 0;
    while (const dirent* e = ::readdir(dir.get())) {
        const std::string name = e->d_name;
        if (name == "." || name == "..") continue;
        struct stat st {};
        const bool regular =
            ::fstatat(fd(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode);
        out.push_back({name, regular});
        errno = 0;
    }
    if (errno != 0) throw IoError::fromErrno(errno);
    std::sort(out.begin(), out.end(),
              [](const Entry& a, const Entry& b) { return a.name < b.name; });
    return out;
}

PendingReplacement::PendingReplacement(const fs::path& file) {
    const auto linked = linkedTarget(AT_FDCWD, file.string());
    target_ = linked ? *linked : file;
    const Folder folder(target_.parent_path());
    open(folder.fd(), target_.filename().string());
}

PendingReplacement::PendingReplacement(const Folder& folder, const std::string& name) {
    if (const auto linked = linkedTarget(folder.fd(), name)) {
        target_ = *linked;
        const Folder linkedFolder(target_.parent_path());
        open(linkedFolder.fd(), target_.filename().string());
    } else {
        target_ = folder.path() / name;
        open(folder.fd(), name);
    }
}

void PendingReplacement::open(int folderFd, const std::string& name) {
    folder_ = Fd(::fcntl(folderFd, F_DUPFD_CLOEXEC, 0));
    if (folder_.get() < 0) throw IoError::fromErrno(errno);
    // Leftovers of jobs killed where files cannot be made without a name.
    removeStaleIn(
        folder_.get(), [](std::string_view) { return false; }, true);
    fd_ = Fd(createTemp(folder_.get(), temporary_));
    name_ = name;
}

PendingReplacement::~PendingReplacement() {
    feed_.reset();  // its copier writes into fd_
    if (fd_.get() >= 0 && !temporary_.empty()) ::unlinkat(folder_.get(), temporary_.c_str(), 0);
}

fs::path PendingReplacement::writerPath() {
    if (!feed_) feed_ = std::make_unique<CheckedFeed>(fd_.get());
    return feed_->writerPath();
}

void PendingReplacement::commit(std::optional<unsigned> mode,
                                const std::function<void()>& beforeRename) {
    if (feed_) {
        feed_->finish();
        feed_.reset();
    }
    // The file keeps its permissions only when it is the user's own: another
    // account's file, readable by all, must not pass that on to pay data, nor
    // may the file at the end of its link.
    struct stat st {};
    if (mode) {
        if (::fchmod(fd_.get(), mode_t(*mode & 07777)) != 0) throw IoError::fromErrno(errno);
    } else if (::fstatat(folder_.get(), name_.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
               S_ISREG(st.st_mode) && st.st_uid == ::geteuid() &&
               ::fchmod(fd_.get(), st.st_mode & 07777) != 0) {
        throw IoError::fromErrno(errno);
    }
    if (::fsync(fd_.get()) != 0) throw IoError::fromErrno(errno);
    if (temporary_.empty()) temporary_ = nameTemporary(folder_.get(), fd_.get());
    if (beforeRename) beforeRename();
    // Still open, so still locked: the clean-up of a program starting meanwhile
    // keeps the file.
    if (::renameat(folder_.get(), temporary_.c_str(), folder_.get(), name_.c_str()) != 0) {
        const int err = errno;
        // The sticky bit of a shared folder keeps another account's file there
        // theirs: it can be neither written into nor replaced.
        if ((err == EPERM || err == EACCES) &&
            ::fstatat(folder_.get(), name_.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
            st.st_uid != ::geteuid())
            throw IoError::foreignFile();
        throw IoError::fromErrno(err);
    }
    temporary_.clear();
    fd_ = Fd();  // written and synced: nothing left to report
    syncFolder(folder_.get());
}

void writeFileAtomic(const fs::path& name, std::string_view bytes, std::optional<unsigned> mode) {
    PendingReplacement replacement(name);
    writeAll(replacement.fd(), bytes);
    replacement.commit(mode);
}

void writeFileAtomic(const Folder& folder, const std::string& name, std::string_view bytes,
                     std::optional<unsigned> mode) {
    PendingReplacement replacement(folder, name);
    writeAll(replacement.fd(), bytes);
    replacement.commit(mode);
}

namespace {

// Copies the whole source into the destination from their current offsets, in
// the kernel where it can.
void copyContent(int from, int to) {
    bool kernel = true;
    char buf[65536];
    for (;;) {
        ssize_t n;
        if (kernel) {
            n = ::copy_file_range(from, nullptr, to, nullptr, std::size_t(1) << 30, 0);
            if (n < 0 &&
                (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP)) {
                kernel = false;
                continue;
            }
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) throw IoError::fromErrno(errno);
            if (n == 0) return;
            continue;
        }
        n = ::read(from, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw IoError::fromErrno(errno);
        }
        if (n == 0) return;
        writeAll(to, std::string_view(buf, std::size_t(n)));
    }
}

void writeAt(int fd, std::int64_t offset, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::pwrite(fd, bytes.data() + done, bytes.size() - done,
                             off_t(offset + std::int64_t(done)));
        if (n < 0) {
            if (errno == EINTR) continue;
            throw IoError::fromErrno(errno);
        }
        done += std::size_t(n);
    }
}

}  // namespace

void writeFilePartsAtomic(const fs::path& name, std::int64_t minSize,
                          const std::vector<FilePart>& parts) {
    PendingReplacement replacement(name);
    // Another account's link is replaced, not read through.
    Fd source(openRegular(replacement.target(), O_NOFOLLOW));
    ignoreFileSizeSignal();
    struct stat st {};
    if (::fstat(source.get(), &st) != 0) throw IoError::fromErrno(errno);
    copyContent(source.get(), replacement.fd());
    if (st.st_size < minSize && ::ftruncate(replacement.fd(), off_t(minSize)) != 0)
        throw IoError::fromErrno(errno);
    for (const FilePart& part : parts) writeAt(replacement.fd(), part.offset, part.bytes);
    replacement.commit();
}

void copyReplacing(const fs::path& from, const fs::path& to) {
    writeFileAtomic(to, readFile(from));
}

void removeFile(const fs::path& file) {
    if (::unlink(file.c_str()) != 0 && errno != ENOENT) throw IoError::fromErrno(errno);
}

bool matchesPattern(std::string_view name, std::string_view pattern) {
    auto lower = [](char c) { return char(std::tolower(static_cast<unsigned char>(c))); };
    // Names are UTF-8: "?" stands for one character, not one byte, and a "*" gives
    // back whole characters, so "令和?年*.dat" finds "令和8年給与･賞与.dat".
    auto charLength = [&](std::size_t at) {
        std::size_t len = 1;
        while (at + len < name.size() &&
               (static_cast<unsigned char>(name[at + len]) & 0xC0) == 0x80)
            ++len;
        return len;
    };
    if (pattern == "*.*") pattern = "*";  // as on the original system
    // Classic two-pointer wildcard match with back-tracking over the last "*".
    std::size_t n = 0, p = 0, star = std::string_view::npos, mark = 0;
    while (n < name.size()) {
        // "*" first: a name that itself holds a "*" must not turn it into a literal.
        if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            mark = n;
        } else if (p < pattern.size() && pattern[p] == '?') {
            n += charLength(n);
            ++p;
        } else if (p < pattern.size() && lower(pattern[p]) == lower(name[n])) {
            ++n;
            ++p;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            mark += charLength(mark);
            n = mark;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

std::vector<fs::path> listByPattern(const fs::path& folder, std::string_view pattern) {
    std::vector<fs::path> out;
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        // An entry that cannot be examined (a dangling link, a file gone since the
        // listing began) is no regular file; it must not fail the whole listing.
        std::error_code statEc;
        if (!it->is_regular_file(statEc)) continue;
        if (matchesPattern(it->path().filename().string(), pattern)) out.push_back(it->path());
    }
    if (ec) throw IoError::fromErrno(ec.value());
    std::sort(out.begin(), out.end());
    return out;
}

}  // namespace platform
