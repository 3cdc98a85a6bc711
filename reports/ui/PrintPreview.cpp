#include "reports/ui/PrintPreview.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <exception>

#include "platform/ui/MessageBox.h"
#include "platform/ui/Printer.h"
#include "reports/ui/QtSurface.h"

namespace reports::ui {

// The page area: shows the rendered sheet.
class PreviewPage : public QWidget {
public:
    PreviewPage(PrintPreview* owner, QWidget* parent) : QWidget(parent), owner_(owner) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.drawImage(0, 0, owner_->renderPage(size()));
    }

private:
    PrintPreview* owner_;
};

reports::PrinterGeometry GeometryOf(platform::ui::Printer& printer) {
    reports::PrinterGeometry g;
    g.paperW = printer.paperSize().width();
    g.paperH = printer.paperSize().height();
    g.offsetX = printer.physicalOffset().x();
    g.offsetY = printer.physicalOffset().y();
    g.printableW = printer.printableSize().width();
    g.printableH = printer.printableSize().height();
    g.dpiX = printer.dpiX();
    g.dpiY = printer.dpiY();
    return g;
}

PrintPreview::PrintPreview(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("fmPreView"));
    setWindowTitle(QStringLiteral("印刷プレビュー"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFocusPolicy(Qt::StrongFocus);

    auto* bar = Panel1 = new QWidget(this);
    bar->setObjectName(QStringLiteral("Panel1"));
    auto* h = new QHBoxLayout(bar);
    h->setContentsMargins(6, 4, 6, 4);
    auto button = [&](const char* name, const char* text) {
        auto* b = new QPushButton(QString::fromUtf8(text), bar);
        b->setObjectName(QString::fromUtf8(name));
        b->setFocusPolicy(Qt::NoFocus);
        b->setMinimumWidth(96);
        h->addWidget(b);
        return b;
    };
    sbPrint = button("sbPrint", "印刷実行");
    sbWDisp = button("sbWDisp", "拡大表示");
    sbBackPage = button("sbBackPage", "前ページ");
    sbNextPage = button("sbNextPage", "次ページ");
    h->addStretch(1);
    sbClose = button("sbClose", "閉じる");

    ScrollBox = new QScrollArea(this);
    ScrollBox->setObjectName(QStringLiteral("ScrollBox"));
    ScrollBox->setFocusPolicy(Qt::NoFocus);
    ScrollBox->setWidgetResizable(false);
    content_ = new QWidget;
    pnPaper = new QWidget(content_);
    pnPaper->setObjectName(QStringLiteral("pnPaper"));
    pnPaper->setAutoFillBackground(true);
    QPalette pal = pnPaper->palette();
    pal.setColor(QPalette::Window, QColor(0xF4, 0xF4, 0xF4));
    pnPaper->setPalette(pal);
    pbImage = new PreviewPage(this, pnPaper);
    pbImage->setObjectName(QStringLiteral("pbImage"));
    ScrollBox->setWidget(content_);
    ScrollBox->viewport()->installEventFilter(this);
    ScrollBox->installEventFilter(this);

    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);
    v->addWidget(bar);
    v->addWidget(ScrollBox, 1);

    connect(sbBackPage, &QPushButton::clicked, this, [this] { sbPageUpDownClick(-1); });
    connect(sbNextPage, &QPushButton::clicked, this, [this] { sbPageUpDownClick(1); });
    connect(sbWDisp, &QPushButton::clicked, this, [this] { sbWDispClick(); });
    connect(sbPrint, &QPushButton::clicked, this, [this] { sbPrintClick(); });
    connect(sbClose, &QPushButton::clicked, this, &QDialog::reject);
}

int PrintPreview::run(const PreviewDocument& document) {
    begin(document);
    setWindowState(windowState() | Qt::WindowMaximized);
    return exec();
}

void PrintPreview::begin(const PreviewDocument& document) {
    doc_ = document;
    if (doc_.pageCount < 1) doc_.pageCount = 1;
    page_ = 1;
    cache_ = QImage();
    cachePage_ = cacheZoom_ = 0;
    sbWDisp->setText(mode_ == 2 ? QStringLiteral("全体表示") : QStringLiteral("拡大表示"));
    updatePageButtons();
    FormResize();
    ScrollBox->horizontalScrollBar()->setValue(0);
    ScrollBox->verticalScrollBar()->setValue(0);
    setFocus();
}

void PrintPreview::updatePageButtons() {
    sbBackPage->setEnabled(page_ > 1);
    sbNextPage->setEnabled(page_ < doc_.pageCount);
}

void PrintPreview::FormResize() {
    QSize screen = this->screen() ? this->screen()->size() : QSize(1920, 1080);
    QSize box = ScrollBox->maximumViewportSize();
    layout_ = reports::LayoutPreview(screen.width(), screen.height(), box.width(), box.height(),
                                     doc_.printer, logicalDpiY(), mode_);
    content_->resize(std::max(box.width(), layout_.panelLeft + layout_.panelW),
                     std::max(1, layout_.panelH));
    pnPaper->setGeometry(layout_.panelLeft, layout_.panelTop, layout_.panelW, layout_.panelH);
    pbImage->setGeometry(layout_.boxX, layout_.boxY, layout_.boxW, layout_.boxH);
    pbImage->update();
}

QImage PrintPreview::renderPage(QSize size) {
    if (!cache_.isNull() && cachePage_ == page_ && cacheZoom_ == layout_.zoom &&
        cache_.size() == size)
        return cache_;
    QImage img(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::TextAntialiasing);
    QtSurface surface(p);
    reports::PrnCanvas canvas;
    const auto& g = doc_.printer;
    canvas.prepare(reports::PrnCanvas::previewMetrics(g.dpiX, g.dpiY, g.offsetX, g.offsetY,
                                                      logicalDpiY(), layout_.zoom),
                   &surface);
    canvas.metrics.ThinPenWidth = doc_.thinPenWidth;
    canvas.metrics.ThickPenWidth = doc_.thickPenWidth;
    try {
        if (doc_.drawBackground) {
            surface.setInk(QColor(0xE0, 0x90, 0x90));
            doc_.drawBackground(canvas, page_ - 1);
            surface.setInk(Qt::black);
        }
        if (doc_.drawPage) doc_.drawPage(canvas, page_ - 1);
    } catch (const std::exception& e) {
        // Shown once after the paint, never from inside it.
        if (!reportingError_) {
            reportingError_ = true;
            QString text = QString::fromUtf8(e.what());
            QTimer::singleShot(0, this, [this, text] {
                platform::ui::MessageBox::error(this, text);
                reportingError_ = false;
            });
        }
    }
    p.end();
    cache_ = img;
    cachePage_ = page_;
    cacheZoom_ = layout_.zoom;
    return cache_;
}

QImage PrintPreview::renderedPage() {
    return renderPage(pbImage->size());
}

void PrintPreview::sbPageUpDownClick(int delta) {
    int next = page_ + delta;
    if (next < 1 || next > doc_.pageCount) return;
    page_ = next;
    updatePageButtons();
    pbImage->update();
}

void PrintPreview::sbWDispClick() {
    mode_ = mode_ == 1 ? 2 : 1;
    sbWDisp->setText(mode_ == 2 ? QStringLiteral("全体表示") : QStringLiteral("拡大表示"));
    FormResize();
}

void PrintPreview::sbPrintClick() {
    hide();
    QCoreApplication::processEvents();
    if (doc_.print) doc_.print();
    done(QDialog::Accepted);
}

void PrintPreview::scrollBy(int dx, int dy) {
    auto* hb = ScrollBox->horizontalScrollBar();
    auto* vb = ScrollBox->verticalScrollBar();
    hb->setValue(hb->value() + dx);
    vb->setValue(vb->value() + dy);
}

void PrintPreview::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_PageUp:
            if (sbNextPage->isEnabled()) sbPageUpDownClick(1);
            return;
        case Qt::Key_PageDown:
            if (sbBackPage->isEnabled()) sbPageUpDownClick(-1);
            return;
        case Qt::Key_Left:
            scrollBy(-20, 0);
            return;
        case Qt::Key_Right:
            scrollBy(20, 0);
            return;
        case Qt::Key_Up:
            scrollBy(0, -20);
            return;
        case Qt::Key_Down:
            scrollBy(0, 20);
            return;
        default:
            QDialog::keyPressEvent(event);
    }
}

bool PrintPreview::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Wheel) {
        auto* w = static_cast<QWheelEvent*>(event);
        int notches = w->angleDelta().y() / 120;
        if (notches == 0 && w->angleDelta().y() != 0) notches = w->angleDelta().y() > 0 ? 1 : -1;
        scrollBy(0, -10 * notches);
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        keyPressEvent(static_cast<QKeyEvent*>(event));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void PrintPreview::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    FormResize();
}

void PrintPreview::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    // The preview stays maximised: a restore is undone.
    if (event->type() == QEvent::WindowStateChange && isVisible() &&
        !(windowState() & Qt::WindowMaximized))
        QTimer::singleShot(0, this, [this] {
            if (isVisible()) setWindowState(windowState() | Qt::WindowMaximized);
        });
}

}  // namespace reports::ui
