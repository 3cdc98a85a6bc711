#include "platform/ui/Printer.h"

#include <QFile>
#include <QFileDialog>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <cmath>

#include "platform/Files.h"
#include "platform/ui/MessageBox.h"

namespace platform::ui {
namespace {

struct PaperCode {
    int code;
    QPageSize::PageSizeId id;
};
// B4 and B5 are the JIS sizes (182 x 257 mm for B5), as Windows' codes mean.
constexpr PaperCode kPaperCodes[] = {
    {1, QPageSize::Letter}, {5, QPageSize::Legal},  {8, QPageSize::A3},     {9, QPageSize::A4},
    {11, QPageSize::A5},    {12, QPageSize::JisB4}, {13, QPageSize::JisB5},
};
constexpr int kUserPaper = 256;

// Windows paper bins 1..11 follow Qt's order one lower; 14 and 15 are the cassette
// and the form source.
int sourceCodeOf(QPrinter::PaperSource s) {
    int v = int(s);
    if (v >= 0 && v <= 10) return v + 1;
    if (s == QPrinter::Cassette) return 14;
    if (s == QPrinter::FormSource) return 15;
    return 0;
}
int qtSourceOf(int code) {
    if (code >= 1 && code <= 11) return code - 1;
    if (code == 14) return QPrinter::Cassette;
    if (code == 15) return QPrinter::FormSource;
    return -1;
}

}  // namespace

int PaperCodeOf(int qtPageSizeId) {
    for (auto& p : kPaperCodes)
        if (int(p.id) == qtPageSizeId) return p.code;
    return 0;
}

int QtPageSizeIdOf(int paperCode) {
    for (auto& p : kPaperCodes)
        if (p.code == paperCode) return int(p.id);
    return -1;
}

// Finding the default printer loads the system's printing (CUPS, and with it
// Kerberos, TLS and service discovery) and asks its server; the print dialogs
// are created at start-up, so that waits until something is printed or shown.
Printer::Printer() = default;

QPrinter& Printer::device() const {
    if (!printer_) {
        QPrinterInfo def = QPrinterInfo::defaultPrinter();
        QString name = def.isNull() ? QString() : def.printerName();
        if (name.isEmpty()) {
            const auto names = QPrinterInfo::availablePrinterNames();
            if (!names.isEmpty()) name = names.front();
        }
        makePrinter(name.isEmpty() ? QString::fromUtf8(kPdfPrinterName) : name);
    }
    return *printer_;
}

Printer::~Printer() = default;  // a job never committed leaves the file as it was

void Printer::makePrinter(const QString& name) const {
    if (name == QString::fromUtf8(kPdfPrinterName)) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer_->setOutputFormat(QPrinter::PdfFormat);
        printer_->setResolution(kPdfResolution);
        printer_->setPageSize(QPageSize(QPageSize::A4));
        printer_->setFullPage(false);
        printer_->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    } else {
        printer_ =
            std::make_unique<QPrinter>(QPrinterInfo::printerInfo(name), QPrinter::HighResolution);
        // The painter's origin is the printable corner, as on the printers the
        // documents were laid out for; the engine subtracts the offset itself.
        printer_->setFullPage(false);
        printer_->setPageMargins(printer_->pageLayout().minimumMargins(),
                                 printer_->pageLayout().units());
    }
    printer_->setDocName(QStringLiteral("Pembrel Tolvane4"));
}

std::vector<std::string> Printer::printerNames() const {
    std::vector<std::string> out;
    for (const auto& n : QPrinterInfo::availablePrinterNames()) out.push_back(n.toStdString());
    out.push_back(kPdfPrinterName);
    return out;
}

bool Printer::isPdf() const {
    return device().outputFormat() == QPrinter::PdfFormat;
}

std::string Printer::printerName() const {
    return isPdf() ? std::string(kPdfPrinterName) : device().printerName().toStdString();
}

bool Printer::selectPrinter(const std::string& name) {
    for (const auto& n : printerNames())
        if (n == name) {
            makePrinter(QString::fromStdString(name));
            return true;
        }
    return false;
}

void Printer::resetToDefaults() {
    makePrinter(QString::fromStdString(printerName()));
}

platform::DevMode Printer::devMode() const {
    platform::DevMode m;
    QPageLayout layout = device().pageLayout();
    QPageSize size = layout.pageSize();
    int code = PaperCodeOf(int(size.id()));
    m.PaperSize = code ? code : kUserPaper;
    QSizeF mm = size.size(QPageSize::Millimeter);
    m.PaperWidth = int(std::nearbyint(std::min(mm.width(), mm.height()) * 10));
    m.PaperLength = int(std::nearbyint(std::max(mm.width(), mm.height()) * 10));
    m.Orientation = layout.orientation() == QPageLayout::Landscape ? 2 : 1;
    m.DefaultSource = isPdf() ? 0 : sourceCodeOf(device().paperSource());
    m.PrintQuality = device().resolution();
    m.Colour = device().colorMode() == QPrinter::Color;
    return m;
}

void Printer::setDevMode(const platform::DevMode& m) {
    int id = QtPageSizeIdOf(m.PaperSize);
    if (id >= 0)
        device().setPageSize(QPageSize(QPageSize::PageSizeId(id)));
    else if ((m.PaperSize == 0 || m.PaperSize == kUserPaper) && m.PaperWidth > 0 &&
             m.PaperLength > 0)
        device().setPageSize(
            QPageSize(QSizeF(m.PaperWidth / 10.0, m.PaperLength / 10.0), QPageSize::Millimeter));
    if (m.Orientation == 1) device().setPageOrientation(QPageLayout::Portrait);
    if (m.Orientation == 2) device().setPageOrientation(QPageLayout::Landscape);
    int source = qtSourceOf(m.DefaultSource);
    if (source >= 0 && !isPdf()) device().setPaperSource(QPrinter::PaperSource(source));
    if (m.PrintQuality > 0) device().setResolution(m.PrintQuality);
    if (m.Colour) device().setColorMode(QPrinter::Color);
    // A new sheet has its own unprintable margins.
    if (isPdf())
        device().setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    else
        device().setPageMargins(device().pageLayout().minimumMargins(),
                                device().pageLayout().units());
}

int Printer::dpiX() const {
    return device().logicalDpiX();
}
int Printer::dpiY() const {
    return device().logicalDpiY();
}

QSize Printer::paperSize() const {
    return device().paperRect(QPrinter::DevicePixel).toRect().size();
}

QSize Printer::printableSize() const {
    return device().pageRect(QPrinter::DevicePixel).toRect().size();
}

QPoint Printer::physicalOffset() const {
    return (device().pageRect(QPrinter::DevicePixel).topLeft() -
            device().paperRect(QPrinter::DevicePixel).topLeft())
        .toPoint();
}

bool Printer::preparePdfOutput(QWidget* parent) {
    if (!isPdf()) return true;
    QString file = pdfFile_;
    if (file.isEmpty()) {
        file = QFileDialog::getSaveFileName(parent, QStringLiteral("PDFファイルに印刷"), QString(),
                                            QStringLiteral("PDF (*.pdf)"));
        if (file.isEmpty()) return false;
        if (!file.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
            file += QStringLiteral(".pdf");
    }
    // Slips carry pay and 個人番号: Qt's writer would truncate whatever the name
    // holds, follow any link and keep another account's file theirs. It writes the
    // private temporary file instead, by a name no one else can redirect.
    try {
        pdfOutput_.reset();
        pdfOutput_ =
            std::make_unique<platform::PendingReplacement>(QFile::encodeName(file).toStdString());
    } catch (const std::exception& e) {
        MessageBox::error(parent, QString::fromUtf8(e.what()));
        return false;
    }
    device().setOutputFileName(QFile::decodeName(pdfOutput_->writerPath().c_str()));
    pdfTarget_ = file;
    return true;
}

bool Printer::commitPdfOutput(QWidget* parent) {
    if (!pdfOutput_) return true;
    const auto output = std::move(pdfOutput_);
    // The dialogs show the file chosen, not the writer's name for it.
    device().setOutputFileName(pdfTarget_);
    try {
        output->commit();
    } catch (const std::exception& e) {
        MessageBox::error(
            parent, QString::fromUtf8(kPrintFailed) + QChar('\r') + QString::fromUtf8(e.what()));
        return false;
    }
    return true;
}

void Printer::discardPdfOutput() {
    if (!pdfOutput_) return;
    pdfOutput_.reset();
    device().setOutputFileName(pdfTarget_);
}

}  // namespace platform::ui
