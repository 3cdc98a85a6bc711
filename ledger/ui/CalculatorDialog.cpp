#include "ledger/ui/CalculatorDialog.h"

#include <QApplication>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "ledger/ui/DialogFont.h"
#include "platform/ui/MessageBox.h"

namespace ledger::ui {
namespace {

constexpr int kPressedMs = 100;
// The calculator's last place is kept on the main window, which lives for the
// whole run while the calculator itself is made for each use.
constexpr const char* kLastPlace = "tolvaneCalcLastPlace";

struct Key {
    int code;
    const char* text;
    int row, col;
};
constexpr Key kKeys[] = {
    {7, "７", 0, 0},        {8, "８", 0, 1},           {9, "９", 0, 2},
    {kCalcDiv, "÷", 0, 3},  {4, "４", 1, 0},           {5, "５", 1, 1},
    {6, "６", 1, 2},        {kCalcMul, "×", 1, 3},     {1, "１", 2, 0},
    {2, "２", 2, 1},        {3, "３", 2, 2},           {kCalcSub, "－", 2, 3},
    {0, "０", 3, 0},        {kCalcPoint, " ．", 3, 1}, {kCalcPercent, "％", 3, 2},
    {kCalcAdd, "＋", 3, 3}, {kCalcClear, "Ｃ", 4, 0},  {kCalcEquals, "＝", 4, 2},
};

char keyChar(const QKeyEvent* e) {
    switch (e->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return '\r';
        case Qt::Key_Escape:
            return '\x1b';
        default:
            break;
    }
    const QString t = e->text();
    if (t.size() == 1 && t.at(0).unicode() < 0x80) return char(t.at(0).unicode());
    return 0;
}

}  // namespace

CalculatorDialog::CalculatorDialog(QWidget* parent, ledger::CalcVariant variant)
    : QDialog(parent), variant_(variant) {
    setObjectName(QStringLiteral("fmCalc"));
    setWindowTitle(QStringLiteral("簡易電卓"));
    setFont(dialogFont());
    // Keys go to the buttons, never to an input method.
    setAttribute(Qt::WA_InputMethodEnabled, false);

    pnDisp = new QLabel(QStringLiteral("0."), this);
    pnDisp->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    pnDisp->setFrameShape(QFrame::Panel);
    pnDisp->setFrameShadow(QFrame::Sunken);
    pnDisp->setAutoFillBackground(true);
    QPalette p = pnDisp->palette();
    p.setColor(QPalette::Window, Qt::white);
    pnDisp->setPalette(p);
    QFont big = dialogFont();
    big.setPointSize(14);
    pnDisp->setFont(big);
    pnDisp->setMinimumHeight(32);

    auto* grid = new QGridLayout;
    grid->setSpacing(3);
    for (const Key& k : kKeys) {
        auto* b = new QToolButton(this);
        b->setText(QString::fromUtf8(k.text));
        b->setFocusPolicy(Qt::NoFocus);
        b->setMinimumSize(40, 30);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        const int code = k.code;
        connect(b, &QToolButton::clicked, this, [this, code] { run(code); });
        grid->addWidget(b, k.row, k.col, 1, k.row == 4 ? 2 : 1);
        buttons_[code] = b;
    }
    btOk = new QPushButton(QStringLiteral("ＯＫ"), this);
    btCancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    for (QPushButton* b : {btOk, btCancel}) {
        b->setAutoDefault(false);
        b->installEventFilter(this);
    }
    connect(btOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btOk);
    buttons->addWidget(btCancel);

    auto* v = new QVBoxLayout(this);
    v->addWidget(pnDisp);
    v->addLayout(grid);
    v->addLayout(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(200, 0)));

    release_ = new QTimer(this);
    release_->setSingleShot(true);
    connect(release_, &QTimer::timeout, this, [this] {
        if (pressed_) pressed_->setDown(false);
        pressed_ = nullptr;
    });
}

QWidget* CalculatorDialog::mainWindow() const {
    QWidget* w = parentWidget();
    while (w && w->parentWidget()) w = w->parentWidget();
    return w;
}

void CalculatorDialog::FormShow() {
    QWidget* main = mainWindow();
    const bool remembers = variant_ == ledger::CalcVariant::Payroll;
    const QVariant last = main && remembers ? main->property(kLastPlace) : QVariant();
    if (last.isValid()) {
        move(last.toPoint());
    } else if (main) {
        const QRect r = main->frameGeometry();
        move(r.left() + (r.width() - frameGeometry().width()) / 2,
             r.top() + (r.height() - frameGeometry().height()) / 2);
    }
}

void CalculatorDialog::FormActivate() {
    sbFuncClick(kCalcClear);
    btOk->setFocus();
}

void CalculatorDialog::FormClose() {
    if (variant_ != ledger::CalcVariant::Payroll) return;
    if (QWidget* main = mainWindow()) main->setProperty(kLastPlace, pos());
}

void CalculatorDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        FormShow();
        FormActivate();
    }
}

void CalculatorDialog::done(int result) {
    FormClose();
    QDialog::done(result);
}

QString CalculatorDialog::displayText() const {
    return pnDisp->text();
}

void CalculatorDialog::refresh() {
    pnDisp->setText(QString::fromStdString(calc_.display()));
    CalcValue = calc_.CalcValue();
}

void CalculatorDialog::run(int code) {
    const CalcOutcome r = calc_.press(code);
    refresh();
    if (r.kind == CalcOutcome::Beep) QApplication::beep();
    if (r.kind == CalcOutcome::Error)
        platform::ui::MessageBox::error(this, QString::fromStdString(r.message));
}

void CalculatorDialog::sbNumClick(int code) {
    run(code);
}
void CalculatorDialog::sbFuncClick(int code) {
    run(code);
}

bool CalculatorDialog::FormKeyPress(char key) {
    const int code = CalcKeyCode(key, variant_);
    if (code < 0) return false;
    if (pressed_) pressed_->setDown(false);
    pressed_ = buttons_.at(code);
    pressed_->setDown(true);
    release_->start(kPressedMs);
    if (code >= 100)
        sbFuncClick(code);
    else
        sbNumClick(code);
    return true;
}

void CalculatorDialog::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
        QDialog::keyPressEvent(event);
        return;
    }
    // Enter is the calculator's "＝", never OK; Esc is "Ｃ" or nothing, never Cancel.
    if (!FormKeyPress(keyChar(event)) && event->key() != Qt::Key_Escape &&
        event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        QDialog::keyPressEvent(event);
}

bool CalculatorDialog::eventFilter(QObject* watched, QEvent* event) {
    // OK and Cancel are the only controls that hold the focus: keys they get are
    // the calculator's (Space still presses the button).
    if (event->type() == QEvent::KeyPress && (watched == btOk || watched == btCancel)) {
        auto* e = static_cast<QKeyEvent*>(event);
        if (!(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) && FormKeyPress(keyChar(e)))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace ledger::ui
