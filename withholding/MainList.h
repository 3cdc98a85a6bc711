#pragma once
#include <array>
#include <set>
#include <string>
#include <vector>

// The employee list of the year-end program's main window, free of any widget:
// the text of each line, the five sort orders, and the check marks that choose
// the employees to print.
namespace ledger {
struct Ledger;
}

namespace withholding {

struct WithholdingData;

// What one line shows of an employee: the pay data's December record and the
// employee's year-end record.
struct ListEmployee {
    int slot = 0;       // 1..80
    bool used = false;  // the slot holds an employee (non-empty Key)
    std::string name;   // UTF-8
    std::string dept;
    int kind = 0;            // 1..5, 0 = the free kind text
    std::string kindText;    // the free kind text of kind 0
    int payForm = 0;         // 1 月給, 2 日給, 3 時間給
    int employeeStatus = 0;  // the pay data's 1 在職, 2 休職, 3 退職
    int status = 0;          // the year-end record's 0 未処理, 1 計算済, 2 年調対象外
    bool otsu = false;       // the year-end record's 乙欄 flag
};

// The pay forms in their list order (PayForm 1..3).
inline constexpr std::array<const char*, 3> kPayForms{"月給", "日給", "時間給"};

// The 80 slots of the loaded year: the pay data's December employees and the
// year-end records of the layout the open year uses.
std::vector<ListEmployee> ListEmployees(const ledger::Ledger& ledger, const WithholdingData& data,
                                        bool newLayout);
// Whether any of the 80 employees has a name (the input command needs one).
bool AnyEmployeeNamed(const ledger::Ledger& ledger);

// "不要" for 乙欄, else "済み", "対象外" or "未処理" by the record's status.
std::string StatusText(int status, bool otsu);
// The kind as listed: the standard name of kind 1..5, the free text for 0,
// nothing for a code outside both.
std::string KindText(const ListEmployee& e);
// The pay form's name, nothing for a code outside 1..3.
std::string PayFormText(int payForm);

// In use and 在職: shown in the window text colour, else in silver.
bool IsActive(const ListEmployee& e);
bool IsRetired(const ListEmployee& e);

// The line of an employee; columns are counted in Shift-JIS bytes, so with a
// name and department of at most 16 bytes the status starts at byte 68 and the
// slot ends the line.
std::string FormatEmployeeLine(const ListEmployee& e);
// The byte at which each column of a line starts, in the order of the list's
// header: the slot, name, department, kind, pay form and status.
inline constexpr int kLineColumns[] = {1, 5, 23, 41, 53, 67};

// Sort keys: by header section 0..4.
enum SortKey { kBySlot = 1, kByName = 2, kByKind = 3, kByPayForm = 4, kByDept = 5 };
// The sort key of a header section, or 0 for a section that does not sort.
int SortKeyOfSection(int section);

// The slots shown in the order of the key: only used slots, and of them the
// retired ones only when showRetired.
std::vector<int> SortedSlots(const std::vector<ListEmployee>& employees, int key, bool showRetired);

// Text comparison of the sorted orders: Shift-JIS bytes with ASCII letters
// compared without regard to case.
bool CollateLess(const std::string& a, const std::string& b);

struct ListLine {
    int slot = 0;
    std::string text;
    bool checked = false;
};

// The list's lines and check marks. The window mirrors it.
class EmployeeList {
public:
    // Refills the lines by the key; key < 1 keeps the current key and puts the
    // check marks back on the same line positions.
    void Fill(const std::vector<ListEmployee>& employees, int key);

    // Remembers the employees of the checked lines (mode 1) or checks exactly
    // the lines of the remembered employees (mode 2), so check marks follow the
    // employees across re-sorting.
    void SaveCheckMarks(int mode);

    // 対象社員を選択: with tag 1 checks the computed employees (those the
    // withholding slip is printed for) and sets tag 0; otherwise unchecks all
    // and sets tag 1. The caption follows.
    void AllOnOff();
    int allOnOffTag = 1;
    const char* allOnOffCaption() const {
        return allOnOffTag == 1 ? "対象社員をチェック" : "全てのチェックを解除";
    }

    bool showRetired = true;  // 退職者を表示する (hidden, checked)
    int key() const { return key_; }
    std::vector<ListLine>& lines() { return lines_; }
    const std::vector<ListLine>& lines() const { return lines_; }
    std::vector<int> checkedSlots() const;

private:
    std::vector<ListLine> lines_;
    std::vector<ListEmployee> employees_;
    std::set<int> remembered_;
    int key_ = kBySlot;
};

}  // namespace withholding
