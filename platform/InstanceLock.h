#pragma once
#include <sys/file.h>

#include <filesystem>
#include <string>
#include <string_view>

// Where one running copy of a program per settings folder announces itself. The
// lock and the socket live with the data, in the settings folder that only the
// user can write, so that neither another account nor a different temporary
// folder or path to the same folder lets a second copy in.
namespace platform {

inline constexpr std::string_view kSecondCopy = "このプログラムは二重起動できません。";
inline constexpr std::string_view kInstanceLockUnusable =
    "次のファイルは開けないか通常のファイルでないため、二重起動の確認に使えません。";
inline constexpr std::string_view kInstanceLockUnlockable =
    "次のファイルはロックできないため、二重起動の確認に使えません。";

// An exclusive lock (flock) on "<folder>/.<program>.instance", created for its
// owner only. The kernel drops it when the holder ends, however it ends, so a
// copy that died never blocks the next. The file holds nothing.
class InstanceLock {
public:
    // The call that locks a descriptor, flock's signature; tests put in one that
    // behaves as other file systems do.
    using LockCall = int (*)(int fd, int operation);

    InstanceLock(const std::filesystem::path& folder, const std::string& program,
                 LockCall lockCall = ::flock);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    enum class Result {
        Acquired,  // this copy now holds the lock
        Held,      // another copy holds it
        // The lock file cannot be opened, or is no regular file of the user's
        // own (a pipe, a link, a folder): nothing tells whether another copy runs.
        Unusable,
        // The file system refuses the lock (no locks there at all, or none that
        // this descriptor can take): nothing tells whether another copy runs.
        Unlockable,
    };
    Result tryAcquire();

    const std::filesystem::path& file() const { return file_; }

private:
    std::filesystem::path file_;
    LockCall lockCall_;
    int fd_ = -1;
};

// The socket on which the first copy listens: "<resolved folder>/.<program>.socket",
// or, where that would not fit a Unix socket name, "<runtimeDir>/<program>-<hash of
// the resolved folder>.socket", provided runtimeDir is the user's own folder closed
// to others. Empty when neither can be used.
std::string instanceSocketPath(const std::filesystem::path& folder, const std::string& program,
                               const std::filesystem::path& runtimeDir);

}  // namespace platform
