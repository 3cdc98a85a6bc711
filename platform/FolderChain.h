#pragma once
#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// An account-database group as far as its write permission matters: the
// accounts it holds, by the names it lists and by their primary group.
struct GroupMembers {
    std::vector<uid_t> listed;   // the uids of the names it lists; -1 for a name that is no account
    std::vector<uid_t> primary;  // every account whose primary group it is
};
// The members of a group, or nothing when it cannot be looked up.
using GroupLookup = std::function<std::optional<GroupMembers>(gid_t)>;
// The system's account database.
std::optional<GroupMembers> systemGroupMembers(gid_t gid);

// Whether a group admits nobody but the user: the private group that accounts
// are made with, under which desktops set umask 002.
bool isPrivateGroupOf(const std::optional<GroupMembers>& group, uid_t user);

// How to walk the way to a folder.
struct FolderWay {
    // Makes each missing folder, readable by the user only, where it is missing.
    bool make = false;
    // The folder itself must be the user's own, not only safe.
    bool ownLast = false;
    GroupLookup groups = systemGroupMembers;
    // Runs with each folder just before it is made, for tests that put another
    // account's folder there first.
    std::function<void(const std::filesystem::path&)> beforeMake;
};

struct FolderWayResult {
    enum class Status {
        Safe,     // the whole way, the folder itself included, may be trusted
        Missing,  // safe as far as it goes; `at` is the first name not there
        Unsafe,   // `at` is another account's, or open to others: refused
        Failed,   // `at` could not be looked at or made (`error`), or is no folder
    };
    Status status = Status::Safe;
    std::filesystem::path at;
    int error = 0;
};

// Walks from the root to `folder` one name at a time through descriptors, as the
// kernel resolves it, so that every folder and link it passes through is looked
// at, and each folder is checked on the descriptor that leads on (or is made
// there): a name swapped between a check and its use is never passed through
// unchecked. A folder must be root's or the user's, and closed to others unless
// the only others are those of the user's private group, or it is root's and
// sticky as /tmp is, where nobody renames what is not theirs. A link must be
// root's or the user's, and the way to its target is walked in turn.
FolderWayResult walkFolderWay(const std::filesystem::path& folder, const FolderWay& how = {});

}  // namespace platform
