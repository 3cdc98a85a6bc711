#pragma once
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

// The readers under test take file names, as the programs hand them files: each
// input is written to a file of the given name in a folder of this process.
namespace fuzzing {

// The folder goes when the run ends normally; after a finding it stays with the
// files of the failing input.
inline const std::filesystem::path& folder() {
    static const std::filesystem::path dir = [] {
        std::string templ =
            (std::filesystem::temp_directory_path() / "tolvane-fuzz-XXXXXX").string();
        if (!::mkdtemp(templ.data())) ::abort();
        return std::filesystem::path(templ);
    }();
    // Registered once dir is made, so it runs before dir is destroyed.
    [[maybe_unused]] static const int cleanup = std::atexit([] {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    });
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

// Readers that take several files get them as one input: the files' bytes joined
// by this marker, in an order the harness names. A missing part is an empty one.
inline constexpr std::string_view kPartMarker = "\n--8<-- tolvane part --8<--\n";

inline std::vector<std::string_view> parts(const std::uint8_t* data, std::size_t size,
                                           std::size_t count) {
    std::string_view rest = bytes(data, size);
    std::vector<std::string_view> out;
    while (out.size() + 1 < count) {
        const auto at = rest.find(kPartMarker);
        if (at == std::string_view::npos) break;
        out.push_back(rest.substr(0, at));
        rest.remove_prefix(at + kPartMarker.size());
    }
    out.push_back(rest);
    out.resize(count);
    return out;
}

// A year file is 1.4 MB, mostly zeros, more than the fuzzer mutates (1 MB by
// default, and slowly at that), so files travel packed: a zero byte and a
// three-byte length (little-endian) stand for that many zero bytes. What a
// packed input unfolds to is capped, so a mutated length cannot exhaust memory.
inline constexpr std::size_t kUnpackedLimit = std::size_t(4) << 20;

inline std::string unpack(std::string_view packed) {
    std::string out;
    for (std::size_t i = 0; i < packed.size() && out.size() < kUnpackedLimit; ++i) {
        if (packed[i] != '\0') {
            out += packed[i];
            continue;
        }
        std::size_t run = 0;
        for (int k = 0; k < 3 && i + 1 < packed.size(); ++k)
            run |= std::size_t(std::uint8_t(packed[++i])) << (8 * k);
        out.append(std::min(run, kUnpackedLimit - out.size()), '\0');
    }
    return out;
}

inline std::string pack(std::string_view bytes) {
    std::string out;
    for (std::size_t i = 0; i < bytes.size();) {
        if (bytes[i] != '\0') {
            out += bytes[i++];
            continue;
        }
        std::size_t run = 0;
        while (i < bytes.size() && bytes[i] == '\0' && run < 0xFFFFFF) ++run, ++i;
        out += '\0';
        for (int k = 0; k < 3; ++k) out += char((run >> (8 * k)) & 0xFF);
    }
    return out;
}

// Writes the packed part as the file; an empty part stands for a file that is not
// there at all.
inline void placeFile(const std::filesystem::path& file, std::string_view part) {
    std::error_code ec;
    std::filesystem::remove(file, ec);
    if (part.empty()) return;
    const std::string bytes = unpack(part);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
}

// A folder of this process emptied for each input.
inline std::filesystem::path freshFolder(const std::string& name) {
    const auto dir = folder() / name;
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    std::filesystem::create_directories(dir);
    return dir;
}

}  // namespace fuzzing
