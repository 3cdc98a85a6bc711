#pragma once
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// The employee list without a window: the fixed-width row of a slot, the eight
// orders, the buttons' rules, and deleting an employee with the shift of the later
// slots. Printing reads the slot and the name of a chosen employee back from the
// row's fixed byte positions, so the row layout must not change.
namespace ledger {

struct Ledger;

// Byte length of a row and where printing reads it (1-based, inclusive).
inline constexpr std::size_t kEmployeeRowBytes = 84;

// The orders of the column headings, 1..8.
enum EmployeeListOrder {
    kOrderSlot = 1,
    kOrderName = 2,
    kOrderKind = 3,
    kOrderPayForm = 4,
    kOrderStatus = 5,
    kOrderBirth = 6,
    kOrderDept = 7,
    kOrderDependants = 8,
};

inline constexpr std::string_view kNoRowChosen = "データが未選択です。";
inline constexpr std::string_view kNothingToPrint = "印刷対象が選択されていません。";
inline constexpr std::string_view kDeleteWithholdingWarning =
    "今年の源泉徴収データが作成されているため、\r社員削除を行うと源泉徴収データにずれが生じます。"
    "\r（社員削除ではなく、就業形態を退職にする事を推奨）\r\rこのまま社員削除を続行しますか？";

// Whether the slot (1..80) holds an employee: a non-empty Key.
bool IsUsedSlot(const Ledger& ledger, int slot);
int UsedSlotCount(const Ledger& ledger);

// The row of a slot in CP932, 84 bytes unless a name or department longer than 16
// bytes (only from old data) pushes the columns right:
//   1-3 slot "%3d", 6-21 name, 24-33 kind, 36-41 pay type, 44-47 status,
//   50-58 birth date "S45/03/07", 61-76 department, 79-81 dependants "%3d".
std::string EmployeeRow(const Ledger& ledger, int slot);

// The slot of a row: its bytes 1-3 as an integer, 0 when they are none.
int RowSlot(std::string_view row);
// The name of a row: bytes 6-21 without the padding.
std::string RowName(std::string_view row);

// The used slots in one of the orders 1..8 (another order gives slot order).
// Orders 2, 3 and 7 sort by the name, the kind or the department without regard
// to ASCII case, ties by slot. An employee whose pay type, status, birth date or
// dependants lies outside the values its order walks comes last, in slot order,
// rather than vanishing from the list.
std::vector<int> EmployeeListSlots(const Ledger& ledger, int order);

// "登録削除" needs an employee; "新規作成" a free slot.
bool CanDeleteEmployee(const Ledger& ledger);
bool CanAddEmployee(const Ledger& ledger);

// The year-end program's withholding file of the open year in the data folder;
// deleting an employee while it exists shifts that program's records.
std::filesystem::path WithholdingFileOfOpenYear(const Ledger& ledger);

// "下記社員の登録情報を削除しますか？" with the department (when there is one) and the
// name of the slot.
std::string DeleteEmployeeQuestion(const Ledger& ledger, int slot);

// Removes the employee of the slot from the open period: every later slot moves
// down one place in the employee, attendance, payment and deduction tables (whole
// records) and slot 80 becomes all zero. A slot outside 1..80 changes nothing.
void DeleteEmployee(Ledger& ledger, int slot);

}  // namespace ledger
