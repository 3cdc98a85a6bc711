#include "withholding/WithholdingSlip.h"

#include <gtest/gtest.h>

#include "SlipFixture.h"

namespace withholding {
namespace {

struct Slip : ::testing::Test, slipfixture::SlipFixture {
    void draw(int type) {
        rec.clear();
        DrawWithholdingSlip(canvas, src(), kSlot, type);
    }
};

TEST_F(Slip, HeadingAndCopyLabelFollowTheCopyType) {
    draw(kCopyRecipient);
    EXPECT_EQ(at(46, 17), "平成 28 年分");
    EXPECT_EQ(at(75, 17), "給与所得の源泉徴収票");
    EXPECT_EQ(rec.findText("給与所得の源泉徴収票")->font.name, "ＭＳ ゴシック");
    EXPECT_TRUE(printed("（受給者交付用）"));
    EXPECT_FALSE(printed("整  理  欄"));

    draw(kCopyTaxOffice);
    EXPECT_TRUE(printed("（税務署提出用）"));
    EXPECT_EQ(at(27, 197.3f), "整  理  欄");

    // The payment report carries the following year in a circle instead.
    draw(kCopyMunicipality);
    EXPECT_EQ(at(16, 22), "29");
    EXPECT_FALSE(printed("平成 28 年分"));
    ASSERT_TRUE(printed("給与支払報告書（個人別明細書）"));
    EXPECT_EQ(rec.findText("給与支払報告書（個人別明細書）")->font.name, "ＭＳ 明朝");
    EXPECT_TRUE(printed("（市区町村提出用）"));
    EXPECT_EQ(at(80.9f, 18), "※種　　別");
}

// Amounts print as separate three-digit groups at fixed places.
TEST_F(Slip, AmountGroupsAtTheirPlaces) {
    struct Case {
        std::int32_t amount;
        std::vector<std::pair<float, std::string>> groups;  // x at y 49
    };
    const Case cases[] = {
        {4560000, {{47, "  4"}, {56, "560"}, {65, "000"}}},
        {56000, {{56, " 56"}, {65, "000"}}},
        {700, {{65, "700"}}},
        {0, {{65, "  0"}}},
        // A negative figure keeps all its digits, the sign before the highest group.
        {-1234567, {{47, " -1"}, {56, "234"}, {65, "567"}}},
        {-56000, {{56, "-56"}, {65, "000"}}},
    };
    for (const auto& c : cases) {
        r().PaidAmount = c.amount;
        draw(kCopyTaxOffice);
        auto row = rec.textsOnRow(4900, 1);
        std::vector<std::pair<float, std::string>> got;
        for (const auto& t : row)
            if (t.x >= 4600 && t.x < 7000 && !t.text.empty()) got.push_back({t.x / 100.0f, t.text});
        ASSERT_EQ(got.size(), c.groups.size()) << c.amount;
        for (std::size_t i = 0; i < got.size(); ++i) {
            EXPECT_NEAR(got[i].first, c.groups[i].first, 0.01) << c.amount;
            EXPECT_EQ(got[i].second, c.groups[i].second) << c.amount;
        }
    }
    // The other amount boxes shift with their x.
    r().AnnualTax = 12345;
    draw(kCopyTaxOffice);
    EXPECT_EQ(at(128.5f, 49), " 12");
    EXPECT_EQ(at(137.5f, 49), "345");
    EXPECT_EQ(at(25, 49), "給与･賞与");
}

TEST_F(Slip, DeductionsUseTheWideStyleAndAddTheSmallBusinessPremium) {
    r().SocialInsurance = 1234567;
    draw(kCopyTaxOffice);
    EXPECT_EQ(at(25, 76), "  1,");
    EXPECT_EQ(at(30.5f, 76), "234");
    EXPECT_EQ(at(45.5f, 76), "567");
    EXPECT_EQ(at(45.5f, 73.5f), "");

    r().SocialInsurance = 1000000;
    r().SmallBizPremium = 120000;
    draw(kCopyTaxOffice);
    EXPECT_EQ(at(30.5f, 73.5f), "120");
    EXPECT_EQ(at(45.5f, 73.5f), "000");
    EXPECT_EQ(at(25, 76), "  1,");
    EXPECT_EQ(at(30.5f, 76), "120");

    r().SocialInsurance = r().SmallBizPremium = 0;
    r().LifeInsurance = 50000;
    r().SpouseSpecialAmount = 380000;
    draw(kCopyTaxOffice);
    EXPECT_EQ(at(45.5f, 76), "");
    EXPECT_EQ(at(61, 76), " 50");
    EXPECT_EQ(at(76, 76), "000");
    EXPECT_EQ(at(45, 65), "380");
    EXPECT_EQ(at(54.5f, 65), "000");
}

TEST_F(Slip, IndividualNumbersByCopyType) {
    l.Employee(kSlot).MyNumber = 123456789012;
    l.BasicInfo().CorpNumber = 1234567890123;
    draw(kCopyRecipient);
    EXPECT_EQ(at(105, 26.5f), "");
    EXPECT_FALSE(printed("(個人番号)"));
    EXPECT_GE(line(91.5f, 30, 143.5f, 25), 0);
    EXPECT_GE(line(26.5f, 185.5f, 143.5f, 180), 0);
    EXPECT_EQ(at(43, 182), "");

    for (int type : {kCopyTaxOffice, kCopyMunicipality}) {
        draw(type);
        EXPECT_EQ(at(105, 26.5f), "1");
        EXPECT_EQ(at(141.3f, 26.5f), "2");
        EXPECT_EQ(rec.textAt(10500, 2650)[0], '1');
        EXPECT_EQ(at(43, 182), "1");
        EXPECT_EQ(at(81.4f, 182), "3");
        EXPECT_LT(line(91.5f, 30, 143.5f, 25), 0);
    }
    // A corporate number with a leading zero in its 13-digit form starts in the second cell.
    l.BasicInfo().CorpNumber = 12345678901;
    draw(kCopyTaxOffice);
    EXPECT_EQ(at(43, 182), "");
    EXPECT_EQ(at(46.2f, 182), "0");
    EXPECT_EQ(at(49.4f, 182), "1");
    // None, or a value no number can have: nothing printed.
    for (std::int64_t bad : {std::int64_t(0), std::int64_t(-5), std::int64_t(1234567890123)}) {
        l.Employee(kSlot).MyNumber = bad;
        draw(kCopyTaxOffice);
        EXPECT_EQ(at(105, 26.5f), "") << bad;
    }
}

TEST_F(Slip, FamilyMembersAndTheirStruckRows) {
    auto& s = r().Spouse;
    s.Name.set("山田花子");
    s.Furigana.set("ﾔﾏﾀﾞﾊﾅｺ");
    s.IndividualNo = 123456789012;
    s.NonResident = 1;
    auto& d2 = r().DependantMembers[1];
    d2.Name.set("山田太郎");
    d2.IndividualNo = 111111111111;
    auto& u1 = r().Under16Members[0];
    u1.Name.set("山田次郎");
    u1.IndividualNo = 222222222222;
    u1.NonResident = 1;

    draw(kCopyRecipient);
    EXPECT_EQ(at(36.5f, 112.2f), "ﾔﾏﾀﾞﾊﾅｺ");
    EXPECT_EQ(at(36.5f, 115.2f), "山田花子");
    EXPECT_EQ(at(70, 114), "○");
    EXPECT_EQ(at(36.5f, 119), "");
    EXPECT_GE(line(28, 123, 74, 118), 0);
    EXPECT_GE(line(81.5f, 133.125f, 127.5f, 129), 0);

    draw(kCopyTaxOffice);
    EXPECT_EQ(at(36.5f, 119), "1");
    EXPECT_EQ(at(36.5f + 3.25f, 119), "2");
    EXPECT_EQ(at(36.5f, 136.325f), "山田太郎");
    EXPECT_EQ(at(36.5f, 140.125f), "1");
    EXPECT_EQ(at(26.5f, 137.125f), "2");
    EXPECT_EQ(at(90, 126.2f), "山田次郎");
    EXPECT_EQ(at(123.5f, 125), "○");
    EXPECT_EQ(at(90, 130), "");  // under-16 numbers only for the municipality
    EXPECT_GE(line(81.5f, 133.125f, 127.5f, 129), 0);
    EXPECT_LT(line(28, 123, 74, 118), 0);

    draw(kCopyMunicipality);
    EXPECT_EQ(at(90, 130), "2");
    EXPECT_LT(line(81.5f, 133.125f, 127.5f, 129), 0);

    // A blank name hides the whole member, whatever else is stored.
    s.Name.set("  ");
    draw(kCopyMunicipality);
    EXPECT_EQ(at(36.5f, 112.2f), "");
    EXPECT_EQ(at(36.5f, 119), "");
    EXPECT_EQ(at(70, 114), "");
}

TEST_F(Slip, RemarksColumnByCopyType) {
    r().DependantNotes[1].set("123456789012");
    r().Under16Notes[0].set("999");
    draw(kCopyRecipient);
    EXPECT_GE(line(127.5f, 163.5f, 143.5f, 123), 0);
    EXPECT_FALSE(printed("123456789012"));

    draw(kCopyTaxOffice);
    EXPECT_EQ(at(128.5f, 123.5f), "(備考)");
    EXPECT_EQ(at(128, 128.7f), "123456789012");
    EXPECT_GE(line(127.5f, 163.5f, 143.5f, 144), 0);
    EXPECT_FALSE(printed("999"));

    draw(kCopyMunicipality);
    EXPECT_EQ(at(128, 131.7f), "123456789012");
    EXPECT_EQ(at(128, 150), "999");
    EXPECT_EQ(rec.findText("999")->font.width, std::lround(6 / 2.8 * 100 / 7 * 3));
}

TEST_F(Slip, HousingLoanRows) {
    r().HousingLoanCount = 2;
    r().HousingLoanPossible = 200000;
    r().ResidenceStart[0] = {4, 30, 3, 15};
    r().HousingLoanKind[0] = 1;
    r().HousingLoanSpecific[0] = 1;
    r().HousingLoanKind[1] = 1;
    r().HousingLoanBalance[1] = 25000000;
    draw(kCopyTaxOffice);
    EXPECT_EQ(at(45, 104), " 2");
    EXPECT_EQ(at(39.5f, 109), "    200,000");
    EXPECT_EQ(at(64, 104), "平成30");
    EXPECT_EQ(at(75, 104), " 3");
    EXPECT_EQ(at(81, 104), "15");
    EXPECT_EQ(at(100, 104), "住(特)");
    EXPECT_EQ(at(102, 109), "住");
    EXPECT_EQ(at(131, 109), " 25,000,000");
    EXPECT_EQ(at(64, 109), "");  // no year, no date
}

TEST_F(Slip, CountsFlagsAndDates) {
    const std::uint8_t counts[7] = {1, 0, 0, 2, 0, 3, 0};
    std::memcpy(r().DependantCounts, counts, 7);
    r().Under16Count = 2;
    r().SpouseDeductible = r().SpouseElderly = 1;
    r().PersonFlags[kPersonForeigner] = 1;
    r().PersonFlags[kPersonWorkingStudent] = 1;
    r().Joined = 1;
    r().JoinLeaveDate[0] = 6, r().JoinLeaveDate[1] = 4, r().JoinLeaveDate[2] = 1;
    r().BirthDate = {3, 45, 1, 2};
    draw(kCopyTaxOffice);
    EXPECT_EQ(at(65, 65), "1");
    EXPECT_EQ(at(83, 65), "2");
    EXPECT_EQ(at(96, 65), "3");
    EXPECT_EQ(at(70.5f, 65), "");
    EXPECT_EQ(at(108.5f, 65), "2");
    EXPECT_EQ(at(139, 65), "");
    EXPECT_EQ(at(23.5f, 65), "○");
    EXPECT_EQ(at(29.5f, 65), "");
    EXPECT_EQ(at(36.5f, 65), "○");
    EXPECT_EQ(at(28, 175.5f), "○");
    EXPECT_EQ(at(74.8f, 175.5f), "○");
    EXPECT_EQ(at(23, 175.5f), "");
    EXPECT_EQ(at(80.4f, 175.5f), "○");
    EXPECT_EQ(at(91.2f, 175.5f), "06");
    EXPECT_EQ(at(102, 175.5f), "01");
    EXPECT_EQ(at(118.2f, 175.5f), "○");
    EXPECT_EQ(at(129, 175.5f), "45");
    EXPECT_EQ(at(139.8f, 175.5f), "02");

    r().Joined = 0;
    r().BirthDate = {0, 45, 1, 2};
    draw(kCopyTaxOffice);
    EXPECT_EQ(at(91.2f, 175.5f), "");
    EXPECT_EQ(at(129, 175.5f), "");
}

TEST_F(Slip, RecipientAndPayer) {
    r().PostalCode.set("420-0001");
    r().Address1.set("静岡市清水区");
    r().RecipientNo.set("0005");
    draw(kCopyTaxOffice);
    EXPECT_EQ(at(33.5f, 27), "420-0001");
    EXPECT_EQ(at(33.5f, 31), "静岡市清水区");
    EXPECT_EQ(at(104, 22.8f), "0005");
    EXPECT_EQ(at(98, 39), "鈴木一郎");
    EXPECT_EQ(at(43, 187.5f), "静岡市葵区1-2-3");
    EXPECT_EQ(at(43, 193), "東海商事株式会社");
    EXPECT_EQ(at(110, 193), "054-111-2222");

    data.Header.Address2.set("ビル3F");
    draw(kCopyTaxOffice);
    EXPECT_EQ(at(43, 186.7f), "静岡市葵区1-2-3");
    EXPECT_EQ(at(43, 188.7f), "ビル3F");
}

TEST_F(Slip, PageOffsetsMoveTheWholeCopyAndSlotZeroDrawsNothing) {
    canvas.PageOffsetX = 138;
    draw(kCopyTaxOffice);
    EXPECT_EQ(rec.textAt(18400, 1700), "平成 28 年分");
    canvas.PageOffsetX = 0;

    rec.clear();
    DrawWithholdingSlip(canvas, src(), 0, kCopyTaxOffice);
    DrawWithholdingSlip(canvas, src(), 81, kCopyTaxOffice);
    EXPECT_TRUE(rec.ops().empty());
}

}  // namespace
}  // namespace withholding
