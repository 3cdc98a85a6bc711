#include "ledger/ui/PeriodSelectionDialog.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QVBoxLayout>
#include <cstdio>

#include "ledger/Common.h"
#include "ledger/Ledger.h"
#include "ledger/PayrollYearFile.h"
#include "ledger/PeriodText.h"
#include "ledger/ui/DialogFont.h"
#include "ledger/ui/EditHelper.h"
#include "ledger/ui/NewYearFileDialog.h"
#include "ledger/ui/ReferenceDataDialog.h"
#include "platform/IniFile.h"
#include "platform/ui/Application.h"
#include "platform/ui/MessageBox.h"

namespace ledger::ui {

namespace {

constexpr int kSavedRole = Qt::UserRole + 1;

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

// Saved periods in blue, the others in silver; the selected one filled with its
// colour and written in white.
class PeriodItemDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const QColor colour =
            index.data(kSavedRole).toBool() ? QColor(0, 0, 255) : QColor(192, 192, 192);
        const bool selected = option.state & QStyle::State_Selected;
        painter->save();
        painter->fillRect(option.rect, selected ? colour : option.palette.color(QPalette::Base));
        painter->setPen(selected ? QColor(Qt::white) : colour);
        painter->setFont(option.font);
        painter->drawText(option.rect.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                          index.data(Qt::DisplayRole).toString());
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize s = QStyledItemDelegate::sizeHint(option, index);
        s.setHeight(option.fontMetrics.height() + 4);
        return s;
    }
};

QString format2(double value) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%2.0f", value);
    return QString::fromLatin1(buf);
}

}  // namespace

PeriodSelectionDialog::PeriodSelectionDialog(ledger::Ledger& ledger, std::filesystem::path iniFile,
                                             QWidget* parent)
    : QDialog(parent), ledger_(ledger), iniFile_(std::move(iniFile)), prompter_(this) {
    setObjectName(QStringLiteral("fmSelData"));
    setWindowTitle(QStringLiteral("給与対象月/賞与時期の選択"));
    setFont(dialogFont());
    setModal(true);

    menuBar = new QMenuBar(this);
    QMenu* data = menuBar->addMenu(QStringLiteral("データの管理(&D)"));
    mnDataBackup = data->addAction(QStringLiteral("データのバックアップ(&B)"));
    mnDataRestore = data->addAction(QStringLiteral("データの復元(&R)"));
    data->addSeparator();
    mnCreate = data->addAction(QStringLiteral("データファイル作成(&C)"));

    cbTaisyoNen = new QComboBox(this);
    cbTaisyoNen->setMinimumWidth(120);
    ListBox = new QListWidget(this);
    ListBox->setItemDelegate(new PeriodItemDelegate(ListBox));
    for (int p = 1; p <= ledger::kPeriods; ++p)
        ListBox->addItem(q(ledger::PeriodListLabel(p, ledger_.sysOption)));
    const int rowHeight = ListBox->sizeHintForRow(0);
    ListBox->setFixedHeight(rowHeight * ledger::kPeriods + 2 * ListBox->frameWidth() + 2);
    ListBox->setMinimumWidth(130);

    auto numberEdit = [this](int width) {
        auto* e = new QLineEdit(this);
        e->setFixedWidth(width);
        e->setAlignment(Qt::AlignRight);
        return e;
    };
    lbNissu = new QLabel(this);
    edNissu = numberEdit(40);
    lbNissuUnit = new QLabel(QStringLiteral("日"), this);
    lbJikan = new QLabel(this);
    edJikan = numberEdit(60);
    lbJikanUnit = new QLabel(QStringLiteral("時間"), this);
    lbSikyu = new QLabel(QStringLiteral("支給月日"), this);
    edSikyuM = numberEdit(30);
    lbSikyuMUnit = new QLabel(QStringLiteral("月"), this);
    edSikyuD = numberEdit(30);
    lbSikyuDUnit = new QLabel(QStringLiteral("日"), this);
    bbOk = new QPushButton(QStringLiteral("ＯＫ"), this);
    bbCancel = new QPushButton(QStringLiteral("終了"), this);
    bbOk->setAutoDefault(false);
    bbCancel->setAutoDefault(false);

    auto* fields = new QGridLayout;
    fields->setVerticalSpacing(4);
    fields->addWidget(lbNissu, 0, 0, 1, 4);
    fields->addWidget(edNissu, 1, 0);
    fields->addWidget(lbNissuUnit, 1, 1, 1, 3);
    fields->addWidget(lbJikan, 2, 0, 1, 4);
    fields->addWidget(edJikan, 3, 0);
    fields->addWidget(lbJikanUnit, 3, 1, 1, 3);
    fields->addWidget(lbSikyu, 4, 0, 1, 4);
    auto* date = new QHBoxLayout;
    date->addWidget(edSikyuM);
    date->addWidget(lbSikyuMUnit);
    date->addWidget(edSikyuD);
    date->addWidget(lbSikyuDUnit);
    date->addStretch();
    fields->addLayout(date, 5, 0, 1, 4);
    fields->setRowMinimumHeight(1, 24);
    fields->setRowStretch(6, 1);

    auto* right = new QVBoxLayout;
    right->addLayout(fields);
    right->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(bbOk);
    buttons->addWidget(bbCancel);
    right->addLayout(buttons);

    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("対象年の選択"), this));
    left->addWidget(cbTaisyoNen);
    left->addWidget(ListBox);

    auto* body = new QHBoxLayout;
    body->addLayout(left);
    body->addSpacing(12);
    body->addLayout(right);
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar);
    layout->addLayout(body);

    const ledger::SysOption& opt = ledger_.sysOption;
    auto attach = [&](QLineEdit* e, int code, const QString& keys, bool hours) {
        EditHelper* h = EditHelper::attachNumber(e, code, opt, keys);
        h->setReformat([this, hours](const std::string& normalised) {
            ledger::MessageLog ignored;
            const double v = ledger::TimeStrToHours(normalised, ignored);
            return hours ? q(ledger::FmtHours(v, ledger_.sysOption.timeStyle)) : format2(v);
        });
        helpers_.push_back(h);
    };
    attach(edNissu, 20, QString(), false);
    attach(edJikan, 62, QStringLiteral(":."), true);
    attach(edSikyuM, 20, QString(), false);
    attach(edSikyuD, 20, QString(), false);
    edJikan->installEventFilter(this);
    ListBox->installEventFilter(this);

    connect(cbTaisyoNen, &QComboBox::activated, this, [this] { cbTaisyoNenChange(); });
    connect(ListBox, &QListWidget::currentRowChanged, this, [this] { ListBoxClick(); });
    connect(ListBox, &QListWidget::itemDoubleClicked, this, [this] { bbOkClick(); });
    connect(bbOk, &QPushButton::clicked, this, &PeriodSelectionDialog::bbOkClick);
    connect(bbCancel, &QPushButton::clicked, this, &PeriodSelectionDialog::reject);
    connect(mnCreate, &QAction::triggered, this, &PeriodSelectionDialog::mnCreateClick);
    connect(mnDataBackup, &QAction::triggered, this, [this] {
        if (onBackup) platform::ui::guarded(this, onBackup);
    });
    connect(mnDataRestore, &QAction::triggered, this, [this] {
        bool restored = false;
        if (onRestore) platform::ui::guarded(this, [&] { restored = onRestore(); });
        if (restored) QDialog::reject();
    });

    showReference = [this](bool later) {
        if (!fmRefData) return false;
        fmRefData->LaterDataExist = later;
        return fmRefData->exec() == QDialog::Accepted;
    };
}

bool PeriodSelectionDialog::choose(ledger::Ledger& ledger) {
    if (&ledger != &ledger_) return false;
    if (acceptAtOnce) {
        return platform::ui::guarded(this, [this] {
            selection_.LoadContents(ledger_, platform::IniFile(iniFile_));
            ledger::LoadPeriod(ledger_, ledger_.CurData.FileName);
            marks.Tag = 0;
            selection_.SettingsMade = selection_.PeriodOpened = true;
        });
    }
    return exec() == QDialog::Accepted;
}

void PeriodSelectionDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // A box opened before the dialog stands on the screen would leave it unsized
    // and empty: a year file that cannot be read is reported, like the hint, over
    // the shown dialog, which stays usable.
    reportFaultLater_ = true;
    FormShow(true);
    reportFaultLater_ = false;
    QTimer::singleShot(0, this, [this] {
        if (!selection_.LoadFault.empty())
            platform::ui::MessageBox::error(this, q(selection_.LoadFault));
        FormActivate();
    });
}

void PeriodSelectionDialog::FormShow(bool realShow) {
    const ledger::SysOption& opt = ledger_.sysOption;
    lbNissu->setText(q(opt.attendanceLabels[ledger::kAttScheduledDays]));
    lbJikan->setText(q(opt.attendanceLabels[ledger::kAttScheduledHours]));
    for (int p = 1; p <= ledger::kPeriods; ++p)
        ListBox->item(p - 1)->setText(q(ledger::PeriodListLabel(p, opt)));

    auto load = [this] { selection_.LoadContents(ledger_, platform::IniFile(iniFile_)); };
    if (!reportFaultLater_) {
        platform::ui::guarded(this, load);
    } else {
        try {
            load();
        } catch (const std::exception&) {
            // Kept in LoadFault; showEvent reports it.
        }
    }
    if (realShow) fillYearList();

    const ledger::DateTime today = ledger_.clock.now();
    edSikyuM->setText(format2(today.month));
    edSikyuD->setText(format2(today.day));
    if (ledger_.CurData.Period < 1 || ledger_.CurData.Period > ledger::kPeriods)
        ledger_.CurData.Period = today.month;
    refreshList();
    {
        QSignalBlocker block(ListBox);
        ListBox->setCurrentRow(ledger_.CurData.Period - 1);
    }
    ListBoxClick();
    ListBox->setFocus();
}

void PeriodSelectionDialog::fillYearList() {
    QSignalBlocker block(cbTaisyoNen);
    cbTaisyoNen->clear();
    const ledger::YearList list =
        ledger::BuildYearList(ledger_.dataPath, ledger_.CurData.Era, ledger_.CurData.FileName);
    for (const auto& e : list.entries) cbTaisyoNen->addItem(q(e.text));
    cbTaisyoNen->setCurrentIndex(list.selected);
}

void PeriodSelectionDialog::refreshList() {
    for (int p = 1; p <= ledger::kPeriods; ++p)
        ListBox->item(p - 1)->setData(kSavedRole, ledger_.FileHeader.PeriodSaved[p - 1] != 0);
    ListBox->viewport()->update();
}

void PeriodSelectionDialog::FormActivate() {
    ledger::ui::MessageBoxSink sink(this);
    selection_.Activate(sink);
}

void PeriodSelectionDialog::cbTaisyoNenChange() {
    if (cbTaisyoNen->currentIndex() < 0) return;
    ledger_.CurData.FileName =
        ledger::YearFileOfItem(ledger_.dataPath, cbTaisyoNen->currentText().toStdString());
    FormShow(false);
}

void PeriodSelectionDialog::ListBoxClick() {
    const int p = ListBox->currentRow() + 1;
    if (p < 1) return;
    const ledger::PeriodFields f = selection_.FieldsFor(ledger_, p);
    for (QWidget* w : {static_cast<QWidget*>(lbNissu), static_cast<QWidget*>(edNissu),
                       static_cast<QWidget*>(lbNissuUnit), static_cast<QWidget*>(lbJikan),
                       static_cast<QWidget*>(edJikan), static_cast<QWidget*>(lbJikanUnit)})
        w->setEnabled(f.salary);
    for (QWidget* w : {static_cast<QWidget*>(lbSikyu), static_cast<QWidget*>(edSikyuM),
                       static_cast<QWidget*>(lbSikyuMUnit), static_cast<QWidget*>(edSikyuD),
                       static_cast<QWidget*>(lbSikyuDUnit)})
        w->setEnabled(!f.salary);
    if (f.salary) {
        lbNissu->setText(q(f.daysCaption));
        lbJikan->setText(q(f.hoursCaption));
        edNissu->setText(q(f.days));
        edJikan->setText(q(f.hours));
    } else {
        edSikyuM->setText(q(f.month));
        edSikyuD->setText(q(f.day));
    }
}

void PeriodSelectionDialog::normaliseFields() {
    QWidget* focused = focusWidget();
    for (EditHelper* h : helpers_)
        if (h->parent() == focused) h->normalise();
}

void PeriodSelectionDialog::bbOkClick() {
    normaliseFields();
    const int p = ListBox->currentRow() + 1;
    if (p < 1) return;
    ledger::PeriodInput input{p, edNissu->text().toStdString(), edJikan->text().toStdString(),
                              edSikyuM->text().toStdString(), edSikyuD->text().toStdString()};
    ledger::RefusedField refused = ledger::RefusedField::None;
    const bool ran = platform::ui::guarded(this, [&] {
        refused = selection_.Confirm(ledger_, input, marks, showReference, prompter_);
    });
    if (!ran) return;
    switch (refused) {
        case ledger::RefusedField::None:
            QDialog::accept();
            return;
        case ledger::RefusedField::Days:
            edNissu->setFocus();
            return;
        case ledger::RefusedField::Month:
            edSikyuM->setFocus();
            return;
        case ledger::RefusedField::Day:
            edSikyuD->setFocus();
            return;
        case ledger::RefusedField::File:
            cbTaisyoNen->setFocus();
            return;
    }
}

void PeriodSelectionDialog::ListBoxKeyUp(int key) {
    if (key != Qt::Key_Delete) return;
    const int p = ListBox->currentRow() + 1;
    if (p < 1) return;
    bool cleared = false;
    platform::ui::guarded(this, [&] { cleared = selection_.ClearPeriod(ledger_, p, prompter_); });
    if (!cleared) return;
    refreshList();
    ListBoxClick();
}

void PeriodSelectionDialog::mnCreateClick() {
    if (!fmInpDlg) return;
    if (fmInpDlg->exec() != QDialog::Accepted) return;
    CreateYear(fmInpDlg->InputYear);
}

void PeriodSelectionDialog::CreateYear(int eraYear) {
    if (!platform::ui::guarded(this, [&] { ledger::CreateYearFile(ledger_, eraYear); })) return;
    fillYearList();
    FormShow(false);
}

bool PeriodSelectionDialog::FormCloseQuery() {
    return selection_.MayQuit(prompter_);
}

void PeriodSelectionDialog::reject() {
    if (FormCloseQuery()) QDialog::reject();
}

bool PeriodSelectionDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edJikan && event->type() == QEvent::FocusIn) {
        platform::ui::guarded(this, [this] {
            ledger::MessageLog ignored;
            if (ledger::StrToNum(edJikan->text().toStdString(), ignored) == 0)
                edJikan->setText(
                    q(selection_.ProposedHours(ledger_, edNissu->text().toStdString())));
        });
    }
    if (watched == ListBox && event->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(event);
        if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
            bbOkClick();
            return true;
        }
    }
    if (watched == ListBox && event->type() == QEvent::KeyRelease) {
        auto* k = static_cast<QKeyEvent*>(event);
        if (!k->isAutoRepeat()) ListBoxKeyUp(k->key());
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace ledger::ui
