#include "withholding/WithholdingSlipOld.h"

#include <gtest/gtest.h>

#include "SlipFixture.h"
#include "withholding/RefundNotice.h"

namespace withholding {
namespace {

struct OldSlip : ::testing::Test, slipfixture::SlipFixture {
    OldSlip() { l.CurData.Year = 27; }
    void draw(int copy) {
        rec.clear();
        DrawWithholdingSlipOld(canvas, src(false), kSlot, copy);
    }
};

TEST_F(OldSlip, CopiesDifferInHeadingLabelAndExtras) {
    struct Case {
        int copy;
        const char* label;
        float labelY;
        bool heading, circle, strip, arrows;
    };
    const Case cases[] = {
        {1, "(税務署提出用)", 81, true, false, true, false},
        {2, "(受給者交付用)", 81, true, false, false, false},
        {3, "(市区町村提出用)", 80, false, true, false, true},
        {4, "(市区町村提出用)", 80, false, true, false, true},
    };
    for (const auto& c : cases) {
        draw(c.copy);
        auto label = rec.findText(c.label);
        ASSERT_TRUE(label) << c.copy;
        EXPECT_NEAR(label->y / 100.0, c.labelY, 0.01) << c.copy;
        EXPECT_EQ(at(58, 10.5f) == "平成27年分", c.heading) << c.copy;
        EXPECT_EQ(at(29, 16) == "28", c.circle) << c.copy;
        EXPECT_EQ(at(37, 96) == "署番号", c.strip) << c.copy;
        EXPECT_EQ(printed("▼"), c.arrows) << c.copy;
        EXPECT_EQ(printed("▽"), c.arrows) << c.copy;
        EXPECT_EQ(printed("(摘要)"
                          "に控除対象配偶者､扶養親族の氏名､続柄及び前職分の加算額､支払者等を記入し"
                          "てください。"),
                  c.arrows)
            << c.copy;
        EXPECT_EQ(box(34, 16, 154, 95), 8) << c.copy;
        EXPECT_EQ(box(34, 95, 118, 99) >= 0, c.strip) << c.copy;
    }
    // The arrow caps of the fourth divider.
    draw(3);
    EXPECT_GE(line(48, 10.8f, 48, 15.1f), 0);
    EXPECT_EQ(at(47.3f, 9.8f), "▼");
    EXPECT_EQ(at(47.3f, 14.6f), "▲");
}

TEST_F(OldSlip, ValuesAsStored) {
    old().PaidAmount = 4560000;
    old().SocialInsurance = 1234567;
    old().LifeInsurance = 40000;
    old().SpouseKind[kSpouseSubYes] = 1;
    old().SpouseSpecialAmount = 380000;
    old().Under16Count = 2;
    old().PersonFlags[kPersonMinor] = 1;
    old().Joined = 1;
    old().JoinLeaveDate[0] = 27, old().JoinLeaveDate[1] = 4, old().JoinLeaveDate[2] = 1;
    old().BirthDate = {4, 2, 3, 4};
    old().DependantCounts[0] = 1;
    old().PostalCode.set("420-0001");
    draw(1);
    EXPECT_EQ(at(58, 38.5f), "  4,560,000");
    EXPECT_EQ(at(83, 38.5f), "          0");
    EXPECT_EQ(at(36, 38), "給与･賞与");
    EXPECT_EQ(at(101, 54), "1,234,567");
    EXPECT_EQ(at(117, 54), " 40,000");
    EXPECT_EQ(at(128.5f, 54), "");
    EXPECT_EQ(at(38.6f, 55), "○");
    EXPECT_EQ(at(34.2f, 55), "");
    EXPECT_EQ(at(61, 54), "1");
    EXPECT_EQ(at(65, 54), "");
    // The special deduction shows only beside a spouse income.
    EXPECT_EQ(at(47, 54), "");
    EXPECT_EQ(at(35.25f, 80), "2");
    EXPECT_EQ(at(40, 80), "○");
    EXPECT_EQ(at(92.2f, 80), "○");
    EXPECT_EQ(at(102.7f, 80), "27");
    EXPECT_EQ(at(134.2f, 80), "○");
    EXPECT_EQ(at(139.5f, 80), "02");
    EXPECT_EQ(at(150, 80), "04");
    EXPECT_EQ(at(46.5f, 18), "420-0001");
    EXPECT_EQ(at(107, 27.2f), "鈴木一郎");
    EXPECT_EQ(at(55, 85.5f), "静岡市葵区1-2-3");
    EXPECT_EQ(at(55, 91), "東海商事株式会社");
    EXPECT_EQ(at(129, 91), "054-111-2222");

    old().SpouseIncome = 500000;
    data.Header.Address2.set("ビル3F");
    draw(3);
    EXPECT_EQ(at(47, 54), "380,000");
    EXPECT_EQ(at(103, 61.5f), " 500,000");
    EXPECT_EQ(at(46.5f, 21), "420-0001");  // the report's address sits lower
    EXPECT_EQ(at(55, 84), "静岡市葵区1-2-3");
    EXPECT_EQ(at(55, 87), "ビル3F");
}

TEST_F(OldSlip, FourCopiesOnTheSheetFrames) {
    const struct {
        int copy;
        float dx, dy;
    } copies[] = {{1, -18, 0}, {2, -18, 105}, {3, 130.5f, 0}, {4, 130.5f, 105}};
    for (const auto& c : copies) {
        canvas.PageOffsetX = c.dx, canvas.PageOffsetY = c.dy;
        draw(c.copy);
        EXPECT_EQ(box(34 + c.dx, 16 + c.dy, 154 + c.dx, 95 + c.dy), 8) << c.copy;
    }
}

// The 老人 box of the spouse column is a step: a short top at y 46.5 and a
// left side at x 43 down to the row rule at y 50, with nothing over that rule.
TEST_F(OldSlip, ElderlySpouseBoxIsClosedOnTheLeftOnEveryCopy) {
    for (int copy = 1; copy <= 4; ++copy) {
        draw(copy);
        EXPECT_EQ(line(43, 46.5f, 45.5f, 46.5f), 3) << copy;
        EXPECT_EQ(line(43, 46.5f, 43, 50), 3) << copy;
        EXPECT_EQ(line(43, 50, 46.5f, 50), -1) << copy;
    }
}

struct Refund : ::testing::Test, slipfixture::SlipFixture {
    void draw(bool newLayout) {
        rec.clear();
        DrawRefundNotice(canvas, src(newLayout), kSlot);
    }
};

TEST_F(Refund, DifferenceOfTheStoredFigures) {
    struct Case {
        std::int32_t withheld, annual;
        const char* diff;
    };
    const Case cases[] = {
        {50000, 30000, "    -20,000"},
        {30000, 50000, "     20,000"},
        {40000, 40000, "          0"},
        {0, 0, "          0"},
    };
    for (const auto& c : cases) {
        r().TaxWithheld = c.withheld;
        r().AnnualTax = c.annual;
        draw(true);
        EXPECT_EQ(at(128, 64), c.diff);
        EXPECT_EQ(at(38, 64), "          0");  // zero pay still printed
        EXPECT_EQ(at(50, 20), "還付金通知書");
    }
    EXPECT_EQ(at(95, 21), "(平成28年分)");
    EXPECT_EQ(at(55, 34), "東海商事株式会社");
    EXPECT_EQ(at(55, 42), "鈴木一郎");
    EXPECT_EQ(rec.findText("会社名")->font.name, "ＭＳ ゴシック");
    EXPECT_EQ(rec.findText("鈴木一郎")->font.name, "ＭＳ 明朝");
}

TEST_F(Refund, ReadsTheRecordLayoutItIsTold) {
    r().PaidAmount = 1000;
    old().PaidAmount = 2000;
    old().TaxWithheld = 300;
    old().AnnualTax = 100;
    draw(false);
    EXPECT_EQ(at(38, 64), "      2,000");
    EXPECT_EQ(at(128, 64), "       -200");
    draw(true);
    EXPECT_EQ(at(38, 64), "      1,000");

    // The lower notice of a sheet is the same 130 mm lower.
    canvas.PageOffsetY = 130;
    draw(true);
    EXPECT_EQ(at(50, 150), "還付金通知書");
    rec.clear();
    DrawRefundNotice(canvas, src(), 0);
    EXPECT_TRUE(rec.ops().empty());
}

}  // namespace
}  // namespace withholding
