#pragma once
#include <fcntl.h>
#include <sys/types.h>

#include <filesystem>

namespace platform {

// Opens `file` (in the folder behind the descriptor `folder`, or by its path with
// AT_FDCWD) with the given open flags, never waiting on a pipe, and returns its
// descriptor only when it is a regular file. Anything else at the name (a pipe, a
// device, a folder, and a link where the flags hold O_NOFOLLOW) throws
// IoError::notRegularFile(); any other failure IoError for its errno.
int openRegularAt(int folder, const std::filesystem::path& file, int flags, mode_t mode = 0600);

// Opens a file the programs keep beside their data (the event log, the settings
// lock) as openRegularAt does, never through a symbolic link; what is no regular
// file is named in the IoError with the text for it.
int openRegularFile(const std::filesystem::path& file, int flags, mode_t mode = 0600);

}  // namespace platform
