#include <gtest/gtest.h>

#include "platform/Errors.h"
#include "platform/IniFile.h"
#include "platform/Sjis.h"
#include "support/TempDir.h"
#include "withholding/YearEndOption.h"

namespace {
using testing_support::readText;
using testing_support::TempDir;

// The settings file is Shift-JIS.
void writeIni(const std::filesystem::path& file, const std::string& utf8) {
    testing_support::writeText(file, sjis::fromUtf8(utf8));
}
using withholding::LoadYearEndOption;
using withholding::SaveYearEndOption;
using withholding::YearEndOption;

TEST(YearEndOption, FileWithoutOptionKeysGivesDefaults) {
    TempDir dir;
    writeIni(dir / "Tolvane.ini", "[Window]\r\nMainFormSX=700\r\n[Option]\r\nCorpName=x\r\n");
    const auto o = LoadYearEndOption(platform::IniFile(dir / "Tolvane.ini"));
    EXPECT_EQ(o.Syubetu, "給与･賞与");
    EXPECT_EQ(o.YubinDat, 0);
    EXPECT_TRUE(o.AutoSelect && o.InputOverN && o.PrintLine && o.HasuuCut);
    EXPECT_EQ(o.PrAdjustH, 0.0);
    EXPECT_EQ(o.PrAdjustV, 0.0);
    // A missing file reads like an empty one.
    const auto none = LoadYearEndOption(platform::IniFile(dir / "absent.ini"));
    EXPECT_EQ(none.Syubetu, "給与･賞与");
    EXPECT_TRUE(none.HasuuCut);
}

TEST(YearEndOption, ReadsValuesAsTheProfileFunctionsDo) {
    TempDir dir;
    writeIni(dir / "Tolvane.ini",
             "[Option]\r\nPrAdjustH=15\r\nPrAdjustV=-3\r\nAutoSelect=0\r\nInputOverN=2\r\n"
             "PrintLine=abc\r\nHasuuCut=0\r\nYubinDat=3\r\nSyubetu=\"給与 \"\r\n");
    const auto o = LoadYearEndOption(platform::IniFile(dir / "Tolvane.ini"));
    EXPECT_DOUBLE_EQ(o.PrAdjustH, 1.5);
    EXPECT_DOUBLE_EQ(o.PrAdjustV, -0.3);
    EXPECT_FALSE(o.AutoSelect);
    EXPECT_TRUE(o.InputOverN);  // any number but 0
    EXPECT_TRUE(o.PrintLine);   // not a number: the default
    EXPECT_FALSE(o.HasuuCut);
    EXPECT_EQ(o.YubinDat, 3);  // kept as read; the dialog writes it back as 0
    EXPECT_EQ(o.Syubetu, "給与 ");
}

TEST(YearEndOption, SaveRewritesTheSixKeysOnlyAndKeepsTheRest) {
    TempDir dir;
    const auto file = dir / "Tolvane.ini";
    writeIni(file,
             "[Option]\r\nPrAdjustH=15\r\nCorpName=会社\r\nYubinDat=1\r\n[Window]\r\nA=1\r\n");
    platform::IniFile ini(file);
    auto o = LoadYearEndOption(ini);
    o.PrAdjustH = 9.9;  // the print dialog's business, never written here
    o.PrintLine = false;
    SaveYearEndOption(ini, o);

    const std::string text = readText(file);
    // 給与･賞与 in Shift-JIS, unquoted.
    EXPECT_NE(text.find("Syubetu=\x8B\x8B\x97\x5E\xA5\x8F\xDC\x97\x5E\r\n"), std::string::npos);
    EXPECT_NE(text.find("PrAdjustH=15\r\n"), std::string::npos);
    EXPECT_NE(text.find("[Window]\r\nA=1\r\n"), std::string::npos);
    EXPECT_EQ(ini.readString("Option", "CorpName"), "会社");
    EXPECT_EQ(ini.readString("Option", "YubinDat"), "1");
    EXPECT_EQ(ini.readString("Option", "AutoSelect"), "1");
    EXPECT_EQ(ini.readString("Option", "InputOverN"), "1");
    EXPECT_EQ(ini.readString("Option", "PrintLine"), "0");
    EXPECT_EQ(ini.readString("Option", "HasuuCut"), "1");
    EXPECT_FALSE(ini.valueExists("Option", "PrAdjustV"));

    const auto back = LoadYearEndOption(ini);
    EXPECT_EQ(back.Syubetu, o.Syubetu);
    EXPECT_FALSE(back.PrintLine);
    EXPECT_DOUBLE_EQ(back.PrAdjustH, 1.5);
}

TEST(YearEndOption, RefusedSaveLeavesTheFileAsItWas) {
    TempDir dir;
    const auto file = dir / "Tolvane.ini";
    writeIni(file, "[Option]\r\nHasuuCut=1\r\n");
    platform::IniFile ini(file);
    YearEndOption o;
    o.HasuuCut = false;
    o.Syubetu = "給与😀";  // no Shift-JIS form
    EXPECT_THROW(SaveYearEndOption(ini, o), platform::ConvertError);
    EXPECT_EQ(readText(file), "[Option]\r\nHasuuCut=1\r\n");
}

}  // namespace
