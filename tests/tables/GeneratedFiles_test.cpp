#include <gtest/gtest.h>

#include <filesystem>

#include "ledger/TaxTables.h"
#include "platform/Sjis.h"
#include "support/TempDir.h"
#include "tables/OfficialCsv.h"

using namespace ledger;
namespace fs = std::filesystem;

// Every account that runs the build reads them: readable by all, written by none but the owner.
TEST(GeneratedTableFiles, HaveTheirFixedSizesAndAreReadableByEveryone) {
    const struct {
        const char* name;
        std::uintmax_t size;
    } files[] = {{"税額表(給与).dat", 16788u},
                 {"税額表(賞与).dat", 1856u},
                 {"健康保険料額表.dat", 972u},
                 {"健康保険料率.dat", 47u * 17u}};
    for (const auto& f : files) {
        const fs::path file = official::builtFile(f.name);
        EXPECT_EQ(fs::file_size(file), f.size) << f.name;
        EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                      fs::perms::others_read)
            << f.name;
    }
}

TEST(GeneratedTableFiles, GradeTableHoldsEveryOfficialGrade) {
    GradeTable grades;
    std::string problem;
    ASSERT_TRUE(LoadTableFile(official::builtFile(kGradeFileName), grades, problem)) << problem;
    EXPECT_EQ(grades.Count, 50);
    EXPECT_EQ(grades.PensionLowest, 4);
    EXPECT_EQ(grades.PensionHighest, 35);

    const auto rows = official::read("health_grades.csv");
    ASSERT_EQ(rows.size(), 50u);
    for (const official::Row& r : rows) {
        const GradeRow& g = grades.Grade(int(r.yen("health_grade")));
        EXPECT_EQ(g.Lower, r.number("lower_yen").value_or(0)) << r.text("health_grade");
        EXPECT_EQ(g.Upper, r.number("upper_yen").value_or(kNoUpperLimit)) << r.text("health_grade");
        EXPECT_EQ(g.Standard, r.yen("standard_monthly_yen")) << r.text("health_grade");
        // The pension range of the header covers exactly the grades with a pension grade.
        const bool pension = !r.text("pension_grade").empty();
        const int health = int(r.yen("health_grade"));
        EXPECT_EQ(pension, health >= grades.PensionLowest && health <= grades.PensionHighest);
    }
}

namespace {

// A percent cell ("9.85", "0.23") in hundredths of a percent.
int hundredths(const std::string& percent) {
    const official::Fraction f = official::Fraction::parse(percent);
    return int(f.num * 100 / f.den);
}

// The 子ども・子育て支援金 rate levied from 令和8年4月分, as the nation-wide rates give it.
int supportRate() {
    for (const official::Row& r : official::read("social_insurance_rates.csv"))
        if (r.text("item") == "子ども・子育て支援金率" && r.text("valid_from") <= "2026-04")
            return hundredths(r.text("rate_percent"));
    return -1;
}

}  // namespace

// Each prefecture's 協会けんぽ rate with the 支援金 added, as the premium of
// 令和8年4月分 onward is charged on the two together.
TEST(GeneratedTableFiles, RatesFileListsEachPrefectureWithTheSupportRateAdded) {
    const std::string text = testing_support::readText(official::builtFile("健康保険料率.dat"));
    const auto rows = official::read("kyokai_rates_R08.csv");
    ASSERT_EQ(rows.size(), 47u);
    ASSERT_EQ(supportRate(), 23);
    ASSERT_EQ(text.size(), 47u * 17u);  // 15 characters and CR LF per line
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::string line = text.substr(i * 17, 17);
        ASSERT_EQ(line.substr(15), "\r\n") << i;
        const std::string name = sjis::toUtf8(line.substr(0, 10));
        EXPECT_EQ(name.substr(0, name.find(' ')), rows[i].text("prefecture"));
        EXPECT_EQ(name.find_first_not_of(' ', name.find(' ')), std::string::npos)
            << "blanks only after the name: " << name;
        const int rate = hundredths(rows[i].text("health_rate_percent")) + supportRate();
        char expected[16];
        std::snprintf(expected, sizeof expected, "%2d.%02d", rate / 100, rate % 100);
        EXPECT_EQ(line.substr(10, 5), expected) << name;
    }
    EXPECT_EQ(sjis::toUtf8(text.substr(12 * 17, 17)), "東京都    10.08\r\n");
    EXPECT_EQ(sjis::toUtf8(text.substr(13 * 17, 17)), "神奈川県  10.15\r\n");
}
