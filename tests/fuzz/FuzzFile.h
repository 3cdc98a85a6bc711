#pragma once
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

// The readers under test take file names, as the programs hand them files: each
// input is written to a file of the given name in a folder of this process.
namespace fuzzing {

inline const std::filesystem::path& folder() {
    static const std::filesystem::path dir = [] {
        std::string templ =
            (std::filesystem::temp_directory_path() / "tolvane-fuzz-XXXXXX").string();
        if (!::mkdtemp(templ.data())) ::abort();
        return std::filesystem::path(templ);
    }();
    return dir;
}

inline std::filesystem::path writeInput(const std::string& name, const std::uint8_t* data,
                                        std::size_t size) {
    const auto file = folder() / name;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    return file;
}

inline std::string_view bytes(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

}  // namespace fuzzing
