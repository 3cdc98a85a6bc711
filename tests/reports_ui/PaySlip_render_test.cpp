#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cstdlib>
#include <filesystem>

#include "reports/PaySlip.h"
#include "reports/PaySlipGB1172.h"
#include "reports/SlipFixture.h"
#include "reports/ui/QtSurface.h"

// Slips rendered as a person sees them on paper. With TOLVANE_SCREENSHOT_DIR set
// the sheets are kept as PNG files to be looked at.
namespace {

using namespace slip_test;

constexpr int kDpi = 200;

// Stored periods that are all zeros: the year-to-date box shows the slip's own figures.
struct ZeroReader : ledger::SavedBlockReader {
    std::unique_ptr<ledger::TPeriodBlock> read(const std::filesystem::path&, int) const override {
        return std::make_unique<ledger::TPeriodBlock>();
    }
    ledger::TPayrollFileHeader header(const std::filesystem::path&) const override { return {}; }
};

struct SlipRender : SlipFixture {
    ZeroReader zero;

    SlipRender() {
        l.sysOption.prnRuikei = true;
        options.Reader = &zero;
        // Everything a slip can show: every その他 item, a remark, a long company name.
        for (int i = 0; i < 3; ++i) setUse(ItemGroup::Other, i, 1, true);
        setUse(ItemGroup::Payment, 3, 1, true);     // 固定手当１
        setUse(ItemGroup::Deduction, 10, 1, true);  // 固定控除１
        setUse(ItemGroup::Deduction, 14, 1, true);  // 変動控除１
        l.BasicInfo().CorpName.set("株式会社トルヴァン商事　東京本社営業統括部門");
        options.EditMemo =
            "４月から通勤手当の支給方法が変わります。詳しくは総務部までお問い合わせください。";
        auto& e2 = l.Employee(2);
        e2.Dept.set("第二製造部品質管理");
        e2.Memo.set("有給休暇の残日数をご確認ください");
    }

    // An A4 (or B5 landscape) sheet at 200 dpi with one or two slips.
    QImage sheet(int formType, bool b5, int lower) {
        const double wMm = b5 ? 257 : 210, hMm = b5 ? 182 : 297;
        QImage img(int(wMm * kDpi / 25.4), int(hMm * kDpi / 25.4), QImage::Format_RGB32);
        img.fill(Qt::white);
        QPainter p(&img);
        reports::ui::QtSurface s(p);
        reports::PrnCanvas canvas;
        canvas.prepare(reports::PrnCanvas::printerMetrics(kDpi, kDpi, 0, 0), &s);
        canvas.PrintEra = c.PrintEra;
        canvas.PrintMonth = c.PrintMonth;
        canvas.PrintDay = c.PrintDay;
        options.FormType = formType;
        auto draw = [&](int slot) {
            if (formType >= 4)
                reports::DrawSlipGB1172(canvas, l, options, slot);
            else
                reports::DrawSlipGB1150(canvas, l, options, slot);
        };
        canvas.PageOffsetX = b5 ? 23 : 0;
        canvas.PageOffsetY = b5 ? 17 : -0.5f;
        draw(1);
        if (lower) {
            canvas.PageOffsetY += 148.5f;
            options.BikoPrn = true;
            draw(lower);
            options.BikoPrn = false;
        }
        p.end();
        return img;
    }

    void keep(const QImage& img, const char* name) {
        const char* dir = std::getenv("TOLVANE_SCREENSHOT_DIR");
        if (dir && *dir) img.save(QString::fromUtf8(dir) + "/" + name);
    }

    // A part of a sheet in millimetres, kept at full resolution.
    void keepPart(const QImage& img, const char* name, double x1, double y1, double x2, double y2) {
        const double k = kDpi / 25.4;
        keep(img.copy(int(x1 * k), int(y1 * k), int((x2 - x1) * k), int((y2 - y1) * k)), name);
    }

    static int ink(const QImage& img, double x1, double y1, double x2, double y2) {
        const double k = kDpi / 25.4;
        int n = 0;
        for (int y = int(y1 * k); y < int(y2 * k); ++y)
            for (int x = int(x1 * k); x < int(x2 * k); ++x) n += qGray(img.pixel(x, y)) < 128;
        return n;
    }
};

TEST_F(SlipRender, A4SheetsWithTwoSlipsOfEachLayout) {
    setUse(ItemGroup::Other, 0, 2, true);
    QImage gb1150 = sheet(3, false, 2);
    keep(gb1150, "slip_gb1150_a4x2.png");
    QImage gb1172 = sheet(7, false, 2);
    keep(gb1172, "slip_gb1172_a4x2.png");
    keepPart(gb1150, "slip_gb1150_head.png", 10, 5, 205, 60);
    keepPart(gb1150, "slip_gb1150_body.png", 10, 100, 205, 142);
    keepPart(gb1172, "slip_gb1172_head.png", 5, 5, 205, 75);
    keepPart(gb1172, "slip_gb1172_body.png", 5, 70, 205, 135);
    // Both halves carry a slip; the strip between them stays blank.
    for (const QImage* img : {&gb1150, &gb1172}) {
        EXPECT_GT(ink(*img, 20, 50, 100, 120), 1000);
        EXPECT_GT(ink(*img, 20, 50 + 148.5, 100, 120 + 148.5), 1000);
        EXPECT_EQ(ink(*img, 10, 140, 200, 144), 0);
    }
}

TEST_F(SlipRender, B5SheetsAndThePreprintedForms) {
    QImage b5a = sheet(1, true, 0);
    keep(b5a, "slip_gb1150_b5.png");
    QImage b5b = sheet(5, true, 0);
    keep(b5b, "slip_gb1172_b5.png");
    // The slip fits the B5 sheet with its margin on the right.
    EXPECT_GT(ink(b5a, 40, 63, 80, 80), 500);
    EXPECT_EQ(ink(b5a, 226, 0, 257, 182), 0);
    EXPECT_EQ(ink(b5b, 227, 0, 257, 182), 0);
    keep(sheet(0, false, 2), "slip_gb1150_preprinted.png");
    keep(sheet(4, false, 2), "slip_gb1172_preprinted.png");
}

}  // namespace
