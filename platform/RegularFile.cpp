#include "platform/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/Errors.h"

namespace platform {

namespace {

// Which file it is matters here: the code alone names nothing the user put there.
IoError notRegular(const std::filesystem::path& file) {
    const IoError e = IoError::notRegularFile();
    return IoError(e.code(), std::string(e.what()) + "\n" + file.string());
}

}  // namespace

int openRegularFile(const std::filesystem::path& file, int flags, mode_t mode) {
    const int fd = ::open(file.c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, mode);
    struct stat st {};
    if (fd >= 0) {
        const bool looked = ::fstat(fd, &st) == 0;
        const int err = errno;
        if (looked && S_ISREG(st.st_mode)) return fd;
        ::close(fd);
        // A device opens and would take whatever is written to it.
        if (looked) throw notRegular(file);
        throw IoError::fromErrno(err);
    }
    const int err = errno;
    // A link, a pipe without a reader or a folder fails with a code that tells
    // the user nothing: named for what it is not.
    if (::lstat(file.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) throw notRegular(file);
    throw IoError::fromErrno(err);
}

}  // namespace platform
