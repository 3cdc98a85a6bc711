#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "ledger/EmployeeEdit.h"
#include "ledger/TaxTables.h"
#include "tables/OfficialCsv.h"

using namespace ledger;

namespace {

// base × rate % in decimal digits, worked on text as on paper, so that it shares
// nothing with the integer arithmetic of the program: "5.095" × 85,800 is
// "4371.51000". The rate text has exactly three decimals.
std::string exactYen(std::int64_t base, const std::string& rate) {
    std::string digits;
    for (char c : rate)
        if (c != '.') digits += c;
    std::string b = std::to_string(base);
    std::string product(digits.size() + b.size(), '0');
    for (std::size_t i = digits.size(); i-- > 0;) {
        int carry = 0;
        for (std::size_t j = b.size(); j-- > 0;) {
            const std::size_t at = i + j + 1;
            const int v = (product[at] - '0') + (digits[i] - '0') * (b[j] - '0') + carry;
            product[at] = char('0' + v % 10);
            carry = v / 10;
        }
        product[i] = char(product[i] + carry);
    }
    // Three decimals of the rate and two of the percent: five after the point.
    product.insert(product.size() - 5, ".");
    const std::size_t first = std::min(product.find_first_not_of('0'), product.find('.') - 1);
    return product.substr(first);
}

// The premium rule on a decimal text: a fraction of .51 or more rounds up.
std::int32_t over50(const std::string& yen) {
    const std::size_t point = yen.find('.');
    const std::int32_t whole = std::stoi(yen.substr(0, point));
    return yen.substr(point + 1, 2) >= "51" ? whole + 1 : whole;
}

}  // namespace

TEST(GradePremiums, DecimalModelWorksOnPaper) {
    EXPECT_EQ(exactYen(85800, "5.095"), "4371.51000");
    EXPECT_EQ(over50(exactYen(85800, "5.095")), 4372);
    EXPECT_EQ(over50(exactYen(58000, "0.820")), 476);  // 475.60000
    EXPECT_EQ(over50("10.50000"), 10);
}

// Every standard monthly amount of the official grade table, at rates typed with
// three decimals, gives the premium of exact decimal arithmetic.
TEST(GradePremiums, EveryStandardAmountAtTenRatesIsExact) {
    GradeTable grades;
    std::string problem;
    ASSERT_TRUE(LoadTableFile(official::builtFile(kGradeFileName), grades, problem)) << problem;
    ASSERT_EQ(grades.Count, 50);

    const char* rates[] = {"5.095", "4.907", "4.991", "9.150", "0.820",
                           "0.795", "5.005", "9.183", "1.591", "10.280"};
    int checked = 0;
    for (const char* rate : rates) {
        TBasicInfo info{};
        info.HealthInsRate = info.CareInsRate = info.PensionRate = info.PensionFundRate =
            std::stod(rate);
        for (int g = 1; g <= grades.Count; ++g) {
            const GradePremiums p = PremiumsFromGrade(grades, info, g);
            const std::int32_t health = over50(exactYen(grades.Grade(g).Standard, rate));
            const int pg = std::clamp(g, int(grades.PensionLowest), int(grades.PensionHighest));
            const std::int32_t pension = over50(exactYen(grades.Grade(pg).Standard, rate));
            EXPECT_EQ(p.health, health) << rate << " grade " << g;
            EXPECT_EQ(p.care, health) << rate << " grade " << g;
            EXPECT_EQ(p.pension, pension) << rate << " grade " << g;
            EXPECT_EQ(p.pensionFund, pension) << rate << " grade " << g;
            ++checked;
        }
    }
    EXPECT_EQ(checked, 500);
}
