#pragma once
#include <QString>
#include <functional>

#include "reports/PrnCanvas.h"

class QWidget;
namespace platform::ui {
class Printer;
}

namespace reports::ui {

// Draws one sheet of a document, numbered from 0.
using PrinterSheet = std::function<void(PrnCanvas& canvas, int sheet)>;

// One document of `sheets` sheets on the current printer (a PDF file where no
// printer is installed). A sheet that fails to draw aborts the whole document,
// so half a job never reaches the spooler as if complete; every failure is
// shown to the user over `parent`. True when the job reached the spooler whole.
bool PrintOnPrinter(platform::ui::Printer& printer, const QString& title, int sheets,
                    const PrinterSheet& draw, QWidget* parent);

}  // namespace reports::ui
