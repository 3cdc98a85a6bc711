#include "reports/PrintJob.h"

#include <gtest/gtest.h>

#include "ledger/Era.h"
#include "ledger/Ledger.h"

namespace {

using namespace reports;

struct Staff {
    int status = 1;     // 1 在職, 2 休職, 3 退職
    int payMethod = 0;  // 0 振込, 1 現金
};

class PrintJobTest : public ::testing::Test {
protected:
    ledger::FixedClock clock{{2026, 4, 1, 9, 0, 0}};
    ledger::Ledger l{clock};

    void SetUp() override {
        l.CurData.Era = "令和";
        l.CurData.Year = 8;
        l.CurData.Period = 4;
    }
    // Fills slots 1.. with the given employees.
    void staff(const std::vector<Staff>& people) {
        int slot = 1;
        for (const Staff& s : people) {
            auto& e = l.Employee(slot);
            e.Key.set("260401_0900" + std::to_string(10 + slot));
            e.Status = std::uint8_t(s.status);
            e.PayMethod = std::uint8_t(s.payMethod);
            ++slot;
        }
    }
    void activeStaff(int n) { staff(std::vector<Staff>(std::size_t(n))); }
};

TEST(PrintJobTag, KindAndTargetComeFromTheTag) {
    EXPECT_EQ(DocKindOf(299), kDocPaySlips);
    EXPECT_EQ(DocTargetOf(299), 99);
    EXPECT_EQ(DocKindOf(507), kDocMonthlyList);
    EXPECT_EQ(DocTargetOf(507), 7);
    EXPECT_EQ(DocKindOf(100), kDocRoster);
    EXPECT_EQ(DocTargetOf(100), 0);
}

TEST(PrintJobSlips, FormTypesDecideSlipsPerSheetAndPaper) {
    struct Case {
        int formType;
        int pagesFor3;
        PaperChoice paper;
        float x, y;
    };
    const Case cases[] = {
        {0, 2, {9, 1}, 0, -0.5f}, {1, 3, {13, 2}, 23, 17},  {2, 3, {9, 1}, 0, -0.5f},
        {3, 2, {9, 1}, 0, -0.5f}, {4, 2, {9, 1}, 0, -0.5f}, {5, 3, {13, 2}, 23, 17},
        {6, 3, {9, 1}, 0, -0.5f}, {7, 2, {9, 1}, 0, -0.5f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.formType);
        EXPECT_EQ(SlipPageCount(3, c.formType), c.pagesFor3);
        EXPECT_EQ(SlipPaper(c.formType), c.paper);
        const SlipOffset o = SlipPageOffset(c.formType, false, false);
        EXPECT_FLOAT_EQ(o.x, c.x);
        EXPECT_FLOAT_EQ(o.y, c.y);
    }
    EXPECT_EQ(ValidFormType(9), kDefaultFormType);
    EXPECT_EQ(ValidFormType(-1), kDefaultFormType);
    EXPECT_EQ(ValidFormType(5), 5);
}

TEST(PrintJobSlips, TwoSlipSheetsPairTheChosenSlotsInListOrder) {
    EXPECT_EQ(SlipSheets({4, 9, 2}, 3), (std::vector<SlipSheet>{{4, 9}, {2, 0}}));
    EXPECT_EQ(SlipSheets({4, 9, 2}, 2), (std::vector<SlipSheet>{{4, 0}, {9, 0}, {2, 0}}));
    EXPECT_EQ(SlipSheets({4, 9}, 7), (std::vector<SlipSheet>{{4, 9}}));
    EXPECT_TRUE(SlipSheets({}, 3).empty());
    // Never more than the 80 slots of a period.
    EXPECT_EQ(SlipSheets(std::vector<int>(100, 1), 2).size(), 80u);
}

TEST(PrintJobSlips, LowerSlipLiesHalfAnA4SheetLower) {
    EXPECT_FLOAT_EQ(SlipPageOffset(3, true, false).y, -0.5f + 148.5f);
    // The normal-size preview shows it one millimetre lower still.
    EXPECT_FLOAT_EQ(SlipPageOffset(3, true, true).y - SlipPageOffset(3, false, true).y, 149.5f);
}

TEST_F(PrintJobTest, RosterCountsActiveAndOnLeaveUpToTheFirstFreeSlot) {
    EXPECT_EQ(RosterCount(l), (JobCount{0, 1}));
    activeStaff(10);
    EXPECT_EQ(RosterCount(l), (JobCount{10, 1}));
    activeStaff(11);
    EXPECT_EQ(RosterCount(l), (JobCount{11, 2}));

    l.clearPeriod();
    staff({{1, 0}, {2, 0}, {3, 0}, {1, 0}});
    EXPECT_EQ(RosterCount(l).targets, 3);  // the retired one is left out
    // An employee after a free slot is not reached.
    l.Employee(6).Key.set("260401_090099");
    l.Employee(6).Status = 1;
    EXPECT_EQ(RosterCount(l).targets, 3);
}

TEST_F(PrintJobTest, MonthlyListAlwaysKeepsAPlaceForTheTotals) {
    activeStaff(9);
    EXPECT_EQ(MonthlyListCount(l), (JobCount{9, 1}));
    activeStaff(10);
    EXPECT_EQ(MonthlyListCount(l), (JobCount{10, 2}));
    l.clearPeriod();
    EXPECT_EQ(MonthlyListCount(l), (JobCount{0, 1}));
}

TEST_F(PrintJobTest, TransferAndCashListsCountByPayMethod) {
    staff({{1, 1}, {1, 1}, {1, 1}, {1, 0}, {1, 0}, {1, 0}, {1, 0}, {1, 0}, {3, 1}, {2, 0}});
    EXPECT_EQ(PayMethodCount(l, kDocTransferList, false), (JobCount{5, 1}));
    EXPECT_EQ(PayMethodCount(l, kDocDenominations, false), (JobCount{3, 1}));
    EXPECT_EQ(PayMethodCount(l, kDocDenominations, true), (JobCount{8, 1}));

    l.clearPeriod();
    EXPECT_EQ(PayMethodCount(l, kDocTransferList, false), (JobCount{0, 1}));
    activeStaff(31);
    EXPECT_EQ(PayMethodCount(l, kDocTransferList, false), (JobCount{31, 2}));
}

TEST_F(PrintJobTest, InformationTexts) {
    EXPECT_EQ(PrnInfoText(kDocTransferList, {0, 1}), "  1枚 [0名]");
    EXPECT_EQ(PrnInfoText(kDocPaySlips, {3, 2}), " 2枚 [3名]");
    EXPECT_EQ(PrnInfoText(kDocPersonalLedger, {3, 3}), " 3枚");
    EXPECT_EQ(PrnInfoText(kDocMonthlyList, {10, 2}, MonthlyListPeriodName(4, l.sysOption)),
              "  2枚 [10名、4月分･給与]");
    EXPECT_EQ(MonthlyListPeriodName(13, l.sysOption), "夏期賞与");
    EXPECT_EQ(MonthlyListPeriodName(14, l.sysOption), "冬季賞与");
    l.sysOption.tokuSyoyo = "決算賞与";
    EXPECT_EQ(MonthlyListPeriodName(15, l.sysOption), "決算賞与");
}

TEST_F(PrintJobTest, PaymentDateOfSalaryAndBonusPeriods) {
    l.BasicInfo().PayDay = 31;
    l.BasicInfo().PayNextMonth = 0;
    EXPECT_EQ(InitialPayDate(l), (DateEdits{" 8", " 4", "30"}));

    l.CurData.Period = 13;
    l.FileHeader.BonusPayMonth[0] = 7;
    l.FileHeader.BonusPayDay[0] = 10;
    EXPECT_EQ(InitialPayDate(l), (DateEdits{" 8", " 7", "10"}));
}

TEST_F(PrintJobTest, PageDates) {
    const std::string label = EraLabelText(clock);
    EXPECT_EQ(label, "令和    年    月    日");
    EXPECT_EQ(SlipPrintDate(label, " 8", "4", "30"), (PrintDate{"令和  8", " 4", "30"}));
    // A month or day that is no number prints as 0 rather than failing the job.
    EXPECT_EQ(SlipPrintDate(label, " 8", "x", ""), (PrintDate{"令和  8", " 0", " 0"}));
    EXPECT_EQ(TodayPrintDate(clock), (PrintDate{"令和 8", " 4", " 1"}));
}

TEST(PrintJobAdjust, TextsReadBackAndTenths) {
    EXPECT_EQ(AdjustText(0), "  0.0");
    EXPECT_EQ(AdjustText(-0.1), " -0.1");
    EXPECT_EQ(AdjustText(0.1 + 0.1), "  0.2");
    EXPECT_EQ(AdjustText(-0.1 + 0.1), "  0.0");  // no "-0.0" after stepping back
    EXPECT_EQ(AdjustText(12.25), " 12.3");

    EXPECT_EQ(ParseAdjust("1.5"), 1.5);
    EXPECT_EQ(ParseAdjust(" -0.1"), -0.1);
    EXPECT_EQ(ParseAdjust("  2 "), 2.0);
    // Only what the five-character field shows again: "1e300" is five characters
    // but no correction.
    EXPECT_EQ(ParseAdjust("999.9"), 999.9);
    EXPECT_EQ(ParseAdjust("-99.9"), -99.9);
    for (const char* bad : {"", "   ", "abc", "1.5mm", "1,5", "nan", "inf", "1e300", "-1e20",
                            "1000", "-100", "1e3"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(ParseAdjust(bad).has_value());
    }

    EXPECT_EQ(AdjustToTenths(1.5), 15);
    EXPECT_EQ(AdjustToTenths(-0.1), -1);
    EXPECT_EQ(AdjustToTenths(0.25), 2);
    EXPECT_EQ(AdjustToTenths(0.75), 8);
    EXPECT_DOUBLE_EQ(AdjustFromTenths(15), 1.5);
    EXPECT_EQ(AdjustToTenths(1e300), kMaxAdjustTenths);
    EXPECT_EQ(AdjustToTenths(-1e300), kMinAdjustTenths);
}

TEST(PrintJobMemo, FiveLinesAndTheByteLimit) {
    EXPECT_EQ(ApplyMemoRules("a\nb"), "a\nb");
    EXPECT_EQ(ApplyMemoRules("a\nb\nc\nd\n"), "a\nb\nc\nd\n");  // the fifth line begins
    EXPECT_EQ(ApplyMemoRules("a\nb\nc\nd\ne\n"), "a\nb\nc\nd\ne");
    EXPECT_EQ(ApplyMemoRules("a\nb\nc\nd\ne\nf\ng"), "a\nb\nc\nd\ne");
    EXPECT_EQ(ApplyMemoRules("a\r\nb"), "a\nb");

    std::string wide;
    for (int i = 0; i < 100; ++i) wide += "あ";
    EXPECT_EQ(ApplyMemoRules(wide).size(), 85u * 3);  // 170 bytes, whole characters
    EXPECT_EQ(ApplyMemoRules("x" + wide).size(), 1u + 84u * 3);
}

}  // namespace

namespace {

TEST(PrintJobSheets, EachKindItsOwnSheets) {
    using reports::JobSheets;
    using reports::SlipSheet;
    using V = std::vector<SlipSheet>;
    EXPECT_EQ(JobSheets(reports::kDocRoster, 2, {}, 3), (V{{1, 0}, {2, 0}}));
    EXPECT_EQ(JobSheets(reports::kDocMonthlyList, 1, {5}, 3), (V{{1, 0}}));
    EXPECT_EQ(JobSheets(reports::kDocPersonalLedger, 2, {7, 3}, 3), (V{{7, 0}, {3, 0}}));
    EXPECT_EQ(JobSheets(reports::kDocPaySlips, 2, {4, 9, 2}, 7), (V{{4, 9}, {2, 0}}));
    EXPECT_EQ(JobSheets(reports::kDocPaySlips, 3, {4, 9, 2}, 6), (V{{4, 0}, {9, 0}, {2, 0}}));
}

}  // namespace
