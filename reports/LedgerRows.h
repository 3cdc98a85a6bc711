#pragma once
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "ledger/SysOption.h"

namespace platform {
class IniFile;
}

// The rows of the annual ledger, the monthly list and their CSV files: a fixed
// set of pay items, to which the user may add attendance items and from which
// free items may be removed (never more added than removed, so a page keeps its
// height). The choice is kept in [Option] DaichoAdd / DaichoDel.
namespace reports {

inline constexpr int kLedgerRowItems = 15;

// Item i (1..15) is at index i - 1.
// added: the attendance item at position i - 1 of the default attendance list
//   (position 14 is the empty code, whose box is never shown).
// removed: 固定手当１-３, 変動手当１-３, 固定控除１-３, 変動控除１-３, その他１-３.
struct LedgerRowFlags {
    std::array<bool, kLedgerRowItems> added{};
    std::array<bool, kLedgerRowItems> removed{};

    bool isAdded(int item) const { return item >= 1 && item <= 15 && added[item - 1]; }
    bool isRemoved(int item) const { return item >= 1 && item <= 15 && removed[item - 1]; }
    bool operator==(const LedgerRowFlags&) const = default;
};

inline constexpr std::string_view kDaichoAddKey = "DaichoAdd";
inline constexpr std::string_view kDaichoDelKey = "DaichoDel";
inline constexpr std::string_view kNoLedgerRowFlags = "000000000000000";

// Flag i is set when character i is "1"; a short text leaves the rest unset.
std::array<bool, kLedgerRowItems> LedgerRowFlagsFromText(std::string_view text);
// Fifteen characters "1"/"0".
std::string LedgerRowFlagsText(const std::array<bool, kLedgerRowItems>& flags);

// Reads [Option] DaichoAdd and DaichoDel (absent: nothing added or removed).
LedgerRowFlags LoadLedgerRowFlags(const platform::IniFile& ini);
// Writes both keys as one group. Throws platform::IoError when the file cannot
// be written.
void SaveLedgerRowFlags(platform::IniFile& ini, const LedgerRowFlags& flags);

struct LedgerRowCountsResult {
    int added = 0;
    int payment = 18;
    int deduction = 15;
    int other = 3;
    int total = 40;  // rows below the heading
    bool operator==(const LedgerRowCountsResult&) const = default;
};
LedgerRowCountsResult LedgerRowCounts(const LedgerRowFlags& flags);

// Whether a line of the CSV layout is written (line 1 is the heading; lines 2-16
// are the attendance items, the free items sit at 20-22, 31-33, 45-50, 53-55).
bool LedgerRowVisible(const LedgerRowFlags& flags, int line);

// The first field of every line after the heading, each followed by ",": the 15
// attendance labels, the 18 payment labels, 支給項目合計, the 15 deduction labels,
// 控除項目合計, 社保算定合計, the three その他 labels, 差引支給額 (55 names). A
// label left empty keeps its line as a bare ",", so names and values never
// shift against each other.
std::vector<std::string> LedgerRowNames(const ledger::SysOption& options);

// The captions of the check boxes of item i (1..15): the attendance label (empty
// for the unused position 14) and the free item's label.
std::string AddedItemCaption(int item, const ledger::SysOption& options);
std::string RemovedItemCaption(int item, const ledger::SysOption& options);

inline constexpr std::string_view kTooManyAddedRows =
    "追加する勤怠項目が多すぎます。\r追加項目数≦削除項目数にして下さい。";
inline constexpr std::string_view kResetRowsQuestion =
    "追加/削除する項目設定を初期状態に戻します。";

// Whether the choice may be stored: no more rows added than removed.
bool LedgerRowsAcceptable(const LedgerRowFlags& flags);

}  // namespace reports
