#include "reports/Denomination.h"

#include <gtest/gtest.h>

#include "ListFixture.h"

namespace reports {
namespace {

using testing::ListFixture;

TEST(SplitDenominations, GreedyWithAndWithoutTheTwoThousandNote) {
    struct Case {
        std::int64_t amount;
        bool use2k;
        DenominationCounts counts;
    } cases[] = {
        {12345, true, {1, 0, 1, 0, 0, 3, 0, 4, 1, 0}},
        {12345, false, {1, 0, 0, 2, 0, 3, 0, 4, 1, 0}},
        {9999, true, {0, 1, 2, 0, 1, 4, 1, 4, 1, 4}},
        {9999, false, {0, 1, 0, 4, 1, 4, 1, 4, 1, 4}},
        {2000, true, {0, 0, 1, 0, 0, 0, 0, 0, 0, 0}},
        {2000, false, {0, 0, 0, 2, 0, 0, 0, 0, 0, 0}},
        {0, true, {}},
        {-5000, true, {}},
        {3'000'000'000LL, true, {300000, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const auto& k : cases)
        EXPECT_EQ(SplitDenominations(k.amount, k.use2k), k.counts) << k.amount << " " << k.use2k;
}

TEST(DenominationTable, CashPayeesOnlyUnlessAllArePrinted) {
    ListFixture f;
    f.add("振込一").PayMethod = 0;
    f.add("現金一").PayMethod = 1;
    f.add("振込二").PayMethod = 0;
    f.add("現金二").PayMethod = 1;
    auto& leave = f.add("休職者");
    leave.PayMethod = 1;
    leave.Status = 2;
    auto& gone = f.add("退職者");
    gone.PayMethod = 1;
    gone.Status = 3;
    f.add("現金三").PayMethod = 1;

    EXPECT_EQ(DenominationSlots(f.l, false), (std::vector<int>{2, 4, 7}));
    EXPECT_EQ(DenominationSlots(f.l, true), (std::vector<int>{1, 2, 3, 4, 7}));

    DrawDenominationPage(f.c, f.l, 1, false);
    EXPECT_EQ(f.textAt(38, 34.7), "現金一");
    EXPECT_EQ(f.textAt(38, 39.7), "現金二");
    EXPECT_EQ(f.textAt(38, 44.7), "現金三");
    EXPECT_EQ(f.textAt(38, 49.7), "");
    EXPECT_FALSE(f.rec.findText("休職者"));
}

TEST(DenominationTable, TotalsOnlyOnTheLastPageOverEveryRow) {
    ListFixture f;
    for (int i = 0; i < 31; ++i) f.add("社員" + std::to_string(i), 12345).PayMethod = 1;
    ASSERT_EQ(DenominationPageCount(f.l, false), 2);

    DrawDenominationPage(f.c, f.l, 1, false);
    EXPECT_EQ(f.textAt(20, 34.7), "A101");
    EXPECT_EQ(f.textAt(20, 179.7), "A130");
    EXPECT_TRUE(f.rec.textsOnRow(f.at(184.7), 1).empty()) << "page 1 leaves the totals row empty";
    EXPECT_EQ(f.textAt(260, 22), "Page 1 / 2");

    f.rec.clear();
    DrawDenominationPage(f.c, f.l, 2, false);
    EXPECT_EQ(f.textAt(20, 34.7), "A131");
    EXPECT_EQ(f.textAt(20, 39.7), "");
    EXPECT_EQ(f.textAt(22.5, 184.7), "合　計");
    const char* totals[] = {" 31", "  0", " 31", "  0", "  0", " 93", "  0", "124", " 31", "  0"};
    for (int i = 0; i < 10; ++i) EXPECT_EQ(f.textAt(100 + 15 * i, 184.7), totals[i]) << i;
    EXPECT_EQ(f.textAt(249, 184.7), "   382,695");
}

TEST(DenominationTable, NegativeNetPayAndTheUnusedTwoThousandNote) {
    ListFixture f;
    f.l.sysOption.use2kSatu = false;
    auto& minus = f.add("赤字", 10000);
    minus.PayMethod = 1;
    f.l.Deduction(f.slotOf(minus)).Amounts[ledger::kDedTotal] = 15000;
    auto& plus = f.add("黒字", 12000);
    plus.PayMethod = 1;
    f.l.Payment(f.slotOf(plus)).Amounts[ledger::kPayOther1 + 2] = 345;  // その他３ adds

    DrawDenominationPage(f.c, f.l, 1, false);
    EXPECT_EQ(f.textAt(249, 34.7), "    -5,000");
    EXPECT_EQ(f.textAt(100, 34.7), "  0");
    EXPECT_EQ(f.textAt(130, 34.7), " - ");
    EXPECT_EQ(f.textAt(249, 39.7), "    12,345");
    EXPECT_EQ(f.textAt(145, 39.7), "  2");  // two 1,000-yen notes instead of a 2,000
    EXPECT_EQ(f.textAt(130, 184.7), " - ");
    EXPECT_EQ(f.textAt(249, 184.7), "    12,345") << "a negative net pay adds nothing";
    EXPECT_EQ(f.textAt(128, 29.7), "２千円") << "the heading stays";
}

TEST(DenominationTable, HeadGridAndPeriodNames) {
    ListFixture f;
    DrawDenominationPage(f.c, f.l, 1, true);
    EXPECT_EQ(f.textAt(95, 20), "給与/賞与支払金種表");
    EXPECT_EQ(f.textAt(12, 22), "有限会社テスト商会");
    EXPECT_EQ(f.textAt(220, 22), "令和 8年 4月 1日");
    EXPECT_EQ(f.textAt(260, 22), "Page 1 / 1");
    EXPECT_EQ(f.textAt(150, 21), "[令和8年 4月分給与]");
    EXPECT_EQ(f.textAt(22.5, 184.7), "合　計") << "an empty table is its own last page";
    EXPECT_EQ(f.textAt(249, 184.7), "         0");
    EXPECT_TRUE(f.rec.hasLine(f.at(18), f.at(184), f.at(269.5), f.at(184)));
    EXPECT_TRUE(f.rec.hasLine(f.at(245), f.at(29), f.at(245), f.at(189)));
    auto boxes = f.rec.ofKind(RecordedOp::Rect);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].y2, f.at(189));
    EXPECT_EQ(boxes[0].pen, 3);

    struct Case {
        int period;
        const char* line;
    } periods[] = {
        {13, "[令和8年 夏期賞与]"}, {14, "[令和8年 冬期賞与]"}, {15, "[令和8年 決算賞与]"}};
    f.l.sysOption.tokuSyoyo = "決算賞与";
    for (auto k : periods) {
        f.rec.clear();
        f.l.CurData.Period = k.period;
        DrawDenominationPage(f.c, f.l, 1, false);
        EXPECT_EQ(f.textAt(150, 21), k.line);
    }
}

}  // namespace
}  // namespace reports
