#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>

#include "ledger/EmployeeList.h"
#include "ledger/Era.h"
#include "ledger/Ledger.h"
#include "ledger/PayrollYearFile.h"
#include "ledger/YearFileName.h"
#include "ledger/ui/AboutBox.h"
#include "platform/IniFile.h"
#include "platform/Sjis.h"
#include "support/TempDir.h"
#include "ui/BoxRecorder.h"
#include "ui/Screenshot.h"
#include "withholding/WithholdingFile.h"
#include "withholding/ui/CompanyInfoDialog.h"
#include "withholding/ui/LoadNoticeDialog.h"
#include "withholding/ui/MainWindow.h"

namespace {
namespace fs = std::filesystem;
using testing_support::BoxRecorder;
using testing_support::TempDir;
using withholding::WithholdingData;
using withholding::ui::CompanyInfoDialog;
using withholding::ui::MainWindow;

struct Employee {
    int slot;
    const char* name;
    const char* dept;
    int kind;
    int status;
};

// A main window that has run its start sequence on a saved December.
struct LoadedMain {
    TempDir dir;
    fs::path data = dir / "Quenby/Tolvane4/Data";
    fs::path yearFile;
    ledger::FixedClock clock{{2025, 12, 20, 9, 0, 0}};
    ledger::Ledger ledger{clock};
    WithholdingData records;
    std::unique_ptr<MainWindow> main;
    CompanyInfoDialog* corpInfo = nullptr;

    explicit LoadedMain(std::initializer_list<Employee> staff, const std::string& era = "令和",
                        int year = 7)
        : yearFile(data / ledger::YearFileName(era, year)) {
        fs::create_directories(data);
        ledger::FixedClock c{{2025, 12, 20, 9, 0, 0}};
        ledger::Ledger l(c);
        l.dataPath = data;
        l.CurData = {yearFile, era, year, 12};
        ledger::CreateDataFile(l, yearFile);
        l.BasicInfo().CorpName.set("株式会社テスト");
        for (const auto& e : staff) {
            auto& rec = l.Employee(e.slot);
            rec.Key.set("k" + std::to_string(e.slot));
            rec.Name.set(e.name);
            rec.Dept.set(e.dept);
            rec.Kind = static_cast<std::uint8_t>(e.kind);
            rec.PayForm = 1;
            rec.Status = static_cast<std::uint8_t>(e.status);
        }
        ledger::SavePeriod(l, yearFile);

        main = std::make_unique<MainWindow>(ledger, records, dir / "Quenby/Tolvane4/Tolvane.ini");
        corpInfo = new CompanyInfoDialog(ledger, records, main.get());
        main->setCorpInfo(corpInfo);
        main->passwordGate = [] { return true; };
        main->chooseFile = [this] { return std::optional<fs::path>(yearFile); };
        main->runModal = [](QDialog&) { return false; };
    }

    QStringList lines() const {
        QStringList v;
        for (int i = 0; i < main->ListBox->count(); ++i) v << main->ListBox->item(i)->text();
        return v;
    }
    std::vector<int> checked() const {
        std::vector<int> v;
        for (int i = 0; i < main->ListBox->count(); ++i)
            if (main->ListBox->item(i)->checkState() == Qt::Checked)
                v.push_back(main->ListBox->item(i)->data(Qt::UserRole).toInt());
        return v;
    }
};

TEST(YearEndMain, StartFillsTheListAndChecksTheComputedEmployees) {
    BoxRecorder boxes;
    LoadedMain m({{1, "山田太郎", "総務部", 2, 1},
                  {2, "佐藤花子", "営業部", 4, 3},
                  {4, "Suzuki", "経理部", 1, 1}});
    m.main->FormActivate();
    EXPECT_FALSE(m.main->starting());
    EXPECT_EQ(m.main->statusText(), QStringLiteral("株式会社テスト 令和7年分"));
    ASSERT_EQ(m.lines().size(), 3);
    EXPECT_TRUE(m.lines()[0].startsWith(QStringLiteral(" 01  山田太郎")));
    EXPECT_TRUE(m.lines()[2].endsWith(QStringLiteral("未処理      004")));
    // The retired employee is drawn in silver, odd lines in light blue.
    EXPECT_EQ(m.main->ListBox->item(1)->foreground().color(), QColor(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(m.main->ListBox->item(1)->background().color(), QColor(0xDD, 0xED, 0xFF));
    EXPECT_EQ(m.main->ListBox->item(0)->background().color(), QColor(Qt::white));
    EXPECT_EQ(m.main->ListBox->currentRow(), 0);
    EXPECT_EQ(boxes.boxes, QStringList{QStringLiteral("基本設定の各項目を設定して下さい。")});
    EXPECT_TRUE(m.main->mnPrnSiharai->isVisible());  // 令和: the newest layout
    EXPECT_TRUE(fs::exists(m.data / "システムログ.dat"));
    EXPECT_EQ(m.main->aboutBox()->programName(), QStringLiteral("Ostrevin"));
    m.main->show();
    testing_support::screenshot(m.main.get(), "yearend_main");
}

TEST(YearEndMain, SortingKeepsCheckMarksAndTheLastSectionDoesNotSort) {
    BoxRecorder boxes;
    LoadedMain m(
        {{1, "suzuki", "総務部", 2, 1}, {2, "Abe", "営業部", 4, 1}, {3, "kato", "経理部", 1, 1}});
    m.main->FormActivate();
    m.main->ListBox->item(2)->setCheckState(Qt::Checked);  // slot 3
    m.main->HeadCtrlSectionClick(1);                       // by name
    EXPECT_TRUE(m.lines()[0].startsWith(QStringLiteral(" 02  Abe")));
    EXPECT_EQ(m.checked(), std::vector<int>{3});
    const QStringList before = m.lines();
    m.main->HeadCtrlSectionClick(5);
    EXPECT_EQ(m.lines(), before);
    m.main->HeadCtrlSectionClick(2);  // by department: 営業部, 経理部, 総務部
    EXPECT_EQ(m.main->list().key(), withholding::kByDept);
    EXPECT_EQ(m.checked(), std::vector<int>{3});
}

TEST(YearEndMain, CommandsWithoutTargetsAreRefused) {
    BoxRecorder boxes;
    LoadedMain m({{1, "山田太郎", "総務部", 2, 1}});
    std::vector<withholding::ui::YearEndPrintRequest> printed;
    std::vector<int> edited;
    m.main->setDialogs({[&](int slot, bool) { edited.push_back(slot); }, nullptr,
                        [&](const auto& r) { printed.push_back(r); }});
    m.main->FormActivate();
    boxes.boxes.clear();
    EXPECT_TRUE(m.main->mnDataInput->isEnabled());
    EXPECT_FALSE(m.main->mnConfig->isEnabled());

    m.main->mnPrintClick(199);
    EXPECT_EQ(
        boxes.boxes,
        QStringList{QStringLiteral(
            "印刷対象者が選択されていません。\r(No欄のチェックボックスをチェックして選択します)")});
    m.main->ListBox->item(0)->setCheckState(Qt::Checked);
    m.main->mnPrintClick(299);
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_EQ(printed[0].caption, QStringLiteral("還付金通知書"));
    EXPECT_EQ(printed[0].checked, std::vector<int>{1});
    EXPECT_TRUE(printed[0].newLayout);

    m.main->ListBox->setCurrentRow(-1);
    boxes.boxes.clear();
    m.main->btDataInputClick();
    EXPECT_EQ(boxes.boxes, QStringList{QStringLiteral("処理の対象者が選択されていません。")});
    EXPECT_TRUE(edited.empty());
    m.main->ListBox->setCurrentRow(0);
    m.main->btDataInputClick();
    EXPECT_EQ(edited, std::vector<int>{1});
    EXPECT_EQ(m.main->ListBox->currentRow(), 0);
}

// Checking and unchecking change the marks only: the selected line stays, so
// データ入力 opens the employee chosen before.
TEST(YearEndMain, CheckCommandsKeepTheSelectedLine) {
    BoxRecorder boxes;
    LoadedMain m({{1, "山田太郎", "総務部", 2, 1},
                  {2, "佐藤花子", "営業部", 4, 1},
                  {3, "Suzuki", "経理部", 1, 1}});
    std::vector<int> edited;
    m.main->setDialogs({[&](int slot, bool) { edited.push_back(slot); }, nullptr, nullptr});
    m.main->FormActivate();
    m.records.Record(3).Status = 1;  // computed: 済み
    m.main->FillEmployeeList(0);
    m.main->ListBox->item(0)->setCheckState(Qt::Checked);
    m.main->ListBox->setCurrentRow(1);
    const struct {
        const char* caption;
        std::vector<int> checked;
    } clicks[] = {{"対象社員をチェック", {}}, {"全てのチェックを解除", {3}}};
    for (const auto& c : clicks) {
        m.main->mnAllOnOffP->trigger();
        EXPECT_EQ(m.main->mnAllOnOffP->text(), QString::fromUtf8(c.caption));
        EXPECT_EQ(m.checked(), c.checked) << c.caption;
        EXPECT_EQ(m.main->ListBox->currentRow(), 1) << c.caption;
    }
    boxes.boxes.clear();
    m.main->btDataInputClick();
    EXPECT_TRUE(boxes.boxes.isEmpty());
    EXPECT_EQ(edited, std::vector<int>{2});
}

// The header's sections keep their design widths, and a selected line is drawn
// on the selection colour, or on silver for an employee who is not active.
// Each heading's first stroke stands where its column's text starts on a line.
TEST(YearEndMain, HeadingsStandOverTheirColumns) {
    BoxRecorder boxes;
    LoadedMain m({{1, "山田太郎", "総務部", 2, 1}, {2, "佐藤花子", "営業部", 4, 1}});
    m.main->FormActivate();
    m.main->show();
    QApplication::processEvents();
    QWidget* central = m.main->centralWidget();
    const QImage image = central->grab().toImage();
    const QHeaderView* head = m.main->HeadCtrl;
    const QRect row = m.main->ListBox->visualItemRect(m.main->ListBox->item(1))
                          .translated(m.main->ListBox->viewport()->mapTo(central, QPoint()));
    const QRect band = head->geometry();
    // The first dark pixel from x on, within the rows of r and before x + width.
    const auto firstInk = [&](const QRect& r, int x, int width) {
        for (int cx = x; cx < x + width && cx < image.width(); ++cx)
            for (int y = r.top(); y <= r.bottom(); ++y)
                if (qGray(image.pixel(cx, y)) < 110) return cx;
        return -1;
    };
    for (int i = 1; i < 6; ++i) {
        const int left = band.left() + head->sectionViewportPosition(i);
        const int heading = firstInk(band, left, head->sectionSize(i));
        const int column = firstInk(row, left, head->sectionSize(i));
        EXPECT_NE(heading, -1) << i;
        EXPECT_LE(std::abs(heading - column), 1)
            << "section " << i << ": heading at " << heading << ", column at " << column;
    }
    testing_support::screenshot(m.main.get(), "yearend_main_headings");
}

TEST(YearEndMain, SelectedLineColours) {
    BoxRecorder boxes;
    LoadedMain m({{1, "山田太郎", "総務部", 2, 1}, {2, "佐藤花子", "営業部", 4, 3}});
    m.main->FormActivate();
    m.main->show();
    QApplication::processEvents();
    const struct {
        int row;
        QColor background;
    } lines[] = {{0, m.main->ListBox->palette().color(QPalette::Highlight)},
                 {1, QColor(0xC0, 0xC0, 0xC0)}};
    for (const auto& l : lines) {
        m.main->ListBox->setCurrentRow(l.row);
        const QImage image = m.main->ListBox->viewport()->grab().toImage();
        const QRect r = m.main->ListBox->visualItemRect(m.main->ListBox->item(l.row));
        // The style shades the selection a little.
        const QColor seen(image.pixel(r.left() + 1, r.center().y()));
        EXPECT_LE(std::abs(seen.red() - l.background.red()) +
                      std::abs(seen.green() - l.background.green()) +
                      std::abs(seen.blue() - l.background.blue()),
                  9)
            << l.row << " " << seen.name().toStdString();
    }
    testing_support::screenshot(m.main.get(), "yearend_main_selected");
}

TEST(YearEndMain, ClosingAsksUntilSavedOrDeclined) {
    LoadedMain m({{1, "山田太郎", "総務部", 2, 1}});
    {
        BoxRecorder boxes;
        m.main->FormActivate();
    }
    m.records.Header.Telephone.set("03-1111-2222");
    const fs::path file = m.data / "源泉徴収(令和7年).dat";
    {
        BoxRecorder boxes;
        boxes.answer = platform::ui::Answer::Cancel;
        EXPECT_FALSE(m.main->FormCloseQuery());
        EXPECT_FALSE(fs::exists(file));
    }
    {
        BoxRecorder boxes;
        boxes.answer = platform::ui::Answer::Yes;
        EXPECT_TRUE(m.main->FormCloseQuery());
        // Saved once, then no second question.
        EXPECT_EQ(boxes.boxes.size(), 1);
        EXPECT_EQ(fs::file_size(file), 120300u);
    }
    {
        BoxRecorder boxes;
        EXPECT_TRUE(m.main->FormCloseQuery());
        EXPECT_TRUE(boxes.boxes.isEmpty());
    }
}

// The payroll program deletes an employee of December between two runs: the saved
// records follow their employees, and one notice names who moved and who is left out.
TEST(YearEndMain, RecordsFollowTheirEmployeesAfterADecemberDeletion) {
    LoadedMain m({{1, "山田太郎", "総務部", 2, 1}, {2, "佐藤花子", "営業部", 4, 1}});
    {
        BoxRecorder boxes;
        m.main->FormActivate();
    }
    m.records.Record(1).Furigana.set("ﾔﾏﾀﾞ");
    m.records.Record(2).LifeInsurance = 40000;
    m.main->mnSaveFileClick();

    ledger::Ledger payroll(m.clock);
    payroll.CurData = {m.yearFile, "令和", 7, 12};
    ledger::LoadFileHeader(payroll, m.yearFile);
    ledger::LoadPeriod(payroll, m.yearFile);
    ledger::DeleteEmployee(payroll, 1);
    ledger::SavePeriod(payroll, m.yearFile);

    ledger::Ledger ledger(m.clock);
    WithholdingData records;
    MainWindow again(ledger, records, m.dir / "Quenby/Tolvane4/Tolvane.ini");
    again.passwordGate = [] { return true; };
    again.chooseFile = [&] { return std::optional<fs::path>(m.yearFile); };
    again.runModal = [](QDialog&) { return false; };
    BoxRecorder boxes;
    const QDialog* shown = nullptr;
    again.runModal = [&](QDialog& d) {
        shown = &d;
        return true;
    };
    again.FormActivate();
    ASSERT_EQ(shown, again.loadNotice());
    EXPECT_TRUE(
        again.loadNotice()->lbMessage->text().contains(QStringLiteral("佐藤花子（No.2 → No.1）")));
    // No period lists 山田太郎 any more: the record's own furigana names him, in
    // the lines that stay in view.
    EXPECT_TRUE(again.loadNotice()->lbKept->text().endsWith(QStringLiteral("　ﾔﾏﾀﾞ")));
    EXPECT_EQ(records.Record(1).LifeInsurance, 40000);
}

// The payment report exists in the new layout only; in an old-layout year the
// menu item and the tool button are both hidden.
TEST(YearEndMain, PaymentReportCommandFollowsTheYearsLayout) {
    const struct {
        const char* era;
        int year;
        bool shown;
    } years[] = {{"平成", 27, false}, {"平成", 28, true}, {"令和", 7, true}};
    for (const auto& y : years) {
        BoxRecorder boxes;
        LoadedMain m({{1, "山田太郎", "総務部", 2, 1}}, y.era, y.year);
        m.main->FormActivate();
        m.main->show();
        QApplication::processEvents();
        EXPECT_EQ(m.main->mnPrnSiharai->isVisible(), y.shown) << y.era << y.year;
        EXPECT_EQ(m.main->sbPrnSiharai->isVisible(), y.shown) << y.era << y.year;
        EXPECT_TRUE(m.main->sbGensen->isVisible()) << y.era << y.year;
    }
}

// The preview's tool bar setting is read when a year opens and written back on
// closing, so a setting of "off" survives and a missing one is written as "on".
TEST(YearEndMain, PreviewToolBarSettingIsWrittenOnClosing) {
    BoxRecorder boxes;
    LoadedMain m({{1, "山田太郎", "総務部", 2, 1}});
    m.main->FormActivate();
    EXPECT_TRUE(m.main->previewButtons());
    m.main->FormClose();
    platform::IniFile ini(m.main->IniFileName);
    ASSERT_TRUE(ini.valueExists("Option", "PreViewBtn"));
    EXPECT_TRUE(ini.readBool("Option", "PreViewBtn", false));

    ini.writeBool("Option", "PreViewBtn", false);
    MainWindow again(m.ledger, m.records, m.main->IniFileName);
    again.passwordGate = [] { return true; };
    again.chooseFile = [&] { return std::optional<fs::path>(m.yearFile); };
    again.FormActivate();
    EXPECT_FALSE(again.previewButtons());
    again.FormClose();
    EXPECT_TRUE(ini.valueExists("Option", "PreViewBtn"));
    EXPECT_FALSE(ini.readBool("Option", "PreViewBtn", true));
}

// A year that cannot be read says which file failed, closes, and leaves no file
// behind: no withholding file, no log line, no settings.
TEST(YearEndMain, UnreadableYearNamesItsFileAndWritesNothing) {
    BoxRecorder boxes;
    LoadedMain m({{1, "山田太郎", "総務部", 2, 1}});
    fs::resize_file(m.yearFile, 128 + 13 * 95120 + 10);  // cut inside the bonuses
    m.main->FormActivate();
    EXPECT_EQ(
        boxes.boxes,
        QStringList{QStringLiteral("ファイルの末尾以降を読み込みました\n令和7年給与･賞与.dat")});
    EXPECT_TRUE(m.main->starting());
    m.main->FormClose();
    std::vector<std::string> files;
    for (const auto& f : fs::recursive_directory_iterator(m.dir.path()))
        if (f.is_regular_file()) files.push_back(f.path().filename().string());
    EXPECT_EQ(files, std::vector<std::string>{"令和7年給与･賞与.dat"});
}

// The open dialog shows its label and lists the pay data of every era.
TEST(YearEndMain, OpenDialogFiltersByThePayDataOfEveryEraUnderItsLabel) {
    TempDir dir;
    QFileDialog dlg(nullptr, QString(), QString::fromStdString(dir.path().string()));
    dlg.setOption(QFileDialog::DontUseNativeDialog);
    const auto filter = withholding::PayDataFilter(ledger::FixedClock({2026, 1, 5}));
    withholding::ui::SetPayDataFilter(dlg, filter);
    EXPECT_EQ(dlg.nameFilters(), QStringList{QString::fromStdString(filter.label)});
    auto* model = dlg.findChild<QFileSystemModel*>();
    ASSERT_TRUE(model);
    const QStringList patterns{
        QStringLiteral("令和*年給与･賞与.dat"), QStringLiteral("平成*年給与･賞与.dat"),
        QStringLiteral("昭和*年給与･賞与.dat"), QStringLiteral("大正*年給与･賞与.dat"),
        QStringLiteral("明治*年給与･賞与.dat")};
    EXPECT_EQ(model->nameFilters(), patterns);
    // Choosing the label again keeps the patterns.
    auto* types = dlg.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    ASSERT_TRUE(types);
    emit types->activated(0);
    emit types->textActivated(types->itemText(0));
    EXPECT_EQ(model->nameFilters(), patterns);
}

TEST(YearEndCorpInfo, OkStoresFittedTrimmedTextsCancelKeepsTheHeader) {
    BoxRecorder boxes;
    LoadedMain m({{1, "山田太郎", "総務部", 2, 1}});
    m.main->FormActivate();
    CompanyInfoDialog& d = *m.corpInfo;
    d.show();
    EXPECT_EQ(d.pnSyamei->text(), QStringLiteral("株式会社テスト"));
    d.edJusyo1->setText(QStringLiteral("  東京都港区芝公園1-2-3\t "));
    d.edJusyo2->setText(QStringLiteral("　本社ビル"));
    d.edTelNo->setText(QStringLiteral("03-1234-5678 内線"));
    testing_support::screenshot(&d, "yearend_corpinfo");
    d.bbOkClick();
    EXPECT_EQ(m.records.Header.Address1.str(), "東京都港区芝公園1-2-3");
    EXPECT_EQ(m.records.Header.Address2.str(), "　本社ビル");  // a full-width blank is text
    EXPECT_EQ(m.records.Header.Telephone.str(), "03-1234-5678");
    EXPECT_EQ(d.result(), QDialog::Accepted);

    // 43 letters and a double-byte character: the split character goes.
    d.FormShow();
    d.edJusyo1->setText(QString(43, 'A') + QStringLiteral("区"));
    d.bbOkClick();
    EXPECT_EQ(m.records.Header.Address1.str(), std::string(43, 'A'));

    d.FormShow();
    d.edJusyo1->setText(QStringLiteral("別の住所"));
    d.bbCancel->click();
    EXPECT_EQ(m.records.Header.Address1.str(), std::string(43, 'A'));
}

}  // namespace
