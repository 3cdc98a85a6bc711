#include "ledger/MainCommands.h"

#include <gtest/gtest.h>

#include "PayCalcFixture.h"
#include "ledger/OpenPeriod.h"

namespace ledger {
namespace {

using testing_calc::PayCalcTest;

TEST(MainCommands, PrintRequestsCarryTheDialogsCaptionAndTag) {
    struct Case {
        PrintCommand command;
        int period;
        PrintRequest request;
    };
    for (const Case& c : {
             Case{PrintCommand::Slips, 4, {"給与明細書", 299}},
             Case{PrintCommand::Slips, 12, {"給与明細書", 299}},
             Case{PrintCommand::Slips, 13, {"賞与明細書", 299}},
             Case{PrintCommand::PersonalLedger, 4, {"社員別給与台帳", 499}},
             Case{PrintCommand::MonthlyList, 7, {"月別給与/賞与一覧", 507}},
             Case{PrintCommand::MonthlyList, 14, {"月別給与/賞与一覧", 514}},
             Case{PrintCommand::TransferList, 4, {"給与/賞与振込一覧", 600}},
             Case{PrintCommand::Denominations, 15, {"給与/賞与支払金種表", 700}},
         })
        EXPECT_EQ(PrintRequestFor(c.command, c.period), c.request) << c.request.caption;
}

// Records the steps a print command takes.
struct StepLog {
    std::vector<std::string> steps;
    bool modified = false;
    bool okAnswer = true;
    bool listAnswer = true;

    PrintSteps make() {
        PrintSteps s;
        s.commitCell = [this] { steps.push_back("commit"); };
        s.recalc = [this] { steps.push_back("recalc"); };
        s.periodModified = [this] {
            steps.push_back("check");
            return modified;
        };
        s.okCancel = [this](std::string_view text) {
            steps.push_back(std::string(text));
            return okAnswer;
        };
        s.employeeList = [this](MembListMode mode) {
            steps.push_back("list" + std::to_string(int(mode)));
            return listAnswer;
        };
        s.showPrintDialog = [this](const PrintRequest& r) {
            steps.push_back(r.caption + std::to_string(r.tag));
        };
        return s;
    }
};

using Steps = std::vector<std::string>;

TEST(MainCommands, SlipsChooseEmployeesBeforeRecalculating) {
    StepLog log;
    RunPrintCommand(PrintCommand::Slips, 4, log.make());
    EXPECT_EQ(log.steps, (Steps{"commit", "list1", "recalc", "給与明細書299"}));

    StepLog cancelled;
    cancelled.listAnswer = false;
    RunPrintCommand(PrintCommand::Slips, 13, cancelled.make());
    EXPECT_EQ(cancelled.steps, (Steps{"commit", "list1"}));
}

TEST(MainCommands, ThePersonalLedgerWarnsThatUnsavedChangesAreNotPrinted) {
    const std::string warning(kLedgerNotSavedWarning);
    StepLog unchanged;
    RunPrintCommand(PrintCommand::PersonalLedger, 4, unchanged.make());
    EXPECT_EQ(unchanged.steps, (Steps{"recalc", "check", "list2", "社員別給与台帳499"}));

    StepLog ok;
    ok.modified = true;
    RunPrintCommand(PrintCommand::PersonalLedger, 4, ok.make());
    EXPECT_EQ(ok.steps, (Steps{"recalc", "check", warning, "list2", "社員別給与台帳499"}));

    StepLog cancel;
    cancel.modified = true;
    cancel.okAnswer = false;
    RunPrintCommand(PrintCommand::PersonalLedger, 4, cancel.make());
    EXPECT_EQ(cancel.steps, (Steps{"recalc", "check", warning}));
}

TEST(MainCommands, OtherReportsPrintTheRecalculatedPeriod) {
    StepLog log;
    RunPrintCommand(PrintCommand::MonthlyList, 7, log.make());
    RunPrintCommand(PrintCommand::TransferList, 7, log.make());
    RunPrintCommand(PrintCommand::Denominations, 7, log.make());
    EXPECT_EQ(log.steps, (Steps{"recalc", "月別給与/賞与一覧507", "recalc", "給与/賞与振込一覧600",
                                "recalc", "給与/賞与支払金種表700"}));
}

class MainCommandsTest : public PayCalcTest {};

TEST_F(MainCommandsTest, DetailEntryOpensOnlyForAnActiveEmployeesColumn) {
    addEmployee(1, "A").Status = 3;
    addEmployee(2, "B");
    BuildItemGrid(ledger);
    EXPECT_EQ(DetailEntrySlot(ledger, 1), 2);
    EXPECT_EQ(DetailEntrySlot(ledger, 0), 0);
    EXPECT_EQ(DetailEntrySlot(ledger, 2), 0);  // past the last employee
    EXPECT_EQ(DetailEntrySlot(ledger, 80), 0);
    // Retired since the grid was built: nothing to open.
    ledger.Employee(2).Status = 3;
    EXPECT_EQ(DetailEntrySlot(ledger, 1), 0);
}

TEST_F(MainCommandsTest, TheCaptionNamesTheOpenPeriod) {
    struct Case {
        int period;
        const char* title;
    };
    ledger.sysOption.tokuSyoyo = "決算賞与";
    for (const Case& c :
         {Case{4, "令和8年4月分給与"}, Case{12, "令和8年12月分給与"}, Case{13, "令和8年・夏期賞与"},
          Case{14, "令和8年・冬季賞与"}, Case{15, "令和8年・決算賞与"}}) {
        ledger.CurData.Period = c.period;
        EXPECT_EQ(PeriodTitleText(ledger), c.title);
    }
    ledger.CurData.Period = 4;
    EXPECT_EQ(MainWindowCaption("Pembrel Tolvane4", ledger),
              "Pembrel Tolvane4　　【令和8年4月分給与】");
}

}  // namespace
}  // namespace ledger
