#include "reports/ui/QtSurface.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QRawFont>

#include <cstdlib>
#include <vector>

#include "platform/ui/MessageBox.h"
#include "platform/ui/Printer.h"
#include "reports/ui/PrintOnPrinter.h"
#include "support/OtherAccount.h"
#include "support/TempDir.h"

namespace reports::ui {
namespace {

// A page with every primitive: frames, a shaded heading, mixed text at the four
// sizes the documents use, narrow and underlined.
void DrawSamplePage(PrnCanvas& c) {
    c.resetFont("ＭＳ 明朝");
    c.ShadeBox(10, 10, 200, 22);
    c.thickPen();
    c.DrawBox(10, 10, 200, 120);
    c.thinPen();
    c.DrawLine(10, 22, 200, 22);
    c.DrawLine(100, 22, 100, 120);
    c.SetFontPoints(16);
    c.FontInfo.Bold = true;
    c.DrawText("給与明細書 2024年4月分", 14, 14);
    c.resetFont("ＭＳ 明朝");
    int points[] = {9, 10, 12, 16};
    float y = 28;
    for (int pt : points) {
        c.SetFontPoints(pt);
        c.DrawText(std::to_string(pt) + "pt 基本給 123,456円 ｶﾞｸ", 14, y);
        c.FontInfo.Narrow = true;
        c.DrawText("狭い 残業手当 12,000", 104, y);
        c.FontInfo.Narrow = false;
        y += pt / 2.8f + 4;
    }
    c.resetFont("ＭＳ ゴシック");
    c.SetFontPoints(12);
    c.FontInfo.Underline = true;
    c.DrawText("差引支給額 ¥298,765", 14, 100);
    c.resetFont("ＭＳ ゴシック");
    c.SetFontPoints(10);
    c.DrawText("ゴシック体 ABCabc 0123", 104, 100);
}

const char* screenshotDir() {
    const char* dir = std::getenv("TOLVANE_SCREENSHOT_DIR");
    return dir && *dir ? dir : nullptr;
}

// 150 dpi A4 portrait: 1240 x 1754 dots, no unprintable margin.
QImage renderSample() {
    QImage img(1240, 1754, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    QtSurface s(p);
    PrnCanvas c;
    c.prepare(PrnCanvas::printerMetrics(150, 150, 0, 0), &s);
    DrawSamplePage(c);
    p.end();
    return img;
}

bool dark(QRgb c) {
    return qGray(c) < 128;
}

TEST(QtSurface, SamplePageRendersFramesShadeAndTextInTheirCells) {
    QImage img = renderSample();
    if (auto dir = screenshotDir()) img.save(QString::fromUtf8(dir) + "/sample_page.png");
    PrnCanvas c;
    c.prepare(PrnCanvas::printerMetrics(150, 150, 0, 0), nullptr);

    // The shade fills inside the box in light blue.
    EXPECT_EQ(img.pixel(c.deviceX(150), c.deviceY(18)), qRgb(0xBB, 0xDD, 0xFF));
    // Frame lines are black; the body of the box stays white.
    EXPECT_TRUE(dark(img.pixel(c.deviceX(100), c.deviceY(60))));
    EXPECT_TRUE(dark(img.pixel(c.deviceX(10), c.deviceY(60))));
    EXPECT_EQ(img.pixel(c.deviceX(150), c.deviceY(115)), qRgb(255, 255, 255));

    // The 16 pt heading: ink inside its cells, none in the row just above them.
    int top = c.deviceY(14);
    int cell = int(16 / 2.8 * 150 / 25.4 + 0.5);
    int inkInCell = 0, inkAbove = 0;
    for (int x = c.deviceX(14); x < c.deviceX(80); ++x) {
        for (int y = top; y < top + cell; ++y) inkInCell += dark(img.pixel(x, y));
        inkAbove += dark(img.pixel(x, top - 2));
    }
    EXPECT_GT(inkInCell, 200);
    EXPECT_EQ(inkAbove, 0);
}

TEST(QtSurface, NarrowGlyphsAreCondensedAndFontsAreTheIpaFaces) {
    // The same character drawn normal and narrow: the narrow one is 3/7 : 1/2 as wide.
    QImage img(400, 200, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    QtSurface s(p);
    DeviceFont f{"ＭＳ 明朝", 84, 0, false, false};
    s.drawChar("国", 0, 0, f);
    DeviceFont narrow = f;
    narrow.width = 36;
    s.drawChar("国", 200, 0, narrow);
    EXPECT_EQ(QFontInfo(s.qfont(f)).family(), QStringLiteral("IPAMincho"));
    EXPECT_EQ(QFontInfo(s.qfont({"ＭＳ ゴシック", 40, 0, false, false})).family(),
              QStringLiteral("IPAGothic"));
    p.end();
    auto inkWidth = [&](int from, int to) {
        int lo = to, hi = from;
        for (int x = from; x < to; ++x)
            for (int y = 0; y < 100; ++y)
                if (dark(img.pixel(x, y))) {
                    lo = std::min(lo, x);
                    hi = std::max(hi, x);
                }
        return hi - lo;
    };
    double normal = inkWidth(0, 200), condensed = inkWidth(200, 400);
    EXPECT_NEAR(condensed / normal, 36.0 / 42.0, 0.06);
    EXPECT_GT(normal, 60);
    EXPECT_LE(normal, 84);
}

// The characters of a run as they were once drawn: each on its own, the painter
// moved to its cell and stretched for a narrow font.
void drawOneByOne(QPainter& p, QtSurface& s, const std::vector<PlacedChar>& run, int y,
                  const DeviceFont& f) {
    const QFont font = s.qfont(f);
    const qreal ascent = QFontMetricsF(font, p.device()).ascent();
    for (const PlacedChar& c : run) {
        p.save();
        p.setFont(font);
        p.setPen(Qt::black);
        p.translate(c.x, y + ascent);
        if (f.width > 0) p.scale(f.width / (f.height / 2.0), 1);
        p.drawText(QPointF(0, 0), QString::fromUtf8(c.utf8.data(), qsizetype(c.utf8.size())));
        p.restore();
    }
}

QRect inkBox(const QImage& img) {
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (dark(img.pixel(x, y))) box |= QRect(x, y, 1, 1);
    return box;
}

// A run drawn in one call puts every character where drawing it alone puts it,
// in plain, bold and narrow faces.
TEST(QtSurface, ARunInOneCallInksWhereItsCharactersDrawnOneByOneDo) {
    const std::vector<PlacedChar> run{{"給", 10}, {"与", 60}, {"1", 110}, {"2", 135},
                                      {",", 160}, {"ｶ", 185}, {"円", 210}};
    for (DeviceFont f : {DeviceFont{"ＭＳ 明朝", 50, 0, false, false},
                         DeviceFont{"ＭＳ ゴシック", 50, 0, true, false},
                         DeviceFont{"ＭＳ 明朝", 50, 21, false, false}}) {
        QImage once(300, 80, QImage::Format_RGB32), each(300, 80, QImage::Format_RGB32);
        once.fill(Qt::white);
        each.fill(Qt::white);
        {
            QPainter p(&once);
            QtSurface s(p);
            s.drawChars(run, 10, f);
        }
        {
            QPainter p(&each);
            QtSurface s(p);
            drawOneByOne(p, s, run, 10, f);
        }
        const QRect box = inkBox(each);
        ASSERT_GT(box.width(), 150) << f.name << f.bold << f.width;
        EXPECT_EQ(inkBox(once), box) << f.name << f.bold << f.width;
        int differ = 0;
        for (int y = 0; y < 80; ++y)
            for (int x = 0; x < 300; ++x)
                differ += dark(once.pixel(x, y)) != dark(each.pixel(x, y));
        EXPECT_LT(differ, 20) << f.name << f.bold << f.width;
    }
}

// The painter is stretched only for the narrow text itself: a line drawn next
// keeps its ends, and a character the face lacks still gets ink from another.
TEST(QtSurface, NarrowTextLeavesLinesAloneAndMissingCharactersStillShow) {
    QImage img(400, 120, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    QtSurface s(p);
    const DeviceFont narrow{"ＭＳ 明朝", 40, 17, false, false};
    s.drawChar("国", 10, 10, narrow);
    s.drawLine(100, 100, 300, 100, 1);
    const DeviceFont plain{"ＭＳ 明朝", 40, 0, false, false};
    const std::vector<PlacedChar> hangul{{"한", 320}};
    s.drawChars(hangul, 10, plain);
    p.end();
    EXPECT_TRUE(dark(img.pixel(100, 100)));
    EXPECT_TRUE(dark(img.pixel(299, 100)));
    EXPECT_FALSE(dark(img.pixel(310, 100)));
    EXPECT_FALSE(dark(img.pixel(90, 100)));
    if (QRawFont::fromFont(s.qfont(plain)).supportsCharacter(U'한'))
        GTEST_SKIP() << "the face has the character itself";
    QImage cell = img.copy(315, 5, 80, 60);
    EXPECT_TRUE(inkBox(cell).isValid());
}

TEST(QtSurface, PdfPseudoPrinterWritesTheSamplePage) {
    testing_support::TempDir dir;
    platform::ui::Printer printer;
    ASSERT_TRUE(printer.selectPrinter(platform::ui::kPdfPrinterName));
    EXPECT_EQ(printer.physicalOffset(), QPoint(0, 0));
    EXPECT_EQ(printer.dpiX(), platform::ui::kPdfResolution);
    QString file = QString::fromStdString((dir / "sample.pdf").string());
    if (auto d = screenshotDir()) file = QString::fromUtf8(d) + "/sample_page.pdf";
    printer.setPdfOutputFile(file);
    ASSERT_TRUE(printer.preparePdfOutput(nullptr));
    QPainter p;
    ASSERT_TRUE(p.begin(&printer.qprinter()));
    QtSurface s(p);
    PrnCanvas c;
    c.prepare(PrnCanvas::printerMetrics(printer.dpiX(), printer.dpiY(),
                                        printer.physicalOffset().x(), printer.physicalOffset().y()),
              &s);
    DrawSamplePage(c);
    ASSERT_TRUE(p.end());
    ASSERT_TRUE(printer.commitPdfOutput(nullptr));
    auto bytes = testing_support::readText(file.toStdString());
    ASSERT_GT(bytes.size(), 1000u);
    EXPECT_EQ(bytes.substr(0, 5), "%PDF-");
}

// A PDF is saved as a data file is: a file of the user's own keeps its mode, a
// new one and one in place of another account's file or link are private files
// of ours, and the file at the link's end stays as it was. Rows of another
// account need a second uid and are skipped without one.
TEST(Printer, PdfOutputNeverWritesThroughOrIntoAnotherAccountsFile) {
    using namespace testing_support;
    namespace fs = std::filesystem;
    enum class Planted { Nothing, Ours, Theirs, TheirLink };
    const struct Row {
        Planted planted;
        mode_t mode;  // of the planted file
        mode_t expected;
    } rows[] = {
        {Planted::Nothing, 0, 0600},
        {Planted::Ours, 0640, 0640},
        {Planted::Theirs, 0666, 0600},
        {Planted::TheirLink, 0, 0600},
    };
    platform::ui::ScopedResponder noBoxes([](const platform::ui::MessageRequest& r) {
        ADD_FAILURE() << r.text.toStdString();
        return platform::ui::Answer::Ok;
    });
    for (const Row& row : rows) {
        SCOPED_TRACE(int(row.planted));
        const bool other = row.planted == Planted::Theirs || row.planted == Planted::TheirLink;
        if (other && !canActAsOtherAccount()) continue;
        TempDir dir;
        const fs::path folder = makeSharedFolder(dir.path(), false);
        const fs::path pdf = folder / "slip.pdf";
        if (row.planted == Planted::TheirLink) fs::create_symlink(dir / "private.txt", pdf);
        if (row.mode) {
            writeText(pdf, "old");
            ASSERT_EQ(::chmod(pdf.c_str(), row.mode), 0);
        }
        if (other) giveToOtherAccount(pdf);
        platform::ui::Printer printer;
        ASSERT_TRUE(printer.selectPrinter(platform::ui::kPdfPrinterName));
        printer.setPdfOutputFile(QString::fromStdString(pdf.string()));
        ASSERT_TRUE(PrintOnPrinter(
            printer, QStringLiteral("slip"), 1,
            [](PrnCanvas& c, int) { c.DrawText("給与明細書", 10, 10); }, nullptr));
        struct stat st {};
        ASSERT_EQ(::lstat(pdf.c_str(), &st), 0);
        EXPECT_TRUE(S_ISREG(st.st_mode));
        EXPECT_EQ(st.st_uid, ::geteuid());
        EXPECT_EQ(st.st_mode & 07777, row.expected);
        EXPECT_EQ(readText(pdf).substr(0, 5), "%PDF-");
        EXPECT_TRUE(readText(dir / "private.txt") == "mine")
            << "the file at the link's end changed";
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
    }
}

TEST(Printer, DeviceModeFieldsMapToQtPageSetup) {
    platform::ui::Printer printer;
    ASSERT_TRUE(printer.selectPrinter(platform::ui::kPdfPrinterName));
    EXPECT_FALSE(printer.selectPrinter("no such printer"));
    printer.setDevMode({13, 0, 0, 2, 0, 0, true});
    auto m = printer.devMode();
    EXPECT_EQ(m.PaperSize, 13);  // JIS B5, not ISO
    EXPECT_EQ(m.PaperWidth, 1820);
    EXPECT_EQ(m.PaperLength, 2570);
    EXPECT_EQ(m.Orientation, 2);
    EXPECT_TRUE(m.Colour);
    // Landscape B5 at 600 dpi: the sheet is wider than high.
    EXPECT_NEAR(printer.paperSize().width(), 257 / 25.4 * 600, 6);  // Qt keeps whole points
    EXPECT_NEAR(printer.paperSize().height(), 182 / 25.4 * 600, 6);

    printer.resetToDefaults();
    printer.setDevMode({9, 0, 0, 1, 0, 300, false});
    m = printer.devMode();
    EXPECT_EQ(m.PaperSize, 9);
    EXPECT_EQ(m.Orientation, 1);
    EXPECT_EQ(m.PrintQuality, 300);
    EXPECT_EQ(printer.dpiY(), 300);

    printer.setDevMode({256, 1000, 1500, 1, 0, 0, false});
    m = printer.devMode();
    EXPECT_EQ(m.PaperSize, 256);
    EXPECT_EQ(m.PaperWidth, 1000);
    EXPECT_EQ(m.PaperLength, 1500);
}

}  // namespace
}  // namespace reports::ui
