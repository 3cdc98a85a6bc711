#include "withholding/MainList.h"

#include <algorithm>
#include <cstdio>

#include "ledger/Common.h"
#include "platform/Sjis.h"
#include "withholding/WithholdingFile.h"

namespace withholding {

namespace {

// Pads to a width in Shift-JIS bytes like "%-Ns": a longer text is kept whole.
std::string padRight(const std::string& utf8, std::size_t width) {
    const std::size_t len = sjis::byteLength(utf8);
    return len >= width ? utf8 : utf8 + std::string(width - len, ' ');
}

std::string format3(const char* fmt, int value) {
    char buf[16];
    std::snprintf(buf, sizeof buf, fmt, value);
    return buf;
}

const ListEmployee* find(const std::vector<ListEmployee>& employees, int slot) {
    for (const auto& e : employees)
        if (e.slot == slot) return &e;
    return nullptr;
}

// The sort text of the hidden sorted list; the slot ends it.
std::string sortText(const ListEmployee& e, int key) {
    const std::string slot = format3("%3d", e.slot);
    switch (key) {
        case kByName:
            return sjis::fromUtf8(padRight(e.name, 19)) + slot;
        case kByDept:
            return sjis::fromUtf8(padRight(e.dept, 19)) + slot;
        default:
            return std::to_string(e.kind) + sjis::fromUtf8(padRight(KindText(e), 18)) + slot;
    }
}

}  // namespace

std::vector<ListEmployee> ListEmployees(const ledger::Ledger& ledger, const WithholdingData& data,
                                        bool newLayout) {
    std::vector<ListEmployee> v;
    for (int slot = 1; slot <= kRecords; ++slot) {
        const ledger::TEmployeeRec& emp = ledger.Employee(slot);
        ListEmployee e;
        e.slot = slot;
        e.used = !emp.Key.empty();
        e.name = emp.Name.str();
        e.dept = emp.Dept.str();
        e.kind = emp.Kind;
        e.kindText = emp.KindText.str();
        e.payForm = emp.PayForm;
        e.employeeStatus = emp.Status;
        if (newLayout) {
            e.status = data.Record(slot).Status;
            e.otsu = data.Record(slot).PersonFlags[kPersonOtsu] != 0;
        } else {
            e.status = data.OldRecord(slot).Status;
            e.otsu = data.OldRecord(slot).PersonFlags[kPersonOtsu] != 0;
        }
        v.push_back(std::move(e));
    }
    return v;
}

bool AnyEmployeeNamed(const ledger::Ledger& ledger) {
    for (int slot = 1; slot <= kRecords; ++slot)
        if (!ledger.Employee(slot).Name.empty()) return true;
    return false;
}

std::string StatusText(int status, bool otsu) {
    if (otsu) return "不要";
    if (status == 1) return "済み";
    if (status == 2) return "対象外";
    return "未処理";
}

std::string KindText(const ListEmployee& e) {
    if (e.kind == 0) return e.kindText;
    if (e.kind >= 1 && e.kind <= static_cast<int>(ledger::kEmployeeKinds.size()))
        return std::string(ledger::kEmployeeKinds[e.kind - 1]);
    return {};
}

std::string PayFormText(int payForm) {
    if (payForm < 1 || payForm > static_cast<int>(kPayForms.size())) return {};
    return kPayForms[payForm - 1];
}

bool IsActive(const ListEmployee& e) {
    return e.used && e.employeeStatus == 1;
}

bool IsRetired(const ListEmployee& e) {
    return e.used && e.employeeStatus == 3;
}

std::string FormatEmployeeLine(const ListEmployee& e) {
    return format3(" %.2d  ", e.slot) + padRight(e.name, 16) + "  " + padRight(e.dept, 16) + "  " +
           padRight(KindText(e), 10) + "  " + padRight(PayFormText(e.payForm), 6) +
           std::string(8, ' ') + padRight(StatusText(e.status, e.otsu), 10) + "  " +
           format3("%.3d", e.slot);
}

int SortKeyOfSection(int section) {
    static constexpr int keys[] = {kBySlot, kByName, kByDept, kByKind, kByPayForm};
    return section >= 0 && section < 5 ? keys[section] : 0;
}

bool CollateLess(const std::string& a, const std::string& b) {
    const auto fold = [](unsigned char c) {
        return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 'a' + 'A') : c;
    };
    // Byte-wise: a trail byte in the letter range is never folded, since only
    // lead-or-single positions are.
    std::size_t i = 0;
    bool trail = false;
    for (; i < a.size() && i < b.size(); ++i) {
        unsigned char x = a[i], y = b[i];
        if (!trail) {
            x = fold(x);
            y = fold(y);
        }
        if (x != y) return x < y;
        trail = !trail && sjis::isLead(static_cast<unsigned char>(a[i]));
    }
    return a.size() - i < b.size() - i;
}

std::vector<int> SortedSlots(const std::vector<ListEmployee>& employees, int key,
                             bool showRetired) {
    std::vector<const ListEmployee*> shown;
    for (const auto& e : employees)
        if (e.used && (showRetired || !IsRetired(e))) shown.push_back(&e);
    std::sort(shown.begin(), shown.end(),
              [](const ListEmployee* a, const ListEmployee* b) { return a->slot < b->slot; });
    std::vector<int> slots;
    if (key == kByPayForm) {
        for (int form = 1; form <= static_cast<int>(kPayForms.size()); ++form)
            for (const auto* e : shown)
                if (e->payForm == form) slots.push_back(e->slot);
        // A pay form outside the list would otherwise drop the employee.
        for (const auto* e : shown)
            if (PayFormText(e->payForm).empty()) slots.push_back(e->slot);
        return slots;
    }
    if (key == kByName || key == kByDept || key == kByKind) {
        std::vector<std::pair<std::string, int>> texts;
        for (const auto* e : shown) texts.emplace_back(sortText(*e, key), e->slot);
        std::stable_sort(texts.begin(), texts.end(), [](const auto& a, const auto& b) {
            return CollateLess(a.first, b.first);
        });
        for (const auto& t : texts) slots.push_back(t.second);
        return slots;
    }
    for (const auto* e : shown) slots.push_back(e->slot);
    return slots;
}

void EmployeeList::Fill(const std::vector<ListEmployee>& employees, int key) {
    std::vector<bool> marks;
    if (key < 1) {
        key = key_;
        for (const auto& l : lines_) marks.push_back(l.checked);
    }
    employees_ = employees;
    lines_.clear();
    for (int slot : SortedSlots(employees_, key, showRetired)) {
        const ListEmployee* e = find(employees_, slot);
        ListLine line{slot, FormatEmployeeLine(*e), false};
        if (lines_.size() < marks.size()) line.checked = marks[lines_.size()];
        lines_.push_back(std::move(line));
    }
    key_ = key;
}

void EmployeeList::SaveCheckMarks(int mode) {
    if (mode == 1) {
        remembered_.clear();
        for (const auto& l : lines_)
            if (l.checked) remembered_.insert(l.slot);
        return;
    }
    for (auto& l : lines_) l.checked = remembered_.count(l.slot) > 0;
}

void EmployeeList::AllOnOff() {
    if (allOnOffTag == 1) {
        // Decided by the record, not by the status column of the line text: a
        // name or department of 17 bytes moves that column.
        for (auto& l : lines_) {
            const ListEmployee* e = find(employees_, l.slot);
            l.checked = e && !e->otsu && e->status == 1;
        }
        allOnOffTag = 0;
    } else {
        for (auto& l : lines_) l.checked = false;
        allOnOffTag = 1;
    }
}

std::vector<int> EmployeeList::checkedSlots() const {
    std::vector<int> slots;
    for (const auto& l : lines_)
        if (l.checked) slots.push_back(l.slot);
    return slots;
}

}  // namespace withholding
