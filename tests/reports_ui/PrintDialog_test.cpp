#include "reports/ui/PrintDialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include "ledger/Era.h"
#include "ledger/Ledger.h"
#include "platform/IniFile.h"
#include "platform/PrinterPort.h"
#include "reports/RecordingSurface.h"
#include "support/PersonTyping.h"
#include "support/TempDir.h"
#include "ui/BoxRecorder.h"
#include "ui/Screenshot.h"

namespace {

using reports::ui::PrintDialog;

class FakePrinter : public platform::PrinterPort {
public:
    std::string current = "Office-LBP";
    platform::DevMode mode;
    std::vector<std::string> printerNames() const override { return {current}; }
    std::string printerName() const override { return current; }
    bool selectPrinter(const std::string& name) override { return name == current; }
    void resetToDefaults() override { mode = {}; }
    platform::DevMode devMode() const override { return mode; }
    void setDevMode(const platform::DevMode& m) override { mode = m; }
};

class PrintDialogTest : public ::testing::Test {
protected:
    testing_support::TempDir dir;
    std::filesystem::path ini = dir.path() / "Tolvane.ini";
    ledger::FixedClock clock{{2026, 4, 1, 9, 0, 0}};
    ledger::Ledger l{clock};
    FakePrinter printer;
    std::vector<int> chosen;
    std::unique_ptr<PrintDialog> dlg;

    void SetUp() override {
        l.CurData.Era = "令和";
        l.CurData.Year = 8;
        l.CurData.Period = 4;
        l.BasicInfo().PayDay = 25;
        l.sysOption.prnRuikei = false;
        l.sysOption.autoSelect = false;
    }
    void makeDialog() {
        dlg = std::make_unique<PrintDialog>(l, ini, &printer);
        dlg->selectedSlots = [this] { return chosen; };
    }
    // Employees in slots 1..n: the first `cash` of them paid in cash.
    void staff(int n, int cash = 0) {
        for (int slot = 1; slot <= n; ++slot) {
            auto& e = l.Employee(slot);
            e.Key.set("260401_0900" + std::to_string(10 + slot));
            e.Name.set("社員" + std::to_string(slot));
            e.Status = 1;
            e.PayForm = 1;
            e.PayMethod = slot <= cash ? 1 : 0;
        }
    }
    void open(const QString& caption, int tag) {
        if (!dlg) makeDialog();
        dlg->setRequest(caption, tag);
        dlg->FormShow();
    }
    std::string info() const { return dlg->pnPrnInfo->text().toStdString(); }
};

TEST_F(PrintDialogTest, SlipsCountSheetsByFormTypeAndSetThePaper) {
    staff(3);
    chosen = {1, 2, 3};
    open(QStringLiteral("給与明細書"), 299);
    EXPECT_EQ(dlg->windowTitle(), QStringLiteral("給与明細書の印刷"));
    EXPECT_EQ(dlg->DocKind, reports::kDocPaySlips);
    EXPECT_EQ(dlg->cbFormType->currentIndex(), 3);  // the default form type
    EXPECT_EQ(info(), " 2枚 [3名]");
    EXPECT_EQ(printer.mode.PaperSize, 9);
    EXPECT_EQ(printer.mode.Orientation, 1);
    EXPECT_TRUE(dlg->edPrnDateYY->isEnabled());
    EXPECT_EQ(dlg->edPrnDateMM->text(), QStringLiteral(" 4"));
    EXPECT_EQ(dlg->edPrnDateDD->text(), QStringLiteral("25"));
    EXPECT_EQ(dlg->btCsvFile->text(), QStringLiteral("画像に保存"));
    EXPECT_TRUE(dlg->cbBikoPrn->isVisibleTo(dlg.get()));
    EXPECT_FALSE(dlg->cbAllPrint->isVisibleTo(dlg.get()));

    dlg->cbFormType->setCurrentIndex(1);
    dlg->cbFormTypeChange();
    EXPECT_EQ(info(), " 3枚 [3名]");
    EXPECT_EQ(printer.mode.PaperSize, 13);
    EXPECT_EQ(printer.mode.Orientation, 2);
    EXPECT_EQ(dlg->jobSheets().size(), 3u);
}

TEST_F(PrintDialogTest, ListsTakeA4LandscapeAndTheirCounts) {
    staff(8, 3);
    open(QStringLiteral("給与/賞与支払金種表"), 700);
    EXPECT_EQ(info(), "  1枚 [3名]");
    EXPECT_EQ(printer.mode.PaperSize, 9);
    EXPECT_EQ(printer.mode.Orientation, 2);
    EXPECT_EQ(dlg->pnLType->text(), QStringLiteral(" Ａ４用紙・横 [297mm×210mm]"));
    EXPECT_FALSE(dlg->cbFormType->isVisibleTo(dlg.get()));
    EXPECT_FALSE(dlg->edPrnDateYY->isEnabled());
    EXPECT_FALSE(dlg->btCsvFile->isEnabled());
    EXPECT_TRUE(dlg->cbAllPrint->isVisibleTo(dlg.get()));

    // Checking the box recounts at once, leaving printer and dates alone.
    printer.mode.PaperSize = 0;
    dlg->edPrnDateDD->setText(QStringLiteral("10"));
    dlg->cbAllPrint->setChecked(true);
    dlg->FormShow(dlg->cbAllPrint);
    EXPECT_EQ(info(), "  1枚 [8名]");
    EXPECT_EQ(printer.mode.PaperSize, 0);
    EXPECT_EQ(dlg->edPrnDateDD->text(), QStringLiteral("10"));

    open(QStringLiteral("給与/賞与振込一覧"), 600);
    EXPECT_EQ(info(), "  1枚 [5名]");
    EXPECT_FALSE(dlg->cbAllPrint->isVisibleTo(dlg.get()));
}

TEST_F(PrintDialogTest, MonthlyListOffersGroupingAndReadsTheRowFlags) {
    staff(10);
    platform::IniFile(ini).writeString("Option", "DaichoAdd", "100000000000000");
    open(QStringLiteral("月別給与/賞与一覧"), 504);
    EXPECT_EQ(info(), "  2枚 [10名、4月分･給与]");
    EXPECT_EQ(dlg->lbNengappi0->text(), QStringLiteral("印刷方法"));
    EXPECT_TRUE(dlg->pnPrnMethod->isVisibleTo(dlg.get()));
    EXPECT_TRUE(dlg->RowFlags.isAdded(1));
    EXPECT_EQ(dlg->btCsvFile->text(), QStringLiteral("CSV書き出し"));
    EXPECT_TRUE(dlg->btCsvFile->isEnabled());

    for (int slot = 1; slot <= 3; ++slot) l.Employee(slot).Dept.set("総務");
    for (int slot = 4; slot <= 10; ++slot) l.Employee(slot).Dept.set("営業");
    dlg->rbBusyo->setChecked(true);
    dlg->FormShow(dlg->rbBusyo);
    EXPECT_EQ(info(), "  2枚 [10名、4月分･給与]");
    EXPECT_EQ(dlg->pageJob().plan.sheets.size(), 2u);
}

TEST_F(PrintDialogTest, LedgerCountsTheChosenAndRosterItsPeople) {
    staff(11);
    l.Employee(11).Status = 2;  // 休職 is on the roster
    chosen = {4, 2, 9};
    open(QStringLiteral("社員別給与台帳"), 499);
    EXPECT_EQ(info(), " 3枚");
    EXPECT_EQ(dlg->jobSheets(), (std::vector<reports::SlipSheet>{{4, 0}, {2, 0}, {9, 0}}));
    open(QStringLiteral("社員名簿一覧表"), 100);
    EXPECT_EQ(info(), "  2枚 [11名]");
}

TEST_F(PrintDialogTest, CorrectionButtonsStepAndReset) {
    open(QStringLiteral("給与明細書"), 299);
    EXPECT_EQ(dlg->edPrAdjustV->text(), QStringLiteral("  0.0"));
    dlg->sbPosClick(dlg->sbPosUp);
    EXPECT_EQ(dlg->edPrAdjustV->text(), QStringLiteral(" -0.1"));
    dlg->sbPosClick(dlg->sbPosRight);
    dlg->sbPosClick(dlg->sbPosRight);
    EXPECT_EQ(dlg->edPrAdjustH->text(), QStringLiteral("  0.2"));
    dlg->sbPosClick(dlg->sbPosLeft);
    EXPECT_EQ(dlg->edPrAdjustH->text(), QStringLiteral("  0.1"));
    dlg->sbPosClick(dlg->sbPosReset);
    EXPECT_EQ(dlg->edPrAdjustH->text(), QStringLiteral("  0.0"));
    EXPECT_EQ(dlg->edPrAdjustV->text(), QStringLiteral("  0.0"));

    dlg->edPrAdjustH->setText(QStringLiteral("1.5"));
    dlg->edPrAdjustExit(dlg->edPrAdjustH);
    EXPECT_EQ(dlg->edPrAdjustH->text(), QStringLiteral("  1.5"));

    // A step past what the field can show keeps the value at its edge.
    dlg->edPrAdjustH->setText(QStringLiteral("999.9"));
    dlg->sbPosClick(dlg->sbPosRight);
    EXPECT_EQ(dlg->edPrAdjustH->text(), QStringLiteral("999.9"));
}

TEST_F(PrintDialogTest, PrintStoresTheSettingsAndDrawsEverySheet) {
    staff(3);
    chosen = {3, 1, 2};
    open(QStringLiteral("給与明細書"), 299);
    dlg->edPrAdjustH->setText(QStringLiteral("  1.5"));
    dlg->edPrAdjustV->setText(QStringLiteral(" -0.1"));
    std::vector<std::string> firstNames;
    QString title;
    dlg->printSheets = [&](const QString& t, int sheets, const PrintDialog::SheetDrawer& draw) {
        title = t;
        for (int i = 0; i < sheets; ++i) {
            reports::RecordingSurface surface;
            reports::PrnCanvas c;
            c.prepare(reports::TargetMetrics{10, 10, 0, 0, 1, 2}, &surface);
            draw(c, i, false);
            EXPECT_DOUBLE_EQ(c.PrAdjustH, 1.5);
            auto run = surface.findContaining("社員");
            firstNames.push_back(run ? run->text : "");
        }
        return true;
    };
    dlg->btPrintClick();
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    ASSERT_EQ(firstNames.size(), 2u);  // (3, 1) and (2, none)
    EXPECT_NE(firstNames[0].find("社員3"), std::string::npos);
    EXPECT_NE(firstNames[1].find("社員2"), std::string::npos);

    platform::IniFile settings(ini);
    EXPECT_EQ(settings.readInteger("Option", "PrAdjustH", 0), 15);
    EXPECT_EQ(settings.readInteger("Option", "PrAdjustV", 0), -1);
    EXPECT_EQ(settings.readInteger("Option", "FormType", 0), 3);
    EXPECT_EQ(settings.readString("PrintInfo", "DeviceName"), "Office-LBP");
}

TEST_F(PrintDialogTest, ABadCorrectionIsReportedBeforeAnythingHappens) {
    testing_support::BoxRecorder boxes;
    open(QStringLiteral("給与明細書"), 299);
    dlg->show();
    dlg->edPrAdjustV->setText(QStringLiteral("1.x"));
    bool printed = false;
    dlg->printSheets = [&](const QString&, int, const PrintDialog::SheetDrawer&) {
        return printed = true;
    };
    bool previewed = false;
    dlg->showPreview = [&](const PrintDialog::PreviewRequest&) { return previewed = true; };
    dlg->btPrintClick();
    dlg->btPreViewClick();
    EXPECT_FALSE(printed);
    EXPECT_FALSE(previewed);
    EXPECT_TRUE(dlg->isVisible());
    ASSERT_EQ(boxes.boxes.size(), 2);
    EXPECT_EQ(boxes.boxes[0], QStringLiteral("入力した数値が正しくありません。"));
    EXPECT_FALSE(platform::IniFile(ini).valueExists("Option", "PrAdjustV"));
    dlg->hide();
}

TEST_F(PrintDialogTest, PreviewGetsTheSheetsAndClosesTheDialogWhenItPrinted) {
    staff(3);
    chosen = {1, 2, 3};
    open(QStringLiteral("給与明細書"), 299);
    dlg->cbFormType->setCurrentIndex(0);  // the pre-printed form
    dlg->cbFormTypeChange();
    int sheets = 0;
    bool background = false;
    dlg->showPreview = [&](const PrintDialog::PreviewRequest& r) {
        sheets = r.sheets;
        background = bool(r.background);
        return false;
    };
    dlg->btPreViewClick();
    EXPECT_EQ(sheets, 2);
    EXPECT_TRUE(background);

    dlg->showPreview = [&](const PrintDialog::PreviewRequest& r) {
        r.print();
        return true;
    };
    dlg->printSheets = [](const QString&, int, const PrintDialog::SheetDrawer&) { return true; };
    dlg->btPreViewClick();
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
}

// The preview of a pre-printed form with a print-position correction: the form
// stays on the paper and only the values move, as on the printer.
TEST_F(PrintDialogTest, PreviewKeepsTheFormInPlaceAndMovesTheValuesByTheCorrection) {
    staff(3);
    chosen = {1, 2, 3};
    open(QStringLiteral("給与明細書"), 299);
    for (int formType : {0, 4}) {
        dlg->cbFormType->setCurrentIndex(formType);
        dlg->cbFormTypeChange();
        // What the preview draws of the last sheet (one slip, the third) at 10 dots
        // a millimetre, for a correction typed into the dialog.
        auto recorded = [&](const char* across, const char* down, bool background) {
            dlg->edPrAdjustH->setText(QString::fromUtf8(across));
            dlg->edPrAdjustV->setText(QString::fromUtf8(down));
            PrintDialog::PreviewRequest request;
            dlg->showPreview = [&](const PrintDialog::PreviewRequest& r) {
                request = r;
                return false;
            };
            dlg->btPreViewClick();
            reports::RecordingSurface surface;
            reports::PrnCanvas canvas;
            canvas.prepare(reports::TargetMetrics{10, 10, 0, 0, 1, 1}, &surface);
            EXPECT_TRUE(request.background) << formType;
            if (background && request.background) request.background(canvas, 1, true);
            if (!background) request.draw(canvas, 1, true);
            return surface;
        };
        const auto formAsIs = recorded("0", "0", true);
        const auto formCorrected = recorded("2.5", "-1.5", true);
        EXPECT_EQ(formCorrected.dump(), formAsIs.dump()) << formType;

        const auto values = recorded("0", "0", false).findContaining("社員3");
        const auto moved = recorded("2.5", "-1.5", false).findContaining("社員3");
        ASSERT_TRUE(values && moved) << formType;
        EXPECT_EQ(moved->x - values->x, 25) << formType;
        EXPECT_EQ(moved->y - values->y, -15) << formType;

        // The sheet holds one slip, and still shows the whole two-slip form: the
        // lower form is the upper one again, 149.5 mm lower (the preview's normal
        // size).
        const auto& ops = formAsIs.ops();
        ASSERT_FALSE(ops.empty()) << formType;
        ASSERT_EQ(ops.size() % 2, 0u) << formType;
        const std::size_t half = ops.size() / 2;
        for (std::size_t i = 0; i < half; ++i) {
            const auto &upper = ops[i], &lower = ops[i + half];
            ASSERT_EQ(lower.kind, upper.kind) << formType << " op " << i;
            EXPECT_EQ(lower.text, upper.text) << formType << " op " << i;
            EXPECT_EQ(lower.x1, upper.x1) << formType << " op " << i;
            EXPECT_NEAR(lower.y1 - upper.y1, 1495, 1) << formType << " op " << i;
        }
    }
}

// However fast the keys follow a click, the payment date printed is the one
// typed: at or right of the middle of the day's last digit as drawn, or after
// a double click, the keys replace it; before a digit they overtype, and after
// Home the month starts at its first digit.
TEST_F(PrintDialogTest, APayDateTypedAfterAClickIsTakenAsTyped) {
    using namespace testing_support;
    struct Row {
        QLineEdit* PrintDialog::*field;
        const char* shown;  // nullptr: as the dialog opens (" 4" "25")
        ClickAt at;
        const char* keys;
        const char* month;
        const char* day;
    } rows[] = {
        {&PrintDialog::edPrnDateDD, nullptr, rightHalfOf(1), "27", " 4", "27"},
        {&PrintDialog::edPrnDateDD, nullptr, ClickAt{1}, "7", " 4", "27"},
        {&PrintDialog::edPrnDateMM, nullptr, kHome, "5", " 5", "25"},
        {&PrintDialog::edPrnDateDD, "31", inkMiddleOf(1), "25", " 4", "25"},
        {&PrintDialog::edPrnDateDD, "31", inkRightOf(1), "25", " 4", "25"},
        {&PrintDialog::edPrnDateDD, "31", inkLeftOf(1), "0", " 4", "30"},
        {&PrintDialog::edPrnDateDD, "31", doubleClickOn(0), "20", " 4", "20"},
    };
    l.sysOption.autoSelect = true;
    l.sysOption.inputOverN = true;
    staff(1);
    chosen = {1};
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "at " << row.at.character << " how " << row.at.how);
        forEachWayIn([&](bool hadFocus, int pace) {
            open(QStringLiteral("給与明細書"), 299);
            dlg->show();
            dlg->activateWindow();
            if (row.shown) ((*dlg).*row.field)->setText(row.shown);
            clickAndType((*dlg).*row.field, dlg->edPrnDateYY, hadFocus, row.at, row.keys, pace);
            const reports::PrintDate date = dlg->pageJob().slipDate;
            EXPECT_EQ(date.month, row.month);
            EXPECT_EQ(date.day, row.day);
        });
    }
    dlg->hide();
}

TEST_F(PrintDialogTest, CommentKeepsFiveLinesAndTheMemoSwitchDisablesIt) {
    open(QStringLiteral("給与明細書"), 299);
    dlg->mmEditMemo->setPlainText(QStringLiteral("1\n2\n3\n4\n5\n6"));
    EXPECT_EQ(dlg->mmEditMemo->toPlainText(), QStringLiteral("1\n2\n3\n4\n5"));
    dlg->cbBikoPrn->setChecked(true);
    EXPECT_FALSE(dlg->mmEditMemo->isEnabled());
    // The comment stays for the next show; the switch does not.
    open(QStringLiteral("給与明細書"), 299);
    EXPECT_FALSE(dlg->cbBikoPrn->isChecked());
    EXPECT_EQ(dlg->pageJob().slip.EditMemo, "1\n2\n3\n4\n5");
}

TEST_F(PrintDialogTest, Screenshots) {
    staff(5);
    chosen = {1, 2};
    open(QStringLiteral("給与明細書"), 299);
    dlg->show();
    testing_support::screenshot(dlg.get(), QStringLiteral("Inji_slips"));
    open(QStringLiteral("月別給与/賞与一覧"), 504);
    testing_support::screenshot(dlg.get(), QStringLiteral("Inji_monthly"));
    open(QStringLiteral("給与/賞与支払金種表"), 700);
    testing_support::screenshot(dlg.get(), QStringLiteral("Inji_cash"));
    dlg->hide();
}

}  // namespace
