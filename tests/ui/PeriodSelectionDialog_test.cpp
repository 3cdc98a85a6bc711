#include "ledger/ui/PeriodSelectionDialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstring>

#include "ledger/Ledger.h"
#include "ledger/PayrollYearFile.h"
#include "ledger/ui/NewYearFileDialog.h"
#include "ledger/ui/ReferenceDataDialog.h"
#include "platform/IniFile.h"
#include "support/PersonTyping.h"
#include "support/TempDir.h"
#include "ui/BoxRecorder.h"
#include "ui/Screenshot.h"

namespace ledger::ui {
namespace {
namespace fs = std::filesystem;
using platform::ui::Answer;
using testing_support::BoxRecorder;
using testing_support::readText;
using testing_support::TempDir;
using testing_support::writeText;

constexpr const char* kR7 = "令和7年給与･賞与.dat";
constexpr const char* kR8 = "令和8年給与･賞与.dat";

// Writes a year file whose listed periods are saved, each with a company record
// and one monthly-paid employee.
void writeYear(const fs::path& file, std::initializer_list<int> saved, int bonusMonth = 0) {
    std::string bytes(std::size_t(kYearFileSize), '\0');
    TPayrollFileHeader h{};
    h.BonusPayMonth[0] = bonusMonth;
    h.BonusPayDay[0] = bonusMonth ? 10 : 0;
    auto block = std::make_unique<TPeriodBlock>();
    for (int p : saved) {
        h.PeriodSaved[p - 1] = 1;
        std::memset(static_cast<void*>(block.get()), 0, sizeof(TPeriodBlock));
        block->BasicInfo.CorpName.set("株式会社" + std::to_string(p));
        block->BasicInfo.WorkDays = 20 + p % 3;
        block->BasicInfo.WorkHours = 160;
        block->EmployeeTbl[0].Key.set("k");
        block->EmployeeTbl[0].PayForm = 1;
        std::memcpy(bytes.data() + PeriodOffset(p - 1), block.get(), sizeof(TPeriodBlock));
    }
    std::memcpy(bytes.data(), &h, sizeof h);
    writeText(file, bytes);
}

struct PeriodSelectionDialogTest : ::testing::Test {
    TempDir dir;
    FixedClock clock{{2026, 6, 15}};
    Ledger ledger{clock};
    BoxRecorder box;
    fs::path ini = dir / "Tolvane.ini";
    std::unique_ptr<PeriodSelectionDialog> dialog;

    void SetUp() override {
        QApplication::setQuitOnLastWindowClosed(false);
        ledger.dataPath = dir.path();
        ledger.CurData.FileName = dir / kR8;
        platform::IniFile(ini).writeString("Option", "DefJikanD", "7.50");
        writeYear(dir / kR7, {12});
        writeYear(dir / kR8, {4, 5, 13}, 7);
        dialog = std::make_unique<PeriodSelectionDialog>(ledger, ini);
    }

    bool saved(int p) const {
        return dialog->ListBox->item(p - 1)->data(Qt::UserRole + 1).toBool();
    }
    void click(int p) { dialog->ListBox->setCurrentRow(p - 1); }
};

TEST_F(PeriodSelectionDialogTest, ShowsTheYearsAndPeriodsOfTheOpenFile) {
    ledger.sysOption.tokuSyoyo = "決算賞与";
    dialog->FormShow(true);
    ASSERT_EQ(dialog->cbTaisyoNen->count(), 2);
    EXPECT_EQ(dialog->cbTaisyoNen->itemText(0), "令和7年");
    EXPECT_EQ(dialog->cbTaisyoNen->currentText(), "令和8年");
    ASSERT_EQ(dialog->ListBox->count(), 15);
    EXPECT_EQ(dialog->ListBox->item(0)->text(), "１月分給与");
    EXPECT_EQ(dialog->ListBox->item(11)->text(), "12月分給与");
    EXPECT_EQ(dialog->ListBox->item(14)->text(), "決算賞与");
    EXPECT_TRUE(saved(4));
    EXPECT_FALSE(saved(6));
    EXPECT_TRUE(saved(13));
    // The first show takes today's month.
    EXPECT_EQ(dialog->ListBox->currentRow(), 5);
    EXPECT_EQ(dialog->lbNissu->text(), "6月分･所定労働日数");
    EXPECT_TRUE(dialog->edNissu->isEnabled());
    EXPECT_FALSE(dialog->edSikyuM->isEnabled());
    testing_support::screenshot(dialog.get(), "SelData");

    click(5);
    EXPECT_EQ(dialog->edNissu->text(), "22");
    EXPECT_EQ(dialog->edJikan->text(), "160:00");
    click(13);
    EXPECT_FALSE(dialog->edNissu->isEnabled());
    EXPECT_TRUE(dialog->edSikyuD->isEnabled());
    EXPECT_EQ(dialog->edSikyuM->text(), " 7");
    EXPECT_EQ(dialog->edSikyuD->text(), "10");
    EXPECT_EQ(dialog->edNissu->text(), "22");  // the salary fields keep their values
    testing_support::screenshot(dialog.get(), "SelDataBonus");

    // Another year: its own saved periods; the chosen period stays.
    dialog->cbTaisyoNen->setCurrentIndex(0);
    dialog->cbTaisyoNenChange();
    EXPECT_EQ(ledger.CurData.FileName, dir / kR7);
    EXPECT_EQ(ledger.CurData.Year, 7);
    EXPECT_TRUE(saved(12));
    EXPECT_FALSE(saved(4));
    EXPECT_EQ(dialog->cbTaisyoNen->currentText(), "令和7年");
}

TEST_F(PeriodSelectionDialogTest, EnteringEmptyHoursProposesDaysTimesTheWorkingDay) {
    dialog->FormShow(true);
    click(6);
    dialog->edNissu->setText("21");
    dialog->edJikan->setText("  0:00");
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(dialog->edJikan, &in);
    EXPECT_EQ(dialog->edJikan->text(), "157:30");
    dialog->edJikan->setText("8");
    QApplication::sendEvent(dialog->edJikan, &in);
    EXPECT_EQ(dialog->edJikan->text(), "8");
}

TEST_F(PeriodSelectionDialogTest, OkRefusesOrOpensThePeriod) {
    dialog->FormShow(true);
    click(6);
    dialog->edNissu->setText(" 0");
    dialog->bbOkClick();
    EXPECT_EQ(box.boxes, QStringList{"所定労働日数と時間を入力して下さい。"});
    EXPECT_EQ(dialog->focusWidget(), dialog->edNissu);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);

    dialog->requestReturn();
    click(5);
    dialog->bbOkClick();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_FALSE(dialog->returnRequested());
    EXPECT_EQ(ledger.CurData.Period, 5);
    EXPECT_EQ(ledger.BasicInfo().CorpName.str(), "株式会社5");
}

TEST_F(PeriodSelectionDialogTest, EnterOnTheFocusedOkButtonPressesIt) {
    dialog->FormShow(true);
    dialog->show();
    dialog->activateWindow();
    click(5);
    dialog->bbOk->setFocus(Qt::TabFocusReason);
    QTest::keyClick(dialog->bbOk, Qt::Key_Return);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(ledger.CurData.Period, 5);
}

TEST_F(PeriodSelectionDialogTest, ANewPeriodWithoutSourceAsksForReferenceData) {
    dialog->FormShow(true);
    std::vector<bool> asked;
    dialog->showReference = [&](bool later) {
        asked.push_back(later);
        return false;
    };
    click(15);
    dialog->edSikyuM->setText("13");
    dialog->bbOkClick();
    EXPECT_EQ(box.boxes.value(0), "支給月日の入力に誤りがあります。");
    EXPECT_EQ(dialog->focusWidget(), dialog->edSikyuM);

    dialog->edSikyuM->setText("12");
    click(3);  // March: February is not saved, April and May are
    dialog->edNissu->setText("20");
    dialog->edJikan->setText("160");
    dialog->bbOkClick();
    EXPECT_EQ(asked, std::vector<bool>{false});
    EXPECT_TRUE(dialog->showSettingsOnOpen());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
}

TEST_F(PeriodSelectionDialogTest, DeleteClearsASavedPeriodAfterTheQuestion) {
    dialog->FormShow(true);
    click(6);
    dialog->ListBoxKeyUp(Qt::Key_Delete);  // not saved: nothing asked
    EXPECT_TRUE(box.boxes.isEmpty());

    click(13);
    box.answer = Answer::No;
    dialog->ListBoxKeyUp(Qt::Key_Delete);
    EXPECT_TRUE(saved(13));
    box.answer = Answer::Yes;
    dialog->ListBoxKeyUp(Qt::Key_Delete);
    EXPECT_EQ(box.boxes.size(), 2);
    EXPECT_EQ(box.boxes.back(), "選択されている給与/賞与のデータを削除しますか？");
    EXPECT_FALSE(saved(13));
    EXPECT_EQ(dialog->edSikyuM->text(), " 6");  // the date is gone: today's
    EXPECT_EQ(readText(dir / kR8)[8 + 12], 0);
}

TEST_F(PeriodSelectionDialogTest, LeavingWithoutOkAsksAsTheRunRequires) {
    int rejected = 0;
    QObject::connect(dialog.get(), &QDialog::rejected, [&] { ++rejected; });
    dialog->FormShow(true);
    box.answer = Answer::No;
    dialog->reject();
    EXPECT_EQ(rejected, 0);
    EXPECT_EQ(box.boxes.back(), "初期設定を中止し、プログラムを終了して宜しいですか？");
    dialog->FormActivate();  // DefJikanD is set: settings were made, no hint
    dialog->reject();
    EXPECT_EQ(box.boxes.back(),
              "処理をする給与対象月/賞与時期の選択を中止し、プログラムを終了して宜しいですか？");
    click(5);
    dialog->bbOkClick();
    const int shown = int(box.boxes.size());
    dialog->reject();
    EXPECT_EQ(rejected, 1);
    EXPECT_EQ(int(box.boxes.size()), shown);
}

TEST_F(PeriodSelectionDialogTest, TheStartHintComesOnceWithoutSettings) {
    platform::IniFile(ini).writeString("Option", "DefJikanD", "0.0");
    dialog->FormShow(true);
    dialog->FormActivate();
    dialog->FormActivate();
    EXPECT_EQ(box.boxes,
              QStringList{"入力する給与または賞与を選択し､必要な情報を入力して下さい。"});
}

TEST_F(PeriodSelectionDialogTest, CreatingAYearSelectsItsEmptyFile) {
    dialog->FormShow(true);
    dialog->CreateYear(9);
    EXPECT_EQ(fs::file_size(dir / "令和9年給与･賞与.dat"), std::uintmax_t(kYearFileSize));
    EXPECT_EQ(dialog->cbTaisyoNen->count(), 3);
    EXPECT_EQ(dialog->cbTaisyoNen->currentText(), "令和9年");
    for (int p = 1; p <= 15; ++p) EXPECT_FALSE(saved(p)) << p;

    NewYearFileDialog inp(ledger);
    inp.FormShow();
    EXPECT_EQ(inp.lbYear->text(), "令和       年");
    inp.btOkClick();
    inp.edYear->setText("8");
    inp.btOkClick();
    EXPECT_EQ(box.boxes, (QStringList{"年の入力エラー", "入力された年のデータは存在します。"}));
    EXPECT_EQ(inp.result(), QDialog::Rejected);
    inp.edYear->setText("10");
    inp.btOkClick();
    EXPECT_EQ(inp.result(), QDialog::Accepted);
    EXPECT_EQ(inp.InputYear, 10);
    inp.edYear->setText("10");
    testing_support::screenshot(&inp, "InpDlg");
}

// However fast the keys follow a click, the figure saved is the one typed: beside
// the figure, at or right of the middle of its last character's ink, or after
// a double or triple click anywhere it replaces the whole of it; before a
// digit it overtypes from there; over a selection (dragged or by Shift+arrows)
// the whole run of keys takes its place; after Home it starts at the figure's
// first digit.
TEST_F(PeriodSelectionDialogTest, AFigureTypedAfterAClickIsSavedAsTyped) {
    using namespace testing_support;
    struct Row {
        QLineEdit* PeriodSelectionDialog::*field;
        const char* text;
        ClickAt at;
        const char* keys;
        const char* shown;
        double saved;
    } rows[] = {
        {&PeriodSelectionDialog::edNissu, "22", kBesideFigure, "18", "18", 18},
        {&PeriodSelectionDialog::edNissu, "22", ClickAt{1}, "5", "25", 25},
        {&PeriodSelectionDialog::edNissu, "22", rightHalfOf(1), "18", "18", 18},
        {&PeriodSelectionDialog::edNissu, " 9", kHome, "8", " 8", 8},
        {&PeriodSelectionDialog::edJikan, "123:00", doubleClickOn(1), "9", "  9:00", 9},
        {&PeriodSelectionDialog::edJikan, "123:00", dragOver(0, 1), "5", " 53:00", 53},
        {&PeriodSelectionDialog::edNissu, "21", inkMiddleOf(1), "20", "20", 20},
        {&PeriodSelectionDialog::edNissu, "21", inkRightOf(1), "20", "20", 20},
        {&PeriodSelectionDialog::edNissu, "21", inkLeftOf(1), "5", "25", 25},
        {&PeriodSelectionDialog::edJikan, "120:00", dragOver(0, 1), "13", "130:00", 130},
        {&PeriodSelectionDialog::edJikan, "168:00", shiftLeftOver(1, 2), "50", "150:00", 150},
        {&PeriodSelectionDialog::edJikan, "168:00", doubleClickOn(4), "160", "160:00", 160},
        {&PeriodSelectionDialog::edJikan, "168:00", doubleClickOn(1), "45", " 45:00", 45},
        {&PeriodSelectionDialog::edJikan, "168:00", doubleClickOn(5), "100:30", "100:30", 100.5},
        {&PeriodSelectionDialog::edJikan, "168:00", tripleClickOn(5), "7:30", "  7:30", 7.5},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message()
                     << row.text << " at " << row.at.character << " how " << row.at.how);
        forEachWayIn([&](bool hadFocus, int pace) {
            dialog->FormShow(true);
            dialog->show();
            dialog->activateWindow();
            click(5);
            const bool days = row.field == &PeriodSelectionDialog::edNissu;
            QLineEdit* field = (*dialog).*row.field;
            field->setText(row.text);
            clickAndType(field, days ? dialog->edJikan : dialog->edNissu, hadFocus, row.at,
                         row.keys, pace);
            typeAtPace("\n", pace);
            EXPECT_EQ(field->text(), row.shown);
            dialog->bbOkClick();
            ASSERT_EQ(dialog->result(), QDialog::Accepted);
            SavePeriod(ledger, dir / kR8);
            const TBasicInfo saved = ReadPeriodBlock(dir / kR8, 5)->BasicInfo;
            EXPECT_DOUBLE_EQ(days ? saved.WorkDays : saved.WorkHours, row.saved);
        });
    }
}

// One Enter in the year presses the default button Ｏ Ｋ.
TEST_F(PeriodSelectionDialogTest, EnterInTheNewYearPressesOk) {
    struct Row {
        const char* keys;
        QDialog::DialogCode result;
        QStringList boxes;
    } rows[] = {
        {"8\n", QDialog::Rejected, {"入力された年のデータは存在します。"}},
        {"9\n", QDialog::Accepted, {}},
    };
    dialog->FormShow(true);  // the open year's era
    NewYearFileDialog inp(ledger);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.keys);
        box.boxes.clear();
        inp.setResult(QDialog::Rejected);
        inp.show();
        inp.activateWindow();
        inp.FormShow();  // the year emptied and focused
        QTest::qWait(50);
        ASSERT_EQ(QApplication::focusWidget(), inp.edYear);
        testing_support::typeAtPace(row.keys, 100);
        EXPECT_EQ(inp.result(), row.result);
        EXPECT_EQ(box.boxes, row.boxes);
    }
    EXPECT_EQ(inp.InputYear, 9);
}

TEST_F(PeriodSelectionDialogTest, ChooseAtOnceTakesTodaysMonth) {
    dialog->acceptAtOnce = true;
    dialog->requestReturn();
    EXPECT_TRUE(dialog->choose(ledger));
    EXPECT_EQ(ledger.CurData.Period, 6);
    EXPECT_FALSE(dialog->returnRequested());
}

// A year file cut short: the error stands over the shown dialog, which stays
// usable to pick another year or leave; the damaged file is neither opened nor
// cleared, and not one byte of it changes.
TEST_F(PeriodSelectionDialogTest, ACutShortYearFileLeavesTheDialogUsable) {
    fs::resize_file(dir / kR8, 1000000);
    const std::string bytes = readText(dir / kR8);
    dialog->show();
    EXPECT_TRUE(box.boxes.isEmpty());  // nothing before the dialog stands
    QApplication::processEvents();
    // Settings exist (DefJikanD): the error only, no start hint.
    EXPECT_EQ(box.boxes, QStringList{"ファイルの末尾以降を読み込みました"});
    for (QWidget* w : std::initializer_list<QWidget*>{
             dialog->cbTaisyoNen, dialog->ListBox, dialog->edNissu, dialog->bbOk, dialog->bbCancel})
        EXPECT_TRUE(w->isVisible() && w->width() > 20) << w->metaObject()->className();
    EXPECT_GT(dialog->height(), dialog->ListBox->height());
    EXPECT_TRUE(dialog->mnDataRestore->isEnabled());
    click(13);
    EXPECT_TRUE(dialog->edSikyuM->isEnabled());
    click(5);
    EXPECT_EQ(dialog->lbNissu->text(), "5月分･所定労働日数");

    box.boxes.clear();
    dialog->edNissu->setText("20");
    dialog->edJikan->setText("160");
    dialog->bbOkClick();                   // the damaged year is not opened
    dialog->ListBoxKeyUp(Qt::Key_Delete);  // nor cleared: no question
    EXPECT_EQ(box.boxes, QStringList(2, "ファイルの末尾以降を読み込みました"));
    EXPECT_EQ(dialog->focusWidget(), dialog->cbTaisyoNen);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    box.answer = Answer::No;
    dialog->reject();
    EXPECT_EQ(box.boxes.back(),
              "処理をする給与対象月/賞与時期の選択を中止し、プログラムを終了して宜しいですか？");
    EXPECT_TRUE(dialog->isVisible());

    dialog->cbTaisyoNen->setCurrentIndex(0);
    dialog->cbTaisyoNenChange();
    click(12);
    dialog->bbOkClick();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(ledger.CurData.FileName, dir / kR7);
    EXPECT_EQ(readText(dir / kR8), bytes);
}

struct ReferenceDataDialogTest : PeriodSelectionDialogTest {
    ReferenceDataDialog ref{ledger};

    // Spins the event loop until the dialog finished or the time is up.
    bool finishes(int ms) {
        bool done = false;
        QObject::connect(&ref, &QDialog::finished, [&] { done = true; });
        QElapsedTimer t;
        t.start();
        while (!done && t.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 10);
        return done;
    }
};

TEST_F(ReferenceDataDialogTest, OffersSavedMonthsAndTakesTheChosenOne) {
    ledger.CurData.Era = "令和";
    ledger.CurData.Year = 8;
    ledger.CurData.Period = 3;
    ledger.Employee(2).Key.set("stale");
    ref.LaterDataExist = true;
    ref.FormShow();
    EXPECT_TRUE(ledger.Employee(2).Key.empty());  // memory starts empty
    ASSERT_EQ(ref.ListBox->count(), 3);
    EXPECT_EQ(ref.ListBox->item(0)->text(), "令和7年12月分給与");
    EXPECT_EQ(ref.ListBox->item(1)->text(), "令和8年 4月分給与");
    EXPECT_EQ(ref.ListBox->currentRow(), 1);
    EXPECT_EQ(box.boxes.back(), QString::fromStdString(std::string(kPreviousAndLaterExist)));
    testing_support::screenshot(&ref, "RefData");

    ref.bbOkClick();
    EXPECT_EQ(ref.result(), QDialog::Accepted);
    EXPECT_EQ(box.boxes.back(), QString::fromStdString(std::string(kCheckReferencedData)));
    EXPECT_EQ(ledger.BasicInfo().CorpName.str(), "株式会社4");

    ref.FormShow();
    ref.reject();
    EXPECT_EQ(ref.result(), QDialog::Rejected);
    EXPECT_EQ(box.boxes.back(), QString::fromStdString(std::string(kNoReferenceTaken)));
    EXPECT_TRUE(ledger.BasicInfo().CorpName.empty());
}

TEST_F(ReferenceDataDialogTest, NothingToOfferClosesByItselfWithOneMessage) {
    fs::remove(dir / kR7);
    writeYear(dir / kR8, {13});
    ledger.CurData.Era = "令和";
    ref.FormShow();
    EXPECT_EQ(ref.ListBox->count(), 0);
    EXPECT_TRUE(ref.Timer1->isActive());
    EXPECT_TRUE(finishes(2000));
    EXPECT_EQ(ref.result(), QDialog::Rejected);
    EXPECT_EQ(box.boxes, QStringList{QString::fromStdString(std::string(kNoReferenceData))});
}

}  // namespace
}  // namespace ledger::ui
