#include "ledger/StaleFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/TempDir.h"

namespace {
namespace fs = std::filesystem;
using testing_support::TempDir;
using testing_support::writeText;

// What killed saves, grouped settings writes and backups left goes at start-up,
// in the data folder, the settings folder and the remembered backup folder, in
// today's naming and that of earlier versions; names of any other making stay.
TEST(RemoveStaleFiles, RemovesLeftoversOfOurOwnNamingOnly) {
    TempDir drive;
    const fs::path settings = drive / "Tolvane4";
    const fs::path data = settings / "Data";
    const fs::path backup = drive / "usb";
    fs::create_directories(data);
    fs::create_directories(backup);
    writeText(settings / "Tolvane.ini", "[Option]\r\nBackupPath=" + backup.string() + "\r\n");
    const struct {
        fs::path file;
        bool removed;
    } rows[] = {
        {data / ".tolvane.0123456789ab", true},
        {settings / ".tolvane.00000000beef", true},
        {backup / ".tolvane.abcdef012345", true},
        {data / ".令和8年給与･賞与.dat.0badf00d", true},
        {settings / ".Tolvane.ini.1234abcd", true},
        {settings / ".Tolvane.ini.4242.batch", true},
        {settings / "..Tolvane.ini.4242.batch.0badf00d", true},
        {backup / ".令和8年給与･賞与.dat.89abcdef", true},
        {backup / ".Tolvane.ini.0badf00d", true},
        {backup / ".notes.txt.0badf00d", false},
        {backup / ".令和8年給与･賞与.dat.0BADF00D", false},
        {backup / "令和8年給与･賞与.dat", false},
        {settings / "..Tolvane.ini.x.batch.0badf00d", false},
    };
    for (const auto& row : rows) writeText(row.file, "x");
    EXPECT_EQ(ledger::RemoveStaleFiles(data, settings / "Tolvane.ini"), 9);
    for (const auto& row : rows) EXPECT_NE(fs::exists(row.file), row.removed) << row.file;
}

}  // namespace
