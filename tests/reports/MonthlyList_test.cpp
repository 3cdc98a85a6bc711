#include "reports/MonthlyList.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "ListFixture.h"

namespace reports {
namespace {

using testing::ListFixture;

// The list's head is drawn 7 mm and its table 10 mm higher than given.
constexpr double kHead = -7, kTable = -10;

struct MonthlyFixture : ListFixture {
    MonthlyListJob job;
    MonthlyFixture() { job.period = 4; }
    void draw(int page, MonthlyGrouping g = MonthlyGrouping::Normal) {
        job.plan = BuildMonthlyPagePlan(l, g);
        rec.clear();
        DrawMonthlyListPage(c, l, job, page);
    }
    std::string table(double x, double y) const { return textAt(x, y + kTable); }
};

TEST(MonthlyPagePlan, NormalListAlwaysLeavesRoomForTheTotals) {
    struct Case {
        int employees, pages;
    } cases[] = {{0, 1}, {9, 1}, {10, 2}, {11, 2}, {20, 3}};
    for (auto k : cases) {
        ListFixture f;
        for (int i = 0; i < k.employees; ++i) f.add("社員" + std::to_string(i));
        f.add("退職").Status = 3;
        auto plan = BuildMonthlyPagePlan(f.l, MonthlyGrouping::Normal);
        EXPECT_EQ(plan.targetCount, k.employees);
        EXPECT_EQ(plan.pageCount, k.pages) << k.employees;
    }
}

TEST(MonthlyPagePlan, ByDepartmentEachGroupOnSheetsOfItsOwn) {
    ListFixture f;
    std::vector<std::string> keysB;
    for (int i = 0; i < 15; ++i) {
        auto& e = f.add("社員" + std::to_string(i));
        e.Dept.set(i % 5 == 0 ? "A" : "B");  // A: 0, 5, 10
        if (i % 5 != 0) keysB.push_back(e.Key.str());
    }
    auto plan = BuildMonthlyPagePlan(f.l, MonthlyGrouping::ByDept);
    EXPECT_EQ(plan.groups, (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(plan.targetCount, 15);
    EXPECT_EQ(plan.pageCount, 3);
    std::vector<MonthlySheet> expected{
        {"A", f.l.Employee(1).Key.str(), true}, {"B", keysB[0], false}, {"B", keysB[10], true}};
    EXPECT_EQ(plan.sheets, expected);
    EXPECT_EQ(MonthlyPageSlots(f.l, plan, 1), (std::vector<int>{1, 6, 11}));
    EXPECT_EQ(MonthlyPageSlots(f.l, plan, 3), (std::vector<int>{14, 15}));
}

TEST(MonthlyPagePlan, ByKindStandardKindsFirstAndEmptyGroupsGetNoSheet) {
    ListFixture f;
    for (int i = 0; i < 10; ++i) f.add("一般" + std::to_string(i));  // kind 2
    auto& free = f.add("嘱託者");
    free.Kind = 0;
    free.KindText.set("嘱託");
    auto& gone = f.add("退職者");
    gone.Kind = 0;
    gone.KindText.set("顧問");
    gone.Status = 3;

    auto plan = BuildMonthlyPagePlan(f.l, MonthlyGrouping::ByKind);
    EXPECT_EQ(plan.groups, (std::vector<std::string>{"役員", "一般社員", "臨時社員", "パート",
                                                     "アルバイト", "嘱託", "顧問"}));
    ASSERT_EQ(plan.pageCount, 3);
    EXPECT_EQ(plan.sheets[1], (MonthlySheet{"一般社員", "", true})) << "a group of ten";
    EXPECT_EQ(plan.sheets[2].group, "嘱託");
    EXPECT_TRUE(MonthlyPageSlots(f.l, plan, 2).empty());
}

TEST(MonthlyList, TitleForEveryKindOfPeriod) {
    ListFixture f;
    struct Case {
        int period;
        const char* bonusName;
        const char* title;
    } cases[] = {
        {4, "", "令和8年  4 月 分 給 与 一 覧"},
        {12, "", "令和8年  12 月 分 給 与 一 覧"},
        {13, "", "令和8年  夏 期 賞 与 一 覧"},
        {14, "", "令和8年  冬 季 賞 与 一 覧"},
        {15, "特別賞与", "令和8年  特 別 賞 与 一 覧"},
        {15, "決算特別賞与", "令和8年  決 算 特 別 一 覧"},
        // Steps never cut a double-byte character in half.
        {15, "第3回賞与", "令和8年  第 3 回 賞 一 覧"},
        {15, "BONUS123", "令和8年  BO NU S1 23 一 覧"},
    };
    for (auto k : cases) {
        f.l.sysOption.tokuSyoyo = k.bonusName;
        EXPECT_EQ(MonthlyListTitle(f.l, k.period), k.title) << k.period << k.bonusName;
    }
}

TEST(MonthlyList, DefaultRowsAndTheirPlaces) {
    MonthlyFixture f;
    auto rows = MonthlyRows(LedgerRowFlags{}, f.l.sysOption);
    ASSERT_EQ(rows.size(), 40u);

    f.draw(1);
    struct Case {
        double y;
        const char* caption;
    } cases[] = {{33.9, "基本給"},      {108.7, "課税支給合計"}, {113.1, "支給項目合計"},
                 {117.5, "健康保険料"}, {121.9, "介護保険料"},   {152.7, "住民税"},
                 {179.1, "変動控除３"}, {183.5, "控除項目合計"}, {187.9, "社保算定合計"},
                 {192.3, "その他１"},   {205.5, "差引支給額"}};
    for (auto k : cases) EXPECT_EQ(f.table(13, k.y), k.caption) << k.y;
    auto bold = f.rec.findText("支給項目合計");
    ASSERT_TRUE(bold);
    EXPECT_TRUE(bold->font.bold);
    EXPECT_FALSE(f.rec.findText("基本給")->font.bold);

    auto frames = f.rec.ofKind(RecordedOp::Rect);
    ASSERT_EQ(frames.size(), 3u);  // the table and the two boxed totals
    EXPECT_EQ(frames[0].y1, f.at(29 + kTable));
    EXPECT_EQ(frames[0].y2, f.at(209.4 + kTable));
    EXPECT_EQ(frames[0].x2, f.at(290));
    EXPECT_EQ(f.rec.ofKind(RecordedOp::Fill).size(), 21u);  // rows 0, 2, .. 40
}

TEST(MonthlyList, AddedAttendanceAndRemovedFreeItems) {
    MonthlyFixture f;
    f.job.flags.added[1] = true;     // 出勤日数
    f.job.flags.added[8] = true;     // 普通残業時間
    f.job.flags.removed[1] = true;   // 固定手当２
    f.job.flags.removed[12] = true;  // その他１
    auto& e = f.add("山田");
    int slot = f.slotOf(e);
    f.l.Attendance(slot).Values[ledger::kAttDaysWorked] = 20;
    f.l.Attendance(slot).Values[ledger::kAttOvertime] = 7.5;
    f.l.Payment(slot).Amounts[ledger::kPayFixed1 + 1] = 777;

    f.draw(1);
    EXPECT_EQ(f.table(13, 33.9), "出勤日数");
    EXPECT_EQ(f.table(13, 38.3), "普通残業時間");
    EXPECT_EQ(f.table(13, 42.7), "基本給");
    EXPECT_TRUE(f.rec.hasLine(f.at(10), f.at(42.2 + kTable), f.at(290), f.at(42.2 + kTable)))
        << "a rule under the attendance rows";
    EXPECT_EQ(f.table(40, 33.9), " 20.00");
    EXPECT_EQ(f.table(40, 38.3), "  7:30");
    EXPECT_FALSE(f.rec.findText("固定手当２"));
    EXPECT_FALSE(f.rec.findText("      777"));
    EXPECT_FALSE(f.rec.findText("その他１"));
    EXPECT_EQ(MonthlyRows(f.job.flags, f.l.sysOption).size(), 40u);
    // Totals leave the attendance rows empty.
    EXPECT_EQ(f.table(65.5, 29.5), "　合　計");
    EXPECT_EQ(f.table(65.5, 33.9), "");

    f.l.sysOption.timeStyle = 0;
    f.draw(1);
    EXPECT_EQ(f.table(40, 38.3), "  7.50");
}

TEST(MonthlyList, AttendanceFollowsTheLastMatchingLabel) {
    ledger::SysOption option;
    ledger::TAttendanceRec att{};
    att.Values[1] = 20;
    att.Values[5] = 3;
    EXPECT_EQ(AttendanceByLabel("出勤日数", att, option), 20);
    option.attendanceLabels[5] = "出勤日数";  // renamed to the same label: the later wins
    EXPECT_EQ(AttendanceByLabel("出勤日数", att, option), 3);
    EXPECT_EQ(AttendanceByLabel("無い項目", att, option), 0);
}

TEST(MonthlyList, ColumnsValuesAndTotalsOverEverySheet) {
    MonthlyFixture f;
    for (int i = 0; i < 12; ++i) {
        auto& e = f.add("社員" + std::to_string(i), 200000);
        f.l.Payment(f.slotOf(e)).Amounts[ledger::kPayBase] = 200000;
    }
    // A negative net pay prints and sums as such; その他 comes from the deduction copy.
    int last = 12;
    f.l.Deduction(last).Amounts[ledger::kDedTotal] = 212000;
    f.l.Deduction(last).Amounts[ledger::kDedOther1] = 1000;
    f.l.Payment(last).Amounts[ledger::kPayOther1] = 99999;
    f.next = 30;
    f.add("空きの後", 5000000);

    f.draw(1);
    EXPECT_EQ(f.table(35.5, 29.5), "社員0");
    EXPECT_EQ(f.table(35.5 + 25.5 * 9, 29.5), "社員9");
    EXPECT_EQ(f.table(40, 33.9), "  200,000");
    EXPECT_FALSE(f.rec.findText("　合　計"));
    EXPECT_EQ(f.textAt(260, 22 + kHead), "Page 1 / 2");
    EXPECT_EQ(f.textAt(100, 20 + kHead), "令和8年  4 月 分 給 与 一 覧");

    f.draw(2);
    EXPECT_EQ(f.table(35.5 + 25.5, 29.5), "社員11");
    EXPECT_EQ(f.table(40 + 25.5, 205.5), "  -11,000");
    EXPECT_EQ(f.table(91, 29.5), "　合　計");
    EXPECT_TRUE(f.rec.findText("　合　計")->font.bold);
    EXPECT_EQ(f.table(91, 33.9), " 2,400,000");
    EXPECT_EQ(f.table(91, 205.5), " 2,189,000");
    EXPECT_FALSE(f.rec.findText("空きの後"));
}

TEST(MonthlyList, GroupedSheetShowsItsGroupAndItsOwnTotals) {
    MonthlyFixture f;
    for (int i = 0; i < 4; ++i) {
        auto& e = f.add("社員" + std::to_string(i), 100000 * (i + 1));
        e.Dept.set(i % 2 ? "営業" : "総務");
    }
    f.draw(2, MonthlyGrouping::ByDept);
    EXPECT_EQ(f.textAt(187, 21.5 + kHead), "[営業]");
    EXPECT_EQ(f.table(35.5, 29.5), "社員1");
    EXPECT_EQ(f.table(35.5 + 25.5, 29.5), "社員3");
    EXPECT_EQ(f.table(91, 29.5), "　合　計");
    EXPECT_EQ(f.table(91, 205.5), "   600,000");
    EXPECT_EQ(f.textAt(260, 22 + kHead), "Page 2 / 2");

    f.l.Employee(1).Dept.set("");
    f.l.Employee(3).Dept.set("");
    f.draw(1, MonthlyGrouping::ByDept);
    EXPECT_TRUE(f.rec.textsOnRow(f.at(21.5 + kHead), 1).empty()) << "no caption for no name";
}

// A surface that fails part-way through a page.
class FailingSurface : public RecordingSurface {
public:
    void drawLine(int, int, int, int, int) override { throw std::runtime_error("printer"); }
};

TEST(MonthlyList, CorrectionIsPutBackAfterThePageEvenWhenItFails) {
    MonthlyFixture f;
    f.c.PrAdjustV = 1.5;
    f.draw(1);
    EXPECT_EQ(f.c.PrAdjustV, 1.5);
    EXPECT_EQ(f.textAt(12, 22 + kHead + 1.5), "有限会社テスト商会");
    EXPECT_EQ(f.textAt(13, 33.9 + kTable + 1.5), "基本給");

    FailingSurface failing;
    f.c.surface = &failing;
    EXPECT_THROW(DrawMonthlyListPage(f.c, f.l, f.job, 1), std::runtime_error);
    EXPECT_EQ(f.c.PrAdjustV, 1.5);
}

}  // namespace
}  // namespace reports
