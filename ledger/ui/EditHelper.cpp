#include "ledger/ui/EditHelper.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QFontMetricsF>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include "ledger/EditRules.h"
#include "ledger/NumberText.h"
#include "platform/Sjis.h"
#include "platform/ui/MessageBox.h"

namespace ledger::ui {
namespace {

constexpr int kAutoSelectDelayMs = 150;

bool isModifierKey(int key) {
    switch (key) {
        case Qt::Key_Shift:
        case Qt::Key_Control:
        case Qt::Key_Alt:
        case Qt::Key_Meta:
        case Qt::Key_AltGr:
        case Qt::Key_CapsLock:
        case Qt::Key_NumLock:
            return true;
        default:
            return false;
    }
}

// The x at which character `pos` begins as the field draws it: the caret's
// place, moved by the advances of the characters in between.
qreal characterLeft(const QLineEdit* edit, int pos) {
    const QFontMetricsF fm(edit->font());
    const QString text = edit->text();
    // The rectangle the field gives input methods is centred on its caret.
    const QRect around = edit->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    const qreal caret = around.x() + around.width() / 2.0;
    return caret - fm.horizontalAdvance(text.left(edit->cursorPosition())) +
           fm.horizontalAdvance(text.left(pos));
}

// The middle of what is drawn of character `pos` (its ink, not its cell: the
// ink of a "1" lies left of its cell's middle).
qreal inkMiddle(const QLineEdit* edit, int pos) {
    const QRectF ink = QFontMetricsF(edit->font()).tightBoundingRect(edit->text().at(pos));
    return characterLeft(edit, pos) + (ink.left() + ink.right()) / 2;
}

bool movesCaret(int key) {
    switch (key) {
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            return true;
        default:
            return false;
    }
}

// Byte length of the CP932 form of the first `chars` characters.
int bytesBefore(const QString& text, int chars) {
    return int(sjis::byteLength(text.left(chars).toStdString()));
}

}  // namespace

EditHelper::EditHelper(QWidget* widget, QLineEdit* line, Kind kind, const SysOption* options)
    : QObject(widget),
      widget_(widget),
      fieldClass_(widget->metaObject()),
      line_(line),
      kind_(kind),
      options_(options) {}

EditHelper* EditHelper::attach(QWidget* widget, QLineEdit* line, Kind kind, int maxLength,
                               const SysOption* options) {
    auto* h = new EditHelper(widget, line, kind, options);
    h->maxLength_ = std::max(maxLength, 0);
    widget->installEventFilter(h);
    if (line && (kind == Kind::Text || kind == Kind::Digits)) {
        h->accepted_ = line->text();
        connect(line, &QLineEdit::textChanged, h, &EditHelper::textChanged);
    }
    return h;
}

EditHelper* EditHelper::attachNumber(QLineEdit* edit, int formatCode, const SysOption& options,
                                     std::optional<QString> extraKeys) {
    int typed =
        formatCode == 70 || formatCode == 90 ? integerDigitBudget(formatCode) : formatCode / 10;
    auto* h = attach(edit, edit, Kind::Number, typed, &options);
    h->formatCode_ = formatCode;
    h->selectsOnEntry_ = true;
    h->clickBesideEnters_ = true;
    h->overtypes_ = true;
    h->extraKeys_ = extraKeys ? *extraKeys : (formatCode % 10 > 0 ? "-." : "");
    return h;
}

EditHelper* EditHelper::attachText(QLineEdit* edit, int maxBytes, const SysOption& options) {
    return attach(edit, edit, Kind::Text, maxBytes, &options);
}

EditHelper* EditHelper::attachText(QComboBox* combo, int maxBytes, const SysOption& options) {
    return attach(combo, combo->lineEdit(), Kind::Text, maxBytes, &options);
}

EditHelper* EditHelper::attachDigits(QLineEdit* edit, int maxBytes, const SysOption& options,
                                     const QString& extraKeys) {
    auto* h = attach(edit, edit, Kind::Digits, maxBytes, &options);
    h->extraKeys_ = extraKeys;
    return h;
}

EditHelper* EditHelper::attachDigits(QComboBox* combo, int maxBytes, const SysOption& options,
                                     const QString& extraKeys) {
    auto* h = attach(combo, combo->lineEdit(), Kind::Digits, maxBytes, &options);
    h->extraKeys_ = extraKeys;
    return h;
}

EditHelper* EditHelper::attachEnter(QWidget* widget) {
    return attach(widget, nullptr, Kind::Plain, 0, nullptr);
}

EditHelper::Reformat EditHelper::amountReformat(int width) {
    return [width](const std::string& text) {
        return QString::fromStdString(FmtAmount(width, StrToIntNum(text)));
    };
}

void EditHelper::focusNext(QWidget* from) {
    QWidget* window = from->window();
    for (QWidget* w = from->nextInFocusChain(); w && w != from; w = w->nextInFocusChain()) {
        if (w->window() == window && w->isEnabled() && w->isVisibleTo(window) &&
            (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && !w->focusProxy()) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

bool EditHelper::eventFilter(QObject* watched, QEvent* event) {
    if (watched != widget_) return false;
    // While the field is being destroyed its own class is already gone (it still
    // gets the focus-out of its base destructor): leave it alone.
    if (widget_->metaObject() != fieldClass_) return false;
    switch (event->type()) {
        case QEvent::KeyPress: {
            auto* k = static_cast<QKeyEvent*>(event);
            if (!isModifierKey(k->key())) typed_ = true;
            if (movesCaret(k->key())) replacingRun_ = false;
            return keyPress(k);
        }
        case QEvent::InputMethod: {
            auto* im = static_cast<QInputMethodEvent*>(event);
            if (!im->commitString().isEmpty() || !im->preeditString().isEmpty()) typed_ = true;
            return line_ && inputMethod(im);
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::MouseButtonRelease:
            if (event->type() == QEvent::MouseButtonPress ||
                event->type() == QEvent::MouseButtonDblClick)
                replacingRun_ = false;
            return mouseEvent(static_cast<QMouseEvent*>(event));
        case QEvent::FocusIn:
            typed_ = false;
            caretClicked_ = false;
            replacingRun_ = false;
            if (line_ && selectsOnEntry_ && options_ && options_->autoSelect) {
                // After the click that gave the focus has placed the caret; a key
                // typed meanwhile, or a caret put on the figure, keeps its place.
                QTimer::singleShot(kAutoSelectDelayMs, this, [this] {
                    if (widget_->hasFocus() && !caretChosenSinceEntering()) line_->selectAll();
                });
            }
            return false;
        case QEvent::FocusOut: {
            // Switching windows or opening a menu is not leaving the field.
            auto reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
                replacingRun_ = false;
                normalise();
            }
            return false;
        }
        default:
            return false;
    }
}

bool EditHelper::mouseEvent(QMouseEvent* e) {
    if (!clickBesideEnters_ || line_ != widget_) return false;
    if (e->type() == QEvent::MouseMove || e->type() == QEvent::MouseButtonRelease) {
        // A hand that shakes while clicking selects nothing else.
        if (!pressTaken_) return false;
        if (e->type() == QEvent::MouseButtonRelease) pressTaken_ = false;
        return true;
    }
    if (e->button() != Qt::LeftButton || (e->modifiers() & Qt::ShiftModifier)) return false;
    pressTaken_ = false;
    const QPoint at = e->position().toPoint();
    // A double or triple click means the figure, not the digits between its
    // separators.
    const bool doubleClick = e->type() == QEvent::MouseButtonDblClick;
    const bool tripleClick =
        !doubleClick && doubleClickTimer_.isValid() &&
        doubleClickTimer_.elapsed() < QApplication::doubleClickInterval() &&
        (at - doubleClickAt_).manhattanLength() < QApplication::startDragDistance();
    doubleClickTimer_.invalidate();
    if (doubleClick) {
        doubleClickTimer_.start();
        doubleClickAt_ = at;
    }
    const int caret = doubleClick || tripleClick ? -1 : clickedCaret(at);
    if (caret >= 0) {
        caretClicked_ = true;
        if (caret == line_->cursorPositionAt(at)) return false;
        // Left of the middle of the last character's ink, where its cell
        // would put the caret after it.
        if (!line_->hasFocus()) line_->setFocus(Qt::MouseFocusReason);
        line_->setCursorPosition(caret);
        pressTaken_ = true;
        return true;
    }
    // A locked field takes no typing: the click only gives it the focus.
    if (line_->isReadOnly()) return false;
    if (!line_->hasFocus()) line_->setFocus(Qt::MouseFocusReason);
    line_->selectAll();
    pressTaken_ = true;
    return true;
}

EditHelper::FigureSpan EditHelper::figureSpan() const {
    const QString text = line_->text();
    FigureSpan span;
    while (span.first < text.size() && text.at(span.first) == QLatin1Char(' ')) ++span.first;
    span.end = int(text.size());
    while (span.end > span.first && text.at(span.end - 1) == QLatin1Char(' ')) --span.end;
    return span;
}

// Where a click at `at` puts the caret, or -1 when it falls beside the figure:
// on the blanks a formatted amount begins with, in the margin that
// right-aligns it, or at or right of the middle of its last character as
// drawn (figures are right-aligned, so a click aimed at the last digit often
// lands on its right part, and typing after a full figure only appends to
// it). An empty field is all margin.
int EditHelper::clickedCaret(const QPoint& at) const {
    const FigureSpan span = figureSpan();
    if (span.first >= span.end) return -1;
    const qreal x = at.x() + 0.5;  // the middle of the pixel clicked
    if (x < characterLeft(line_, span.first) || x >= inkMiddle(line_, span.end - 1)) return -1;
    return std::clamp(line_->cursorPositionAt(at), span.first, span.end - 1);
}

// Home and End stop at the figure's ends: a caret in the blanks that
// right-align it would have the next key overtype a blank.
bool EditHelper::homeOrEnd(QKeyEvent* e) {
    const auto mods = e->modifiers() & ~Qt::KeypadModifier;
    if ((e->key() != Qt::Key_Home && e->key() != Qt::Key_End) ||
        (mods != Qt::NoModifier && mods != Qt::ShiftModifier))
        return false;
    const FigureSpan span = figureSpan();
    const int to = e->key() == Qt::Key_Home ? span.first : span.end;
    line_->cursorForward(mods == Qt::ShiftModifier, to - line_->cursorPosition());
    return true;
}

bool EditHelper::keyPress(QKeyEvent* e) {
    const int key = e->key();
    const auto mods = e->modifiers();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && enterMovesOn_ &&
        !(mods & (Qt::ControlModifier | Qt::AltModifier))) {
        // A focused push or tool button is pressed by Enter instead.
        if (qobject_cast<QPushButton*>(widget_) || qobject_cast<QToolButton*>(widget_))
            return false;
        focusNext(widget_);
        return true;
    }
    if (line_ && clickBesideEnters_ && line_ == widget_ && homeOrEnd(e)) return true;
    // A read-only field takes no typing (overtype would otherwise write into it).
    if (!line_ || line_->isReadOnly()) return false;
    if (key == Qt::Key_Delete && (mods & Qt::ControlModifier)) {
        line_->clear();
        return true;
    }
    if (key == Qt::Key_Backspace) return false;
    if (mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
    const QString text = e->text();
    if (text.isEmpty() || !text.at(0).isPrint()) return false;
    return typeText(text);
}

bool EditHelper::inputMethod(QInputMethodEvent* e) {
    const QString commit = e->commitString();
    if (commit.isEmpty() || e->replacementLength() != 0) return false;
    bool refused =
        !std::all_of(commit.begin(), commit.end(), [this](QChar c) { return acceptsChar(c); }) ||
        !sjis::encodable(commit.toStdString());
    bool overtype = overtypes_ && options_ && options_->inputOverN;
    if (!refused && !overtype) return false;  // the change handler fits the length

    // End the composition without its text, then type what may be typed.
    QInputMethodEvent finish;
    QCoreApplication::sendEvent(line_, &finish);
    if (refused) {
        QApplication::beep();
        return true;
    }
    for (QChar c : commit) typeOne(QString(c));
    return true;
}

bool EditHelper::acceptsChar(QChar c) const {
    if (kind_ == Kind::Text) return true;
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || extraKeys_.contains(c);
}

int EditHelper::lengthOf(const QString& text) const {
    switch (kind_) {
        case Kind::Text:
            return int(sjis::byteLength(text.toStdString()));
        case Kind::Number: {
            // Separators of a formatted value do not count against the digits.
            int n = 0;
            for (QChar c : text)
                if (c != QLatin1Char(',') && c != QLatin1Char(' ')) ++n;
            return n;
        }
        default:
            return int(text.size());
    }
}

bool EditHelper::typeText(const QString& chars) {
    for (QChar c : chars) {
        if (!acceptsChar(c)) {
            QApplication::beep();
            return true;
        }
    }
    if (kind_ == Kind::Text && !sjis::encodable(chars.toStdString())) {
        QApplication::beep();
        return true;
    }
    if (overtypes_ && options_ && options_->inputOverN) {
        for (QChar c : chars) typeOne(QString(c));
        return true;
    }
    // A key that would not fit is dropped, as a full field drops it.
    int after = lengthOf(line_->text()) - lengthOf(line_->selectedText()) + lengthOf(chars);
    return maxLength_ > 0 && after > maxLength_;
}

bool EditHelper::typeOne(const QString& ch) {
    const QString text = line_->text();
    const bool replacing = line_->hasSelectedText();
    // The keys after one that replaced a selection go in after it, so the
    // whole run takes the selection's place.
    const bool runGoesOn =
        !replacing && replacingRun_ && line_->cursorPosition() == replacingRunCaret_;
    auto cp932 = sjis::tryFromUtf8(text.toStdString());
    auto key = sjis::tryFromUtf8(ch.toStdString());
    if (cp932 && key && !runGoesOn) {
        int start = replacing ? line_->selectionStart() : line_->cursorPosition();
        int caret = bytesBefore(text, start);
        int selected = int(sjis::byteLength(line_->selectedText().toStdString()));
        // A formatted value may be longer than the digits one may type: what
        // stands there already is never too long to overtype.
        int max = kind_ == Kind::Text ? maxLength_ : std::max(maxLength_, int(cp932->size()));
        OvertypeResult r = OvertypeKey(*cp932, caret, selected, max, *key);
        if (r.handled) {
            // The caret moves on even when the key equals what it wrote over.
            if (r.text != *cp932) line_->setText(QString::fromStdString(sjis::toUtf8(r.text)));
            line_->setCursorPosition(
                int(QString::fromStdString(sjis::toUtf8(r.text.substr(0, std::size_t(r.caret))))
                        .size()));
            return true;
        }
    }
    int after = lengthOf(text) - lengthOf(line_->selectedText()) + lengthOf(ch);
    if (maxLength_ > 0 && after > maxLength_) return false;
    line_->insert(ch);
    if (replacing || runGoesOn) {
        replacingRun_ = true;
        replacingRunCaret_ = line_->cursorPosition();
    }
    return true;
}

void EditHelper::textChanged(const QString& text) {
    if (busy_) return;
    busy_ = true;
    const std::string utf8 = text.toStdString();
    if (!sjis::encodable(utf8)) {
        // Pasted text the records cannot hold: keep what was there.
        QApplication::beep();
        line_->setText(accepted_);
    } else {
        FitResult fit = FitEditText(utf8, maxLength_);
        if (fit.cut) {
            line_->setText(QString::fromStdString(fit.text));
            if (fit.filled) line_->end(false);
        }
    }
    accepted_ = line_->text();
    busy_ = false;
}

void EditHelper::normalise() {
    if (kind_ != Kind::Number || !line_ || busy_) return;
    busy_ = true;
    QString message;
    try {
        NumEditResult r = CheckNumEdit(line_->text().toStdString(), formatCode_);
        line_->setText(reformat_ ? reformat_(r.text) : QString::fromStdString(r.text));
        message = QString::fromStdString(r.message);
    } catch (const std::exception& e) {
        line_->clear();
        message = QString::fromStdString(e.what());
    }
    busy_ = false;
    if (!message.isEmpty()) platform::ui::MessageBox::error(widget_->window(), message);
}

}  // namespace ledger::ui
