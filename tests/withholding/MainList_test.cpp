#include <gtest/gtest.h>

#include "platform/Sjis.h"
#include "withholding/MainList.h"

namespace {
using namespace withholding;

ListEmployee employee(int slot, std::string name, std::string dept = "総務部", int kind = 2,
                      int payForm = 1, int status = 0, bool otsu = false) {
    ListEmployee e;
    e.slot = slot;
    e.used = true;
    e.name = std::move(name);
    e.dept = std::move(dept);
    e.kind = kind;
    e.payForm = payForm;
    e.employeeStatus = 1;
    e.status = status;
    e.otsu = otsu;
    return e;
}

// Byte position (0-based) of a text in the CP932 form of a line.
std::size_t bytePos(const std::string& line, const std::string& what) {
    return sjis::fromUtf8(line).find(sjis::fromUtf8(what));
}

TEST(FormatEmployeeLine, ColumnsAreCountedInShiftJisBytes) {
    const std::string line = FormatEmployeeLine(employee(3, "山田太郎", "総務部", 2, 1, 1));
    EXPECT_EQ(line, " 03  山田太郎" + std::string(10, ' ') + "総務部" + std::string(12, ' ') +
                        "一般社員" + std::string(4, ' ') + "月給" + std::string(10, ' ') + "済み" +
                        std::string(8, ' ') + "003");
    EXPECT_EQ(sjis::byteLength(line), 82u);
    EXPECT_EQ(bytePos(line, "済み"), 67u);  // character 68
    // The header's sections stand over these columns.
    const char* fields[] = {"03", "山田太郎", "総務部", "一般社員", "月給", "済み"};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(bytePos(line, fields[i]), kLineColumns[i]) << fields[i];
}

TEST(FormatEmployeeLine, StatusKindAndPayFormTexts) {
    struct Case {
        int status;
        bool otsu;
        const char* text;
    } cases[] = {{0, false, "未処理"}, {1, false, "済み"}, {2, false, "対象外"},
                 {3, false, "未処理"}, {1, true, "不要"},  {2, true, "不要"}};
    for (const auto& c : cases) EXPECT_EQ(StatusText(c.status, c.otsu), c.text) << c.status;

    ListEmployee e = employee(1, "A");
    e.kind = 0;
    e.kindText = "嘱託";
    EXPECT_EQ(KindText(e), "嘱託");
    e.kind = 5;
    EXPECT_EQ(KindText(e), "アルバイト");
    // Codes outside the lists show nothing instead of failing.
    e.kind = 9;
    e.payForm = 7;
    EXPECT_EQ(KindText(e), "");
    EXPECT_EQ(PayFormText(3), "時間給");
    EXPECT_EQ(PayFormText(7), "");
    EXPECT_EQ(sjis::byteLength(FormatEmployeeLine(e)), 82u);
}

TEST(FormatEmployeeLine, SeventeenByteNameShiftsTheStatusColumn) {
    const std::string name17 = "ABCDEFGHIJKLMNOPQ";
    const std::string line = FormatEmployeeLine(employee(4, name17, "総務部", 2, 1, 1));
    EXPECT_EQ(bytePos(line, "済み"), 68u);
}

std::vector<ListEmployee> staff() {
    std::vector<ListEmployee> v;
    v.push_back(employee(1, "suzuki", "営業部", 3, 2, 1));
    v.push_back(employee(2, "Abe", "総務部", 1, 3, 0));
    v.push_back(employee(5, "abe", "経理部", 0, 1, 1));
    v[2].kindText = "嘱託";
    v.push_back(employee(7, "Tanaka", "営業部", 2, 1, 2));
    ListEmployee empty;
    empty.slot = 3;
    v.push_back(empty);
    return v;
}

TEST(SortedSlots, EachKeyOrdersTheUsedSlots) {
    const auto v = staff();
    struct Case {
        int key;
        std::vector<int> order;
    } cases[] = {
        {kBySlot, {1, 2, 5, 7}},
        // Case does not decide: "Abe" and "abe" tie and fall back to the slot.
        {kByName, {2, 5, 1, 7}},
        {kByDept, {1, 7, 5, 2}},  // 営業部 < 経理部 < 総務部 in Shift-JIS
        {kByKind, {5, 2, 7, 1}},  // kind code first, 0 (free text) leading
        {kByPayForm, {5, 7, 1, 2}},
    };
    for (const auto& c : cases) EXPECT_EQ(SortedSlots(v, c.key, true), c.order) << c.key;
}

TEST(SortedSlots, HeaderSectionsAndRetiredEmployees) {
    EXPECT_EQ(SortKeyOfSection(0), kBySlot);
    EXPECT_EQ(SortKeyOfSection(1), kByName);
    EXPECT_EQ(SortKeyOfSection(2), kByDept);
    EXPECT_EQ(SortKeyOfSection(3), kByKind);
    EXPECT_EQ(SortKeyOfSection(4), kByPayForm);
    EXPECT_EQ(SortKeyOfSection(5), 0);

    auto v = staff();
    v[0].employeeStatus = 3;
    v[1].payForm = 0;  // a pay form outside the list is still listed, last
    EXPECT_EQ(SortedSlots(v, kByPayForm, true), (std::vector<int>{5, 7, 1, 2}));
    EXPECT_EQ(SortedSlots(v, kBySlot, false), (std::vector<int>{2, 5, 7}));
    EXPECT_FALSE(IsActive(v[0]));
    EXPECT_TRUE(IsRetired(v[0]));
    EXPECT_FALSE(IsActive(v[4]));  // empty slot
}

TEST(CollateLess, FoldsOnlySingleByteLetters) {
    EXPECT_FALSE(CollateLess("abc", "ABC"));
    EXPECT_FALSE(CollateLess("ABC", "abc"));
    EXPECT_TRUE(CollateLess("ab", "ABC"));
    EXPECT_TRUE(CollateLess("ABA", "abc"));
    // 0x83 0x61 (ア) and 0x83 0x41 (ア's neighbour) differ in the trail byte only;
    // folding it would make two different characters equal.
    EXPECT_TRUE(CollateLess("\x83\x41", "\x83\x61"));
    EXPECT_FALSE(CollateLess("\x83\x61", "\x83\x41"));
}

TEST(EmployeeList, CheckMarksFollowEmployeesAcrossSorting) {
    EmployeeList list;
    const auto v = staff();
    list.Fill(v, kBySlot);
    ASSERT_EQ(list.lines().size(), 4u);
    list.lines()[1].checked = true;  // slot 2
    list.lines()[2].checked = true;  // slot 5
    list.SaveCheckMarks(1);
    list.Fill(v, kByDept);
    list.SaveCheckMarks(2);
    EXPECT_EQ(list.checkedSlots(), (std::vector<int>{5, 2}));
    EXPECT_EQ(list.key(), kByDept);

    // A refill with the current key keeps the marks on their line positions.
    list.lines()[0].checked = true;
    list.Fill(v, 0);
    EXPECT_EQ(list.key(), kByDept);
    EXPECT_TRUE(list.lines()[0].checked);
    EXPECT_TRUE(list.lines()[2].checked);
}

TEST(EmployeeList, AllOnOffChecksTheComputedEmployeesThenNone) {
    auto v = staff();
    v[0].name = "ABCDEFGHIJKLMNOPQ";  // 17 bytes: the status column moves
    v[2].otsu = true;                 // 乙欄 counts as 不要 even when computed
    EmployeeList list;
    list.Fill(v, kBySlot);
    EXPECT_STREQ(list.allOnOffCaption(), "対象社員をチェック");
    list.AllOnOff();
    EXPECT_EQ(list.checkedSlots(), std::vector<int>{1});
    EXPECT_EQ(list.allOnOffTag, 0);
    EXPECT_STREQ(list.allOnOffCaption(), "全てのチェックを解除");
    list.AllOnOff();
    EXPECT_TRUE(list.checkedSlots().empty());
    EXPECT_EQ(list.allOnOffTag, 1);
}

}  // namespace
