#pragma once
#include <QPoint>
#include <QSize>
#include <QString>
#include <memory>

#include "platform/PrinterPort.h"

class QPrinter;
class QWidget;
namespace platform {
class PendingReplacement;
}

// The printer the programs print on, over Qt's printing. The device-mode fields
// the settings keep are mapped to Qt's page size, orientation, source and
// resolution. Besides the installed printers there is always a PDF file as a
// pseudo-printer, current when no printer is installed; its file is asked for
// when a job begins (or set beforehand, as tests do).
namespace platform::ui {

inline constexpr const char* kPdfPrinterName = "PDFファイル";
inline constexpr int kPdfResolution = 600;
inline constexpr const char* kPrintFailed = "印刷に失敗しました。";

class Printer : public platform::PrinterPort {
public:
    // The system's default printer, or the PDF file when none is installed.
    Printer();
    ~Printer() override;
    Printer(const Printer&) = delete;
    Printer& operator=(const Printer&) = delete;

    std::vector<std::string> printerNames() const override;
    std::string printerName() const override;
    bool selectPrinter(const std::string& name) override;
    void resetToDefaults() override;
    platform::DevMode devMode() const override;
    void setDevMode(const platform::DevMode& mode) override;

    bool isPdf() const;
    // The Qt printer to paint on or to hand to the system's print dialog.
    QPrinter& qprinter() { return device(); }

    // The device as the page drawing sees it, in printer dots.
    int dpiX() const;
    int dpiY() const;
    QSize paperSize() const;        // the physical sheet
    QSize printableSize() const;    // the area the painter covers
    QPoint physicalOffset() const;  // the printable area's corner on the sheet

    // The PDF file the next job writes. With a file set beforehand it is used as
    // it is; otherwise a save dialog asks. The job is written beside it and only
    // commitPdfOutput() puts it in the file's place, as a save is: for its owner
    // only, never through another account's link nor into its file. False when
    // the user cancelled or the file could not be made (an error box says why).
    void setPdfOutputFile(const QString& file) { pdfFile_ = file; }
    bool preparePdfOutput(QWidget* parent);
    // After a job that ended whole; true when there is no PDF to commit. The PDF
    // replaces the file only when every byte the job wrote reached the disk;
    // otherwise kPrintFailed and the cause are shown and the file stays as it was.
    bool commitPdfOutput(QWidget* parent);
    // After a job that failed: the file stays as it was.
    void discardPdfOutput();

private:
    // The Qt printer, made for the default printer when first needed.
    QPrinter& device() const;
    void makePrinter(const QString& name) const;
    mutable std::unique_ptr<QPrinter> printer_;
    QString pdfFile_;
    std::unique_ptr<platform::PendingReplacement> pdfOutput_;
    QString pdfTarget_;
};

// The Windows paper code of a Qt page size id (0 when there is none) and back.
int PaperCodeOf(int qtPageSizeId);
int QtPageSizeIdOf(int paperCode);  // -1 when unknown

}  // namespace platform::ui
