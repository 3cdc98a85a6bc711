#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "reports/ui/QtSurface.h"
#include "withholding/RefundNotice.h"
#include "withholding/SlipCanvas.h"
#include "withholding/SlipFixture.h"
#include "withholding/WithholdingSlip.h"
#include "withholding/WithholdingSlipOld.h"

// The year-end forms rendered as they come out of the printer. With
// TOLVANE_SCREENSHOT_DIR set the sheets are kept as PNG files to be looked at.
namespace withholding {
namespace {

constexpr int kDpi = 200;

struct SlipRender : ::testing::Test, slipfixture::SlipFixture {
    SlipRender() {
        // Every field filled with the longest text it takes.
        l.Employee(kSlot).MyNumber = 123456789012;
        l.BasicInfo().CorpNumber = 1234567890123;
        l.BasicInfo().CorpName.set("株式会社トルヴァン商事東京本社営業統括");
        data.Header.Address1.set("東京都千代田区丸の内一丁目二番三号丸の内");
        data.Header.Address2.set("トルヴァンビルディング十二階");
        data.Header.Telephone.set("03-1234-5678");
        auto& n = r();
        n.PostalCode.set("100-0005");
        n.Address1.set("東京都千代田区丸の内一丁目");
        n.Address2.set("二番三号丸の内マンション");
        n.RecipientNo.set("12345678");
        n.Position.set("営業部長");
        n.Furigana.set("ｽｽﾞｷ ｲﾁﾛｳ");
        n.PaidAmount = 12345678, n.IncomeAfterDeduction = 10234567;
        n.IncomeDeductionTotal = 3456789, n.AnnualTax = 456789, n.TaxWithheld = 500000;
        n.SpouseDeductible = n.SpouseElderly = 1;
        n.SpouseSpecialAmount = 380000;
        for (int i = 0; i < 7; ++i) n.DependantCounts[i] = 1;
        n.Under16Count = 2;
        for (int i = 0; i < 3; ++i) n.DisabledCounts[i] = 1;
        n.NonResidentCount = 1;
        n.SocialInsurance = 1234567, n.SmallBizPremium = 120000;
        n.LifeInsurance = 120000, n.EarthquakeInsurance = 50000, n.HousingLoanCredit = 400000;
        n.Remarks[0].set("前職分　株式会社サンプル　支払金額1,234,567円　源泉徴収税額12,345円");
        n.Remarks[1].set("社会保険料等の金額123,456円");
        n.NewLifePremium = 80000, n.OldLifePremium = 100000, n.CareMedicalPremium = 40000;
        n.NewPensionPremium = 60000, n.OldPensionPremium = 70000;
        n.HousingLoanCount = 2, n.HousingLoanPossible = 400000;
        n.ResidenceStart[0] = {4, 30, 3, 15};
        n.ResidenceStart[1] = {4, 31, 12, 1};
        n.HousingLoanKind[0] = 1, n.HousingLoanSpecific[0] = 1, n.HousingLoanKind[1] = 2;
        n.HousingLoanBalance[0] = 25000000, n.HousingLoanBalance[1] = 9876543;
        auto member = [](TFamilyMember& m, const char* kana, const char* name, std::int64_t no) {
            m.Furigana.set(kana);
            m.Name.set(name);
            m.IndividualNo = no;
            m.NonResident = 1;
        };
        member(n.Spouse, "ｽｽﾞｷ ﾊﾅｺ", "鈴木花子", 234567890123);
        n.SpouseIncome = 500000, n.NationalPensionPremium = 200000, n.OldLongTermPremium = 15000;
        for (int i = 0; i < 4; ++i) {
            member(n.DependantMembers[i], "ｽｽﾞｷ ﾀﾛｳ", "鈴木太郎", 345678901234);
            member(n.Under16Members[i], "ｽｽﾞｷ ｼﾞﾛｳ", "鈴木次郎", 456789012345);
            n.DependantNotes[i].set("456789012345");
            n.Under16Notes[i].set("567890123456");
        }
        for (int i = 0; i < kPersonFlagCount; ++i) n.PersonFlags[i] = 1;
        n.Joined = n.Resigned = 1;
        n.JoinLeaveDate[0] = 28, n.JoinLeaveDate[1] = 4, n.JoinLeaveDate[2] = 1;
        n.BirthDate = {3, 45, 12, 31};

        auto& o = old();
        o.PostalCode.set("100-0005");
        o.Address1.set("東京都千代田区丸の内一丁目");
        o.Address2.set("二番三号丸の内マンション");
        o.RecipientNo.set("12345678");
        o.Furigana.set("ｽｽﾞｷ ｲﾁﾛｳ");
        o.Position.set("営業部長");
        o.PaidAmount = 12345678, o.IncomeAfterDeduction = 10234567;
        o.IncomeDeductionTotal = 3456789, o.AnnualTax = 456789, o.TaxWithheld = 500000;
        o.SpouseKind[kSpouseYes] = 1, o.SpouseElderly = 1, o.SpouseSpecialAmount = 380000;
        for (int i = 0; i < 7; ++i) o.DependantCounts[i] = 1;
        for (int i = 0; i < 3; ++i) o.DisabledCounts[i] = 1;
        o.SocialInsurance = 1234567, o.LifeInsurance = 120000, o.EarthquakeInsurance = 50000;
        o.HousingLoanCredit = 400000;
        o.Remarks[0].set("前職分　株式会社サンプル　支払金額1,234,567円");
        o.Remarks[1].set("社会保険料等の金額123,456円");
        o.SpouseIncome = 500000, o.NewLifePremium = 80000, o.OldLifePremium = 100000;
        o.CareMedicalPremium = 40000, o.NewPensionPremium = 60000, o.OldPensionPremium = 70000;
        o.OldLongTermPremium = 15000;
        for (int i = 0; i < kPersonFlagCount; ++i) o.PersonFlags[i] = 1;
        o.Joined = o.Resigned = 1;
        o.JoinLeaveDate[0] = 27, o.JoinLeaveDate[1] = 4, o.JoinLeaveDate[2] = 1;
        o.BirthDate = {4, 2, 3, 4};
        o.Under16Count = 2;
    }

    // One sheet at 200 dpi; the drawer sets the page offsets of its copies.
    QImage sheet(double wMm, double hMm, const std::function<void(reports::PrnCanvas&)>& draw) {
        QImage img(int(wMm * kDpi / 25.4), int(hMm * kDpi / 25.4), QImage::Format_RGB32);
        img.fill(Qt::white);
        QPainter p(&img);
        reports::ui::QtSurface s(p);
        reports::PrnCanvas c;
        c.prepare(reports::PrnCanvas::printerMetrics(kDpi, kDpi, 0, 0), &s);
        draw(c);
        p.end();
        return img;
    }

    static void cut(reports::PrnCanvas& c, double x1, double y1, double x2, double y2) {
        c.PageOffsetX = c.PageOffsetY = 0;
        SlipCanvas p(c);
        p.ThinPen();
        p.DrawDashedLine(x1, y1, x2, y2);
    }

    // Ink inside the sheet, and the picture kept when asked for.
    void check(const QImage& img, const char* name) {
        int dark = 0;
        for (int y = 0; y < img.height(); y += 4)
            for (int x = 0; x < img.width(); x += 4)
                if (qGray(img.pixel(x, y)) < 128) ++dark;
        EXPECT_GT(dark, 500) << name;
        if (const char* dir = std::getenv("TOLVANE_SCREENSHOT_DIR")) {
            std::filesystem::create_directories(dir);
            EXPECT_TRUE(img.save(QString::fromUtf8(dir) + "/" + name + ".png")) << name;
        }
    }
};

TEST_F(SlipRender, NewLayoutSlipAndPaymentReport) {
    check(sheet(297, 210,
                [&](reports::PrnCanvas& c) {
                    c.PageOffsetX = -5;
                    DrawWithholdingSlip(c, src(), kSlot, kCopyRecipient);
                    c.PageOffsetX = 138;
                    DrawWithholdingSlip(c, src(), kSlot, kCopyTaxOffice);
                    cut(c, 148.5, 10, 148.5, 200);
                }),
          "withholding_slip");
    check(sheet(297, 210,
                [&](reports::PrnCanvas& c) {
                    for (float x : {-5.0f, 138.0f}) {
                        c.PageOffsetX = x;
                        DrawWithholdingSlip(c, src(), kSlot, kCopyMunicipality);
                    }
                    cut(c, 148.5, 10, 148.5, 200);
                }),
          "payment_report");
}

TEST_F(SlipRender, OldLayoutSlip) {
    l.CurData.Year = 27;
    check(sheet(297, 210,
                [&](reports::PrnCanvas& c) {
                    const struct {
                        float x, y;
                    } at[] = {{-18, 0}, {-18, 105}, {130.5f, 0}, {130.5f, 105}};
                    for (int copy = 1; copy <= 4; ++copy) {
                        c.PageOffsetX = at[copy - 1].x, c.PageOffsetY = at[copy - 1].y;
                        DrawWithholdingSlipOld(c, src(false), kSlot, copy);
                    }
                    cut(c, 148.5, 10, 148.5, 200);
                    cut(c, 10, 105, 287, 105);
                }),
          "withholding_slip_old");
}

TEST_F(SlipRender, RefundNotices) {
    check(sheet(182, 257,
                [&](reports::PrnCanvas& c) {
                    DrawRefundNotice(c, src(), kSlot);
                    c.PageOffsetY = 130;
                    DrawRefundNotice(c, src(false), kSlot);
                    cut(c, 10, 128.5, 172, 128.5);
                }),
          "refund_notice");
}

}  // namespace
}  // namespace withholding
