#include "platform/FolderChain.h"

#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace platform {
namespace fs = std::filesystem;

namespace {

// More links than the kernel itself follows in one name is a loop.
constexpr int kMaxLinks = 40;

bool trustedOwner(uid_t uid) {
    return uid == 0 || uid == ::geteuid();
}

bool safeFolder(const struct stat& st) {
    if (!trustedOwner(st.st_uid)) return false;
    if ((st.st_mode & (S_IWGRP | S_IWOTH)) == 0) return true;
    return st.st_uid == 0 && (st.st_mode & S_ISVTX) != 0;
}

// Puts the names of a path on the stack so that its first name comes off first.
void pushNames(std::vector<std::string>& names, const fs::path& path) {
    std::vector<std::string> in;
    for (const fs::path& name : path.relative_path()) in.push_back(name.string());
    names.insert(names.end(), in.rbegin(), in.rend());
}

}  // namespace

std::optional<fs::path> unsafeFolderOnPath(const fs::path& folder) {
    std::error_code ec;
    const fs::path absolute = fs::absolute(folder, ec);
    if (ec) return folder;
    // Walked name by name as the kernel resolves it, so that every folder and
    // every link the name passes through is looked at, not only those it spells.
    std::vector<std::string> names;
    pushNames(names, absolute);
    fs::path at = "/";
    struct stat st {};
    if (::lstat("/", &st) != 0 || !safeFolder(st)) return at;
    int links = 0;
    while (!names.empty()) {
        const std::string name = std::move(names.back());
        names.pop_back();
        if (name.empty() || name == ".") continue;
        if (name == "..") {
            at = at.parent_path();
            continue;
        }
        const fs::path next = at / name;
        if (::lstat(next.c_str(), &st) != 0) return std::nullopt;
        if (S_ISLNK(st.st_mode)) {
            if (!trustedOwner(st.st_uid) || ++links > kMaxLinks) return next;
            const fs::path target = fs::read_symlink(next, ec);
            if (ec) return next;
            if (target.is_absolute()) at = "/";
            pushNames(names, target);
            continue;
        }
        if (!S_ISDIR(st.st_mode)) return std::nullopt;
        if (!safeFolder(st)) return next;
        at = next;
    }
    return std::nullopt;
}

}  // namespace platform
