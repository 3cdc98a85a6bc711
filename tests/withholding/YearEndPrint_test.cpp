#include "withholding/YearEndPrint.h"

#include <gtest/gtest.h>

#include <sstream>

#include "ledger/SysLog.h"
#include "platform/IniFile.h"
#include "platform/PrinterPort.h"
#include "reports/PrnCanvas.h"
#include "reports/RecordingSurface.h"
#include "support/TempDir.h"

namespace withholding {
namespace {

TEST(YearEndDocuments, PaperSheetsAndPanelTextsPerKind) {
    struct Case {
        int kind;
        reports::PaperChoice paper;
        std::string_view paperText;
        int targets, pages;
        const char* info;
    } cases[] = {
        {1, {9, 2}, " Ａ４用紙・横  [297mm×210mm]", 5, 5, " 5枚 [5名]"},
        {2, {13, 1}, " Ｂ５用紙・縦  [182mm×257mm]", 3, 2, " 2枚 [3名]"},
        {2, {13, 1}, " Ｂ５用紙・縦  [182mm×257mm]", 4, 2, " 2枚 [4名]"},
        {2, {13, 1}, " Ｂ５用紙・縦  [182mm×257mm]", 1, 1, " 1枚 [1名]"},
        {5, {9, 2}, " Ａ４用紙・横  [297mm×210mm]", 80, 80, " 80枚 [80名]"},
    };
    for (const auto& k : cases) {
        EXPECT_EQ(YearEndPaper(k.kind), k.paper) << k.kind;
        EXPECT_EQ(YearEndPaperText(k.kind), k.paperText) << k.kind;
        const int pages = YearEndPageCount(k.kind, k.targets);
        EXPECT_EQ(pages, k.pages) << k.kind << " " << k.targets;
        EXPECT_EQ(YearEndPrnInfoText(pages, k.targets), k.info);
    }
    EXPECT_EQ(YearEndPageCount(2, 0), 0);
    EXPECT_EQ(YearEndPrintInfoSection(5), "PrintInfo5");
    EXPECT_EQ(YearEndLogCode(1), ledger::kLogWithholdingPrinted);
    EXPECT_EQ(YearEndLogCode(5), ledger::kLogPaymentReportPrinted);
    EXPECT_EQ(YearEndLogCode(2), 0);
}

TEST(YearEndDocuments, SheetsPairRefundNoticesAndKeepListOrder) {
    using S = reports::SlipSheet;
    EXPECT_EQ(YearEndSheets(2, {7, 3, 12}), (std::vector<S>{{7, 3}, {12, 0}}));
    EXPECT_EQ(YearEndSheets(1, {7, 3}), (std::vector<S>{{7, 0}, {3, 0}}));
    std::vector<int> many(85, 1);
    EXPECT_EQ(YearEndSheets(5, many).size(), 80u);
}

// Records which drawer ran for which slot, copy and place on the sheet.
struct Sheet {
    reports::RecordingSurface rec;
    reports::PrnCanvas c;
    std::vector<std::string> calls;
    YearEndPageJob job;
    Sheet(int kind, bool newLayout, bool printLine) {
        reports::TargetMetrics m;
        m.DotsPerMmX = m.DotsPerMmY = 10;
        m.ThinPenWidth = 2;
        m.ThickPenWidth = 5;
        c.prepare(m, &rec);
        c.thickPen();
        job.docKind = kind;
        job.newLayout = newLayout;
        job.printLine = printLine;
        auto note = [this](const char* what, int slot, int copy) {
            std::ostringstream s;
            s << what << " " << slot << "/" << copy << " @" << c.PageOffsetX << ","
              << c.PageOffsetY;
            calls.push_back(s.str());
        };
        job.drawers.withholdingSlip = [note](reports::PrnCanvas&, int slot, int copy) {
            note("slip", slot, copy);
        };
        job.drawers.withholdingSlipOld = [note](reports::PrnCanvas&, int slot, int copy) {
            note("old", slot, copy);
        };
        job.drawers.refundNotice = [note](reports::PrnCanvas&, int slot, bool newLayout) {
            note("refund", slot, newLayout);
        };
    }
    std::vector<reports::RecordedOp> lines() const { return rec.ofKind(reports::RecordedOp::Line); }
    bool dashedFrom(int x, int y) const {
        for (const auto& l : lines())
            if (l.x1 == x && l.y1 == y && l.pen == 2) return true;
        return false;
    }
};

TEST(YearEndPage, CopiesSitWhereEachDocumentPutsThem) {
    struct Case {
        int kind;
        bool newLayout;
        int first, second;
        std::vector<std::string> calls;
    } cases[] = {
        {1, true, 4, 0, {"slip 4/1 @-5,0", "slip 4/2 @138,0"}},
        {1,
         false,
         4,
         0,
         {"old 4/1 @-18,0", "old 4/2 @-18,105", "old 4/3 @130.5,0", "old 4/4 @130.5,105"}},
        {5, true, 9, 0, {"slip 9/3 @-5,0", "slip 9/3 @138,0"}},
        {2, true, 3, 8, {"refund 3/1 @0,0", "refund 8/1 @0,130"}},
        {2, false, 3, 0, {"refund 3/0 @0,0"}},
    };
    for (const auto& k : cases) {
        Sheet s(k.kind, k.newLayout, true);
        // A sheet never inherits the offsets a previous one left.
        s.c.PageOffsetX = 77;
        s.c.PageOffsetY = 55;
        DrawYearEndPage(s.c, s.job, k.first, k.second);
        EXPECT_EQ(s.calls, k.calls) << k.kind << " " << k.newLayout;
    }
}

TEST(YearEndPage, CutLinesFollowTheKindAndPrintLine) {
    {
        Sheet s(1, true, true);
        DrawYearEndPage(s.c, s.job, 1, 0);
        EXPECT_TRUE(s.dashedFrom(1485, 100));
        EXPECT_FALSE(s.dashedFrom(100, 1050));
    }
    {
        Sheet s(1, false, true);
        DrawYearEndPage(s.c, s.job, 1, 0);
        EXPECT_TRUE(s.dashedFrom(1485, 100));
        EXPECT_TRUE(s.dashedFrom(100, 1050));
    }
    {
        // The second refund sheet with no lower notice still gets its line.
        Sheet s(2, true, true);
        DrawYearEndPage(s.c, s.job, 3, 0);
        EXPECT_TRUE(s.dashedFrom(100, 1285));
        EXPECT_EQ(s.c.PenWidth, 2);
    }
    for (int kind : {1, 2, 5})
        for (bool layout : {true, false}) {
            Sheet s(kind, layout, false);
            DrawYearEndPage(s.c, s.job, 1, 2);
            EXPECT_TRUE(s.lines().empty()) << kind;
        }
}

TEST(YearEndPage, MissingDrawersLeaveBlankCopiesButKeepTheCutLines) {
    Sheet s(5, true, true);
    s.job.drawers = {};
    EXPECT_NO_THROW(DrawYearEndPage(s.c, s.job, 1, 0));
    EXPECT_TRUE(s.dashedFrom(1485, 100));
}

class FakePrinter : public platform::PrinterPort {
public:
    std::vector<std::string> names{"Laser", "Inkjet B5"};
    std::string current = "Laser";
    platform::DevMode mode{9, 0, 0, 1, 7, 600, false};
    std::vector<std::string> printerNames() const override { return names; }
    std::string printerName() const override { return current; }
    bool selectPrinter(const std::string& name) override {
        for (auto& n : names)
            if (n == name) {
                current = name;
                mode = {};
                return true;
            }
        return false;
    }
    void resetToDefaults() override { mode = {}; }
    platform::DevMode devMode() const override { return mode; }
    void setDevMode(const platform::DevMode& m) override { mode = m; }
};

TEST(YearEndPrinterMemory, EachKindGetsItsOwnPrinterBackAndTheCorrectionIsShared) {
    testing_support::TempDir dir;
    platform::IniFile ini(dir.path() / "Tolvane.ini");
    FakePrinter p;
    p.current = "Inkjet B5";
    p.mode = {13, 0, 0, 1, 7, 300, true};
    SaveYearEndPrintInfo(ini, p, 2, 0.5, 0);
    p.current = "Laser";
    p.mode = {9, 0, 0, 2, 7, 600, true};
    SaveYearEndPrintInfo(ini, p, 1, 1.25, -0.75);

    // 1.25 mm halves to even; the payroll program reads the same keys.
    EXPECT_EQ(ini.readInteger("Option", "PrAdjustH", 99), 12);
    EXPECT_EQ(ini.readInteger("Option", "PrAdjustV", 99), -8);
    EXPECT_FALSE(ini.valueExists("Option", "FormType"));

    FakePrinter fresh;
    ASSERT_TRUE(LoadYearEndPrintInfo(ini, fresh, 2));
    EXPECT_EQ(fresh.current, "Inkjet B5");
    EXPECT_EQ(fresh.mode.PaperSize, 13);
    ASSERT_TRUE(LoadYearEndPrintInfo(ini, fresh, 1));
    EXPECT_EQ(fresh.current, "Laser");
    EXPECT_EQ(fresh.mode.Orientation, 2);
    EXPECT_FALSE(LoadYearEndPrintInfo(ini, fresh, 5));
}

TEST(YearEndPrinterMemory, AGonePrinterOrACorruptValueIsNoError) {
    testing_support::TempDir dir;
    platform::IniFile ini(dir.path() / "Tolvane.ini");
    ini.writeString("PrintInfo1", "DeviceName", "Removed");
    FakePrinter p;
    EXPECT_FALSE(LoadYearEndPrintInfo(ini, p, 1));
    EXPECT_EQ(p.current, "Laser");
    ini.writeString("PrintInfo1", "DeviceName", "Laser");
    ini.writeString("PrintInfo1", "PaperSize", "abc");
    ini.writeString("PrintInfo1", "Orientation", "40000");
    EXPECT_NO_THROW(LoadYearEndPrintInfo(ini, p, 1));
}

}  // namespace
}  // namespace withholding
