#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QHeaderView>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "ledger/Ledger.h"
#include "ledger/PayrollYearFile.h"
#include "ledger/ui/ItemGridView.h"
#include "ledger/ui/MainWindow.h"
#include "platform/ui/Ime.h"
#include "support/PersonTyping.h"
#include "support/TempDir.h"
#include "ui/BoxRecorder.h"
#include "ui/Screenshot.h"

namespace {
using namespace ledger::ui;
namespace fs = std::filesystem;
using platform::ui::Answer;
using testing_support::BoxRecorder;
using testing_support::TempDir;

// Rows of the default salary grid.
enum Row {
    kDaysWorked = 1,
    kPaidLeave = 2,
    kAbsent = 3,
    kSpecialLeave = 4,
    kHoursWorked = 5,
    kOvertime = 6,
    kLateHours = 9,
    kPaidLeaveLeft = 10,
};

// A main window with November 令和8 open and three active employees: 山田 (月給),
// 佐藤 (日給), 鈴木 (時間給).
struct MainWindowGridTest : ::testing::Test {
    TempDir drive;
    ledger::FixedClock clock{{2026, 11, 1, 9, 5, 0}};
    BoxRecorder box;
    fs::path settings = drive / "Quenby/Tolvane4";
    ledger::Ledger ledger{clock};
    std::unique_ptr<MainWindow> w;
    ItemGridView* grid = nullptr;

    void SetUp() override {
        QApplication::setQuitOnLastWindowClosed(false);
        fs::create_directories(settings);
        w = std::make_unique<MainWindow>(ledger);
        w->ProgramPath = TOLVANE_BINARY_DIR;
        w->IniFileName = settings / "Tolvane.ini";
        w->DataPath = settings / "Data";
        w->PreviousVersionPath = drive / "Quenby/Tolvane3";
        ASSERT_TRUE(w->FormCreate());
        w->show();
        w->FormActivate();
        grid = w->StrGrid;
    }

    void TearDown() override {
        box.answer = Answer::No;  // do not save
        w->lifecycle().skipClosePrompts = true;
        w->close();
    }

    void addEmployee(int slot, const std::string& key, const std::string& name, int payForm) {
        ledger::TEmployeeRec& e = ledger.Employee(slot);
        e.Key.set(key);
        e.Name.set(name);
        e.Status = 1;
        e.PayForm = std::uint8_t(payForm);
    }

    void addThree() {
        addEmployee(1, "1", "山田", 1);
        addEmployee(2, "2", "佐藤", 2);
        addEmployee(3, "3", "鈴木", 3);
        w->imSyainEdit_Click(false);
    }

    static void key(QWidget* to, int k, const QString& text = {}) {
        QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier, text);
        QApplication::sendEvent(to, &press);
        QKeyEvent release(QEvent::KeyRelease, k, Qt::NoModifier, text);
        QApplication::sendEvent(to, &release);
    }
    // Types into the cell's editor as a person would, replacing what it shows.
    void typeInto(int col, int row, const QString& text) {
        grid->selectCell(col, row);
        ASSERT_TRUE(grid->editor()) << col << "," << row;
        grid->editor()->selectAll();
        for (QChar c : text) key(grid->editor(), c.unicode(), QString(c));
    }
    std::string cell(int col, int row) const { return ledger.grid.cell(col, row); }
};

TEST_F(MainWindowGridTest, OpeningAPeriodShowsItsNameAndItsEmployees) {
    // The title alone, whatever the application object is called.
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Pembrel Tolvane4　　【令和8年11月分給与】"));
    // No employees yet: no columns, nothing to open in the detail entry.
    EXPECT_FALSE(w->imDataEdit->isEnabled());
    EXPECT_EQ(grid->model()->rowCount(), 10);
    EXPECT_EQ(grid->model()->columnCount(), 80);
    EXPECT_EQ(grid->model()->headerData(0, Qt::Horizontal).toString(), "");
    EXPECT_EQ(grid->model()->headerData(0, Qt::Vertical).toString(), "出勤日数");
    EXPECT_TRUE(w->sbPrnFormK->isEnabled());
    EXPECT_FALSE(w->sbPrnFormS->isEnabled());
    // Printing is not there yet.
    EXPECT_FALSE(w->sbMeisaihyo->isEnabled());
    EXPECT_FALSE(w->sbDaicho->isEnabled());

    addThree();
    EXPECT_TRUE(w->imDataEdit->isEnabled());
    EXPECT_EQ(grid->model()->headerData(1, Qt::Horizontal).toString(), "佐藤");
    EXPECT_EQ(grid->model()->data(grid->model()->index(0, 0)).toString(), "  0.00");
    EXPECT_EQ(grid->model()->flags(grid->model()->index(kAbsent - 1, 1)) & Qt::ItemIsEditable,
              Qt::NoItemFlags);
    EXPECT_NE(grid->model()->flags(grid->model()->index(kAbsent - 1, 0)) & Qt::ItemIsEditable,
              Qt::NoItemFlags);

    bool reported = false;
    w->setReportDialogs(
        {[] { return true; }, [&](const ledger::PrintRequest&) { reported = true; }});
    EXPECT_TRUE(w->sbMeisaihyo->isEnabled());
    EXPECT_TRUE(w->sbDaicho->isEnabled());
    w->sbKinsyuListClick();
    EXPECT_TRUE(reported);
}

TEST_F(MainWindowGridTest, TypedFiguresAreCommittedWhenTheCellIsLeftByEnter) {
    addThree();
    typeInto(1, kHoursWorked, "1:30");
    EXPECT_EQ(grid->editor()->text(), "1:30");
    key(grid->editor(), Qt::Key_Return);
    EXPECT_EQ(grid->currentRow(), kOvertime);
    EXPECT_EQ(cell(1, kHoursWorked), "  1:30");

    // A key the row does not take is dropped.
    typeInto(1, kDaysWorked, "2:1");
    EXPECT_EQ(grid->editor()->text(), "21");
    key(grid->editor(), Qt::Key_Enter);
    EXPECT_EQ(cell(1, kDaysWorked), " 21.00");

    // A value beyond the format is reported and becomes 0.
    typeInto(1, kDaysWorked, "123");
    key(grid->editor(), Qt::Key_Return);
    EXPECT_EQ(box.boxes, QStringList{QStringLiteral("入力した数値が上限を超えました。")});
    EXPECT_EQ(cell(1, kDaysWorked), "  0.00");

    // The recalculation reads the committed figure back.
    w->SaveCommand();
    EXPECT_DOUBLE_EQ(ledger.Attendance(1).Values[ledger::kAttHoursWorked], 1.5);
}

TEST_F(MainWindowGridTest, EnterFollowsTheRowsOfTheColumnsPayType) {
    addThree();
    // 日給: 有休日数 → 特別休暇日数 (欠勤日数 is 月給 only), and from the last row
    // back to the first.
    grid->selectCell(2, kPaidLeave);
    key(grid->editor(), Qt::Key_Return);
    EXPECT_EQ(grid->currentRow(), kSpecialLeave);
    grid->selectCell(2, kPaidLeaveLeft);
    key(grid->editor(), Qt::Key_Return);
    EXPECT_EQ(grid->currentRow(), kDaysWorked);
    // 時間給: 実働時間 → 有休残日数.
    grid->selectCell(3, kHoursWorked);
    key(grid->editor(), Qt::Key_Return);
    EXPECT_EQ(grid->currentRow(), kPaidLeaveLeft);
    // A column without an employee takes the next row, and no input.
    grid->selectCell(5, kAbsent);
    EXPECT_EQ(grid->editor(), nullptr);
    key(grid, Qt::Key_Return);
    EXPECT_EQ(grid->currentRow(), kAbsent + 1);
    key(grid, Qt::Key_1, "1");
    EXPECT_EQ(grid->editor(), nullptr);
    EXPECT_EQ(cell(5, kAbsent + 1), "");
}

// Typed as a person types, with the default settings (the editor shows at
// once with its text selected, overtype on).
TEST_F(MainWindowGridTest, KeysTypedAtOnceInAFreshCellAllArrive) {
    addThree();
    grid->setFocus();
    QTest::qWait(300);  // the window's own move to the first cell comes first
    for (int ms : {50, 120, 200}) {
        grid->selectCell(1, kDaysWorked);
        ASSERT_TRUE(grid->editor());
        testing_support::typeAtPace("10\n4.5\n", ms);
        EXPECT_EQ(cell(1, kDaysWorked), " 10.00") << ms << " ms";
        EXPECT_EQ(cell(1, kPaidLeave), "  4.50") << ms << " ms";
        EXPECT_EQ(grid->currentRow(), kAbsent);
        grid->selectCell(1, kDaysWorked);
        testing_support::typeAtPace("0\n0\n", ms);
    }
}

TEST_F(MainWindowGridTest, OvertypingTheSameDigitsLeavesTheFigureAsItWas) {
    addThree();
    grid->setFocus();
    QTest::qWait(300);
    grid->selectCell(1, kHoursWorked);
    testing_support::typeAtPace("160:00\n", 100);
    ASSERT_EQ(cell(1, kHoursWorked), "160:00");
    grid->selectCell(1, kHoursWorked);
    QTest::qWait(100);
    testing_support::pressAtPace(Qt::Key_Home, 100);
    testing_support::typeAtPace("16\n", 100);
    EXPECT_EQ(cell(1, kHoursWorked), "160:00");
    // Over a different digit it writes: 1 over 6.
    grid->selectCell(1, kHoursWorked);
    testing_support::pressAtPace(Qt::Key_Home, 100);
    testing_support::pressAtPace(Qt::Key_Right, 100);
    testing_support::typeAtPace("2\n", 100);
    EXPECT_EQ(cell(1, kHoursWorked), "120:00");
}

// However fast the keys follow a click into the open editor, the figure saved
// is the one typed: beside it, at or right of the middle of its last
// character's ink, or after a double or triple click anywhere they replace the
// whole of it; before a digit they overtype; over a selection (dragged or by
// Shift+arrows) the whole run of keys takes its place.
TEST_F(MainWindowGridTest, AFigureTypedAfterAClickInTheCellIsTakenAsTyped) {
    using namespace testing_support;
    struct Row {
        int item;
        int value;           // its index in the attendance record
        const char* figure;  // as the open editor shows it
        ClickAt at;          // beside it: right of it
        const char* keys;
        const char* cell;
        double saved;
    } rows[] = {
        {kDaysWorked, ledger::kAttDaysWorked, "20.00", kBesideFigure, "5", "  5.00", 5},
        {kDaysWorked, ledger::kAttDaysWorked, "20.00", ClickAt{1}, "1", " 21.00", 21},
        {kDaysWorked, ledger::kAttDaysWorked, "20.00", rightHalfOf(4), "5", "  5.00", 5},
        {kDaysWorked, ledger::kAttDaysWorked, "20.00", ClickAt{4}, "5", " 20.05", 20.05},
        {kHoursWorked, ledger::kAttHoursWorked, "160:00", dragOver(1, 2), "5", " 15:00", 15},
        {kHoursWorked, ledger::kAttHoursWorked, "120:00", dragOver(0, 1), "13", "130:00", 130},
        {kHoursWorked, ledger::kAttHoursWorked, "120:00", dragOver(0, 2), "135", "135:00", 135},
        {kPaidLeaveLeft, ledger::kAttPaidLeaveLeft, "10.00", dragOver(0, 1), "15", " 15.00", 15},
        {kLateHours, ledger::kAttLateHours, "12:30", shiftLeftOver(0, 1), "10", " 10:30", 10.5},
        {kDaysWorked, ledger::kAttDaysWorked, "20.00", homeShiftRightTo(0, 1), "18", " 18.00", 18},
        {kHoursWorked, ledger::kAttHoursWorked, "168:00", doubleClickOn(4), "160", "160:00", 160},
        {kHoursWorked, ledger::kAttHoursWorked, "168:00", doubleClickOn(1), "45", " 45:00", 45},
        {kHoursWorked, ledger::kAttHoursWorked, "168:00", doubleClickOn(5), "100:30", "100:30",
         100.5},
        {kDaysWorked, ledger::kAttDaysWorked, "20.00", doubleClickOn(4), "5", "  5.00", 5},
        {kDaysWorked, ledger::kAttDaysWorked, "20.00", tripleClickOn(0), "18", " 18.00", 18},
        {kHoursWorked, ledger::kAttHoursWorked, "8:01", inkRightOf(3), "160", "160:00", 160},
        {kHoursWorked, ledger::kAttHoursWorked, "8:01", inkMiddleOf(3), "20", " 20:00", 20},
        {kHoursWorked, ledger::kAttHoursWorked, "8:01", inkLeftOf(3), "5", "  8:05", 8 + 5 / 60.0},
    };
    addThree();
    grid->setFocus();
    QTest::qWait(300);
    for (const Row& row : rows) {
        for (int pace : kTypingPaces) {
            SCOPED_TRACE(testing::Message() << row.figure << " at " << row.at.character << " how "
                                            << row.at.how << " " << pace);
            grid->selectCell(1, row.item);
            typeAtPace(QString(row.figure) + "\n", 0);
            grid->selectCell(1, row.item);
            QTest::qWait(100);
            ASSERT_TRUE(grid->editor());
            ASSERT_EQ(grid->editor()->text(), row.figure);
            if (row.at.character < 0)
                clickAtEnd(grid->editor());
            else
                clickInto(grid->editor(), row.at);
            QTest::qWait(pace);
            typeAtPace(row.keys, pace);
            typeAtPace("\n", pace);
            EXPECT_EQ(cell(1, row.item), row.cell);
            w->SaveCommand();
            EXPECT_DOUBLE_EQ(ledger::ReadPeriodBlock(ledger.CurData.FileName, 11)
                                 ->AttendanceTbl[0]
                                 .Values[row.value],
                             row.saved);
        }
    }
}

// Where the figure is drawn in a cell: the box of its ink.
QRect inkIn(const QImage& cell) {
    QRect box;
    for (int y = 1; y < cell.height() - 1; ++y)
        for (int x = 1; x < cell.width() - 1; ++x)
            if (qGray(cell.pixel(x, y)) < 128) box |= QRect(x, y, 1, 1);
    return box;
}

// Opening a cell leaves its figure where the closed cell drew it, so a second
// click aimed at a digit lands on that digit.
TEST_F(MainWindowGridTest, TheOpenCellShowsItsFigureWhereTheClosedCellDid) {
    struct Row {
        int item;
        const char* typed;
    } rows[] = {
        {kDaysWorked, "5"},   {kDaysWorked, "20"},     {kHoursWorked, "160:00"},
        {kLateHours, "2:30"}, {kPaidLeaveLeft, "1.5"},
    };
    addThree();
    grid->setFocus();
    QTest::qWait(300);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.typed);
        grid->selectCell(1, row.item);
        testing_support::typeAtPace(QString(row.typed) + "\n", 0);
        const QRect at = grid->visualRect(grid->gridModel()->index(row.item - 1, 0));
        const QRect closed = inkIn(grid->viewport()->grab(at).toImage());
        grid->selectCell(1, row.item);
        ASSERT_TRUE(grid->editor());
        // Neither the selection nor the caret is the figure.
        grid->editor()->deselect();
        grid->editor()->setReadOnly(true);
        const QRect open = inkIn(grid->viewport()->grab(at).toImage());
        grid->editor()->setReadOnly(false);
        EXPECT_FALSE(closed.isEmpty());
        EXPECT_EQ(open, closed);
    }
}

TEST_F(MainWindowGridTest, EditingTheGridWritesNoWarnings) {
    static QStringList warnings;
    warnings.clear();
    QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
            if (type != QtDebugMsg && type != QtInfoMsg) warnings << text;
        });
    addThree();
    grid->setFocus();
    QTest::qWait(300);
    grid->selectCell(1, kDaysWorked);
    testing_support::typeAtPace("20\n1\n\n", 60);
    grid->selectCell(2, kDaysWorked);
    testing_support::typeAtPace("3\n", 60);
    w->SaveCommand();  // commits the open cell
    QTest::qWait(50);
    qInstallMessageHandler(previous);
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join('\n').toStdString();
    EXPECT_EQ(cell(1, kDaysWorked), " 20.00");
    EXPECT_EQ(cell(2, kDaysWorked), "  3.00");
}

TEST_F(MainWindowGridTest, WithoutAutoSelectTheEditorOpensOnAKeyTheRowTakes) {
    ledger.sysOption.autoSelect = false;
    addThree();
    grid->setFocus();
    grid->selectCell(1, kDaysWorked);
    EXPECT_EQ(grid->editor(), nullptr);
    key(grid, Qt::Key_Colon, ":");
    EXPECT_EQ(grid->editor(), nullptr);
    key(grid, Qt::Key_2, "2");
    ASSERT_NE(grid->editor(), nullptr);
    EXPECT_EQ(grid->editor()->text(), "2");
    key(grid->editor(), Qt::Key_Return);
    EXPECT_EQ(cell(1, kDaysWorked), "  2.00");
    EXPECT_EQ(grid->currentRow(), kPaidLeave);
}

TEST_F(MainWindowGridTest, LeavingPaidLeaveDaysFillsTheRemainderFromLastMonth) {
    addThree();
    // October holds 10 days left for 山田 and 佐藤.
    ledger.CurData.Period = 10;
    ledger.Attendance(1).Values[ledger::kAttPaidLeaveLeft] = 10;
    ledger.Attendance(2).Values[ledger::kAttPaidLeaveLeft] = 10;
    ledger::SavePeriod(ledger, ledger.CurData.FileName);
    ledger.CurData.Period = 11;
    ledger.Attendance(1).Values[ledger::kAttPaidLeaveLeft] = 0;
    ledger.Attendance(2).Values[ledger::kAttPaidLeaveLeft] = 3;
    w->imSyainEdit_Click(false);

    typeInto(1, kPaidLeave, "1.5");
    key(grid->editor(), Qt::Key_Return);
    EXPECT_EQ(cell(1, kPaidLeaveLeft), "  8.50");
    typeInto(2, kPaidLeave, "1");
    key(grid->editor(), Qt::Key_Return);
    EXPECT_EQ(cell(2, kPaidLeaveLeft), "  3.00");
    EXPECT_TRUE(box.boxes.isEmpty());
}

TEST_F(MainWindowGridTest, CellsAreDrawnInTheGridsColours) {
    addThree();
    w->resize(900, 500);
    grid->selectCell(1, kPaidLeaveLeft);
    QApplication::processEvents();
    const QImage img = grid->grab().toImage();
    testing_support::screenshot(w.get(), "main-window");
    for (QMenu* m : {w->pnSetup, w->pnPrint}) {
        m->adjustSize();
        testing_support::screenshot(m, m == w->pnSetup ? "main-setup-menu" : "main-print-menu");
    }
    auto colourAt = [&](int col, int row) {
        // Column and row 0 are the headers; the bottom right of a cell is clear
        // of its text.
        return QColor(img.pixel(col * ItemGridView::kColumnWidth + 90 + grid->frameWidth(),
                                row * ItemGridView::kRowHeight + 18 + grid->frameWidth()));
    };
    EXPECT_EQ(colourAt(0, 0), QColor(94, 172, 228));  // the corner
    EXPECT_EQ(colourAt(1, 0), QColor(94, 172, 228));
    EXPECT_EQ(colourAt(0, 1), QColor(94, 172, 228));
    EXPECT_EQ(colourAt(2, kAbsent), QColor(204, 221, 221));  // 日給: not typed
    EXPECT_EQ(colourAt(1, kAbsent), grid->palette().color(QPalette::Base));
    EXPECT_EQ(colourAt(5, kAbsent), grid->palette().color(QPalette::Base));  // no employee
}

TEST_F(MainWindowGridTest, ABonusPeriodTypesTheBonusAndItsOwnLayoutButton) {
    addThree();
    ledger.CurData.Period = 13;
    ledger.Payment(2).Amounts[ledger::kPayBase] = 500000;
    w->OpenPeriod();
    EXPECT_TRUE(w->windowTitle().endsWith(QStringLiteral("【令和8年・夏期賞与】")));
    EXPECT_FALSE(w->sbPrnFormK->isEnabled());
    EXPECT_TRUE(w->sbPrnFormS->isEnabled());
    ASSERT_EQ(grid->model()->rowCount(), 2);
    EXPECT_EQ(grid->model()->headerData(0, Qt::Vertical).toString(), "賞与");
    EXPECT_EQ(cell(2, 1), "500,000");
    typeInto(1, 1, "12345");
    key(grid->editor(), Qt::Key_Return);
    EXPECT_EQ(cell(1, 1), " 12,345");
    EXPECT_EQ(grid->currentRow(), 2);
}

TEST_F(MainWindowGridTest, TheKeysThatSwitchTheInputMethodOnSwitchItOffAgain) {
    addThree();
    grid->selectCell(1, 1);
    for (QWidget* field : {static_cast<QWidget*>(grid), static_cast<QWidget*>(grid->editor())})
        field->setAttribute(Qt::WA_InputMethodEnabled, true);
    key(grid->editor(), Qt::Key_Zenkaku_Hankaku);
    QEventLoop loop;
    QTimer::singleShot(200, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_FALSE(platform::ui::imeOpen(grid));
    EXPECT_FALSE(platform::ui::imeOpen(grid->editor()));
}

TEST_F(MainWindowGridTest, ClickingAnEmployeesTitleAsksForTheDetailEntry) {
    addThree();
    std::vector<int> asked;
    QObject::connect(grid, &ItemGridView::employeeTitleClicked,
                     [&](int col) { asked.push_back(col); });
    QWidget* header = grid->horizontalHeader()->viewport();
    auto release = [&](int x) {
        QMouseEvent e(QEvent::MouseButtonRelease, QPointF(x, 5), header->mapToGlobal(QPointF(x, 5)),
                      Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(header, &e);
    };
    release(ItemGridView::kColumnWidth + 10);      // column 2: 佐藤
    release(4 * ItemGridView::kColumnWidth + 10);  // column 5: nobody
    EXPECT_EQ(asked, std::vector<int>{2});
    EXPECT_EQ(grid->currentCol(), 2);
}

TEST_F(MainWindowGridTest, ReturnCancelledAtTheSaveQuestionReturnsAtTheNextClose) {
    addThree();
    const QString save = QStringLiteral("データが変更されています。保存しますか？");
    const QString exit = QStringLiteral("プログラムを終了しますか？");
    // The save question cancelled: the window stays with its period.
    box.answer = Answer::Cancel;
    w->imReturnClick();
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(box.boxes, QStringList{save});
    EXPECT_EQ(ledger.Employee(1).Name.str(), "山田");

    // The next close goes to the period selection, not to the exit question: the
    // stand-in selection takes the month again from the file, and the window stays.
    box.answer = Answer::No;
    EXPECT_FALSE(w->close());
    EXPECT_EQ(box.boxes, (QStringList{save, save}));
    EXPECT_TRUE(ledger.Employee(1).Key.empty());

    // The return done, a close asks whether to end again.
    box.boxes.clear();
    EXPECT_FALSE(w->close());
    EXPECT_EQ(box.boxes, QStringList{exit});
    EXPECT_TRUE(w->isVisible());
}

}  // namespace
