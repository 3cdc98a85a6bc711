#include "reports/LedgerCsv.h"

#include <gtest/gtest.h>

#include "YearFileFixture.h"
#include "platform/Errors.h"
#include "platform/Sjis.h"

namespace reports {
namespace {

constexpr const char* kKey = "160401_000001";

std::string zeros(int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += "0,";
    return s;
}

// A money line of a year with figures in periods 1 and 2 only.
std::string moneyLine(const std::string& name, long long p1, long long p2) {
    return name + "," + std::to_string(p1) + "," + std::to_string(p2) + "," + zeros(13) +
           std::to_string(p1 + p2) + ",\r\n";
}

const std::string kHeading =
    ",１月給与,２月給与,３月給与,４月給与,５月給与,６月給与,７月給与,８月給与,９月給与,10月給与,"
    "11月給与,12月給与,夏期賞与,冬期賞与,特別賞与,合計\r\n";

struct Prompts : ledger::Prompter {
    std::vector<std::string> asked, told;
    bool answer = true;
    bool confirm(const std::string& text) override {
        asked.push_back(text);
        return answer;
    }
    void error(const std::string& t) override { told.push_back(t); }
    void warning(const std::string& t) override { told.push_back(t); }
    void information(const std::string& t) override { told.push_back(t); }
};

struct CsvYear : testing::YearFileFixture {
    LedgerRowFlags flags;
    CsvYear() { openEmployee(1, kKey, "山田太郎"); }
    std::string bytes() {
        writeYearFile();
        return LedgerCsvBytes(
            l, flags,
            ReadLedgerYear(ledger::fileBlockReader(), l.CurData.FileName, l.Employee(1).Key));
    }
};

TEST(LedgerCsv, EveryMoneyLineTakesItsOwnRecordField) {
    CsvYear t;
    int s = t.periodSlot(1, 4, kKey);
    for (int i = 0; i < ledger::kPaymentAmounts; ++i) t.pay(1, s).Amounts[i] = 1000 + i;
    for (int i = 0; i < ledger::kDeductionAmounts; ++i) t.ded(1, s).Amounts[i] = 2000 + i;
    s = t.periodSlot(2, 9, kKey);  // another slot in period 2
    t.pay(2, s).Amounts[ledger::kPayBase] = 250000;
    t.pay(2, s).Amounts[ledger::kPayAbsence] = -12000;
    t.periodSlot(3, 1, "160401_999999");  // saved without the employee

    struct Line {
        const char* name;
        long long p1, p2;
    };
    const Line expected[] = {
        {"基本給", 1000, 250000},   {"役職手当", 1001, 0},
        {"家族手当", 1002, 0},      {"固定手当１", 1003, 0},
        {"固定手当２", 1004, 0},    {"固定手当３", 1005, 0},
        {"普通残業手当", 1006, 0},  {"深夜残業手当", 1007, 0},
        {"休日普通残業", 1008, 0},  {"休日深夜残業", 1009, 0},
        {"非課税通勤費", 1010, 0},  {"課税通勤費", 1011, 0},
        {"欠勤控除", 1015, -12000}, {"遅刻早退控除", 1016, 0},
        {"変動手当１", 1012, 0},    {"変動手当２", 1013, 0},
        {"変動手当３", 1014, 0},    {"課税支給合計", 1017, 0},
        {"支給項目合計", 1018, 0},  {"健康保険料", 2000, 0},
        {"介護保険料", 2004, 0},    {"厚生年金保険", 2001, 0},
        {"厚生年金基金", 2002, 0},  {"雇用保険料", 2003, 0},
        {"社会保険料計", 2005, 0},  {"社保控除後計", 2006, 0},
        {"所得税", 2007, 0},        {"住民税", 2008, 0},
        {"固定控除１", 2009, 0},    {"固定控除２", 2010, 0},
        {"固定控除３", 2011, 0},    {"変動控除１", 2012, 0},
        {"変動控除２", 2013, 0},    {"変動控除３", 2014, 0},
        {"控除項目合計", 2015, 0},  {"社保算定合計", 2016, 0},
        {"その他１", 2017, 0},      {"その他２", 2018, 0},
        {"その他３", 2019, 0},      {"差引支給額", 1018 + 2017 + 2018 + 2019 - 2015, 0},
    };
    std::string want = kHeading;
    for (const Line& e : expected) want += moneyLine(e.name, e.p1, e.p2);
    const std::string got = t.bytes();
    EXPECT_EQ(sjis::toUtf8(got), want);
    EXPECT_EQ(got, sjis::fromUtf8(want));
    EXPECT_EQ(got.substr(0, 3), std::string("\x2C\x82\x50", 3)) << "no BOM; ',' then '１'";
    EXPECT_NE(got.find("\x8D\x87\x8C\x76\r\n"), std::string::npos) << "合計 in CP932, CR LF";
}

TEST(LedgerCsv, AddedAttendanceAndRemovedItems) {
    CsvYear t;
    t.flags.added[1] = true;     // 出勤日数
    t.flags.added[8] = true;     // 普通残業時間
    t.flags.removed[1] = true;   // 固定手当２
    t.flags.removed[12] = true;  // その他１
    t.l.sysOption.timeStyle = 1;
    t.l.sysOption.tokuSyoyo = "決算賞与";
    int s = t.periodSlot(1, 1, kKey);
    t.att(1, s).Values[ledger::kAttDaysWorked] = 20;
    t.att(1, s).Values[ledger::kAttOvertime] = 7.5;
    t.ded(1, s).Amounts[ledger::kDedOther1] = 1000;
    t.periodSlot(2, 1, "160401_999999");  // saved without the employee
    s = t.periodSlot(13, 2, kKey);
    t.att(13, s).Values[ledger::kAttDaysWorked] = 1;  // never shown for a bonus

    std::string got = sjis::toUtf8(t.bytes());
    std::vector<std::string> lines;
    for (std::size_t at = 0, next; (next = got.find("\r\n", at)) != std::string::npos;
         at = next + 2)
        lines.push_back(got.substr(at, next - at));
    ASSERT_EQ(lines.size(), 41u);
    EXPECT_TRUE(lines[0].ends_with(",冬期賞与,決算賞与,合計")) << lines[0];
    EXPECT_EQ(lines[1], "出勤日数, 20.00,  0.00,,,,,,,,,,,,,,");
    EXPECT_EQ(lines[2], "普通残業時間,  7:30,  0:00,,,,,,,,,,,,,,");
    EXPECT_EQ(lines[3].rfind("基本給,", 0), 0u);
    EXPECT_EQ(lines[6].rfind("固定手当１,", 0), 0u);
    EXPECT_EQ(lines[7].rfind("固定手当３,", 0), 0u) << "固定手当２ is removed";
    EXPECT_EQ(got.find("その他１"), std::string::npos);
    EXPECT_EQ(lines[40], "差引支給額,1000,0,0,0,0,0,0,0,0,0,0,0,0,0,0,1000,")
        << "net pay counts その他１ although its line is removed";
}

TEST(LedgerCsv, LabelsWithACommaStayOneField) {
    CsvYear t;
    t.l.sysOption.freeLabels[0] = "資格,手当";
    t.l.sysOption.tokuSyoyo = "決算\"特別\"賞与";
    std::string got = sjis::toUtf8(t.bytes());
    EXPECT_NE(got.find("\r\n\"資格,手当\",0,0,"), std::string::npos);
    EXPECT_NE(got.find(",\"決算\"\"特別\"\"賞与\",合計\r\n"), std::string::npos);
}

TEST(LedgerCsv, FileNamesCarryTheSlotAndASafeName) {
    CsvYear t;
    t.openEmployee(5, "k5", "山田太郎");
    t.openEmployee(12, "k12", " 山田太郎 ");
    t.openEmployee(13, "k13", "a/b");
    auto chosen = t.dir / "給与台帳.csv";
    EXPECT_EQ(LedgerCsvFileName(chosen, t.l, 5), t.dir / "  5山田太郎_給与台帳.csv");
    EXPECT_EQ(LedgerCsvFileName(chosen, t.l, 12), t.dir / " 12山田太郎_給与台帳.csv");
    EXPECT_EQ(LedgerCsvFileName(chosen, t.l, 13), t.dir / " 13a_b_給与台帳.csv");
    EXPECT_EQ(LedgerCsvDefaultName("/x/Tolvane4"),
              std::filesystem::path("/x/Tolvane4/給与台帳.csv"));
}

TEST(LedgerCsv, ExportAsksBeforeOverwritingAndStopsOnNo) {
    CsvYear t;
    t.openEmployee(2, "k2", "佐藤");
    t.openEmployee(3, "k3", "鈴木");
    t.writeYearFile();
    auto chosen = t.dir / "給与台帳.csv";
    auto f1 = LedgerCsvFileName(chosen, t.l, 1), f2 = LedgerCsvFileName(chosen, t.l, 2),
         f3 = LedgerCsvFileName(chosen, t.l, 3);
    testing_support::writeText(f2, "earlier");

    Prompts no;
    no.answer = false;
    EXPECT_FALSE(LedgerCsvExport(t.l, t.flags, {1, 2, 3}, chosen, no));
    ASSERT_EQ(no.asked.size(), 1u);
    EXPECT_EQ(no.asked[0], "同名のファイルが存在します。上書きしますか？\r\r" + f2.string());
    EXPECT_TRUE(no.told.empty());
    EXPECT_TRUE(std::filesystem::exists(f1));
    EXPECT_EQ(testing_support::readText(f2), "earlier");
    EXPECT_FALSE(std::filesystem::exists(f3));

    Prompts yes;
    EXPECT_TRUE(LedgerCsvExport(t.l, t.flags, {1, 2, 3}, chosen, yes));
    EXPECT_EQ(yes.asked.size(), 2u);  // files 1 and 2 exist now
    EXPECT_EQ(yes.told, std::vector<std::string>{"社員別給与台帳をCSVファイルに出力しました。"});
    EXPECT_EQ(testing_support::readText(f2).substr(0, 1), ",");
    EXPECT_TRUE(std::filesystem::exists(f3));
}

TEST(LedgerCsv, AnUnreadableYearFileStopsTheExportWithoutAFile) {
    CsvYear t;  // no year file written
    Prompts p;
    auto chosen = t.dir / "給与台帳.csv";
    EXPECT_THROW(LedgerCsvExport(t.l, t.flags, {1}, chosen, p), platform::IoError);
    EXPECT_FALSE(std::filesystem::exists(LedgerCsvFileName(chosen, t.l, 1)));
    EXPECT_TRUE(p.told.empty());
}

}  // namespace
}  // namespace reports
