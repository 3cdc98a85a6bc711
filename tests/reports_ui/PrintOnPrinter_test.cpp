#include "reports/ui/PrintOnPrinter.h"

#include <gtest/gtest.h>

#include <QPaintEngine>
#include <QPainter>
#include <QPrinter>
#include <functional>
#include <stdexcept>

#include "platform/ui/Printer.h"
#include "support/TempDir.h"
#include "ui/BoxRecorder.h"

namespace {
using reports::PrnCanvas;

// However a job fails, at a sheet or at its very end when the last page goes
// out, the user is told and the job is not taken for printed.
TEST(PrintOnPrinter, AJobThatFailsAtASheetOrAtItsEndIsReported) {
    struct Case {
        const char* what;
        std::function<void(platform::ui::Printer&)> whileDrawing;
        QStringList shown;
    };
    const Case cases[] = {
        {"a job that prints", [](platform::ui::Printer&) {}, {}},
        {"a sheet that cannot be drawn",
         [](platform::ui::Printer&) { throw std::runtime_error("描画できません。"); },
         {QStringLiteral("描画できません。")}},
        {"a page the painter cannot finish",
         [](platform::ui::Printer& p) { p.qprinter().paintEngine()->painter()->end(); },
         {QStringLiteral("印刷に失敗しました。")}},
    };
    for (const Case& c : cases) {
        testing_support::TempDir dir;
        testing_support::BoxRecorder box;
        platform::ui::Printer printer;
        ASSERT_TRUE(printer.selectPrinter(platform::ui::kPdfPrinterName));
        printer.setPdfOutputFile(QString::fromStdString((dir / "job.pdf").string()));
        const bool printed = reports::ui::PrintOnPrinter(
            printer, QStringLiteral("job"), 1, [&](PrnCanvas&, int) { c.whileDrawing(printer); },
            nullptr);
        EXPECT_EQ(printed, c.shown.isEmpty()) << c.what;
        EXPECT_EQ(box.boxes, c.shown) << c.what;
    }
}

}  // namespace
