#include "platform/InstanceLock.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "support/OtherAccount.h"
#include "support/TempDir.h"

namespace {
namespace fs = std::filesystem;
using platform::InstanceLock;
using Result = InstanceLock::Result;
using testing_support::TempDir;

// As NFS emulates flock: an exclusive lock needs a descriptor open for writing.
int nfsLock(int fd, int operation) {
    if ((operation & LOCK_EX) != 0 && (::fcntl(fd, F_GETFL) & O_ACCMODE) == O_RDONLY) {
        errno = EBADF;
        return -1;
    }
    return ::flock(fd, operation);
}

int noLocks(int, int) {
    errno = ENOLCK;
    return -1;
}

// The lock is taken wherever the file system can lock at all, whatever
// descriptor that needs; where it cannot, that is said, not taken for a running
// copy nor for none. A read-only lock file needs a user whom its mode binds.
TEST(InstanceLock, TakenWhereverTheFileSystemLocksAndOtherwiseSaidToBeUnlockable) {
    using testing_support::canActAsOtherAccount;
    using testing_support::runAsOtherAccount;
    struct Case {
        const char* what;
        InstanceLock::LockCall lock;
        mode_t existing;  // the lock file's mode when it is there before the start
        bool heldByFirst;
        Result expected;
    };
    const Case cases[] = {
        {"as NFS locks, a first start", nfsLock, 0, false, Result::Acquired},
        {"as NFS locks, a lock file left behind", nfsLock, 0600, false, Result::Acquired},
        {"as NFS locks, a second copy", nfsLock, 0, true, Result::Held},
        {"a read-only lock file of ours", ::flock, 0400, false, Result::Acquired},
        {"as NFS locks, a read-only lock file of ours", nfsLock, 0400, false, Result::Acquired},
        {"a file system without locks", noLocks, 0, false, Result::Unlockable},
    };
    for (const Case& c : cases) {
        TempDir t;
        const fs::path folder = t / "settings";
        fs::create_directory(folder);
        const fs::path file = folder / ".T.instance";
        if (c.existing) {
            ::close(::open(file.c_str(), O_CREAT | O_WRONLY, c.existing));
            ::chmod(file.c_str(), c.existing);
        }
        auto attempt = [&] {
            InstanceLock first(folder, "T", c.lock);
            if (c.heldByFirst && first.tryAcquire() != Result::Acquired) return -1;
            InstanceLock lock(folder, "T", c.lock);
            return int(lock.tryAcquire());
        };
        int result;
        if (::geteuid() != 0) {
            result = attempt();
        } else {
            // Root writes whatever the mode says: the start is made as another account.
            ASSERT_TRUE(canActAsOtherAccount());
            ::chmod(t.path().c_str(), 0755);
            testing_support::giveToOtherAccount(folder);
            if (c.existing) testing_support::giveToOtherAccount(file);
            result = runAsOtherAccount(attempt);
        }
        EXPECT_EQ(result, int(c.expected)) << c.what;
    }
}

}  // namespace
