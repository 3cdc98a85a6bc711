#include "withholding/EmployeeKeys.h"

#include <array>
#include <cstring>
#include <deque>
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

bool HoldsEmployeeKeys(const WithholdingData& data, const ledger::TPeriodBlock& december) {
    if (marked(data.Header)) return true;
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
}

std::array<int, kRecords> PairByKey(const std::array<std::string_view, kRecords>& recordKeys,
                                    const ledger::TPeriodBlock& december) {
    std::unordered_map<std::string_view, std::deque<int>> byKey;
    for (int j = 1; j <= kRecords; ++j) {
        const std::string_view key = recordKeys[std::size_t(j - 1)];
        if (!key.empty()) byKey[key].push_back(j);
    }
    std::array<int, kRecords> pairs{};
    for (int i = 1; i <= kRecords; ++i) {
        const ledger::ShortString<14>& key = december.EmployeeTbl[i - 1].Key;
        if (key.empty()) continue;
        auto found = byKey.find(key.bytes());
        if (found == byKey.end() || found->second.empty()) continue;
        pairs[std::size_t(i - 1)] = found->second.front();
        found->second.pop_front();
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
    const std::array<int, kRecords> pairs = PairByKey(savedKeys, december);
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
    std::string text = "12月分の社員名簿に合わせて、源泉徴収データを社員ごとに付け直しました。";
    const auto section = [&](const char* heading, const std::vector<std::string>& lines) {
        if (lines.empty()) return;
        text += "\r\r";
        text += heading;
        for (const std::string& line : lines) text += "\r　" + line;
    };
    section("位置が変わった社員：", names.moved);
    section("新しく作成した社員：", names.created);
    section("12月分にいないため表示しない社員（データを保存するとファイルから削除されます）：",
            names.leftOut);
    return text;
}

}  // namespace withholding
