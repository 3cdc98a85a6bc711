#pragma once
#include <QDialog>
#include <QString>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "reports/PrintJob.h"
#include "withholding/YearEndOption.h"
#include "withholding/YearEndPrint.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace ledger {
class Clock;
struct Ledger;
}  // namespace ledger
namespace withholding {
struct WithholdingData;
}
namespace platform {
class PrinterPort;
}
namespace platform::ui {
class Printer;
}
namespace reports {
class PrnCanvas;
}
namespace reports::ui {
class PositionCorrectionBox;
class PrintPreview;
struct PreviewDocument;
}  // namespace reports::ui

// 帳票の印刷 of the year-end program: the withholding slips, refund notices or
// salary payment reports of the employees checked in the main window. The
// dialog counts people and sheets, remembers printer and paper per document,
// offers the shared print-position correction, and prints or previews.
namespace withholding::ui {

struct YearEndPrintRequest;
class MainWindow;

class YearEndPrintDialog : public QDialog {
    Q_OBJECT
public:
    // The corrections and PrintLine are the program's settings in memory: a
    // preview keeps the corrections it used for the run, a print job also
    // stores them in the settings file. The printer may be null (tests): the
    // printer panel then stays empty.
    YearEndPrintDialog(YearEndOption& option, std::filesystem::path iniFile,
                       std::filesystem::path dataPath, const ledger::Clock& clock,
                       platform::PrinterPort* printer, QWidget* parent = nullptr);

    // The caller's protocol: the request's Tag, layout, caption and checked
    // employees, then a modal show.
    void setRequest(const YearEndPrintRequest& request);
    int Tag = 0;
    bool NewLayout = true;
    std::vector<int> checkedSlots;

    // The documents' page drawers; a missing one leaves its copies blank.
    YearEndPageDrawers drawers;

    // Draws sheet `index` (0-based) of the current job.
    using SheetDrawer = std::function<void(reports::PrnCanvas& canvas, int sheet)>;
    // The print backend: prepares the printer target, begins a document with the
    // title, draws the sheets with a page break between them and ends it. False
    // when it failed (the failure was shown and the document aborted).
    std::function<bool(const QString& title, int sheets, const SheetDrawer& draw)> printSheets;
    // The preview of the sheets; `print` is its print command. True when it printed.
    std::function<bool(int sheets, const SheetDrawer& draw, const std::function<void()>& print)>
        showPreview;
    // The system's printer set-up.
    std::function<void()> printerSetup;

    void FormShow();
    void sbPosClick(QObject* sender);
    void edPrAdjustExit(QLineEdit* edit);
    void btPrnSetupClick();
    void btPreViewClick();
    void btOkClick();

    YearEndPageJob pageJob() const;
    std::vector<reports::SlipSheet> jobSheets() const;
    // A job's sheets drawn as fixed now (the dialog may change while it runs).
    SheetDrawer sheetDrawer() const;

    int DocKind = 0;
    int PageCount = 0;
    int TargetCount = 0;
    YearEndOption& Option;

    QLabel* pnPrinter;
    QLabel* pnLType;
    QLabel* pnPrnInfo;
    QPushButton* btPrnSetup;
    reports::ui::PositionCorrectionBox* gbPrAdjust;
    QLineEdit* edPrAdjustV;
    QLineEdit* edPrAdjustH;
    QToolButton* sbPosUp;
    QToolButton* sbPosDown;
    QToolButton* sbPosLeft;
    QToolButton* sbPosRight;
    QToolButton* sbPosReset;
    QPushButton* btPreView;
    QPushButton* btOk;
    QPushButton* btCancel;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showPrinter(const std::string& name);
    // Both corrections read from their edits; an edit that holds no number is
    // reported and focused, and nothing else happens.
    bool takeCorrections();

    std::filesystem::path iniFile_;
    std::filesystem::path dataPath_;
    const ledger::Clock& clock_;
    platform::PrinterPort* printer_;
    QString caption_;
};

// The printer, the print dialog and the preview of the year-end program,
// created once with the main window and kept until the program ends.
struct YearEndPrintWindows {
    // The page drawers read the open year from the ledger and the withholding data.
    YearEndPrintWindows(MainWindow& main, ledger::Ledger& ledger, WithholdingData& data,
                        YearEndOption& option);
    ~YearEndPrintWindows();
    YearEndPrintWindows(const YearEndPrintWindows&) = delete;
    YearEndPrintWindows& operator=(const YearEndPrintWindows&) = delete;

    // The main window's print command: shows the dialog for the request.
    std::function<void(const YearEndPrintRequest&)> printCommand();
    // What the preview shows for the dialog's current job.
    reports::ui::PreviewDocument previewDocument(int sheets,
                                                 const YearEndPrintDialog::SheetDrawer& draw,
                                                 const std::function<void()>& print);

    std::unique_ptr<platform::ui::Printer> printer;
    YearEndPrintDialog* fmInji = nullptr;
    reports::ui::PrintPreview* fmPreView = nullptr;

private:
    MainWindow& main_;
};

}  // namespace withholding::ui
