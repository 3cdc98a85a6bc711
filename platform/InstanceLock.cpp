#include "platform/InstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/Fd.h"
#include "platform/Files.h"

namespace platform {
namespace fs = std::filesystem;

InstanceLock::InstanceLock(const fs::path& folder, const std::string& program, LockCall lockCall)
    : file_(folder / ("." + program + ".instance")), lockCall_(lockCall) {}

InstanceLock::~InstanceLock() {
    if (fd_ >= 0) ::close(fd_);  // releases the lock; the empty file may stay
}

InstanceLock::Result InstanceLock::tryAcquire() {
    if (fd_ >= 0) return Result::Acquired;
    // Opened for writing, which some file systems need for an exclusive lock
    // (NFS locks a byte range in its place), though nothing is written; read-only
    // where writing is refused, so that a file left read-only (by a restore, say)
    // or a read-only file system serves as well as any.
    constexpr int kFlags = O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;
    int fd = ::open(file_.c_str(), O_RDWR | kFlags, 0600);
    const bool readOnly = fd < 0 && (errno == EACCES || errno == EROFS);
    if (readOnly) fd = ::open(file_.c_str(), O_RDONLY | kFlags, 0600);
    if (fd < 0) return Result::Unusable;
    struct stat st {};
    // Whatever the umask made of a new file, and whoever's file this is, it must be
    // this user's own regular file and nobody else's to read.
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid() ||
        (::fchmod(fd, 0600) != 0 && errno != EROFS)) {
        ::close(fd);
        return Result::Unusable;
    }
    if (readOnly) {
        // The user's own file now lets its owner write: the very same file opened
        // for writing serves where the lock needs that.
        if (int writable = ::open(descriptorPath(fd).c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
            writable >= 0) {
            ::close(fd);
            fd = writable;
        }
    }
    while (lockCall_(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR) continue;
        const int err = errno;
        ::close(fd);
        return err == EWOULDBLOCK ? Result::Held : Result::Unlockable;
    }
    fd_ = fd;
    return Result::Acquired;
}

namespace {

bool fitsSocketName(const std::string& path) {
    return !path.empty() && path.size() < sizeof(sockaddr_un::sun_path);
}

// FNV-1a: stable across builds and runs, so that both programs name it alike.
std::string hashText(const std::string& text) {
    std::uint64_t h = 14695981039346656037ull;
    for (unsigned char c : text) {
        h ^= c;
        h *= 1099511628211ull;
    }
    char out[17];
    std::snprintf(out, sizeof out, "%016llx", static_cast<unsigned long long>(h));
    return out;
}

}  // namespace

std::string instanceSocketPath(const fs::path& folder, const std::string& program,
                               const fs::path& runtimeDir) {
    // Every path to the folder (a link to the drive, "..", a doubled slash) must
    // lead the copies to one and the same name.
    std::error_code ec;
    const fs::path resolved = fs::canonical(folder, ec);
    const fs::path key = ec ? folder.lexically_normal() : resolved;
    const std::string beside = (key / ("." + program + ".socket")).string();
    if (fitsSocketName(beside)) return beside;
    if (runtimeDir.empty() || folderTrust(runtimeDir) != FolderTrust::Fit) return {};
    const std::string runtime =
        (runtimeDir / (program + "-" + hashText(key.string()) + ".socket")).string();
    return fitsSocketName(runtime) ? runtime : std::string();
}

}  // namespace platform
