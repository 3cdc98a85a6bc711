#include "withholding/EmployeeKeys.h"

#include <array>
#include <cstring>
#include <string>
#include <unordered_map>

#include "ledger/EmployeeEdit.h"

namespace withholding {

namespace {

constexpr std::size_t kKeyChars = 14;

// The mark of a keyed save. Eight bytes that no zeroed header holds and that
// another writer's bytes match only by chance of one in 2^64.
constexpr std::string_view kKeyedMark = "TolvKeys";
static_assert(kKeyedMarkOffset + kKeyedMark.size() == sizeof(TWithholdingHeader));

bool marked(const TWithholdingHeader& header) {
    return std::memcmp(reinterpret_cast<const char*>(&header) + kKeyedMarkOffset, kKeyedMark.data(),
                       kKeyedMark.size()) == 0;
}

std::uint64_t storedCheck(const TWithholdingHeader& header) {
    const auto* at = reinterpret_cast<const std::uint8_t*>(&header) + kRecordsCheckOffset;
    std::uint64_t value = 0;
    for (int b = 7; b >= 0; --b) value = value << 8 | at[b];
    return value;
}

void storeCheck(TWithholdingHeader& header, std::uint64_t value) {
    auto* at = reinterpret_cast<std::uint8_t*>(&header) + kRecordsCheckOffset;
    for (int b = 0; b < 8; ++b) at[b] = static_cast<std::uint8_t>(value >> (8 * b));
}

// One part of the notice: its heading and one line for each employee.
std::string section(std::string_view heading, const std::vector<std::string>& lines) {
    if (lines.empty()) return {};
    std::string text = "\r\r" + std::string(heading);
    for (const std::string& line : lines) text += "\r　" + line;
    return text;
}

bool sameBirth(const TEraDate& date, const ledger::TEmployeeRec& emp) {
    return date.Era == emp.BirthEra && date.Year == emp.BirthYear && date.Month == emp.BirthMonth &&
           date.Day == emp.BirthDay;
}

// A record as a keyed save before the mark left it: no Key, or one that the
// payroll program made.
bool emptyOrPayrollKey(const TWithholdingRec& rec) {
    return rec.Reserved5[0] == 0 || ledger::IsEmployeeKey(StoredKey(rec));
}

bool heldInDecember(std::string_view key, const ledger::TPeriodBlock& december) {
    for (const ledger::TEmployeeRec& emp : december.EmployeeTbl)
        if (emp.Key.bytes() == key) return true;
    return false;
}

}  // namespace

std::string_view StoredKey(const TWithholdingRec& rec) {
    const std::uint8_t* at = rec.Reserved5;
    const std::size_t length = at[0];
    if (length > kKeyChars) return {};
    return std::string_view(reinterpret_cast<const char*>(at + 1), length);
}

void StoreKey(TWithholdingRec& rec, const ledger::ShortString<14>& key) {
    std::memcpy(rec.Reserved5, &key, sizeof key);
}

std::uint64_t RecordsCheck(const WithholdingData& data) {
    // FNV-1a: any change of a byte changes it, which is all a writer's trace needs.
    std::uint64_t hash = 14695981039346656037ull;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(data.Records.get());
    for (std::size_t k = 0; k < std::size_t(kRecords) * sizeof(TWithholdingRec); ++k)
        hash = (hash ^ bytes[k]) * 1099511628211ull;
    return hash ? hash : 1;  // 0 stands for a save that kept no check
}

bool HoldsEmployeeKeys(const WithholdingData& data, const ledger::TPeriodBlock& december) {
    if (marked(data.Header)) {
        const std::uint64_t check = storedCheck(data.Header);
        return check == 0 || check == RecordsCheck(data);
    }
    bool anyInDecember = false;
    for (int j = 1; j <= kRecords; ++j) {
        const TWithholdingRec& rec = data.Record(j);
        if (!emptyOrPayrollKey(rec)) return false;
        const std::string_view key = StoredKey(rec);
        anyInDecember = anyInDecember || (!key.empty() && heldInDecember(key, december));
    }
    return anyInDecember;
}

void StoreEmployeeKeys(WithholdingData& data, const ledger::TPeriodBlock& december) {
    for (int i = 1; i <= kRecords; ++i) StoreKey(data.Record(i), december.EmployeeTbl[i - 1].Key);
    std::memcpy(reinterpret_cast<char*>(&data.Header) + kKeyedMarkOffset, kKeyedMark.data(),
                kKeyedMark.size());
    storeCheck(data.Header, RecordsCheck(data));
}

bool SamePerson(const TWithholdingRec& rec, const ledger::TEmployeeRec& emp) {
    return rec.Furigana.bytes() == emp.Kana.bytes() && sameBirth(rec.BirthDate, emp);
}

bool SamePerson(const ledger::TEmployeeRec& a, const ledger::TEmployeeRec& b) {
    return a.Name.sameText(b.Name) && a.Kana.sameText(b.Kana) &&
           sameBirth({a.BirthEra, a.BirthYear, a.BirthMonth, a.BirthDay}, b);
}

std::vector<int> PairHolders(std::size_t holders, std::size_t items,
                             const std::function<bool(std::size_t, std::size_t)>& same) {
    std::vector<int> pairs(holders, -1);
    std::vector<bool> taken(items, false);
    for (std::size_t h = 0; h < holders; ++h)
        for (std::size_t i = 0; i < items; ++i)
            if (!taken[i] && same(h, i)) {
                pairs[h] = int(i);
                taken[i] = true;
                break;
            }
    std::size_t next = 0;
    for (std::size_t h = 0; h < holders; ++h) {
        if (pairs[h] >= 0) continue;
        while (next < items && taken[next]) ++next;
        if (next == items) break;
        pairs[h] = int(next);
        taken[next] = true;
    }
    return pairs;
}

std::array<int, kRecords> PairByKey(const std::array<std::string_view, kRecords>& recordKeys,
                                    const ledger::TPeriodBlock& december,
                                    const SamePersonAt& samePerson) {
    std::unordered_map<std::string_view, std::vector<int>> records, holders;
    for (int j = 1; j <= kRecords; ++j) {
        const std::string_view key = recordKeys[std::size_t(j - 1)];
        if (!key.empty()) records[key].push_back(j);
    }
    for (int i = 1; i <= kRecords; ++i) {
        const std::string_view key = december.EmployeeTbl[i - 1].Key.bytes();
        if (!key.empty()) holders[key].push_back(i);
    }
    std::array<int, kRecords> pairs{};
    for (const auto& holding : holders) {
        const std::vector<int>& slots = holding.second;  // taken by the lambda below
        auto found = records.find(holding.first);
        if (found == records.end()) continue;
        const std::vector<int>& recs = found->second;
        const std::vector<int> paired = PairHolders(
            slots.size(), recs.size(),
            [&](std::size_t h, std::size_t r) { return samePerson(recs[r], slots[h]); });
        for (std::size_t h = 0; h < slots.size(); ++h)
            if (paired[h] >= 0) pairs[std::size_t(slots[h] - 1)] = recs[std::size_t(paired[h])];
    }
    return pairs;
}

KeyedAttachment AttachByKey(const WithholdingData& saved, const ledger::TPeriodBlock& december,
                            WithholdingData& out) {
    out.Header = saved.Header;
    std::memcpy(static_cast<void*>(out.OldRecords.get()), saved.OldRecords.get(),
                std::size_t(kRecords) * sizeof(TWithholdingRecOld));
    std::array<std::string_view, kRecords> savedKeys;
    for (int j = 1; j <= kRecords; ++j) savedKeys[std::size_t(j - 1)] = StoredKey(saved.Record(j));
    const std::array<int, kRecords> pairs =
        PairByKey(savedKeys, december, [&](int record, int slot) {
            return SamePerson(saved.Record(record), december.EmployeeTbl[slot - 1]);
        });
    KeyedAttachment result;
    std::array<bool, kRecords + 1> taken{};
    for (int i = 1; i <= kRecords; ++i) {
        TWithholdingRec& rec = out.Record(i);
        if (const int j = pairs[std::size_t(i - 1)]) {
            rec = saved.Record(j);
            taken[std::size_t(j)] = true;
            if (j != i) result.moved.push_back({j, i});
            continue;
        }
        const bool employee = !december.EmployeeTbl[i - 1].Key.empty();
        if (!employee && savedKeys[std::size_t(i - 1)].empty()) {
            rec = saved.Record(i);  // an empty slot keeps its own record
            continue;
        }
        std::memset(static_cast<void*>(&rec), 0, sizeof rec);
        if (employee) result.created.push_back(i);
    }
    // A record of a Key with fewer holders in December than records is left out
    // too, so that no record leaves the file unannounced.
    for (int j = 1; j <= kRecords; ++j)
        if (!taken[std::size_t(j)] && !savedKeys[std::size_t(j - 1)].empty())
            result.leftOut.push_back(j);
    return result;
}

std::string MovedLine(std::string_view name, const KeyedAttachment::Move& move) {
    return std::string(name) + "（No." + std::to_string(move.from) + " → No." +
           std::to_string(move.to) + "）";
}

std::string AttachmentNotice(const AttachedNames& names) {
    return "12月分の社員名簿に合わせて、源泉徴収データを社員ごとに付け直しました。" +
           section("位置が変わった社員：", names.moved) +
           section("新しく作成した社員：", names.created) + LeftOutSection(names);
}

std::string LeftOutSection(const AttachedNames& names) {
    return section(
        "12月分にいないため表示しない社員（データを保存するとファイルから削除されます）：",
        names.leftOut);
}

}  // namespace withholding
