#include "reports/Roster.h"

#include <gtest/gtest.h>

#include "ListFixture.h"

namespace reports {
namespace {

using testing::ListFixture;

TEST(Roster, NonRetiredEmployeesTenAPageUpToTheFirstFreeSlot) {
    ListFixture f;
    for (int i = 1; i <= 12; ++i) {
        auto& e = f.add("社員" + std::to_string(i));
        if (i == 3 || i == 7) e.Status = 2;  // 休職 is listed
        if (i == 5) e.Status = 3;            // 退職 is not
    }
    f.next = 20;
    f.add("空きの後");  // never reached

    ASSERT_EQ(RosterSlots(f.l).size(), 11u);
    EXPECT_EQ(RosterPageCount(f.l), 2);

    DrawRosterPage(f.c, f.l, 1);
    EXPECT_EQ(f.textAt(33.5, 30), "社員1");
    EXPECT_EQ(f.textAt(33.5 + 25.5 * 4, 30), "社員6") << "the retired one is skipped";
    EXPECT_EQ(f.textAt(263, 30), "社員11");
    EXPECT_FALSE(f.rec.findText("社員5"));

    f.rec.clear();
    DrawRosterPage(f.c, f.l, 2);
    EXPECT_EQ(f.textAt(33.5, 30), "社員12");
    EXPECT_EQ(f.textAt(59, 30), "");
    EXPECT_EQ(f.textAt(260, 22), "Page 2 / 2");
    EXPECT_FALSE(f.rec.findText("空きの後"));
}

TEST(Roster, ValuesOfTheRows) {
    ledger::TEmployeeRec e{};
    e.Kind = 0;
    e.KindText.set("嘱託");
    e.PayForm = 3;
    e.TaxColumn = 1;
    e.Dependants = 2;
    e.TaxDependants = 1;
    e.BasePay = 250000;
    e.FixedDeduction[2] = 1500;
    e.EmpInsured = 1;
    e.HealthInsured = 0;
    e.HealthPremium = 12000;  // stored, but not insured
    e.PensionInsured = 1;
    e.PensionPremium = 27450;
    struct Case {
        int row;
        const char* text;
    } cases[] = {{2, "嘱託"},      {3, "時間給"},   {4, "乙欄"},       {5, " 2人 /  1人"},
                 {6, "  250,000"}, {13, "毎月"},    {23, "    1,500"}, {24, "     ○"},
                 {25, "     －"},  {26, "     －"}, {27, "   27,450"}, {28, "     －"}};
    for (auto k : cases) EXPECT_EQ(RosterValue(k.row, e), k.text) << k.row;

    e.Kind = 4;
    e.TaxColumn = 0;
    e.EmpInsured = 0;
    EXPECT_EQ(RosterValue(2, e), "パート");
    EXPECT_EQ(RosterValue(4, e), "甲欄");
    EXPECT_EQ(RosterValue(24, e), "     －");
    // A damaged record prints nothing in these rows instead of failing.
    e.Kind = 9;
    e.PayForm = 0;
    EXPECT_EQ(RosterValue(2, e), "");
    EXPECT_EQ(RosterValue(3, e), "");
}

TEST(Roster, CaptionsFollowTheUsersLabels) {
    ledger::SysOption option;
    option.freeLabels[0] = "資格手当";
    struct Case {
        int row;
        const char* caption;
    } cases[] = {{0, "氏　　名"},     {4, "税額表  "},      {6, "基本給"},
                 {7, "普通残業手当"}, {11, "非課税通勤費"}, {13, "　支給単位  "},
                 {18, "資格手当"},    {21, "固定控除１"},   {28, "厚生年金掛け金"}};
    for (auto k : cases) EXPECT_EQ(RosterCaption(k.row, option), k.caption) << k.row;
}

TEST(Roster, GridCaptionsAndValuePositions) {
    ListFixture f;
    auto& e = f.add("山田太郎");
    e.BasePay = 250000;
    e.HealthInsured = 0;
    DrawRosterPage(f.c, f.l, 1);
    EXPECT_EQ(f.textAt(100, 20), "社 員 名 簿 一 覧 表");
    EXPECT_EQ(f.textAt(11, 30), "氏　　名");
    EXPECT_EQ(f.textAt(11, 101.5), "　支給単位  ");
    EXPECT_EQ(f.textAt(38, 63), "  250,000");
    EXPECT_EQ(f.textAt(33.5, 101.5), "毎月");
    EXPECT_EQ(f.textAt(33.5, 30 + 5.5 * 25), "     －") << "marks stand at the text position";
    EXPECT_EQ(f.rec.ofKind(RecordedOp::Fill).size(), 15u);
    EXPECT_TRUE(f.rec.hasLine(f.at(10), f.at(34.5), f.at(288), f.at(34.5)));
    EXPECT_TRUE(f.rec.hasLine(f.at(262.5), f.at(29), f.at(262.5), f.at(188.5)));
}

}  // namespace
}  // namespace reports
