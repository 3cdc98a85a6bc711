#include "reports/LedgerRows.h"

#include <gtest/gtest.h>

#include "platform/IniFile.h"
#include "support/TempDir.h"

namespace {

using namespace reports;

LedgerRowFlags flags(std::string_view add, std::string_view del) {
    return {LedgerRowFlagsFromText(add), LedgerRowFlagsFromText(del)};
}

TEST(LedgerRows, KeysReadAndWritten) {
    testing_support::TempDir dir;
    platform::IniFile ini(dir.path() / "Tolvane.ini");
    EXPECT_EQ(LoadLedgerRowFlags(ini), LedgerRowFlags{});

    ini.writeString("Option", "DaichoAdd", "010000000000000");
    ini.writeString("Option", "DaichoDel", "1");  // short: the rest stays unset
    const LedgerRowFlags read = LoadLedgerRowFlags(ini);
    EXPECT_TRUE(read.isAdded(2));
    EXPECT_FALSE(read.isAdded(1));
    EXPECT_TRUE(read.isRemoved(1));
    EXPECT_FALSE(read.isRemoved(2));

    SaveLedgerRowFlags(ini, read);
    EXPECT_EQ(ini.readString("Option", "DaichoAdd"), "010000000000000");
    EXPECT_EQ(ini.readString("Option", "DaichoDel"), "100000000000000");
}

TEST(LedgerRows, CountsFollowTheFlags) {
    EXPECT_EQ(LedgerRowCounts({}), (LedgerRowCountsResult{0, 18, 15, 3, 40}));
    // add {2, 9}, remove {2, 13, 14}
    EXPECT_EQ(LedgerRowCounts(flags("010000001", "0100000000001100")),
              (LedgerRowCountsResult{2, 17, 15, 1, 39}));
    // Two added, two removed: the page keeps its 40 rows.
    EXPECT_EQ(LedgerRowCounts(flags("11", "000000110")).total, 40);
}

TEST(LedgerRows, OnlyAsManyAddedAsRemoved) {
    EXPECT_TRUE(LedgerRowsAcceptable({}));
    EXPECT_FALSE(LedgerRowsAcceptable(flags("111", "11")));
    EXPECT_TRUE(LedgerRowsAcceptable(flags("11", "00000000000011")));
}

TEST(LedgerRows, VisibleLinesOfTheCsvLayout) {
    int shown = 0;
    for (int line = 1; line <= 56; ++line) shown += LedgerRowVisible({}, line) ? 1 : 0;
    EXPECT_EQ(shown, 41);
    for (int line = 2; line <= 16; ++line) EXPECT_FALSE(LedgerRowVisible({}, line)) << line;

    const struct {
        int item;
        int line;
    } removals[] = {{1, 20}, {3, 22}, {4, 31}, {7, 45}, {10, 48}, {12, 50}, {13, 53}, {15, 55}};
    for (const auto& r : removals) {
        LedgerRowFlags f;
        f.removed[std::size_t(r.item - 1)] = true;
        EXPECT_FALSE(LedgerRowVisible(f, r.line)) << r.item;
        EXPECT_TRUE(LedgerRowVisible(f, r.line + (r.line % 3 == 2 ? 1 : -1))) << r.item;
    }
    LedgerRowFlags all = flags("111111111111111", "111111111111111");
    for (int line : {1, 17, 19, 23, 30, 34, 44, 51, 52, 56})
        EXPECT_TRUE(LedgerRowVisible(all, line)) << line;
    EXPECT_TRUE(LedgerRowVisible(all, 2));
    EXPECT_TRUE(LedgerRowVisible(all, 16));
}

TEST(LedgerRows, NamesOfTheCsvLines) {
    ledger::SysOption options;
    auto names = LedgerRowNames(options);
    ASSERT_EQ(names.size(), 55u);
    const struct {
        int at;
        const char* name;
    } expected[] = {{1, "所定労働日数,"},  {15, ","},
                    {16, "基本給,"},       {19, "固定手当１,"},
                    {33, "課税支給合計,"}, {34, "支給項目合計,"},
                    {35, "健康保険料,"},   {42, "所得税,"},
                    {49, "変動控除３,"},   {50, "控除項目合計,"},
                    {51, "社保算定合計,"}, {52, "その他１,"},
                    {54, "その他３,"},     {55, "差引支給額,"}};
    for (const auto& e : expected) EXPECT_EQ(names[std::size_t(e.at - 1)], e.name) << e.at;
    for (const auto& n : names) EXPECT_NE(n, "有休残日数,");

    options.freeLabels[0] = "資格手当";
    options.attendanceLabels[1] = "出勤";
    names = LedgerRowNames(options);
    EXPECT_EQ(names[18], "資格手当,");
    EXPECT_EQ(names[1], "出勤,");
    // An emptied label keeps its line, so the values below do not shift.
    options.freeLabels[12] = "";
    names = LedgerRowNames(options);
    ASSERT_EQ(names.size(), 55u);
    EXPECT_EQ(names[51], ",");
    EXPECT_EQ(names[54], "差引支給額,");
}

TEST(LedgerRows, CheckBoxCaptions) {
    ledger::SysOption options;
    options.attendanceLabels[1] = "出勤";
    EXPECT_EQ(AddedItemCaption(1, options), "所定労働日数");
    EXPECT_EQ(AddedItemCaption(2, options), "出勤");
    EXPECT_EQ(AddedItemCaption(15, options), "");
    EXPECT_EQ(RemovedItemCaption(1, options), "固定手当１");
    EXPECT_EQ(RemovedItemCaption(13, options), "その他１");
}

}  // namespace
