#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <cstdlib>

#include "ledger/Ledger.h"
#include "ledger/PayrollYearFile.h"
#include "ledger/PeriodChoice.h"
#include "ledger/Startup.h"
#include "ledger/ui/AboutBox.h"
#include "ledger/ui/DetailEntryDialog.h"
#include "ledger/ui/EmployeeEditor.h"
#include "ledger/ui/EmployeeListDialog.h"
#include "ledger/ui/EventLogViewer.h"
#include "ledger/ui/GradeTableDialog.h"
#include "ledger/ui/ItemGridView.h"
#include "ledger/ui/MainWindow.h"
#include "ledger/ui/NoticeWindow.h"
#include "ledger/ui/PayrollWindows.h"
#include "ledger/ui/SalarySlipItemsDialog.h"
#include "ledger/ui/SettingsDialog.h"
#include "support/TempDir.h"
#include "ui/BoxRecorder.h"

namespace {
using namespace ledger::ui;
using testing_support::BoxRecorder;
using testing_support::TempDir;

// The program's windows over a temporary drive, with November 令和8 open and
// two employees; every modal dialog is recorded instead of shown.
struct MainWindowCommandsTest : ::testing::Test {
    TempDir drive;
    ledger::FixedClock clock{{2026, 11, 1, 9, 5, 0}};
    BoxRecorder box;
    ledger::Ledger ledger{clock};
    std::unique_ptr<PayrollWindows> forms;
    MainWindow* w = nullptr;
    std::vector<QDialog*> shown;
    bool answer = true;

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
            return answer;
        };
        ledger::CurrentMonthChooser month;
        ASSERT_TRUE(month.choose(ledger));
        for (int slot : {1, 2}) {
            ledger::TEmployeeRec& e = ledger.Employee(slot);
            e.Key.set(std::to_string(slot));
            e.Name.set(slot == 1 ? "山田" : "佐藤");
            e.Status = 1;
            e.PayForm = 1;
        }
        w->OpenPeriod();
    }
    void TearDown() override {
        w->lifecycle().skipClosePrompts = true;
        forms.reset();
        unsetenv("TOLVANE_DRIVE");
    }
};

TEST_F(MainWindowCommandsTest, SaveWritesThePeriodAndShowsTheNotice) {
    w->StrGrid->selectCell(1, 1);
    w->StrGrid->editor()->setText("20");
    w->imFileSaveClick();
    ASSERT_EQ(shown, std::vector<QDialog*>{forms->fmNotice});
    EXPECT_EQ(forms->fmNotice->pnMessage->text(), QStringLiteral("データファイルに保存しました。"));
    // What was typed reached the file.
    ledger::Ledger stored(clock);
    ledger::LoadFileHeader(stored, ledger.CurData.FileName);
    stored.CurData.Period = 11;
    ledger::LoadPeriod(stored, ledger.CurData.FileName);
    EXPECT_EQ(stored.FileHeader.PeriodSaved[10], 1);
    EXPECT_DOUBLE_EQ(stored.Attendance(1).Values[ledger::kAttDaysWorked], 20);
    EXPECT_TRUE(box.boxes.isEmpty());

    // The save of the close request shows no notice.
    shown.clear();
    w->SaveCommand();
    EXPECT_TRUE(shown.empty());
}

// The table file's ranges end at 1,710,000 yen; beyond it the tax is asked for,
// never computed by a rate that no longer holds.
TEST_F(MainWindowCommandsTest, PayBeyondTheTaxTableAsksForTheTaxOfThatEmployee) {
    ledger.Employee(1).BasePay = 2500000;
    ledger.Employee(1).TaxDependants = 2;
    ledger.Employee(2).BasePay = 1709999;
    ledger.Employee(2).TaxDependants = 2;
    box.answer = platform::ui::Answer::No;
    w->SaveCommand();
    ASSERT_EQ(box.boxes.size(), 1);
    EXPECT_EQ(box.requests[0].icon, platform::ui::Icon::Warning);
    const QString question = box.boxes[0];
    EXPECT_TRUE(question.contains(QStringLiteral("　山田\r"))) << question.toStdString();
    EXPECT_FALSE(question.contains(QStringLiteral("佐藤")));
    EXPECT_TRUE(question.contains(QStringLiteral("税額表の範囲(1,710,000円未満)を超えている")));
    EXPECT_EQ(ledger.Deduction(1).Amounts[ledger::kDedIncomeTax], 0);  // not 627,752
    // 108,880 + 33.693 % of 749,999, as before.
    EXPECT_EQ(ledger.Deduction(2).Amounts[ledger::kDedIncomeTax], 361577);
    EXPECT_EQ(ledger.Deduction(1).ManualFlags[ledger::kDedIncomeTax], 0);

    // Yes switches that employee to a typed tax; a typed tax is kept and no
    // longer asked about.
    box.boxes.clear();
    box.requests.clear();
    box.answer = platform::ui::Answer::Yes;
    w->SaveCommand();
    ASSERT_EQ(box.boxes.size(), 2);
    EXPECT_EQ(box.boxes[1], QStringLiteral("該当社員の所得税計算を手入力モードに変更しました。\r"
                                           "詳細入力画面にて該当社員の確認と入力を行って下さい。"));
    EXPECT_EQ(ledger.Deduction(1).ManualFlags[ledger::kDedIncomeTax], 1);
    EXPECT_EQ(ledger.Deduction(2).ManualFlags[ledger::kDedIncomeTax], 0);
    ledger.Deduction(1).Amounts[ledger::kDedIncomeTax] = 703940;
    box.boxes.clear();
    w->SaveCommand();
    EXPECT_TRUE(box.boxes.isEmpty());
    EXPECT_EQ(ledger.Deduction(1).Amounts[ledger::kDedIncomeTax], 703940);
}

TEST_F(MainWindowCommandsTest, CommandsOpenTheProgramsDialogs) {
    w->imVersionClick();
    w->sbShowLogClick();
    w->sbConfigClick();
    w->sbPrnFormKClick();
    EXPECT_EQ(shown, (std::vector<QDialog*>{forms->fmVersion, forms->fmShowLog, forms->fmConfig,
                                            forms->fmPrnFormK}));

    // The detail entry opens for the employee of the current column.
    shown.clear();
    w->StrGrid->selectCell(2, 1);
    w->imDataEditClick();
    ASSERT_EQ(shown, std::vector<QDialog*>{forms->fmDataEdit});
    EXPECT_EQ(forms->fmDataEdit->slot(), 2);
    // Not for a column without an employee.
    shown.clear();
    w->StrGrid->selectCell(3, 1);
    w->imDataEditClick();
    EXPECT_TRUE(shown.empty());

    // The employee list in its editing mode; the grid follows what it changed.
    int mode = -1;
    forms->fmMembList->runModal = [&] {
        mode = forms->fmMembList->MembListMode;
        ledger.Employee(3).Key.set("3");
        ledger.Employee(3).Name.set("鈴木");
        ledger.Employee(3).Status = 1;
        return int(QDialog::Rejected);
    };
    w->imSyainEdit_Click(true);
    EXPECT_EQ(mode, 0);
    EXPECT_EQ(ledger.grid.cell(3, 0), "鈴木");
}

TEST_F(MainWindowCommandsTest, SlipsPrintForTheEmployeesChosenInTheList) {
    std::vector<ledger::PrintRequest> printed;
    w->setReportDialogs({{}, [&](const ledger::PrintRequest& r) { printed.push_back(r); }});
    int mode = -1;
    forms->fmMembList->runModal = [&] {
        mode = forms->fmMembList->MembListMode;
        return int(QDialog::Accepted);
    };
    w->sbMeisaihyoClick();
    EXPECT_EQ(mode, 1);
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_EQ(printed[0], (ledger::PrintRequest{"給与明細書", 299}));
}

TEST_F(MainWindowCommandsTest, ThePersonalLedgerSeesFiguresTypedInTheGridAndNotSaved) {
    std::vector<ledger::PrintRequest> printed;
    w->setReportDialogs({{}, [&](const ledger::PrintRequest& r) { printed.push_back(r); }});
    forms->fmMembList->runModal = [] { return int(QDialog::Accepted); };
    w->SaveCommand();
    w->sbKyuyoDaichoClick();
    EXPECT_TRUE(box.boxes.isEmpty());
    ASSERT_EQ(printed.size(), 1u);

    // A figure still in the cell's editor: committed, recalculated, and warned about.
    w->StrGrid->selectCell(1, 1);
    w->StrGrid->editor()->setText("18");
    box.answer = platform::ui::Answer::Cancel;
    w->sbKyuyoDaichoClick();
    EXPECT_EQ(
        box.boxes,
        QStringList{QStringLiteral("変更内容を保存しないと社員別給与台帳に反映されません。")});
    EXPECT_EQ(printed.size(), 1u);
    EXPECT_DOUBLE_EQ(ledger.Attendance(1).Values[ledger::kAttDaysWorked], 18);
}

TEST_F(MainWindowCommandsTest, TheGradeTableOpensOverTheEmployeeEditor) {
    w->setGeometry(0, 0, 800, 600);
    w->show();
    EmployeeEditor* editor = forms->fmMembEdit;
    editor->show();
    editor->move(500, 240);
    QApplication::processEvents();
    GradeTableDialog* grades = forms->fmKenhoHyo;
    grades->show();
    const QPoint centre = grades->frameGeometry().center();
    EXPECT_NEAR(centre.x(), editor->frameGeometry().center().x(), 2);
    EXPECT_NEAR(centre.y(), editor->frameGeometry().center().y(), 2);
    grades->hide();
    editor->hide();
}

TEST_F(MainWindowCommandsTest, APeriodWithoutCompanyDataOpensWithTheSettings) {
    ledger::CurrentMonthChooser chooser;
    chooser.marks.ShowSettingsOnOpen = true;
    w->setPeriodChooser(&chooser);
    w->OpenPeriod();
    EXPECT_EQ(shown, std::vector<QDialog*>{forms->fmConfig});
    w->setPeriodChooser(nullptr);
}

}  // namespace
