#include "reports/PaySlip.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include "SlipFixture.h"
#include "ledger/PayrollYearFile.h"
#include "platform/Errors.h"

namespace {

using namespace slip_test;
using reports::DrawSlipGB1150;

struct PaySlipGB1150 : SlipFixture {
    void draw(int slot = 1) { DrawSlipGB1150(c, l, options, slot); }
};

TEST_F(PaySlipGB1150, HeadShowsPeriodCompanyEmployeeRemarkAndDate) {
    options.FormType = 3;
    options.EditMemo = "支給日変更\r\nのお知らせ";
    draw();
    EXPECT_EQ(at(35, 14), "令和8年 4月分給与");
    EXPECT_EQ(at(25, 20), "株式会社トルヴァン商事");
    EXPECT_EQ(at(40, 25), "山田太郎  様");
    EXPECT_EQ(at(40, 29.5), "営業部・一般社員");
    EXPECT_EQ(at(40, 34), "0001");
    EXPECT_EQ(at(115, 15), "支給日変更");
    EXPECT_EQ(at(115, 18.8), "のお知らせ");
    EXPECT_EQ(at(141, 36.6), "令和  8");
    EXPECT_EQ(at(159, 36.6), " 4");
    EXPECT_EQ(at(168, 36.6), "25");
    EXPECT_EQ(at(47, 129.2), "甲欄");
    EXPECT_EQ(at(47, 134), " 2人");
    // The values are in Mincho at 10 points, the title at 12.
    auto title = rec.findText("令和8年 4月分給与");
    ASSERT_TRUE(title);
    EXPECT_EQ(title->font.name, "ＭＳ 明朝");
    EXPECT_EQ(title->font.height, dots(12 / 2.8));
    EXPECT_EQ(rec.findText("山田太郎  様")->font.height, dots(10 / 2.8));
}

TEST_F(PaySlipGB1150, TitleFollowsThePeriod) {
    l.sysOption.tokuSyoyo = "決算賞与";
    const std::pair<int, const char*> cases[] = {{1, "令和8年 1月分給与"},
                                                 {12, "令和8年 12月分給与"},
                                                 {13, "令和8年 夏期賞与"},
                                                 {14, "令和8年 冬期賞与"},
                                                 {15, "令和8年 決算賞与"}};
    for (const auto& [period, title] : cases) {
        rec.clear();
        l.CurData.Period = period;
        draw();
        EXPECT_EQ(at(35, 14), title) << period;
    }
}

TEST_F(PaySlipGB1150, KindAloneWithoutDepartmentAndTheOtsuColumn) {
    auto& e = l.Employee(1);
    e.Dept.set("");
    e.Kind = 0;
    e.KindText.set("嘱託");
    e.TaxColumn = 1;
    e.Dependants = 0;
    draw();
    EXPECT_EQ(at(40, 29.5), "嘱託");
    EXPECT_EQ(at(47, 129.2), "乙欄");
    EXPECT_EQ(at(47, 134), " 0人");
}

TEST_F(PaySlipGB1150, AttendanceRowsKeepTheirPlaceAndHoursShowAsHoursAndMinutes) {
    draw();
    auto y = [](int i) { return 54 + 4.27 * i; };
    EXPECT_EQ(at(18.5, y(0)), "所定労働日数");
    EXPECT_EQ(at(43.5, y(0)), " 20.00");
    EXPECT_EQ(at(18.5, y(1)), "出勤日数");
    EXPECT_EQ(at(43.5, y(3)), "  0.00");  // a zero prints like any other value
    // 休日出勤日数 is off for 月給: its row stays empty, the next is not moved up.
    EXPECT_EQ(at(18.5, y(4)), "");
    EXPECT_EQ(at(43.5, y(4)), "");
    EXPECT_EQ(at(18.5, y(5)), "特別休暇日数");
    EXPECT_EQ(at(43.5, y(6)), "160:00");
    EXPECT_EQ(at(18.5, y(8)), "普通残業時間");
    EXPECT_EQ(at(43.5, y(8)), "  7:30");
    EXPECT_EQ(at(43.5, y(12)), "  1.00");  // 遅刻早退回数 is a count
    EXPECT_EQ(at(43.5, y(13)), "  0:15");
    EXPECT_EQ(at(18.5, y(15)), "有休残日数");
    EXPECT_EQ(at(43.5, y(15)), "  9.50");

    rec.clear();
    l.sysOption.timeStyle = 0;
    draw();
    EXPECT_EQ(at(43.5, y(8)), "  7.50");
}

TEST_F(PaySlipGB1150, PaymentsDeductionsAndTotals) {
    draw();
    auto y = [](int i) { return 54 + 4.27 * i; };
    const std::tuple<double, int, const char*, const char*> rows[] = {
        {58, 0, "基本給", "   250,000"},          {58, 1, "役職手当", "    20,000"},
        {58, 2, "家族手当", "    10,000"},        {58, 6, "普通残業手当", "    14,063"},
        {58, 7, "深夜残業手当", "     4,688"},    {58, 10, "非課税通勤費", "    12,000"},
        {58, 11, "課税通勤費", "         0"},     {58, 13, "遅刻早退控除", "      -391"},
        {58, 17, "課税支給合計", "   298,360"},   {106.5, 0, "健康保険料", "    14,760"},
        {106.5, 1, "介護保険料", "         0"},   {106.5, 2, "厚生年金保険", "    27,450"},
        {106.5, 4, "雇用保険料", "     1,862"},   {106.5, 5, "社会保険料計", "    44,072"},
        {106.5, 6, "社保控除後計", "   254,288"}, {106.5, 8, "所得税", "     6,640"},
        {106.5, 9, "住民税", "    12,300"}};
    for (const auto& [x, i, label, amount] : rows) {
        EXPECT_EQ(at(x, y(i)), label) << label;
        EXPECT_EQ(at(x < 100 ? 84.5 : 133, y(i)), amount) << label;
    }
    // 固定手当１ is off for 月給; deduction slot 7 is empty although in use.
    EXPECT_EQ(at(58, y(3)), "");
    EXPECT_EQ(at(106.5, y(7)), "");
    EXPECT_FALSE(hasText("固定手当１"));
    EXPECT_EQ(at(84.5, 134), "   310,360");
    EXPECT_EQ(at(133, 134), "    63,012");
    // No その他 in use: the total is 0 and the net is pay less deductions.
    EXPECT_EQ(at(181.5, 69.5), "         0");
    EXPECT_EQ(at(181.5, 79), "   247,348");
}

TEST_F(PaySlipGB1150, OnlyTheOtherItemsInUseCountTowardTheNetAmount) {
    setUse(ItemGroup::Other, 0, 1, true);
    setUse(ItemGroup::Other, 1, 1, true);
    setUse(ItemGroup::Other, 2, 2, true);  // another pay type only
    draw();
    EXPECT_EQ(at(155, 54), "その他１");
    EXPECT_EQ(at(181.5, 54), "     1,000");
    EXPECT_EQ(at(181.5, 58.27), "     2,000");
    EXPECT_EQ(at(155, 62.54), "");
    EXPECT_EQ(at(181.5, 69.5), "     3,000");
    EXPECT_EQ(at(181.5, 79), "   250,348");
    EXPECT_EQ(at(181.5, 90), "   250,348");
    EXPECT_EQ(at(181.5, 103), "   250,348");
}

TEST_F(PaySlipGB1150, ItemsSharingALabelShowTheLaterEntrysAmount) {
    // The user named 固定手当１ like 家族手当: both rows show 固定手当１'s amount.
    l.sysOption.freeLabels[0] = "家族手当";
    setUse(ItemGroup::Payment, 3, 1, true);
    draw();
    auto y = [](int i) { return 54 + 4.27 * i; };
    EXPECT_EQ(at(58, y(2)), "家族手当");
    EXPECT_EQ(at(84.5, y(2)), "     5,000");
    EXPECT_EQ(at(58, y(3)), "家族手当");
    EXPECT_EQ(at(84.5, y(3)), "     5,000");
}

TEST(SlipLookup, AmountByLabelFollowsTheRecordNumbers) {
    ledger::SysOption o;
    ledger::TPaymentRec pay{};
    ledger::TDeductionRec ded{};
    for (int i = 0; i < ledger::kPaymentAmounts; ++i) pay.Amounts[i] = 100 + i;
    for (int i = 0; i < ledger::kDeductionAmounts; ++i) ded.Amounts[i] = 200 + i;
    using G = ledger::ItemGroup;
    const std::tuple<G, const char*, int> cases[] = {{G::Payment, "賞与", 100},
                                                     {G::Payment, "役員報酬", 101},
                                                     {G::Payment, "休日深夜残業", 109},
                                                     {G::Payment, "課税通勤費", 111},
                                                     {G::Payment, "欠勤控除", 115},
                                                     {G::Payment, "遅刻早退控除", 116},
                                                     {G::Payment, "固定手当３", 105},
                                                     {G::Payment, "変動手当１", 112},
                                                     {G::Payment, "課税支給合計", 117},
                                                     {G::Payment, "支給合計", 0},
                                                     {G::Deduction, "介護保険料", 204},
                                                     {G::Deduction, "厚生年金基金", 202},
                                                     {G::Deduction, "社保控除後計", 206},
                                                     {G::Deduction, "住民税", 208},
                                                     {G::Deduction, "固定控除２", 210},
                                                     {G::Deduction, "変動控除３", 214},
                                                     {G::Other, "その他１", 119},
                                                     {G::Other, "その他３", 121},
                                                     {G::Other, "基本給", 0}};
    for (const auto& [group, label, expected] : cases)
        EXPECT_EQ(reports::SlipAmountByLabel(group, label, o, pay, ded), expected) << label;

    // A user label equal to a fixed name: the later entry wins.
    o.freeLabels[3] = "役員報酬";
    EXPECT_EQ(reports::SlipAmountByLabel(G::Payment, "役員報酬", o, pay, ded), 112);

    ledger::TAttendanceRec att{};
    att.Values[14] = 9.5;
    att.Values[2] = 1;
    o.attendanceLabels[14] = "有休日数";  // both now "有休日数"
    EXPECT_EQ(reports::SlipAttendanceByLabel("有休日数", o, att), 9.5);
    EXPECT_EQ(reports::SlipAttendanceByLabel("なし", o, att), 0);
}

TEST_F(PaySlipGB1150, FrameAndPaymentMethodByFormType) {
    struct Case {
        int formType;
        int payMethod;
        bool frame;
        const char* methodText;  // at (155, 90), "" = none
        bool netAt90;
        bool netAt109;
    };
    const Case cases[] = {{0, 0, false, "振込支給", true, false},
                          {0, 1, false, "", false, true},
                          {1, 0, true, "振込支給", true, false},
                          {2, 1, true, "現金支給", true, false},
                          {3, 1, true, "現金支給", true, false}};
    for (const Case& k : cases) {
        rec.clear();
        options.FormType = k.formType;
        l.Employee(1).PayMethod = std::uint8_t(k.payMethod);
        draw();
        SCOPED_TRACE(testing::Message() << "type " << k.formType << " method " << k.payMethod);
        EXPECT_EQ(hasText("明細書"), k.frame);
        EXPECT_EQ(hasRect(17.5, 10, 108, 40), k.frame);
        EXPECT_EQ(hasText("受領印"), k.frame);
        EXPECT_EQ(!rec.ofKind(reports::RecordedOp::Fill).empty(), k.frame);
        EXPECT_EQ(at(155, 90), k.methodText);
        EXPECT_EQ(at(181.5, 90), k.netAt90 ? "   247,348" : "");
        EXPECT_EQ(at(181.5, 103), k.netAt90 ? "   247,348" : "");
        EXPECT_EQ(at(181.5, 109.5), k.netAt109 ? "   247,348" : "");
        if (k.frame) {
            EXPECT_EQ(at(166, 85.5), k.payMethod ? "現 金 支 給 額" : "振 込 支 給 額");
        }
    }
}

TEST_F(PaySlipGB1150, FrameCaptionsAndRules) {
    options.FormType = 2;
    draw();
    EXPECT_EQ(at(86, 13), "明細書");
    EXPECT_EQ(rec.findText("明細書")->font.height, dots(16 / 2.8));
    EXPECT_EQ(rec.findText("明細書")->font.name, "ＭＳ ゴシック");
    EXPECT_EQ(at(25, 25.2), "氏　名");
    EXPECT_EQ(at(129, 36.6), "支給日");
    EXPECT_EQ(at(27, 48), "勤　　　　怠");
    EXPECT_EQ(at(70, 48), "支　　　　　給");
    EXPECT_EQ(at(118, 48), "控　　　　　除");
    EXPECT_EQ(at(110, 134), "合     計");
    EXPECT_EQ(at(157, 79), "差引支給額");
    EXPECT_EQ(at(155, 127.2), "累");
    EXPECT_EQ(at(160, 125), "支　給　額");
    EXPECT_TRUE(hasRect(105.5, 46.5, 152, 138));  // the deduction column
    EXPECT_TRUE(hasRect(154, 123.8, 200.5, 138));
    EXPECT_TRUE(rec.hasLine(dots(128.5), dots(52), dots(128.5), dots(137.5)));
    EXPECT_TRUE(rec.hasLine(dots(127), dots(40.3), dots(178), dots(40.3)));
    // Shading lies under the rules: each shaded part comes before its outline.
    const auto& ops = rec.ops();
    auto box = std::find_if(ops.begin(), ops.end(), [](const reports::RecordedOp& op) {
        return op.kind == reports::RecordedOp::Rect && op.x1 == dots(17.5) && op.y1 == dots(46.5);
    });
    ASSERT_NE(box, ops.end());
    ASSERT_NE(box, ops.begin());
    EXPECT_EQ(std::prev(box)->kind, reports::RecordedOp::Fill);
}

TEST_F(PaySlipGB1150, NoTextOverlapsAnotherWithEveryItemOnAndAFullRemark) {
    useEverything(1);
    l.sysOption.prnRuikei = true;
    struct ZeroReader : ledger::SavedBlockReader {
        std::unique_ptr<ledger::TPeriodBlock> read(const std::filesystem::path&,
                                                   int) const override {
            return std::make_unique<ledger::TPeriodBlock>();
        }
        ledger::TPayrollFileHeader header(const std::filesystem::path&) const override {
            return {};
        }
    } zero;
    options.Reader = &zero;
    options.EditMemo = std::string(200, 'x');
    l.BasicInfo().CorpName.set("株式会社トルヴァン商事　東京本社営業統括部門");
    for (int type : {0, 1}) {
        rec.clear();
        options.FormType = type;
        draw();
        EXPECT_EQ(overlappingTexts(), std::vector<std::string>{}) << "type " << type;
    }
}

TEST(SlipRemark, LinesAreSplitWrappedAndLimitedToTheBox) {
    using reports::RemarkLines;
    EXPECT_TRUE(RemarkLines("").empty());
    EXPECT_EQ(RemarkLines("一行\r\n二行\n三行\r四行\r\n"),
              (std::vector<std::string>{"一行", "二行", "三行", "四行"}));
    EXPECT_EQ(RemarkLines("a\r\n\r\nb"), (std::vector<std::string>{"a", "", "b"}));
    // 17 double-byte characters a line; a half-width character takes half.
    std::string eighteen = "あいうえおかきくけこさしすせそたちつ";
    EXPECT_EQ(RemarkLines(eighteen),
              (std::vector<std::string>{"あいうえおかきくけこさしすせそたち", "つ"}));
    EXPECT_EQ(RemarkLines("A" + eighteen)[0], "Aあいうえおかきくけこさしすせそた");
    // Never more than the five lines the box holds.
    EXPECT_EQ(RemarkLines("1\n2\n3\n4\n5\n6\n7").size(), 5u);
}

TEST_F(PaySlipGB1150, RemarkComesFromTheMemoWhenAskedElseFromTheComment) {
    l.Employee(1).Memo.set("扶養家族が増えました");
    options.EditMemo = "賞与のお知らせ";
    draw();
    EXPECT_EQ(at(115, 15), "賞与のお知らせ");
    rec.clear();
    options.BikoPrn = true;
    draw();
    EXPECT_EQ(at(115, 15), "扶養家族が増えました");
    EXPECT_FALSE(hasText("賞与のお知らせ"));
    // An empty memo prints nothing even with a comment typed.
    rec.clear();
    l.Employee(1).Memo.set("");
    draw();
    EXPECT_EQ(at(115, 15), "");
}

TEST_F(PaySlipGB1150, BonusSlipPrintsNoAttendance) {
    l.CurData.Period = 13;
    useLayout(ledger::SlipKind::Bonus);
    l.Payment(1).Amounts[ledger::kPayBase] = 500000;
    draw();
    auto y = [](int i) { return 54 + 4.27 * i; };
    for (int i = 0; i < ledger::kAttendanceSlots; ++i) {
        EXPECT_EQ(at(18.5, y(i)), "") << i;
        EXPECT_EQ(at(43.5, y(i)), "") << i;
    }
    EXPECT_EQ(at(58, y(0)), "賞与");
    EXPECT_EQ(at(84.5, y(0)), "   500,000");
    EXPECT_EQ(at(58, y(1)), "役員報酬");
}

TEST_F(PaySlipGB1150, TwoSlipsOnOneSheetLie148AndAHalfMillimetresApart) {
    options.FormType = 3;
    c.PageOffsetY = -0.5f;
    draw(1);
    c.PageOffsetY += 148.5f;
    draw(2);
    EXPECT_EQ(at(25, 19.5), "株式会社トルヴァン商事");
    EXPECT_EQ(at(25, 168.0), "株式会社トルヴァン商事");
    EXPECT_EQ(at(40, 24.5), "山田太郎  様");
    EXPECT_EQ(at(40, 173), "佐藤花子  様");
    EXPECT_EQ(at(40, 29), "営業部・一般社員");
    EXPECT_EQ(at(40, 177.5), "パート");
    EXPECT_EQ(at(155, 89.5 + 148.5), "現金支給");
    EXPECT_TRUE(hasRect(17.5, 9.5, 108, 39.5));
    EXPECT_TRUE(hasRect(17.5, 158, 108, 188));

    // B5 paper: the slip moves 23 mm right and 17 mm down.
    rec.clear();
    c.PageOffsetX = 23;
    c.PageOffsetY = 17;
    draw(1);
    EXPECT_EQ(at(48, 37), "株式会社トルヴァン商事");
}

// ---- Year to date ---------------------------------------------------------

TEST(SlipYearToDate, PeriodsThatCountFollowThePaymentDates) {
    ledger::TPayrollFileHeader h{};
    h.BonusPayMonth[0] = 7;  // summer bonus on 10 July
    h.BonusPayDay[0] = 10;
    h.BonusPayMonth[1] = 12;  // winter bonus on 10 December
    h.BonusPayDay[1] = 10;
    using V = std::vector<int>;
    using reports::YearToDatePeriods;
    // Bonus: the salary of its month counts when paid on or before the bonus.
    EXPECT_EQ(YearToDatePeriods(h, 13, 25, 0), (V{1, 2, 3, 4, 5, 6, 15}));
    EXPECT_EQ(YearToDatePeriods(h, 13, 10, 0), (V{1, 2, 3, 4, 5, 6, 7, 15}));
    EXPECT_EQ(YearToDatePeriods(h, 14, 25, 0), (V{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 15}));
    // Salary: a bonus of the same month counts when paid on or before the slip's day.
    EXPECT_EQ(YearToDatePeriods(h, 7, 25, 25), (V{1, 2, 3, 4, 5, 6, 13, 15}));
    EXPECT_EQ(YearToDatePeriods(h, 7, 25, 10), (V{1, 2, 3, 4, 5, 6, 13, 15}));
    EXPECT_EQ(YearToDatePeriods(h, 7, 25, 5), (V{1, 2, 3, 4, 5, 6, 15}));
    EXPECT_EQ(YearToDatePeriods(h, 1, 25, 25), (V{15}));  // unset month: the earliest
    // A second bonus paid the same day as this one is not counted.
    h.BonusPayMonth[2] = 7;
    h.BonusPayDay[2] = 10;
    EXPECT_EQ(YearToDatePeriods(h, 13, 25, 0), (V{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(YearToDatePeriods(h, 15, 25, 0), (V{1, 2, 3, 4, 5, 6}));
    EXPECT_TRUE(YearToDatePeriods(h, 0, 25, 25).empty());
}

struct PaySlipYearToDate : PaySlipGB1150 {
    const std::string key = "260401_090000";

    PaySlipYearToDate() {
        l.sysOption.prnRuikei = true;
        ledger::Ledger w(clock);
        ledger::CreateDataFile(w, l.CurData.FileName);
        l.FileHeader.BonusPayMonth[0] = 7;
        l.FileHeader.BonusPayDay[0] = 10;
    }

    // Stores a period with the employee in a slot of its own and, beside it, an
    // employee whose key is a head of the printed one's (never to be counted).
    void store(int period, int slot, std::int32_t taxable, std::int32_t social, std::int32_t tax) {
        ledger::Ledger w(clock);
        ledger::LoadFileHeader(w, l.CurData.FileName);
        w.FileHeader.BonusPayMonth[0] = 7;
        w.FileHeader.BonusPayDay[0] = 10;
        w.CurData.Period = period;
        w.Employee(slot).Key.set(key);
        w.Payment(slot).Amounts[ledger::kPayTaxableTotal] = taxable;
        w.Deduction(slot).Amounts[ledger::kDedSocialInsTotal] = social;
        w.Deduction(slot).Amounts[ledger::kDedIncomeTax] = tax;
        int other = slot == 80 ? 1 : slot + 1;
        w.Employee(other).Key.set(key.substr(0, 12));
        w.Payment(other).Amounts[ledger::kPayTaxableTotal] = 9000000;
        ledger::SavePeriod(w, l.CurData.FileName);
    }

    void openPeriod(int period, std::int32_t taxable, std::int32_t social, std::int32_t tax) {
        l.CurData.Period = period;
        if (period >= ledger::kFirstBonus) useLayout(ledger::SlipKind::Bonus);
        l.Payment(1).Amounts[ledger::kPayTaxableTotal] = taxable;
        l.Deduction(1).Amounts[ledger::kDedSocialInsTotal] = social;
        l.Deduction(1).Amounts[ledger::kDedIncomeTax] = tax;
    }

    std::vector<std::string> figures() const {
        return {at(181.5, 124.5), at(181.5, 129.2), at(181.5, 134)};
    }
};

TEST_F(PaySlipYearToDate, BonusSlipCountsTheSalariesPaidBeforeIt) {
    for (int p = 1; p <= 7; ++p) store(p, 10 + 3 * p, 300000, 45000, 7000);
    openPeriod(13, 500000, 75000, 20000);
    l.BasicInfo().PayDay = 25;
    draw();
    EXPECT_EQ(figures(), (std::vector<std::string>{" 2,300,000", "   345,000", "    62,000"}));

    rec.clear();
    l.BasicInfo().PayDay = 10;  // July's salary is paid the same day as the bonus
    draw();
    EXPECT_EQ(figures(), (std::vector<std::string>{" 2,600,000", "   390,000", "    69,000"}));
}

TEST_F(PaySlipYearToDate, SalarySlipCountsABonusOfItsMonthByThePrintedDay) {
    for (int p = 1; p <= 6; ++p) store(p, p, 300000, 45000, 7000);
    store(13, 40, 500000, 75000, 20000);
    openPeriod(7, 300000, 45000, 7000);
    draw();
    EXPECT_EQ(at(181.5, 124.5), " 2,600,000");
    rec.clear();
    c.PrintDay = " 5";
    draw();
    EXPECT_EQ(at(181.5, 124.5), " 2,100,000");
    EXPECT_EQ(at(181.5, 134), "    42,000" == at(181.5, 134) ? "    42,000" : "    49,000");
}

TEST_F(PaySlipYearToDate, ReadsTheStoredPeriodsThroughTheReaderItIsGiven) {
    struct CountingReader : ledger::SavedBlockReader {
        mutable std::vector<int> periods;
        std::unique_ptr<ledger::TPeriodBlock> read(const std::filesystem::path& f,
                                                   int period) const override {
            periods.push_back(period);
            return ledger::fileBlockReader().read(f, period);
        }
        ledger::TPayrollFileHeader header(const std::filesystem::path& f) const override {
            return ledger::fileBlockReader().header(f);
        }
    } reader;
    store(1, 5, 100000, 15000, 2000);
    store(13, 6, 800000, 1, 1);  // paid in July: not yet
    openPeriod(3, 100000, 15000, 2000);
    options.Reader = &reader;
    draw();
    EXPECT_EQ(reader.periods, (std::vector<int>{1, 2, 14, 15}));
    EXPECT_EQ(figures(), (std::vector<std::string>{"   200,000", "    30,000", "     4,000"}));
}

TEST_F(PaySlipYearToDate, OffLeavesTheBoxEmptyAndReadsNothing) {
    std::filesystem::remove(l.CurData.FileName);
    l.sysOption.prnRuikei = false;
    options.FormType = 2;
    ASSERT_NO_THROW(draw());
    EXPECT_EQ(at(160, 125), "支　給　額");
    EXPECT_EQ(figures(), (std::vector<std::string>{"", "", ""}));
}

TEST_F(PaySlipYearToDate, AMissingOrShortYearFileIsReportedBeforeAnythingIsDrawn) {
    options.FormType = 3;
    std::filesystem::remove(l.CurData.FileName);
    EXPECT_THROW(draw(), platform::IoError);
    EXPECT_TRUE(rec.ops().empty());

    testing_support::writeText(l.CurData.FileName, std::string(128 + 95120 * 2, '\0'));
    openPeriod(7, 1, 1, 1);
    EXPECT_THROW(draw(), platform::IoError);
    EXPECT_TRUE(rec.ops().empty());
}

}  // namespace
