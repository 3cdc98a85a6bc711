#include <gtest/gtest.h>

#include "ledger/ConfigCheck.h"
#include "ledger/EmployeeEdit.h"
#include "ledger/HealthRates.h"
#include "ledger/PayCalcFixture.h"
#include "ledger/TaxTables.h"
#include "tables/OfficialCsv.h"

namespace ledger {
namespace {

// A firm in 東京都 takes its rate from the built list as the settings dialog
// does: half the chosen line, shown "%6.3f", stored from the field.
class TokyoRateTest : public testing_calc::PayCalcTest {
protected:
    void chooseTokyo() {
        const auto lines = ReadHealthRates(official::builtFile(kHealthRatesFileName));
        for (const HealthRateLine& line : lines) {
            if (line.text.rfind("東京都", 0) != 0) continue;
            ConfigForm form = ConfigFormFrom(ledger.BasicInfo(), ledger.sysOption);
            form.healthInsRate = RateText(EmployeeShare(line));
            StoreConfig(form, ledger.BasicInfo(), ledger.sysOption);
            return;
        }
        FAIL() << "no 東京都 in the rates file";
    }
};

// From 令和8年4月分 the employee pays half of the standard amount times the
// general rate and the 支援金 rate together (9.85 + 0.23 = 10.08 %), a fraction of
// 50 sen or less cut off and one above it rounded up.
TEST_F(TokyoRateTest, SalaryAndBonusPremiumsUseTheCombinedRate) {
    chooseTokyo();
    ASSERT_EQ(RateText(ledger.BasicInfo().HealthInsRate), " 5.040");

    GradeTable grades;
    std::string problem;
    ASSERT_TRUE(LoadTableFile(official::builtFile(kGradeFileName), grades, problem)) << problem;
    struct Monthly {
        std::int32_t standard;
        std::int32_t premium;  // worked by hand
    };
    const Monthly salaries[] = {
        {300000, 15120},   // 30,240.0 / 2 = 15,120.0
        {98000, 4939},     // 9,878.4 / 2 = 4,939.2: down
        {134000, 6754},    // 13,507.2 / 2 = 6,753.6: up
        {1390000, 70056},  // 140,112.0 / 2 = 70,056.0
    };
    for (const Monthly& m : salaries) {
        int grade = 0;
        for (int g = 1; g <= grades.Count; ++g)
            if (grades.Grade(g).Standard == m.standard) grade = g;
        ASSERT_NE(grade, 0) << m.standard;
        EXPECT_EQ(PremiumsFromGrade(grades, ledger.BasicInfo(), grade).health, m.premium)
            << m.standard;
    }

    struct Bonus {
        const char* paid;
        std::int32_t premium;  // on the standard bonus amount, whole thousands
    };
    const Bonus bonuses[] = {
        {"456,789", 22982},    // 456,000: 45,964.8 / 2 = 22,982.4: down
        {"1,234,567", 62194},  // 1,234,000: 124,387.2 / 2 = 62,193.6: up
        {"300,999", 15120},    // 300,000: 30,240.0 / 2 = 15,120.0
    };
    const TBasicInfo rates = ledger.BasicInfo();
    for (const Bonus& b : bonuses) {
        openPeriod(13);
        ledger.BasicInfo() = rates;
        ledger.FileHeader.BonusPayMonth[0] = 7;
        ledger.FileHeader.BonusPayDay[0] = 10;
        addEmployee(1, "250401_080000").HealthInsured = 1;
        BuildItemGrid(ledger);
        type(1, "賞与", b.paid);
        recalc();
        EXPECT_EQ(ded(1, kDedHealth), b.premium) << b.paid;
    }
}

}  // namespace
}  // namespace ledger
