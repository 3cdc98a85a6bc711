#include "ledger/EmployeeEdit.h"

#include <gtest/gtest.h>

#include <cstring>

#include "ledger/Common.h"
#include "platform/Errors.h"
#include "platform/Sjis.h"
#include "support/TempDir.h"

namespace ledger {
namespace {

using testing_support::readBytes;
using testing_support::TempDir;
using testing_support::writeText;

unsigned char* raw(TEmployeeRec& r) {
    return reinterpret_cast<unsigned char*>(&r);
}

TEmployeeRec zeroRec() {
    TEmployeeRec r;
    std::memset(static_cast<void*>(&r), 0, sizeof r);
    return r;
}

// A form that passes every check.
EmployeeForm validForm() {
    EmployeeForm f;
    f.name = "山田 太郎";
    f.kindText = "一般社員";
    f.payFormIndex = 0;
    f.statusIndex = 0;
    return f;
}

class EmployeeEditTest : public testing::Test {
protected:
    EmployeeEditTest() : clock({2024, 4, 1, 9, 5, 7}), ledger(clock) {}

    // Puts an employee with a key and a code into a slot.
    void use(int slot, const std::string& key, const std::string& code = "") {
        TEmployeeRec& e = ledger.Employee(slot);
        e.Key.set(key);
        e.Code.set(code);
        e.Name.set("社員");
    }

    FixedClock clock;
    Ledger ledger;
};

TEST_F(EmployeeEditTest, NewRecordGetsTheCreationKeyAndZeroedReservedAreas) {
    TEmployeeRec start = zeroRec();
    std::memset(raw(start) + 15, 0xAA, sizeof start - 15);  // garbage behind an empty key
    start.Key.len = 0;
    EmployeeForm f = validForm();
    f.name = "  山田  ";
    f.birthEraIndex = 2;  // 昭和, month and day without a year
    f.birthMonth = " 3";
    f.birthDay = " 7";
    TEmployeeRec r = StoreEmployee(f, start, 0, UniqueEmployeeKey(ledger, clock));

    EXPECT_EQ(r.Key.len, 13);
    EXPECT_EQ(r.Key.bytes(), "240401_090507");
    EXPECT_EQ(r.Name.bytes(), sjis::fromUtf8("山田"));
    for (int i = 176; i < 196; ++i) EXPECT_EQ(raw(r)[i], 0) << i;
    for (int i = 532; i < 700; ++i) EXPECT_EQ(raw(r)[i], 0) << i;
    // A birth date without a year is no birth date.
    EXPECT_EQ(raw(r)[77], 0);
    EXPECT_EQ(raw(r)[78], 0);
    EXPECT_EQ(raw(r)[79], 0);
    EXPECT_EQ(raw(r)[80], 0);
    // The memo of a new record starts empty too.
    EXPECT_EQ(r.Memo.len, 0);
}

TEST_F(EmployeeEditTest, ExistingRecordKeepsKeyMemoAndUnnamedBytes) {
    TEmployeeRec start = zeroRec();
    start.Key.set("200101_120000");
    start.Memo.set("前職：株式会社サンプル");
    start.Reserved1[0] = 7;
    start.Reserved2[3] = 9;     // zeroed by the store
    start.Reserved10[100] = 5;  // zeroed too
    EmployeeForm f = FormFromRecord(start);
    f.name = "佐藤";
    TEmployeeRec r = StoreEmployee(f, start, 12, "999999_999999");
    EXPECT_EQ(r.Key.bytes(), "200101_120000");
    EXPECT_EQ(r.Memo.str(), "前職：株式会社サンプル");
    EXPECT_EQ(r.Reserved1[0], 7);
    EXPECT_EQ(r.Reserved2[3], 0);
    EXPECT_EQ(r.Reserved10[100], 0);
    EXPECT_EQ(r.HealthGrade, 12);
}

TEST_F(EmployeeEditTest, FormShowsAndStoresEveryFieldBackUnchanged) {
    TEmployeeRec rec = zeroRec();
    rec.Key.set("240401_090507");
    rec.Code.set("A01");
    rec.Name.set("山田 太郎");
    rec.Kana.set("ﾔﾏﾀﾞ ﾀﾛｳ");
    rec.Dept.set("総務部");
    rec.BirthEra = 3;
    rec.BirthYear = 55;
    rec.BirthMonth = 3;
    rec.BirthDay = 7;
    rec.Kind = 3;
    rec.PayForm = 2;
    rec.Status = 2;
    rec.TaxColumn = 1;
    rec.Dependants = 2;
    rec.TaxDependants = 1;
    rec.BasePay = 123456;
    rec.ResidentTax = 12000;
    rec.FixedDeduction[2] = 3000;
    rec.TransferFee = 330;
    rec.HealthInsured = rec.CareInsured = rec.PensionInsured = 1;
    rec.HealthPremium = 9975;
    rec.BankName.set("みずほ銀行");
    rec.BankKana.set("ﾐｽﾞﾎ");
    rec.AccountType = 2;
    rec.AccountNo.set("1234567");
    rec.MyNumber = 12345678901;
    NormaliseKindText(rec);

    EmployeeForm f = FormFromRecord(rec);
    EXPECT_EQ(f.amounts[kAmBasePay], "  123,456");
    EXPECT_EQ(f.amounts[kAmResidentTax], " 12,000");
    EXPECT_EQ(f.amounts[kAmTransferFee], "  330");
    EXPECT_EQ(f.dependants, " 2");
    EXPECT_EQ(f.birthYear, "55");
    EXPECT_EQ(f.birthMonth, " 3");
    EXPECT_EQ(f.myNumber, "012345678901");
    EXPECT_EQ(f.kindText, "臨時社員");
    EXPECT_EQ(f.birthEraIndex, 2);
    EXPECT_EQ(f.accountType, 2);

    // An untouched form stores the very same bytes: moving on is allowed.
    TEmployeeRec back = StoreEmployee(f, rec, 0, "x");
    EXPECT_FALSE(RecordsDiffer(back, rec));
}

TEST_F(EmployeeEditTest, MovingOnIsRefusedWhenTheStoreNormalisesTheRecord) {
    TEmployeeRec rec = zeroRec();
    rec.Key.set("240401_090507");
    rec.Name.set("山田");
    rec.Kind = 2;
    NormaliseKindText(rec);
    TEmployeeRec reserved = rec;
    reserved.Reserved2[4] = 1;  // byte 180
    TEmployeeRec eraOnly = rec;
    eraOnly.BirthEra = 3;  // an era without a year
    for (const TEmployeeRec& orig : {reserved, eraOnly})
        EXPECT_TRUE(RecordsDiffer(StoreEmployee(FormFromRecord(orig), orig, 0, "x"), orig));
}

TEST_F(EmployeeEditTest, KindFromListOrTypedFreely) {
    TEmployeeRec start = zeroRec();
    start.Key.set("240401_090507");
    EmployeeForm f = validForm();
    f.kindText = "臨時社員";
    TEmployeeRec r = StoreEmployee(f, start, 0, "");
    EXPECT_EQ(r.Kind, 3);
    EXPECT_EQ(r.KindText.len, 8);
    f.kindText = "嘱託";
    ledger.Employee(1) = StoreEmployee(f, start, 0, "");
    EXPECT_EQ(ledger.Employee(1).Kind, 0);
    EXPECT_EQ(EmployeeKindText(ledger, 1), "嘱託");

    // A stored kind from the list shows the list's text, whatever KindText held.
    TEmployeeRec old = zeroRec();
    old.Kind = 1;
    old.KindText.set("旧名称");
    NormaliseKindText(old);
    EXPECT_EQ(FormFromRecord(old).kindText, "役員");
}

TEST_F(EmployeeEditTest, MyNumberRoundTrip) {
    TEmployeeRec start = zeroRec();
    start.Key.set("k");
    EmployeeForm f = validForm();
    f.myNumber = "012345678901";
    TEmployeeRec r = StoreEmployee(f, start, 0, "");
    // The packed member is compared through a copy: no reference may point at it.
    EXPECT_EQ(std::int64_t{r.MyNumber}, 12345678901);
    EXPECT_EQ(FormFromRecord(r).myNumber, "012345678901");
    f.myNumber = "";
    r = StoreEmployee(f, start, 0, "");
    EXPECT_EQ(std::int64_t{r.MyNumber}, 0);
    EXPECT_EQ(FormFromRecord(r).myNumber, "");
}

TEST_F(EmployeeEditTest, OkChecksInOrderWithTheirTexts) {
    use(1, "200101_000001", "A01");
    struct Case {
        const char* what;
        EmployeeForm form;
        EmployeeField field;
        const char* message;
    };
    auto form = [](auto change) {
        EmployeeForm f = validForm();
        change(f);
        return f;
    };
    const Case cases[] = {
        {"empty name wins over a bad number",
         form([](EmployeeForm& f) { f.name = "", f.myNumber = "01234567890"; }),
         EmployeeField::Name, "氏名を入力して下さい。"},
        {"blank name", form([](EmployeeForm& f) { f.name = "   "; }), EmployeeField::Name,
         "氏名を入力して下さい。"},
        {"eleven digits", form([](EmployeeForm& f) { f.myNumber = "01234567890"; }),
         EmployeeField::MyNumber, "マイナンバーの入力に誤りがあります。"},
        {"separator pasted", form([](EmployeeForm& f) { f.myNumber = "1,2345678901"; }),
         EmployeeField::MyNumber, "マイナンバーの入力に誤りがあります。"},
        {"code of another", form([](EmployeeForm& f) { f.code = "A01"; }), EmployeeField::Code,
         "社員コードが重複しています。"},
        {"code with blanks", form([](EmployeeForm& f) { f.code = " A01 "; }), EmployeeField::Code,
         "社員コードが重複しています。"},
        {"pasted letters in an amount",
         form([](EmployeeForm& f) { f.amounts[kAmResidentTax] = "12a"; }), EmployeeField::Amount,
         "｢12a｣は正しい数値ではありません。"},
    };
    for (const Case& c : cases) {
        auto check = CheckEmployee(c.form, ledger, "", 2);
        ASSERT_TRUE(check) << c.what;
        EXPECT_EQ(check->field, c.field) << c.what;
        EXPECT_EQ(check->message, c.message) << c.what;
    }
    auto amount = CheckEmployee(cases[6].form, ledger, "", 2);
    EXPECT_EQ(amount->amount, kAmResidentTax);
}

TEST_F(EmployeeEditTest, CodesMayRepeatOnlyWhenEmptyOrOnTheSameEmployee) {
    use(1, "200101_000001", "A01");
    use(2, "200101_000002", "");
    EmployeeForm f = validForm();
    f.code = "A01";
    EXPECT_FALSE(CheckEmployee(f, ledger, "200101_000001", 1));  // its own code
    f.code = "";
    EXPECT_FALSE(CheckEmployee(f, ledger, "", -1));  // a second empty code
    f.code = "A02";
    EXPECT_FALSE(CheckEmployee(f, ledger, "200101_000002", 2));
    // A free slot that still holds the code of a removed employee.
    ledger.Employee(3).Code.set("A09");
    f.code = "A09";
    EXPECT_FALSE(CheckEmployee(f, ledger, "200101_000002", 2));
}

TEST_F(EmployeeEditTest, NewEmployeeGoesToTheFirstFreeSlotAndIsRefusedWhenFull) {
    for (int s = 1; s <= 5; ++s) use(s, "k" + std::to_string(s));
    EXPECT_EQ(FirstFreeSlot(ledger), 6);
    for (int s = 6; s <= kSlots; ++s) use(s, "k" + std::to_string(s));
    EXPECT_EQ(FirstFreeSlot(ledger), 0);
    auto check = CheckEmployee(validForm(), ledger, "", -1);
    ASSERT_TRUE(check);
    EXPECT_EQ(check->message, "社員は80人までしか登録できません。");
    EXPECT_FALSE(CheckEmployee(validForm(), ledger, "k3", 3));
}

TEST_F(EmployeeEditTest, KeyTakenInTheSameSecondMovesOnASecond) {
    clock.set({2024, 12, 31, 23, 59, 59});
    use(1, "241231_235959");
    EXPECT_EQ(UniqueEmployeeKey(ledger, clock), "250101_000000");
    clock.set({2024, 2, 28, 23, 59, 59});
    use(2, "240228_235959");
    EXPECT_EQ(UniqueEmployeeKey(ledger, clock), "240229_000000");
    // The year-end program tells such Keys from other bytes.
    EXPECT_TRUE(IsEmployeeKey("240229_000000"));
    for (const char* other : {"240229_00000", "240229-000000", "241329_000000", "240229_240000"})
        EXPECT_FALSE(IsEmployeeKey(other)) << other;
}

TEST_F(EmployeeEditTest, NavigationButtons) {
    use(1, "k1");
    use(2, "k2");
    EXPECT_FALSE(CanMoveBack(1));
    EXPECT_TRUE(CanMoveNext(ledger, 1));
    EXPECT_TRUE(CanMoveBack(2));
    EXPECT_FALSE(CanMoveNext(ledger, 2));
    use(80, "k80");
    EXPECT_FALSE(CanMoveNext(ledger, 80));
    EXPECT_FALSE(CanMoveBack(-1));
    EXPECT_FALSE(CanMoveNext(ledger, -1));
}

TEST(EmployeeTemplateTest, DefaultsTemplateAndItsRemoval) {
    TempDir dir;
    MessageLog log;
    TEmployeeRec def = LoadTemplate(dir.path(), log);
    TEmployeeRec expect = zeroRec();
    expect.Kind = 2;
    expect.PayForm = 1;
    expect.Status = 1;
    EXPECT_FALSE(RecordsDiffer(def, expect));

    EmployeeForm f = FormFromRecord(def);
    f.name = "山田";
    f.kana = "ﾔﾏﾀﾞ";
    f.code = "A01";
    f.myNumber = "123456789012";
    f.kindText = "パート";
    f.birthEraIndex = 3;
    f.birthYear = "5";
    f.bankName = "みずほ銀行";
    f.amounts[kAmBasePay] = "200,000";
    TEmployeeRec t = MakeTemplate(f);
    SaveTemplate(dir.path(), t);

    auto bytes = readBytes(dir / kEmployeeTemplateName);
    ASSERT_EQ(bytes.size(), 700u);
    // No name, furigana, key, code or grade, not even in the bytes behind a
    // cleared length; the individual number is kept like every other field.
    for (int i = 0; i < 77; ++i) EXPECT_EQ(bytes[std::size_t(i)], 0) << i;
    EXPECT_EQ(bytes[522], 0);

    TEmployeeRec loaded = LoadTemplate(dir.path(), log);
    EXPECT_EQ(loaded.Kind, 4);
    EXPECT_EQ(loaded.BirthEra, 4);
    EXPECT_EQ(loaded.BirthYear, 5);
    EXPECT_EQ(loaded.BasePay, 200000);
    EXPECT_EQ(loaded.BankName.str(), "みずほ銀行");
    EXPECT_EQ(std::int64_t{loaded.MyNumber}, 123456789012);
    EXPECT_TRUE(log.entries.empty());

    RemoveTemplate(dir.path());
    EXPECT_FALSE(std::filesystem::exists(dir / kEmployeeTemplateName));
    EXPECT_FALSE(RecordsDiffer(LoadTemplate(dir.path(), log), expect));
}

TEST(EmployeeTemplateTest, ShortTemplateIsReportedAndTheDefaultsStand) {
    TempDir dir;
    writeText(dir / kEmployeeTemplateName, std::string(300, '\x05'));
    MessageLog log;
    TEmployeeRec r = LoadTemplate(dir.path(), log);
    EXPECT_EQ(r.Kind, 2);
    EXPECT_EQ(r.BasePay, 0);
    ASSERT_EQ(log.entries.size(), 1u);
}

GradeTable sampleTable() {
    GradeTable t;
    t.Count = 50;
    t.PensionLowest = 4;
    t.PensionHighest = 35;
    for (int g = 1; g <= 50; ++g)
        t.Rows[std::size_t(g - 1)] = {g * 10000, g * 10000 + 10000, g * 10000};
    t.Rows[1] = {63000, 73000, 68000};
    t.Rows[3] = {83000, 93000, 88000};
    t.Rows[34] = {620000, 650000, 635000};
    return t;
}

TEST(GradePremiumsTest, PensionUsesTheGradeWithinItsRange) {
    GradeTable t = sampleTable();
    TBasicInfo rates{};
    rates.HealthInsRate = 4.95;
    rates.CareInsRate = 0.80;
    rates.PensionRate = 9.15;
    rates.PensionFundRate = 0;
    GradePremiums p = PremiumsFromGrade(t, rates, 2);
    EXPECT_EQ(p.health, 3366);  // row 2
    EXPECT_EQ(p.care, 544);
    EXPECT_EQ(p.pension, 8052);  // row 4, the lowest pension grade
    EXPECT_EQ(p.pensionFund, 0);
    p = PremiumsFromGrade(t, rates, 40);
    EXPECT_EQ(p.health, 19800);
    EXPECT_EQ(p.pension, 58102);  // row 35: 58,102.5
    // A grade outside the table never reads the limits row as money.
    EXPECT_EQ(PremiumsFromGrade(t, rates, 0).health, PremiumsFromGrade(t, rates, 1).health);
    EXPECT_EQ(PremiumsFromGrade(t, rates, 99).health, PremiumsFromGrade(t, rates, 50).health);
}

TEST(GradePremiumsTest, HalfYenRoundsDownAboveRoundsUp) {
    GradeTable t = sampleTable();
    t.Rows[0].Standard = 110000;
    t.Rows[2].Standard = 118000;
    TBasicInfo rates{};
    rates.HealthInsRate = 4.905;
    EXPECT_EQ(PremiumsFromGrade(t, rates, 1).health, 5395);  // 5,395.5
    EXPECT_EQ(PremiumsFromGrade(t, rates, 3).health, 5788);  // 5,787.9
}

TEST(GradeListTest, LinesAndPreselection) {
    EXPECT_EQ(GradeListLine({0, 63000, 58000}), "        0円以上    63,000円未満     58,000円");
    // The top grade has no upper bound: nothing is shown for it.
    std::string top = GradeListLine({1355000, kNoUpperLimit, 1390000});
    EXPECT_EQ(top, "1,355,000円以上                  1,390,000円");
    EXPECT_EQ(top.find("2,147"), std::string::npos);

    EXPECT_EQ(GradeRowFor(2, 50), 1);
    EXPECT_EQ(GradeRowFor(0, 50), 0);
    EXPECT_EQ(GradeRowFor(60, 50), 49);
    EXPECT_EQ(GradeRowFor(1, 0), -1);
}

TEST(CalculatorAmountTest, TruncatesTowardZeroInTheFieldsWidth) {
    EXPECT_EQ(CalculatorAmountText(kAmResidentTax, 1234.9), "  1,234");
    EXPECT_EQ(CalculatorAmountText(kAmResidentTax, -5.7), "     -5");
    EXPECT_EQ(CalculatorAmountText(kAmBasePay, 250000), "  250,000");
    EXPECT_THROW(CalculatorAmountText(kAmBasePay, 1e12), platform::ConvertError);
}

}  // namespace
}  // namespace ledger
