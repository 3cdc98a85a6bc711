#pragma once
#include <QDialog>
#include <QImage>
#include <functional>

#include "reports/PreviewLayout.h"
#include "reports/PrnCanvas.h"

class QPushButton;
class QScrollArea;

namespace platform::ui {
class Printer;
}

namespace reports::ui {

// What the preview shows: the print dialog fills it and keeps the drawing to
// itself (dates, slip offsets, corrections, the document's drawer).
struct PreviewDocument {
    int pageCount = 1;
    // Draws the sheet pageIndex (0 = the first) on a canvas already prepared for
    // the preview (scales, offsets, pens; the sheet filled white). Whether the
    // preview is enlarged is PrintPreview::enlarged().
    std::function<void(reports::PrnCanvas&, int pageIndex)> drawPage;
    // The pre-printed form under the values (slip form types 0 and 4), drawn
    // first in a pale ink; empty for plain paper.
    std::function<void(reports::PrnCanvas&, int pageIndex)> drawBackground;
    // The print dialog's print job, run by 印刷実行.
    std::function<void()> print;
    reports::PrinterGeometry printer;
    // The pens in pixels; a document whose rules differ in weight sets them.
    int thinPenWidth = 1;
    int thickPenWidth = 1;
};

// The printer's geometry as the preview lays it out.
reports::PrinterGeometry GeometryOf(platform::ui::Printer& printer);

class PreviewPage;

// 印刷プレビュー: one sheet at a time, whole or enlarged; Page Up is the next
// sheet and Page Down the previous one. exec() gives Accepted when the user
// printed from it, Rejected when closed.
class PrintPreview : public QDialog {
    Q_OBJECT
public:
    explicit PrintPreview(QWidget* parent = nullptr);

    // Shows the document maximised from its first sheet; the view mode is kept
    // from the last opening.
    int run(const PreviewDocument& document);
    // The same without showing or waiting (run and the tests use it).
    void begin(const PreviewDocument& document);

    int page() const { return page_; }  // 1-based
    int viewMode() const { return mode_; }
    bool enlarged() const { return mode_ == 2; }
    const reports::PreviewLayout& layout() const { return layout_; }
    // The sheet as last rendered (for tests and a person to look at).
    QImage renderedPage();

    // The tool bar holding the buttons.
    QWidget* Panel1;
    QPushButton* sbPrint;
    QPushButton* sbWDisp;
    QPushButton* sbBackPage;
    QPushButton* sbNextPage;
    QPushButton* sbClose;
    QScrollArea* ScrollBox;

    void sbPageUpDownClick(int delta);
    void sbWDispClick();
    void sbPrintClick();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class PreviewPage;
    void FormResize();
    void updatePageButtons();
    void scrollBy(int dx, int dy);
    QImage renderPage(QSize size);

    PreviewDocument doc_;
    int page_ = 1;
    int mode_ = 1;
    reports::PreviewLayout layout_;
    QWidget* content_;
    QWidget* pnPaper;
    PreviewPage* pbImage;
    QImage cache_;
    int cachePage_ = 0, cacheZoom_ = 0;
    bool reportingError_ = false;
};

}  // namespace reports::ui
