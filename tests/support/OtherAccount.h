#pragma once
#include <sys/types.h>

#include <filesystem>
#include <functional>

namespace testing_support {

// A second local account for the checks that another account's files and
// folders are never ours to use. Acting as it needs root; tests skip those
// cases otherwise and keep a variant that needs none.
inline constexpr uid_t kOtherUid = 54321;

bool canActAsOtherAccount();

// Runs the step in a child process as the other account (uid and gid) and
// returns what the step returned, or -1 when the child could not switch or
// died.
int runAsOtherAccount(const std::function<int()>& step, uid_t uid = kOtherUid);

// Hands a file or folder (not a link's target) to the other account.
void giveToOtherAccount(const std::filesystem::path& path, uid_t uid = kOtherUid);

// A folder every account may write into, sticky as /tmp is or not, made in
// `parent` (opened for passing through) beside "private.txt", a file of ours
// holding "mine" for a planted link to point at. Returns the folder.
std::filesystem::path makeSharedFolder(const std::filesystem::path& parent, bool sticky);

}  // namespace testing_support
