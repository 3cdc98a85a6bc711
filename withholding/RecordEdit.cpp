#include "withholding/RecordEdit.h"

#include <algorithm>
#include <cstdio>

#include "ledger/EditRules.h"
#include "ledger/Era.h"
#include "ledger/Ledger.h"
#include "ledger/NumberText.h"
#include "platform/Errors.h"

namespace withholding {

namespace {

using ledger::FmtAmount;

// Stored amounts and counts come from fields normalised on leaving; a text that
// still does not parse keeps the record's value rather than storing nonsense.
bool parseInt(std::string_view text, std::int32_t& out, bool def0) {
    try {
        out = def0 ? ledger::StrToIntDef0(text) : ledger::StrToIntNum(text);
        return true;
    } catch (const platform::ConvertError&) {
        return false;
    }
}

std::uint8_t byteOf(std::int32_t v) {
    return static_cast<std::uint8_t>(std::clamp(v, 0, 255));
}

std::string twoWide(const std::string& s) {
    return s.size() < 2 ? std::string(2 - s.size(), ' ') + s : s;
}

// The records are packed, so most of their multi-byte members sit where no
// reference may point: every field reads and writes its member through a copy.
template <class Get, class Set>
struct Member {
    Get get;
    Set set;
};
template <class Get, class Set>
Member(Get, Set) -> Member<Get, Set>;

#define MEMBER(expr)                                                                     \
    Member {                                                                             \
        [=](const Rec& r) { return r.expr; }, [=](Rec& r, const auto& v) { r.expr = v; } \
    }

template <class Rec, class M>
RecordField<Rec> amount(std::string_view name, M m) {
    return {name, FieldKind::Amount, 8, [m](const Rec& r) { return FmtAmount(10, m.get(r)); },
            [m](Rec& r, std::string_view t) {
                std::int32_t v;
                if (parseInt(t, v, false)) m.set(r, v);
            }};
}

template <class Rec, class M>
RecordField<Rec> count(std::string_view name, M m, FieldKind kind = FieldKind::Count) {
    return {name, kind, 1,
            [m, kind](const Rec& r) {
                const int v = m.get(r);
                return kind == FieldKind::PlainDigit ? std::to_string(v) : CountText(v);
            },
            [m](Rec& r, std::string_view t) {
                std::int32_t v;
                if (parseInt(t, v, true)) m.set(r, byteOf(v));
            }};
}

// A date part shown "%2s" of CountText while visible(r), else blank.
template <class Rec, class M, class Vis>
RecordField<Rec> datePart(std::string_view name, M m, Vis visible) {
    return {name, FieldKind::DatePart, 2,
            [m, visible](const Rec& r) {
                return visible(r) ? twoWide(CountText(m.get(r))) : std::string();
            },
            [m](Rec& r, std::string_view t) {
                std::int32_t v;
                if (parseInt(t, v, true))
                    m.set(r, static_cast<decltype(m.get(r))>(std::clamp(v, 0, 255)));
            }};
}

template <class Rec, class M>
RecordField<Rec> text(std::string_view name, int maxBytes, M m, FieldKind kind = FieldKind::Text) {
    return {name, kind, maxBytes, [m](const Rec& r) { return m.get(r).str(); },
            [m, maxBytes](Rec& r, std::string_view t) {
                auto s = m.get(r);
                s.set(ledger::FitEditText(t, maxBytes).text);
                m.set(r, s);
            }};
}

template <class Rec, class M>
RecordField<Rec> check(std::string_view name, M m) {
    return {name, FieldKind::Check, 0,
            [m](const Rec& r) { return std::string(m.get(r) ? "1" : ""); },
            [m](Rec& r, std::string_view t) { m.set(r, std::uint8_t(t == "1" ? 1 : 0)); }};
}

template <class Rec, class M>
RecordField<Rec> list(std::string_view name, M m) {
    return {name, FieldKind::List, 0, [m](const Rec& r) { return std::to_string(m.get(r)); },
            [m](Rec& r, std::string_view t) {
                std::int32_t v;
                if (parseInt(t, v, true)) m.set(r, byteOf(v));
            }};
}

template <class Rec>
RecordField<Rec> button(std::string_view name) {
    return {name, FieldKind::Button, 0, [](const Rec&) { return std::string(); },
            [](Rec&, std::string_view) {}};
}

template <class Rec, class M>
void addEraDate(std::vector<RecordField<Rec>>& f, std::string_view g, std::string_view y,
                std::string_view m, std::string_view d, M date) {
    auto part = [date](std::uint8_t TEraDate::*p) {
        return Member{[date, p](const Rec& r) { return date.get(r).*p; },
                      [date, p](Rec& r, std::uint8_t v) {
                          auto e = date.get(r);
                          e.*p = v;
                          date.set(r, e);
                      }};
    };
    auto vis = [date](const Rec& r) { return date.get(r).present(); };
    f.push_back(list<Rec>(g, part(&TEraDate::Era)));
    f.push_back(datePart<Rec>(y, part(&TEraDate::Year), vis));
    f.push_back(datePart<Rec>(m, part(&TEraDate::Month), vis));
    f.push_back(datePart<Rec>(d, part(&TEraDate::Day), vis));
}

// The fields both layouts share, from 就職 to the end of the person flags.
template <class Rec>
void addPersonFlags(std::vector<RecordField<Rec>>& f) {
    // Left to right on the form: 未成年, 外国人, 死亡退職, 災害者, 乙欄, 本人が障害者 特別 /
    // その他, 寡婦 一般 / 特別, 寡夫, 勤労学生; cbTaisyouN holds PersonFlags[N - 1].
    static constexpr std::string_view names[] = {
        "cbTaisyou1", "cbTaisyou11", "cbTaisyou9", "cbTaisyou10", "cbTaisyou2", "cbTaisyou3",
        "cbTaisyou4", "cbTaisyou5",  "cbTaisyou6", "cbTaisyou7",  "cbTaisyou8"};
    static constexpr int index[] = {0, 10, 8, 9, 1, 2, 3, 4, 5, 6, 7};
    for (int i = 0; i < 11; ++i) {
        const int k = index[i];
        f.push_back(check<Rec>(names[i], MEMBER(PersonFlags[k])));
    }
}

template <class Rec>
void addJoinLeaveAndBirth(std::vector<RecordField<Rec>>& f) {
    f.push_back(check<Rec>("cbSyusyoku", MEMBER(Joined)));
    f.push_back(check<Rec>("cbTaisyoku", MEMBER(Resigned)));
    auto ticked = [](const Rec& r) { return r.Joined || r.Resigned; };
    static constexpr std::string_view parts[] = {"edSyuTaiY", "edSyuTaiM", "edSyuTaiD"};
    for (int i = 0; i < 3; ++i)
        f.push_back(datePart<Rec>(parts[i], MEMBER(JoinLeaveDate[i]), ticked));
    addEraDate<Rec>(f, "cbGengou", "edSeinenY", "edSeinenM", "edSeinenD", MEMBER(BirthDate));
}

template <class Rec>
void addHead(std::vector<RecordField<Rec>>& f, int furiganaBytes) {
    f.push_back(text<Rec>("edYubinNo", 8, MEMBER(PostalCode), FieldKind::Postal));
    f.push_back(text<Rec>("edJusyo1", 32, MEMBER(Address1)));
    f.push_back(text<Rec>("edJusyo2", 32, MEMBER(Address2)));
    f.push_back(text<Rec>("edJukyuNo", 8, MEMBER(RecipientNo), FieldKind::Digits));
    f.push_back(text<Rec>("edFurigana", furiganaBytes, MEMBER(Furigana)));
    f.push_back(text<Rec>("edYakusyoku", 16, MEMBER(Position)));
    f.push_back(amount<Rec>("edSiharai", MEMBER(PaidAmount)));
    f.push_back(amount<Rec>("edSyoKouGak", MEMBER(IncomeAfterDeduction)));
    f.push_back(amount<Rec>("edKouGakKei", MEMBER(IncomeDeductionTotal)));
    f.push_back(amount<Rec>("edGensenGak", MEMBER(AnnualTax)));
    f.push_back(amount<Rec>("edChousyu", MEMBER(TaxWithheld)));
}

template <class Rec>
void addCounts(std::vector<RecordField<Rec>>& f) {
    for (int i = 0; i < 7; ++i) {
        static const std::string names[] = {"edFuyoKazu1", "edFuyoKazu2", "edFuyoKazu3",
                                            "edFuyoKazu4", "edFuyoKazu5", "edFuyoKazu6",
                                            "edFuyoKazu7"};
        f.push_back(count<Rec>(names[i], MEMBER(DependantCounts[i])));
    }
    for (int i = 0; i < 3; ++i) {
        static const std::string names[] = {"edSyouKazu1", "edSyouKazu2", "edSyouKazu3"};
        f.push_back(count<Rec>(names[i], MEMBER(DisabledCounts[i])));
    }
}

std::vector<RecordField<TWithholdingRec>> buildNew() {
    using Rec = TWithholdingRec;
    std::vector<RecordField<Rec>> f;
    addHead(f, 20);
    f.push_back(check<Rec>("cbKouHaiAri", MEMBER(SpouseDeductible)));
    f.push_back(check<Rec>("cbKouHaiJyu", MEMBER(SpouseDeductibleSub)));
    f.push_back(check<Rec>("cbKouHaiRou", MEMBER(SpouseElderly)));
    f.push_back(amount<Rec>("edHaiTokGak", MEMBER(SpouseSpecialAmount)));
    addCounts(f);
    f.push_back(check<Rec>("cbDependantUnder23", MEMBER(HasDependantUnder23)));
    f.push_back(count<Rec>("edUnder16", MEMBER(Under16Count), FieldKind::PlainDigit));
    f.push_back(count<Rec>("edHikyoju", MEMBER(NonResidentCount), FieldKind::PlainDigit));
    f.push_back(amount<Rec>("edSyahoGaku", MEMBER(SocialInsurance)));
    f.push_back(amount<Rec>("edSeihoGaku", MEMBER(LifeInsurance)));
    f.push_back(amount<Rec>("edJisinGaku", MEMBER(EarthquakeInsurance)));
    f.push_back(amount<Rec>("edSpecificRelative", MEMBER(SpecificRelativeDeduction)));
    f.push_back(amount<Rec>("edJutakGaku", MEMBER(HousingLoanCredit)));
    f.push_back(amount<Rec>("edKyosaGaku", MEMBER(SmallBizPremium)));
    for (int i = 0; i < 5; ++i) {
        static const std::string names[] = {"edTekiyou1", "edTekiyou2", "edTekiyou3", "edTekiyou4",
                                            "edTekiyou5"};
        f.push_back(text<Rec>(names[i], 84, MEMBER(Remarks[i])));
    }
    f.push_back(amount<Rec>("edSeimeiN", MEMBER(NewLifePremium)));
    f.push_back(amount<Rec>("edSeimeiO", MEMBER(OldLifePremium)));
    f.push_back(amount<Rec>("edKaigoiryo", MEMBER(CareMedicalPremium)));
    f.push_back(amount<Rec>("edNenkinN", MEMBER(NewPensionPremium)));
    f.push_back(amount<Rec>("edNenkinO", MEMBER(OldPensionPremium)));
    f.push_back(
        datePart<Rec>("edJuKariTek", MEMBER(HousingLoanCount), [](const Rec&) { return true; }));
    f.push_back(amount<Rec>("edJuKariGak", MEMBER(HousingLoanPossible)));
    addEraDate<Rec>(f, "cbKyojuG1", "edKyojuY1", "edKyojuM1", "edKyojuD1",
                    MEMBER(ResidenceStart[0]));
    addEraDate<Rec>(f, "cbKyojuG2", "edKyojuY2", "edKyojuM2", "edKyojuD2",
                    MEMBER(ResidenceStart[1]));
    f.push_back(list<Rec>("cbJuKariKbn1", MEMBER(HousingLoanKind[0])));
    f.push_back(check<Rec>("cbJuKariTok1", MEMBER(HousingLoanSpecific[0])));
    f.push_back(list<Rec>("cbJuKariKbn2", MEMBER(HousingLoanKind[1])));
    f.push_back(check<Rec>("cbJuKariTok2", MEMBER(HousingLoanSpecific[1])));
    f.push_back(amount<Rec>("edJuKariZan1", MEMBER(HousingLoanBalance[0])));
    f.push_back(amount<Rec>("edJuKariZan2", MEMBER(HousingLoanBalance[1])));
    f.push_back(button<Rec>("btFamily"));
    f.push_back(amount<Rec>("edHaiSyotok", MEMBER(SpouseIncome)));
    f.push_back(amount<Rec>("edKokuho", MEMBER(NationalPensionPremium)));
    f.push_back(amount<Rec>("edChoSonGak", MEMBER(OldLongTermPremium)));
    addPersonFlags(f);
    addJoinLeaveAndBirth(f);
    return f;
}

std::vector<RecordField<TWithholdingRecOld>> buildOld() {
    using Rec = TWithholdingRecOld;
    std::vector<RecordField<Rec>> f;
    addHead(f, 16);
    // The one-hot SpouseKind as the index of 有, 無, 従有, 従無; none set shows no
    // item. A record with several set (written elsewhere) shows the last of them.
    f.push_back({"cbKouHaiUmu", FieldKind::List, 0,
                 [](const Rec& r) {
                     for (int i = kSpouseKindCount - 1; i >= 0; --i)
                         if (r.SpouseKind[i]) return std::to_string(i);
                     return std::string("-1");
                 },
                 [](Rec& r, std::string_view t) {
                     std::int32_t v;
                     if (!parseInt(t, v, true) || v < 0 || v >= kSpouseKindCount) return;
                     for (int i = 0; i < kSpouseKindCount; ++i) r.SpouseKind[i] = i == v ? 1 : 0;
                 }});
    f.push_back(check<Rec>("cbRoujin", MEMBER(SpouseElderly)));
    f.push_back(amount<Rec>("edHaiTokGak", MEMBER(SpouseSpecialAmount)));
    addCounts(f);
    f.push_back(amount<Rec>("edSyahoGaku", MEMBER(SocialInsurance)));
    f.push_back(amount<Rec>("edSeihoGaku", MEMBER(LifeInsurance)));
    f.push_back(amount<Rec>("edJisinGaku", MEMBER(EarthquakeInsurance)));
    f.push_back(amount<Rec>("edJutakGaku", MEMBER(HousingLoanCredit)));
    for (int i = 0; i < 3; ++i) {
        static const std::string names[] = {"edTekiyou1", "edTekiyou2", "edTekiyou3"};
        f.push_back(text<Rec>(names[i], 58, MEMBER(Remarks[i])));
    }
    f.push_back(amount<Rec>("edSeimeiN", MEMBER(NewLifePremium)));
    f.push_back(amount<Rec>("edSeimeiO", MEMBER(OldLifePremium)));
    f.push_back(amount<Rec>("edKaigoiryo", MEMBER(CareMedicalPremium)));
    f.push_back(amount<Rec>("edNenkinN", MEMBER(NewPensionPremium)));
    f.push_back(amount<Rec>("edNenkinO", MEMBER(OldPensionPremium)));
    f.push_back(amount<Rec>("edHaiSyotok", MEMBER(SpouseIncome)));
    f.push_back(amount<Rec>("edChoSonGak", MEMBER(OldLongTermPremium)));
    f.push_back(count<Rec>("edUnder16", MEMBER(Under16Count)));
    addPersonFlags(f);
    addJoinLeaveAndBirth(f);
    return f;
}

#undef MEMBER

}  // namespace

const std::vector<RecordField<TWithholdingRec>>& NewLayoutFields() {
    static const auto fields = buildNew();
    return fields;
}

const std::vector<RecordField<TWithholdingRecOld>>& OldLayoutFields() {
    static const auto fields = buildOld();
    return fields;
}

int ManualFieldIndex(std::string_view control) {
    static constexpr std::string_view names[] = {"edSiharai",   "edSyoKouGak", "edKouGakKei",
                                                 "edGensenGak", "edHaiTokGak", "edSyahoGaku",
                                                 "edChousyu"};
    for (int i = 0; i < 7; ++i)
        if (names[i] == control) return i + 1;
    return 0;
}

std::string CountText(int n) {
    return n <= 0 ? std::string() : std::to_string(n);
}

std::string StatusText(bool otsu, int status) {
    if (otsu) return "年調不要";
    switch (status) {
        case kStatusComputed:
            return "計算済";
        case kStatusOutside:
            return "年調対象外";
        default:
            return "未処理";
    }
}

std::string PostalCodeText(std::string_view text) {
    // The first ten characters; the field holds single-byte characters only, but a
    // pasted multi-byte character counts as one.
    std::string digits;
    int chars = 0;
    for (std::size_t i = 0; i < text.size() && chars < 10; ++chars) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        std::size_t len = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        if (len == 1 && c >= '0' && c <= '9') digits += static_cast<char>(c);
        i += len;
    }
    if (chars == 0) return std::string(text);
    if (digits.size() <= 3) return digits;
    return digits.substr(0, 3) + "-" + digits.substr(3, 4);
}

int EraLastYear(int era) {
    switch (era) {
        case 1:
            return 45;
        case 2:
            return 15;
        case 3:
            return 64;
        case 4:
        case 5:
            return 99;
        default:
            return 0;
    }
}

int EraToWesternYear(int era, int year) {
    static constexpr int offsets[] = {0, 1867, 1911, 1925, 1988, 2018};
    return era >= 0 && era <= 5 ? year + offsets[era] : year;
}

int MonthDays(int westernYear, int month) {
    if (month < 1 || month > 12) return 0;
    return ledger::daysInMonth(westernYear, month);
}

std::string DatePartText(std::string_view text) {
    std::int32_t v = 0;
    if (!parseInt(text, v, true) || v == 0) return {};
    char buf[16];
    std::snprintf(buf, sizeof buf, "%2d", v);
    return buf;
}

DateCheck CheckDateLeave(DateFields f, DatePart left, bool hasEraList, int era, int westernOffset) {
    DateCheck r{std::move(f), DateFocus::None};
    auto value = [](const std::string& s) {
        std::int32_t v = 0;
        return parseInt(s, v, true) ? v : 0;
    };
    const int y = value(r.fields.year), m = value(r.fields.month), d = value(r.fields.day);
    switch (left) {
        case DatePart::Year:
            if (y > 0 && hasEraList) {
                if (era == 0) {
                    r.focus = DateFocus::Era;
                    r.fields.year.clear();
                } else if (y > EraLastYear(era)) {
                    r.fields.year.clear();
                }
            }
            break;
        case DatePart::Month:
            if (m > 0) {
                if (y <= 0) {
                    r.focus = DateFocus::Year;
                    r.fields.month.clear();
                } else if (m > 12) {
                    r.fields.month.clear();
                }
            }
            break;
        case DatePart::Day:
            if (d > 0) {
                if (m <= 0) {
                    r.focus = DateFocus::Month;
                    r.fields.day.clear();
                } else {
                    const int western = hasEraList ? EraToWesternYear(era, y) : y + westernOffset;
                    if (d > MonthDays(western, m)) r.fields.day.clear();
                }
            }
            break;
    }
    return r;
}

int OpenEraOffset(const ledger::Ledger& ledger) {
    if (auto w = ledger::westernYear(ledger.CurData.Era, 1)) return *w - 1;
    return 1988;
}

}  // namespace withholding
