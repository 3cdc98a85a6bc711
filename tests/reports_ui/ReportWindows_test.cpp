#include "reports/ui/ReportWindows.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAction>
#include <QApplication>
#include <cstdlib>
#include <filesystem>

#include "ledger/Ledger.h"
#include "ledger/PeriodChoice.h"
#include "ledger/Startup.h"
#include "ledger/ui/EmployeeListDialog.h"
#include "ledger/ui/MainWindow.h"
#include "ledger/ui/PayrollWindows.h"
#include "platform/ui/Printer.h"
#include "reports/ui/LedgerRowsDialog.h"
#include "reports/ui/PrintDialog.h"
#include "support/TempDir.h"
#include "ui/BoxRecorder.h"

namespace {

using namespace ledger::ui;

// The program's windows over a temporary drive, with the report dialogs added
// as the program adds them; modal dialogs are recorded instead of shown.
struct ReportWindowsTest : ::testing::Test {
    testing_support::TempDir drive;
    ledger::FixedClock clock{{2026, 11, 1, 9, 5, 0}};
    testing_support::BoxRecorder box;
    ledger::Ledger ledger{clock};
    std::unique_ptr<PayrollWindows> forms;
    std::unique_ptr<reports::ui::ReportWindows> reports;
    MainWindow* w = nullptr;
    std::vector<QDialog*> shown;

    void SetUp() override {
        QApplication::setQuitOnLastWindowClosed(false);
        setenv("TOLVANE_DRIVE", drive.path().c_str(), 1);
        forms = std::make_unique<PayrollWindows>(ledger);
        ASSERT_TRUE(forms->created);
        w = forms->fmMain.get();
        ledger::MessageLog quiet;
        ASSERT_EQ(ledger::LoadTables(ledger, TOLVANE_BINARY_DIR, quiet), 3);
        w->runModal = [this](QDialog& d) {
            shown.push_back(&d);
            return true;
        };
        ledger::CurrentMonthChooser month;
        ASSERT_TRUE(month.choose(ledger));
        ledger.Employee(1).Key.set("1");
        ledger.Employee(1).Name.set("山田");
        ledger.Employee(1).Status = 1;
        ledger.Employee(1).PayForm = 1;
        w->OpenPeriod();
        reports = reports::ui::CreateReportWindows(ledger, *forms);
        ASSERT_TRUE(reports);
    }
    void TearDown() override {
        w->lifecycle().skipClosePrompts = true;
        reports.reset();
        forms.reset();
        unsetenv("TOLVANE_DRIVE");
    }
};

TEST_F(ReportWindowsTest, MainWindowCommandsReachTheReportDialogs) {
    EXPECT_TRUE(w->sbDaicho->isEnabled());
    EXPECT_TRUE(w->sbKinsyuList->isEnabled());
    EXPECT_TRUE(forms->fmMembList->printRoster);

    w->sbKinsyuListClick();
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back(), reports->fmInji);
    EXPECT_EQ(reports->fmInji->Tag, 700);

    w->sbKyuyoIchiranClick();
    EXPECT_EQ(shown.back(), reports->fmInji);
    EXPECT_EQ(reports->fmInji->Tag, 500 + ledger.CurData.Period);

    w->sbDaichoClick();
    EXPECT_EQ(shown.back(), reports->fmPrnItem);
}

TEST_F(ReportWindowsTest, PrintJobWritesEverySheetToThePrinter) {
    for (int slot = 2; slot <= 31; ++slot) {  // 31 transfer payees: two sheets
        ledger.Employee(slot).Key.set(std::to_string(slot));
        ledger.Employee(slot).Name.set("社員");
        ledger.Employee(slot).Status = 1;
    }
    const auto pdf = drive.path() / "job.pdf";
    if (!reports->printer->isPdf()) GTEST_SKIP() << "a real printer is installed";
    reports->printer->setPdfOutputFile(QString::fromStdString(pdf.string()));
    reports->fmInji->setRequest(QStringLiteral("給与/賞与振込一覧"), 600);
    reports->fmInji->FormShow();
    EXPECT_EQ(reports->fmInji->PageCount, 2);
    const mode_t oldMask = ::umask(022);
    reports->fmInji->btPrintClick();
    ::umask(oldMask);
    EXPECT_EQ(reports->fmInji->result(), QDialog::Accepted);
    ASSERT_TRUE(std::filesystem::exists(pdf));
    EXPECT_GT(std::filesystem::file_size(pdf), 1000u);
    // Pay data: the PDF is for its owner only, as the CSV and image files are.
    EXPECT_EQ(std::filesystem::status(pdf).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    if (const char* dir = std::getenv("TOLVANE_SCREENSHOT_DIR"))
        std::filesystem::copy_file(pdf, std::filesystem::path(dir) / "Inji_transfer.pdf",
                                   std::filesystem::copy_options::overwrite_existing);
}

}  // namespace
