#include "support/OtherAccount.h"

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>
#include <string>

#include "support/TempDir.h"

namespace testing_support {

bool canActAsOtherAccount() {
    return ::geteuid() == 0;
}

int runAsOtherAccount(const std::function<int()>& step, uid_t uid) {
    const pid_t pid = ::fork();
    if (pid < 0) return -1;
    if (pid == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(uid) != 0 || ::setuid(uid) != 0) ::_exit(255);
        ::_exit(step() & 0xff);
    }
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) == 255)
        return -1;
    return WEXITSTATUS(status);
}

void giveToOtherAccount(const std::filesystem::path& path, uid_t uid) {
    if (::lchown(path.c_str(), uid, uid) != 0)
        throw std::runtime_error("cannot hand " + path.string() + " to uid " + std::to_string(uid));
}

std::filesystem::path makeSharedFolder(const std::filesystem::path& parent, bool sticky) {
    const std::filesystem::path folder = parent / "shared";
    std::filesystem::create_directory(folder);
    if (::chmod(parent.c_str(), 0755) != 0 || ::chmod(folder.c_str(), sticky ? 01777 : 0777) != 0)
        throw std::runtime_error("cannot open " + folder.string() + " to all");
    writeText(parent / "private.txt", "mine");
    return folder;
}

}  // namespace testing_support
