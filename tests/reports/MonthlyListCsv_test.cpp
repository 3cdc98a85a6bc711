#include "reports/MonthlyListCsv.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "ListFixture.h"
#include "platform/Errors.h"
#include "platform/Sjis.h"
#include "support/TempDir.h"

namespace reports {
namespace {

using testing::ListFixture;

const std::string kDefaultHeader =
    "氏名,基本給,役職手当,家族手当,固定手当１,固定手当２,固定手当３,普通残業手当,深夜残業手当,"
    "休日普通残業,休日深夜残業,非課税通勤費,課税通勤費,欠勤控除,遅刻早退控除,変動手当１,変動手当２,"
    "変動手当３,課税支給合計,支給項目合計,健康保険料,介護保険料,厚生年金保険,厚生年金基金,"
    "雇用保険料,社会保険料計,社保控除後計,所得税,住民税,固定控除１,固定控除２,固定控除３,"
    "変動控除１,"
    "変動控除２,変動控除３,控除項目合計,社保算定合計,その他１,その他２,その他３,差引支給額,\r\n";

// The line of an employee or a total with the default columns: fields 2..40
// zero except those given (1-based field numbers), then the net pay.
std::string line(const std::string& first, std::map<int, std::string> fields,
                 const std::string& net) {
    std::string out = first;
    for (int i = 2; i <= 40; ++i) out += "," + (fields.count(i) ? fields[i] : std::string("0"));
    return out + "," + net + "\r\n";
}

struct CsvFixture : ListFixture {
    // 基本給, 課税支給合計 and 支給項目合計 the same; a deduction total.
    ledger::TEmployeeRec& employee(const std::string& name, int pay, int deducted) {
        auto& e = add(name, pay);
        int slot = slotOf(e);
        l.Payment(slot).Amounts[ledger::kPayBase] = pay;
        l.Payment(slot).Amounts[ledger::kPayTaxableTotal] = pay;
        l.Deduction(slot).Amounts[ledger::kDedTotal] = deducted;
        return e;
    }
};

TEST(MonthlyCsv, DefaultFileNames) {
    ListFixture f;
    f.l.sysOption.tokuSyoyo = "決算/賞与";
    struct Case {
        int period;
        const char* name;
    } cases[] = {{4, "令和8年･4月分給与一覧.csv"},
                 {12, "令和8年･12月分給与一覧.csv"},
                 {13, "令和8年･夏期賞与一覧.csv"},
                 {14, "令和8年･冬季賞与一覧.csv"},
                 {15, "令和8年･決算_賞与一覧.csv"}};
    for (auto k : cases)
        EXPECT_EQ(MonthlyCsvDefaultPath(f.l, k.period, "/cfg"),
                  std::filesystem::path("/cfg") / k.name);
}

TEST(MonthlyCsv, NormalListWithTotals) {
    CsvFixture f;
    f.employee("A", 200000, 30000);
    auto& b = f.employee("B", 300000, 50000);
    f.l.Payment(f.slotOf(b)).Amounts[ledger::kPayOther1] = 1000;     // counts in net pay
    f.l.Deduction(f.slotOf(b)).Amounts[ledger::kDedOther1] = 500;    // the その他１ column
    f.l.Payment(f.slotOf(b)).Amounts[ledger::kPayAbsence] = -12000;  // 欠勤控除
    f.add("休職", 999).Status = 2;
    f.next = 10;
    f.employee("空きの後", 1, 0);

    std::string expected =
        kDefaultHeader +
        line("A", {{2, "200000"}, {19, "200000"}, {20, "200000"}, {36, "30000"}}, "170000") +
        line("B",
             {{2, "300000"},
              {14, "-12000"},
              {19, "300000"},
              {20, "300000"},
              {36, "50000"},
              {38, "500"}},
             "251000") +
        line("合計",
             {{2, "500000"},
              {14, "-12000"},
              {19, "500000"},
              {20, "500000"},
              {36, "80000"},
              {38, "500"}},
             "421000");
    EXPECT_EQ(MonthlyCsvText(f.l, LedgerRowFlags{}, MonthlyGrouping::Normal), expected);
}

TEST(MonthlyCsv, GroupsEachWithTheirOwnTotalsLine) {
    CsvFixture f;
    f.employee("A", 100, 0).Dept.set("営業");
    f.employee("B", 200, 0).Dept.set("総務");
    f.employee("C", 400, 0).Dept.set("営業");
    auto& d = f.employee("D", 800, 0);
    d.Dept.set("総務");
    d.Status = 3;  // retired: no line
    std::string text = MonthlyCsvText(f.l, LedgerRowFlags{}, MonthlyGrouping::ByDept);
    std::vector<std::string> firsts;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t eol = text.find("\r\n", at);
        std::string l = text.substr(at, eol - at);
        firsts.push_back(l.substr(0, l.find(',')));
        at = eol + 2;
    }
    EXPECT_EQ(firsts,
              (std::vector<std::string>{"氏名", "A", "C", "合計[営業]", "B", "合計[総務]"}));
    EXPECT_NE(text.find("合計[営業],500,"), std::string::npos);

    std::string byKind = MonthlyCsvText(f.l, LedgerRowFlags{}, MonthlyGrouping::ByKind);
    EXPECT_NE(byKind.find("\r\n合計[一般社員],700,"), std::string::npos);
    EXPECT_EQ(byKind.find("合計[役員]"), std::string::npos) << "an empty group writes nothing";
}

TEST(MonthlyCsv, AddedAttendanceAndRemovedColumns) {
    CsvFixture f;
    auto& a = f.employee("A", 100, 0);
    f.l.Attendance(f.slotOf(a)).Values[ledger::kAttDaysWorked] = 20;
    f.l.Attendance(f.slotOf(a)).Values[ledger::kAttOvertime] = 7.5;
    f.l.Payment(f.slotOf(a)).Amounts[ledger::kPayFixed1 + 1] = 55;  // 固定手当２, removed
    LedgerRowFlags flags;
    flags.added[1] = flags.added[8] = true;
    flags.removed[1] = flags.removed[14] = true;  // 固定手当２, その他３

    std::string text = MonthlyCsvText(f.l, flags, MonthlyGrouping::Normal);
    EXPECT_EQ(
        text.substr(0, text.find("\r\n")),
        "氏名,出勤日数,普通残業時間,基本給,役職手当,家族手当,固定手当１,固定手当３,普通残業手当,"
        "深夜残業手当,休日普通残業,休日深夜残業,非課税通勤費,課税通勤費,欠勤控除,遅刻早退控除,"
        "変動手当１,変動手当２,変動手当３,課税支給合計,支給項目合計,健康保険料,介護保険料,"
        "厚生年金保険,厚生年金基金,雇用保険料,社会保険料計,社保控除後計,所得税,住民税,固定控除１,"
        "固定控除２,固定控除３,変動控除１,変動控除２,変動控除３,控除項目合計,社保算定合計,"
        "その他１,その他２,差引支給額,");
    EXPECT_NE(text.find("\r\nA, 20.00,  7:30,100,0,0,0,0,"), std::string::npos) << text;
    EXPECT_NE(text.find("\r\n合計,,,100,"), std::string::npos);
    EXPECT_EQ(text.find(",55,"), std::string::npos);
    // Every data line has as many fields as the header names.
    std::size_t second = text.find("\r\n") + 2;
    std::string dataLine = text.substr(second, text.find("\r\n", second) - second);
    EXPECT_EQ(std::count(dataLine.begin(), dataLine.end(), ','), 40);
}

TEST(MonthlyCsv, FieldsWithCommasAreQuotedNothingElseIs) {
    CsvFixture f;
    f.employee("山田,\"太郎\"", 1, 0);
    f.l.sysOption.freeLabels[0] = "手当,A";
    std::string text = MonthlyCsvText(f.l, LedgerRowFlags{}, MonthlyGrouping::Normal);
    EXPECT_NE(text.find(",家族手当,\"手当,A\",固定手当２,"), std::string::npos);
    EXPECT_NE(text.find("\r\n\"山田,\"\"太郎\"\"\",1,"), std::string::npos);
}

TEST(MonthlyCsv, WrittenWholeInShiftJis) {
    testing_support::TempDir dir;
    CsvFixture f;
    f.employee("山田", 100, 0);
    auto file = dir / "out.csv";
    WriteMonthlyCsv(file, f.l, LedgerRowFlags{}, MonthlyGrouping::Normal);
    std::string bytes = testing_support::readText(file);
    EXPECT_EQ(bytes,
              sjis::fromUtf8(MonthlyCsvText(f.l, LedgerRowFlags{}, MonthlyGrouping::Normal)));
    EXPECT_EQ(bytes.substr(0, 5), "\x8E\x81\x96\xBC,");  // 氏名, with no byte-order mark
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");

    // A folder that does not exist: reported, nothing left behind.
    EXPECT_THROW(
        WriteMonthlyCsv(dir / "no" / "x.csv", f.l, LedgerRowFlags{}, MonthlyGrouping::Normal),
        platform::IoError);

    // No active employee: the header alone.
    f.l.Employee(1).Status = 2;
    EXPECT_EQ(MonthlyCsvText(f.l, LedgerRowFlags{}, MonthlyGrouping::Normal), kDefaultHeader);
}

struct ScriptedPrompts : CsvExportPrompts {
    std::optional<std::filesystem::path> file;
    bool answer = false;
    std::filesystem::path offered;
    std::vector<std::string> asked, told;
    std::optional<std::filesystem::path> chooseFile(const std::filesystem::path& d) override {
        offered = d;
        return file;
    }
    bool confirm(const std::string& q) override {
        asked.push_back(q);
        return answer;
    }
    void inform(const std::string& m) override { told.push_back(m); }
};

TEST(MonthlyCsv, ExportAsksBeforeReplacingAFile) {
    testing_support::TempDir dir;
    CsvFixture f;
    f.employee("山田", 100, 0);
    ScriptedPrompts p;

    EXPECT_FALSE(ExportMonthlyCsv(f.l, 4, MonthlyGrouping::Normal, {}, dir.path(), p));
    EXPECT_EQ(p.offered, dir / "令和8年･4月分給与一覧.csv");
    EXPECT_TRUE(p.told.empty());

    p.file = dir / "list.csv";
    EXPECT_TRUE(ExportMonthlyCsv(f.l, 4, MonthlyGrouping::Normal, {}, dir.path(), p));
    EXPECT_TRUE(p.asked.empty()) << "a new file needs no question";
    EXPECT_EQ(p.told, (std::vector<std::string>{"月別給与/賞与一覧をCSVファイルに出力しました。"}));

    testing_support::writeText(*p.file, "old");
    EXPECT_FALSE(ExportMonthlyCsv(f.l, 4, MonthlyGrouping::Normal, {}, dir.path(), p));
    ASSERT_EQ(p.asked.size(), 1u);
    EXPECT_EQ(p.asked[0], "同名のファイルが存在します。上書きしますか？\r\r" + p.file->string());
    EXPECT_EQ(testing_support::readText(*p.file), "old");
    EXPECT_EQ(p.told.size(), 1u);

    p.answer = true;
    EXPECT_TRUE(ExportMonthlyCsv(f.l, 4, MonthlyGrouping::Normal, {}, dir.path(), p));
    EXPECT_NE(testing_support::readText(*p.file), "old");
}

}  // namespace
}  // namespace reports
