#pragma once
#include <filesystem>
#include <optional>

namespace platform {

// The first folder on the way from the root to `folder` (the folder itself
// included) that another account could rename away and replace with its own, or
// fill with names of its choosing: one that is neither root's nor the user's, or
// that others (group or all) may write into, unless it is root's and sticky as
// /tmp is, where nobody renames what is not theirs. A symbolic link on the way
// must be root's or the user's, and the way to its target is walked in turn.
// The walk ends at the first name that is not there yet (it will be made
// private) or is no folder (the caller's own checks report it). Nothing when
// the whole way is safe.
std::optional<std::filesystem::path> unsafeFolderOnPath(const std::filesystem::path& folder);

}  // namespace platform
