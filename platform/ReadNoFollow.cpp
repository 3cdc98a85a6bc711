#include "platform/ReadNoFollow.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/Errors.h"

namespace platform {

std::string readFileNoFollow(const std::filesystem::path& file) {
    // Not blocking, so that a pipe in the file's place cannot hold the open.
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ELOOP) throw IoError::notRegularFile();
        throw IoError::fromErrno(errno);
    }
    std::string out;
    int err = 0;
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        err = errno;
    } else if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        throw IoError::notRegularFile();
    } else {
        char buf[65536];
        for (;;) {
            const ssize_t n = ::read(fd, buf, sizeof buf);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) err = errno;
            if (n <= 0) break;
            out.append(buf, std::size_t(n));
        }
    }
    ::close(fd);
    if (err != 0) throw IoError::fromErrno(err);
    return out;
}

}  // namespace platform
