// A backup folder of arbitrary entries as restore input. Whatever it holds, the
// restore is all or nothing, never reaches beyond the data folder and the
// settings file, and leaves no staging behind.
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <system_error>

#include "FuzzFile.h"
#include "ledger/Backup.h"
#include "platform/Files.h"

namespace fs = std::filesystem;

namespace {

// Every entry under a folder: its relative name and, for a file, its bytes.
std::map<std::string, std::string> snapshot(const fs::path& dir) {
    std::map<std::string, std::string> out;
    for (const auto& e : fs::recursive_directory_iterator(dir)) {
        const auto name = fs::relative(e.path(), dir).string();
        out[name] = e.is_regular_file() ? platform::readFile(e.path()) : std::string("<dir>");
    }
    return out;
}

void check(bool ok) {
    if (!ok) std::abort();
}

}  // namespace

// Parts: each one entry of the backup folder, its name, a NUL and its bytes; a
// name ending in "/" makes a folder of that name.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto root = fuzzing::freshFolder("restore");
    const fs::path dataPath = root / "Data", ini = root / "Tolvane.ini", backup = root / "backup";
    fs::create_directories(dataPath);
    fs::create_directories(backup);
    fuzzing::placeFile(dataPath / "令和8年給与･賞与.dat", "year as it was");
    fuzzing::placeFile(dataPath / "源泉徴収(令和8年).dat", "withholding as it was");
    fuzzing::placeFile(ini, "[Option]\r\n");
    fuzzing::placeFile(root / "outside.dat", "not ours");
    for (std::string_view part : fuzzing::parts(data, size, 8)) {
        const auto nul = part.find('\0');
        if (nul == std::string_view::npos) continue;
        std::string name(part.substr(0, nul));
        const bool folder = !name.empty() && name.back() == '/';
        if (folder) name.pop_back();
        if (name.empty() || name == "." || name == ".." || name.size() > 255 ||
            name.find('/') != std::string::npos)
            continue;
        std::error_code ec;
        if (folder)
            fs::create_directory(backup / name, ec);
        else if (!fs::exists(backup / name, ec))
            fuzzing::placeFile(backup / name, part.substr(nul + 1));
    }

    const auto before = snapshot(root);
    const auto result = ledger::RestoreData(dataPath, ini, backup);
    auto after = snapshot(root);
    // The settings file's lock file may stay; it holds nothing.
    after.erase(fs::relative(platform::FileLock::lockFileOf(ini), root).string());

    auto expected = before;
    if (result == ledger::RestoreResult::Restored) {
        for (const auto& f : ledger::RestoreSourceFiles(backup)) {
            std::error_code ec;
            if (!fs::is_regular_file(fs::symlink_status(f, ec))) continue;
            expected["Data/" + f.filename().string()] = platform::readFile(f);
        }
        expected["Tolvane.ini"] = platform::readFile(backup / "Tolvane.ini");
    }
    check(after == expected);
    return 0;
}
