#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <cstdlib>
#include <map>

#include "ledger/Era.h"
#include "ledger/Ledger.h"
#include "ledger/ui/MainWindow.h"
#include "ledger/ui/PayrollWindows.h"
#include "reports/ui/ReportWindows.h"
#include "support/TempDir.h"
#include "ui/BoxRecorder.h"
#include "withholding/WithholdingFile.h"
#include "withholding/YearEndOption.h"
#include "withholding/ui/MainWindow.h"
#include "withholding/ui/YearEndPrintDialog.h"

namespace {

// The commands of one menu (or menu bar) that answer the same letter; a letter
// shared by two commands only moves the highlight between them.
std::string sharedLetters(const QList<QAction*>& actions) {
    std::map<int, QStringList> byLetter;
    for (QAction* a : actions) {
        if (a->isSeparator()) continue;
        const QKeySequence letter = QKeySequence::mnemonic(a->text());
        if (!letter.isEmpty()) byLetter[letter[0].toCombined()] << a->text();
    }
    QStringList shared;
    for (const auto& [letter, texts] : byLetter)
        if (texts.size() > 1) shared << texts.join(QStringLiteral(" / "));
    return shared.join(QStringLiteral("; ")).toStdString();
}

// Every menu bar and menu of both programs' main windows, the dialogs they own
// included, hidden commands too.
TEST(MenuAccelerators, NoTwoCommandsOfAMenuShareALetter) {
    QApplication::setQuitOnLastWindowClosed(false);
    testing_support::BoxRecorder boxes;
    testing_support::TempDir drive;
    setenv("TOLVANE_DRIVE", drive.path().c_str(), 1);
    ledger::FixedClock clock{{2026, 11, 1, 9, 5, 0}};

    ledger::Ledger payroll(clock);
    ledger::ui::PayrollWindows forms(payroll);
    ASSERT_TRUE(forms.created);
    const auto reports = reports::ui::CreateReportWindows(payroll, forms);

    ledger::Ledger yearEnd(clock);
    withholding::WithholdingData records;
    withholding::YearEndOption option;
    withholding::ui::MainWindow main(yearEnd, records, drive / "Quenby/Tolvane4/Tolvane.ini");
    withholding::ui::YearEndPrintWindows printForms(main, yearEnd, records, option);

    const struct {
        const char* program;
        QWidget* window;
        int lettered;  // commands with a letter, so the walk cannot pass empty
    } programs[] = {{"Tolvane4", forms.fmMain.get(), 6}, {"TolvaneG4", &main, 18}};
    for (const auto& p : programs) {
        int lettered = 0;
        std::vector<QList<QAction*>> menus;
        for (QMenuBar* bar : p.window->findChildren<QMenuBar*>()) menus.push_back(bar->actions());
        for (QMenu* menu : p.window->findChildren<QMenu*>()) menus.push_back(menu->actions());
        for (const auto& actions : menus) {
            for (QAction* a : actions) lettered += !QKeySequence::mnemonic(a->text()).isEmpty();
            EXPECT_EQ(sharedLetters(actions), "") << p.program;
        }
        EXPECT_GE(lettered, p.lettered) << p.program;
    }
    forms.fmMain->lifecycle().skipClosePrompts = true;
    unsetenv("TOLVANE_DRIVE");
}

}  // namespace
