#include "reports/PrintInfo.h"

#include <gtest/gtest.h>

#include "platform/IniFile.h"
#include "platform/Sjis.h"
#include "support/TempDir.h"

namespace reports {
namespace {

using testing_support::readText;
using testing_support::TempDir;
using testing_support::writeText;

// Remembers what was asked of it, in order.
class FakePrinter : public platform::PrinterPort {
public:
    std::vector<std::string> names{"Office-LBP", "Label"};
    std::string current = "Label";
    platform::DevMode mode;
    platform::DevMode defaults{9, 2100, 2970, 1, 7, 300, false};
    std::vector<std::string> calls;

    std::vector<std::string> printerNames() const override { return names; }
    std::string printerName() const override { return current; }
    bool selectPrinter(const std::string& name) override {
        for (auto& n : names)
            if (n == name) {
                calls.push_back("select " + name);
                current = name;
                mode = defaults;
                return true;
            }
        return false;
    }
    void resetToDefaults() override {
        calls.push_back("reset");
        mode = defaults;
    }
    platform::DevMode devMode() const override { return mode; }
    void setDevMode(const platform::DevMode& m) override {
        calls.push_back("set");
        mode = m;
    }
};

TEST(PrintInfo, CorrectionIsStoredInTenthsRoundingHalvesToEven) {
    TempDir dir;
    platform::IniFile ini(dir / "Tolvane.ini");
    FakePrinter p;
    struct Case {
        double mm;
        int tenths;
    } cases[] = {{1.5, 15}, {0.25, 2}, {0.75, 8}, {1.25, 12}, {-0.3, -3}};
    for (auto k : cases) {
        SavePrintInfo(ini, p, {5, k.mm, -k.mm});
        EXPECT_EQ(ini.readInteger("Option", "PrAdjustH", 99), k.tenths) << k.mm;
        EXPECT_EQ(ini.readInteger("Option", "PrAdjustV", 99), -k.tenths) << k.mm;
    }
    ini.writeInteger("Option", "PrAdjustH", 15);
    auto o = ReadPrintOptions(ini);
    EXPECT_DOUBLE_EQ(o.PrAdjustH, 1.5);
    EXPECT_EQ(o.FormType, 5);
    EXPECT_EQ(ini.readString("Option", "FormType"), "5");
}

TEST(PrintInfo, OptionsDefaultAndRefuseAForeignFormType) {
    TempDir dir;
    platform::IniFile ini(dir / "Tolvane.ini");
    auto o = ReadPrintOptions(ini);
    EXPECT_EQ(o.FormType, 3);
    EXPECT_EQ(o.PrAdjustH, 0);
    ini.writeInteger("Option", "FormType", 12);
    EXPECT_EQ(ReadPrintOptions(ini).FormType, 3);
}

TEST(PrintInfo, SaveWritesThePrinterAndItsModeAndKeepsOtherKeys) {
    TempDir dir;
    writeText(dir / "Tolvane.ini",
              sjis::fromUtf8("[Option]\r\nCorpName=山田商店\r\n[Window]\r\nX=5\r\n"));
    platform::IniFile ini(dir / "Tolvane.ini");
    FakePrinter p;
    p.current = "Office-LBP";
    p.mode = {9, 2100, 2970, 1, 15, 600, true};
    SavePrintInfo(ini, p, {3, 0, 0});
    auto s = ReadPrintInfo(ini);
    EXPECT_EQ(s.DeviceName, "Office-LBP");
    EXPECT_EQ(ini.readString("PrintInfo", "PaperSize"), "9");
    EXPECT_EQ(ini.readString("PrintInfo", "PaperWidth"), "2100");
    EXPECT_EQ(ini.readString("PrintInfo", "PaperLength"), "2970");
    EXPECT_EQ(ini.readString("PrintInfo", "Orientation"), "1");
    EXPECT_EQ(ini.readString("PrintInfo", "DefaultSource"), "15");
    EXPECT_EQ(ini.readString("PrintInfo", "PrintQuality"), "600");
    EXPECT_EQ(ini.readString("Option", "CorpName"), "山田商店");
    EXPECT_EQ(ini.readInteger("Window", "X", 0), 5);
    EXPECT_NE(readText(dir / "Tolvane.ini").find("\r\n"), std::string::npos);
}

TEST(PrintInfo, LongPrinterNamesAreFoundAgain) {
    TempDir dir;
    platform::IniFile ini(dir / "Tolvane.ini");
    FakePrinter p;
    std::string longName = "Accounting-Floor2-Colour-LaserPrinter-Duplex";
    p.names.push_back(longName);
    ASSERT_TRUE(p.selectPrinter(longName));
    SavePrintInfo(ini, p, {});
    FakePrinter again;
    again.names = p.names;
    EXPECT_TRUE(LoadPrintInfo(ini, again));
    EXPECT_EQ(again.current, longName);
}

TEST(PrintInfo, LoadNeedsAnExactInstalledName) {
    TempDir dir;
    platform::IniFile ini(dir / "Tolvane.ini");
    struct Case {
        const char* stored;
    } cases[] = {{""}, {"office-lbp"}, {"Gone"}, {"Office-LBP "}};
    for (auto k : cases) {
        ini.writeQuoted("PrintInfo", "DeviceName", k.stored);
        FakePrinter p;
        EXPECT_FALSE(LoadPrintInfo(ini, p)) << k.stored;
        EXPECT_TRUE(p.calls.empty()) << k.stored;
        EXPECT_EQ(p.current, "Label");
    }
}

TEST(PrintInfo, LoadResetsThenAppliesStoredFieldsInColour) {
    TempDir dir;
    writeText(dir / "Tolvane.ini",
              "[PrintInfo]\r\nDeviceName=Office-LBP\r\nPaperSize=13\r\nPaperWidth=1820\r\n"
              "PaperLength=2570\r\nOrientation=2\r\nDefaultSource=abc\r\nPrintQuality=99999\r\n");
    platform::IniFile ini(dir / "Tolvane.ini");
    FakePrinter p;
    ASSERT_TRUE(LoadPrintInfo(ini, p));
    EXPECT_EQ(p.calls, (std::vector<std::string>{"select Office-LBP", "reset", "set"}));
    // The unreadable source and the out-of-range quality keep the driver's defaults
    // rather than stopping the dialog.
    EXPECT_EQ(p.mode, (platform::DevMode{13, 1820, 2570, 2, 0, 0, true}));
}

TEST(PrintInfo, SelectPaperResetsAndSetsPaperOrientationColour) {
    FakePrinter p;
    p.mode = {13, 1820, 2570, 2, 3, 1200, false};
    EXPECT_EQ(SelectPaper(p, 9, 1), "Label");
    EXPECT_EQ(p.calls.front(), "reset");
    EXPECT_EQ(p.mode.PaperSize, 9);
    EXPECT_EQ(p.mode.Orientation, 1);
    EXPECT_EQ(p.mode.PrintQuality, 300);  // back at the driver's default
    EXPECT_TRUE(p.mode.Colour);
}

}  // namespace
}  // namespace reports
