#include "reports/PaySlipGB1172.h"

#include <gtest/gtest.h>

#include "SlipFixture.h"

namespace {

using namespace slip_test;
using reports::DrawSlipGB1172;

struct PaySlipGB1172 : SlipFixture {
    PaySlipGB1172() { options.FormType = 7; }
    void draw(int slot = 1) { DrawSlipGB1172(c, l, options, slot); }

    // A cell's label and the value drawn under it.
    void expectCell(double x, double y, const char* label, const char* value,
                    double valueDx = 3.5) {
        EXPECT_EQ(at(x, y), label) << label << " at " << x << "," << y;
        EXPECT_EQ(at(x + valueDx, y + 4.2), value) << label;
    }
};

TEST_F(PaySlipGB1172, HeadTitleAndCaptions) {
    draw();
    EXPECT_EQ(at(15, 14), "令和8年4月分 給与明細書");
    EXPECT_EQ(at(15, 20), "株式会社トルヴァン商事");
    EXPECT_EQ(at(15, 24), "氏名");
    EXPECT_EQ(at(25, 24), "山田太郎  様");
    EXPECT_EQ(at(15, 28), "所属");
    EXPECT_EQ(at(25, 28), "営業部・一般社員");
    EXPECT_EQ(rec.findText("氏名")->font.name, "ＭＳ ゴシック");
    EXPECT_EQ(rec.findText("山田太郎  様")->font.name, "ＭＳ 明朝");
    // This layout has no code, payment method or year-to-date totals.
    EXPECT_FALSE(hasText("0001"));
    EXPECT_FALSE(hasText("振込支給"));
    EXPECT_FALSE(hasText("現金支給"));

    l.sysOption.tokuSyoyo = "決算賞与";
    const std::pair<int, const char*> titles[] = {{12, "令和8年12月分 給与明細書"},
                                                  {13, "令和8年夏期 賞与明細書"},
                                                  {14, "令和8年冬期 賞与明細書"},
                                                  {15, "令和8年決算賞与明細書"}};
    for (const auto& [period, title] : titles) {
        rec.clear();
        l.CurData.Period = period;
        draw();
        EXPECT_EQ(at(15, 14), title);
    }
}

TEST_F(PaySlipGB1172, PreprintedFormGetsCaptionsButNoFrameOrPayDate) {
    for (int type : {4, 5, 6, 7}) {
        rec.clear();
        options.FormType = type;
        draw();
        SCOPED_TRACE(type);
        const bool plain = type != 4;
        const std::pair<const char*, double> bands[] = {{"支", 50},   {"給", 61},  {"控", 79.5},
                                                        {"除", 90.5}, {"勤", 107}, {"怠", 114},
                                                        {"他", 123}};
        for (const auto& [ch, y] : bands) EXPECT_EQ(at(12.5, y), ch);
        EXPECT_EQ(at(112, 37), plain ? "支給日" : "");
        EXPECT_EQ(at(158.5, 37), plain ? "日" : "");
        EXPECT_EQ(at(124, 36.7), plain ? "令和  8" : "");
        EXPECT_EQ(at(144, 36.7), plain ? " 4" : "");
        EXPECT_EQ(at(153, 36.7), plain ? "25" : "");
        EXPECT_EQ(rec.hasLine(dots(110), dots(40.5), dots(163), dots(40.5)), plain);
        EXPECT_EQ(hasRect(12, 45, 202, 70.2), plain);
        EXPECT_EQ(rec.ofKind(reports::RecordedOp::Fill).empty(), !plain);
    }
}

TEST_F(PaySlipGB1172, PaymentCellsCloseUpFromTheLeft) {
    draw();
    expectCell(17.0, 45.5, "基本給", "   250,000");
    expectCell(37.6, 45.5, "役職手当", "    20,000");
    expectCell(58.2, 45.5, "家族手当", "    10,000");
    EXPECT_EQ(at(78.8, 45.5), "");  // 固定手当 are off for 月給
    expectCell(17.0, 53.9, "普通残業手当", "    14,063");
    expectCell(37.6, 53.9, "深夜残業手当", "     4,688");
    expectCell(58.2, 53.9, "非課税通勤費", "    12,000");
    expectCell(78.8, 53.9, "課税通勤費", "         0");
    expectCell(17.0, 62.3, "欠勤控除", "         0");
    expectCell(37.6, 62.3, "遅刻早退控除", "      -391");
    expectCell(161.2, 62.3, "課税支給合計", "   298,360");
    expectCell(181.8, 62.3, "支給合計", "   310,360");
    EXPECT_EQ(rec.findText("基本給")->font.height, dots(9 / 2.8));

    // 役職手当 off: 家族手当 moves into the second cell.
    rec.clear();
    setUse(ItemGroup::Payment, 1, 1, false);
    draw();
    expectCell(37.6, 45.5, "家族手当", "    10,000");
    EXPECT_EQ(at(58.2, 45.5), "");
    EXPECT_FALSE(hasText("役職手当"));

    // The slip follows its own order, not the order of the layout slots.
    rec.clear();
    ledger::MoveItemEntry(l.itemTables, ItemGroup::Payment, 0, 17);
    l.PrnLayout = ledger::BuildPrnLayout(l.itemTables, ledger::SlipKind::Salary);
    draw();
    expectCell(17.0, 45.5, "基本給", "   250,000");

    // Without 課税支給合計 in use its total is left out; 支給合計 always prints.
    rec.clear();
    setUse(ItemGroup::Payment, 16, 1, false);  // 課税支給合計 now sits in slot 16
    draw();
    EXPECT_FALSE(hasText("課税支給合計"));
    expectCell(181.8, 62.3, "支給合計", "   310,360");
}

TEST_F(PaySlipGB1172, DeductionsGoToTheirRowByTheTaxableFlag) {
    draw();
    expectCell(17.0, 75.0, "健康保険料", "    14,760");
    expectCell(37.6, 75.0, "介護保険料", "         0");
    expectCell(58.2, 75.0, "厚生年金保険", "    27,450");
    expectCell(78.8, 75.0, "厚生年金基金", "         0");
    expectCell(99.4, 75.0, "雇用保険料", "     1,862");
    EXPECT_EQ(at(17.0, 83.4), "");
    expectCell(140.6, 83.4, "社会保険料計", "    44,072");
    expectCell(161.2, 83.4, "社保控除後計", "   254,288");
    expectCell(17.0, 91.8, "所得税", "     6,640");
    expectCell(37.6, 91.8, "住民税", "    12,300");
    EXPECT_EQ(at(58.2, 91.8), "");
    expectCell(181.8, 91.8, "控除合計", "    63,012");

    // 変動控除１ in use, not taken before tax: after the taxes in row 3.
    rec.clear();
    setUse(ItemGroup::Deduction, 14, 1, true);
    draw();
    expectCell(58.2, 91.8, "変動控除１", "     1,500");
    EXPECT_EQ(at(17.0, 83.4), "");

    // 固定控除１ in use and taken before tax: row 2, and only there.
    rec.clear();
    setUse(ItemGroup::Deduction, 10, 1, true);
    l.sysOption.kazei = "111111100000";
    draw();
    expectCell(17.0, 83.4, "固定控除１", "     3,000");
    EXPECT_EQ(rec.findAll("固定控除１").size(), 1u);
    expectCell(58.2, 91.8, "変動控除１", "     1,500");
}

TEST_F(PaySlipGB1172, AttendanceAndPaidLeaveLeft) {
    draw();
    expectCell(17.0, 104.5, "所定労働日数", " 20.00", 10);
    expectCell(37.6, 104.5, "出勤日数", " 19.00", 10);
    expectCell(58.2, 104.5, "有休日数", "  1.00", 10);
    expectCell(78.8, 104.5, "欠勤日数", "  0.00", 10);
    expectCell(99.4, 104.5, "特別休暇日数", "  0.00", 10);
    expectCell(120.0, 104.5, "遅刻早退回数", "  1.00", 10);
    expectCell(140.6, 104.5, "遅刻早退時間", "  0:15", 10);
    expectCell(17.0, 112.9, "所定労働時間", "160:00", 10);
    expectCell(37.6, 112.9, "実働時間", "152:00", 10);
    expectCell(58.2, 112.9, "普通残業時間", "  7:30", 10);
    expectCell(78.8, 112.9, "深夜残業時間", "  2:00", 10);
    EXPECT_EQ(at(99.4, 112.9), "");
    expectCell(161.2, 112.9, "有休残日数", "  9.50", 10);

    // The paid-leave balance keeps the user's label, and is left out when off.
    rec.clear();
    l.sysOption.attendanceLabels[ledger::kAttPaidLeaveLeft] = "有休残";
    draw();
    expectCell(161.2, 112.9, "有休残", "  9.50", 10);
    rec.clear();
    setUse(ItemGroup::Attendance, 15, 1, false);
    draw();
    EXPECT_EQ(at(161.2, 112.9), "");
    EXPECT_EQ(at(171.2, 117.1), "");
}

TEST_F(PaySlipGB1172, OtherItemsInUseMakeTheOtherTotalAndTheNetAmount) {
    setUse(ItemGroup::Other, 0, 1, true);
    setUse(ItemGroup::Other, 2, 1, true);
    draw();
    expectCell(17.0, 121.3, "その他１", "     1,000");
    expectCell(37.6, 121.3, "その他３", "     4,000");
    expectCell(99.4, 121.3, "その他合計", "     5,000");
    expectCell(181.8, 121.3, "差引支給額", "   252,348");
    EXPECT_FALSE(hasText("その他２"));
}

TEST_F(PaySlipGB1172, BonusSlipHasBonusCellsAndNoAttendanceOrResidentTax) {
    l.CurData.Period = 13;
    useLayout(ledger::SlipKind::Bonus);
    l.Payment(1).Amounts[ledger::kPayBase] = 500000;
    l.Payment(1).Amounts[ledger::kPayPost] = 0;
    draw();
    expectCell(17.0, 45.5, "賞与", "   500,000");
    expectCell(37.6, 45.5, "役員報酬", "         0");
    // Only cells 0-8: neither row 2 nor row 3 gets an item, only the totals.
    for (const auto& run : rec.textsOnRow(dots(53.9), 1)) ADD_FAILURE() << run.text;
    for (const auto& run : rec.textsOnRow(dots(62.3), 1))
        EXPECT_TRUE(run.text == "課税支給合計" || run.text == "支給合計") << run.text;
    EXPECT_FALSE(hasText("住民税"));
    EXPECT_FALSE(hasText("所定労働日数"));
    EXPECT_FALSE(hasText("有休残日数"));
    for (const auto& run : rec.texts())
        EXPECT_FALSE(run.x > dots(16) && run.y > dots(104) && run.y < dots(120)) << run.text;

    // The next salary slip starts from the salary cells again.
    rec.clear();
    l.CurData.Period = 5;
    useLayout(ledger::SlipKind::Salary);
    salaryEmployee(1);
    draw();
    expectCell(17.0, 45.5, "基本給", "   250,000");
    expectCell(37.6, 91.8, "住民税", "    12,300");
}

TEST_F(PaySlipGB1172, RemarkBoxOnlyWithARemarkAlsoOnThePreprintedForm) {
    options.FormType = 4;
    draw();
    EXPECT_FALSE(hasRect(102, 13, 165, 34));
    EXPECT_TRUE(rec.ofKind(reports::RecordedOp::Rect).empty());

    rec.clear();
    options.EditMemo = "年末調整のお知らせ\n書類を提出してください";
    draw();
    EXPECT_TRUE(hasRect(102, 13, 165, 34));
    EXPECT_EQ(at(103.5, 14), "年末調整のお知らせ");
    EXPECT_EQ(at(103.5, 17.8), "書類を提出してください");
}

TEST_F(PaySlipGB1172, NoTextOverlapsAnotherWithEveryItemOn) {
    useEverything(1);
    l.sysOption.kazei = "111111111000";  // three free deductions in each of rows 2 and 3
    options.EditMemo = std::string(200, 'x');
    l.BasicInfo().CorpName.set("株式会社トルヴァン商事　東京本社営業統括部門");
    draw();
    EXPECT_EQ(overlappingTexts(), std::vector<std::string>{});
    l.sysOption.kazei = "000000000000";  // all six in row 3, after the taxes
    rec.clear();
    draw();
    EXPECT_EQ(overlappingTexts(), std::vector<std::string>{});
    EXPECT_EQ(at(161.2, 91.8), "変動控除３");
}

TEST_F(PaySlipGB1172, FrameGridAndTotalCells) {
    draw();
    for (double top : {45.0, 74.5, 104.0}) {
        SCOPED_TRACE(top);
        for (int k = 0; k <= 8; ++k) {
            double x = 16.5 + 20.6 * k;
            EXPECT_TRUE(rec.hasLine(dots(x), dots(top), dots(x), dots(top + 25.2))) << k;
        }
        for (int j = 1; j <= 5; ++j)
            EXPECT_TRUE(
                rec.hasLine(dots(16.5), dots(top + 4.2 * j), dots(202), dots(top + 4.2 * j)));
    }
    EXPECT_TRUE(hasRect(12, 74.5, 202, 99.7));
    EXPECT_TRUE(hasRect(12, 104, 202, 129.2));
    EXPECT_TRUE(hasRect(181.3, 61.8, 202, 70.2));
    EXPECT_TRUE(hasRect(181.3, 91.3, 202, 99.7));
    EXPECT_TRUE(hasRect(181.3, 120.8, 202, 129.2));
    EXPECT_TRUE(hasRect(182, 15, 202, 28));
    EXPECT_TRUE(rec.hasLine(dots(12), dots(120.8), dots(201.5), dots(120.8)));
    EXPECT_EQ(rec.ofKind(reports::RecordedOp::Fill).size(), 9u);
}

TEST_F(PaySlipGB1172, TwoSlipsOnOneSheet) {
    c.PageOffsetY = -0.5f;
    draw(1);
    c.PageOffsetY += 148.5f;
    draw(2);
    EXPECT_EQ(at(15, 19.5), "株式会社トルヴァン商事");
    EXPECT_EQ(at(15, 168.0), "株式会社トルヴァン商事");
    EXPECT_EQ(at(25, 23.5), "山田太郎  様");
    EXPECT_EQ(at(25, 172.0), "佐藤花子  様");
    // 佐藤さんは日給: the default 日給 layout has 基本給 first too.
    EXPECT_EQ(at(17.0, 45.0 + 148.5), "基本給");
    EXPECT_EQ(at(20.5, 49.2 + 148.5), "    96,000");
    EXPECT_TRUE(hasRect(12, 44.5, 202, 69.7));
    EXPECT_TRUE(hasRect(12, 193, 202, 218.2));
}

}  // namespace
