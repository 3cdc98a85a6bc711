#include "reports/AnnualLedger.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "YearFileFixture.h"
#include "platform/Errors.h"
#include "platform/Sjis.h"
#include "reports/RecordingSurface.h"

namespace reports {
namespace {

constexpr const char* kKey = "160401_000001";

// 100 dots per millimetre: recorded positions read as hundredths of a mm.
struct LedgerPage : testing::YearFileFixture {
    RecordingSurface rec;
    PrnCanvas c;
    LedgerRowFlags flags;

    LedgerPage() {
        TargetMetrics m;
        m.DotsPerMmX = m.DotsPerMmY = 100;
        m.ThinPenWidth = 1;
        m.ThickPenWidth = 3;
        c.prepare(m, &rec);
        openEmployee(1, kKey, "山田太郎");
    }
    static int at(double mm) { return int(mm * 100 + (mm >= 0 ? 0.5 : -0.5)); }
    // Positions are the page's own; the table is printed 10 mm higher.
    std::string table(double x, double y) const { return rec.textAt(at(x), at(y - 10), 1); }
    std::string head(double x, double y) const { return rec.textAt(at(x), at(y - 7), 1); }
    void draw() {
        writeYearFile();
        DrawLedgerPage(c, l, 1, flags);
    }
};

double rowY(int row) {
    return 33.9 + 4.4 * row;
}
double colX(int p) {
    return 36 + 15.5 * (p - 1);
}

TEST(AnnualLedger, HeadColumnCaptionsAndGrid) {
    LedgerPage t;
    t.l.sysOption.tokuSyoyo = "決算賞与";
    t.draw();
    EXPECT_EQ(t.head(95, 20), "平成28年");
    EXPECT_EQ(t.head(122, 20), "社 員 別 給 与 台 帳");
    EXPECT_EQ(t.head(12, 22), "有限会社テスト商会");
    EXPECT_EQ(t.head(190, 22), "氏名:山田太郎");
    EXPECT_EQ(t.head(240, 22), "平成 28年 4月 1日");

    EXPECT_EQ(t.table(36, 30), "１月給与");
    EXPECT_EQ(t.table(206.5, 30), "12月給与");
    EXPECT_EQ(t.table(222, 30), "夏期賞与");
    EXPECT_EQ(t.table(237.5, 30), "冬期賞与");
    EXPECT_EQ(t.table(253, 30), "決算賞与") << "the third bonus is the user's name, never 臨時賞与";
    auto total = t.rec.findText("合   計");
    ASSERT_TRUE(total);
    EXPECT_TRUE(total->font.bold);

    // 40 rows below the heading: thick box (10, 19)-(285, 199.4).
    bool box = false;
    for (const auto& op : t.rec.ofKind(RecordedOp::Rect))
        box |= op.x1 == 1000 && op.y1 == 1900 && op.x2 == 28500 && op.y2 == 19940 && op.pen == 3;
    EXPECT_TRUE(box) << t.rec.dump();
    EXPECT_TRUE(t.rec.hasLine(1000, 2340, 28500, 2340));
    EXPECT_TRUE(t.rec.hasLine(5050, 1900, 5050, 19940));
    EXPECT_TRUE(t.rec.hasLine(26750, 1900, 26750, 19940));
    EXPECT_EQ(t.rec.ofKind(RecordedOp::Fill).size(), 21u);  // rows 0, 2, .. 40

    // Default rows: the captions run from 基本給 to 差引支給額 without gaps.
    EXPECT_EQ(t.table(13, rowY(0)), "基本給");
    EXPECT_EQ(t.table(13, rowY(18)), "支給項目合計");
    EXPECT_EQ(t.table(13, rowY(19)), "健康保険料");
    EXPECT_EQ(t.table(13, rowY(20)), "介護保険料");
    EXPECT_EQ(t.table(13, rowY(26)), "所得税");
    EXPECT_EQ(t.table(13, rowY(34)), "控除項目合計");
    EXPECT_EQ(t.table(13, rowY(36)), "その他１");
    EXPECT_EQ(t.table(13, rowY(39)), "差引支給額");
}

// A year: 1-3 never saved, 4-12 salaries of 250,000 (the employee in another
// slot each month), 5 saved without the employee, a summer bonus of 500,000.
void fillYear(LedgerPage& t) {
    for (int p = 4; p <= 12; ++p) {
        if (p == 5) {
            t.periodSlot(p, 1, "160401_999999");
            continue;
        }
        int s = t.periodSlot(p, 1 + p % 3, kKey);
        t.pay(p, s).Amounts[ledger::kPayBase] = 250000;
        t.pay(p, s).Amounts[ledger::kPayTotal] = 250000;
        t.ded(p, s).Amounts[ledger::kDedTotal] = 40000;
        t.att(p, s).Values[ledger::kAttDaysWorked] = 20;
    }
    t.pay(4, 2).Amounts[ledger::kPayFixed1 + 1] = 5000;  // 固定手当２, removed below
    t.pay(4, 2).Amounts[ledger::kPayFixed1 + 2] = 7000;  // 固定手当３
    t.ded(4, 2).Amounts[ledger::kDedOther1] = 1000;      // その他１, removed below
    int b = t.periodSlot(13, 9, kKey);
    t.pay(13, b).Amounts[ledger::kPayBase] = 500000;
    t.pay(13, b).Amounts[ledger::kPayTotal] = 500000;
    t.att(13, b).Values[ledger::kAttDaysWorked] = 1;
}

TEST(AnnualLedger, FiguresStayInTheirRowsWhenRowsAreAddedAndRemoved) {
    LedgerPage t;
    fillYear(t);
    t.flags.added[1] = true;     // 出勤日数
    t.flags.removed[1] = true;   // 固定手当２
    t.flags.removed[12] = true;  // その他１
    t.draw();

    EXPECT_EQ(t.table(13, rowY(0)), "出勤日数");
    EXPECT_TRUE(t.rec.hasLine(1000, 2780, 28500, 2780)) << "rule under the attendance rows";
    EXPECT_EQ(t.table(13, rowY(1)), "基本給");
    EXPECT_EQ(t.table(13, rowY(4)), "固定手当１");
    EXPECT_EQ(t.table(13, rowY(5)), "固定手当３");
    EXPECT_EQ(t.table(colX(4), rowY(5)), "    7,000");
    EXPECT_FALSE(t.rec.findContaining("5,000")) << "a removed row's figure is not printed";
    EXPECT_FALSE(t.rec.findText("その他１"));
    EXPECT_EQ(t.table(13, rowY(36)), "その他２");

    // Never-saved months are empty; a saved month without the employee is zeros.
    for (int p = 1; p <= 3; ++p) {
        EXPECT_EQ(t.table(colX(p), rowY(0)), "");
        EXPECT_EQ(t.table(colX(p), rowY(1)), "");
    }
    EXPECT_EQ(t.table(colX(4), rowY(0)), " 20.00");
    EXPECT_EQ(t.table(colX(4), rowY(1)), "  250,000");
    EXPECT_EQ(t.table(colX(5), rowY(0)), "  0.00");
    EXPECT_EQ(t.table(colX(5), rowY(1)), "        0");

    // The bonus stands in the 基本給 row; attendance is never shown for it.
    EXPECT_EQ(t.table(colX(13), rowY(1)), "  500,000");
    EXPECT_EQ(t.table(colX(13), rowY(0)), "");
    EXPECT_EQ(t.table(colX(14), rowY(1)), "");

    // Totals: bold, attendance has none.
    EXPECT_EQ(t.table(268.5, rowY(0)), "");
    EXPECT_EQ(t.table(268.5, rowY(1)), " 2,500,000");
    auto sum = t.rec.findText(" 2,500,000");
    ASSERT_TRUE(sum);
    EXPECT_TRUE(sum->font.bold);

    // 差引支給額 counts その他１ although its row is removed.
    EXPECT_EQ(t.table(13, rowY(38)), "差引支給額");
    EXPECT_EQ(t.table(colX(4), rowY(38)), "  211,000");
    EXPECT_EQ(t.table(colX(6), rowY(38)), "  210,000");
    EXPECT_EQ(t.table(268.5, rowY(38)), " 2,181,000");
    EXPECT_EQ(t.table(13, rowY(39)), "") << "R = 39 rows";
}

TEST(AnnualLedger, ReadsTheFileNotMemoryAndTakesTheLastSlotOfADuplicatedKey) {
    LedgerPage t;
    t.periodSlot(4, 3, kKey);
    t.periodSlot(4, 7, kKey);
    t.pay(4, 3).Amounts[ledger::kPayBase] = 300;
    t.pay(4, 7).Amounts[ledger::kPayBase] = 700;
    t.l.Payment(1).Amounts[ledger::kPayBase] = 999999;  // unsaved edit of the open period
    t.draw();
    EXPECT_EQ(t.table(colX(4), rowY(0)), "      700");
    EXPECT_FALSE(t.rec.findContaining("999,999"));
}

TEST(AnnualLedger, CorrectionIsKeptAndAFaultyFileDrawsNothing) {
    {
        LedgerPage t;
        t.c.PrAdjustV = 2.5;
        t.draw();
        EXPECT_EQ(t.rec.textAt(LedgerPage::at(95), LedgerPage::at(15.5), 1), "平成28年");
        EXPECT_EQ(t.c.PrAdjustV, 2.5);
    }
    {
        LedgerPage t;  // no file at all
        t.c.PrAdjustV = 2.5;
        EXPECT_THROW(DrawLedgerPage(t.c, t.l, 1, t.flags), platform::IoError);
        EXPECT_TRUE(t.rec.ops().empty());
        EXPECT_EQ(t.c.PrAdjustV, 2.5);
    }
    {
        LedgerPage t;  // period 15 marked saved in a file that ends after period 14
        t.periodSlot(15, 1, kKey);
        t.writeYearFile();
        std::string bytes = testing_support::readText(t.l.CurData.FileName);
        bytes.resize(bytes.size() - 100);
        testing_support::writeText(t.l.CurData.FileName, bytes);
        EXPECT_THROW(DrawLedgerPage(t.c, t.l, 1, t.flags), platform::IoError);
        EXPECT_TRUE(t.rec.ops().empty());
    }
}

// No two characters of one line may overlap, and the table stays in its frame,
// even with figures as wide as the columns are meant for (a year's total up to
// 99,999,999).
TEST(AnnualLedger, WideFiguresNeitherOverlapNorLeaveTheFrame) {
    LedgerPage t;
    for (int p = 1; p <= 15; ++p) {
        int s = t.periodSlot(p, 1, kKey);
        for (int i = 0; i < ledger::kPaymentAmounts; ++i) t.pay(p, s).Amounts[i] = 6000000;
        t.pay(p, s).Amounts[ledger::kPayAbsence] = -99999;
        for (int i = 0; i < ledger::kDedOther1; ++i) t.ded(p, s).Amounts[i] = 2000000;
        for (int i = 0; i < 15; ++i) t.att(p, s).Values[i] = 999.99;
    }
    for (int i = 0; i < 14; ++i) t.flags.added[std::size_t(i)] = true;
    for (int i = 0; i < 15; ++i) t.flags.removed[std::size_t(i)] = true;
    t.l.sysOption.timeStyle = 0;
    t.draw();

    std::map<int, std::vector<RecordedOp>> rows;
    for (const auto& op : t.rec.ofKind(RecordedOp::Char)) rows[op.y1].push_back(op);
    for (auto& [y, chars] : rows) {
        std::sort(chars.begin(), chars.end(), [](auto& a, auto& b) { return a.x1 < b.x1; });
        for (std::size_t i = 0; i + 1 < chars.size(); ++i) {
            const auto& a = chars[i];
            int cellW = a.font.width ? a.font.width : a.font.height / 2;
            int right = a.x1 + cellW * int(sjis::byteLength(a.text));
            EXPECT_LE(right, chars[i + 1].x1 + 1)
                << "'" << a.text << "' overlaps '" << chars[i + 1].text << "' at y " << y;
        }
        if (y > 1900) {
            const auto& last = chars.back();
            int cellW = last.font.width ? last.font.width : last.font.height / 2;
            EXPECT_LE(last.x1 + cellW * int(sjis::byteLength(last.text)), 28500) << y;
        }
    }
}

}  // namespace
}  // namespace reports
