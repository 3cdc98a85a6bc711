#include "ledger/SysOption.h"

#include <gtest/gtest.h>

#include "platform/IniFile.h"
#include "platform/Sjis.h"
#include "support/TempDir.h"

namespace ledger {
namespace {

using testing_support::readText;
using testing_support::TempDir;
using testing_support::writeText;

TEST(SysOptionFile, NoFileGivesTheDefaults) {
    TempDir dir;
    SysOption o;
    LoadSysOption(platform::IniFile(dir / "Tolvane.ini"), o);
    SysOption d;
    EXPECT_EQ(o.freeLabels, d.freeLabels);
    EXPECT_EQ(o.attendanceLabels[6], "所定労働時間");
    EXPECT_EQ(o.paymentLabels[10], "遅刻早退控除");
    EXPECT_EQ(o.tokuSyoyo, "特別賞与");
    EXPECT_EQ(o.kazei, "111111000000");
    EXPECT_EQ(o.hasuuSik, 1);
    EXPECT_EQ(o.hasuuGen, 0);
    EXPECT_EQ(o.timeStyle, 1);
    EXPECT_TRUE(o.prnRuikei && o.use2kSatu && o.autoSelect && o.inputOverN);
}

TEST(SysOptionFile, UnreadableValuesFallBackToTheirDefaults) {
    TempDir dir;
    writeText(dir / "Tolvane.ini",
              "[Option]\r\n"
              "HasuuSik=abc\r\n"
              "HasuuGen=1\r\n"  // not a mode of reductions
              "HasuuKou=2\r\n"  // a valid value is kept
              "TimeStyle=7\r\n"
              "Kazei=11111100000x\r\n"
              "Syaho=1111\r\n"
              "PrnRuikei=yes\r\n"
              "AutoSelect=0\r\n"
              "FixTeate1=\r\n"
              "VarTeate2=\"\"\r\n");
    SysOption o;
    LoadSysOption(platform::IniFile(dir / "Tolvane.ini"), o);
    EXPECT_EQ(o.hasuuSik, 1);
    EXPECT_EQ(o.hasuuGen, 0);
    EXPECT_EQ(o.hasuuKou, 2);
    EXPECT_EQ(o.timeStyle, 1);
    EXPECT_EQ(o.kazei, "111111000000");
    EXPECT_EQ(o.syaho, "111111000000");
    EXPECT_TRUE(o.prnRuikei);
    EXPECT_FALSE(o.autoSelect);
    EXPECT_EQ(o.freeLabels[0], "固定手当１");
    EXPECT_EQ(o.freeLabels[4], "変動手当２");
}

TEST(SysOptionFile, SaveWritesQuotedLabelsAndReadsBackTheSame) {
    TempDir dir;
    platform::IniFile ini(dir / "Tolvane.ini");
    SysOption o;
    o.corpName = "株式会社Ａ";
    o.freeLabels[0] = " 住宅手当 ";
    o.attendanceLabels[8] = "残業時間";
    o.tokuSyoyo = "決算賞与";
    o.kazei = "011111000001";
    o.timeStyle = 0;
    o.hasuuSik = 2;
    o.hasuuKou = 2;
    o.use2kSatu = false;
    SaveSysOption(ini, o, 7.5);

    std::string text = sjis::toUtf8(readText(dir / "Tolvane.ini"));
    EXPECT_NE(text.find("DefJikanD=7.50\r\n"), std::string::npos);
    EXPECT_NE(text.find("CorpName=株式会社Ａ\r\n"), std::string::npos);
    EXPECT_NE(text.find("FixTeate1=\" 住宅手当 \"\r\n"), std::string::npos);
    EXPECT_NE(text.find("inFutZan=\"残業時間\"\r\n"), std::string::npos);
    EXPECT_NE(text.find("Kazei=011111000001\r\n"), std::string::npos);
    EXPECT_NE(text.find("Use2kSatu=0\r\n"), std::string::npos);
    // TokuSyoyo sits between the free deduction labels and the その他 labels.
    EXPECT_LT(text.find("VarKoujo3="), text.find("TokuSyoyo="));
    EXPECT_LT(text.find("TokuSyoyo="), text.find("Sonota1="));

    SysOption back;
    back.timeStyle = 1;
    LoadSysOption(ini, back);
    EXPECT_EQ(back.freeLabels, o.freeLabels);
    EXPECT_EQ(back.attendanceLabels, o.attendanceLabels);
    EXPECT_EQ(back.tokuSyoyo, "決算賞与");
    EXPECT_EQ(back.kazei, o.kazei);
    EXPECT_EQ(back.timeStyle, 0);
    EXPECT_EQ(back.hasuuSik, 2);
    EXPECT_EQ(back.hasuuKou, 2);
    EXPECT_FALSE(back.use2kSatu);
}

}  // namespace
}  // namespace ledger
