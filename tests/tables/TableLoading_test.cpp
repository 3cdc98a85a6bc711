#include <gtest/gtest.h>

#include <filesystem>

#include "ledger/TaxTables.h"
#include "support/TempDir.h"
#include "tables/OfficialCsv.h"

using namespace ledger;
using testing_support::TempDir;
namespace fs = std::filesystem;

namespace {

const char* const kNames[] = {"税額表(給与).dat", "税額表(賞与).dat", "健康保険料額表.dat"};

// A folder with copies of the three generated files.
struct TableFolder {
    TempDir dir;
    TableFolder() {
        for (const char* name : kNames) fs::copy_file(official::builtFile(name), dir / name);
    }
    // Overwrites an int32 in one of the files.
    void patch(const char* name, std::size_t at, std::int32_t v) {
        auto bytes = testing_support::readBytes(dir / name);
        std::memcpy(bytes.data() + at, &v, sizeof v);
        testing_support::writeBytes(dir / name, bytes);
    }
};

bool mentions(const std::vector<std::string>& problems, const std::string& name,
              const std::string& why) {
    for (const std::string& p : problems)
        if (p.find(name) != std::string::npos && p.find(why) != std::string::npos) return true;
    return false;
}

}  // namespace

TEST(TableLoading, AllThreeFromAFolder) {
    TableFolder folder;
    StatutoryTables t = LoadStatutoryTables(folder.dir.path());
    EXPECT_EQ(t.loadedCount(), 3);
    EXPECT_TRUE(t.problems.empty());
    EXPECT_EQ(t.salary.RowCount, 234);
    EXPECT_EQ(t.bonus.KouRowCount, 21);
    EXPECT_EQ(t.bonus.OtsuRowCount, 5);
    EXPECT_EQ(t.grades.Count, 50);
}

TEST(TableLoading, MissingFilesAreNamed) {
    TempDir empty;
    StatutoryTables t = LoadStatutoryTables(empty.path());
    EXPECT_EQ(t.loadedCount(), 0);
    ASSERT_EQ(t.problems.size(), 3u);
    for (const char* name : kNames) EXPECT_TRUE(mentions(t.problems, name, "ありません")) << name;
}

TEST(TableLoading, AShortFileIsNotLoadedAndALongerOneIsReadForItsSize) {
    for (const char* name : kNames) {
        TableFolder folder;
        auto bytes = testing_support::readBytes(folder.dir / name);
        const std::size_t size = bytes.size();
        bytes.pop_back();
        testing_support::writeBytes(folder.dir / name, bytes);
        StatutoryTables t = LoadStatutoryTables(folder.dir.path());
        EXPECT_EQ(t.loadedCount(), 2) << name;
        EXPECT_TRUE(mentions(t.problems, name, "短すぎ")) << name;
        EXPECT_TRUE(mentions(t.problems, name, std::to_string(size))) << name;

        bytes.resize(size + 100, 0x7F);
        testing_support::writeBytes(folder.dir / name, bytes);
        EXPECT_EQ(LoadStatutoryTables(folder.dir.path()).loadedCount(), 3) << name;
    }
    TableFolder folder;
    testing_support::writeBytes(folder.dir / kNames[0], {});
    EXPECT_FALSE(LoadStatutoryTables(folder.dir.path()).salaryLoaded);
}

TEST(TableLoading, RowCountsOutsideTheirRangeAreNotLoaded) {
    struct Case {
        int file;
        std::size_t at;
        std::int32_t value;
        const char* why;  // part of the reason given; nullptr when the file loads
    };
    const Case cases[] = {
        {0, 0, 2, "行数 2 "},
        {0, 0, 381, "行数 381 "},
        {0, 0, -1, "行数 -1 "},
        {0, 0, 380, "昇順"},  // rows 378..380 are empty: their starts do not ascend
        {1, 0, 0, "甲欄の行数 0 "},
        {1, 0, 25, "甲欄の行数 25 "},
        {1, 0, 24, nullptr},
        {1, 0, 1, nullptr},
        {1, 1732, 0, "乙欄の行数 0 "},
        {1, 1732, 11, "乙欄の行数 11 "},
        {1, 1732, 10, nullptr},
        {2, 0, 0, "等級数 0 "},
        {2, 0, 81, "等級数 81 "},
        {2, 0, 35, nullptr},
        {2, 4, 0, "等級範囲 0〜35"},    // lowest pension grade below 1
        {2, 8, 51, "等級範囲 4〜51"},   // highest beyond the grades in use
        {2, 4, 36, "等級範囲 36〜35"},  // lowest above highest
    };
    for (const Case& c : cases) {
        TableFolder folder;
        folder.patch(kNames[c.file], c.at, c.value);
        StatutoryTables t = LoadStatutoryTables(folder.dir.path());
        const bool loaded[] = {t.salaryLoaded, t.bonusLoaded, t.gradesLoaded};
        const std::string what = std::string(kNames[c.file]) + " @" + std::to_string(c.at) + " = " +
                                 std::to_string(c.value);
        EXPECT_EQ(loaded[c.file], c.why == nullptr) << what;
        EXPECT_EQ(t.loadedCount(), c.why ? 2 : 3) << what;
        if (c.why) {
            EXPECT_TRUE(mentions(t.problems, kNames[c.file], c.why))
                << what << ": " << (t.problems.empty() ? "" : t.problems.front());
        }
    }
}

TEST(TableLoading, FormulaStartsMustAscend) {
    TableFolder folder;
    // Row N−1 (233) starts where row N−2 does.
    folder.patch(kNames[0], 4 + 44 * 232, 740000);
    StatutoryTables t = LoadStatutoryTables(folder.dir.path());
    EXPECT_FALSE(t.salaryLoaded);
    EXPECT_EQ(t.salary.RowCount, 0);
    EXPECT_TRUE(mentions(t.problems, kNames[0], "昇順"));
}
