#include "ledger/Password.h"

#include <gtest/gtest.h>

#include "platform/Errors.h"
#include "platform/IniFile.h"
#include "support/TempDir.h"

namespace {
using namespace ledger;
using testing_support::readText;
using testing_support::TempDir;
using testing_support::writeText;

TEST(Password, StoredFormRoundTripsThroughTheSettingsFile) {
    struct Case {
        const char* plain;
        const char* line;  // as it stands in the file
    };
    const Case cases[] = {
        {"abc", "ListFile=\"QRS\""},
        // '2' lowers to a double quote: only the outer pair is the quoting.
        {"1234", "ListFile=\"!\"#$\""},
        {"2", "ListFile=\"\"\""},
        // '7' lowers to a single quote.
        {"7a7", "ListFile=\"'Q'\""},
        {"", "ListFile=\"\""},
    };
    for (const Case& c : cases) {
        TempDir dir;
        platform::IniFile ini(dir / "Tolvane.ini");
        WritePassword(ini, c.plain);
        EXPECT_NE(readText(ini.path()).find(std::string(c.line) + "\r\n"), std::string::npos)
            << c.plain;
        EXPECT_EQ(ReadPassword(ini), c.plain);
    }
}

TEST(Password, SpacesAndSymbolsSurvive) {
    // A blank lowers to a control byte that the settings file must keep.
    TempDir dir;
    platform::IniFile ini(dir / "Tolvane.ini");
    const std::string plain = " a b ~!";
    WritePassword(ini, plain);
    EXPECT_EQ(ReadPassword(ini), plain);
}

TEST(Password, ReadsAnExistingSettingsFile) {
    TempDir dir;
    writeText(dir / "Tolvane.ini", "[Option]\r\nListFile=\"QRS\"\r\n");
    EXPECT_EQ(ReadPassword(platform::IniFile(dir / "Tolvane.ini")), "abc");
    writeText(dir / "Tolvane.ini", "[Option]\r\n");
    EXPECT_EQ(ReadPassword(platform::IniFile(dir / "Tolvane.ini")), "");
}

TEST(Password, RefusesCharactersThatCouldBreakTheLine) {
    TempDir dir;
    platform::IniFile ini(dir / "Tolvane.ini");
    // 0x1D and 0x1A would lower to CR and LF, 0x10 to NUL.
    for (std::string bad :
         {std::string("a\x1d"), std::string("\x1a"), std::string(1, '\x10'), std::string("あ")}) {
        EXPECT_FALSE(IsValidPassword(bad));
        EXPECT_THROW(WritePassword(ini, bad), platform::ConvertError);
    }
    EXPECT_FALSE(std::filesystem::exists(ini.path()));
    EXPECT_TRUE(IsValidPassword("Az09 !~"));
}

}  // namespace
