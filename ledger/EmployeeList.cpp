#include "ledger/EmployeeList.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <type_traits>

#include "ledger/Common.h"
#include "ledger/EmployeeEdit.h"
#include "ledger/Ledger.h"
#include "platform/Sjis.h"

namespace ledger {
namespace {

bool validSlot(int slot) {
    return slot >= 1 && slot <= kSlots;
}

// Left-aligned in a field of at least `width` bytes, as "%-Ns" did: never cut.
std::string padRight(std::string_view cp932, std::size_t width) {
    std::string s(cp932);
    if (s.size() < width) s.append(width - s.size(), ' ');
    return s;
}

std::string number3(int v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%3d", v);
    return buf;
}

// A fixed text of the program as CP932.
std::string cp932(std::string_view utf8) {
    return sjis::fromUtf8(utf8);
}

// Item value - 1 of the editor's list; a value outside the list shows as nothing.
std::string listText(const std::array<std::string_view, 3>& list, int value) {
    if (value < 1 || value > int(list.size())) return {};
    return cp932(list[std::size_t(value - 1)]);
}

std::string datePart(int v) {
    if (v == 0) return "  ";
    char buf[16];
    std::snprintf(buf, sizeof buf, "%.2d", v);
    return buf;
}

std::string birthText(const TEmployeeRec& e) {
    static constexpr char kEraLetters[] = {' ', 'M', 'T', 'S', 'H'};
    const char era = e.BirthEra < sizeof kEraLetters ? kEraLetters[e.BirthEra] : ' ';
    return std::string(1, era) + datePart(e.BirthYear) + "/" + datePart(e.BirthMonth) + "/" +
           datePart(e.BirthDay);
}

std::string kindBytes(const Ledger& ledger, int slot) {
    const TEmployeeRec& e = ledger.Employee(slot);
    // A kind typed freely is shown as stored, even when its bytes are damaged.
    if (e.Kind < 1 || e.Kind > kEmployeeKinds.size()) return std::string(e.KindText.bytes());
    return cp932(EmployeeKindText(ledger, slot));
}

// Bytes from..to (1-based, inclusive) of a row, as far as the row reaches.
std::string bytesOf(std::string_view row, std::size_t from, std::size_t to) {
    if (from > row.size()) return {};
    to = std::min(to, row.size());
    return std::string(row.substr(from - 1, to - from + 1));
}

// The sort key of orders 2, 3 and 7: the sorted field, then the slot number, then
// the rest of the row, so equal fields fall back to slot order.
std::string sortKey(std::string_view row, int order) {
    switch (order) {
        case kOrderName:
            return bytesOf(row, 6, 23) + bytesOf(row, 1, 5) + bytesOf(row, 24, row.size());
        case kOrderKind:
            return bytesOf(row, 24, 35) + bytesOf(row, 2, 23) + bytesOf(row, 36, row.size());
        default:
            return bytesOf(row, 61, 78) + bytesOf(row, 2, 59) + bytesOf(row, 79, 83);
    }
}

// Byte order of CP932 with single-byte ASCII letters folded to upper case; the
// second byte of a double-byte character is never folded, or two different
// characters would compare equal.
bool lessIgnoringAsciiCase(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    bool trail = false;
    for (; i < a.size() && i < b.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (!trail) {
            if (x >= 'a' && x <= 'z') x = static_cast<unsigned char>(x - 32);
            if (y >= 'a' && y <= 'z') y = static_cast<unsigned char>(y - 32);
        }
        if (x != y) return x < y;
        // Both texts agree up to here, so they agree on what the next byte is.
        trail = !trail && sjis::isLead(static_cast<unsigned char>(a[i]));
    }
    return a.size() - i < b.size() - i;
}

// Orders that walk the values of a field: the used slots whose value is in the
// walked range, by value and then slot; the others after them, in slot order.
template <typename Value>
std::vector<int> byWalkedValue(const std::vector<int>& used, Value value, bool (*walked)(int64_t)) {
    std::vector<int> inRange, outside;
    for (int s : used) (walked(value(s)) ? inRange : outside).push_back(s);
    std::stable_sort(inRange.begin(), inRange.end(),
                     [&](int a, int b) { return value(a) < value(b); });
    inRange.insert(inRange.end(), outside.begin(), outside.end());
    return inRange;
}

}  // namespace

bool IsUsedSlot(const Ledger& ledger, int slot) {
    return validSlot(slot) && !ledger.Employee(slot).Key.empty();
}

int UsedSlotCount(const Ledger& ledger) {
    int n = 0;
    for (int s = 1; s <= kSlots; ++s) n += IsUsedSlot(ledger, s) ? 1 : 0;
    return n;
}

std::string EmployeeRow(const Ledger& ledger, int slot) {
    if (!validSlot(slot)) return {};
    const TEmployeeRec& e = ledger.Employee(slot);
    const std::string gap = "  ";
    return number3(slot) + gap + padRight(e.Name.bytes(), 16) + gap +
           padRight(kindBytes(ledger, slot), 10) + gap +
           padRight(listText(kPayForms, e.PayForm), 6) + gap +
           padRight(listText(kWorkStatuses, e.Status), 4) + gap + birthText(e) + gap +
           padRight(e.Dept.bytes(), 16) + gap + number3(e.Dependants) + "   ";
}

int RowSlot(std::string_view row) {
    int v = 0;
    bool any = false;
    for (char c : row.substr(0, 3)) {
        if (c == ' ' && !any) continue;
        if (c < '0' || c > '9') break;
        v = v * 10 + (c - '0');
        any = true;
    }
    return v;
}

std::string RowName(std::string_view row) {
    std::string name = bytesOf(row, 6, 21);
    while (!name.empty() && name.back() == ' ') name.pop_back();
    return name;
}

std::vector<int> EmployeeListSlots(const Ledger& ledger, int order) {
    std::vector<int> used;
    for (int s = 1; s <= kSlots; ++s)
        if (IsUsedSlot(ledger, s)) used.push_back(s);
    auto emp = [&](int s) -> const TEmployeeRec& { return ledger.Employee(s); };

    switch (order) {
        case kOrderName:
        case kOrderKind:
        case kOrderDept: {
            std::vector<std::pair<std::string, int>> keyed;
            for (int s : used) keyed.emplace_back(sortKey(EmployeeRow(ledger, s), order), s);
            std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
                return lessIgnoringAsciiCase(a.first, b.first);
            });
            std::vector<int> out;
            for (const auto& k : keyed) out.push_back(k.second);
            return out;
        }
        case kOrderPayForm:
            return byWalkedValue(
                used, [&](int s) { return int64_t(emp(s).PayForm); },
                [](int64_t v) { return v >= 1 && v <= int64_t(kPayForms.size()); });
        case kOrderStatus:
            return byWalkedValue(
                used, [&](int s) { return int64_t(emp(s).Status); },
                [](int64_t v) { return v >= 1 && v <= int64_t(kWorkStatuses.size()); });
        case kOrderBirth:
            // era 0..4, year 0..64, month 0..12, day 0..31, packed into one number.
            return byWalkedValue(
                used,
                [&](int s) {
                    const TEmployeeRec& e = emp(s);
                    const bool inRange = e.BirthEra <= 4 && e.BirthYear <= 64 &&
                                         e.BirthMonth <= 12 && e.BirthDay <= 31;
                    if (!inRange) return int64_t(-1);
                    return int64_t(e.BirthEra) * 1000000 + int64_t(e.BirthYear) * 10000 +
                           int64_t(e.BirthMonth) * 100 + int64_t(e.BirthDay);
                },
                [](int64_t v) { return v >= 0; });
        case kOrderDependants:
            return byWalkedValue(
                used, [&](int s) { return int64_t(emp(s).Dependants); },
                [](int64_t v) { return v >= 0 && v <= 99; });
        default:
            return used;
    }
}

bool CanDeleteEmployee(const Ledger& ledger) {
    return UsedSlotCount(ledger) > 0;
}

bool CanAddEmployee(const Ledger& ledger) {
    return UsedSlotCount(ledger) < kSlots;
}

std::filesystem::path WithholdingFileOfOpenYear(const Ledger& ledger) {
    return ledger.dataPath /
           ("源泉徴収(" + ledger.CurData.Era + std::to_string(ledger.CurData.Year) + "年).dat");
}

std::string DeleteEmployeeQuestion(const Ledger& ledger, int slot) {
    if (!validSlot(slot)) return {};
    const TEmployeeRec& e = ledger.Employee(slot);
    const std::string dept = e.Dept.str();
    const bool noDept = dept.find_first_not_of(" \t") == std::string::npos;
    const std::string d = noDept ? std::string() : " " + dept + " ";
    return "下記社員の登録情報を削除しますか？\r\r【" + d + " " + e.Name.str() + " 】";
}

void DeleteEmployee(Ledger& ledger, int slot) {
    if (!validSlot(slot)) return;
    TPeriodBlock& b = *ledger.block;
    auto shift = [&](auto& table) {
        using Rec = std::remove_reference_t<decltype(table[0])>;
        std::memmove(static_cast<void*>(&table[slot - 1]), static_cast<const void*>(&table[slot]),
                     sizeof(Rec) * std::size_t(kSlots - slot));
        std::memset(static_cast<void*>(&table[kSlots - 1]), 0, sizeof(Rec));
    };
    shift(b.EmployeeTbl);
    shift(b.AttendanceTbl);
    shift(b.PaymentTbl);
    shift(b.DeductionTbl);
    // The bonus-tax mark belongs to the employee, so it moves with the records.
    std::move(ledger.BonusTaxOk.begin() + slot, ledger.BonusTaxOk.end(),
              ledger.BonusTaxOk.begin() + (slot - 1));
    ledger.BonusTaxOk[kSlots - 1] = false;
}

}  // namespace ledger
