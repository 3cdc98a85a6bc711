#include "withholding/YearLoad.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "ledger/Ledger.h"
#include "ledger/YearFileName.h"
#include "platform/Errors.h"
#include "platform/Files.h"
#include "withholding/EmployeeKeys.h"

namespace withholding {
namespace fs = std::filesystem;
using ledger::TPeriodBlock;

namespace {

using Blocks = std::array<std::unique_ptr<TPeriodBlock>, ledger::kPeriods>;

// Loading a year reads up to four files, so a failed read names its file on a
// line of its own: the bare "past the end" or "not found" would leave the user
// guessing which one to look at.
template <class Read>
auto naming(const fs::path& file, Read&& read) -> decltype(read()) {
    try {
        return read();
    } catch (const platform::IoError& e) {
        const std::string name = file.filename().string();
        const std::string text = e.what();
        if (text.find(name) != std::string::npos) throw;
        throw platform::IoError(e.code(), text + "\n" + name);
    }
}

// All fifteen periods of a pay-data file, each read once.
Blocks readYear(const fs::path& file, const ledger::SavedBlockReader& reader) {
    Blocks blocks;
    for (int p = 1; p <= ledger::kPeriods; ++p)
        blocks[p - 1] = naming(file, [&] { return reader.read(file, p); });
    return blocks;
}

std::int32_t checkedAmount(std::int64_t sum) {
    if (sum < std::numeric_limits<std::int32_t>::min() ||
        sum > std::numeric_limits<std::int32_t>::max())
        throw std::overflow_error("合計が金額の範囲を超えました");
    return static_cast<std::int32_t>(sum);
}

struct WideTotals {
    std::int64_t pay = 0, social = 0, tax = 0;
};

PayrollTotals checkedTotals(const WideTotals& t) {
    return {checkedAmount(t.pay), checkedAmount(t.social), checkedAmount(t.tax)};
}

// Each slot of each period counts for the December employee holding its Key.
// Where several hold one Key (a clock set back, a copied file), a period's holders
// pair with December's by who they are, then in slot order (PairHolders), so that
// each keeps their own pay rather than all of them getting the sum, or one
// another's once one of them has left.
std::array<PayrollTotals, kRecords> sumForDecember(const Blocks& blocks,
                                                   const TPeriodBlock& december) {
    // Keys compare as their stored bytes (SameKey).
    std::unordered_map<std::string_view, std::vector<int>> holders;
    holders.reserve(2 * kRecords);
    for (int i = 0; i < kRecords; ++i) holders[december.EmployeeTbl[i].Key.bytes()].push_back(i);
    std::array<WideTotals, kRecords> sums{};
    for (const auto& block : blocks) {
        std::unordered_map<std::string_view, std::vector<int>> slots;
        for (int k = 0; k < ledger::kSlots; ++k)
            slots[block->EmployeeTbl[k].Key.bytes()].push_back(k);
        for (const auto& holding : holders) {
            const std::vector<int>& ours = holding.second;  // taken by the lambda below
            auto found = slots.find(holding.first);
            if (found == slots.end()) continue;
            const std::vector<int>& theirs = found->second;
            const std::vector<int> paired =
                PairHolders(ours.size(), theirs.size(), [&](std::size_t h, std::size_t t) {
                    return SamePerson(december.EmployeeTbl[ours[h]], block->EmployeeTbl[theirs[t]]);
                });
            for (std::size_t h = 0; h < ours.size(); ++h) {
                if (paired[h] < 0) continue;
                const int k = theirs[std::size_t(paired[h])];
                WideTotals& t = sums[std::size_t(ours[h])];
                t.pay += block->PaymentTbl[k].Amounts[ledger::kPayTaxableTotal];
                t.social += block->DeductionTbl[k].Amounts[ledger::kDedSocialInsTotal];
                t.tax += block->DeductionTbl[k].Amounts[ledger::kDedIncomeTax];
            }
        }
    }
    std::array<PayrollTotals, kRecords> out;
    for (int i = 0; i < kRecords; ++i) out[std::size_t(i)] = checkedTotals(sums[std::size_t(i)]);
    return out;
}

template <class Rec>
void applyTotals(Rec& rec, const PayrollTotals& t) {
    if (!rec.ManualFlags[kManualPaidAmount]) rec.PaidAmount = t.pay;
    if (!rec.ManualFlags[kManualSocialInsurance]) rec.SocialInsurance = t.socialInsurance;
    if (!rec.ManualFlags[kManualTaxWithheld]) rec.TaxWithheld = t.tax;
}

void applyTotals(WithholdingData& data, bool newLayout, int slot, const PayrollTotals& t) {
    if (newLayout)
        applyTotals(data.Record(slot), t);
    else
        applyTotals(data.OldRecord(slot), t);
}

// A short string into a wider field: the length byte and the source's N bytes, so
// the copied text is exactly the source's.
template <std::size_t To, std::size_t From>
void copyShort(ledger::ShortString<To>& to, const ledger::ShortString<From>& from) {
    static_assert(From <= To);
    std::memcpy(to.text, from.text, From);
    to.len = static_cast<std::uint8_t>(from.length());
}

template <class Rec>
void clearLastYearsResults(Rec& rec) {
    std::memset(rec.ManualFlags, 0, sizeof rec.ManualFlags);
    rec.Status = kStatusUnprocessed;
    rec.IncomeAfterDeduction = rec.IncomeDeductionTotal = rec.SpouseSpecialAmount = rec.AnnualTax =
        0;
}

// Last year as the carry-over names it: the same era one year back; an era's first
// year looks back into the era before, as no year 0 exists.
ledger::EraYear lastYear(const ledger::TCurrentData& cur) {
    if (cur.Year <= 1) return ledger::PreviousYear({cur.Era, cur.Year});
    return {cur.Era, cur.Year - 1};
}

// Which of this year's slots hold a record carried from last year.
using Carried = std::array<bool, kRecords>;

// Fills data's records from last year's file, matching employees by Key: by the
// Keys last year's records hold, else against last year's December, and marks in
// carried the slots that received one. Returns false, with nothing filled and
// notice set, when neither can be had: without either, no record could be told
// to belong to anyone.
bool carryOver(const TPeriodBlock& december, bool newLayout, const fs::path& lastFile,
               const fs::path& lastPayFile, const ledger::SavedBlockReader& reader,
               WithholdingData& data, Carried& carried, std::string& notice) {
    WithholdingData last;
    naming(lastFile, [&] { ReadWithholdingFile(lastFile, last); });
    const bool lastNew = IsNewLayoutYear(lastFile);
    std::array<std::string_view, kRecords> lastKeys;
    std::unique_ptr<TPeriodBlock> lastDecember;
    const bool keyed = lastNew && HoldsEmployeeKeys(last, december);
    if (keyed) {
        for (int j = 1; j <= kRecords; ++j)
            lastKeys[std::size_t(j - 1)] = StoredKey(last.Record(j));
    } else {
        if (!platform::regularFileExists(lastPayFile)) {
            notice = NoLastPayDataNotice(lastPayFile);
            return false;
        }
        lastDecember = naming(lastPayFile, [&] { return reader.read(lastPayFile, kDecember); });
        for (int j = 1; j <= kRecords; ++j)
            lastKeys[std::size_t(j - 1)] = lastDecember->EmployeeTbl[j - 1].Key.bytes();
    }

    data.clear();
    data.Header = last.Header;  // the company address and telephone carry over
    const bool convert = newLayout && !lastNew;
    std::array<int, kRecords> from = PairByKey(lastKeys, december, [&](int j, int i) {
        const ledger::TEmployeeRec& emp = december.EmployeeTbl[i - 1];
        return keyed ? SamePerson(last.Record(j), emp)
                     : SamePerson(lastDecember->EmployeeTbl[j - 1], emp);
    });
    // An empty slot takes last year's first empty one, as the keys compare equal.
    int firstEmpty = 0;
    for (int j = 1; j <= kRecords && !firstEmpty; ++j)
        if (lastKeys[std::size_t(j - 1)].empty()) firstEmpty = j;
    for (int i = 1; i <= kRecords; ++i)
        if (december.EmployeeTbl[i - 1].Key.empty()) from[std::size_t(i - 1)] = firstEmpty;
    carried = {};
    for (int i = 1; i <= kRecords; ++i) {
        const int j = from[std::size_t(i - 1)];
        if (!j) continue;
        carried[std::size_t(i - 1)] = true;
        if (convert)
            ConvertOldRecord(data.Record(i), last.OldRecord(j));
        else if (lastNew)
            data.Record(i) = last.Record(j);
        else
            data.OldRecord(i) = last.OldRecord(j);
    }
    // Last year's typed figures are not this year's: every manual flag goes. This
    // holds for the old layout too, by ruling, although its records are otherwise
    // copied whole: a kept flag stops re-totalling, so last year's typed pay and
    // tax would stand as this year's figures. Last year's results go for the same
    // reason: beside this year's pay they would print as this year's slip or
    // refund until the next calculation.
    for (int i = 1; i <= kRecords; ++i) {
        clearLastYearsResults(data.Record(i));
        clearLastYearsResults(data.OldRecord(i));
    }
    return true;
}

template <class Rec>
void refreshFromEmployee(Rec& rec, const ledger::TEmployeeRec& emp) {
    rec.Furigana.setBytes(emp.Kana.bytes());
    rec.BirthDate = TEraDate{emp.BirthEra, emp.BirthYear, emp.BirthMonth, emp.BirthDay};
}

// What every record of a loaded year that was not saved this year takes from the
// pay data: this year's totals and the 乙欄 flag.
void retotal(WithholdingData& data, bool newLayout, int slot, const PayrollTotals& totals,
             const ledger::TEmployeeRec& emp) {
    applyTotals(data, newLayout, slot, totals);
    const std::uint8_t otsu = emp.TaxColumn == 1 ? 1 : 0;
    data.Record(slot).PersonFlags[kPersonOtsu] = otsu;
    data.OldRecord(slot).PersonFlags[kPersonOtsu] = otsu;
}

// The record loading makes for an employee who has none, whether the year starts
// afresh, carries over or was saved before they joined: empty but for the pay
// data's totals, 乙欄, furigana and birth date.
void newRecord(WithholdingData& data, bool newLayout, int slot, const PayrollTotals& totals,
               const ledger::TEmployeeRec& emp) {
    std::memset(static_cast<void*>(&data.Record(slot)), 0, sizeof(TWithholdingRec));
    std::memset(static_cast<void*>(&data.OldRecord(slot)), 0, sizeof(TWithholdingRecOld));
    data.OldRecord(slot).SpouseKind[kSpouseNo] = 1;
    retotal(data, newLayout, slot, totals, emp);
    refreshFromEmployee(data.Record(slot), emp);
    refreshFromEmployee(data.OldRecord(slot), emp);
}

// The name the owner of a left-out record had in the year's pay data: the holder
// its Key's records pair it with (PairByKey's rule) in the latest period where
// one does; else the record's own furigana, else the Key itself, so that the
// user can always tell whose record it is.
std::string leftOutName(const WithholdingData& saved, int slot, const Blocks& year) {
    const TWithholdingRec& rec = saved.Record(slot);
    const std::string_view key = StoredKey(rec);
    std::vector<int> records;
    for (int j = 1; j <= kRecords; ++j)
        if (StoredKey(saved.Record(j)) == key) records.push_back(j);
    const int rank = int(std::find(records.begin(), records.end(), slot) - records.begin());
    for (auto block = year.rbegin(); block != year.rend(); ++block) {
        const auto& employees = (*block)->EmployeeTbl;
        std::vector<int> holders;
        for (int k = 0; k < ledger::kSlots; ++k)
            if (employees[k].Key.bytes() == key) holders.push_back(k);
        const std::vector<int> paired =
            PairHolders(holders.size(), records.size(), [&](std::size_t h, std::size_t r) {
                return SamePerson(saved.Record(records[r]), employees[holders[h]]);
            });
        for (std::size_t h = 0; h < holders.size(); ++h)
            if (paired[h] == rank && !employees[holders[h]].Name.empty())
                return employees[holders[h]].Name.str();
    }
    if (!rec.Furigana.empty()) return rec.Furigana.str();
    return std::string(key);
}

AttachedNames attachedNames(const KeyedAttachment& attached, const WithholdingData& saved,
                            const TPeriodBlock& december, const Blocks& year) {
    AttachedNames names;
    const auto nameOf = [&](int slot) { return december.EmployeeTbl[slot - 1].Name.str(); };
    for (const KeyedAttachment::Move& m : attached.moved)
        names.moved.push_back(MovedLine(nameOf(m.to), m));
    for (int i : attached.created) names.created.push_back(nameOf(i));
    for (int j : attached.leftOut) names.leftOut.push_back(leftOutName(saved, j, year));
    return names;
}

}  // namespace

bool SameKey(const ledger::ShortString<14>& a, const ledger::ShortString<14>& b) {
    return a.sameText(b);
}

std::string NoLastPayDataNotice(const fs::path& lastPayFile) {
    return "前年の給与データ（" + lastPayFile.filename().string() +
           "）が見つかりません。\r前年の源泉徴収データを引き継がずに開始します。";
}

YearLoaded LoadYearData(ledger::Ledger& ledger, WithholdingData& data,
                        const ledger::SavedBlockReader& reader) {
    const fs::path payFile = ledger.CurData.FileName;
    const ledger::TPayrollFileHeader header =
        naming(payFile, [&] { return reader.header(payFile); });
    if (!header.PeriodSaved[kDecember - 1]) return {};

    std::unique_ptr<TPeriodBlock> december =
        naming(payFile, [&] { return reader.read(payFile, kDecember); });

    const fs::path path = WithholdingPath(ledger);
    const bool newLayout = IsNewLayoutYear(path);
    WithholdingData loaded;
    YearLoaded result;
    result.december = true;
    if (platform::regularFileExists(path)) {
        // Saved records are used exactly as saved: nothing is re-totalled or refreshed.
        WithholdingData saved;
        naming(path, [&] { ReadWithholdingFile(path, saved); });
        if (newLayout && HoldsEmployeeKeys(saved, *december)) {
            const KeyedAttachment attached = AttachByKey(saved, *december, loaded);
            if (attached.any()) {
                const Blocks year = readYear(payFile, reader);
                const auto totals = sumForDecember(year, *december);
                for (int i : attached.created)
                    newRecord(loaded, newLayout, i, totals[std::size_t(i - 1)],
                              december->EmployeeTbl[i - 1]);
                const AttachedNames names = attachedNames(attached, saved, *december, year);
                result.notice = AttachmentNotice(names);
                result.noticeKept = LeftOutSection(names);
            }
        } else {
            loaded = std::move(saved);
        }
    } else {
        const ledger::EraYear last = lastYear(ledger.CurData);
        const fs::path lastFile = WithholdingFileName(ledger.dataPath, last.era, last.year);
        std::error_code ec;
        Carried carried{};
        if (!fs::exists(lastFile, ec) ||
            !carryOver(*december, newLayout, lastFile,
                       ledger.dataPath / ledger::YearFileName(last.era, last.year), reader, loaded,
                       carried, result.notice))
            loaded.clear();
        const auto totals = sumForDecember(readYear(payFile, reader), *december);
        for (int i = 1; i <= kRecords; ++i) {
            const ledger::TEmployeeRec& emp = december->EmployeeTbl[i - 1];
            if (carried[std::size_t(i - 1)])
                retotal(loaded, newLayout, i, totals[std::size_t(i - 1)], emp);
            else
                newRecord(loaded, newLayout, i, totals[std::size_t(i - 1)], emp);
        }
    }

    // Everything was read: only now does memory change.
    ledger.FileHeader = header;
    ledger.block = std::move(december);
    data = std::move(loaded);
    return result;
}

PayrollTotals SumFromPayroll(const ledger::Ledger& ledger, int slot,
                             const ledger::SavedBlockReader& reader) {
    const Blocks blocks = readYear(ledger.CurData.FileName, reader);
    return sumForDecember(blocks, *ledger.block)[std::size_t(slot - 1)];
}

void RecalcFromPayroll(const ledger::Ledger& ledger, WithholdingData& data, int slot,
                       const ledger::SavedBlockReader& reader) {
    PayrollTotals t = SumFromPayroll(ledger, slot, reader);
    applyTotals(data, IsNewLayoutYear(WithholdingPath(ledger)), slot, t);
}

void ConvertOldRecord(TWithholdingRec& to, const TWithholdingRecOld& from) {
    to.PostalCode = from.PostalCode;
    copyShort(to.Address1, from.Address1);
    copyShort(to.Address2, from.Address2);
    to.RecipientNo = from.RecipientNo;
    to.Position = from.Position;
    copyShort(to.Furigana, from.Furigana);
    to.SpouseDeductible = from.SpouseKind[kSpouseYes];
    to.SpouseDeductibleSub = from.SpouseKind[kSpouseSubYes];
    to.SpouseElderly = from.SpouseElderly;
    to.SpouseSpecialAmount = from.SpouseSpecialAmount;
    std::memcpy(to.DependantCounts, from.DependantCounts, sizeof to.DependantCounts);
    to.Under16Count = from.Under16Count;
    std::memcpy(to.DisabledCounts, from.DisabledCounts, sizeof to.DisabledCounts);
    to.SocialInsurance = from.SocialInsurance;
    to.LifeInsurance = from.LifeInsurance;
    to.EarthquakeInsurance = from.EarthquakeInsurance;
    to.HousingLoanCredit = from.HousingLoanCredit;
    to.NewLifePremium = from.NewLifePremium;
    to.OldLifePremium = from.OldLifePremium;
    to.CareMedicalPremium = from.CareMedicalPremium;
    to.NewPensionPremium = from.NewPensionPremium;
    to.OldPensionPremium = from.OldPensionPremium;
    to.HousingLoanPossible = from.HousingLoanPossible;
    to.ResidenceStart[0] = from.ResidenceStart;
    to.SpouseIncome = from.SpouseIncome;
    to.NationalPensionPremium = from.NationalPensionPremium;
    to.OldLongTermPremium = from.OldLongTermPremium;
    std::memcpy(to.PersonFlags, from.PersonFlags, sizeof to.PersonFlags);
    to.Joined = from.Joined;
    to.Resigned = from.Resigned;
    std::memcpy(to.JoinLeaveDate, from.JoinLeaveDate, sizeof to.JoinLeaveDate);
    to.BirthDate = from.BirthDate;
    to.SmallBizPremium = from.SmallBizPremium;
}

}  // namespace withholding
