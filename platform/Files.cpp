#include "platform/Files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

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

#include "platform/Errors.h"
#include "platform/RegularFile.h"

namespace platform {
namespace fs = std::filesystem;

namespace {

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    int release() {
        int fd = fd_;
        fd_ = -1;
        return fd;
    }

private:
    int fd_;
};

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

// A name that opens the file behind a descriptor, for calls that take names only.
std::string descriptorPath(int fd) {
    return "/proc/self/fd/" + std::to_string(fd);
}

std::string temporaryName(const fs::path& folder, std::random_device& rd) {
    char digits[kTempDigits + 1];
    std::snprintf(digits, sizeof digits, "%04x%08x", unsigned(rd()) & 0xffffu, unsigned(rd()));
    return (folder / (std::string(kTempPrefix) + digits)).string();
}

void lock(int fd) {
    while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
    }
}

// A fresh file beside the target, for its owner only: a file saved for the first
// time holds pay data. Its name cannot be guessed and it is created exclusively,
// so nothing planted under that name (a link above all) is ever written through.
// It is locked from before it has its name until it has been renamed, which tells
// the start-up clean-up of the other program that it is no leftover: it is made
// without a name, locked and only then named where the file system allows.
int createTemp(const fs::path& folder, std::string& name) {
    std::random_device rd;
    const char* where = folder.empty() ? "." : folder.c_str();
    int unnamed = ::open(where, O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (unnamed >= 0) {
        lock(unnamed);
        const std::string self = descriptorPath(unnamed);
        for (int attempt = 0; attempt < 100; ++attempt) {
            name = temporaryName(folder, rd);
            if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
                return unnamed;
            if (errno != EEXIST) break;
        }
        ::close(unnamed);  // named the usual way below, or the failure reported there
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = temporaryName(folder, rd);
        int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0) {
            lock(fd);
            return fd;
        }
        if (errno != EEXIST) throw IoError::fromErrno(errno);
    }
    throw IoError::fromErrno(EEXIST);
}

// The regular file a save replaces: the name itself, or the file a link of the
// user's own names, so that the link survives and its file is the one updated.
fs::path saveTarget(const fs::path& file) {
    struct stat st {};
    if (::lstat(file.c_str(), &st) != 0) {
        if (errno == ENOENT) return file;  // a new file
        throw IoError::fromErrno(errno);
    }
    if (S_ISREG(st.st_mode)) return file;
    if (!S_ISLNK(st.st_mode)) throw IoError::notRegularFile();
    // A link the user did not make may have been planted to have the save
    // overwrite some other file of the user's: the link itself is replaced.
    if (st.st_uid != ::geteuid()) return file;
    std::unique_ptr<char, decltype(&std::free)> real(::realpath(file.c_str(), nullptr), &std::free);
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
void syncFolder(const fs::path& folder) {
    Fd dir(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() < 0) return;
    if (::fsync(dir.get()) != 0 && errno != EINVAL && errno != EROFS)
        throw IoError::fromErrno(errno);
}

}  // namespace

namespace {

// `extraFlags` may add O_NOFOLLOW, which refuses a link as no regular file.
int openRegular(const fs::path& file, int extraFlags) {
    // Not blocking: opening a pipe for reading would otherwise wait for a writer.
    Fd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | extraFlags));
    if (fd.get() < 0) {
        if (errno == ELOOP && (extraFlags & O_NOFOLLOW)) throw IoError::notRegularFile();
        throw IoError::fromErrno(errno);
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) throw IoError::fromErrno(errno);
    if (!S_ISREG(st.st_mode)) throw IoError::notRegularFile();
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

bool createPrivateFolders(const fs::path& folder, std::error_code& ec) {
    ec.clear();
    if (fs::is_directory(folder, ec)) return true;
    ec.clear();
    const fs::path parent = folder.parent_path();
    if (!parent.empty() && parent != folder && !createPrivateFolders(parent, ec)) return false;
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        ec.assign(errno, std::generic_category());
        return false;
    }
    if (!fs::is_directory(folder, ec)) {
        if (!ec) ec = std::make_error_code(std::errc::not_a_directory);
        return false;
    }
    return true;
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
    int removed = 0;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path entry = it->path();
        const std::string name = entry.filename().string();
        if (!isTemporaryName(name)) {
            const auto target = earlierTemporaryFor(name);
            if (!target || !isOurs(*target)) continue;
        }
        Fd fd(::open(entry.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW));
        struct stat st {};
        if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        // A save under way holds its temporary file locked.
        if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) continue;
        struct stat now {};
        if (::lstat(entry.c_str(), &now) != 0 || now.st_ino != st.st_ino || now.st_dev != st.st_dev)
            continue;
        if (::unlink(entry.c_str()) == 0) ++removed;
    }
    return removed;
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

PendingReplacement::PendingReplacement(const fs::path& file)
    : target_(saveTarget(file)), fd_(createTemp(target_.parent_path(), temporary_)) {}

PendingReplacement::~PendingReplacement() {
    if (fd_ < 0) return;
    ::unlink(temporary_.c_str());
    ::close(fd_);
}

fs::path PendingReplacement::writerPath() const {
    return descriptorPath(fd_);
}

void PendingReplacement::commit(std::optional<unsigned> mode,
                                const std::function<void()>& beforeRename) {
    // The file keeps its permissions only when it is the user's own: another
    // account's file, readable by all, must not pass that on to pay data, nor
    // may the file at the end of its link.
    struct stat st {};
    if (mode) {
        if (::fchmod(fd_, mode_t(*mode & 07777)) != 0) throw IoError::fromErrno(errno);
    } else if (::lstat(target_.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
               st.st_uid == ::geteuid() && ::fchmod(fd_, st.st_mode & 07777) != 0) {
        throw IoError::fromErrno(errno);
    }
    if (::fsync(fd_) != 0) throw IoError::fromErrno(errno);
    if (beforeRename) beforeRename();
    // Still open, so still locked: the clean-up of a program starting meanwhile
    // keeps the file.
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
        const int err = errno;
        // The sticky bit of a shared folder keeps another account's file there
        // theirs: it can be neither written into nor replaced.
        if ((err == EPERM || err == EACCES) && ::lstat(target_.c_str(), &st) == 0 &&
            st.st_uid != ::geteuid())
            throw IoError::foreignFile();
        throw IoError::fromErrno(err);
    }
    ::close(std::exchange(fd_, -1));  // written and synced: nothing left to report
    syncFolder(target_.parent_path());
}

void writeFileAtomic(const fs::path& name, std::string_view bytes, std::optional<unsigned> mode) {
    PendingReplacement replacement(name);
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
