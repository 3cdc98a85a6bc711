#include "ledger/PeriodSelection.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>

#include "ledger/CarryOver.h"
#include "ledger/Ledger.h"
#include "ledger/PayrollYearFile.h"
#include "ledger/PeriodChoice.h"
#include "platform/Errors.h"
#include "platform/IniFile.h"
#include "support/TempDir.h"

namespace ledger {
namespace {
namespace fs = std::filesystem;
using testing_support::readText;
using testing_support::TempDir;
using testing_support::writeText;

constexpr const char* kR7 = "令和7年給与･賞与.dat";
constexpr const char* kR8 = "令和8年給与･賞与.dat";

// A year file built in memory: header and fifteen blocks, written whole.
struct YearImage {
    TPayrollFileHeader header{};
    std::vector<std::unique_ptr<TPeriodBlock>> blocks;

    YearImage() {
        for (int p = 0; p < kPeriods; ++p) blocks.push_back(std::make_unique<TPeriodBlock>());
        for (auto& b : blocks) std::memset(static_cast<void*>(b.get()), 0, sizeof(TPeriodBlock));
    }
    TPeriodBlock& block(int p) { return *blocks[std::size_t(p - 1)]; }

    // Marks the period saved with a company record and two employees: slot 1
    // monthly-paid, slot 3 daily-paid, both with a memo and figures.
    void saveWith(int p, const std::string& corp) {
        header.PeriodSaved[p - 1] = 1;
        TPeriodBlock& b = block(p);
        b.BasicInfo.CorpName.set(corp);
        b.BasicInfo.WorkDays = 20;
        b.BasicInfo.WorkHours = 160;
        for (int s : {1, 3}) {
            TEmployeeRec& e = b.EmployeeTbl[s - 1];
            e.Key.set("260101_00000" + std::to_string(s));
            e.PayForm = s == 1 ? 1 : 2;
            e.Status = 1;
            e.Memo.set("メモ");
            e.BasePay = 1000 * p;
            b.AttendanceTbl[s - 1].Values[kAttOvertime] = 5;
            b.PaymentTbl[s - 1].Amounts[kPayBase] = 300000;
            b.DeductionTbl[s - 1].Amounts[kDedIncomeTax] = 7000;
        }
    }

    void write(const fs::path& file) const {
        std::string bytes(std::size_t(kYearFileSize), '\0');
        std::memcpy(bytes.data(), &header, sizeof header);
        for (int p = 1; p <= kPeriods; ++p)
            std::memcpy(bytes.data() + PeriodOffset(p - 1), blocks[std::size_t(p - 1)].get(),
                        sizeof(TPeriodBlock));
        writeText(file, bytes);
    }
};

struct ScriptedPrompter : Prompter {
    bool answer = true;
    std::vector<std::string> questions;
    MessageLog log;
    void error(const std::string& t) override { log.error(t); }
    void warning(const std::string& t) override { log.warning(t); }
    void information(const std::string& t) override { log.information(t); }
    bool confirm(const std::string& t) override {
        questions.push_back(t);
        return answer;
    }
};

class PeriodSelectionTest : public testing::Test {
protected:
    PeriodSelectionTest() : clock({2026, 6, 15}), ledger(clock), ini(dir / "Tolvane.ini") {
        ledger.dataPath = dir.path();
        ledger.CurData.FileName = dir / kR8;
    }

    void load() { sel.LoadContents(ledger, ini); }

    // OK with days and hours typed, the reference dialog answered by `refer`.
    RefusedField ok(int period, std::string days = "20", std::string hours = "160",
                    std::string month = " 7", std::string day = "10") {
        return sel.Confirm(
            ledger, {period, days, hours, month, day}, marks,
            [this](bool later) {
                referenceAsked.push_back(later);
                return refer;
            },
            log);
    }

    TempDir dir;
    FixedClock clock;
    Ledger ledger;
    platform::IniFile ini;
    PeriodSelection sel;
    PeriodChoiceMarks marks;
    MessageLog log;
    std::vector<bool> referenceAsked;
    bool refer = false;
};

TEST_F(PeriodSelectionTest, YearListHoldsTheErasFilesWithSingleDigitYearsInOrder) {
    for (const char* name : {"令和10年給与･賞与.dat", kR8, "令和1年給与･賞与.dat",
                             "平成30年給与･賞与.dat", "令和8年給与･賞与.bak"})
        writeText(dir / name, "x");
    const YearList list = BuildYearList(dir.path(), "令和", dir / kR8);
    ASSERT_EQ(list.entries.size(), 3u);
    EXPECT_EQ(list.entries[0].text, "令和1年");
    EXPECT_EQ(list.entries[1].text, "令和8年");
    EXPECT_EQ(list.entries[2].text, "令和10年");
    EXPECT_EQ(list.selected, 1);
    EXPECT_EQ(YearFileOfItem(dir.path(), list.entries[2].text), dir / "令和10年給与･賞与.dat");
    EXPECT_EQ(BuildYearList(dir.path(), "令和", dir / "平成30年給与･賞与.dat").selected, -1);
}

TEST_F(PeriodSelectionTest, LoadingReadsHeaderMonthsSettingsAndTheOpenYear) {
    YearImage img;
    img.saveWith(4, "会社");
    img.block(4).BasicInfo.WorkDays = 21;
    img.header.BonusPayMonth[0] = 7;
    img.write(dir / kR8);
    ini.writeString("Option", "DefJikanD", "7.50");
    ledger.CurData.Era = "平成";

    load();
    EXPECT_EQ(ledger.FileHeader.PeriodSaved[3], 1);
    EXPECT_EQ(ledger.FileHeader.BonusPayMonth[0], 7);
    EXPECT_EQ(sel.MonthBasicInfo[3].WorkDays, 21);
    EXPECT_EQ(sel.DefHoursPerDay, 7.5);
    EXPECT_EQ(ledger.CurData.Era, "令和");  // always today's era
    EXPECT_EQ(ledger.CurData.Year, 8);
    EXPECT_EQ(ledger.CurData.Period, 6);  // first show: today's month

    ledger.CurData.Period = 14;
    for (const char* bad : {"abc", "", "7,5"}) {
        ini.writeString("Option", "DefJikanD", bad);
        load();
        EXPECT_EQ(sel.DefHoursPerDay, 0) << bad;
    }
    EXPECT_EQ(ledger.CurData.Period, 14);  // a chosen period stays
}

TEST_F(PeriodSelectionTest, AShortOrMissingFileIsReportedAndTheHeaderKept) {
    writeText(dir / kR8, std::string(1000, '\1'));
    ledger.FileHeader.BonusPayMonth[1] = 12;
    EXPECT_THROW(load(), platform::IoError);
    EXPECT_EQ(ledger.FileHeader.BonusPayMonth[1], 12);
    ledger.CurData.FileName = dir / "令和3年給与･賞与.dat";
    EXPECT_THROW(load(), platform::IoError);
}

TEST_F(PeriodSelectionTest, ClickedPeriodShowsItsFigures) {
    YearImage img;
    img.block(4).BasicInfo.WorkDays = 20;
    img.block(4).BasicInfo.WorkHours = 160;
    img.header.BonusPayMonth[0] = 7;
    img.header.BonusPayDay[0] = 10;
    img.write(dir / kR8);
    load();

    PeriodFields f = sel.FieldsFor(ledger, 4);
    EXPECT_TRUE(f.salary);
    EXPECT_EQ(f.daysCaption, "4月分･所定労働日数");
    EXPECT_EQ(f.hoursCaption, "4月分･所定労働時間");
    EXPECT_EQ(f.days, "20");
    EXPECT_EQ(f.hours, "160:00");
    ledger.sysOption.timeStyle = 0;
    EXPECT_EQ(sel.FieldsFor(ledger, 4).hours, "160.00");
    EXPECT_EQ(sel.FieldsFor(ledger, 5).days, " 0");

    f = sel.FieldsFor(ledger, 13);
    EXPECT_FALSE(f.salary);
    EXPECT_EQ(f.month, " 7");
    EXPECT_EQ(f.day, "10");
    f = sel.FieldsFor(ledger, 14);  // no date yet: today's
    EXPECT_EQ(f.month, " 6");
    EXPECT_EQ(f.day, "15");
}

TEST_F(PeriodSelectionTest, ProposedHoursAreDaysTimesTheWorkingDay) {
    sel.DefHoursPerDay = 7.5;
    EXPECT_EQ(sel.ProposedHours(ledger, "21"), "157:30");
    sel.DefHoursPerDay = 0;
    EXPECT_EQ(sel.ProposedHours(ledger, "21"), "  0:00");
}

TEST_F(PeriodSelectionTest, OkRefusesMissingDaysOrHoursAndABadBonusDate) {
    YearImage img;
    img.write(dir / kR8);
    load();
    ledger.sysOption.attendanceLabels[kAttScheduledDays] = "所定日数";
    const TPayrollFileHeader before = ledger.FileHeader;
    marks.Tag = 1;

    struct Case {
        int period;
        const char *days, *hours, *month, *day;
        RefusedField field;
        const char* message;
    };
    const Case cases[] = {
        {4, " 0", "160", "", "", RefusedField::Days, "所定日数と時間を入力して下さい。"},
        {4, "20", "", "", "", RefusedField::Days, "所定日数と時間を入力して下さい。"},
        {4, "", "0:00", "", "", RefusedField::Days, "所定日数と時間を入力して下さい。"},
        {13, "", "", "13", "10", RefusedField::Month, "支給月日の入力に誤りがあります。"},
        {14, "", "", " 0", "10", RefusedField::Month, "支給月日の入力に誤りがあります。"},
        {15, "", "", "12", "32", RefusedField::Day, "支給月日の入力に誤りがあります。"},
        {15, "", "", "12", "", RefusedField::Day, "支給月日の入力に誤りがあります。"},
    };
    for (const Case& c : cases) {
        log.entries.clear();
        EXPECT_EQ(ok(c.period, c.days, c.hours, c.month, c.day), c.field) << c.period;
        ASSERT_EQ(log.entries.size(), 1u);
        EXPECT_EQ(log.entries[0].second, c.message);
        EXPECT_EQ(std::memcmp(&before, &ledger.FileHeader, sizeof before), 0);
        EXPECT_EQ(marks.Tag, 1);
        EXPECT_EQ(ledger.CurData.Period, 6);
        EXPECT_FALSE(sel.PeriodOpened);
    }
}

TEST_F(PeriodSelectionTest, OkOnASavedPeriodLoadsItAndTakesTheTypedFigures) {
    YearImage img;
    img.saveWith(13, "会社");
    img.write(dir / kR8);
    const std::string stored = readText(dir / kR8);
    load();
    marks.Tag = 1;
    marks.ShowSettingsOnOpen = true;

    EXPECT_EQ(ok(13, "22", "7:30", "12", " 5"), RefusedField::None);
    EXPECT_EQ(ledger.CurData.Period, 13);
    EXPECT_EQ(ledger.BasicInfo().CorpName.str(), "会社");
    // Figures and memos of a saved period are its own.
    EXPECT_EQ(ledger.Payment(1).Amounts[kPayBase], 300000);
    EXPECT_EQ(ledger.Employee(1).Memo.str(), "メモ");
    // The typed days and hours go into every period, a bonus too.
    EXPECT_EQ(ledger.BasicInfo().WorkDays, 22);
    EXPECT_EQ(ledger.BasicInfo().WorkHours, 7.5);
    EXPECT_EQ(ledger.Attendance(1).Values[kAttDaysWorked], 0);
    // The payment date waits in memory for the next save.
    EXPECT_EQ(ledger.FileHeader.BonusPayMonth[0], 12);
    EXPECT_EQ(ledger.FileHeader.BonusPayDay[0], 5);
    EXPECT_EQ(readText(dir / kR8), stored);
    EXPECT_EQ(marks.Tag, 0);
    EXPECT_FALSE(marks.ShowSettingsOnOpen);
    EXPECT_TRUE(sel.SettingsMade);
    EXPECT_TRUE(sel.PeriodOpened);
    EXPECT_TRUE(referenceAsked.empty());
    EXPECT_TRUE(log.entries.empty());

    // Chosen but not saved: the next load forgets the date.
    load();
    EXPECT_EQ(ledger.FileHeader.BonusPayMonth[0], 0);
}

TEST_F(PeriodSelectionTest, NewPeriodsComeFromTheirSource) {
    struct Case {
        int period;
        std::vector<int> savedMonths;  // of the open year
        bool lastYearsDecember;
        int expectedSource;  // BasePay / 1000 of the source month; 0 = none
    };
    const Case cases[] = {
        {5, {4}, false, 4},                            // the month before
        {1, {}, true, 12},                             // last year's December
        {13, {3, 7}, false, 7},                        // the latest saved month
        {15, {1, 11}, false, 11}, {14, {}, false, 0},  // no month saved
        {1, {}, false, 0},                             // last year's file without December
    };
    for (const Case& c : cases) {
        YearImage img;
        for (int m : c.savedMonths) img.saveWith(m, "今年の会社");
        img.write(dir / kR8);
        YearImage last;
        if (c.lastYearsDecember) last.saveWith(12, "去年の会社");
        last.write(dir / kR7);

        ledger.clearPeriod();
        ledger.Attendance(2).Values[0] = 9;  // stale figures of a slot not carried
        referenceAsked.clear();
        load();
        ASSERT_EQ(ok(c.period, "20", "160"), RefusedField::None) << c.period;
        EXPECT_EQ(ledger.Employee(1).BasePay, 1000 * c.expectedSource) << c.period;
        EXPECT_EQ(referenceAsked.size(), c.expectedSource ? 0u : 1u) << c.period;
        if (!c.expectedSource) continue;
        // Employees keep their slots; memos and figures start empty.
        EXPECT_FALSE(ledger.Employee(3).Key.empty());
        EXPECT_TRUE(ledger.Employee(2).Key.empty());
        for (int s = 1; s <= kSlots; ++s) EXPECT_EQ(ledger.Employee(s).Memo.len, 0);
        EXPECT_EQ(ledger.Attendance(1).Values[kAttOvertime], 0);
        EXPECT_EQ(ledger.Attendance(2).Values[0], 0);
        EXPECT_EQ(ledger.Payment(1).Amounts[kPayBase], 0);
        EXPECT_EQ(ledger.Deduction(3).Amounts[kDedIncomeTax], 0);
    }
}

TEST_F(PeriodSelectionTest, AMonthIsNotStartedFromItsPredecessorWhenALaterMonthIsSaved) {
    YearImage img;
    img.saveWith(5, "五月");
    img.saveWith(8, "八月");
    img.write(dir / kR8);
    load();
    EXPECT_EQ(ok(6), RefusedField::None);
    EXPECT_EQ(referenceAsked, std::vector<bool>{true});
    EXPECT_TRUE(ledger.BasicInfo().CorpName.empty());
    EXPECT_TRUE(ledger.Employee(1).Key.empty());
    EXPECT_TRUE(marks.ShowSettingsOnOpen);  // declined

    // May unsaved: nothing came over, and no "later" hint.
    img.header.PeriodSaved[4] = 0;
    std::memset(static_cast<void*>(&img.block(5)), 0, sizeof(TPeriodBlock));
    img.write(dir / kR8);
    referenceAsked.clear();
    load();
    refer = true;
    EXPECT_EQ(ok(6), RefusedField::None);
    EXPECT_EQ(referenceAsked, std::vector<bool>{false});
    EXPECT_FALSE(marks.ShowSettingsOnOpen);
}

TEST_F(PeriodSelectionTest, NewSalaryMonthGivesMonthlyPaidEmployeesTheScheduledFigures) {
    YearImage img;
    img.saveWith(3, "会社");
    img.block(3).EmployeeTbl[0].Status = 3;  // retired still gets them
    TEmployeeRec& hourly = img.block(3).EmployeeTbl[4];
    hourly.Key.set("x");
    hourly.PayForm = 3;
    img.block(3).EmployeeTbl[6].PayForm = 1;  // a free slot gets nothing
    img.write(dir / kR8);
    load();
    ASSERT_EQ(ok(4, "21", "168:30"), RefusedField::None);
    EXPECT_EQ(ledger.Attendance(1).Values[kAttDaysWorked], 21);
    EXPECT_EQ(ledger.Attendance(1).Values[kAttHoursWorked], 168.5);
    for (int s : {3, 5, 7}) {
        EXPECT_EQ(ledger.Attendance(s).Values[kAttDaysWorked], 0) << s;
        EXPECT_EQ(ledger.Attendance(s).Values[kAttHoursWorked], 0) << s;
    }
    EXPECT_EQ(ledger.BasicInfo().WorkDays, 21);
    EXPECT_EQ(ledger.BasicInfo().CorpName.str(), "会社");
}

TEST_F(PeriodSelectionTest, OkReportsAYearWithoutCalculation) {
    clock.set({2019, 3, 1});  // 平成31
    YearImage img;
    img.saveWith(4, "会社");
    img.write(dir / "平成24年給与･賞与.dat");
    img.write(dir / "平成25年給与･賞与.dat");
    ledger.CurData.FileName = dir / "平成24年給与･賞与.dat";
    load();
    ASSERT_EQ(ok(4), RefusedField::None);
    ASSERT_EQ(log.entries.size(), 1u);
    EXPECT_EQ(log.entries[0].first, MessageLog::Kind::Information);
    EXPECT_EQ(log.entries[0].second, "平成24年以前のデータは給与/賞与の計算を行いません。");

    log.entries.clear();
    ledger.CurData.FileName = dir / "平成25年給与･賞与.dat";
    load();
    ASSERT_EQ(ok(4), RefusedField::None);
    EXPECT_TRUE(log.entries.empty());
}

TEST_F(PeriodSelectionTest, ReferenceListOffersSavedSalaryMonthsOfEveryYear) {
    YearImage r7;
    r7.saveWith(12, "七年");
    r7.saveWith(13, "賞与");  // never offered
    r7.write(dir / kR7);
    YearImage r8;
    for (int m : {2, 4, 9}) r8.saveWith(m, "八年");
    r8.write(dir / kR8);
    YearImage other;
    other.saveWith(1, "平成");
    other.write(dir / "平成30年給与･賞与.dat");

    const auto items = BuildReferenceList(dir.path(), "令和");
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0].text, "令和7年12月分給与");
    EXPECT_EQ(items[1].text, "令和8年 2月分給与");
    EXPECT_EQ(items[3].text, "令和8年 9月分給与");
    EXPECT_EQ(items[3].file, dir / kR8);
    EXPECT_EQ(items[3].month, 9);

    EXPECT_EQ(PreselectReference(items, "令和", 8, 6), 3);   // first later month
    EXPECT_EQ(PreselectReference(items, "令和", 8, 3), 2);   // 4 is the first after 3
    EXPECT_EQ(PreselectReference(items, "令和", 8, 10), 3);  // else the year's last
    EXPECT_EQ(PreselectReference(items, "令和", 9, 1), 0);   // else the first item
    EXPECT_EQ(PreselectReference({}, "令和", 8, 1), -1);

    ledger.Attendance(1).Values[3] = 2;
    TakeOverMonth(ledger, dir / kR7, 12);
    EXPECT_EQ(ledger.BasicInfo().CorpName.str(), "七年");
    EXPECT_EQ(ledger.Employee(1).BasePay, 12000);
    EXPECT_EQ(ledger.Employee(1).Memo.len, 0);
    EXPECT_EQ(ledger.Attendance(1).Values[3], 0);
    EXPECT_EQ(ledger.Payment(1).Amounts[kPayBase], 0);
}

TEST_F(PeriodSelectionTest, ClearingASavedPeriodZeroesItsBlockAndMark) {
    YearImage img;
    img.saveWith(4, "四月");
    img.saveWith(14, "冬");
    img.header.BonusPayMonth[1] = 12;
    img.header.BonusPayDay[1] = 10;
    img.header.Reserved2[5] = 0x55;
    img.write(dir / kR8);
    load();
    ScriptedPrompter prompter;

    EXPECT_FALSE(sel.ClearPeriod(ledger, 5, prompter));  // unsaved: no question
    EXPECT_TRUE(prompter.questions.empty());

    prompter.answer = false;
    EXPECT_FALSE(sel.ClearPeriod(ledger, 14, prompter));
    EXPECT_EQ(ledger.FileHeader.PeriodSaved[13], 1);

    prompter.answer = true;
    ledger.Employee(1).BasePay = 5;
    ASSERT_TRUE(sel.ClearPeriod(ledger, 14, prompter));
    EXPECT_EQ(prompter.questions.back(), "選択されている給与/賞与のデータを削除しますか？");
    const std::string bytes = readText(dir / kR8);
    ASSERT_EQ(bytes.size(), std::size_t(kYearFileSize));
    EXPECT_EQ(bytes[8 + 13], 0);
    EXPECT_EQ(bytes[8 + 3], 1);      // the other periods stay
    EXPECT_EQ(bytes[24 + 4], 0);     // BonusPayMonth of 14
    EXPECT_EQ(bytes[36 + 4], 0);     // BonusPayDay of 14
    EXPECT_EQ(bytes[48 + 5], 0x55);  // reserved bytes kept
    const std::int64_t at = PeriodOffset(13);
    EXPECT_EQ(bytes.substr(std::size_t(at), sizeof(TPeriodBlock)),
              std::string(sizeof(TPeriodBlock), '\0'));
    EXPECT_NE(bytes[std::size_t(PeriodOffset(3))], 0);  // April's block stays
    EXPECT_EQ(ledger.Employee(1).BasePay, 0);
    EXPECT_EQ(ledger.FileHeader.PeriodSaved[13], 0);

    ASSERT_TRUE(sel.ClearPeriod(ledger, 4, prompter));
    EXPECT_EQ(sel.MonthBasicInfo[3].WorkDays, 0);
    load();
    EXPECT_EQ(sel.FieldsFor(ledger, 14).month, " 6");  // today's date again
}

TEST_F(PeriodSelectionTest, AFailedClearLeavesFileAndMemory) {
    YearImage img;
    img.saveWith(4, "四月");
    img.write(dir / kR8);
    load();
    ScriptedPrompter prompter;
    fs::remove(dir / kR8);
    EXPECT_THROW(sel.ClearPeriod(ledger, 4, prompter), platform::IoError);
    EXPECT_EQ(ledger.FileHeader.PeriodSaved[3], 1);
    EXPECT_EQ(sel.MonthBasicInfo[3].WorkDays, 20);
    EXPECT_FALSE(fs::exists(dir / kR8));
}

TEST_F(PeriodSelectionTest, QuittingAndTheStartHintFollowTheRun) {
    ScriptedPrompter p;
    p.answer = false;
    EXPECT_FALSE(sel.MayQuit(p));
    EXPECT_EQ(p.questions.back(), "初期設定を中止し、プログラムを終了して宜しいですか？");
    sel.SettingsMade = true;
    EXPECT_FALSE(sel.MayQuit(p));
    EXPECT_EQ(p.questions.back(),
              "処理をする給与対象月/賞与時期の選択を中止し、プログラムを終了して宜しいですか？");
    sel.PeriodOpened = true;
    p.questions.clear();
    EXPECT_TRUE(sel.MayQuit(p));
    EXPECT_TRUE(p.questions.empty());

    PeriodSelection fresh;
    fresh.Activate(log);
    fresh.Activate(log);
    ASSERT_EQ(log.entries.size(), 1u);
    EXPECT_EQ(log.entries[0].second, "入力する給与または賞与を選択し､必要な情報を入力して下さい。");
    EXPECT_FALSE(fresh.SettingsMade);
    PeriodSelection configured;
    configured.DefHoursPerDay = 8;
    configured.Activate(log);
    EXPECT_TRUE(configured.SettingsMade);
    EXPECT_EQ(log.entries.size(), 1u);
}

TEST_F(PeriodSelectionTest, NewYearFilesAreCheckedAndCreatedUnderTheirPlainNames) {
    writeText(dir / kR7, "x");
    std::string message;
    struct Case {
        const char* text;
        int year;
        const char* message;
    };
    const Case cases[] = {{"", 0, "年の入力エラー"},
                          {" ", 0, "年の入力エラー"},
                          {"00", 0, "年の入力エラー"},
                          {"7", 0, "入力された年のデータは存在します。"},
                          {"07", 0, "入力された年のデータは存在します。"},
                          {"9", 9, ""},
                          {"12", 12, ""}};
    for (const Case& c : cases) {
        EXPECT_EQ(CheckNewYear(dir.path(), "令和", c.text, message), c.year) << c.text;
        EXPECT_EQ(message, c.message) << c.text;
    }

    ledger.Employee(1).BasePay = 1;
    CreateYearFile(ledger, 9);
    EXPECT_EQ(ledger.CurData.FileName, dir / "令和9年給与･賞与.dat");
    EXPECT_EQ(fs::file_size(dir / "令和9年給与･賞与.dat"), std::uintmax_t(kYearFileSize));
    EXPECT_EQ(ledger.Employee(1).BasePay, 0);
    EXPECT_EQ(BuildYearList(dir.path(), "令和", ledger.CurData.FileName).selected, 1);
}

}  // namespace
}  // namespace ledger
