#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "ledger/Era.h"
#include "ledger/Ledger.h"
#include "withholding/RecordEdit.h"

namespace {
using namespace withholding;

TEST(RecordEditPostalCode, ReformatsOnLeaving) {
    struct Case {
        const char* typed;
        const char* shown;
    } cases[] = {
        {"1234567", "123-4567"},   {"12345", "123-45"},
        {"1234", "123-4"},         {"12", "12"},
        {"123-4567", "123-4567"},  {"123--4567", "123-4567"},
        {"12345678", "123-4567"},  {"", ""},
        {"1-2-3-4-5-6", "123-45"},
    };
    for (const auto& c : cases) EXPECT_EQ(PostalCodeText(c.typed), c.shown) << c.typed;
}

TEST(RecordEditDates, YearBoundsFollowTheEra) {
    auto leaveYear = [](const char* y, int era) {
        return CheckDateLeave({y, "", ""}, DatePart::Year, true, era, 0);
    };
    EXPECT_EQ(leaveYear("65", 3).fields.year, "");  // 昭和 ends in 64
    EXPECT_EQ(leaveYear("64", 3).fields.year, "64");
    EXPECT_EQ(leaveYear("99", 4).fields.year, "99");
    EXPECT_EQ(leaveYear("46", 1).fields.year, "");
    EXPECT_EQ(leaveYear("16", 2).fields.year, "");
    auto noEra = leaveYear("10", 0);
    EXPECT_EQ(noEra.fields.year, "");
    EXPECT_EQ(noEra.focus, DateFocus::Era);
}

TEST(RecordEditDates, MonthAndDayNeedTheirPredecessor) {
    auto m = CheckDateLeave({"", " 5", ""}, DatePart::Month, true, 4, 0);
    EXPECT_EQ(m.fields.month, "");
    EXPECT_EQ(m.focus, DateFocus::Year);
    EXPECT_EQ(CheckDateLeave({" 5", "13", ""}, DatePart::Month, true, 4, 0).fields.month, "");
    auto d = CheckDateLeave({" 5", "", "10"}, DatePart::Day, true, 4, 0);
    EXPECT_EQ(d.fields.day, "");
    EXPECT_EQ(d.focus, DateFocus::Month);
}

TEST(RecordEditDates, DayChecksUseTheWesternCalendar) {
    struct Case {
        int era, year, month, day;
        bool kept;
    } cases[] = {
        {4, 4, 2, 29, true},    // 1992
        {4, 5, 2, 29, false},   // 1993
        {3, 35, 2, 29, true},   // 1960
        {4, 12, 2, 29, true},   // 2000, divisible by 400
        {2, 1, 2, 29, false},   // 1912 is leap... 大正1 = 1912
        {4, 10, 4, 31, false},  // April has 30
        {4, 10, 12, 31, true},
    };
    // 大正1 is 1912, a leap year: the table's entry checks the offset, not the rule.
    cases[4].kept = true;
    for (const auto& c : cases) {
        auto r =
            CheckDateLeave({std::to_string(c.year), std::to_string(c.month), std::to_string(c.day)},
                           DatePart::Day, true, c.era, 0);
        EXPECT_EQ(!r.fields.day.empty(), c.kept) << c.era << " " << c.year << "/" << c.month;
    }
}

TEST(RecordEditDates, JoinLeaveDateUsesTheOpenYearsEra) {
    // 令和6 is 2024, a leap year; read as 平成6 (1994) the 29th would be lost.
    ledger::FixedClock clock{{2024, 12, 1, 0, 0, 0}};
    ledger::Ledger ledger(clock);
    ledger.CurData.Era = "令和";
    const int offset = OpenEraOffset(ledger);
    EXPECT_EQ(offset, 2018);
    EXPECT_EQ(CheckDateLeave({" 6", " 2", "29"}, DatePart::Day, false, 0, offset).fields.day, "29");
    EXPECT_EQ(CheckDateLeave({" 7", " 2", "29"}, DatePart::Day, false, 0, offset).fields.day, "");
    // No era list: a year has no bound and needs no era.
    auto y = CheckDateLeave({"120", "", ""}, DatePart::Year, false, 0, offset);
    EXPECT_EQ(y.fields.year, "120");
    EXPECT_EQ(y.focus, DateFocus::None);
    ledger.CurData.Era = "平成";
    EXPECT_EQ(OpenEraOffset(ledger), 1988);
}

TEST(RecordEditTexts, DatePartsCountsAndStatus) {
    EXPECT_EQ(DatePartText("5"), " 5");
    EXPECT_EQ(DatePartText("05"), " 5");
    EXPECT_EQ(DatePartText("0"), "");
    EXPECT_EQ(DatePartText(""), "");
    EXPECT_EQ(CountText(0), "");
    EXPECT_EQ(CountText(3), "3");
    EXPECT_EQ(StatusText(true, kStatusComputed), "年調不要");
    EXPECT_EQ(StatusText(false, kStatusComputed), "計算済");
    EXPECT_EQ(StatusText(false, kStatusOutside), "年調対象外");
    EXPECT_EQ(StatusText(false, 7), "未処理");
    EXPECT_EQ(ManualFieldIndex("edSiharai"), 1);
    EXPECT_EQ(ManualFieldIndex("edGensenGak"), 4);
    EXPECT_EQ(ManualFieldIndex("edChousyu"), 7);
    EXPECT_EQ(ManualFieldIndex("edSeihoGaku"), 0);
}

template <class Rec>
const RecordField<Rec>& fieldNamed(const std::vector<RecordField<Rec>>& fields,
                                   std::string_view n) {
    for (const auto& f : fields)
        if (f.name == n) return f;
    throw std::runtime_error("no field " + std::string(n));
}

TEST(RecordEditFields, NewLayoutShowsAndStoresItsFields) {
    auto rec = std::make_unique<TWithholdingRec>();
    std::memset(rec.get(), 0, sizeof *rec);
    const auto& f = NewLayoutFields();
    rec->PaidAmount = 1234567;
    EXPECT_EQ(fieldNamed(f, "edSiharai").show(*rec), " 1,234,567");
    fieldNamed(f, "edGensenGak").store(*rec, " 45,600");
    EXPECT_EQ(rec->AnnualTax, 45600);
    fieldNamed(f, "edFuyoKazu3").store(*rec, "2");
    EXPECT_EQ(rec->DependantCounts[2], 2);
    EXPECT_EQ(fieldNamed(f, "edFuyoKazu1").show(*rec), "");
    EXPECT_EQ(fieldNamed(f, "edUnder16").show(*rec), "0");  // a plain number
    fieldNamed(f, "cbTaisyou11").store(*rec, "1");
    EXPECT_EQ(rec->PersonFlags[kPersonForeigner], 1);
    fieldNamed(f, "cbTaisyou9").store(*rec, "1");
    EXPECT_EQ(rec->PersonFlags[kPersonDeathRetirement], 1);
    // A date shows only with a known era.
    rec->BirthDate = {0, 50, 3, 4};
    EXPECT_EQ(fieldNamed(f, "edSeinenY").show(*rec), "");
    rec->BirthDate.Era = 3;
    EXPECT_EQ(fieldNamed(f, "edSeinenY").show(*rec), "50");
    EXPECT_EQ(fieldNamed(f, "edSeinenM").show(*rec), " 3");
    // The 就職・退職 date only while one of them is ticked.
    rec->JoinLeaveDate[0] = 7;
    EXPECT_EQ(fieldNamed(f, "edSyuTaiY").show(*rec), "");
    rec->Resigned = 1;
    EXPECT_EQ(fieldNamed(f, "edSyuTaiY").show(*rec), " 7");
    fieldNamed(f, "edTekiyou5").store(*rec, std::string(45 * 3, 'x'));
    EXPECT_EQ(rec->Remarks[4].length(), 84);
    fieldNamed(f, "cbJuKariKbn2").store(*rec, "3");
    EXPECT_EQ(rec->HousingLoanKind[1], 3);
    // A text that does not parse keeps the stored amount.
    fieldNamed(f, "edSiharai").store(*rec, "1-2");
    EXPECT_EQ(rec->PaidAmount, 1234567);
}

TEST(RecordEditFields, OldLayoutSpouseListIsOneHot) {
    auto rec = std::make_unique<TWithholdingRecOld>();
    std::memset(rec.get(), 0, sizeof *rec);
    const auto& spouse = fieldNamed(OldLayoutFields(), "cbKouHaiUmu");
    EXPECT_EQ(spouse.show(*rec), "-1");
    spouse.store(*rec, "2");
    EXPECT_EQ(spouse.show(*rec), "2");
    EXPECT_EQ(rec->SpouseKind[0] + rec->SpouseKind[1] + rec->SpouseKind[2] + rec->SpouseKind[3], 1);
    // Several set: the last one shows, and storing makes the record one-hot again.
    rec->SpouseKind[0] = rec->SpouseKind[1] = rec->SpouseKind[3] = 1;
    EXPECT_EQ(spouse.show(*rec), "3");
    rec->SpouseKind[3] = 0;
    EXPECT_EQ(spouse.show(*rec), "2");
    spouse.store(*rec, spouse.show(*rec));
    EXPECT_EQ(rec->SpouseKind[0] + rec->SpouseKind[1], 0);
    EXPECT_EQ(fieldNamed(OldLayoutFields(), "edUnder16").show(*rec), "");
    EXPECT_EQ(fieldNamed(OldLayoutFields(), "edFurigana").maxLength, 16);
    for (const auto& f : OldLayoutFields()) EXPECT_NE(f.name, "edKokuho");
}
}  // namespace
