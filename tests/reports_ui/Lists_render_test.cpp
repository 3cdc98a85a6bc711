#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cstdlib>
#include <functional>

#include "reports/Denomination.h"
#include "reports/ListFixture.h"
#include "reports/MonthlyList.h"
#include "reports/Roster.h"
#include "reports/TransferList.h"
#include "reports/ui/QtSurface.h"

namespace reports::ui {
namespace {

using reports::testing::ListFixture;

// A small firm with names, banks and figures of the longest sizes the editor
// allows, so a page shows whether anything runs out of its column.
void fillFirm(ListFixture& f) {
    struct Person {
        const char* name;
        const char* kana;
        const char* dept;
        int kind, method, pay, deducted;
    } people[] = {
        {"長谷川三郎左衛門", "ﾊｾｶﾞﾜｻﾌﾞﾛｳｻﾞ", "第二営業部企画課", 1, 0, 1234567, 234567},
        {"山田太郎", "ﾔﾏﾀﾞﾀﾛｳ", "総務部", 2, 0, 312345, 61234},
        {"佐藤花子", "ｻﾄｳﾊﾅｺ", "経理部", 4, 1, 98765, 8765},
        {"鈴木一郎", "ｽｽﾞｷｲﾁﾛｳ", "製造部", 5, 1, 156789, 20123},
        {"高橋美咲", "ﾀｶﾊｼﾐｻｷ", "第二営業部企画課", 2, 0, 287000, 45210},
    };
    f.l.BasicInfo().CorpName.set("株式会社トルヴェイン製作所");
    for (const Person& p : people) {
        auto& e = f.add(p.name, p.pay);
        int slot = f.slotOf(e);
        e.Code.set("EMP" + std::to_string(10000 + slot) + "XY");
        e.Kana.set(p.kana);
        e.Dept.set(p.dept);
        e.Kind = std::uint8_t(p.kind);
        e.PayMethod = std::uint8_t(p.method);
        e.Dependants = 2;
        e.TaxDependants = 1;
        e.BasePay = p.pay - 12345;
        e.OvertimeUnit = 2345;
        e.CommuteFree = 12300;
        e.ResidentTax = 15600;
        e.ResidentTaxJune = 15900;
        e.FixedAllowance[0] = 5000;
        e.EmpInsured = 1;
        e.HealthInsured = 1;
        e.HealthPremium = 14850;
        e.PensionInsured = 1;
        e.PensionPremium = 27450;
        e.BankName.set("三菱ＵＦＪ信託銀行株式会社");
        e.BankKana.set("ﾐﾂﾋﾞｼﾕｰｴﾌｼﾞｪｲｼﾝ");
        e.BranchName.set("東京中央第一支店営業部");
        e.BranchKana.set("ﾄｳｷｮｳﾁｭｳｵｳﾀﾞｲｲﾁ");
        e.AccountNo.set("1234567");
        e.TransferFee = 440;
        auto& pay = f.l.Payment(slot);
        pay.Amounts[ledger::kPayBase] = p.pay - 12345;
        pay.Amounts[ledger::kPayOvertime] = 12345;
        pay.Amounts[ledger::kPayTaxableTotal] = p.pay;
        f.l.Deduction(slot).Amounts[ledger::kDedHealth] = 14850;
        f.l.Deduction(slot).Amounts[ledger::kDedIncomeTax] = 6750;
        f.l.Deduction(slot).Amounts[ledger::kDedTotal] = p.deducted;
        f.l.Attendance(slot).Values[ledger::kAttDaysWorked] = 21;
        f.l.Attendance(slot).Values[ledger::kAttOvertime] = 12.75;
    }
}

// 200 dpi A4 landscape.
QImage render(const std::function<void(PrnCanvas&)>& draw) {
    QImage img(2339, 1654, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    QtSurface s(p);
    PrnCanvas c;
    c.prepare(PrnCanvas::printerMetrics(200, 200, 0, 0), &s);
    draw(c);
    p.end();
    return img;
}

int darkPixels(const QImage& img) {
    int n = 0;
    for (int y = 0; y < img.height(); y += 2)
        for (int x = 0; x < img.width(); x += 2) n += qGray(img.pixel(x, y)) < 100;
    return n;
}

TEST(ListsRender, EveryListRendersAPage) {
    ListFixture f;
    fillFirm(f);
    MonthlyListJob job;
    job.period = 4;
    job.flags.added[1] = job.flags.added[8] = true;
    job.flags.removed[4] = job.flags.removed[5] = true;
    job.plan = BuildMonthlyPagePlan(f.l, MonthlyGrouping::Normal);

    struct Page {
        const char* name;
        std::function<void(PrnCanvas&)> draw;
    } pages[] = {
        {"roster", [&](PrnCanvas& c) { DrawRosterPage(c, f.l, 1); }},
        {"transfer_list", [&](PrnCanvas& c) { DrawTransferPage(c, f.l, 1); }},
        {"denominations", [&](PrnCanvas& c) { DrawDenominationPage(c, f.l, 1, true); }},
        {"monthly_list", [&](PrnCanvas& c) { DrawMonthlyListPage(c, f.l, job, 1); }},
    };
    const char* dir = std::getenv("TOLVANE_SCREENSHOT_DIR");
    for (const Page& page : pages) {
        QImage img = render(page.draw);
        EXPECT_GT(darkPixels(img), 5000) << page.name;
        if (!dir || !*dir) continue;
        const QString base = QString::fromUtf8(dir) + "/" + page.name;
        img.save(base + ".png");
        // Quarters at full resolution, for reading the small print.
        const int w = img.width() / 2, h = img.height() / 2;
        img.copy(0, 0, w, h).save(base + "_1.png");
        img.copy(w, 0, w, h).save(base + "_2.png");
        img.copy(0, h, w, h).save(base + "_3.png");
        img.copy(w, h, w, h).save(base + "_4.png");
    }
}

}  // namespace
}  // namespace reports::ui
