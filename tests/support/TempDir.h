#pragma once
#include <filesystem>
#include <string>
#include <vector>

namespace testing_support {

// A fresh folder under the system temp folder, removed with everything in it
// when the object goes away.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

std::vector<unsigned char> readBytes(const std::filesystem::path& file);
void writeBytes(const std::filesystem::path& file, const std::vector<unsigned char>& bytes);
void writeText(const std::filesystem::path& file, const std::string& bytes);
std::string readText(const std::filesystem::path& file);

}  // namespace testing_support
