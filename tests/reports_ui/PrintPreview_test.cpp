#include "reports/ui/PrintPreview.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>
#include <cstdlib>

#include "reports/ui/QtSurface.h"

namespace reports::ui {
namespace {

// A4 landscape at 600 dpi with a small unprintable corner.
reports::PrinterGeometry a4Landscape() {
    return {7016, 4961, 104, 118, 6808, 4725, 600, 600};
}

struct Fixture {
    PrintPreview preview;
    std::vector<int> drawn;
    std::vector<bool> drawnEnlarged;
    int printed = 0;
    bool backgroundBeforePage = false;

    PreviewDocument doc(int pages) {
        PreviewDocument d;
        d.pageCount = pages;
        d.printer = a4Landscape();
        d.drawPage = [this](PrnCanvas& c, int index) {
            drawn.push_back(index);
            drawnEnlarged.push_back(preview.enlarged());
            c.resetFont("ＭＳ 明朝");
            c.thickPen();
            c.DrawBox(10, 10, 287, 200);
            c.SetFontPoints(16);
            c.DrawText("社員名簿一覧表 " + std::to_string(index + 1) + "ページ", 20, 20);
            c.SetFontPoints(10);
            c.DrawText("No. 氏名　　　　　　　基本給", 20, 40);
        };
        d.print = [this] { ++printed; };
        return d;
    }
    void key(int k) {
        QKeyEvent e(QEvent::KeyPress, k, Qt::NoModifier);
        QApplication::sendEvent(&preview, &e);
    }
};

TEST(PrintPreview, PagingButtonsAndKeys) {
    Fixture f;
    f.preview.begin(f.doc(1));
    EXPECT_FALSE(f.preview.sbBackPage->isEnabled());
    EXPECT_FALSE(f.preview.sbNextPage->isEnabled());

    f.preview.begin(f.doc(3));
    EXPECT_EQ(f.preview.page(), 1);
    EXPECT_FALSE(f.preview.sbBackPage->isEnabled());
    EXPECT_TRUE(f.preview.sbNextPage->isEnabled());
    f.preview.sbNextPage->click();
    EXPECT_EQ(f.preview.page(), 2);
    EXPECT_TRUE(f.preview.sbBackPage->isEnabled() && f.preview.sbNextPage->isEnabled());
    f.key(Qt::Key_PageUp);  // next sheet
    EXPECT_EQ(f.preview.page(), 3);
    f.key(Qt::Key_PageUp);  // nothing past the last
    EXPECT_EQ(f.preview.page(), 3);
    f.key(Qt::Key_PageDown);
    EXPECT_EQ(f.preview.page(), 2);
    f.preview.renderedPage();
    EXPECT_EQ(f.drawn.back(), 1);  // the second sheet, counted from 0
}

TEST(PrintPreview, ReopeningStartsAtTheFirstPageAndKeepsTheViewMode) {
    Fixture f;
    f.preview.resize(1200, 800);
    f.preview.begin(f.doc(3));
    f.preview.sbNextPage->click();
    f.preview.sbNextPage->click();
    f.preview.sbWDisp->click();
    EXPECT_EQ(f.preview.sbWDisp->text(), QStringLiteral("全体表示"));
    f.preview.begin(f.doc(3));
    EXPECT_EQ(f.preview.page(), 1);
    EXPECT_TRUE(f.preview.enlarged());
    EXPECT_EQ(f.preview.sbWDisp->text(), QStringLiteral("全体表示"));
    EXPECT_EQ(f.preview.ScrollBox->verticalScrollBar()->value(), 0);
    f.preview.renderedPage();
    EXPECT_TRUE(f.drawnEnlarged.back());
    f.preview.sbWDisp->click();
    EXPECT_EQ(f.preview.sbWDisp->text(), QStringLiteral("拡大表示"));
    EXPECT_EQ(f.preview.viewMode(), 1);
}

TEST(PrintPreview, EnlargedPaperScrollsByArrowsAndWheel) {
    Fixture f;
    f.preview.resize(1000, 700);
    f.preview.show();
    f.preview.begin(f.doc(1));
    f.preview.sbWDisp->click();
    QApplication::processEvents();
    auto* vb = f.preview.ScrollBox->verticalScrollBar();
    auto* hb = f.preview.ScrollBox->horizontalScrollBar();
    ASSERT_GT(vb->maximum(), 40);
    f.key(Qt::Key_Down);
    EXPECT_EQ(vb->value(), 20);
    f.key(Qt::Key_Right);
    EXPECT_EQ(hb->value(), 20);
    QWheelEvent down(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, -120), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(f.preview.ScrollBox->viewport(), &down);
    EXPECT_EQ(vb->value(), 30);
    f.preview.sbWDisp->click();  // back to the whole page
    f.preview.hide();
}

TEST(PrintPreview, PrintRunsTheJobAndAcceptsCloseRejects) {
    Fixture f;
    f.preview.begin(f.doc(2));
    f.preview.show();
    f.preview.sbPrint->click();
    EXPECT_EQ(f.printed, 1);
    EXPECT_EQ(f.preview.result(), QDialog::Accepted);
    EXPECT_FALSE(f.preview.isVisible());

    f.preview.begin(f.doc(2));
    f.preview.show();
    f.preview.sbClose->click();
    EXPECT_EQ(f.printed, 1);
    EXPECT_EQ(f.preview.result(), QDialog::Rejected);
}

TEST(PrintPreview, BackgroundIsDrawnPaleUnderThePage) {
    Fixture f;
    std::vector<std::string> order;
    auto d = f.doc(1);
    auto page = d.drawPage;
    d.drawPage = [&](PrnCanvas& c, int i) {
        order.push_back("page");
        page(c, i);
    };
    d.drawBackground = [&](PrnCanvas& c, int) {
        order.push_back("background");
        c.ShadeBox(150, 100, 250, 180);
        c.thinPen();
        c.DrawBox(150, 100, 250, 180);
    };
    f.preview.resize(1400, 900);
    f.preview.show();
    f.preview.begin(d);
    QApplication::processEvents();
    QImage img = f.preview.renderedPage();
    EXPECT_EQ(order, (std::vector<std::string>{"background", "page"}));
    ASSERT_FALSE(img.isNull());
    EXPECT_EQ(img.pixel(2, 2), qRgb(255, 255, 255));
    if (const char* dir = std::getenv("TOLVANE_SCREENSHOT_DIR"); dir && *dir)
        f.preview.grab().save(QString::fromUtf8(dir) + "/preview.png");
    f.preview.hide();
}

}  // namespace
}  // namespace reports::ui
