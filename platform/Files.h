#pragma once
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// Whole-file operations. Every failure throws platform::IoError with the fixed
// text for its cause; nothing here ever leaves a half-written file under the
// real name.
namespace platform {

// The whole content of a file.
std::string readFile(const std::filesystem::path& file);

// Writes the bytes to a temporary file in the same folder, flushes it to disk,
// renames it over the file and flushes the folder. The file keeps its
// permissions; a new one gets those of any new file. On any failure the
// temporary file is removed and the old file stays as it was.
void writeFileAtomic(const std::filesystem::path& file, std::string_view bytes);

// Copies a file, replacing the target.
void copyReplacing(const std::filesystem::path& from, const std::filesystem::path& to);

// Deletes a file; a file that is already gone is not an error.
void removeFile(const std::filesystem::path& file);

// Regular files of a folder whose names match a pattern of "*" and "?" ("?" is
// one character; "*.*" is every name, with or without a dot), compared without
// regard to ASCII case (as "*.dat" matched "B.DAT" on the original system),
// sorted by name. A folder that cannot be listed throws.
std::vector<std::filesystem::path> listByPattern(const std::filesystem::path& folder,
                                                 std::string_view pattern);

// Whether a name matches such a pattern.
bool matchesPattern(std::string_view name, std::string_view pattern);

}  // namespace platform
