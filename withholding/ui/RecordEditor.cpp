#include "withholding/ui/RecordEditor.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QInputMethod>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QShowEvent>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

#include "ledger/Ledger.h"
#include "ledger/NumberText.h"
#include "ledger/ui/CalculatorDialog.h"
#include "ledger/ui/EditHelper.h"
#include "ledger/ui/NoticeWindow.h"
#include "platform/ui/Ime.h"
#include "platform/ui/MessageBox.h"
#include "withholding/WithholdingFile.h"
#include "withholding/YearEndOption.h"
#include "withholding/YearLoad.h"
#include "withholding/ui/ScreenFit.h"

namespace withholding::ui {

using ledger::ui::EditHelper;

namespace {

constexpr const char* kAutoCalcWarning =
    "自動計算によってセットされた値は設定内容によっては\r間違っている可能性もあります。\r\r"
    "別途、金額の再確認を行って下さい。";
constexpr const char* kAutoCalcDone = "源泉徴収税額等の計算完了";

const QColor kAutoColour(0xFF, 0xF0, 0xD8);      // filled by the totals and the computation
const QColor kSubPayerColour(0xD4, 0xD4, 0xD4);  // the secondary payer's counts

bool isSubPayerField(std::string_view n) {
    return n == "edFuyoKazu2" || n == "edFuyoKazu5" || n == "edFuyoKazu7";
}

void setBackground(QWidget* w, const QColor& c) {
    QPalette p = w->palette();
    p.setColor(QPalette::Base, c);
    p.setColor(QPalette::Window, c);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

RecordEditor::RecordEditor(ledger::Ledger& ledger, WithholdingData& data, QWidget* parent)
    : QDialog(parent), ledger_(ledger), data_(data) {
    setWindowTitle(QStringLiteral("源泉徴収データの入力"));
    setModal(true);
    runModal = [](QDialog& d) { return d.exec() == QDialog::Accepted; };
}

RecordEditor::~RecordEditor() = default;

QStringList RecordEditor::listItems(std::string_view name) const {
    if (name.substr(0, 8) == "cbKyojuG" || name == "cbGengou")
        return {QString(),
                QStringLiteral("明治"),
                QStringLiteral("大正"),
                QStringLiteral("昭和"),
                QStringLiteral("平成"),
                QStringLiteral("令和")};
    if (name.substr(0, 10) == "cbJuKariKb")
        return {QString(), QStringLiteral("住"), QStringLiteral("認"), QStringLiteral("増"),
                QStringLiteral("震")};
    return {};
}

QWidget* RecordEditor::makeControl(const FieldInfo& f) {
    const auto& options = ledger_.sysOption;
    const QString name = QString::fromLatin1(f.name.data(), int(f.name.size()));
    QWidget* w = nullptr;
    auto lineEdit = [&](int chars) {
        auto* e = new QLineEdit(form_);
        e->setFixedWidth(e->fontMetrics().horizontalAdvance(QLatin1Char('0')) * chars + 12);
        return e;
    };
    switch (f.kind) {
        case FieldKind::Amount: {
            auto* e = lineEdit(11);
            e->setAlignment(Qt::AlignRight);
            const bool isAuto = ManualFieldIndex(f.name) != 0;
            auto* h = EditHelper::attachNumber(e, 100, isAuto ? autoFieldOptions_ : options);
            h->setReformat(EditHelper::amountReformat(10));
            // Shown ten wide, typed eight digits at most.
            h->setMaxLength(f.maxLength);
            if (isAuto) setBackground(e, kAutoColour);
            platform::ui::setImeMode(e, platform::ui::ImeMode::Off);
            w = e;
            break;
        }
        case FieldKind::Count: {
            auto* e = lineEdit(2);
            e->setAlignment(Qt::AlignRight);
            auto* h = EditHelper::attachNumber(e, 10, options);
            h->setReformat([this, e](const std::string& t) { return countReformat(e, t); });
            if (isSubPayerField(f.name)) setBackground(e, kSubPayerColour);
            platform::ui::setImeMode(e, platform::ui::ImeMode::Off);
            w = e;
            break;
        }
        case FieldKind::DatePart:
        case FieldKind::PlainDigit:
        case FieldKind::Digits:
        case FieldKind::Postal: {
            auto* e = lineEdit(f.kind == FieldKind::PlainDigit ? 2 : f.maxLength + 1);
            if (f.kind != FieldKind::Postal && f.kind != FieldKind::Digits)
                e->setAlignment(Qt::AlignRight);
            // Short digit fields overtype; only the date parts (which carry a
            // number format) select their text on entry.
            EditHelper::attachDigits(e, f.maxLength, options,
                                     f.kind == FieldKind::Postal ? QStringLiteral("-") : QString())
                ->setOvertypes(f.maxLength <= 9)
                ->setSelectsOnEntry(f.kind == FieldKind::DatePart);
            platform::ui::setImeMode(e, platform::ui::ImeMode::Off);
            w = e;
            break;
        }
        case FieldKind::Text: {
            auto* e = lineEdit(f.maxLength);
            EditHelper::attachText(e, f.maxLength, options);
            platform::ui::setImeMode(e, f.name == "edFurigana" ? platform::ui::ImeMode::HalfKatakana
                                                               : platform::ui::ImeMode::Hiragana);
            w = e;
            break;
        }
        case FieldKind::Check: {
            auto* c = new QCheckBox(form_);
            EditHelper::attachEnter(c);
            w = c;
            break;
        }
        case FieldKind::List: {
            auto* c = new QComboBox(form_);
            c->addItems(listItems(f.name));
            EditHelper::attachEnter(c);
            w = c;
            break;
        }
        case FieldKind::Button: {
            auto* b = new QPushButton(form_);
            b->setAutoDefault(false);
            EditHelper::attachEnter(b);
            const std::string n(f.name);
            connect(b, &QPushButton::clicked, this, [this, n] { extraButtonClick(n); });
            w = b;
            break;
        }
    }
    w->setObjectName(name);
    w->installEventFilter(this);
    return w;
}

void RecordEditor::build(const std::vector<FormRow>& rows) {
    autoFieldOptions_ = ledger_.sysOption;
    autoFieldOptions_.autoSelect = false;
    fields_ = fields();
    // The fields scroll where the screen is smaller than the form; the band
    // above and the buttons below stay in view. The fields are made first, so
    // that they follow one another in the focus chain.
    form_ = new QWidget;
    for (int i = 0; i < int(fields_.size()); ++i) {
        QWidget* w = makeControl(fields_[i]);
        controls_.emplace(std::string(fields_[i].name), w);
        index_[w] = i;
    }
    loaded_.assign(fields_.size(), std::string());

    auto* outer = new QVBoxLayout(this);
    // The form reaches the window's right edge: where the screen is too low for
    // it, its scroll bar stands where the margin would, so that a 1280-wide
    // screen needs no sideways scrolling. The rows above and below keep theirs.
    const int rightMargin = outer->contentsMargins().right();
    outer->setContentsMargins(outer->contentsMargins() - QMargins(0, 0, rightMargin, 0));
    // Header band: name, department, status.
    auto* band = new QHBoxLayout;
    auto panel = [this](int width) {
        auto* l = new QLabel(this);
        l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        l->setMinimumWidth(width);
        return l;
    };
    band->addWidget(new QLabel(QStringLiteral("氏 名"), this));
    band->addWidget(pnSimei = panel(180));
    band->addSpacing(12);
    band->addWidget(new QLabel(QStringLiteral("部 署"), this));
    band->addWidget(pnBusyo = panel(180));
    band->addSpacing(12);
    band->addWidget(lbStatus = new QLabel(this));
    lbStatus->setStyleSheet(QStringLiteral("color: blue; font-weight: bold;"));
    band->addStretch();
    band->setContentsMargins(0, 0, rightMargin, 0);
    outer->addLayout(band);

    auto* top = new QVBoxLayout(form_);
    top->setContentsMargins(0, 0, 0, 0);

    auto* columns = new QHBoxLayout;
    QGridLayout* grids[3] = {new QGridLayout, new QGridLayout, new QGridLayout};
    int rowOf[3] = {0, 0, 0};
    for (const auto& r : rows) {
        QGridLayout* g = grids[r.column];
        auto* line = new QHBoxLayout;
        line->setSpacing(4);
        for (const auto& [name, caption] : r.controls) {
            QWidget* w = control(name);
            if (!w) continue;
            if (auto* c = qobject_cast<QCheckBox*>(w)) {
                c->setText(caption);
            } else if (auto* b = qobject_cast<QPushButton*>(w)) {
                b->setText(caption);
            } else if (!caption.isEmpty() && caption.startsWith(QLatin1Char('<'))) {
                line->addWidget(new QLabel(caption.mid(1), form_));
                line->addWidget(w);
                continue;
            }
            line->addWidget(w);
            if (!caption.isEmpty() && !qobject_cast<QCheckBox*>(w) &&
                !qobject_cast<QPushButton*>(w))
                line->addWidget(new QLabel(caption, form_));
        }
        line->addStretch();
        g->addWidget(new QLabel(r.label, form_), rowOf[r.column], 0);
        g->addLayout(line, rowOf[r.column], 1);
        ++rowOf[r.column];
    }
    for (auto* g : grids) g->setVerticalSpacing(3);
    grids[0]->setRowStretch(rowOf[0], 1);
    grids[1]->setRowStretch(rowOf[1], 1);
    columns->addLayout(grids[0]);
    columns->addSpacing(16);
    columns->addLayout(grids[1]);
    top->addLayout(columns);
    top->addLayout(grids[2]);

    auto* legend = new QHBoxLayout;
    auto legendBox = [this](const QColor& c, const QString& text) {
        auto* l = new QLabel(text, form_);
        l->setFrameStyle(QFrame::Box | QFrame::Plain);
        l->setMargin(3);
        setBackground(l, c);
        return l;
    };
    legend->addWidget(
        legendBox(kAutoColour,
                  QStringLiteral(
                      "支給実績や自動計算により値がセットされる項目、｢修正ON/OFF｣により入力可能")));
    legend->addWidget(legendBox(kSubPayerColour, QStringLiteral("従たる給与の支払者の項目")));
    legend->addStretch();
    top->addLayout(legend);
    formArea_ = new QScrollArea(this);
    formArea_->setObjectName(QStringLiteral("formArea"));
    formArea_->setFrameShape(QFrame::NoFrame);
    formArea_->setWidgetResizable(true);
    formArea_->setWidget(form_);
    formArea_->setFocusPolicy(Qt::NoFocus);
    FollowFocus(*formArea_);
    outer->addWidget(formArea_, 1);

    auto* buttons = new QHBoxLayout;
    auto tool = [this](const QString& text) {
        auto* b = new QToolButton(this);
        b->setText(text);
        b->setFocusPolicy(Qt::NoFocus);  // the focus stays in the field they act on
        b->setMinimumWidth(90);
        return b;
    };
    sbBackData = tool(QStringLiteral("前のデータ"));
    sbNextData = tool(QStringLiteral("次のデータ"));
    sbCalculator = tool(QStringLiteral("電卓起動"));
    sbManual = tool(QStringLiteral("修正ON/OFF"));
    btAutoCalc = new QPushButton(QStringLiteral("自動計算"), this);
    btCancel = new QPushButton(QStringLiteral("戻　る"), this);
    for (auto* b : {btAutoCalc, btCancel}) {
        b->setAutoDefault(false);
        b->installEventFilter(this);
        EditHelper::attachEnter(b);
    }
    for (QWidget* b : std::initializer_list<QWidget*>{sbBackData, sbNextData, sbCalculator,
                                                      sbManual, btAutoCalc, btCancel})
        buttons->addWidget(b);
    buttons->insertStretch(4);
    buttons->setContentsMargins(0, 0, rightMargin, 0);
    outer->addLayout(buttons);

    connect(sbBackData, &QToolButton::clicked, this, [this] { sbBackNextDataClick(-1); });
    connect(sbNextData, &QToolButton::clicked, this, [this] { sbBackNextDataClick(1); });
    connect(sbManual, &QToolButton::clicked, this, [this] { sbManualClick(); });
    connect(sbCalculator, &QToolButton::clicked, this, [this] { sbCalculatorClick(); });
    connect(btAutoCalc, &QPushButton::clicked, this, [this] { btAutoCalcClick(); });
    connect(btCancel, &QPushButton::clicked, this, [this] { reject(); });

    if (auto* a = checkBox("cbSyusyoku"))
        connect(a, &QCheckBox::clicked, this, [this, a] { syuTaisyokuClick(a); });
    if (auto* b = checkBox("cbTaisyoku"))
        connect(b, &QCheckBox::clicked, this, [this, b] { syuTaisyokuClick(b); });
    for (auto n : {"cbTaisyou3", "cbTaisyou4"})
        connect(checkBox(n), &QCheckBox::clicked, this, [this, c = checkBox(n)] {
            exclusiveClick(c, {"cbTaisyou3", "cbTaisyou4"});
        });
    for (auto n : {"cbTaisyou5", "cbTaisyou6", "cbTaisyou7"})
        connect(checkBox(n), &QCheckBox::clicked, this, [this, c = checkBox(n)] {
            exclusiveClick(c, {"cbTaisyou5", "cbTaisyou6", "cbTaisyou7"});
        });
    // The 乙欄 flag comes from the employee's tax column when the year is loaded.
    checkBox("cbTaisyou2")->setEnabled(false);

    QWidget* prev = nullptr;
    for (const auto& f : fields_) {
        QWidget* w = control(f.name);
        if (prev) setTabOrder(prev, w);
        prev = w;
    }
    setTabOrder(prev, btAutoCalc);
    setTabOrder(btAutoCalc, btCancel);
    sbCalculator->setEnabled(false);
    sbManual->setEnabled(false);
}

QWidget* RecordEditor::control(std::string_view name) const {
    auto it = controls_.find(name);
    return it == controls_.end() ? nullptr : it->second;
}
QLineEdit* RecordEditor::edit(std::string_view name) const {
    return qobject_cast<QLineEdit*>(control(name));
}
QCheckBox* RecordEditor::checkBox(std::string_view name) const {
    return qobject_cast<QCheckBox*>(control(name));
}
QComboBox* RecordEditor::combo(std::string_view name) const {
    return qobject_cast<QComboBox*>(control(name));
}

std::string RecordEditor::controlText(std::string_view name) const {
    QWidget* w = control(name);
    if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text().toStdString();
    if (auto* c = qobject_cast<QCheckBox*>(w)) return c->isChecked() ? "1" : "";
    if (auto* c = qobject_cast<QComboBox*>(w)) return std::to_string(c->currentIndex());
    return {};
}

void RecordEditor::setControlText(QWidget* w, FieldKind, const std::string& text) {
    if (auto* e = qobject_cast<QLineEdit*>(w)) {
        e->setText(q(text));
        e->setCursorPosition(0);
    } else if (auto* c = qobject_cast<QCheckBox*>(w)) {
        c->setChecked(text == "1");
    } else if (auto* c = qobject_cast<QComboBox*>(w)) {
        int i = -1;
        try {
            i = std::stoi(text);
        } catch (...) {
        }
        c->setCurrentIndex(i >= 0 && i < c->count() ? i : -1);
    }
}

int RecordEditor::tagOf(QWidget* w) const {
    auto it = index_.find(w);
    if (it == index_.end()) return 0;
    switch (fields_[it->second].kind) {
        case FieldKind::Amount:
            return 100;
        case FieldKind::Count:
            return 10;
        case FieldKind::DatePart:
            return 20;
        default:
            return 0;
    }
}

void RecordEditor::applyManualState(QLineEdit* e, bool on) {
    QPalette p = e->palette();
    p.setColor(QPalette::Text, on ? Qt::red : Qt::black);
    e->setPalette(p);
    e->setReadOnly(!on);
}

void RecordEditor::loadRecord() {
    loading_ = true;
    const auto& emp = ledger_.Employee(EditSlot);
    pnSimei->setText(q(emp.Name.str()));
    pnBusyo->setText(q(emp.Dept.str()));
    lbStatus->setText(q(StatusText(otsu(), status())));
    for (int i = 0; i < int(fields_.size()); ++i) {
        loaded_[i] = showField(i);
        setControlText(control(fields_[i].name), fields_[i].kind, loaded_[i]);
    }
    // What the controls read back is the baseline: a field stores only when it changed.
    for (int i = 0; i < int(fields_.size()); ++i) loaded_[i] = controlText(fields_[i].name);
    const bool ticked = checkBox("cbSyusyoku")->isChecked() || checkBox("cbTaisyoku")->isChecked();
    for (auto n : {"edSyuTaiY", "edSyuTaiM", "edSyuTaiD"}) edit(n)->setEnabled(ticked);
    for (const auto& f : fields_)
        if (int k = ManualFieldIndex(f.name)) applyManualState(edit(f.name), manualFlag(k));
    loading_ = false;
}

void RecordEditor::storeRecord() {
    if (storing_) return;
    storing_ = true;
    // The record is left however it is left (a button, a page key, Esc): a
    // focused field typed into gets the check that leaving it would give first.
    // An untouched one stays as loaded, byte for byte.
    if (QWidget* f = focusWidget(); f && index_.count(f)) {
        const int i = index_.at(f);
        if (controlText(fields_[i].name) != loaded_[i]) {
            if (auto* h = f->findChild<EditHelper*>(QString(), Qt::FindDirectChildrenOnly))
                if (h->kind() == EditHelper::Kind::Number) h->normalise();
            leaveField(f);
        }
    }
    for (int i = 0; i < int(fields_.size()); ++i) {
        const std::string now = controlText(fields_[i].name);
        if (now != loaded_[i]) storeField(i, now);
    }
    for (int i = 0; i < int(fields_.size()); ++i) loaded_[i] = controlText(fields_[i].name);
    storing_ = false;
}

void RecordEditor::updateNavigation() {
    sbBackData->setEnabled(EditSlot > 1);
    sbNextData->setEnabled(EditSlot >= 1 && EditSlot < kRecords &&
                           !ledger_.Employee(EditSlot + 1).Key.empty());
}

void RecordEditor::FormShow() {
    NumericField = nullptr;
    // Since 令和 the two flags stand for ひとり親; the record and the slip keep them.
    const bool reiwa = ledger_.CurData.Era == "令和";
    checkBox("cbTaisyou6")
        ->setText(reiwa ? QStringLiteral("ひとり親(母)") : QStringLiteral("寡婦 特別"));
    checkBox("cbTaisyou7")
        ->setText(reiwa ? QStringLiteral("ひとり親(父)") : QStringLiteral("寡夫"));
    sbBackNextDataClick(0);
}

void RecordEditor::sbBackNextDataClick(int tag) {
    if (tag != 0) {
        storeRecord();
        EditSlot += tag;
    }
    EditSlot = std::clamp(EditSlot, 1, kRecords);
    updateNavigation();
    loadRecord();
    // Every record shown starts at its postal code. The field left behind showed
    // the record just stored, so its leave rules are not run on the new one.
    loading_ = true;
    edit("edYubinNo")->setFocus(Qt::OtherFocusReason);
    loading_ = false;
    if (selectListSlot) selectListSlot(EditSlot);
}

void RecordEditor::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) FitToScreen(*this, UnscrolledSize(*this, *formArea_));
    FormShow();
    QDialog::showEvent(event);
}

void RecordEditor::reject() {
    storeRecord();
    QDialog::reject();
}

void RecordEditor::sbManualClick() {
    auto* e = qobject_cast<QLineEdit*>(NumericField);
    if (!e) return;
    auto it = index_.find(e);
    if (it == index_.end()) return;
    if (int k = ManualFieldIndex(fields_[it->second].name); k > 0) {
        const bool on = !manualFlag(k);
        setManualFlag(k, on);
        applyManualState(e, on);
        e->setCursorPosition(0);
        e->deselect();
    }
    sbCalculator->setEnabled(!e->isReadOnly());
    if (!e->isReadOnly()) {
        e->setFocus(Qt::OtherFocusReason);
        // The button takes no focus, so the field is not entered again: select
        // its figure now so that what is typed replaces it.
        e->setSelection(0, 99);
    }
}

void RecordEditor::sbCalculatorClick() {
    auto* e = qobject_cast<QLineEdit*>(NumericField);
    if (!e) return;
    ledger::ui::CalculatorDialog calc(this, ledger::CalcVariant::YearEnd);
    if (runModal(calc)) {
        const double v = std::trunc(calc.CalcValue);
        e->setText(q(ledger::FmtAmount(tagOf(e) / 10, v)));
    }
    e->setFocus(Qt::OtherFocusReason);
}

void RecordEditor::btAutoCalcClick() {
    const YearEndContext context{ledger_.CurData.Era, ledger_.CurData.Year,
                                 yearEndOption ? yearEndOption->HasuuCut : true};
    // A year without its law is refused before anything is stored.
    if (auto refusal = YearEndRefusal(context.era, context.eraYear)) {
        platform::ui::MessageBox::information(this, q(*refusal));
        return;
    }
    if (!autoCalcWarned_) {
        autoCalcWarned_ = true;
        platform::ui::MessageBox::warning(this, QString::fromUtf8(kAutoCalcWarning));
    }
    auto copyIfEmpty = [this](std::string_view from, std::string_view to) {
        QLineEdit *f = edit(from), *t = edit(to);
        if (f && t && !f->text().isEmpty() && t->text().isEmpty()) t->setText(f->text());
    };
    copyIfEmpty("edFuyoKazu3", "edFuyoKazu4");
    copyIfEmpty("edSyouKazu1", "edSyouKazu2");
    for (const auto& f : fields_)
        if (f.kind == FieldKind::DatePart && f.name != "edJuKariTek") dateLeave(edit(f.name));
    storeRecord();
    if (recalcFromPayroll)
        recalcFromPayroll(EditSlot);
    else
        RecalcFromPayroll(ledger_, data_, EditSlot);
    try {
        computeRecord(context);
    } catch (...) {
        // What was computed before the fault stays, and the form shows it.
        loadRecord();
        throw;
    }
    loadRecord();
    if (!notice_) notice_ = new ledger::ui::NoticeWindow(this);
    notice_->setMessage(QString::fromUtf8(kAutoCalcDone));
    runModal(*notice_);
}

void RecordEditor::startCompletion() {
    QTimer::singleShot(100, this, [] { QGuiApplication::inputMethod()->commit(); });
}

void RecordEditor::selectAllLater(QLineEdit* e) {
    QTimer::singleShot(150, e, [this, e] {
        if (NumericField != e || !e->hasFocus()) return;
        // A key typed before the delay ran out, or a caret clicked on the
        // figure, keeps its place.
        if (auto* h = e->findChild<EditHelper*>(QString(), Qt::FindDirectChildrenOnly);
            h && h->caretChosenSinceEntering())
            return;
        // A locked auto field selects nothing.
        if (ManualFieldIndex(e->objectName().toStdString()) && e->isReadOnly()) return;
        e->setSelection(0, 99);
    });
}

void RecordEditor::inputItemEnter(QWidget* w) {
    auto* e = qobject_cast<QLineEdit*>(w);
    if (!e) {
        sbCalculator->setEnabled(false);
        sbManual->setEnabled(false);
        return;
    }
    auto it = index_.find(w);
    if (it == index_.end()) return;
    const FieldInfo& f = fields_[it->second];
    // The one count without a format that stands outside the numeric fields:
    // the buttons keep serving the field entered before it.
    if (f.name == "edUnder16" && f.kind == FieldKind::PlainDigit) return;
    sbManual->setEnabled(ManualFieldIndex(f.name) != 0);
    // Nothing can be typed into a locked auto field, so entering it selects
    // nothing (the line edit selects all when Tab or Enter brings it in).
    if (ManualFieldIndex(f.name) && e->isReadOnly())
        QMetaObject::invokeMethod(
            e,
            [e] {
                if (e->isReadOnly()) e->deselect();
            },
            Qt::QueuedConnection);
    if (tagOf(w) != 0) {
        NumericField = w;
        if (ledger_.sysOption.autoSelect && ManualFieldIndex(f.name)) selectAllLater(e);
        bool calc = f.maxLength != 2;
        if (sbManual->isEnabled()) calc = calc && !e->isReadOnly();
        sbCalculator->setEnabled(calc);
    } else {
        sbCalculator->setEnabled(false);
    }
}

QString RecordEditor::countReformat(QLineEdit* e, const std::string& normalised) {
    std::int32_t v = 0;
    try {
        v = ledger::StrToIntNum(normalised);
    } catch (...) {
        return q(normalised);
    }
    if (v == 0) return q(normalised);
    const std::string name = e->objectName().toStdString();
    auto copyInto = [&](std::string_view target) {
        if (QLineEdit* t = edit(target); t && t->text().isEmpty()) t->setText(q(normalised));
    };
    if (name == "edFuyoKazu3") copyInto("edFuyoKazu4");
    if (name == "edSyouKazu1") copyInto("edSyouKazu2");
    return q(ledger::FmtAmount(1, v));
}

void RecordEditor::dateLeave(QLineEdit* e) {
    const std::string name = e->objectName().toStdString();
    e->setText(q(DatePartText(e->text().toStdString())));
    if (name == "edJuKariTek") return;
    // The three parts and the era list of the date the field belongs to.
    const std::string stem =
        name.substr(0, name.size() - (name.back() >= '0' && name.back() <= '9' ? 2 : 1));
    const std::string digit =
        name.back() >= '0' && name.back() <= '9' ? name.substr(name.size() - 1) : "";
    const char part = name[name.size() - 1 - digit.size()];
    QLineEdit* y = edit(stem + "Y" + digit);
    QLineEdit* m = edit(stem + "M" + digit);
    QLineEdit* d = edit(stem + "D" + digit);
    QComboBox* era = nullptr;
    bool hasEra = true;
    int offset = 0;
    if (stem == "edSyuTai") {
        if (!checkBox("cbSyusyoku")->isChecked() && !checkBox("cbTaisyoku")->isChecked()) return;
        hasEra = false;
        offset = OpenEraOffset(ledger_);
    } else {
        era = combo(stem == "edSeinen" ? "cbGengou" : "cbKyojuG" + digit);
    }
    if (!y || !m || !d) return;
    DateFields fields{y->text().toStdString(), m->text().toStdString(), d->text().toStdString()};
    const DatePart left = part == 'Y'   ? DatePart::Year
                          : part == 'M' ? DatePart::Month
                                        : DatePart::Day;
    DateCheck r =
        CheckDateLeave(fields, left, hasEra, era ? std::max(0, era->currentIndex()) : 0, offset);
    y->setText(q(r.fields.year));
    m->setText(q(r.fields.month));
    d->setText(q(r.fields.day));
    QWidget* target = r.focus == DateFocus::Era     ? static_cast<QWidget*>(era)
                      : r.focus == DateFocus::Year  ? y
                      : r.focus == DateFocus::Month ? m
                                                    : nullptr;
    // When the whole record is being left the focus has nowhere to go back to.
    if (target && !storing_)
        QTimer::singleShot(0, target, [target] { target->setFocus(Qt::OtherFocusReason); });
}

void RecordEditor::leaveField(QWidget* w) {
    auto it = index_.find(w);
    if (it == index_.end()) return;
    const FieldInfo& f = fields_[it->second];
    auto* e = qobject_cast<QLineEdit*>(w);
    if (!e) return;
    if (f.kind == FieldKind::Postal) {
        if (!e->text().isEmpty()) e->setText(q(PostalCodeText(e->text().toStdString())));
    } else if (f.kind == FieldKind::DatePart) {
        dateLeave(e);
    }
}

void RecordEditor::syuTaisyokuClick(QCheckBox* clicked) {
    QCheckBox* a = checkBox("cbSyusyoku");
    QCheckBox* b = checkBox("cbTaisyoku");
    if (clicked->isChecked()) (clicked == a ? b : a)->setChecked(false);
    const bool ticked = a->isChecked() || b->isChecked();
    QLineEdit* parts[] = {edit("edSyuTaiY"), edit("edSyuTaiM"), edit("edSyuTaiD")};
    if (ticked) {
        parts[0]->setText(q(DatePartText(std::to_string(ledger_.CurData.Year))));
    } else {
        for (auto* p : parts) p->clear();
    }
    for (auto* p : parts) p->setEnabled(ticked);
}

void RecordEditor::exclusiveClick(QCheckBox* clicked, const std::vector<std::string_view>& group) {
    if (!clicked->isChecked()) return;
    for (auto n : group)
        if (QCheckBox* c = checkBox(n); c != clicked) c->setChecked(false);
}

bool RecordEditor::eventFilter(QObject* watched, QEvent* event) {
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w || w->window() != this) return QDialog::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::FocusIn:
            inputItemEnter(w);
            break;
        case QEvent::FocusOut: {
            const auto reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
                !loading_)
                leaveField(w);
            break;
        }
        case QEvent::KeyPress: {
            auto* k = static_cast<QKeyEvent*>(event);
            if (k->modifiers() & Qt::ControlModifier) break;
            const bool field = qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w);
            if (!field) break;
            switch (k->key()) {
                case Qt::Key_PageDown:
                    if (sbBackData->isEnabled()) sbBackNextDataClick(-1);
                    return true;
                case Qt::Key_PageUp:
                    if (sbNextData->isEnabled()) sbBackNextDataClick(1);
                    return true;
                case Qt::Key_Down:
                    focusNextChild();
                    return true;
                case Qt::Key_Up:
                    focusPreviousChild();
                    return true;
                case Qt::Key_Return:
                case Qt::Key_Enter:
                    if (w->objectName() == QLatin1String("edYubinNo")) {
                        EditHelper::focusNext(w);
                        if (lookupAddress) lookupAddress(edit("edYubinNo"), edit("edJusyo1"));
                        return true;
                    }
                    break;
                default:
                    break;
            }
            break;
        }
        default:
            break;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace withholding::ui
