#include "ledger/DataEntry.h"

#include <gtest/gtest.h>

#include <cstring>

#include "PayCalcFixture.h"
#include "platform/Errors.h"

namespace ledger {
namespace {

using testing_calc::PayCalcTest;

constexpr const char* kKey = "250401_080000";

class DataEntryTest : public PayCalcTest {
protected:
    // A monthly-paid, insured employee in slot 2 (slot 1 free); the monthly
    // layout also types 変動手当１ and 変動控除１.
    TEmployeeRec& monthly(int slot = 2, const char* key = kKey) {
        if (!ledger.isBonusPeriod()) {
            setUse(ItemGroup::Payment, 14, 1, true);
            setUse(ItemGroup::Deduction, 14, 1, true);
        }
        TEmployeeRec& e = addEmployee(slot, key, 1);
        e.Name.set("山田太郎");
        e.BasePay = 250000;
        e.FamilyAllowance = 10000;
        e.CommuteFree = 12000;
        e.HealthInsured = e.PensionInsured = e.EmpInsured = 1;
        e.HealthPremium = 250000;
        e.PensionPremium = 250000;
        e.TaxDependants = 1;
        return e;
    }

    const EntryView& entry(const DetailView& v, ItemGroup g, const std::string& label) {
        for (const EntryView& e : v.group(g))
            if (e.label == label) return e;
        ADD_FAILURE() << "no entry " << label;
        static EntryView none;
        return none;
    }
    EntryView shown(ItemGroup g, const std::string& label, int slot = 2) {
        return entry(ShowDetail(ledger, slot), g, label);
    }

    // The dialog's texts as shown, with some replaced.
    DetailTexts textsOf(int slot = 2) {
        DetailView v = ShowDetail(ledger, slot);
        DetailTexts t;
        for (std::size_t g = 0; g < v.entries.size(); ++g)
            for (const EntryView& e : v.entries[g]) t.entries[g].push_back(e.text);
        t.memo = v.memo;
        return t;
    }
    void typeInto(DetailTexts& t, ItemGroup g, const std::string& label, const std::string& text,
                  int slot = 2) {
        t.entries[std::size_t(g)][std::size_t(shown(g, label, slot).position)] = text;
    }
    void storeAndRecalc(const DetailTexts& t, int slot = 2) {
        StoreDetail(ledger, slot, t, messages);
        RecalcDetail(ledger, slot, reader);
    }
};

TEST_F(DataEntryTest, MonthlyLayoutShowsTheEmployeesItems) {
    monthly();
    RecalcDetail(ledger, 2, reader);
    DetailView v = ShowDetail(ledger, 2);
    EXPECT_EQ(v.caption, "詳細入力画面 【山田太郎】");
    EXPECT_EQ(v.name, "山田太郎");

    std::string visible;
    for (const EntryView& e : v.group(ItemGroup::Attendance)) visible += e.visible() ? '1' : '0';
    EXPECT_EQ(visible, "1111011111001101");  // slot 14 holds no item

    const EntryView& days = entry(v, ItemGroup::Attendance, "所定労働日数");
    EXPECT_EQ(days.look, EntryLook::Fixed);
    EXPECT_FALSE(days.editable());
    EXPECT_EQ(entry(v, ItemGroup::Attendance, "出勤日数").look, EntryLook::Typed);
    EXPECT_EQ(entry(v, ItemGroup::Payment, "基本給").look, EntryLook::Fixed);
    EXPECT_EQ(entry(v, ItemGroup::Payment, "基本給").text, "   250,000");
    EXPECT_EQ(entry(v, ItemGroup::Payment, "変動手当１").look, EntryLook::Typed);
    // その他 is not on the default layout.
    for (const EntryView& e : v.group(ItemGroup::Other)) EXPECT_FALSE(e.visible());
}

TEST_F(DataEntryTest, BonusLayoutHasNoAttendance) {
    openPeriod(13);
    monthly();
    DetailView v = ShowDetail(ledger, 2);
    for (const EntryView& e : v.group(ItemGroup::Attendance)) EXPECT_FALSE(e.visible());
    EXPECT_EQ(entry(v, ItemGroup::Payment, "賞与").binding,
              (EntryBinding{EntryTarget::Payment, kPayBase, kPayBase}));
    EXPECT_EQ(entry(v, ItemGroup::Payment, "賞与").look, EntryLook::Typed);
    EXPECT_EQ(entry(v, ItemGroup::Payment, "役員報酬").binding.index, kPayPost);
    EXPECT_EQ(entry(v, ItemGroup::Payment, "課税支給合計").binding.index, kPayTaxableTotal);
}

TEST_F(DataEntryTest, FiguresAreShownInTheirFormats) {
    monthly();
    ledger.Attendance(2).Values[kAttScheduledDays] = 21;
    ledger.Attendance(2).Values[kAttHoursWorked] = 160.5;
    EXPECT_EQ(shown(ItemGroup::Attendance, "所定労働日数").text, " 21.00");
    EXPECT_EQ(shown(ItemGroup::Attendance, "実働時間").text, "160:30");
    ledger.sysOption.timeStyle = 0;
    EXPECT_EQ(shown(ItemGroup::Attendance, "実働時間").text, "160.50");
}

// A label the user gave twice (an attendance and a payment item both named
// 休日普通残業) binds within its own group.
TEST_F(DataEntryTest, BindingIsByGroupAndLabel) {
    const SysOption& o = ledger.sysOption;
    EXPECT_EQ(BindEntry(o, ItemGroup::Attendance, "休日普通残業"),
              (EntryBinding{EntryTarget::Attendance, kAttHolidayOvertime, -1}));
    EXPECT_EQ(BindEntry(o, ItemGroup::Payment, "休日普通残業"),
              (EntryBinding{EntryTarget::Payment, kPayHoliday, kPayHoliday}));
    EXPECT_EQ(BindEntry(o, ItemGroup::Payment, "欠勤控除"),
              (EntryBinding{EntryTarget::Payment, kPayAbsence, kPayAbsence}));
    EXPECT_EQ(BindEntry(o, ItemGroup::Payment, "変動手当２"),
              (EntryBinding{EntryTarget::Payment, kPayVariable1 + 1, -1}));
    EXPECT_EQ(BindEntry(o, ItemGroup::Deduction, "所得税"),
              (EntryBinding{EntryTarget::Deduction, kDedIncomeTax, kDedIncomeTax}));
    EXPECT_EQ(BindEntry(o, ItemGroup::Deduction, "固定控除３"),
              (EntryBinding{EntryTarget::Deduction, kDedFixed1 + 2, kDedFixed1 + 2}));
    EXPECT_EQ(BindEntry(o, ItemGroup::Other, "その他２"),
              (EntryBinding{EntryTarget::Other, 1, -1}));
    EXPECT_EQ(BindEntry(o, ItemGroup::Deduction, "基本給").target, EntryTarget::None);
}

TEST_F(DataEntryTest, ManualFlagKeepsTheTypedAmountUntilSwitchedOff) {
    monthly();
    RecalcDetail(ledger, 2, reader);
    const std::int32_t computedTotal = pay(2, kPayTotal);

    EntryView base = shown(ItemGroup::Payment, "基本給");
    ASSERT_TRUE(base.canToggle);
    ASSERT_TRUE(ToggleManualFlag(ledger, 2, base));
    std::uint8_t flagByte;
    std::memcpy(&flagByte, reinterpret_cast<const std::uint8_t*>(&ledger.Payment(2)) + 116, 1);
    EXPECT_EQ(flagByte, 1);
    base = shown(ItemGroup::Payment, "基本給");
    EXPECT_EQ(base.look, EntryLook::Manual);
    EXPECT_TRUE(base.editable());

    DetailTexts t = textsOf();
    typeInto(t, ItemGroup::Payment, "基本給", "300000");
    storeAndRecalc(t);
    EXPECT_EQ(shown(ItemGroup::Payment, "基本給").text, "   300,000");
    EXPECT_EQ(pay(2, kPayTotal), computedTotal + 50000);
    EXPECT_EQ(pay(2, kPayTaxableTotal), 300000 + 10000);

    ToggleManualFlag(ledger, 2, shown(ItemGroup::Payment, "基本給"));
    EXPECT_EQ(ledger.Payment(2).ManualFlags[kPayBase], 0);
    RecalcDetail(ledger, 2, reader);
    EXPECT_EQ(pay(2, kPayBase), 250000);
    EXPECT_EQ(shown(ItemGroup::Payment, "基本給").look, EntryLook::Fixed);
}

TEST_F(DataEntryTest, ManualFlagOnlyOnFixedPaymentsAndDeductions) {
    monthly();
    setUse(ItemGroup::Other, 0, 1, true);
    DetailView v = ShowDetail(ledger, 2);
    for (const char* label : {"課税支給合計", "変動手当１"})
        EXPECT_FALSE(entry(v, ItemGroup::Payment, label).canToggle) << label;
    for (const char* label : {"社会保険料計", "社保控除後計", "変動控除１"})
        EXPECT_FALSE(entry(v, ItemGroup::Deduction, label).canToggle) << label;
    for (const EntryView& e : v.group(ItemGroup::Attendance)) EXPECT_FALSE(e.canToggle);
    EXPECT_FALSE(entry(v, ItemGroup::Other, "その他１").canToggle);
    EXPECT_FALSE(ToggleManualFlag(ledger, 2, entry(v, ItemGroup::Deduction, "社会保険料計")));

    const EntryView& tax = entry(v, ItemGroup::Deduction, "所得税");
    ASSERT_TRUE(ToggleManualFlag(ledger, 2, tax));
    std::uint8_t taxFlag;
    std::memcpy(&taxFlag, reinterpret_cast<const std::uint8_t*>(&ledger.Deduction(2)) + 115, 1);
    EXPECT_EQ(taxFlag, 1);
    ASSERT_TRUE(ToggleManualFlag(ledger, 2, entry(v, ItemGroup::Payment, "欠勤控除")));
    std::uint8_t absenceFlag;
    std::memcpy(&absenceFlag, reinterpret_cast<const std::uint8_t*>(&ledger.Payment(2)) + 131, 1);
    EXPECT_EQ(absenceFlag, 1);
}

TEST_F(DataEntryTest, TotalsCountOnlyTheOtherItemsOnTheLayout) {
    monthly();
    setUse(ItemGroup::Other, 0, 1, true);
    ledger.Payment(2).Amounts[kPayTotal] = 300000;
    ledger.Payment(2).Amounts[kPayOther1] = 5000;
    ledger.Payment(2).Amounts[kPayOther1 + 1] = 2000;  // その他２ is not on the layout
    ledger.Deduction(2).Amounts[kDedTotal] = 45000;
    DetailView v = ShowDetail(ledger, 2);
    EXPECT_EQ(v.payTotal, "   300,000");
    EXPECT_EQ(v.otherTotal, "     5,000");
    EXPECT_EQ(v.deductionTotal, "    45,000");
    EXPECT_EQ(v.netAmount, "   260,000");
    EXPECT_EQ(entry(v, ItemGroup::Other, "その他１").look, EntryLook::Typed);
}

TEST_F(DataEntryTest, StoreWritesOtherIntoBothRecordsAndTheMemoAsCrLf) {
    monthly();
    setUse(ItemGroup::Other, 0, 1, true);
    DetailTexts t = textsOf();
    typeInto(t, ItemGroup::Other, "その他１", "5000");
    typeInto(t, ItemGroup::Attendance, "出勤日数", "20");
    t.memo = "a\nb";
    StoreDetail(ledger, 2, t, messages);
    EXPECT_EQ(pay(2, kPayOther1), 5000);
    EXPECT_EQ(ded(2, kDedOther1), 5000);
    EXPECT_DOUBLE_EQ(ledger.Attendance(2).Values[kAttDaysWorked], 20);
    EXPECT_EQ(ledger.Employee(2).Memo.bytes(), std::string("a\r\nb"));
    EXPECT_EQ(ShowDetail(ledger, 2).memo, "a\nb");
}

TEST_F(DataEntryTest, StoreOfAMalformedFigureWritesNothing) {
    monthly();
    DetailTexts t = textsOf();
    typeInto(t, ItemGroup::Attendance, "出勤日数", "20");
    typeInto(t, ItemGroup::Payment, "変動手当１", "1-2");
    t.memo = "memo";
    EXPECT_THROW(StoreDetail(ledger, 2, t, messages), platform::ConvertError);
    EXPECT_DOUBLE_EQ(ledger.Attendance(2).Values[kAttDaysWorked], 0);
    EXPECT_TRUE(ledger.Employee(2).Memo.empty());

    t = textsOf();
    t.memo = "絵文字😀";  // no Shift-JIS form
    EXPECT_THROW(StoreDetail(ledger, 2, t, messages), platform::ConvertError);
    EXPECT_TRUE(ledger.Employee(2).Memo.empty());
}

TEST_F(DataEntryTest, LeavingAnEntryChecksByItsFormat) {
    monthly();
    ASSERT_TRUE(ToggleManualFlag(ledger, 2, shown(ItemGroup::Payment, "基本給")));
    struct Case {
        ItemGroup group;
        const char* label;
        const char* typed;
        const char* text;
        bool refused;
    };
    const SysOption& o = ledger.sysOption;
    for (const Case& c : {
             Case{ItemGroup::Attendance, "出勤日数", "123", "  0.00", true},
             Case{ItemGroup::Attendance, "出勤日数", "21.5", " 21.50", false},
             Case{ItemGroup::Attendance, "遅刻早退回数", "123", "123.00", false},
             Case{ItemGroup::Attendance, "実働時間", "7:45", "  7:45", false},
             Case{ItemGroup::Attendance, "実働時間", "7:75", "  0:00", true},
             Case{ItemGroup::Payment, "基本給", "12345678", "         0", true},
             Case{ItemGroup::Payment, "基本給", "1234567", " 1,234,567", false},
             Case{ItemGroup::Payment, "課税支給合計", "12345678", "12,345,678", false},
             Case{ItemGroup::Deduction, "社保控除後計", "12345678", "12,345,678", false},
         }) {
        EntryExit r = LeaveEntry(o, shown(c.group, c.label), c.typed);
        EXPECT_EQ(r.text, c.text) << c.label << " " << c.typed;
        EXPECT_EQ(!r.message.empty(), c.refused) << c.label << " " << c.typed;
    }
    EXPECT_EQ(LeaveEntry(o, shown(ItemGroup::Attendance, "出勤日数"), "123").message,
              "入力した数値が上限を超えました。");
}

TEST_F(DataEntryTest, CalculatorValueIsRoundedByTheEntrysGroup) {
    monthly();
    setUse(ItemGroup::Other, 0, 1, true);
    SysOption& o = ledger.sysOption;
    o.hasuuSik = 1;
    o.hasuuGen = 0;
    o.hasuuKou = 2;
    struct Case {
        ItemGroup group;
        const char* label;
        double value;
        const char* text;
    };
    for (const Case& c : {
             Case{ItemGroup::Payment, "基本給", 1234.2, "     1,235"},
             Case{ItemGroup::Payment, "欠勤控除", -1234.9, "    -1,234"},
             Case{ItemGroup::Deduction, "住民税", 1234.5, "     1,235"},
             Case{ItemGroup::Other, "その他１", 1234.9, "     1,234"},
             Case{ItemGroup::Attendance, "実働時間", 7.75, "  7:45"},
             Case{ItemGroup::Attendance, "出勤日数", 20.5, " 20.50"},
         }) {
        EntryExit r = CalculatorEntryText(o, shown(c.group, c.label), c.value);
        EXPECT_EQ(r.text, c.text) << c.label;
        EXPECT_TRUE(r.message.empty()) << c.label;
    }
    // Beyond the field: refused, never narrowed to a wrong amount.
    for (double huge : {12345678.0, 3e9, -1e300, 1e300}) {
        EntryExit r = CalculatorEntryText(o, shown(ItemGroup::Payment, "基本給"), huge);
        EXPECT_TRUE(r.text.empty()) << huge;
        EXPECT_EQ(r.message, "入力した数値が上限を超えました。") << huge;
    }
    EXPECT_FALSE(
        CalculatorEntryText(o, shown(ItemGroup::Attendance, "実働時間"), 1e12).message.empty());
}

TEST_F(DataEntryTest, PaidLeaveRemainderComesFromLastPeriod) {
    monthly();
    TPeriodBlock& march = reader.block(thisYear, 3);
    march.EmployeeTbl[6].Key.set(kKey);
    march.AttendanceTbl[6].Values[kAttPaidLeaveLeft] = 10;
    EXPECT_EQ(PaidLeaveRemainderText(ledger, 2, 1.5, reader), std::optional<std::string>("  8.50"));

    ledger.Attendance(2).Values[kAttPaidLeaveLeft] = 4;  // already set: kept
    EXPECT_EQ(PaidLeaveRemainderText(ledger, 2, 1.5, reader), std::nullopt);
    ledger.Attendance(2).Values[kAttPaidLeaveLeft] = 0;
    march.EmployeeTbl[6].Key.set("other");  // not in last period
    EXPECT_EQ(PaidLeaveRemainderText(ledger, 2, 1.5, reader), std::nullopt);
}

TEST_F(DataEntryTest, BonusWhoseTaxCannotBeComputedAsksForTypedTax) {
    openPeriod(13);
    ledger.FileHeader.BonusPayMonth[0] = 7;
    ledger.FileHeader.BonusPayDay[0] = 10;
    monthly();
    reader.block(thisYear, 6);  // the file exists, June holds no salary for her
    DetailTexts t = textsOf();
    typeInto(t, ItemGroup::Payment, "賞与", "300000");
    StoreDetail(ledger, 2, t, messages);
    EXPECT_FALSE(RecalcDetail(ledger, 2, reader));
    EXPECT_FALSE(ledger.BonusTaxOk[1]);
    EXPECT_EQ(ded(2, kDedIncomeTax), 0);

    SetIncomeTaxManual(ledger, 2);
    EXPECT_EQ(shown(ItemGroup::Deduction, "所得税").look, EntryLook::Manual);
    t = textsOf();
    typeInto(t, ItemGroup::Deduction, "所得税", "12345");
    StoreDetail(ledger, 2, t, messages);
    EXPECT_TRUE(RecalcDetail(ledger, 2, reader));
    EXPECT_EQ(ded(2, kDedIncomeTax), 12345);
}

// What the detail entry stored must survive the main window's next
// recalculation, which reads the typed figures from its grid.
TEST_F(DataEntryTest, StoredFiguresReachTheGrid) {
    monthly();
    addEmployee(3, "250401_080001");
    recalc();
    BuildItemGrid(ledger);
    DetailTexts t = textsOf();
    typeInto(t, ItemGroup::Payment, "変動手当１", "5000");
    typeInto(t, ItemGroup::Attendance, "普通残業時間", "2:30");
    storeAndRecalc(t);
    recalc();
    EXPECT_EQ(pay(2, kPayVariable1), 5000);
    EXPECT_DOUBLE_EQ(ledger.Attendance(2).Values[kAttOvertime], 2.5);
    EXPECT_EQ(ledger.grid.cell(GridColumnOfSlot(ledger, 2), rowOf("変動手当１")), "  5,000");
}

TEST_F(DataEntryTest, SteppingVisitsActiveEmployeesOnly) {
    addEmployee(1, "a").Status = 3;
    addEmployee(2, "b");
    addEmployee(3, "c").Status = 2;
    addEmployee(4, "d");
    ledger.Employee(6).Status = 1;  // a free slot with a stale status
    EXPECT_EQ(PrevActiveSlot(ledger, 2), 0);
    EXPECT_EQ(NextActiveSlot(ledger, 2), 4);
    EXPECT_EQ(NextActiveSlot(ledger, 4), 0);
    EXPECT_EQ(PrevActiveSlot(ledger, 4), 2);
    EXPECT_EQ(NextActiveSlot(ledger, 80), 0);
}

TEST(DataEntryMemo, AtMostFiveLinesAnd170Bytes) {
    struct Case {
        std::string typed;
        std::string kept;
    };
    std::string long85;
    for (int i = 0; i < 86; ++i) long85 += "あ";  // 172 bytes
    std::string cut85;
    for (int i = 0; i < 85; ++i) cut85 += "あ";
    for (const Case& c : {
             Case{"1\n2\n3\n4\n5", "1\n2\n3\n4\n5"},
             Case{"1\n2\n3\n4\n5\n", "1\n2\n3\n4\n5"},
             Case{"1\n2\n3\n4\n5\n6", "1\n2\n3\n4\n5"},
             Case{long85, cut85},
             Case{"a" + cut85, "a" + cut85.substr(0, 84 * 3)},  // never half a character
             Case{std::string(168, 'x') + "\nyz", std::string(168, 'x') + "\n"},
         }) {
        EXPECT_EQ(LimitMemo(c.typed), c.kept) << c.typed;
    }
}

}  // namespace
}  // namespace ledger
