#include "ledger/EmployeeList.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "ledger/Ledger.h"
#include "platform/Sjis.h"
#include "support/TempDir.h"

namespace {
using namespace ledger;
using testing_support::TempDir;
using testing_support::writeText;

struct Emp {
    const char* name;
    int kind = 2;
    int payForm = 1;
    int status = 1;
    int era = 0, year = 0, month = 0, day = 0;
    const char* dept = "";
    int dependants = 0;
};

class EmployeeListTest : public ::testing::Test {
protected:
    FixedClock clock{{2026, 4, 1, 9, 0, 0}};
    Ledger ledger{clock};

    void put(int slot, const Emp& e) {
        TEmployeeRec& r = ledger.Employee(slot);
        r.Key.set("260401_0900" + std::to_string(slot % 10));
        r.Name.set(e.name);
        r.Kind = std::uint8_t(e.kind);
        r.PayForm = std::uint8_t(e.payForm);
        r.Status = std::uint8_t(e.status);
        r.BirthEra = std::uint8_t(e.era);
        r.BirthYear = std::uint8_t(e.year);
        r.BirthMonth = std::uint8_t(e.month);
        r.BirthDay = std::uint8_t(e.day);
        r.Dept.set(e.dept);
        r.Dependants = e.dependants;
    }
    std::string row(int slot) { return sjis::toUtf8(EmployeeRow(ledger, slot)); }
};

TEST_F(EmployeeListTest, RowHoldsEveryColumnAtItsFixedBytePosition) {
    put(7, {"山田太郎", 2, 1, 1, 3, 45, 3, 7, "総務部", 2});
    put(12, {"ｻﾄｳ", 4, 3, 2, 0, 0, 0, 0, "", 0});
    const std::string r7 = EmployeeRow(ledger, 7);
    const std::string r12 = EmployeeRow(ledger, 12);
    EXPECT_EQ(r7.size(), kEmployeeRowBytes);
    EXPECT_EQ(r12.size(), kEmployeeRowBytes);
    EXPECT_EQ(
        row(7),
        "  7  山田太郎          一般社員    月給    在職  S45/03/07  総務部              2   ");
    EXPECT_EQ(
        row(12),
        " 12  ｻﾄｳ               パート      時間給  休職     /  /                        0   ");
    EXPECT_EQ(r12.substr(49, 9), "   /  /  ");
}

TEST_F(EmployeeListTest, SlotAndNameReadBackFromTheRow) {
    put(7, {"山田太郎"});
    put(80, {"ｽｽﾞｷ ｲﾁﾛｳ"});
    for (int slot : {7, 80}) {
        const std::string r = EmployeeRow(ledger, slot);
        EXPECT_EQ(RowSlot(r), slot);
        EXPECT_EQ(RowSlot(r.substr(1)), slot) << "bytes 2-3 alone";
        EXPECT_EQ(sjis::toUtf8(RowName(r)), ledger.Employee(slot).Name.str());
    }
}

TEST_F(EmployeeListTest, OddValuesKeepTheColumnsInPlace) {
    // A free-text kind, a pay type and status outside the lists, a 令和 birth year.
    put(1, {"A", 0, 0, 9, 5, 3, 12, 31, "営業", 3});
    ledger.Employee(1).KindText.set("嘱託");
    const std::string expected = std::string("  1  ") + "A" + std::string(15, ' ') + "  " + "嘱託" +
                                 std::string(6, ' ') + "  " + std::string(6, ' ') + "  " +
                                 std::string(4, ' ') + "  " + " 03/12/31" + "  " + "営業" +
                                 std::string(12, ' ') + "  " + "  3" + "   ";
    EXPECT_EQ(row(1), expected);
    EXPECT_EQ(EmployeeRow(ledger, 1).size(), kEmployeeRowBytes);
}

TEST_F(EmployeeListTest, OrdersThatWalkAFieldGroupByItsValueThenSlot) {
    put(1, {"a", 2, 3, 1, 4, 2, 5, 10});
    put(2, {"b", 2, 1, 3});
    put(3, {"c", 2, 2, 2, 3, 60, 1, 1});
    put(4, {"d", 2, 1, 1, 3, 45, 12, 31});
    put(5, {"e", 2, 3, 3, 2, 14, 4, 1});
    ledger.Employee(1).Dependants = 2;
    ledger.Employee(3).Dependants = 0;
    ledger.Employee(4).Dependants = 2;
    ledger.Employee(5).Dependants = 1;
    struct Case {
        int order;
        std::vector<int> slots;
    };
    const Case cases[] = {
        {kOrderSlot, {1, 2, 3, 4, 5}},
        {kOrderPayForm, {2, 4, 3, 1, 5}},
        {kOrderStatus, {1, 4, 3, 2, 5}},
        // No birth date first, then 大正, 昭和 by year, 平成.
        {kOrderBirth, {2, 5, 4, 3, 1}},
        {kOrderDependants, {2, 3, 5, 1, 4}},
        {0, {1, 2, 3, 4, 5}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EmployeeListSlots(ledger, c.order), c.slots) << "order " << c.order;
}

TEST_F(EmployeeListTest, EmployeesOutsideTheWalkedValuesComeLastInsteadOfVanishing) {
    put(1, {"a", 2, 0, 0, 4, 70, 1, 1, "", 150});
    put(2, {"b", 2, 2, 1, 3, 1, 1, 1, "", 1});
    for (int order : {kOrderPayForm, kOrderStatus, kOrderBirth, kOrderDependants})
        EXPECT_EQ(EmployeeListSlots(ledger, order), (std::vector<int>{2, 1})) << order;
}

TEST_F(EmployeeListTest, TextOrdersIgnoreAsciiCaseAndFallBackToSlotOrder) {
    put(3, {"sato", 2, 1, 1, 0, 0, 0, 0, "営業"});
    put(5, {"Abe", 1, 1, 1, 0, 0, 0, 0, "総務"});
    put(9, {"SATO", 2, 1, 1, 0, 0, 0, 0, "営業"});
    put(11, {"abe", 4, 1, 1, 0, 0, 0, 0, ""});
    put(20, {"伊藤", 2, 1, 1, 0, 0, 0, 0, "営業"});
    EXPECT_EQ(EmployeeListSlots(ledger, kOrderName), (std::vector<int>{5, 11, 3, 9, 20}));
    // パート (83 70) before 一般社員 (88 EA) before 役員 (96 F0) in CP932 byte order.
    EXPECT_EQ(EmployeeListSlots(ledger, kOrderKind), (std::vector<int>{11, 3, 9, 20, 5}));
    // An empty department sorts first; equal ones keep slot order.
    EXPECT_EQ(EmployeeListSlots(ledger, kOrderDept), (std::vector<int>{11, 3, 9, 20, 5}));
}

TEST_F(EmployeeListTest, CaseFoldingNeverTouchesTheSecondByteOfAKanji) {
    // "ア" is 83 41 and "ヂ" is 83 61: folding the trail byte 0x61 ('a') would make
    // them equal, and the tie would put slot 1 first.
    put(1, {"ヂ"});
    put(2, {"ア"});
    EXPECT_EQ(EmployeeListSlots(ledger, kOrderName), (std::vector<int>{2, 1}));
}

TEST_F(EmployeeListTest, ButtonsFollowTheNumberOfUsedSlots) {
    EXPECT_FALSE(CanDeleteEmployee(ledger));
    EXPECT_TRUE(CanAddEmployee(ledger));
    for (int s = 1; s <= 79; ++s) put(s, {"x"});
    EXPECT_TRUE(CanAddEmployee(ledger));
    put(80, {"x"});
    EXPECT_EQ(UsedSlotCount(ledger), 80);
    EXPECT_FALSE(CanAddEmployee(ledger));
    EXPECT_TRUE(CanDeleteEmployee(ledger));
}

TEST_F(EmployeeListTest, DeleteQuestionNamesDepartmentOnlyWhenThereIsOne) {
    put(3, {"山田太郎", 2, 1, 1, 0, 0, 0, 0, "総務部"});
    put(4, {"佐藤花子", 2, 1, 1, 0, 0, 0, 0, "  "});
    EXPECT_EQ(DeleteEmployeeQuestion(ledger, 3),
              "下記社員の登録情報を削除しますか？\r\r【 総務部  山田太郎 】");
    EXPECT_EQ(DeleteEmployeeQuestion(ledger, 4),
              "下記社員の登録情報を削除しますか？\r\r【 佐藤花子 】");
}

TEST_F(EmployeeListTest, WithholdingFileOfTheOpenYear) {
    ledger.dataPath = "/data";
    ledger.CurData.Era = "令和";
    ledger.CurData.Year = 6;
    EXPECT_EQ(WithholdingFileOfOpenYear(ledger),
              std::filesystem::path("/data/源泉徴収(令和6年).dat"));
}

// Fills every byte of the slot's four records with a value of its own, so a test
// sees whole records move and nothing else change.
void mark(Ledger& l, int slot, unsigned char v) {
    std::memset(static_cast<void*>(&l.Employee(slot)), v, sizeof(TEmployeeRec));
    std::memset(static_cast<void*>(&l.Attendance(slot)), v, sizeof(TAttendanceRec));
    std::memset(static_cast<void*>(&l.Payment(slot)), v, sizeof(TPaymentRec));
    std::memset(static_cast<void*>(&l.Deduction(slot)), v, sizeof(TDeductionRec));
}

bool holds(const Ledger& l, int slot, unsigned char v) {
    auto all = [v](const void* p, std::size_t n) {
        const auto* b = static_cast<const unsigned char*>(p);
        for (std::size_t i = 0; i < n; ++i)
            if (b[i] != v) return false;
        return true;
    };
    return all(&l.Employee(slot), sizeof(TEmployeeRec)) &&
           all(&l.Attendance(slot), sizeof(TAttendanceRec)) &&
           all(&l.Payment(slot), sizeof(TPaymentRec)) &&
           all(&l.Deduction(slot), sizeof(TDeductionRec));
}

TEST_F(EmployeeListTest, DeleteMovesLaterSlotsDownInAllFourTables) {
    for (int s = 1; s <= 5; ++s) mark(ledger, s, std::uint8_t(s));
    const std::string basicBefore(reinterpret_cast<const char*>(&ledger.BasicInfo()),
                                  sizeof(TBasicInfo));
    ledger.BonusTaxOk[3] = true;  // slot 4
    DeleteEmployee(ledger, 3);
    EXPECT_TRUE(holds(ledger, 1, 1));
    EXPECT_TRUE(holds(ledger, 2, 2));
    EXPECT_TRUE(holds(ledger, 3, 4));
    EXPECT_TRUE(holds(ledger, 4, 5));
    EXPECT_TRUE(holds(ledger, 5, 0));
    EXPECT_TRUE(holds(ledger, 80, 0));
    EXPECT_TRUE(ledger.BonusTaxOk[2]);
    EXPECT_FALSE(ledger.BonusTaxOk[3]);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&ledger.BasicInfo()), sizeof(TBasicInfo)),
              basicBefore);
}

TEST_F(EmployeeListTest, DeleteOfTheLastSlotOnlyZeroesItAndABadSlotChangesNothing) {
    mark(ledger, 79, 0x79);
    mark(ledger, 80, 0x80);
    DeleteEmployee(ledger, 80);
    EXPECT_TRUE(holds(ledger, 79, 0x79));
    EXPECT_TRUE(holds(ledger, 80, 0));
    mark(ledger, 1, 1);
    DeleteEmployee(ledger, 0);
    DeleteEmployee(ledger, 81);
    EXPECT_TRUE(holds(ledger, 1, 1));
    EXPECT_TRUE(holds(ledger, 79, 0x79));
}

}  // namespace
