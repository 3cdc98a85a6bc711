#include "withholding/EmployeeKeys.h"

#include <array>
#include <cstring>
#include <string>
#include <unordered_map>

namespace withholding {

namespace {

constexpr std::size_t kKeyChars = 14;

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

bool AnyStoredKey(const WithholdingData& data) {
    for (int j = 1; j <= kRecords; ++j)
        if (!StoredKey(data.Record(j)).empty()) return true;
    return false;
}

void StoreEmployeeKeys(WithholdingData& data, const ledger::TPeriodBlock& december) {
    for (int i = 1; i <= kRecords; ++i) StoreKey(data.Record(i), december.EmployeeTbl[i - 1].Key);
}

KeyedAttachment AttachByKey(const WithholdingData& saved, const ledger::TPeriodBlock& december,
                            WithholdingData& out) {
    out.Header = saved.Header;
    std::memcpy(static_cast<void*>(out.OldRecords.get()), saved.OldRecords.get(),
                std::size_t(kRecords) * sizeof(TWithholdingRecOld));
    // The first record with each Key, as the loader of last year's records finds them.
    std::unordered_map<std::string_view, int> byKey;
    for (int j = 1; j <= kRecords; ++j) {
        const std::string_view key = StoredKey(saved.Record(j));
        if (!key.empty()) byKey.try_emplace(key, j);
    }
    KeyedAttachment result;
    std::array<bool, kRecords + 1> taken{};
    for (int i = 1; i <= kRecords; ++i) {
        TWithholdingRec& rec = out.Record(i);
        const ledger::ShortString<14>& key = december.EmployeeTbl[i - 1].Key;
        auto found = key.empty() ? byKey.end() : byKey.find(key.bytes());
        if (found != byKey.end()) {
            const int j = found->second;
            rec = saved.Record(j);
            taken[std::size_t(j)] = true;
            byKey.erase(found);
            if (j != i) result.moved.push_back({j, i});
            continue;
        }
        if (key.empty() && StoredKey(saved.Record(i)).empty()) {
            rec = saved.Record(i);  // an empty slot keeps its own record
            continue;
        }
        std::memset(static_cast<void*>(&rec), 0, sizeof rec);
        if (!key.empty()) result.created.push_back(i);
    }
    // A second record with a Key already taken is left out too, so that no record
    // leaves the file unannounced.
    for (int j = 1; j <= kRecords; ++j)
        if (!taken[std::size_t(j)] && !StoredKey(saved.Record(j)).empty())
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
