#pragma once
#include <filesystem>
#include <string>

namespace platform {

// The whole content of a file whose name is itself a regular file. A symbolic
// link is refused, never followed, and so are a pipe, a device and a folder:
// for input taken from a folder someone else may have filled (a backup medium).
// Failures throw platform::IoError.
std::string readFileNoFollow(const std::filesystem::path& file);

}  // namespace platform
