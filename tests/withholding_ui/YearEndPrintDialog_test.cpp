#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include <QAction>
#include <QCoreApplication>
#include <QImage>
#include <QKeyEvent>
#include <QListWidget>
#include <QPainter>
#include <QScrollArea>
#include <QTimer>
#include "ledger/Era.h"
#include "ledger/Ledger.h"
#include "ledger/PayrollYearFile.h"
#include "ledger/SysLog.h"
#include "platform/IniFile.h"
#include "platform/PrinterPort.h"
#include "platform/Sjis.h"
#include "platform/ui/Printer.h"
#include "reports/PrnCanvas.h"
#include "reports/RecordingSurface.h"
#include "reports/ui/PrintPreview.h"
#include "reports/ui/QtSurface.h"
#include "support/TempDir.h"
#include "ui/BoxRecorder.h"
#include "ui/Screenshot.h"
#include "withholding/SlipCanvas.h"
#include "withholding/WithholdingFile.h"
#include "withholding/ui/MainWindow.h"
#include "withholding/ui/YearEndPrintDialog.h"

namespace {

using withholding::YearEndOption;
using withholding::ui::YearEndPrintDialog;
using withholding::ui::YearEndPrintRequest;

class FakePrinter : public platform::PrinterPort {
public:
    std::vector<std::string> names{"Laser", "Inkjet"};
    std::string current = "Laser";
    platform::DevMode mode;
    std::vector<std::string> printerNames() const override { return names; }
    std::string printerName() const override { return current; }
    bool selectPrinter(const std::string& name) override {
        for (auto& n : names)
            if (n == name) {
                current = name;
                mode = {};
                return true;
            }
        return false;
    }
    void resetToDefaults() override { mode = {}; }
    platform::DevMode devMode() const override { return mode; }
    void setDevMode(const platform::DevMode& m) override { mode = m; }
};

class YearEndPrintDialogTest : public ::testing::Test {
protected:
    testing_support::TempDir dir;
    std::filesystem::path ini = dir.path() / "Tolvane.ini";
    std::filesystem::path data = dir.path() / "Data";
    ledger::FixedClock clock{{2027, 1, 20, 10, 5, 0}};
    FakePrinter printer;
    YearEndOption option;
    std::unique_ptr<YearEndPrintDialog> dlg;
    // What the print backend was asked to do.
    int jobs = 0;
    int printedSheets = 0;
    bool printerWorks = true;
    std::vector<std::string> drawn;

    void SetUp() override {
        std::filesystem::create_directories(data);
        dlg = std::make_unique<YearEndPrintDialog>(option, ini, data, clock, &printer);
        dlg->drawers.withholdingSlip = [this](reports::PrnCanvas&, int slot, int copy) {
            drawn.push_back("slip " + std::to_string(slot) + "/" + std::to_string(copy));
        };
        dlg->drawers.refundNotice = [this](reports::PrnCanvas&, int slot, bool) {
            drawn.push_back("refund " + std::to_string(slot));
        };
        dlg->printSheets = [this](const QString&, int sheets,
                                  const YearEndPrintDialog::SheetDrawer& draw) {
            ++jobs;
            reports::RecordingSurface rec;
            reports::PrnCanvas c;
            c.prepare(reports::PrnCanvas::printerMetrics(600, 600, 0, 0), &rec);
            for (int i = 0; i < sheets; ++i) draw(c, i);
            printedSheets = sheets;
            return printerWorks;
        };
    }

    void open(int tag, std::vector<int> checked, bool newLayout = true) {
        const char* caption = tag == 199   ? "源泉徴収票"
                              : tag == 299 ? "還付金通知書"
                                           : "給与支払報告書";
        dlg->setRequest(YearEndPrintRequest{tag, QString::fromUtf8(caption), newLayout, checked});
        dlg->FormShow();
    }

    std::vector<std::string> logLines() const {
        const auto file = ledger::SysLogFile(data);
        if (!std::filesystem::exists(file)) return {};
        std::vector<std::string> out;
        for (const auto& l : ledger::ReadSysLogLines(file)) out.push_back(sjis::toUtf8(l));
        return out;
    }
};

TEST_F(YearEndPrintDialogTest, ShowingCountsSheetsAndSetsTheKindsPaper) {
    open(299, {4, 9, 11});
    EXPECT_EQ(dlg->windowTitle().toStdString(), "還付金通知書の印刷");
    EXPECT_EQ(dlg->DocKind, 2);
    EXPECT_EQ(dlg->pnLType->text().toStdString(), " Ｂ５用紙・縦  [182mm×257mm]");
    EXPECT_EQ(dlg->pnPrnInfo->text().toStdString(), " 2枚 [3名]");
    EXPECT_EQ(dlg->pnPrinter->text().toStdString(), " Laser");
    EXPECT_EQ(printer.mode.PaperSize, 13);
    EXPECT_EQ(printer.mode.Orientation, 1);
    EXPECT_EQ(dlg->edPrAdjustH->text().toStdString(), "  0.0");
    testing_support::screenshot(dlg.get(), "YearEndInji_refund");

    // The caption is appended to afresh at every show, never twice.
    open(199, {4, 9, 11, 12, 20}, true);
    EXPECT_EQ(dlg->windowTitle().toStdString(), "源泉徴収票の印刷");
    EXPECT_EQ(dlg->pnPrnInfo->text().toStdString(), " 5枚 [5名]");
    EXPECT_EQ(printer.mode.PaperSize, 9);
    EXPECT_EQ(printer.mode.Orientation, 2);
    testing_support::screenshot(dlg.get(), "YearEndInji_slip");
}

TEST_F(YearEndPrintDialogTest, PositionButtonsStepAndReset) {
    open(199, {1});
    dlg->sbPosUp->click();
    EXPECT_EQ(dlg->edPrAdjustV->text().toStdString(), " -0.1");
    dlg->sbPosRight->click();
    dlg->sbPosRight->click();
    EXPECT_EQ(dlg->edPrAdjustH->text().toStdString(), "  0.2");
    dlg->sbPosReset->click();
    EXPECT_EQ(dlg->edPrAdjustV->text().toStdString(), "  0.0");
    EXPECT_EQ(dlg->edPrAdjustH->text().toStdString(), "  0.0");
}

TEST_F(YearEndPrintDialogTest, PrintingSlipsStoresPrinterAndCorrectionAndLogsOnce) {
    testing_support::BoxRecorder boxes;
    open(199, {3, 7, 8, 12, 40});
    dlg->edPrAdjustH->setText("1.25");
    dlg->btOkClick();
    EXPECT_TRUE(boxes.boxes.isEmpty()) << boxes.boxes.join("|").toStdString();
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(printedSheets, 5);
    ASSERT_EQ(drawn.size(), 10u);
    EXPECT_EQ(drawn[0], "slip 3/1");
    EXPECT_EQ(drawn[1], "slip 3/2");
    EXPECT_EQ(drawn[9], "slip 40/2");

    platform::IniFile settings(ini);
    EXPECT_EQ(settings.readInteger("Option", "PrAdjustH", 99), 12);
    EXPECT_EQ(settings.readString("PrintInfo1", "DeviceName", ""), "Laser");
    EXPECT_FALSE(settings.sectionExists("PrintInfo"));
    EXPECT_DOUBLE_EQ(option.PrAdjustH, 1.25);

    auto lines = logLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "2027/01/20 10:05  源泉徴収票の印刷");
}

TEST_F(YearEndPrintDialogTest, LogLinesPerKindAndNoneForAFailedJob) {
    open(299, {1, 2, 3});
    dlg->btOkClick();
    EXPECT_EQ(printedSheets, 2);
    EXPECT_EQ(drawn, (std::vector<std::string>{"refund 1", "refund 2", "refund 3"}));
    EXPECT_TRUE(logLines().empty());

    open(599, {5});
    dlg->btOkClick();
    ASSERT_EQ(logLines().size(), 1u);
    EXPECT_NE(logLines()[0].find("給与支払報告書の印刷"), std::string::npos);

    testing_support::BoxRecorder boxes;
    printerWorks = false;
    open(199, {5});
    dlg->btOkClick();
    EXPECT_EQ(dlg->result(), QDialog::Rejected);
    EXPECT_EQ(logLines().size(), 1u);
}

TEST_F(YearEndPrintDialogTest, ABadCorrectionKeepsTheDialogAndPrintsNothing) {
    testing_support::BoxRecorder boxes;
    open(199, {1});
    dlg->show();
    dlg->edPrAdjustV->setText("1.x");
    dlg->btOkClick();
    EXPECT_EQ(jobs, 0);
    EXPECT_TRUE(dlg->isVisible());
    ASSERT_EQ(boxes.boxes.size(), 1);
    EXPECT_EQ(boxes.boxes[0].toStdString(), "入力した数値が正しくありません。");
    EXPECT_FALSE(platform::IniFile(ini).sectionExists("PrintInfo1"));
    dlg->hide();
}

TEST_F(YearEndPrintDialogTest, PreviewKeepsItsCorrectionUnstoredAndCanPrint) {
    open(299, {1, 2, 3});
    int previewSheets = 0;
    bool printFromPreview = false;
    dlg->showPreview = [&](int sheets, const YearEndPrintDialog::SheetDrawer&,
                           const std::function<void()>& print) {
        previewSheets = sheets;
        if (printFromPreview) print();
        return printFromPreview;
    };
    dlg->edPrAdjustV->setText("0.5");
    dlg->btPreViewClick();
    EXPECT_EQ(previewSheets, 2);
    EXPECT_EQ(jobs, 0);
    EXPECT_DOUBLE_EQ(option.PrAdjustV, 0.5);
    EXPECT_FALSE(platform::IniFile(ini).valueExists("Option", "PrAdjustV"));

    printFromPreview = true;
    dlg->btPreViewClick();
    EXPECT_EQ(jobs, 1);
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(platform::IniFile(ini).readInteger("Option", "PrAdjustV", 0), 5);
}

TEST_F(YearEndPrintDialogTest, EachKindComesBackWithItsOwnPrinter) {
    open(299, {1});
    printer.selectPrinter("Inkjet");
    dlg->btOkClick();
    open(199, {1});
    printer.selectPrinter("Laser");
    dlg->btOkClick();

    open(299, {1});
    EXPECT_EQ(dlg->pnPrinter->text().toStdString(), " Inkjet");
    open(199, {1});
    EXPECT_EQ(dlg->pnPrinter->text().toStdString(), " Laser");
}

}  // namespace

namespace {

namespace fs = std::filesystem;

// The year-end program's windows over a saved December of three employees:
// the main window with its print forms and the real page drawers.
struct YearEndProgram {
    testing_support::BoxRecorder boxes;
    testing_support::TempDir dir;
    fs::path data = dir.path() / "Quenby/Tolvane4/Data";
    fs::path yearFile = data / "令和7年給与･賞与.dat";
    ledger::FixedClock clock{{2025, 12, 20, 9, 0, 0}};
    ledger::Ledger ledger{clock};
    withholding::WithholdingData records;
    YearEndOption option;
    std::unique_ptr<withholding::ui::MainWindow> main;
    std::unique_ptr<withholding::ui::YearEndPrintWindows> forms;

    // previewButtons: the setting of the preview's tool bar.
    explicit YearEndProgram(bool previewButtons = true) {
        fs::create_directories(data);
        ledger::Ledger l(clock);
        l.dataPath = data;
        l.CurData = {yearFile, "令和", 7, 12};
        ledger::CreateDataFile(l, yearFile);
        l.BasicInfo().CorpName.set("株式会社テスト");
        for (int slot : {1, 2, 3}) {
            auto& rec = l.Employee(slot);
            rec.Key.set("k" + std::to_string(slot));
            rec.Name.set(slot == 1 ? "山田太郎" : slot == 2 ? "佐藤花子" : "鈴木一郎");
            rec.PayForm = 1;
            rec.Status = 1;
        }
        ledger::SavePeriod(l, yearFile);
        const fs::path ini = dir.path() / "Quenby/Tolvane4/Tolvane.ini";
        platform::IniFile(ini).writeBool("Option", "PreViewBtn", previewButtons);
        main = std::make_unique<withholding::ui::MainWindow>(ledger, records, ini);
        main->passwordGate = [] { return true; };
        main->chooseFile = [this] { return std::optional<fs::path>(yearFile); };
        forms =
            std::make_unique<withholding::ui::YearEndPrintWindows>(*main, ledger, records, option);
    }
};

// The real program's wiring: the main window's command shows the dialog, and
// the preview draws a sheet.
TEST(YearEndPrintWindows, TheMainWindowsCommandShowsTheDialogAndThePreviewDraws) {
    YearEndProgram program;
    withholding::ui::MainWindow& main = *program.main;
    withholding::ui::YearEndPrintWindows& forms = *program.forms;
    std::vector<QString> shown;
    main.runModal = [&](QDialog& d) {
        auto* inji = qobject_cast<YearEndPrintDialog*>(&d);
        if (!inji) return false;
        inji->FormShow();
        shown.push_back(inji->windowTitle() + inji->pnPrnInfo->text());
        return false;
    };
    withholding::ui::YearEndDialogs dialogs;
    dialogs.print = forms.printCommand();
    main.setDialogs(dialogs);
    main.FormActivate();
    ASSERT_TRUE(main.mnPrnKanpukin->isEnabled());

    for (int i = 0; i < main.ListBox->count(); ++i)
        main.ListBox->item(i)->setCheckState(Qt::Checked);
    main.mnPrintClick(299);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].toStdString(), "還付金通知書の印刷 2枚 [3名]");
    EXPECT_EQ(forms.fmInji->checkedSlots, (std::vector<int>{1, 2, 3}));

    for (int tag : {199, 299}) {
        main.mnPrintClick(tag);
        YearEndPrintDialog& inji = *forms.fmInji;
        reports::ui::PrintPreview& preview = *forms.fmPreView;
        preview.resize(900, 700);
        preview.begin(forms.previewDocument(inji.PageCount, inji.sheetDrawer(), [] {}));
        if (tag == 299) {
            // F12 next, F11 previous, Enter switches the view.
            auto key = [&](int k) {
                QKeyEvent e(QEvent::KeyPress, k, Qt::NoModifier);
                QCoreApplication::sendEvent(&preview, &e);
            };
            const int mode = preview.viewMode();
            key(Qt::Key_F12);
            EXPECT_EQ(preview.page(), 2);
            key(Qt::Key_F12);
            EXPECT_EQ(preview.page(), 2);
            key(Qt::Key_F11);
            EXPECT_EQ(preview.page(), 1);
            key(Qt::Key_Return);
            EXPECT_NE(preview.viewMode(), mode);
            key(Qt::Key_Return);
        }
        const QImage page = preview.renderedPage();
        ASSERT_FALSE(page.isNull());
        // Something was drawn besides the white sheet.
        bool inked = false;
        for (int y = 0; y < page.height() && !inked; y += 2)
            for (int x = 0; x < page.width() && !inked; x += 2)
                inked = qGray(page.pixel(x, y)) < 128;
        EXPECT_TRUE(inked) << tag;
        if (const char* d = std::getenv("TOLVANE_SCREENSHOT_DIR")) {
            page.save(QString::fromUtf8(d) + QStringLiteral("/YearEndPreview_%1.png").arg(tag));
            // The sheet at 6 dots a millimetre, for a person to look at.
            const bool b5 = tag == 299;
            QImage sheet(b5 ? 182 * 6 : 297 * 6, b5 ? 257 * 6 : 210 * 6, QImage::Format_RGB32);
            sheet.fill(Qt::white);
            QPainter painter(&sheet);
            reports::ui::QtSurface surface(painter);
            reports::PrnCanvas c;
            reports::TargetMetrics m;
            m.DotsPerMmX = m.DotsPerMmY = 6;
            m.ThinPenWidth = 1;
            m.ThickPenWidth = 2;
            c.prepare(m, &surface);
            inji.sheetDrawer()(c, 0);
            painter.end();
            sheet.save(QString::fromUtf8(d) + QStringLiteral("/YearEndSheet_%1.png").arg(tag));
        }
    }

    // Without a printer the slips go to a PDF for its owner only, as the
    // payroll program's do, under the usual umask.
    if (!forms.printer->isPdf()) GTEST_SKIP() << "a real printer is installed";
    const fs::path pdf = program.dir.path() / "slips.pdf";
    forms.printer->setPdfOutputFile(QString::fromStdString(pdf.string()));
    const mode_t oldMask = ::umask(022);
    const bool printed =
        forms.fmInji->printSheets(QStringLiteral("源泉徴収票"), 1, forms.fmInji->sheetDrawer());
    ::umask(oldMask);
    ASSERT_TRUE(printed);
    EXPECT_GT(fs::file_size(pdf), 1000u);
    EXPECT_EQ(fs::status(pdf).permissions(), fs::perms::owner_read | fs::perms::owner_write);
}

// The preview draws the forms' thick rules two pixels wide and their thin ones
// one; with its tool bar switched off the whole bar goes, not only its buttons.
TEST(YearEndPrintWindows, PreviewPensAndToolBar) {
    for (bool buttons : {true, false}) {
        YearEndProgram program(buttons);
        program.main->FormActivate();
        reports::ui::PrintPreview& preview = *program.forms->fmPreView;
        const YearEndPrintDialog::SheetDrawer rules = [](reports::PrnCanvas& c, int) {
            withholding::SlipCanvas slip(c);
            slip.ThickPen();
            slip.DrawLine(50, 20, 50, 150);
            slip.ThinPen();
            slip.DrawLine(100, 20, 100, 150);
        };
        bool barShown = true;
        int pageTop = -1;
        std::vector<int> runs;  // widths of the dark runs across the middle of the sheet
        QTimer::singleShot(0, &preview, [&] {
            barShown = preview.Panel1->isVisible();
            pageTop = preview.ScrollBox->geometry().top();
            const QImage page = preview.renderedPage();
            int run = 0;
            for (int x = 0; x < page.width(); ++x) {
                if (qGray(page.pixel(x, page.height() / 2)) < 128) {
                    ++run;
                } else if (run > 0) {
                    runs.push_back(run);
                    run = 0;
                }
            }
            preview.reject();
        });
        EXPECT_FALSE(program.forms->fmInji->showPreview(1, rules, [] {}));
        EXPECT_EQ(barShown, buttons);
        EXPECT_EQ(pageTop == 0, !buttons) << pageTop;
        EXPECT_EQ(runs, (std::vector<int>{2, 1})) << buttons;
    }
}

}  // namespace
