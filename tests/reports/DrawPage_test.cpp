#include "reports/DrawPage.h"

#include <gtest/gtest.h>

#include "ledger/Era.h"
#include "reports/RecordingSurface.h"

namespace {

using namespace reports;

class DrawPageTest : public ::testing::Test {
protected:
    ledger::FixedClock clock{{2026, 4, 1, 9, 0, 0}};
    ledger::Ledger l{clock};
    RecordingSurface surface;
    PrnCanvas c;

    void SetUp() override {
        l.CurData.Era = "令和";
        l.CurData.Year = 8;
        l.CurData.Period = 4;
        l.sysOption.prnRuikei = false;  // no year file behind these slips
        const char* names[] = {"山田太郎", "鈴木花子", "佐藤一郎"};
        for (int slot = 1; slot <= 3; ++slot) {
            auto& e = l.Employee(slot);
            e.Key.set("260401_09000" + std::to_string(slot));
            e.Name.set(names[slot - 1]);
            e.Status = 1;
            e.PayForm = 1;
        }
        c.prepare(TargetMetrics{10, 10, 0, 0, 1, 2}, &surface);
    }

    int nameY(std::string_view name) {
        auto run = surface.findContaining(name);
        EXPECT_TRUE(run.has_value()) << name;
        return run ? run->y : -1;
    }
};

TEST_F(DrawPageTest, LowerSlipOfASheetIsHalfASheetLower) {
    PageJob job;
    job.docKind = kDocPaySlips;
    job.slip.FormType = 3;
    job.slipDate = {"令和  8", " 4", "30"};
    DrawPage(c, l, job, 1, 2);
    EXPECT_EQ(nameY("鈴木花子") - nameY("山田太郎"), 1485);
    EXPECT_EQ(c.PrintEra, "令和  8");
    EXPECT_EQ(c.PrintDay, "30");

    // The preview at its normal size: one millimetre more.
    surface.clear();
    job.smallPreview = true;
    DrawPage(c, l, job, 1, 2);
    EXPECT_EQ(nameY("鈴木花子") - nameY("山田太郎"), 1495);
}

TEST_F(DrawPageTest, EveryPageStartsFromTheSheetsOrigin) {
    PageJob job;
    job.docKind = kDocPaySlips;
    job.slip.FormType = 1;  // B5: shifted onto the sheet
    DrawPage(c, l, job, 1, 0);
    const int b5 = nameY("山田太郎");
    EXPECT_FLOAT_EQ(c.PageOffsetX, 23);
    EXPECT_FLOAT_EQ(c.PageOffsetY, 17);

    surface.clear();
    job.slip.FormType = 2;
    DrawPage(c, l, job, 1, 0);
    EXPECT_EQ(b5 - nameY("山田太郎"), 175);  // 17 mm against -0.5 mm

    // A list after a slip is not shifted, and prints today's date.
    surface.clear();
    job.docKind = kDocTransferList;
    DrawPage(c, l, job, 1, 0);
    EXPECT_FLOAT_EQ(c.PageOffsetX, 0);
    EXPECT_FLOAT_EQ(c.PageOffsetY, 0);
    EXPECT_EQ(c.PrintEra, "令和 8");
    EXPECT_EQ(c.PrintMonth, " 4");
    EXPECT_EQ(c.PrintDay, " 1");
}

TEST_F(DrawPageTest, SlipsOfBothLayoutsAndMissingSlotsDrawSafely) {
    PageJob job;
    job.docKind = kDocPaySlips;
    for (int formType : {3, 7}) {
        SCOPED_TRACE(formType);
        job.slip.FormType = formType;
        surface.clear();
        DrawPage(c, l, job, 3, 0);
        EXPECT_TRUE(surface.findContaining("佐藤一郎").has_value());
    }
    surface.clear();
    DrawPage(c, l, job, 0, 0);  // no slot: nothing, and no fault
    DrawPage(c, l, job, 81, 0);
    EXPECT_TRUE(surface.ops().empty());
}

TEST_F(DrawPageTest, EachListKindReachesItsDrawer) {
    const struct {
        int kind;
        const char* title;
    } kinds[] = {{kDocRoster, "社 員 名 簿 一 覧 表"},
                 {kDocTransferList, "給与/賞与振込一覧"},
                 {kDocDenominations, "給与/賞与支払金種表"},
                 {kDocMonthlyList, " 一 覧"}};
    for (const auto& k : kinds) {
        SCOPED_TRACE(k.kind);
        PageJob job;
        job.docKind = k.kind;
        job.docTarget = 4;
        job.plan = BuildMonthlyPagePlan(l, MonthlyGrouping::Normal);
        surface.clear();
        DrawPage(c, l, job, 1, 0);
        EXPECT_TRUE(surface.findContaining(k.title).has_value());
    }
}

}  // namespace
