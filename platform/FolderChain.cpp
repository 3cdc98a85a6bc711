#include "platform/FolderChain.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/Fd.h"

namespace platform {
namespace fs = std::filesystem;

namespace {

// More links than the kernel itself follows in one name is a loop.
constexpr int kMaxLinks = 40;
// A name that keeps changing between our looks at it is not taken.
constexpr int kMaxTries = 8;

std::vector<char> accountBuffer() {
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    return std::vector<char>(size > 0 ? std::size_t(size) : 16384);
}

bool trustedOwner(uid_t uid) {
    return uid == 0 || uid == ::geteuid();
}

// Whether each group met on one walk is the user's private group: a home and
// the folders made in it under umask 002 share one, looked up once.
class PrivateGroups {
public:
    explicit PrivateGroups(const GroupLookup& lookup) : lookup_(lookup) {}
    bool contains(gid_t gid) {
        auto [it, added] = known_.try_emplace(gid, false);
        if (added) it->second = isPrivateGroupOf(lookup_(gid), ::geteuid());
        return it->second;
    }

private:
    const GroupLookup& lookup_;
    std::map<gid_t, bool> known_;
};

bool safeFolder(const struct stat& st, PrivateGroups& groups) {
    if (!trustedOwner(st.st_uid)) return false;
    if ((st.st_mode & (S_IWGRP | S_IWOTH)) == 0) return true;
    if (st.st_uid == 0 && (st.st_mode & S_ISVTX) != 0) return true;
    if ((st.st_mode & S_IWOTH) != 0) return false;
    return groups.contains(st.st_gid);
}

// Puts the names of a path on the stack so that its first name comes off first.
void pushNames(std::vector<std::string>& names, const fs::path& path) {
    std::vector<std::string> in;
    for (const fs::path& name : path.relative_path()) in.push_back(name.string());
    names.insert(names.end(), in.rbegin(), in.rend());
}

std::optional<std::string> linkTarget(int dirfd, const std::string& name) {
    std::vector<char> buf(256);
    for (;;) {
        const ssize_t n = ::readlinkat(dirfd, name.c_str(), buf.data(), buf.size());
        if (n < 0) return std::nullopt;
        if (std::size_t(n) < buf.size()) return std::string(buf.data(), std::size_t(n));
        buf.resize(buf.size() * 2);
    }
}

using Status = FolderWayResult::Status;

FolderWayResult outcome(Status status, fs::path at, int error = 0) {
    return FolderWayResult{status, std::move(at), error};
}

}  // namespace

std::optional<GroupMembers> systemGroupMembers(gid_t gid) {
    std::vector<char> buf = accountBuffer();
    group gr{};
    group* found = nullptr;
    int err;
    while ((err = ::getgrgid_r(gid, &gr, buf.data(), buf.size(), &found)) == ERANGE)
        buf.resize(buf.size() * 2);
    if (err != 0 || !found) return std::nullopt;
    GroupMembers members;
    for (char** name = gr.gr_mem; name && *name; ++name) {
        std::vector<char> pwBuf = accountBuffer();
        passwd pw{};
        passwd* account = nullptr;
        while ((err = ::getpwnam_r(*name, &pw, pwBuf.data(), pwBuf.size(), &account)) == ERANGE)
            pwBuf.resize(pwBuf.size() * 2);
        if (err != 0) return std::nullopt;
        members.listed.push_back(account ? account->pw_uid : uid_t(-1));
    }
    // Nothing else in the programs reads the account list, so its one cursor is ours.
    std::vector<char> pwBuf = accountBuffer();
    ::setpwent();
    for (;;) {
        passwd pw{};
        passwd* account = nullptr;
        err = ::getpwent_r(&pw, pwBuf.data(), pwBuf.size(), &account);
        if (err == ERANGE) {
            pwBuf.resize(pwBuf.size() * 2);
            continue;
        }
        if (err != 0 || !account) break;
        if (account->pw_gid == gid) members.primary.push_back(account->pw_uid);
    }
    ::endpwent();
    return members;
}

bool isPrivateGroupOf(const std::optional<GroupMembers>& group, uid_t user) {
    if (!group) return false;
    for (uid_t uid : group->listed)
        if (uid != user) return false;
    for (uid_t uid : group->primary)
        if (uid != user) return false;
    return true;
}

FolderWayResult walkFolderWay(const fs::path& folder, const FolderWay& how) {
    std::error_code ec;
    const fs::path absolute = fs::absolute(folder, ec);
    if (ec) return outcome(Status::Failed, folder, ec.value());
    std::vector<std::string> names;
    pushNames(names, absolute);

    struct Passed {
        fs::path path;
        Fd fd;
        uid_t owner;
    };
    PrivateGroups groups(how.groups);
    struct stat st {};
    // The folders passed through, the root first: ".." goes back one, as the
    // kernel takes it after a link.
    std::vector<Passed> way;
    Fd root(::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (root.get() < 0 || ::fstat(root.get(), &st) != 0) return outcome(Status::Failed, "/", errno);
    if (!safeFolder(st, groups)) return outcome(Status::Unsafe, "/");
    way.push_back({"/", std::move(root), st.st_uid});

    int links = 0;
    while (!names.empty()) {
        const std::string name = std::move(names.back());
        names.pop_back();
        if (name.empty() || name == ".") continue;
        if (name == "..") {
            if (way.size() > 1) way.pop_back();
            continue;
        }
        const int at = way.back().fd.get();
        const fs::path next = way.back().path / name;
        for (int tries = 0;; ++tries) {
            if (tries == kMaxTries) return outcome(Status::Failed, next, EAGAIN);
            if (::fstatat(at, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode)) {
                if (!trustedOwner(st.st_uid) || ++links > kMaxLinks)
                    return outcome(Status::Unsafe, next);
                const auto target = linkTarget(at, name);
                if (!target) {
                    if (errno == EINVAL) continue;  // no longer a link
                    return outcome(Status::Failed, next, errno);
                }
                if (!target->empty() && (*target)[0] == '/') way.resize(1);
                pushNames(names, *target);
                break;
            }
            Fd fd(::openat(at, name.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
            if (fd.get() >= 0) {
                if (::fstat(fd.get(), &st) != 0) return outcome(Status::Failed, next, errno);
                if (S_ISLNK(st.st_mode)) continue;
                if (!S_ISDIR(st.st_mode)) return outcome(Status::Failed, next, ENOTDIR);
                if (!safeFolder(st, groups)) return outcome(Status::Unsafe, next);
                way.push_back({next, std::move(fd), st.st_uid});
                break;
            }
            if (errno == ELOOP || errno == ENOTDIR) {
                // A link put there since we looked is looked at again; anything
                // else that is no folder ends the way.
                if (::fstatat(at, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
                    !S_ISLNK(st.st_mode) && !S_ISDIR(st.st_mode))
                    return outcome(Status::Failed, next, ENOTDIR);
                continue;
            }
            if (errno != ENOENT) return outcome(Status::Failed, next, errno);
            if (!how.make) return outcome(Status::Missing, next);
            if (how.beforeMake) how.beforeMake(next);
            // Whoever made it first, what is there is opened and checked on the next round.
            if (::mkdirat(at, name.c_str(), 0700) != 0 && errno != EEXIST)
                return outcome(Status::Failed, next, errno);
        }
    }
    if (how.ownLast && way.back().owner != ::geteuid()) return outcome(Status::Unsafe, folder);
    return outcome(Status::Safe, way.back().path);
}

}  // namespace platform
