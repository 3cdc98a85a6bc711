#pragma once
#include <sys/types.h>

#include <filesystem>

namespace platform {

// Opens a file the programs keep beside their data (the event log, the settings
// lock) with the given open flags, never through a symbolic link and never
// waiting on a pipe, and returns its descriptor only when it is a regular file.
// Anything else at the name (a link, a pipe, a device, a folder) throws IoError
// with the text for it and the file's name, and any other failure IoError.
int openRegularFile(const std::filesystem::path& file, int flags, mode_t mode = 0600);

}  // namespace platform
