#include "platform/RegularFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/Errors.h"

namespace platform {

namespace {

constexpr int kNotRegular = -1;

// The descriptor, or -1 with `err` the errno or kNotRegular.
int tryOpenRegular(int folder, const std::filesystem::path& file, int flags, mode_t mode,
                   int& err) {
    const int fd = ::openat(folder, file.c_str(), flags | O_NONBLOCK | O_CLOEXEC, mode);
    struct stat st {};
    if (fd >= 0) {
        const bool looked = ::fstat(fd, &st) == 0;
        err = looked ? kNotRegular : errno;
        if (looked && S_ISREG(st.st_mode)) return fd;
        // A device opens and would take whatever is written to it.
        ::close(fd);
        return -1;
    }
    err = errno;
    // A link refused, a pipe without a reader or a folder fails with a code that
    // tells the user nothing: named for what it is not.
    if ((flags & O_NOFOLLOW) && ::fstatat(folder, file.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
        !S_ISREG(st.st_mode))
        err = kNotRegular;
    return -1;
}

}  // namespace

int openRegularAt(int folder, const std::filesystem::path& file, int flags, mode_t mode) {
    int err = 0;
    const int fd = tryOpenRegular(folder, file, flags, mode, err);
    if (fd >= 0) return fd;
    throw err == kNotRegular ? IoError::notRegularFile() : IoError::fromErrno(err);
}

int openRegularFile(const std::filesystem::path& file, int flags, mode_t mode) {
    int err = 0;
    const int fd = tryOpenRegular(AT_FDCWD, file, flags | O_NOFOLLOW, mode, err);
    if (fd >= 0) return fd;
    if (err != kNotRegular) throw IoError::fromErrno(err);
    // Which file it is matters here: the code alone names nothing the user put there.
    const IoError e = IoError::notRegularFile();
    throw IoError(e.code(), std::string(e.what()) + "\n" + file.string());
}

}  // namespace platform
