#pragma once
#include <QDialog>
#include <QString>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

#include "reports/DrawPage.h"
#include "reports/LedgerRows.h"
#include "reports/PrintJob.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QToolButton;

namespace ledger {
struct Ledger;
}
namespace platform {
class PrinterPort;
}

// 帳票の印刷: the one print dialog of the payroll program. The caller sets the
// caption and the Tag (document kind × 100 + target) and shows it modally; the
// dialog counts people and sheets, offers printer, form type, payment date,
// comment and print-position correction, and prints, previews or exports.
namespace reports::ui {

class PositionCorrectionBox;

class PrintDialog : public QDialog {
    Q_OBJECT
public:
    // Reads [Option] FormType, PrAdjustH and PrAdjustV once, now. The printer may
    // be null (tests): the printer panel then stays empty.
    PrintDialog(ledger::Ledger& ledger, std::filesystem::path iniFile,
                platform::PrinterPort* printer, QWidget* parent = nullptr);

    // The caller's protocol: caption and Tag, then a modal show.
    void setRequest(const QString& caption, int tag);
    int Tag = 0;

    // The employees chosen in the employee list, in list order.
    std::function<std::vector<int>()> selectedSlots;

    // Draws sheet `index` (0-based) of the current job; the preview's and the
    // image export's page source.
    using SheetDrawer = std::function<void(PrnCanvas& canvas, int sheet, bool smallPreview)>;

    // The print backend: prepares the printer target, begins a document with the
    // title, draws the sheets with a page break between them, ends it. False
    // when it failed (the failure was shown and the document aborted).
    std::function<bool(const QString& title, int sheets, const SheetDrawer& draw)> printSheets;
    // The preview: shows the sheets over their pre-printed form (empty for
    // plain paper) and runs `print` from its print button; true when it printed.
    struct PreviewRequest {
        int sheets = 0;
        SheetDrawer draw;
        SheetDrawer background;
        std::function<void()> print;
    };
    std::function<bool(const PreviewRequest&)> showPreview;
    // The system's printer set-up.
    std::function<void()> printerSetup;
    // The exports of the CSV/image button (kinds 2, 4, 5); true when done.
    std::function<bool(PrintDialog& dialog)> exportSlipImages;
    std::function<bool(PrintDialog& dialog)> exportLedgerCsv;
    std::function<bool(PrintDialog& dialog)> exportMonthlyCsv;

    // Runs the show steps; with a sender (a check box or grouping button) only
    // the counts and texts are recomputed.
    void FormShow(QObject* sender = nullptr);
    void cbFormTypeChange();
    void sbPosClick(QObject* sender);
    void edPrAdjustExit(QLineEdit* edit);
    void mmEditMemoChange();
    void btPrnSetupClick();
    void btPreViewClick();
    void btPrintClick();
    void btCsvFileClick();

    // The job as it stands now: its sheets and what every page needs.
    std::vector<SlipSheet> jobSheets() const;
    PageJob pageJob() const;
    void drawSheet(PrnCanvas& canvas, int sheet, bool smallPreview) const;
    // A job's sheets drawn as fixed now (the dialog may change while it runs).
    SheetDrawer sheetDrawer() const;

    int DocKind = 0;
    int PageCount = 0;
    int TargetCount = 0;
    LedgerRowFlags RowFlags;
    int FormType = kDefaultFormType;
    double PrAdjustH = 0;  // millimetres, as in force for drawing
    double PrAdjustV = 0;

    QLabel* pnPrinter;
    QPushButton* btPrnSetup;
    QComboBox* cbFormType;
    QLabel* pnLType;
    QLabel* pnPrnInfo;
    QLabel* lbNengappi0;
    QLabel* lbNengappi1;
    QLineEdit* edPrnDateYY;
    QLineEdit* edPrnDateMM;
    QLineEdit* edPrnDateDD;
    QStackedWidget* dateOrMethod;
    QWidget* pnPrnMethod;
    QRadioButton* rbNormal;
    QRadioButton* rbSyaKbn;
    QRadioButton* rbBusyo;
    QLabel* lbEditMemo;
    QPlainTextEdit* mmEditMemo;
    QCheckBox* cbBikoPrn;
    QCheckBox* cbAllPrint;
    PositionCorrectionBox* gbPrAdjust;
    QLineEdit* edPrAdjustV;
    QLineEdit* edPrAdjustH;
    QToolButton* sbPosUp;
    QToolButton* sbPosDown;
    QToolButton* sbPosLeft;
    QToolButton* sbPosRight;
    QToolButton* sbPosReset;
    QPushButton* btPreView;
    QPushButton* btPrint;
    QPushButton* btCsvFile;
    QPushButton* btCancel;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void recount();
    void showPrinter(const std::string& name);
    void selectPaper(PaperChoice paper);
    // Both corrections read from their edits (horizontal first); an edit that
    // holds no number is reported and focused.
    bool takeCorrections();
    MonthlyGrouping grouping() const;

    ledger::Ledger& ledger_;
    std::filesystem::path iniFile_;
    platform::PrinterPort* printer_;
    QString caption_;
    std::string eraLabel_;  // today's era name and "    年    月    日"
    bool memoBusy_ = false;
    MonthlyPagePlan plan_;
};

}  // namespace reports::ui
