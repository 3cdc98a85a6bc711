#include "ledger/ui/DetailEntryDialog.h"

#include <QApplication>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QToolButton>
#include <QVBoxLayout>

#include "ledger/Ledger.h"
#include "ledger/NumberText.h"
#include "ledger/PayrollRecords.h"
#include "ledger/Recalc.h"
#include "ledger/SalaryCalc.h"
#include "ledger/ui/CalculatorDialog.h"
#include "ledger/ui/DialogFont.h"
#include "ledger/ui/EditHelper.h"
#include "ledger/ui/MessageBoxSink.h"
#include "ledger/ui/SlipItemsDialog.h"
#include "platform/Sjis.h"
#include "platform/ui/Application.h"
#include "platform/ui/MessageBox.h"

namespace ledger::ui {
namespace {

using ledger::EntryLook;
using ledger::EntryTarget;
using ledger::EntryView;
using ledger::ItemGroup;

constexpr int kRowHeight = 20;
constexpr int kLabelWidth = 96;
constexpr int kAttendanceWidth = 58;
constexpr int kAmountWidth = 84;
constexpr int kPanelWidth = 96;

const QString kTypedTaxQuestion = QStringLiteral(
    "下記の何れかの例外に該当する為、所得税が自動計算されません。\r"
    "ユーザーによる所得税の計算と入力が必要です。\r"
    "　１．前月中に給与の支払いが無い。\r"
    "　２．今回支給の｢社保控除後計｣の金額が、前月中の給与等の金額\r"
    "　　　(社会保険控除後)の10倍を超えている。\r\r"
    "この社員の所得税を手入力モードに変更しますか？");
const QString kTypedTaxSet =
    QStringLiteral("所得税計算を手入力モードに変更しました。\r所得税の計算と入力を行って下さい。");

struct GroupDef {
    ItemGroup group;
    const char* title;
    const char* prefix;  // names of the labels and edits: lb<prefix>%d, ed<prefix>%d
    int width;
};
constexpr GroupDef kGroups[] = {
    {ItemGroup::Attendance, "勤怠", "Kintai", kAttendanceWidth},
    {ItemGroup::Payment, "支給", "Sikyu", kAmountWidth},
    {ItemGroup::Deduction, "控除", "Koujo", kAmountWidth},
    {ItemGroup::Other, "その他", "Sonota", kAmountWidth},
};

QColor rgb(unsigned v) {
    return QColor(int(v >> 16) & 0xFF, int(v >> 8) & 0xFF, int(v) & 0xFF);
}

QLabel* panel(QWidget* parent, const char* name) {
    auto* p = new QLabel(parent);
    p->setObjectName(QString::fromLatin1(name));
    p->setFrameShape(QFrame::Panel);
    p->setFrameShadow(QFrame::Sunken);
    p->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    p->setFixedSize(kPanelWidth, kRowHeight + 2);
    p->setAutoFillBackground(true);
    QPalette pal = p->palette();
    pal.setColor(QPalette::Window, Qt::white);
    p->setPalette(pal);
    return p;
}

QToolButton* speedButton(QWidget* parent, const char* name, const QString& text) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setText(text);
    // It acts on the field that has the focus, so it must not take it.
    b->setFocusPolicy(Qt::NoFocus);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    b->setMinimumSize(96, 26);
    return b;
}

}  // namespace

DetailEntryDialog::DetailEntryDialog(ledger::Ledger& ledger, QWidget* parent)
    : QDialog(parent), reader(&ledger::fileBlockReader()), ledger_(ledger) {
    setObjectName(QStringLiteral("fmDataEdit"));
    setWindowTitle(QStringLiteral("詳細入力画面"));
    setFont(dialogFont());

    openCalculator = [this]() -> std::optional<double> {
        CalculatorDialog calc(this);
        if (calc.exec() != QDialog::Accepted) return std::nullopt;
        return calc.CalcValue;
    };

    auto* columns = new QHBoxLayout;
    columns->setSpacing(6);
    QVBoxLayout* lastColumn = nullptr;
    for (const GroupDef& def : kGroups) {
        auto* box = new QGroupBox(QString::fromUtf8(def.title), this);
        box->setObjectName(QStringLiteral("gb") + QString::fromLatin1(def.prefix));
        auto* grid = new QGridLayout(box);
        grid->setContentsMargins(6, 4, 6, 6);
        grid->setHorizontalSpacing(4);
        grid->setVerticalSpacing(2);
        const std::size_t g = std::size_t(def.group);
        const int count = ledger::SlotCount(def.group);
        for (int i = 0; i < count; ++i) {
            auto* label = new QLabel(box);
            label->setObjectName(QStringLiteral("lb%1%2").arg(def.prefix).arg(i + 1));
            label->setFixedSize(kLabelWidth, kRowHeight);
            auto* edit = new QLineEdit(box);
            edit->setObjectName(QStringLiteral("ed%1%2").arg(def.prefix).arg(i + 1));
            edit->setFixedSize(def.width, kRowHeight);
            edit->setAlignment(Qt::AlignRight);
            edit->setAttribute(Qt::WA_InputMethodEnabled, false);
            // Installed before the entry helper so that it sees a left field
            // after the helper has normalised it.
            edit->installEventFilter(this);
            grid->addWidget(label, i, 0);
            grid->addWidget(edit, i, 1);
            labels[g].push_back(label);
            edits[g].push_back(edit);
            helpers_[g].push_back(nullptr);
            helperFormats_[g].push_back(-1);
        }
        grid->setRowStretch(count, 1);
        if (def.group == ItemGroup::Other) {
            lastColumn = new QVBoxLayout;
            lastColumn->addWidget(box);
            columns->addLayout(lastColumn);
        } else {
            columns->addWidget(box);
        }
    }

    // Totals, the legend, the memo and the buttons under その他.
    auto* totals = new QGridLayout;
    totals->setVerticalSpacing(3);
    pnSikyuTotal = panel(this, "pnSikyuTotal");
    pnKoujoTotal = panel(this, "pnKoujoTotal");
    pnSonotaTotal = panel(this, "pnSonotaTotal");
    pnSikyugaku = panel(this, "pnSikyugaku");
    const std::pair<const char*, QLabel*> totalRows[] = {{"支給合計", pnSikyuTotal},
                                                         {"控除合計", pnKoujoTotal},
                                                         {"その他合計", pnSonotaTotal},
                                                         {"差引支給額", pnSikyugaku}};
    int r = 0;
    for (const auto& [text, p] : totalRows) {
        totals->addWidget(new QLabel(QString::fromUtf8(text), this), r, 0);
        totals->addWidget(p, r++, 1);
    }
    pnAutoSet = new QLabel(QStringLiteral("自動設定"), this);
    pnAutoSet->setObjectName(QStringLiteral("pnAutoSet"));
    pnAutoSet->setAlignment(Qt::AlignCenter);
    pnAutoSet->setFrameShape(QFrame::Panel);
    pnAutoSet->setFrameShadow(QFrame::Sunken);
    pnAutoSet->setAutoFillBackground(true);
    {
        QPalette pal = pnAutoSet->palette();
        pal.setColor(QPalette::Window, rgb(kUnusedItemColour));
        pnAutoSet->setPalette(pal);
    }
    pnAutoSet->setFixedSize(kPanelWidth, kRowHeight + 2);
    totals->addWidget(pnAutoSet, r, 1);
    lastColumn->addLayout(totals);

    lastColumn->addWidget(new QLabel(QStringLiteral("備考"), this));
    mmBikou = new QPlainTextEdit(this);
    mmBikou->setObjectName(QStringLiteral("mmBikou"));
    mmBikou->setFixedHeight(5 * 16 + 10);
    mmBikou->setTabChangesFocus(true);
    mmBikou->installEventFilter(this);
    connect(mmBikou, &QPlainTextEdit::textChanged, this, &DetailEntryDialog::mmBikouChange);
    lastColumn->addWidget(mmBikou);

    sbBackData = speedButton(this, "sbBackData", QStringLiteral("前データ"));
    sbNextData = speedButton(this, "sbNextData", QStringLiteral("次データ"));
    sbManual = speedButton(this, "sbManual", QStringLiteral("修正ON/OFF"));
    sbCalculator = speedButton(this, "sbCalculator", QStringLiteral("電卓起動"));
    btFormClose = new QPushButton(QStringLiteral("戻る"), this);
    btFormClose->setObjectName(QStringLiteral("btFormClose"));
    btFormClose->setAutoDefault(false);
    btFormClose->setMinimumHeight(28);
    auto* steps = new QHBoxLayout;
    steps->addWidget(sbBackData);
    steps->addWidget(sbNextData);
    auto* tools = new QHBoxLayout;
    tools->addWidget(sbManual);
    tools->addWidget(sbCalculator);
    lastColumn->addLayout(steps);
    lastColumn->addLayout(tools);
    lastColumn->addStretch(1);
    lastColumn->addWidget(btFormClose);

    connect(sbBackData, &QToolButton::clicked, this,
            [this] { platform::ui::guarded(this, [this] { sbBackNextDataClick(-1); }); });
    connect(sbNextData, &QToolButton::clicked, this,
            [this] { platform::ui::guarded(this, [this] { sbBackNextDataClick(1); }); });
    connect(sbManual, &QToolButton::clicked, this,
            [this] { platform::ui::guarded(this, [this] { sbManualClick(); }); });
    connect(sbCalculator, &QToolButton::clicked, this,
            [this] { platform::ui::guarded(this, [this] { sbCalculatorClick(); }); });
    connect(btFormClose, &QPushButton::clicked, this, &DetailEntryDialog::reject);
    EditHelper::attachEnter(btFormClose);

    lbSimei = new QLabel(this);
    lbSimei->setObjectName(QStringLiteral("lbSimei"));
    QFont nameFont = dialogFont();
    nameFont.setPointSize(12);
    nameFont.setBold(true);
    lbSimei->setFont(nameFont);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(8, 6, 8, 8);
    outer->addWidget(lbSimei);
    outer->addLayout(columns);
    outer->setSizeConstraint(QLayout::SetFixedSize);

    // Tab order: the items group by group, the memo, then 戻る.
    QWidget* previous = nullptr;
    for (const auto& group : edits)
        for (QLineEdit* e : group) {
            if (previous) setTabOrder(previous, e);
            previous = e;
        }
    setTabOrder(previous, mmBikou);
    setTabOrder(mmBikou, btFormClose);
}

void DetailEntryDialog::showFor(int slot) {
    slot_ = slot;
    exec();
}

void DetailEntryDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) platform::ui::guarded(this, [this] { sbBackNextDataClick(0); });
}

std::optional<DetailEntryDialog::Place> DetailEntryDialog::placeOf(const QObject* edit) const {
    for (std::size_t g = 0; g < edits.size(); ++g)
        for (std::size_t i = 0; i < edits[g].size(); ++i)
            if (edits[g][i] == edit) return Place{ItemGroup(g), int(i)};
    return std::nullopt;
}

const EntryView* DetailEntryDialog::entryOf(const QLineEdit* edit) const {
    auto place = placeOf(edit);
    if (!place) return nullptr;
    const auto& list = view_.group(place->group);
    if (std::size_t(place->position) >= list.size()) return nullptr;
    return &list[std::size_t(place->position)];
}

QLineEdit* DetailEntryDialog::editOf(ItemGroup group, const std::string& label) const {
    for (const EntryView& e : view_.group(group))
        if (e.visible() && e.label == label) return edit(group, e.position);
    return nullptr;
}

void DetailEntryDialog::applyEntry(QLineEdit* edit, const EntryView& entry) {
    const std::size_t g = std::size_t(entry.group);
    const std::size_t i = std::size_t(entry.position);
    labels[g][i]->setText(QString::fromStdString(entry.label));
    labels[g][i]->setVisible(entry.visible());
    edit->setVisible(entry.visible());
    if (!entry.visible()) return;

    // The entry helper checks by the item's format, which depends on the item
    // the employee's layout puts here: make a new one when that changes.
    const int key = entry.exitFormat * 10 + (entry.timeItem ? 1 : 0);
    if (helperFormats_[g][i] != key) {
        delete helpers_[g][i];
        const bool attendance = entry.group == ItemGroup::Attendance;
        const QString keys = attendance ? (entry.timeItem ? "-.:" : "-.") : "-";
        EditHelper* h = EditHelper::attachNumber(edit, entry.exitFormat, ledger_.sysOption, keys);
        h->setReformat([this, edit](const std::string& checked) {
            const EntryView* e = entryOf(edit);
            return e ? QString::fromStdString(ReformatEntry(ledger_.sysOption, *e, checked))
                     : QString::fromStdString(checked);
        });
        helpers_[g][i] = h;
        helperFormats_[g][i] = key;
    }

    edit->setReadOnly(!entry.editable());
    QPalette pal = palette();
    pal.setColor(QPalette::Base,
                 entry.look == EntryLook::Fixed ? rgb(kUnusedItemColour) : QColor(Qt::white));
    pal.setColor(QPalette::Text,
                 entry.look == EntryLook::Manual ? QColor(Qt::red) : QColor(Qt::black));
    edit->setPalette(pal);
    edit->setText(QString::fromStdString(entry.text));
    edit->setCursorPosition(0);
}

void DetailEntryDialog::ShowDetail() {
    const bool wasShowing = showing_;
    showing_ = true;
    view_ = ledger::ShowDetail(ledger_, slot_);
    setWindowTitle(QString::fromStdString(view_.caption));
    lbSimei->setText(QString::fromStdString(view_.name));
    for (std::size_t g = 0; g < view_.entries.size(); ++g)
        for (const EntryView& e : view_.entries[g])
            applyEntry(edits[g][std::size_t(e.position)], e);
    pnSikyuTotal->setText(QString::fromStdString(view_.payTotal));
    pnKoujoTotal->setText(QString::fromStdString(view_.deductionTotal));
    pnSonotaTotal->setText(QString::fromStdString(view_.otherTotal));
    pnSikyugaku->setText(QString::fromStdString(view_.netAmount));
    memoBusy_ = true;
    mmBikou->setPlainText(QString::fromStdString(view_.memo));
    memoAccepted_ = mmBikou->toPlainText();
    memoBusy_ = false;
    updateButtons();
    showing_ = wasShowing;
}

bool DetailEntryDialog::StoreDetail() {
    ledger::DetailTexts texts;
    for (std::size_t g = 0; g < edits.size(); ++g)
        for (QLineEdit* e : edits[g]) texts.entries[g].push_back(e->text().toStdString());
    texts.memo = mmBikou->toPlainText().toStdString();
    return platform::ui::guarded(this, [&] {
        MessageBoxSink sink(this);
        ledger::StoreDetail(ledger_, slot_, texts, sink);
    });
}

void DetailEntryDialog::normaliseCurrent() {
    if (!current_) return;
    if (auto place = placeOf(current_)) {
        if (EditHelper* h = helpers_[std::size_t(place->group)][std::size_t(place->position)])
            h->normalise();
    }
}

void DetailEntryDialog::updateButtons() {
    const EntryView* e = current_ ? entryOf(current_) : nullptr;
    const bool usable = e && e->visible();
    sbManual->setEnabled(usable && e->canToggle);
    sbCalculator->setEnabled(usable && e->editable());
    sbBackData->setEnabled(ledger::PrevActiveSlot(ledger_, slot_) != 0);
    sbNextData->setEnabled(ledger::NextActiveSlot(ledger_, slot_) != 0);
}

void DetailEntryDialog::sbBackNextDataClick(int tag) {
    normaliseCurrent();
    if (tag != 0) {
        if (!StoreDetail()) return;
        const int next = tag < 0 ? ledger::PrevActiveSlot(ledger_, slot_)
                                 : ledger::NextActiveSlot(ledger_, slot_);
        if (next != 0) slot_ = next;
    }
    showing_ = true;
    current_ = nullptr;
    btFormClose->setFocus();
    ShowDetail();
    EditHelper::focusNext(btFormClose);
    showing_ = false;
    updateButtons();
}

void DetailEntryDialog::InputItemEnter(QLineEdit* edit) {
    current_ = edit;
    updateButtons();
}

void DetailEntryDialog::sbCalcClick() {
    normaliseCurrent();
    if (!StoreDetail()) return;
    const bool taxOk = ledger::RecalcDetail(ledger_, slot_, *reader);
    ShowDetail();
    if (!taxOk) askForTypedTax();
}

void DetailEntryDialog::askForTypedTax() {
    const QString question =
        ledger_.isBonusPeriod()
            ? kTypedTaxQuestion
            : QString::fromStdString(ledger::ManualTaxQuestion(ledger_, {slot_}));
    if (!platform::ui::MessageBox::confirm(this, question, platform::ui::Icon::Warning)) return;
    ledger::SetIncomeTaxManual(ledger_, slot_);
    if (QLineEdit* tax = editOf(ItemGroup::Deduction, std::string(ledger::kIncomeTaxName))) {
        current_ = tax;
        tax->setFocus();
    }
    platform::ui::MessageBox::information(this, kTypedTaxSet);
}

void DetailEntryDialog::InputItemExit(QLineEdit* edit) {
    if (showing_) return;
    const EntryView* entry = entryOf(edit);
    if (!entry || !entry->visible()) return;
    const ledger::EntryBinding binding = entry->binding;
    const std::string typed = edit->text().toStdString();
    sbCalcClick();

    // 有休日数 typed: the remainder follows from last period's.
    if (binding.target == EntryTarget::Attendance && binding.index == ledger::kAttPaidLeaveDays) {
        ledger::MessageLog quiet;
        const double days = ledger::StrToNum(typed, quiet);
        auto text = ledger::PaidLeaveRemainderText(ledger_, slot_, days, *reader);
        if (!text) return;
        for (const EntryView& e : view_.group(ItemGroup::Attendance))
            if (e.visible() && e.binding.target == EntryTarget::Attendance &&
                e.binding.index == ledger::kAttPaidLeaveLeft)
                this->edit(ItemGroup::Attendance, e.position)
                    ->setText(QString::fromStdString(*text));
    }
}

void DetailEntryDialog::sbManualClick() {
    QLineEdit* edit = current_;
    const EntryView* entry = edit ? entryOf(edit) : nullptr;
    if (!entry || !ledger::ToggleManualFlag(ledger_, slot_, *entry)) return;
    sbCalcClick();
    current_ = edit;
    edit->setFocus();
    // The button takes no focus, so the edit is not entered again: a figure now
    // typed by hand replaces the one shown instead of merging into it.
    if (!edit->isReadOnly()) edit->selectAll();
    updateButtons();
}

void DetailEntryDialog::sbCalculatorClick() {
    QLineEdit* edit = current_;
    const EntryView* entry = edit ? entryOf(edit) : nullptr;
    if (!entry || !entry->editable() || !openCalculator) return;
    const ledger::EntryView shown = *entry;
    std::optional<double> value = openCalculator();
    if (value) {
        ledger::EntryExit r = ledger::CalculatorEntryText(ledger_.sysOption, shown, *value);
        if (!r.message.empty())
            platform::ui::MessageBox::error(this, QString::fromStdString(r.message));
        else
            edit->setText(QString::fromStdString(r.text));
    }
    current_ = edit;
    edit->setFocus();
}

void DetailEntryDialog::mmBikouChange() {
    if (memoBusy_) return;
    memoBusy_ = true;
    const QString text = mmBikou->toPlainText();
    const std::string utf8 = text.toStdString();
    if (!sjis::encodable(utf8)) {
        // The record cannot hold it: keep what was there.
        QApplication::beep();
        mmBikou->setPlainText(memoAccepted_);
        mmBikou->moveCursor(QTextCursor::End);
    } else {
        const QString limited = QString::fromStdString(ledger::LimitMemo(utf8));
        if (limited != text) {
            const int caret = mmBikou->textCursor().position();
            mmBikou->setPlainText(limited);
            QTextCursor c = mmBikou->textCursor();
            c.setPosition(std::min(caret, int(limited.size())));
            mmBikou->setTextCursor(c);
        }
    }
    memoAccepted_ = mmBikou->toPlainText();
    memoBusy_ = false;
}

bool DetailEntryDialog::FormCloseQuery() {
    bool unchanged = true;
    if (QLineEdit* edit = current_) {
        const QString before = edit->text();
        normaliseCurrent();
        unchanged = edit->text() == before;
        InputItemExit(edit);
    }
    StoreDetail();
    return unchanged;
}

void DetailEntryDialog::reject() {
    bool close = true;
    platform::ui::guarded(this, [&] { close = FormCloseQuery(); });
    if (close) QDialog::reject();
}

void DetailEntryDialog::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        if (event->key() == Qt::Key_PageDown && sbBackData->isEnabled()) {
            platform::ui::guarded(this, [this] { sbBackNextDataClick(-1); });
            return;
        }
        if (event->key() == Qt::Key_PageUp && sbNextData->isEnabled()) {
            platform::ui::guarded(this, [this] { sbBackNextDataClick(1); });
            return;
        }
    }
    QDialog::keyPressEvent(event);
}

bool DetailEntryDialog::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    if (type != QEvent::FocusIn && type != QEvent::FocusOut)
        return QDialog::eventFilter(watched, event);
    if (watched == mmBikou) {
        if (type == QEvent::FocusIn && !showing_) {
            current_ = nullptr;
            updateButtons();
        }
        return false;
    }
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (!edit || !placeOf(edit)) return false;
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    if (type == QEvent::FocusIn) {
        if (!showing_) InputItemEnter(edit);
    } else if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
               !showing_) {
        platform::ui::guarded(this, [&] { InputItemExit(edit); });
    }
    return false;
}

}  // namespace ledger::ui
