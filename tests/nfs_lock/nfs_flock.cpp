// Preloaded into the programs to make local locks behave as on a home over NFS:
// there the kernel emulates flock with a byte-range lock, and an exclusive one
// needs a descriptor open for writing.
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>

extern "C" int flock(int fd, int operation) {
    using Flock = int (*)(int, int);
    static const Flock real = reinterpret_cast<Flock>(::dlsym(RTLD_NEXT, "flock"));
    const int mode = ::fcntl(fd, F_GETFL);
    if ((operation & LOCK_EX) != 0 && mode >= 0 && (mode & O_ACCMODE) == O_RDONLY) {
        errno = EBADF;
        return -1;
    }
    return real(fd, operation);
}
