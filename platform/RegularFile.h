#pragma once
#include <sys/types.h>

#include <filesystem>

namespace platform {

class IoError;

// The same failure with the file's name on a line of its own, for a message that
// must say which file it was.
IoError namingFile(const IoError& e, const std::filesystem::path& file);

// Opens a file the programs keep beside their data (the event log, the settings
// lock) with the given open flags, never through a symbolic link and never
// waiting on a pipe, and returns its descriptor only when it is a regular file.
// Anything else at the name (a link, a pipe, a device, a folder), and any other
// failure, throws IoError with its text and the file's name.
int openRegularFile(const std::filesystem::path& file, int flags, mode_t mode = 0600);

}  // namespace platform
