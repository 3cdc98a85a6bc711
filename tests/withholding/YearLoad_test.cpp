#include "withholding/YearLoad.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "ledger/Ledger.h"
#include "ledger/YearFileName.h"
#include "platform/Errors.h"
#include "support/TempDir.h"
#include "withholding/EmployeeKeys.h"

namespace withholding {
namespace {

using ledger::TPeriodBlock;
using testing_support::readBytes;
using testing_support::TempDir;

// A pay-data year built in memory and written as the payroll program writes it.
struct PayYear {
    PayYear() {
        for (auto& b : blocks) {
            b = std::make_unique<TPeriodBlock>();
            std::memset(static_cast<void*>(b.get()), 0, sizeof(TPeriodBlock));
        }
        header.PeriodSaved[11] = 1;
    }
    ledger::TEmployeeRec& emp(int period, int slot) {
        return blocks[period - 1]->EmployeeTbl[slot - 1];
    }
    void employee(int period, int slot, const char* key) { emp(period, slot).Key.set(key); }
    // Pay, social insurance and income tax of a slot in a period.
    void paid(int period, int slot, std::int32_t pay, std::int32_t social, std::int32_t tax) {
        auto& b = *blocks[period - 1];
        b.PaymentTbl[slot - 1].Amounts[ledger::kPayTaxableTotal] = pay;
        b.DeductionTbl[slot - 1].Amounts[ledger::kDedSocialInsTotal] = social;
        b.DeductionTbl[slot - 1].Amounts[ledger::kDedIncomeTax] = tax;
    }
    void write(const std::filesystem::path& file) const {
        std::string bytes(reinterpret_cast<const char*>(&header), sizeof header);
        for (const auto& b : blocks)
            bytes.append(reinterpret_cast<const char*>(b.get()), sizeof(TPeriodBlock));
        testing_support::writeText(file, bytes);
    }

    ledger::TPayrollFileHeader header{};
    std::array<std::unique_ptr<TPeriodBlock>, ledger::kPeriods> blocks;
};

class YearLoadTest : public ::testing::Test {
protected:
    YearLoadTest() : clock({2026, 12, 20}), ledger(clock) { ledger.dataPath = dir.path(); }

    // Opens an era year as the start-up does.
    void open(const std::string& era, int year, const PayYear& pay) {
        ledger.CurData.FileName = dir / ledger::YearFileName(era, year);
        ledger.CurData.Era = era;
        ledger.CurData.Year = year;
        ledger.CurData.Period = 12;
        pay.write(ledger.CurData.FileName);
    }
    void saveLast(const std::string& era, int year, const PayYear& pay,
                  const WithholdingData& last) {
        pay.write(dir / ledger::YearFileName(era, year));
        SaveWithholdingFile(WithholdingFileName(dir.path(), era, year), last);
    }

    TempDir dir;
    ledger::FixedClock clock;
    ledger::Ledger ledger;
    WithholdingData data;
};

TEST_F(YearLoadTest, DecemberNeverSavedLoadsNothing) {
    PayYear pay;
    pay.header.PeriodSaved[11] = 0;
    pay.blocks[11]->BasicInfo.CorpName.set("株式会社テスト");
    open("令和", 8, pay);
    data.Record(1).PaidAmount = 42;

    EXPECT_FALSE(LoadYearData(ledger, data));
    EXPECT_EQ(data.Record(1).PaidAmount, 42);
    EXPECT_TRUE(ledger.BasicInfo().CorpName.empty());
}

TEST_F(YearLoadTest, FreshYearTotalsAllFifteenPeriodsByKeyAndTakesTheEmployee) {
    PayYear pay;
    for (int p = 1; p <= 12; ++p) {
        pay.employee(p, 1, "250101_090000");
        pay.paid(p, 1, 300000, 45000, 6000);
    }
    // A bonus paid while the employee sat in another slot still counts.
    pay.employee(13, 2, "250101_090000");
    pay.paid(13, 2, 500000, 75000, 20000);
    // Another employee's figures do not.
    pay.employee(12, 3, "250101_090001");
    pay.paid(12, 3, 1, 1, 1);
    auto& e = pay.emp(12, 1);
    e.Kana.set("ﾔﾏﾀﾞ");
    e.TaxColumn = 1;
    e.BirthEra = 3;
    e.BirthYear = 55;
    e.BirthMonth = 4;
    e.BirthDay = 1;
    pay.blocks[11]->BasicInfo.CorpName.set("株式会社テスト");
    open("令和", 8, pay);

    ASSERT_TRUE(LoadYearData(ledger, data));
    EXPECT_EQ(ledger.BasicInfo().CorpName.str(), "株式会社テスト");
    const auto& r = data.Record(1);
    EXPECT_EQ(r.PaidAmount, 4100000);
    EXPECT_EQ(r.SocialInsurance, 615000);
    EXPECT_EQ(r.TaxWithheld, 92000);
    EXPECT_EQ(data.Record(3).PaidAmount, 1);
    // 乙欄, furigana and birth date in both layouts.
    EXPECT_EQ(r.PersonFlags[kPersonOtsu], 1);
    EXPECT_EQ(data.OldRecord(1).PersonFlags[kPersonOtsu], 1);
    EXPECT_EQ(data.Record(3).PersonFlags[kPersonOtsu], 0);
    EXPECT_EQ(r.Furigana.str(), "ﾔﾏﾀﾞ");
    EXPECT_EQ(data.OldRecord(1).Furigana.str(), "ﾔﾏﾀﾞ");
    EXPECT_EQ(r.BirthDate.Era, 3);
    EXPECT_EQ(r.BirthDate.Year, 55);
    EXPECT_EQ(data.OldRecord(1).BirthDate.Day, 1);
    // The old layout's spouse list starts at 無; the company address is empty.
    EXPECT_EQ(data.OldRecord(40).SpouseKind[kSpouseNo], 1);
    EXPECT_TRUE(data.Header.Address1.empty());
    EXPECT_EQ(r.Status, kStatusUnprocessed);
}

TEST_F(YearLoadTest, OldLayoutYearTotalsIntoTheOldTable) {
    PayYear pay;
    pay.employee(12, 1, "K1");
    pay.paid(12, 1, 1000, 100, 10);
    open("平成", 27, pay);
    ASSERT_TRUE(LoadYearData(ledger, data));
    EXPECT_EQ(data.OldRecord(1).PaidAmount, 1000);
    EXPECT_EQ(data.Record(1).PaidAmount, 0);
}

TEST_F(YearLoadTest, ExistingFileIsUsedExactlyAsSaved) {
    PayYear pay;
    pay.employee(12, 1, "K1");
    pay.paid(12, 1, 999999, 9999, 999);
    pay.emp(12, 1).TaxColumn = 1;
    pay.emp(12, 1).Kana.set("ｱ");
    open("令和", 8, pay);

    WithholdingData saved;
    saved.Header.Address1.set("大阪市");
    saved.Record(1).PaidAmount = 12345;
    saved.Record(1).Furigana.set("ｲ");
    saved.Record(1).Status = kStatusComputed;
    auto path = WithholdingFileName(dir.path(), "令和", 8);
    SaveWithholdingFile(path, saved);
    auto before = readBytes(path);
    auto payBefore = readBytes(ledger.CurData.FileName);

    ASSERT_TRUE(LoadYearData(ledger, data));
    EXPECT_EQ(std::memcmp(data.Records.get(), saved.Records.get(), 80 * 1500), 0);
    EXPECT_EQ(data.Header.Address1.str(), "大阪市");
    EXPECT_FALSE(WithholdingChanged(path, data));
    // Neither file is written by loading.
    EXPECT_EQ(readBytes(path), before);
    EXPECT_EQ(readBytes(ledger.CurData.FileName), payBefore);
}

TEST_F(YearLoadTest, CarryOverBetweenNewLayoutYearsMatchesByKey) {
    PayYear lastPay;
    lastPay.employee(12, 5, "K-MOVED");
    lastPay.employee(12, 6, "K-LEFT");
    WithholdingData last;
    last.Header.Telephone.set("06-1111-2222");
    auto& old = last.Record(5);
    old.Furigana.set("ｻﾄｳ");
    old.BirthDate = {3, 50, 1, 2};
    old.LifeInsurance = 40000;
    old.PaidAmount = 7777777;
    old.ManualFlags[kManualPaidAmount] = 1;
    old.ManualFlags[kManualAnnualTax] = 1;
    old.Status = kStatusComputed;
    old.Reserved5[0] = 0x33;
    last.Record(6).LifeInsurance = 1;
    saveLast("令和", 7, lastPay, last);

    PayYear pay;
    pay.employee(12, 2, "K-MOVED");
    pay.paid(12, 2, 300000, 40000, 5000);
    pay.employee(12, 3, "K-NEW");
    pay.emp(12, 3).Kana.set("ｼﾝ");
    pay.emp(12, 2).Kana.set("ﾍﾝｺｳ");
    open("令和", 8, pay);

    ASSERT_TRUE(LoadYearData(ledger, data));
    EXPECT_EQ(data.Header.Telephone.str(), "06-1111-2222");
    const auto& r = data.Record(2);
    EXPECT_EQ(r.LifeInsurance, 40000);
    EXPECT_EQ(r.Reserved5[0], 0x33);     // whole record carried
    EXPECT_EQ(r.Furigana.str(), "ｻﾄｳ");  // last year's, not refreshed
    EXPECT_EQ(r.BirthDate.Year, 50);
    EXPECT_EQ(r.ManualFlags[kManualPaidAmount], 0);
    EXPECT_EQ(r.ManualFlags[kManualAnnualTax], 0);
    EXPECT_EQ(r.Status, kStatusUnprocessed);
    EXPECT_EQ(r.PaidAmount, 300000);  // this year's total, not last year's typed figure
    // A new employee's record is made as in a year started afresh.
    EXPECT_EQ(data.Record(3).LifeInsurance, 0);
    EXPECT_EQ(data.Record(3).Furigana.str(), "ｼﾝ");
    // Records never follow slot numbers across years.
    EXPECT_EQ(data.Record(6).LifeInsurance, 0);
}

TEST_F(YearLoadTest, FirstYearOfAnEraCarriesOverFromTheEraBefore) {
    PayYear lastPay;
    lastPay.employee(12, 1, "K1");
    WithholdingData last;
    last.Record(1).LifeInsurance = 50000;
    last.Header.Address1.set("京都市");
    saveLast("平成", 30, lastPay, last);

    PayYear pay;
    pay.employee(12, 1, "K1");
    open("令和", 1, pay);
    ASSERT_TRUE(LoadYearData(ledger, data));
    EXPECT_EQ(data.Record(1).LifeInsurance, 50000);
    EXPECT_EQ(data.Header.Address1.str(), "京都市");
}

TEST_F(YearLoadTest, CarryOverIntoHeisei28ConvertsOldRecords) {
    PayYear lastPay;
    lastPay.employee(12, 4, "K1");
    WithholdingData last;
    auto& o = last.OldRecord(4);
    o.PostalCode.set("123-4567");
    o.Address1.set(std::string(16, 'A') + "東京都千代田区一丁目");  // 36 bytes > 32: cut
    o.Furigana.set("ﾀﾅｶ ﾀﾛｳ");
    o.Position.set("部長");
    o.SpouseKind[kSpouseYes] = 1;
    o.SpouseKind[kSpouseSubYes] = 1;
    o.SpouseElderly = 1;
    o.DependantCounts[6] = 2;
    o.Under16Count = 3;
    o.DisabledCounts[2] = 1;
    o.NewLifePremium = 11;
    o.HousingLoanPossible = 22;
    o.NationalPensionPremium = 33;
    o.SmallBizPremium = 44;
    o.SpouseIncome = 55;
    o.OldLongTermPremium = 66;
    o.ResidenceStart = {4, 20, 3, 31};
    o.PersonFlags[kPersonForeigner] = 1;
    o.Resigned = 1;
    o.JoinLeaveDate[0] = 27;
    o.BirthDate = {3, 40, 5, 6};
    o.Remarks[0].set("摘要");
    o.AnnualTax = 88;
    o.ManualFlags[kManualAnnualTax] = 1;
    o.Status = kStatusComputed;
    saveLast("平成", 27, lastPay, last);

    PayYear pay;
    pay.employee(12, 1, "K1");
    pay.paid(12, 1, 1000, 0, 0);
    open("平成", 28, pay);
    ASSERT_TRUE(LoadYearData(ledger, data));

    const auto& r = data.Record(1);
    EXPECT_EQ(r.PostalCode.str(), "123-4567");
    EXPECT_EQ(r.Address1.str(), std::string(16, 'A') + "東京都千代田区一");
    EXPECT_EQ(r.Furigana.str(), "ﾀﾅｶ ﾀﾛｳ");
    EXPECT_EQ(r.Position.str(), "部長");
    EXPECT_EQ(r.SpouseDeductible, 1);
    EXPECT_EQ(r.SpouseDeductibleSub, 1);
    EXPECT_EQ(r.SpouseElderly, 1);
    EXPECT_EQ(r.DependantCounts[6], 2);
    EXPECT_EQ(r.Under16Count, 3);
    EXPECT_EQ(r.DisabledCounts[2], 1);
    EXPECT_EQ(r.NewLifePremium, 11);
    EXPECT_EQ(r.HousingLoanPossible, 22);
    EXPECT_EQ(r.NationalPensionPremium, 33);
    EXPECT_EQ(r.SmallBizPremium, 44);
    EXPECT_EQ(r.SpouseIncome, 55);
    EXPECT_EQ(r.OldLongTermPremium, 66);
    EXPECT_EQ(r.ResidenceStart[0].Day, 31);
    EXPECT_EQ(r.ResidenceStart[1].Era, 0);
    EXPECT_EQ(r.PersonFlags[kPersonForeigner], 1);
    EXPECT_EQ(r.Resigned, 1);
    EXPECT_EQ(r.JoinLeaveDate[0], 27);
    EXPECT_EQ(r.BirthDate.Month, 5);
    // Not carried: remarks, the computed tax, flags and status.
    EXPECT_TRUE(r.Remarks[0].empty());
    EXPECT_EQ(r.AnnualTax, 0);
    EXPECT_EQ(r.ManualFlags[kManualAnnualTax], 0);
    EXPECT_EQ(r.Status, kStatusUnprocessed);
    EXPECT_EQ(r.PaidAmount, 1000);
    // The file of 平成28 is written in the new layout.
    SaveWithholdingFile(WithholdingPath(ledger), data);
    EXPECT_EQ(std::filesystem::file_size(WithholdingPath(ledger)), 120300u);
}

// Ruling: carry-over into an old-layout year clears last year's manual flags as
// it does for the new layout, so this year's pay is totalled afresh.
TEST_F(YearLoadTest, OldLayoutCarryOverClearsManualFlagsByRuling) {
    PayYear lastPay;
    lastPay.employee(12, 1, "K1");
    WithholdingData last;
    last.OldRecord(1).Remarks[2].set("前年の摘要");
    last.OldRecord(1).PaidAmount = 5000000;
    last.OldRecord(1).ManualFlags[kManualPaidAmount] = 1;
    last.OldRecord(1).Status = kStatusOutside;
    saveLast("平成", 26, lastPay, last);

    PayYear pay;
    pay.employee(12, 7, "K1");
    pay.paid(12, 7, 2000, 200, 20);
    open("平成", 27, pay);
    ASSERT_TRUE(LoadYearData(ledger, data));
    const auto& r = data.OldRecord(7);
    EXPECT_EQ(r.Remarks[2].str(), "前年の摘要");
    EXPECT_EQ(r.ManualFlags[kManualPaidAmount], 0);
    EXPECT_EQ(r.PaidAmount, 2000);
    EXPECT_EQ(r.Status, kStatusUnprocessed);
}

// Every reserved byte of the header and the records, as another writer may leave
// them: the format carries such bytes as they are.
void fillReserved(WithholdingData& data, std::mt19937& random) {
    const auto fill = [&](auto& bytes) {
        for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
    };
    fill(data.Header.Reserved);
    for (int j = 1; j <= kRecords; ++j) {
        TWithholdingRec& r = data.Record(j);
        fill(r.Reserved1);
        fill(r.Reserved3);
        fill(r.Reserved4);
        fill(r.Reserved5);
        const auto member = [&](TFamilyMember& m) {
            fill(m.Reserved1);
            fill(m.Reserved2);
        };
        member(r.Spouse);
        for (TFamilyMember& m : r.DependantMembers) member(m);
        for (TFamilyMember& m : r.Under16Members) member(m);
    }
}

// A record stays with its employee when the payroll program moves them (a
// deletion in December shifts every later slot), also when employees share one
// Key: its holders are told apart by furigana and birth date, and in the totals
// each keeps their own pay. Only Keys this suite wrote, in records no one else
// has changed since, count: any other file keeps to slots, whatever its reserved
// bytes hold. An employee without a record, in a saved or a carried year, gets
// one made from the pay data. Loading writes nothing; a save stores December's
// Keys and the check value, and loading it again changes nothing.
TEST_F(YearLoadTest, SavedRecordsFollowTheirEmployeesByKey) {
    const std::string head =
        "12月分の社員名簿に合わせて、源泉徴収データを社員ごとに付け直しました。\r";
    const std::string leftOut =
        "\r\r12月分にいないため表示しない社員（データを保存するとファイルから削除されます）：";
    // Keys as the payroll program makes them; E, F and G share one, as a clock
    // set back or a repaired file can leave them.
    const auto keyOf = [](const std::string& name) {
        const int n = name == "F" || name == "G" ? 4 : name[0] - 'A';
        return "250101_0900" + std::string(1, char('0' + n / 10)) + char('0' + n % 10);
    };
    // Each person's furigana, birth year and monthly pay.
    const auto kanaOf = [](const std::string& name) { return "ｶﾅ" + name; };
    const auto bornIn = [](const std::string& name) { return 40 + (name[0] - 'A'); };
    const auto payOf = [](const std::string& name) { return 1000 * (name[0] - 'A' + 1); };
    enum class Writer {
        Save,           // the main window's save
        SavedBefore,    // a save from before the check value was kept
        KeysOnly,       // a save that stored the Keys and nothing else
        NoKeys,         // a writer that leaves reserved bytes zero
        ForeignBytes,   // another writer's bytes where the Key goes
        RandomBytes,    // another writer's bytes in every reserved byte
        LastYear,       // the main window's save, of last year
        OtherBySlot,    // the main window's save, then another writer's records by slot
        OtherLastYear,  // the same of last year, with a new employee's record (no Key)
        None,           // no file of this year or last
    };
    struct Case {
        const char* what;
        std::vector<std::string> before, after;  // December's employees: saved, loaded
        Writer writer;
        std::vector<std::string> owners;  // whose record each slot shows; "" new
        std::string notice;
        int leftAfter = 11;  // the last period of the employees before
    } cases[] = {
        {"deletion in December",
         {"A", "B", "C"},
         {"B", "C"},
         Writer::Save,
         {"B", "C"},
         head + "\r位置が変わった社員：\r　B氏（No.2 → No.1）\r　C氏（No.3 → No.2）" + leftOut +
             "\r　A氏"},
        {"new employee",
         {"A", "B"},
         {"A", "B", "N"},
         Writer::Save,
         {"A", "B", ""},
         head + "\r新しく作成した社員：\r　N氏"},
        {"nothing changed", {"A", "B"}, {"A", "B"}, Writer::Save, {"A", "B"}, ""},
        {"two employees with one Key after a deletion",
         {"A", "B", "C", "D", "E", "F"},
         {"A", "C", "D", "E", "F"},
         Writer::Save,
         {"A", "C", "D", "E", "F"},
         head + "\r位置が変わった社員：\r　C氏（No.3 → No.2）\r　D氏（No.4 → No.3）" +
             "\r　E氏（No.5 → No.4）\r　F氏（No.6 → No.5）" + leftOut + "\r　B氏"},
        {"the first of two with one Key leaves",
         {"A", "E", "F"},
         {"A", "F"},
         Writer::Save,
         {"A", "F"},
         head + "\r位置が変わった社員：\r　F氏（No.3 → No.2）" + leftOut + "\r　E氏"},
        {"the middle one of three with one Key leaves",
         {"A", "E", "F", "G"},
         {"A", "E", "G"},
         Writer::Save,
         {"A", "E", "G"},
         head + "\r位置が変わった社員：\r　G氏（No.4 → No.3）" + leftOut + "\r　F氏"},
        {"the first of two with one Key leaves after period 6",
         {"A", "E", "F"},
         {"A", "F"},
         Writer::None,
         {"", ""},
         "",
         6},
        {"the first of two with one Key is gone in a carried year",
         {"A", "E", "F"},
         {"A", "F"},
         Writer::LastYear,
         {"A", "F"},
         "",
         6},
        {"saved before the check value",
         {"A", "B", "C"},
         {"B", "C"},
         Writer::SavedBefore,
         {"B", "C"},
         head + "\r位置が変わった社員：\r　B氏（No.2 → No.1）\r　C氏（No.3 → No.2）" + leftOut +
             "\r　A氏"},
        {"keys saved before the mark",
         {"A", "B", "C"},
         {"B", "C"},
         Writer::KeysOnly,
         {"B", "C"},
         head + "\r位置が変わった社員：\r　B氏（No.2 → No.1）\r　C氏（No.3 → No.2）" + leftOut +
             "\r　A氏"},
        {"keyed file another writer changed by slot after a deletion",
         {"A", "B", "C"},
         {"B", "C"},
         Writer::OtherBySlot,
         {"B", "C"},
         ""},
        {"file without keys", {"A", "B", "C"}, {"B", "C"}, Writer::NoKeys, {"A", "B"}, ""},
        {"05 x y z w where the Key goes",
         {"A", "B", "C"},
         {"A", "B", "C"},
         Writer::ForeignBytes,
         {"A", "B", "C"},
         ""},
        {"random reserved bytes",
         {"A", "B", "C"},
         {"A", "B", "C"},
         Writer::RandomBytes,
         {"A", "B", "C"},
         ""},
        {"carried year with a new employee",
         {"A", "E", "F"},
         {"A", "E", "F", "N"},
         Writer::LastYear,
         {"A", "E", "F", ""},
         ""},
        {"carried year whose file bears the mark and a record without a Key",
         {"A", "B", "N"},
         {"A", "B", "N"},
         Writer::OtherLastYear,
         {"A", "B", "N"},
         ""},
    };
    // December's employees in the periods of one lineup, each paid their own.
    const auto lineup = [&](PayYear& pay, int period, const std::vector<std::string>& names) {
        std::memset(pay.blocks[period - 1]->EmployeeTbl, 0, sizeof(ledger::TEmployeeRec) * 80);
        for (std::size_t s = 0; s < names.size(); ++s) {
            const int slot = int(s) + 1;
            ledger::TEmployeeRec& e = pay.emp(period, slot);
            pay.employee(period, slot, keyOf(names[s]).c_str());
            e.Name.set(names[s] + "氏");
            e.Kana.set(kanaOf(names[s]));
            e.TaxColumn = 1;
            e.BirthEra = 3;
            e.BirthYear = std::uint8_t(bornIn(names[s]));
            e.BirthMonth = e.BirthDay = 1;
            pay.paid(period, slot, payOf(names[s]), 0, 0);
        }
    };
    // Another writer's save keeps every reserved byte where it was.
    const auto rewrite = [](const std::filesystem::path& path, auto&& change) {
        WithholdingData other;
        ReadWithholdingFile(path, other);
        change(other);
        SaveWithholdingFile(path, other);
    };
    std::mt19937 random(25);
    for (const Case& c : cases) {
        const bool carried = c.writer == Writer::LastYear || c.writer == Writer::OtherLastYear;
        std::filesystem::remove(WithholdingFileName(dir.path(), "令和", 7));
        std::filesystem::remove(WithholdingFileName(dir.path(), "令和", 8));
        PayYear pay;
        for (int p = 1; p <= 12; ++p) lineup(pay, p, c.before);
        open("令和", carried ? 7 : 8, pay);
        *ledger.block = *pay.blocks[11];
        WithholdingData saved;
        for (std::size_t s = 0; s < c.before.size(); ++s) {
            TWithholdingRec& r = saved.Record(int(s) + 1);
            r.Remarks[0].set(c.before[s]);
            r.PaidAmount = 777;
            r.Furigana.set(kanaOf(c.before[s]));
            r.BirthDate = {3, std::uint8_t(bornIn(c.before[s])), 1, 1};
        }
        const auto path = WithholdingPath(ledger);
        if (c.writer == Writer::RandomBytes) fillReserved(saved, random);
        if (c.writer == Writer::ForeignBytes) {
            const std::uint8_t bytes[] = {5, 'x', 'y', 'z', 'w'};
            std::memcpy(saved.Record(2).Reserved5, bytes, sizeof bytes);
        }
        if (c.writer == Writer::KeysOnly)
            for (int slot = 1; slot <= kRecords; ++slot)
                StoreKey(saved.Record(slot), ledger.Employee(slot).Key);
        switch (c.writer) {
            case Writer::None:
                break;
            case Writer::KeysOnly:
            case Writer::NoKeys:
            case Writer::ForeignBytes:
            case Writer::RandomBytes:
                SaveWithholdingFile(path, saved);
                break;
            default:
                SaveYearData(ledger, saved);
        }
        if (c.writer == Writer::SavedBefore)
            rewrite(path, [](WithholdingData& d) {
                std::memset(d.Header.Reserved + kRecordsCheckOffset - 147, 0, 8);
            });
        if (c.writer == Writer::OtherBySlot)
            // The records as shown by slot after the deletion: the next one's
            // figures retyped into each, the last one cleared.
            rewrite(path, [](WithholdingData& d) {
                for (int slot = 1; slot <= 3; ++slot) {
                    TWithholdingRec next{};
                    if (slot < 3) next = d.Record(slot + 1);
                    std::memcpy(next.Reserved5, d.Record(slot).Reserved5, sizeof next.Reserved5);
                    d.Record(slot) = next;
                }
            });
        if (c.writer == Writer::OtherLastYear)
            rewrite(path, [](WithholdingData& d) { d.Record(3).Reserved5[0] = 0; });

        for (int p = c.leftAfter + 1; p <= 12; ++p) lineup(pay, p, c.after);
        open("令和", 8, pay);
        const auto file =
            std::filesystem::exists(path) ? readBytes(path) : std::vector<unsigned char>();
        // A person's pay of the year: every period they were paid in.
        const auto yearsPay = [&](const std::string& name) {
            const auto in = [&](const std::vector<std::string>& v) {
                return std::find(v.begin(), v.end(), name) != v.end();
            };
            return payOf(name) *
                   ((in(c.before) ? c.leftAfter : 0) + (in(c.after) ? 12 - c.leftAfter : 0));
        };

        const YearLoaded loaded = LoadYearData(ledger, data);
        ASSERT_TRUE(loaded) << c.what;
        EXPECT_EQ(loaded.notice, c.notice) << c.what;
        for (std::size_t s = 0; s < c.owners.size(); ++s) {
            const TWithholdingRec& r = data.Record(int(s) + 1);
            const bool created = c.owners[s].empty();
            const std::string& person = created ? c.after[s] : c.owners[s];
            const std::string at = std::string(c.what) + " slot " + std::to_string(s + 1);
            EXPECT_EQ(r.Remarks[0].str(), c.owners[s]) << at;
            // A created record is made as for a new year; a saved one stays as
            // saved, a carried one is re-totalled, each with their own pay.
            EXPECT_EQ(r.PaidAmount, created || carried ? yearsPay(c.after[s]) : 777) << at;
            EXPECT_EQ(r.Furigana.str(), kanaOf(person)) << at;
            EXPECT_EQ(r.BirthDate.Year, bornIn(person)) << at;
            EXPECT_EQ(r.PersonFlags[kPersonOtsu], created || carried ? 1 : 0) << at;
        }
        if (!file.empty()) {
            EXPECT_EQ(readBytes(path), file) << c.what;
        }

        // Every save stores December's Keys in bytes 1367-1381 of each record, and
        // of the header only its last 16 bytes: the check value and the mark.
        const TWithholdingHeader header = data.Header;
        SaveYearData(ledger, data);
        const auto b = readBytes(WithholdingPath(ledger));
        EXPECT_EQ(std::memcmp(b.data(), &header, kRecordsCheckOffset), 0) << c.what;
        EXPECT_EQ(std::string(b.begin() + 292, b.begin() + 300), "TolvKeys") << c.what;
        for (int slot = 1; slot <= kRecords; ++slot) {
            const std::size_t at = 300 + std::size_t(slot - 1) * 1500 + 1367;
            const std::string key = slot <= int(c.after.size()) ? keyOf(c.after[slot - 1]) : "";
            EXPECT_EQ(std::string(b.begin() + at + 1, b.begin() + at + 1 + b[at]), key)
                << c.what << " slot " << slot;
        }
        const WithholdingData saving = data;
        const YearLoaded again = LoadYearData(ledger, data);
        EXPECT_EQ(again.notice, "") << c.what;
        EXPECT_EQ(std::memcmp(data.Records.get(), saving.Records.get(), 80 * 1500), 0) << c.what;
    }
}

// Last year's pay data is needed only to tell whose record is whose: records that
// hold their Keys carry over without it; records without Keys cannot, and the year
// starts afresh with a notice naming the missing file.
TEST_F(YearLoadTest, CarryOverWithoutLastYearsPayData) {
    struct Case {
        bool keyed;
        std::int32_t lifeInsurance;
        const char* telephone;
        const char* furigana;
        std::string notice;
    } cases[] = {
        {true, 40000, "06-1111-2222", "ｻﾄｳ", ""},
        {false, 0, "", "ｶﾅ",
         "前年の給与データ（令和7年給与･賞与.dat）が見つかりません。\r"
         "前年の源泉徴収データを引き継がずに開始します。"},
    };
    for (const Case& c : cases) {
        WithholdingData last;
        last.Header.Telephone.set("06-1111-2222");
        last.Record(4).LifeInsurance = 40000;
        last.Record(4).Furigana.set("ｻﾄｳ");
        ledger::ShortString<14> key{};
        key.set("250101_090000");
        if (c.keyed) StoreKey(last.Record(4), key);
        SaveWithholdingFile(WithholdingFileName(dir.path(), "令和", 7), last);

        PayYear pay;
        pay.employee(12, 2, "250101_090000");
        pay.emp(12, 2).Kana.set("ｶﾅ");
        pay.paid(12, 2, 1000, 0, 0);
        open("令和", 8, pay);
        const YearLoaded loaded = LoadYearData(ledger, data);
        ASSERT_TRUE(loaded) << c.keyed;
        EXPECT_EQ(loaded.notice, c.notice) << c.keyed;
        EXPECT_EQ(data.Record(2).LifeInsurance, c.lifeInsurance) << c.keyed;
        EXPECT_EQ(data.Record(2).Furigana.str(), c.furigana) << c.keyed;
        EXPECT_EQ(data.Record(2).PaidAmount, 1000) << c.keyed;
        EXPECT_EQ(data.Header.Telephone.str(), c.telephone) << c.keyed;
    }
}

// A carried record starts without last year's results, which would otherwise
// stand beside this year's pay until the next calculation.
TEST_F(YearLoadTest, CarriedRecordsDropLastYearsResults) {
    struct Case {
        const char* lastEra;
        int lastYear;
        const char* era;
        int year;
    } cases[] = {{"令和", 7, "令和", 8}, {"平成", 26, "平成", 27}, {"平成", 27, "平成", 28}};
    const auto lastYears = [](auto& r) {
        r.IncomeAfterDeduction = 2000000;
        r.IncomeDeductionTotal = 900000;
        r.SpouseSpecialAmount = 380000;
        r.AnnualTax = 90000;
        r.LifeInsurance = 40000;
    };
    const auto expectCarried = [](const auto& r, const char* what) {
        EXPECT_EQ(r.IncomeAfterDeduction, 0) << what;
        EXPECT_EQ(r.IncomeDeductionTotal, 0) << what;
        EXPECT_EQ(r.SpouseSpecialAmount, 0) << what;
        EXPECT_EQ(r.AnnualTax, 0) << what;
        EXPECT_EQ(r.LifeInsurance, 40000) << what;
        EXPECT_EQ(r.PaidAmount, 1000) << what;
    };
    for (const Case& c : cases) {
        PayYear lastPay;
        lastPay.employee(12, 1, "K1");
        WithholdingData last;
        lastYears(last.Record(1));
        lastYears(last.OldRecord(1));
        saveLast(c.lastEra, c.lastYear, lastPay, last);

        PayYear pay;
        pay.employee(12, 3, "K1");
        pay.paid(12, 3, 1000, 0, 0);
        open(c.era, c.year, pay);
        ASSERT_TRUE(LoadYearData(ledger, data)) << c.era << c.year;
        const std::string what = std::string(c.era) + std::to_string(c.year);
        if (IsNewLayoutYear(WithholdingPath(ledger)))
            expectCarried(data.Record(3), what.c_str());
        else
            expectCarried(data.OldRecord(3), what.c_str());
    }
}

TEST_F(YearLoadTest, RecalcKeepsAmountsTypedByHand) {
    PayYear pay;
    pay.employee(12, 1, "K1");
    pay.paid(12, 1, 100, 10, 1);
    pay.paid(14, 1, 0, 0, 0);
    pay.employee(14, 9, "K1");
    pay.paid(14, 9, 200, 20, 2);
    open("令和", 8, pay);
    ASSERT_TRUE(LoadYearData(ledger, data));

    auto& r = data.Record(1);
    r.PaidAmount = 55555;
    r.ManualFlags[kManualPaidAmount] = 1;
    r.SocialInsurance = 1;
    r.TaxWithheld = 1;
    RecalcFromPayroll(ledger, data, 1);
    EXPECT_EQ(r.PaidAmount, 55555);
    EXPECT_EQ(r.SocialInsurance, 30);
    EXPECT_EQ(r.TaxWithheld, 3);

    r.ManualFlags[kManualSocialInsurance] = 1;
    r.ManualFlags[kManualTaxWithheld] = 1;
    r.SocialInsurance = 7;
    r.TaxWithheld = 8;
    RecalcFromPayroll(ledger, data, 1);
    EXPECT_EQ(r.SocialInsurance, 7);
    EXPECT_EQ(r.TaxWithheld, 8);
}

TEST_F(YearLoadTest, TotalsBeyondAnAmountAreRefused) {
    PayYear pay;
    for (int p = 1; p <= 2; ++p) {
        pay.employee(p, 1, "K1");
        pay.paid(p, 1, 2000000000, 0, 0);
    }
    pay.employee(12, 1, "K1");
    open("令和", 8, pay);
    data.Record(1).PaidAmount = 3;
    EXPECT_THROW(LoadYearData(ledger, data), std::overflow_error);
    EXPECT_EQ(data.Record(1).PaidAmount, 3);
}

TEST_F(YearLoadTest, FailuresLeaveMemoryAsItWas) {
    PayYear pay;
    pay.employee(12, 1, "K1");
    pay.blocks[11]->BasicInfo.CorpName.set("新");
    ledger.BasicInfo().CorpName.set("旧");
    data.Record(1).PaidAmount = 9;

    // A pay-data file cut inside the bonus periods.
    open("令和", 8, pay);
    std::filesystem::resize_file(ledger.CurData.FileName, 128 + 13 * 95120 + 10);
    try {
        LoadYearData(ledger, data);
        ADD_FAILURE() << "no error";
    } catch (const platform::IoError& e) {
        EXPECT_STREQ(e.what(), "ファイルの末尾以降を読み込みました\n令和8年給与･賞与.dat");
    }
    EXPECT_EQ(data.Record(1).PaidAmount, 9);
    EXPECT_EQ(ledger.BasicInfo().CorpName.str(), "旧");

    // Last year's withholding file with its pay data cut short.
    open("令和", 8, pay);
    SaveWithholdingFile(WithholdingFileName(dir.path(), "令和", 7), WithholdingData());
    testing_support::writeText(dir / "令和7年給与･賞与.dat", std::string(1000, '\0'));
    EXPECT_THROW(LoadYearData(ledger, data), platform::IoError);
    EXPECT_EQ(data.Record(1).PaidAmount, 9);

    // This year's file of the wrong size.
    testing_support::writeText(WithholdingPath(ledger), std::string(40300, '\0'));
    EXPECT_THROW(LoadYearData(ledger, data), platform::IoError);
    EXPECT_EQ(ledger.BasicInfo().CorpName.str(), "旧");
}

// Loading reads up to four files; whichever fails is named on a line of its own
// after the error's text.
TEST_F(YearLoadTest, AFailedReadNamesItsFile) {
    const auto failure = [&]() -> std::string {
        try {
            LoadYearData(ledger, data);
        } catch (const platform::IoError& e) {
            return e.what();
        }
        return "no error";
    };
    const std::string pastEnd = "ファイルの末尾以降を読み込みました\n";
    PayYear pay;
    pay.employee(12, 1, "K1");

    // This year's withholding file cut short, and one of the old layout's size
    // under a new-layout name.
    open("令和", 8, pay);
    for (std::size_t size : {1000u, 40300u}) {
        testing_support::writeText(WithholdingPath(ledger), std::string(size, '\0'));
        EXPECT_EQ(failure(), pastEnd + "源泉徴収(令和8年).dat") << size;
    }
    std::filesystem::remove(WithholdingPath(ledger));

    // The pay data cut inside December.
    std::filesystem::resize_file(ledger.CurData.FileName, 128 + 11 * 95120 + 10);
    EXPECT_EQ(failure(), pastEnd + "令和8年給与･賞与.dat");

    // Last year's withholding file cut short, then whole but with its pay data cut.
    open("令和", 8, pay);
    const auto lastFile = WithholdingFileName(dir.path(), "令和", 7);
    testing_support::writeText(lastFile, std::string(500, '\0'));
    EXPECT_EQ(failure(), pastEnd + "源泉徴収(令和7年).dat");
    SaveWithholdingFile(lastFile, WithholdingData());
    testing_support::writeText(dir / "令和7年給与･賞与.dat", std::string(1000, '\0'));
    EXPECT_EQ(failure(), pastEnd + "令和7年給与･賞与.dat");
    // Nothing was written on the way.
    EXPECT_FALSE(std::filesystem::exists(WithholdingPath(ledger)));
}

// The pay data comes through the reader, so loading can be checked without files.
class CountingReader : public ledger::SavedBlockReader {
public:
    explicit CountingReader(const PayYear& y) : year(y) {}
    std::unique_ptr<TPeriodBlock> read(const std::filesystem::path&, int period) const override {
        ++reads;
        auto b = std::make_unique<TPeriodBlock>();
        std::memcpy(static_cast<void*>(b.get()), year.blocks[period - 1].get(), sizeof *b);
        return b;
    }
    ledger::TPayrollFileHeader header(const std::filesystem::path&) const override {
        return year.header;
    }
    const PayYear& year;
    mutable int reads = 0;
};

TEST_F(YearLoadTest, ReadsEachPeriodOnceForAllEightySlots) {
    PayYear pay;
    for (int s = 1; s <= 80; ++s) {
        pay.employee(12, s, ("K" + std::to_string(s)).c_str());
        pay.paid(12, s, s, 0, 0);
    }
    ledger.CurData = {dir / "令和8年給与･賞与.dat", "令和", 8, 12};
    CountingReader reader(pay);
    ASSERT_TRUE(LoadYearData(ledger, data, reader));
    EXPECT_EQ(reader.reads, 1 + 15);
    EXPECT_EQ(data.Record(80).PaidAmount, 80);
}

}  // namespace
}  // namespace withholding
