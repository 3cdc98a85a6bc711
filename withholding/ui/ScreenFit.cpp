#include "withholding/ui/ScreenFit.h"

#include <QApplication>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace withholding::ui {

namespace {

// A frame the window manager has not reported yet (before the first showing)
// is taken to be a title bar and thin borders, so that the title bar is never
// pushed above the screen.
QMargins frameOf(const QWidget& window) {
    const QWindow* handle = window.windowHandle();
    const QMargins known = handle ? handle->frameMargins() : QMargins();
    if (!known.isNull()) return known;
    return {4, 30, 4, 4};
}

QScreen* screenOf(const QWidget& window) {
    if (const QWidget* parent = window.parentWidget())
        if (QScreen* s = parent->screen()) return s;
    if (QScreen* s = window.screen()) return s;
    return QGuiApplication::primaryScreen();
}

}  // namespace

void FitToScreen(QWidget& window, QSize wanted) {
    QScreen* screen = screenOf(window);
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    const QMargins frame = frameOf(window);
    const QSize room(area.width() - frame.left() - frame.right(),
                     area.height() - frame.top() - frame.bottom());
    const QSize size = wanted.expandedTo(window.minimumSizeHint()).boundedTo(room);
    window.resize(size);

    // The frame centred over the parent, then moved as little as needed to lie
    // within the available area.
    const QSize outer(size.width() + frame.left() + frame.right(),
                      size.height() + frame.top() + frame.bottom());
    const QWidget* parent = window.parentWidget();
    const QRect over = parent && parent->isVisible() ? parent->window()->frameGeometry() : area;
    QPoint topLeft(over.center().x() - outer.width() / 2, over.center().y() - outer.height() / 2);
    topLeft.setX(std::clamp(topLeft.x(), area.left(), area.right() + 1 - outer.width()));
    topLeft.setY(std::clamp(topLeft.y(), area.top(), area.bottom() + 1 - outer.height()));
    window.move(topLeft);
}

QSize UnscrolledSize(const QWidget& window, const QScrollArea& area) {
    const QWidget* content = area.widget();
    if (!content) return window.sizeHint();
    const QSize whole = content->sizeHint();
    const QSize hint = area.sizeHint();
    const int bar = area.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &area);
    const QSize own = window.sizeHint();
    return {std::max(own.width(), own.width() - hint.width() + whole.width() + bar),
            own.height() - hint.height() + whole.height() + 2 * area.frameWidth()};
}

void FollowFocus(QScrollArea& area) {
    QObject::connect(qApp, &QApplication::focusChanged, &area, [&area](QWidget*, QWidget* now) {
        if (now && area.widget() && area.widget()->isAncestorOf(now))
            area.ensureWidgetVisible(now, 8, 8);
    });
}

}  // namespace withholding::ui
