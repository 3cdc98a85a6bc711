// 80 pay slips (40 sheets, two to an A4 sheet) through the print path into a PDF,
// and drawn for the preview; against the floor of QPdfWriter writing the same
// pages with one drawText per text run and the same lines and boxes.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include <cstdlib>
#include <filesystem>

#include "BenchData.h"
#include "platform/ui/Fonts.h"
#include "reports/DrawPage.h"
#include "reports/PrintJob.h"
#include "reports/ui/QtSurface.h"

namespace {

using bench_data::Company;

constexpr int kDpi = 600;  // the PDF printer's resolution

struct Slips : Company {
    Slips() {
        openPeriod(12);
        ledger::MessageLog messages;
        ledger::RecalcAll(ledger, messages);
        job.docKind = reports::kDocPaySlips;
        job.slip.FormType = 3;  // A4, two slips a sheet
        job.slipDate = reports::SlipPrintDate("令和 ", "8", "12", "25");
        std::vector<int> chosen;
        for (int s = 1; s <= ledger::kSlots; ++s) chosen.push_back(s);
        sheets = reports::JobSheets(reports::kDocPaySlips, 0, chosen, job.slip.FormType);
        pdf = (folder.path / "slips.pdf").string();
    }
    void drawAll(QPaintDevice& device, QPainter& painter, reports::Surface& surface,
                 const reports::TargetMetrics& m, auto newPage) const {
        reports::PrnCanvas canvas;
        canvas.prepare(m, &surface);
        bool first = true;
        for (const auto& sheet : sheets) {
            if (!first) newPage();
            first = false;
            reports::DrawPage(canvas, ledger, job, sheet.first, sheet.second);
        }
        (void)device, (void)painter;
    }

    reports::PageJob job;
    std::vector<reports::SlipSheet> sheets;
    std::string pdf;
};

void BM_PaySlipsToPdf(benchmark::State& state) {
    Slips s;
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(s.pdf));
        printer.setResolution(kDpi);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setFullPage(true);
        QPainter painter(&printer);
        reports::ui::QtSurface surface(painter);
        s.drawAll(printer, painter, surface, reports::PrnCanvas::printerMetrics(kDpi, kDpi, 0, 0),
                  [&] { printer.newPage(); });
        painter.end();
    }
    state.SetItemsProcessed(state.iterations() * std::int64_t(s.sheets.size()));
    // For a person to look at the pages: TOLVANE_BENCH_PDF=<file> keeps a copy.
    if (const char* keep = std::getenv("TOLVANE_BENCH_PDF"); keep && *keep)
        std::filesystem::copy_file(s.pdf, keep, std::filesystem::copy_options::overwrite_existing);
}
BENCHMARK(BM_PaySlipsToPdf)->Unit(benchmark::kMillisecond);

// Draws each text run whole where the engine announces it, and the same lines
// and boxes, with the painter state set for each call.
class RunSurface : public reports::Surface {
public:
    explicit RunSurface(QPainter& p) : p_(p) {}
    void beginText(std::string_view utf8, int x, int y, const reports::DeviceFont& font) override {
        QFont f(platform::ui::familyFor(QString::fromStdString(font.name)));
        f.setPixelSize(std::max(1, font.height));
        f.setBold(font.bold);
        p_.setFont(f);
        p_.setPen(Qt::black);
        p_.drawText(QPointF(x, y + font.height * 0.88),
                    QString::fromUtf8(utf8.data(), qsizetype(utf8.size())));
    }
    void drawChar(std::string_view, int, int, const reports::DeviceFont&) override {}
    void drawLine(int x1, int y1, int x2, int y2, int pen) override {
        p_.setPen(QPen(Qt::black, std::max(1, pen)));
        p_.drawLine(x1, y1, x2, y2);
    }
    void drawRect(int x1, int y1, int x2, int y2, int pen) override {
        p_.setPen(QPen(Qt::black, std::max(1, pen)));
        p_.setBrush(Qt::NoBrush);
        p_.drawRect(QRect(QPoint(x1, y1), QPoint(x2, y2)));
    }
    void fillRect(int x1, int y1, int x2, int y2, std::uint32_t) override {
        p_.fillRect(QRect(QPoint(x1, y1), QPoint(x2, y2)), QColor(0xBB, 0xDD, 0xFF));
    }

private:
    QPainter& p_;
};

void BM_PaySlipsToPdfFloor(benchmark::State& state) {
    Slips s;
    for (auto _ : state) {
        QPdfWriter writer(QString::fromStdString(s.pdf));
        writer.setResolution(kDpi);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter(&writer);
        RunSurface surface(painter);
        s.drawAll(writer, painter, surface, reports::PrnCanvas::printerMetrics(kDpi, kDpi, 0, 0),
                  [&] { writer.newPage(); });
        painter.end();
    }
    state.SetItemsProcessed(state.iterations() * std::int64_t(s.sheets.size()));
}
BENCHMARK(BM_PaySlipsToPdfFloor)->Unit(benchmark::kMillisecond);

// The preview draws each sheet whole into an image of the page at the screen's
// 96 pixels per inch.
void BM_PreviewSheets(benchmark::State& state) {
    Slips s;
    QImage img(794, 1123, QImage::Format_RGB32);
    for (auto _ : state) {
        for (const auto& sheet : s.sheets) {
            img.fill(Qt::white);
            QPainter painter(&img);
            painter.setRenderHint(QPainter::TextAntialiasing);
            reports::ui::QtSurface surface(painter);
            reports::PrnCanvas canvas;
            canvas.prepare(reports::PrnCanvas::previewMetrics(kDpi, kDpi, 0, 0, 96, 100), &surface);
            reports::DrawPage(canvas, s.ledger, s.job, sheet.first, sheet.second);
        }
    }
    state.SetItemsProcessed(state.iterations() * std::int64_t(s.sheets.size()));
}
BENCHMARK(BM_PreviewSheets)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    platform::ui::installFontSubstitutions();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
