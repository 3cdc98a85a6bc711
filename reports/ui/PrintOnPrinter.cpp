#include "reports/ui/PrintOnPrinter.h"

#include <QPainter>
#include <QPrinter>
#include <exception>
#include <stdexcept>

#include "platform/ui/MessageBox.h"
#include "platform/ui/Printer.h"
#include "reports/ui/QtSurface.h"

namespace reports::ui {

using platform::ui::kPrintFailed;

bool PrintOnPrinter(platform::ui::Printer& printer, const QString& title, int sheets,
                    const PrinterSheet& draw, QWidget* parent) {
    if (printer.isPdf() && !printer.preparePdfOutput(parent)) return false;
    QPrinter& qp = printer.qprinter();
    qp.setDocName(title);
    QPainter painter;
    if (!painter.begin(&qp)) {
        printer.discardPdfOutput();
        platform::ui::MessageBox::error(parent, QStringLiteral("印刷を開始できませんでした。"));
        return false;
    }
    QtSurface surface(painter);
    PrnCanvas canvas;
    canvas.prepare(
        PrnCanvas::printerMetrics(printer.dpiX(), printer.dpiY(), printer.physicalOffset().x(),
                                  printer.physicalOffset().y()),
        &surface);
    try {
        for (int sheet = 0; sheet < sheets; ++sheet) {
            if (sheet > 0 && !qp.newPage()) throw std::runtime_error(kPrintFailed);
            draw(canvas, sheet);
        }
    } catch (const std::exception& e) {
        qp.abort();
        painter.end();
        printer.discardPdfOutput();
        platform::ui::MessageBox::error(parent, QString::fromUtf8(e.what()));
        return false;
    }
    // The last page reaches the spooler (or the PDF file) only here.
    if (!painter.end()) {
        printer.discardPdfOutput();
        platform::ui::MessageBox::error(parent, QString::fromUtf8(kPrintFailed));
        return false;
    }
    return printer.commitPdfOutput(parent);
}

}  // namespace reports::ui
