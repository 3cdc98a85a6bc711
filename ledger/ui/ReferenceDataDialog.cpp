#include "ledger/ui/ReferenceDataDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <cstring>

#include "ledger/Ledger.h"
#include "ledger/ui/DialogFont.h"
#include "platform/ui/Application.h"
#include "platform/ui/MessageBox.h"

namespace ledger::ui {
using platform::ui::MessageBox;

namespace {
QString q(std::string_view s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}
}  // namespace

ReferenceDataDialog::ReferenceDataDialog(ledger::Ledger& ledger, QWidget* parent)
    : QDialog(parent), ledger_(ledger) {
    setObjectName(QStringLiteral("fmRefData"));
    setWindowTitle(QStringLiteral("参照するデータの選択"));
    setFont(dialogFont());
    setModal(true);

    ListBox = new QListWidget(this);
    ListBox->setMinimumSize(200, 240);
    bbOk = new QPushButton(QStringLiteral("ＯＫ"), this);
    bbCancel = new QPushButton(QStringLiteral("キャンセル"), this);
    bbOk->setDefault(true);
    Timer1 = new QTimer(this);
    Timer1->setSingleShot(true);
    Timer1->setInterval(50);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(bbOk);
    buttons->addWidget(bbCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ListBox);
    layout->addLayout(buttons);

    connect(ListBox, &QListWidget::itemDoubleClicked, this, [this] { bbOkClick(); });
    connect(bbOk, &QPushButton::clicked, this, &ReferenceDataDialog::bbOkClick);
    connect(bbCancel, &QPushButton::clicked, this, &ReferenceDataDialog::reject);
    // Nothing to offer: the dialog goes without the question of a cancel.
    connect(Timer1, &QTimer::timeout, this, [this] { done(QDialog::Rejected); });
}

void ReferenceDataDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    QTimer::singleShot(0, this, [this] { FormShow(); });
}

void ReferenceDataDialog::FormShow() {
    Timer1->stop();
    std::memset(static_cast<void*>(ledger_.block.get()), 0, sizeof(ledger::TPeriodBlock));
    ListBox->clear();
    items_.clear();
    platform::ui::guarded(this, [this] {
        items_ = ledger::BuildReferenceList(ledger_.dataPath, ledger_.CurData.Era);
    });
    for (const auto& item : items_) ListBox->addItem(QString::fromStdString(item.text));
    if (items_.empty()) {
        MessageBox::warning(this, q(ledger::kNoReferenceData));
        Timer1->start();
        return;
    }
    ListBox->setCurrentRow(ledger::PreselectReference(
        items_, ledger_.CurData.Era, ledger_.CurData.Year, ledger_.CurData.Period));
    MessageBox::warning(
        this, q(LaterDataExist ? ledger::kPreviousAndLaterExist : ledger::kNoPreviousMonth));
    ListBox->setFocus();
}

void ReferenceDataDialog::bbOkClick() {
    const int row = ListBox->currentRow();
    if (row < 0 || row >= int(items_.size())) return;
    const ledger::ReferenceItem& item = items_[std::size_t(row)];
    if (!platform::ui::guarded(this,
                               [&] { ledger::TakeOverMonth(ledger_, item.file, item.month); }))
        return;
    if (ledger_.BasicInfo().CorpName.empty()) {
        reject();
        return;
    }
    MessageBox::warning(this, q(ledger::kCheckReferencedData));
    accept();
}

void ReferenceDataDialog::reject() {
    Timer1->stop();
    if (ListBox->count() > 0) MessageBox::warning(this, q(ledger::kNoReferenceTaken));
    QDialog::reject();
}

}  // namespace ledger::ui
