#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/Sjis.h"
#include "support/TempDir.h"
#include "tables/OfficialCsv.h"

using testing_support::TempDir;
namespace fs = std::filesystem;

namespace {

const char* const kSources[] = {"monthly_tax_R08.csv",       "monthly_tax_R08_formula.csv",
                                "monthly_tax_params.csv",    "bonus_rate_R08.csv",
                                "health_grades.csv",         "kyokai_rates_R08.csv",
                                "social_insurance_rates.csv"};
const char* const kOutputs[] = {"税額表(給与).dat", "税額表(賞与).dat", "健康保険料額表.dat",
                                "健康保険料率.dat"};

// Runs the generator on copies of the sources in a temporary folder, so a test
// can break one of them.
class Generator {
public:
    Generator() {
        for (const char* name : kSources) fs::copy_file(official::sourceFile(name), dir / name);
        fs::create_directory(dir / "out");
    }

    // Replaces the first line starting with `prefix` by `replacement`; returns its
    // line number.
    int replaceLine(const std::string& file, const std::string& prefix,
                    const std::string& replacement) {
        std::ifstream in(dir / file);
        std::string line, text;
        int number = 0, found = 0;
        while (std::getline(in, line)) {
            ++number;
            if (!found && line.rfind(prefix, 0) == 0) {
                found = number;
                line = replacement;
            }
            text += line + "\n";
        }
        testing_support::writeText(dir / file, text);
        return found;
    }

    // Runs it; returns the exit status and keeps what it wrote to stderr.
    int run() {
        auto q = [](const fs::path& p) { return "'" + p.string() + "'"; };
        std::ostringstream cmd;
        cmd << q(fs::path(TOLVANE_BINARY_DIR) / "tables" / "make_statutory_tables")
            << " --period R08"
            << " --monthly " << q(dir / kSources[0]) << " --monthly-formula "
            << q(dir / kSources[1]) << " --params " << q(dir / kSources[2]) << " --bonus "
            << q(dir / kSources[3]) << " --grades " << q(dir / kSources[4]) << " --rates "
            << q(dir / kSources[5]) << " --social " << q(dir / kSources[6]) << " --rates-month "
            << ratesMonth << " --salary-out " << q(out(kOutputs[0])) << " --bonus-out "
            << q(out(kOutputs[1])) << " --grades-out " << q(out(kOutputs[2])) << " --rates-out "
            << q(out(kOutputs[3])) << " 2> " << q(dir / "stderr.txt");
        const int status = std::system(cmd.str().c_str());
        message = testing_support::readText(dir / "stderr.txt");
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    fs::path out(const char* name) const { return dir / "out" / name; }
    bool wroteNothing() const { return fs::is_empty(dir / "out"); }

    TempDir dir;
    std::string ratesMonth = "2026-04";
    std::string message;
};

}  // namespace

TEST(TableGenerator, WritesTheFilesTheBuildWrote) {
    Generator g;
    ASSERT_EQ(g.run(), 0) << g.message;
    for (const char* name : kOutputs)
        EXPECT_EQ(testing_support::readBytes(g.out(name)),
                  testing_support::readBytes(official::builtFile(name)))
            << name;
}

TEST(TableGenerator, StopsAtAGapAnOverlapOrRowsOutOfOrder) {
    struct Case {
        const char* file;
        const char* linePrefix;
        const char* replacement;
        const char* fault;
    };
    const Case cases[] = {
        // Monthly rows: 302,000..305,000 follows 299,000..302,000.
        {"monthly_tax_R08.csv", "302000,", "303000,305000,8060,6440,4820,3210,1590,0,0,0,54500",
         "gap"},
        {"monthly_tax_R08.csv", "302000,", "301000,305000,8060,6440,4820,3210,1590,0,0,0,54500",
         "overlaps"},
        {"monthly_tax_R08.csv", "302000,", "200000,305000,8060,6440,4820,3210,1590,0,0,0,54500",
         "out of order"},
        {"monthly_tax_R08_formula.csv", "kou,790000,",
         "kou,800000,960000,0.23483,81890,75420,68960,62500,56020,49560,43100,36620,", "gap"},
        // Bonus: the 4.084 % row of 0 dependants starts at 95,000 instead of 94,000.
        {"bonus_rate_R08.csv", "4.084,",
         "4.084,0.04084,95000,260000,250000,289000,276000,321000,300000,354000,300000,387000,"
         "304000,412000,343000,438000,383000,463000,,",
         "gap"},
        // Bonus, 乙: the 20.42 % range starts at 225,000 instead of 224,000.
        {"bonus_rate_R08.csv", "20.420,",
         "20.420,0.2042,605000,684000,621000,705000,636000,728000,651000,751000,666000,774000,"
         "681000,798000,697000,821000,708000,845000,225000,295000",
         "otsu: gap"},
        {"health_grades.csv", "13,", "13,10,156000,165000,160000", "gap"},
        {"health_grades.csv", "12,", "13,9,146000,155000,150000", "out of order"},
        {"kyokai_rates_R08.csv", "13,", "14,東京都,9.85", "out of order"},
        {"kyokai_rates_R08.csv", "13,", "13,東京都,9.8a", "not a decimal"},
    };
    for (const Case& c : cases) {
        Generator g;
        const int line = g.replaceLine(c.file, c.linePrefix, c.replacement);
        ASSERT_GT(line, 0) << c.file << " " << c.linePrefix;
        EXPECT_NE(g.run(), 0) << c.file << ": " << c.replacement;
        EXPECT_NE(g.message.find(std::string(c.file) + ":" + std::to_string(line) + ":"),
                  std::string::npos)
            << g.message;
        EXPECT_NE(g.message.find(c.fault), std::string::npos) << g.message;
        EXPECT_TRUE(g.wroteNothing()) << c.file;
    }
}

TEST(TableGenerator, RefusesAMissingPrefecture) {
    Generator g;
    g.replaceLine("kyokai_rates_R08.csv", "47,", "");
    EXPECT_NE(g.run(), 0);
    EXPECT_NE(g.message.find("46 prefectures"), std::string::npos) << g.message;
    EXPECT_TRUE(g.wroteNothing());
}

// The prefecture list carries the 支援金 of the premium month it is built for.
TEST(TableGenerator, AddsTheSupportRateOfTheRatesMonth) {
    const struct {
        const char* month;
        const char* tokyo;
    } cases[] = {{"2026-03", "東京都     9.85\r\n"}, {"2026-04", "東京都    10.08\r\n"}};
    for (const auto& c : cases) {
        Generator g;
        g.ratesMonth = c.month;
        ASSERT_EQ(g.run(), 0) << g.message;
        const std::string text = testing_support::readText(g.out(kOutputs[3]));
        EXPECT_EQ(sjis::toUtf8(text.substr(12 * 17, 17)), c.tokyo) << c.month;
    }
    Generator g;
    g.replaceLine(kSources[6], "子ども・子育て支援金率,", "");
    EXPECT_NE(g.run(), 0);
    EXPECT_NE(g.message.find("has no row 子ども・子育て支援金率"), std::string::npos) << g.message;
    EXPECT_TRUE(g.wroteNothing());
}
