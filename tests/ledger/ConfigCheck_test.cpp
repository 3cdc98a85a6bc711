#include "ledger/ConfigCheck.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

#include "ledger/CorpNumber.h"
#include "ledger/HealthRates.h"
#include "support/TempDir.h"

namespace ledger {
namespace {

using testing_support::TempDir;
using testing_support::writeText;

// A form that passes every check.
ConfigForm validForm() {
    TBasicInfo info{};
    ApplyRateDefaults(info);
    info.HealthInsRate = 5.0;
    info.PayDay = 25;
    info.HoursPerDay = 8;
    ConfigForm f = ConfigFormFrom(info, SysOption{});
    f.corpName = "株式会社テスト";
    return f;
}

struct CheckCase {
    const char* name;
    std::function<void(ConfigForm&)> edit;
    ConfigField field;
    int index;
    ConfigPage page;
    std::string message;
};

const std::string kTaken1 = "項目名｢";
const std::string kTaken2 =
    "｣は既に設定されている項目名です。\r同じ項目名を複数設定する事は出来ません。";

TEST(ConfigCheck, ReportsTheFirstFaultWithItsFieldPageAndText) {
    using F = ConfigField;
    using P = ConfigPage;
    const std::vector<CheckCase> cases = {
        {"blank company name", [](ConfigForm& f) { f.corpName = "  "; }, F::CorpName, 0, P::Basic,
         "会社名が入力されていません。"},
        {"12-digit corporate number", [](ConfigForm& f) { f.corpNumber = "123456789012"; },
         F::CorpNumber, 0, P::Basic, "法人番号の入力に誤りがあります。"},
        {"corporate number with a letter", [](ConfigForm& f) { f.corpNumber = "123456789012a"; },
         F::CorpNumber, 0, P::Basic, "法人番号の入力に誤りがあります。"},
        {"pay day 0", [](ConfigForm& f) { f.payDay = " 0"; }, F::PayDay, 0, P::Basic,
         "給与支給日の入力に誤りがあります。"},
        {"pay day 32", [](ConfigForm& f) { f.payDay = "32"; }, F::PayDay, 0, P::Basic,
         "給与支給日の入力に誤りがあります。"},
        {"no hours per day", [](ConfigForm& f) { f.hoursPerDay = " 0:00"; }, F::HoursPerDay, 0,
         P::Basic, "所定労働条件が入力されていません。"},
        {"zero health rate, focus on the employment rate",
         [](ConfigForm& f) { f.healthInsRate = " 0.000"; }, F::EmpInsRate, 0, P::Basic,
         "保険料負担率が入力されていません。"},
        {"empty attendance label", [](ConfigForm& f) { f.attendanceLabels[3] = ""; },
         F::AttendanceLabel, 3, P::ItemNames, "項目名は必須入力です。"},
        {"duplicate attendance label points at the other field",
         [](ConfigForm& f) { f.attendanceLabels[2] = "出勤日数"; }, F::AttendanceLabel, 2,
         P::ItemNames, "項目名が重複しています。"},
        {"day item named as time", [](ConfigForm& f) { f.attendanceLabels[1] = "出勤時間"; },
         F::AttendanceLabel, 1, P::ItemNames, "｢時間｣や｢残業｣の文字を含んではいけません。"},
        {"duplicate payment label", [](ConfigForm& f) { f.paymentLabels[10] = "基本給"; },
         F::PaymentLabel, 10, P::ItemNames, "項目名が重複しています。"},
        {"fixed allowance named as a payment item",
         [](ConfigForm& f) { f.freeLabels[0] = "基本給"; }, F::FreeLabel, 0, P::FreeItems,
         kTaken1 + "基本給" + kTaken2},
        {"fixed deduction named 所得税", [](ConfigForm& f) { f.freeLabels[7] = "所得税"; },
         F::FreeLabel, 7, P::FreeItems, kTaken1 + "所得税" + kTaken2},
        {"two allowances alike", [](ConfigForm& f) { f.freeLabels[4] = "固定手当１"; },
         F::FreeLabel, 4, P::FreeItems, "項目名が重複しています。"},
        {"empty その他", [](ConfigForm& f) { f.freeLabels[13] = ""; }, F::FreeLabel, 13,
         P::FreeItems, "項目名は必須入力です。"},
        // Typed items are read back from the grid by label: they must stay apart.
        {"variable pay and variable deduction alike",
         [](ConfigForm& f) { f.freeLabels[9] = "変動手当１"; }, F::FreeLabel, 3, P::FreeItems,
         kTaken1 + "変動手当１" + kTaken2},
        {"その他 named as an attendance item", [](ConfigForm& f) { f.freeLabels[12] = "出勤日数"; },
         F::FreeLabel, 12, P::FreeItems, kTaken1 + "出勤日数" + kTaken2},
        {"その他 named 賞与", [](ConfigForm& f) { f.freeLabels[14] = "賞与"; }, F::FreeLabel, 14,
         P::FreeItems, kTaken1 + "賞与" + kTaken2},
        {"variable pay named as その他", [](ConfigForm& f) { f.freeLabels[5] = "その他２"; },
         F::FreeLabel, 5, P::FreeItems, kTaken1 + "その他２" + kTaken2},
        {"label with no Shift-JIS form", [](ConfigForm& f) { f.freeLabels[0] = "手当😀"; },
         F::FreeLabel, 0, P::FreeItems, "｢😀｣はこのシステムで使えない文字です。"},
        {"empty third bonus name", [](ConfigForm& f) { f.tokuSyoyo = ""; }, F::TokuSyoyo, 0,
         P::FreeItems, "項目名は必須入力です。"},
    };
    ASSERT_FALSE(CheckConfig(validForm()));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ConfigForm f = validForm();
        c.edit(f);
        auto r = CheckConfig(f);
        ASSERT_TRUE(r);
        EXPECT_EQ(r->message, c.message);
        EXPECT_EQ(r->field, c.field);
        EXPECT_EQ(r->index, c.index);
        EXPECT_EQ(r->page, c.page);
    }
}

TEST(ConfigCheck, AcceptsTheBoundaryValues) {
    const std::vector<std::pair<const char*, std::function<void(ConfigForm&)>>> cases = {
        {"pay day 31", [](ConfigForm& f) { f.payDay = "31"; }},
        {"empty corporate number", [](ConfigForm& f) { f.corpNumber = ""; }},
        {"13-digit corporate number", [](ConfigForm& f) { f.corpNumber = "1234567890123"; }},
        {"zero pension-fund rate", [](ConfigForm& f) { f.pensionFundRate = " 0.000"; }},
        {"overtime hours renamed 残業時間",
         [](ConfigForm& f) { f.attendanceLabels[8] = "残業時間"; }},
        // Fixed items are no grid rows, so one may share a name with an その他 item.
        {"fixed allowance named その他１", [](ConfigForm& f) { f.freeLabels[0] = "その他１"; }},
    };
    for (const auto& [name, edit] : cases) {
        SCOPED_TRACE(name);
        ConfigForm f = validForm();
        edit(f);
        auto r = CheckConfig(f);
        EXPECT_FALSE(r) << r->message;
    }
}

TEST(ConfigCheck, EarlierChecksWinOnANewPeriod) {
    TBasicInfo info{};
    ApplyRateDefaults(info);
    ConfigForm f = ConfigFormFrom(info, SysOption{});
    f.attendanceLabels[0] = "";
    EXPECT_EQ(CheckConfig(f)->message, "会社名が入力されていません。");
    f.corpName = "Ａ社";
    EXPECT_EQ(CheckConfig(f)->message, "給与支給日の入力に誤りがあります。");
    f.payDay = "25";
    f.hoursPerDay = "7:30";
    // The health rate alone is not defaulted.
    EXPECT_EQ(CheckConfig(f)->message, "保険料負担率が入力されていません。");
    f.healthInsRate = "5.095";
    EXPECT_EQ(CheckConfig(f)->message, "項目名は必須入力です。");
}

TEST(ConfigCheck, TimeItemsMustBeNamedAsTime) {
    EXPECT_EQ(AttendanceLabelFault(7, "実働"), "｢時間｣か｢残業｣の文字を含む必要があります。");
    EXPECT_EQ(AttendanceLabelFault(1, "出勤時間"), "｢時間｣や｢残業｣の文字を含んではいけません。");
    EXPECT_FALSE(AttendanceLabelFault(8, "残業時間"));
    EXPECT_FALSE(AttendanceLabelFault(13, "遅早時間"));
    EXPECT_EQ(AttendanceLabelFault(12, "遅刻早退残業"),
              "｢時間｣や｢残業｣の文字を含んではいけません。");
}

TEST(ConfigShow, ZeroRatesGetTheirUsualValuesAndTheHealthRateStaysZero) {
    TBasicInfo info{};
    ApplyRateDefaults(info);
    EXPECT_EQ(info.GeneralBusiness, 1);
    EXPECT_EQ(info.EmpInsRate, 0.5);
    EXPECT_EQ(info.CareInsRate, 0.81);
    EXPECT_EQ(info.PensionRate, 9.15);
    ConfigForm f = ConfigFormFrom(info, SysOption{});
    EXPECT_EQ(f.empInsRate, " 0.500");
    EXPECT_EQ(f.healthInsRate, " 0.000");
    EXPECT_EQ(f.careInsRate, " 0.810");
    EXPECT_EQ(f.pensionRate, " 9.150");
    EXPECT_EQ(f.pensionFundRate, " 0.000");
    EXPECT_TRUE(f.generalBusiness);

    // A record already set up keeps its rates and business type.
    TBasicInfo set{};
    set.EmpInsRate = 0.6;
    set.CareInsRate = 0.9;
    set.PensionRate = 9.091;
    ApplyRateDefaults(set);
    EXPECT_EQ(set.GeneralBusiness, 0);
    EXPECT_EQ(set.EmpInsRate, 0.6);
    EXPECT_EQ(set.CareInsRate, 0.9);
    EXPECT_EQ(set.PensionRate, 9.091);
}

TEST(ConfigShow, FieldsShowTheirFormats) {
    TBasicInfo info{};
    info.PayDay = 5;
    info.HoursPerDay = 7.5;
    info.CorpNumber = 12345;
    EXPECT_EQ(ConfigFormFrom(info, SysOption{}).payDay, " 5");
    EXPECT_EQ(ConfigFormFrom(info, SysOption{}).hoursPerDay, " 7:30");
    EXPECT_EQ(ConfigFormFrom(info, SysOption{}).corpNumber, "0000000012345");
    SysOption decimal;
    decimal.timeStyle = 0;
    EXPECT_EQ(ConfigFormFrom(info, decimal).hoursPerDay, " 7.50");

    EXPECT_EQ(EmploymentRateText(true), " 0.500");
    EXPECT_EQ(EmploymentRateText(false), " 0.600");

    EXPECT_EQ(ShownNumberText(ConfigField::HoursPerDay, "7:30", 1), " 7:30");
    EXPECT_EQ(ShownNumberText(ConfigField::HoursPerDay, "7:30", 0), " 7.50");
    EXPECT_EQ(ShownNumberText(ConfigField::HoursPerDay, "7.5", 1), " 7:30");
    EXPECT_EQ(ShownNumberText(ConfigField::HealthInsRate, "5.1", 1), " 5.100");
    EXPECT_EQ(ShownNumberText(ConfigField::PayDay, "5", 1), " 5");
    // A refused value is shown as zero.
    EXPECT_EQ(ShownNumberText(ConfigField::CareInsRate, "", 1), " 0.000");
}

TEST(ConfigStore, WritesTheCompanyRecordAndTheSettings) {
    ConfigForm f = validForm();
    f.corpName = "  株式会社Ａ  ";
    f.corpNumber = "1234567890123";
    f.hoursPerDay = " 7:30";
    f.generalBusiness = false;
    f.empInsRate = " 0.600";
    f.healthInsRate = " 5.095";
    f.payNextMonth = true;
    f.freeLabels[0] = " 住宅手当";
    f.kazei[0] = false;
    f.syaho[11] = true;
    f.hasuuSik = 2;
    TBasicInfo info{};
    SysOption o;
    StoreConfig(f, info, o);

    EXPECT_EQ(info.CorpName.str(), "株式会社Ａ");
    EXPECT_EQ(o.corpName, "株式会社Ａ");
    const unsigned char expected[8] = {0xcb, 0x04, 0xfb, 0x71, 0x1f, 0x01, 0x00, 0x00};
    EXPECT_EQ(std::memcmp(reinterpret_cast<const unsigned char*>(&info) + 144, expected, 8), 0);
    EXPECT_EQ(info.PayDay, 25);
    EXPECT_EQ(info.PayNextMonth, 1);
    EXPECT_EQ(info.HoursPerDay, 7.5);
    EXPECT_EQ(info.GeneralBusiness, 0);
    EXPECT_EQ(info.EmpInsRate, 0.6);
    EXPECT_EQ(info.HealthInsRate, 5.095);
    EXPECT_EQ(o.freeLabels[0], " 住宅手当");
    EXPECT_EQ(o.kazei, "011111000000");
    EXPECT_EQ(o.syaho, "111111000001");
    EXPECT_EQ(o.hasuuSik, 2);

    f.corpNumber = "";
    StoreConfig(f, info, o);
    EXPECT_EQ(info.CorpNumber, 0);
    EXPECT_EQ(ConfigFormFrom(info, o).corpNumber, "");
}

TEST(ConfigStore, LongCompanyNameIsCutWithoutSplittingACharacter) {
    ConfigForm f = validForm();
    f.corpName = "A";
    for (int i = 0; i < 30; ++i) f.corpName += "社";  // 61 bytes
    TBasicInfo info{};
    SysOption o;
    StoreConfig(f, info, o);
    EXPECT_EQ(info.CorpName.length(), 43u);
}

TEST(ConfigStore, CorpNumberCodec) {
    EXPECT_EQ(CorpNumberFromText("1234567890123"), 1234567890123);
    EXPECT_EQ(CorpNumberFromText("0000000000001"), 1);
    EXPECT_EQ(CorpNumberFromText(""), 0);
    EXPECT_EQ(CorpNumberText(1234567890123), "1234567890123");
    EXPECT_EQ(CorpNumberText(0), "");
    EXPECT_TRUE(IsCorpNumberText(""));
    EXPECT_FALSE(IsCorpNumberText("12345678901234"));
    EXPECT_FALSE(IsCorpNumberText("-123456789012"));
}

TEST(ConfigHint, OnlyPremiumRatesAskForTheEmployeeEditor) {
    ConfigForm shown = validForm();
    ConfigForm now = shown;
    now.empInsRate = " 0.600";
    EXPECT_FALSE(RatesChanged(shown, now));
    now.careInsRate = " 0.900";
    EXPECT_TRUE(RatesChanged(shown, now));
    // The same rate typed differently is no change.
    ConfigForm retyped = shown;
    retyped.pensionRate = "9.1500";
    EXPECT_FALSE(RatesChanged(shown, retyped));
}

TEST(ConfigDefaults, ButtonsRestoreTheirPageOnly) {
    ConfigForm f = validForm();
    f.freeLabels[3] = "残業手当X";
    f.tokuSyoyo = "決算賞与";
    f.kazei.fill(false);
    f.syaho.fill(true);
    f.attendanceLabels[0] = "所定日数";
    ResetFreeItems(f);
    EXPECT_EQ(f.freeLabels[3], "変動手当１");
    EXPECT_EQ(f.tokuSyoyo, "特別賞与");
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(f.kazei[std::size_t(i)], i < 6);
        EXPECT_EQ(f.syaho[std::size_t(i)], i < 6);
    }
    EXPECT_EQ(f.attendanceLabels[0], "所定日数");
    ResetItemNames(f);
    EXPECT_EQ(f.attendanceLabels[0], "所定労働日数");
}

TEST(HealthRates, ReadsTheFileSkippingMalformedLines) {
    TempDir dir;
    // CP932 bytes: 神奈川県 = 90 5f 93 de 90 ec 8c a7.
    const std::string kanagawa = "\x90\x5f\x93\xde\x90\xec\x8c\xa7  10.19";
    writeText(dir / kHealthRatesFileName, kanagawa + "\r\n" +
                                              "TOKYO       9.91\r\n"  // rate not in bytes 11-15
                                              "short\r\n"
                                              "Niigata    9.55\r\n"
                                              "Bad        1x.00\r\n"
                                              "Gifu      10.\r\n"
                                              "\r\n");
    auto lines = ReadHealthRates(dir / kHealthRatesFileName);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].text, "神奈川県  10.19%");
    EXPECT_EQ(RateText(EmployeeShare(lines[0])), " 5.095");
    EXPECT_EQ(EmployeeShare(lines[0]), 5.095);
    EXPECT_EQ(lines[1].text, "Niigata    9.55%");
    EXPECT_EQ(lines[1].rate, 9.55);

    EXPECT_TRUE(ReadHealthRates(dir / "none.dat").empty());
}

}  // namespace
}  // namespace ledger
