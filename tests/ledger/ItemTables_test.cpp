#include "ledger/ItemTables.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/IniFile.h"
#include "support/TempDir.h"

namespace ledger {
namespace {

using testing_support::TempDir;
using testing_support::writeText;

std::vector<std::string> used(std::span<const std::string> codes) {
    std::vector<std::string> out;
    for (const auto& c : codes)
        if (c != "F") out.push_back(c);
    return out;
}

class ItemTablesTest : public testing::Test {
protected:
    TempDir dir;
    platform::IniFile ini{dir / "Tolvane.ini"};
    ItemTables tables;
    SysOption option;
};

TEST_F(ItemTablesTest, SalaryDefaultsFollowTheUseStrings) {
    LoadItemTables(ini, SlipKind::Salary, tables, option);
    TPrnLayout layout = BuildPrnLayout(tables, SlipKind::Salary);
    EXPECT_EQ(used(layout[1].Attendance),
              (std::vector<std::string>{"F所定労働日数", "V出勤日数", "V有休日数", "V欠勤日数",
                                        "V特別休暇日数", "F所定労働時間", "V実働時間",
                                        "V普通残業時間", "V深夜残業時間", "V遅刻早退回数",
                                        "V遅刻早退時間", "V有休残日数"}));
    EXPECT_EQ(layout[1].Attendance[4], "F");  // 休日出勤日数 is off
    EXPECT_EQ(used(layout[2].Payment),
              (std::vector<std::string>{"F基本給", "F役職手当", "F家族手当", "F非課税通勤費",
                                        "F課税通勤費", "F遅刻早退控除", "F課税支給合計"}));
    EXPECT_EQ(used(layout[3].Payment).size(), 6u);
    EXPECT_EQ(used(layout[1].Deduction).size(), 9u);
    EXPECT_EQ(layout[1].Deduction[14], "F");  // no typed deduction by default
    EXPECT_TRUE(used(layout[1].Other).empty());
}

TEST_F(ItemTablesTest, BonusLayoutHasNoAttendance) {
    LoadItemTables(ini, SlipKind::Salary, tables, option);
    LoadItemTables(ini, SlipKind::Bonus, tables, option);
    TPrnLayout layout = BuildPrnLayout(tables, SlipKind::Bonus);
    for (int t = 1; t <= 3; ++t) {
        SCOPED_TRACE(t);
        EXPECT_TRUE(used(layout[t].Attendance).empty());
        EXPECT_EQ(used(layout[t].Payment),
                  (std::vector<std::string>{"V賞与", "V役員報酬", "F課税支給合計"}));
        EXPECT_EQ(used(layout[t].Deduction),
                  (std::vector<std::string>{"F健康保険料", "F介護保険料", "F厚生年金保険",
                                            "F厚生年金基金", "F雇用保険料", "F社会保険料計",
                                            "F社保控除後計", "F所得税"}));
    }
}

TEST_F(ItemTablesTest, ShortOrDamagedUseStringLeavesSlotsUnused) {
    writeText(dir / "Tolvane.ini", "[KyuyoKeitai1]\r\nSonota=1\r\nKoujo=1x1\r\n");
    ini.writeString("KyuyoItemName", "Sonota01", "V手当X");
    LoadItemTables(ini, SlipKind::Salary, tables, option);
    TPrnLayout layout = BuildPrnLayout(tables, SlipKind::Salary);
    EXPECT_EQ(layout[1].Other, (std::array<std::string, 3>{"Vその他１", "F", "F"}));
    EXPECT_EQ(used(layout[1].Deduction),
              (std::vector<std::string>{"F健康保険料", "F厚生年金保険"}));
    EXPECT_EQ(tables.OtherItems[1].Code, "V手当X");
    // Pay types without a saved string keep their defaults.
    EXPECT_EQ(used(layout[2].Deduction).size(), 9u);
}

TEST_F(ItemTablesTest, MovingARowCarriesItsFlagsIntoTheSavedSettings) {
    LoadItemTables(ini, SlipKind::Salary, tables, option);
    MoveItemEntry(tables, ItemGroup::Payment, 0, 17);
    SaveItemTables(ini, SlipKind::Salary, tables, option);

    EXPECT_EQ(ini.readString("KyuyoItemName", "Sikyu00"), "F役職手当");
    EXPECT_EQ(ini.readString("KyuyoItemName", "Sikyu16"), "F課税支給合計");
    EXPECT_EQ(ini.readString("KyuyoItemName", "Sikyu17"), "F基本給");
    EXPECT_EQ(ini.readString("KyuyoKeitai1", "Sikyu"), "110001100111100011");
    EXPECT_EQ(ini.readString("KyuyoKeitai2", "Sikyu"), "110000000110100011");
    EXPECT_EQ(ini.readString("KyuyoKeitai3", "Sikyu"), "110000000110000011");
    EXPECT_EQ(ini.readString("KyuyoKeitai1", "Kintai"), "1111011111001111");
    EXPECT_EQ(ini.readString("KyuyoItemName", "Kintai00"), "F所定労働日数");

    // And back to the top: the order is as it was.
    MoveItemEntry(tables, ItemGroup::Payment, 17, 0);
    EXPECT_EQ(tables.PaymentItems[0].Code, "F基本給");
    EXPECT_EQ(UseString(tables.PaymentItems, 1), "111000110011110001");
}

TEST_F(ItemTablesTest, BonusSettingsHaveNoAttendanceKeys) {
    LoadItemTables(ini, SlipKind::Bonus, tables, option);
    SaveItemTables(ini, SlipKind::Bonus, tables, option);
    EXPECT_FALSE(ini.valueExists("SyoyoItemName", "Kintai00"));
    EXPECT_FALSE(ini.valueExists("SyoyoKeitai1", "Kintai"));
    EXPECT_EQ(ini.readString("SyoyoItemName", "Sikyu00"), "V賞与");
    EXPECT_EQ(ini.readString("SyoyoKeitai3", "Sikyu"), "111000100011111111");
    EXPECT_FALSE(ini.sectionExists("KyuyoItemName"));
}

TEST_F(ItemTablesTest, TogglingChangesOnlyTheActivePayType) {
    LoadItemTables(ini, SlipKind::Salary, tables, option);
    ToggleItemUse(tables, ItemGroup::Payment, 14, 2);  // 変動手当１ on 日給
    EXPECT_FALSE(tables.PaymentItems[14].Use[1]);
    EXPECT_TRUE(tables.PaymentItems[14].Use[2]);
    EXPECT_FALSE(tables.PaymentItems[14].Use[3]);
    ToggleItemUse(tables, ItemGroup::Payment, 14, 2);
    EXPECT_FALSE(tables.PaymentItems[14].Use[2]);
}

TEST_F(ItemTablesTest, ResetRestoresCodesAndFlagsOfTheKind) {
    LoadItemTables(ini, SlipKind::Salary, tables, option);
    MoveItemEntry(tables, ItemGroup::Deduction, 3, 10);
    ToggleItemUse(tables, ItemGroup::Other, 0, 1);
    tables.AttendanceItems[0].Code = "V出勤日数";
    ResetItemTables(tables, SlipKind::Bonus);
    EXPECT_EQ(tables.PaymentItems[0].Code, "V賞与");
    EXPECT_EQ(tables.DeductionItems[3].Code, "F厚生年金基金");
    EXPECT_FALSE(tables.OtherItems[0].Use[1]);
    EXPECT_EQ(tables.AttendanceItems[0].Code, "V出勤日数");  // bonus slips have none
    ResetItemTables(tables, SlipKind::Salary);
    EXPECT_EQ(tables.AttendanceItems[0].Code, "F所定労働日数");
    EXPECT_EQ(UseString(tables.PaymentItems, 2), "111000000011010001");
}

TEST_F(ItemTablesTest, RenamedCodesAreWrittenAsTheirStandardCode) {
    option.freeLabels[0] = "住宅手当";
    EXPECT_EQ(StandardItemCode("F住宅手当", ItemGroup::Payment, option), "F固定手当１");
    EXPECT_EQ(StandardItemCode("F住宅手当", ItemGroup::Deduction, option), "F住宅手当");
    option.freeLabels[10] = "親睦会費";
    EXPECT_EQ(StandardItemCode("V親睦会費", ItemGroup::Deduction, option), "V変動控除２");
    option.freeLabels[14] = "立替金";
    EXPECT_EQ(StandardItemCode("V立替金", ItemGroup::Other, option), "Vその他３");
    EXPECT_EQ(StandardItemCode("F", ItemGroup::Payment, option), "F");
}

TEST_F(ItemTablesTest, RenamesNeverMakeAnItemDropOut) {
    // 固定手当１ and ２ swap labels: each standard code keeps its own slot.
    option.freeLabels[0] = "固定手当２";
    option.freeLabels[1] = "固定手当１";
    EXPECT_EQ(StandardItemCode("F固定手当１", ItemGroup::Payment, option), "F固定手当１");
    EXPECT_EQ(StandardItemCode("F固定手当２", ItemGroup::Payment, option), "F固定手当２");
    // A computed item is never taken for a renamed one.
    option.freeLabels[2] = "課税支給合計";
    EXPECT_EQ(StandardItemCode("F課税支給合計", ItemGroup::Payment, option), "F課税支給合計");

    LoadItemTables(ini, SlipKind::Salary, tables, option);
    SaveItemTables(ini, SlipKind::Salary, tables, option);
    LoadItemTables(ini, SlipKind::Salary, tables, option);
    std::vector<std::string> codes;
    for (const auto& e : tables.PaymentItems) codes.push_back(e.Code);
    ItemTables fresh;
    for (std::size_t k = 0; k < codes.size(); ++k) EXPECT_EQ(codes[k], fresh.PaymentItems[k].Code);
}

}  // namespace
}  // namespace ledger
