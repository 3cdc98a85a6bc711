#include "ledger/ui/HealthRatesDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "ledger/ui/DialogFont.h"
#include "platform/ui/Application.h"
#include "platform/ui/MessageBox.h"

namespace ledger::ui {

HealthRatesDialog::HealthRatesDialog(const std::filesystem::path& ratesFile, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("fmKenRitu"));
    setWindowTitle(QStringLiteral("健康保険料率選択"));
    setFont(dialogFont());

    lbKenRitu = new QListWidget(this);
    lbKenRitu->setMinimumSize(220, 300);
    // The names are padded with blanks: a fixed-pitch font lines the rates up.
    lbKenRitu->setFont(QFont(platform::ui::familyFor(QStringLiteral("ＭＳ ゴシック")), 9));
    bbOk = new QPushButton(QStringLiteral("OK"), this);
    bbCancel = new QPushButton(QStringLiteral("キャンセル"), this);
    bbOk->setEnabled(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(bbOk);
    buttons->addWidget(bbCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("都道府県の健康保険料率を選択して下さい。"), this));
    layout->addWidget(lbKenRitu);
    layout->addLayout(buttons);

    // A rates file that cannot be read leaves the list empty, as a missing one does.
    platform::ui::guarded(this, [&] { lines_ = ReadHealthRates(ratesFile); });
    for (const auto& l : lines_) lbKenRitu->addItem(QString::fromStdString(l.text));

    // A pick selects a row (click or arrow keys); focusing the list only makes its
    // first row current, which is no choice yet.
    connect(lbKenRitu, &QListWidget::itemSelectionChanged, this, [this] { lbKenRituClick(); });
    connect(lbKenRitu, &QListWidget::itemDoubleClicked, this, [this] { bbOkClick(); });
    connect(bbOk, &QPushButton::clicked, this, &HealthRatesDialog::bbOkClick);
    connect(bbCancel, &QPushButton::clicked, this, &QDialog::reject);
}

int HealthRatesDialog::chosenRow() const {
    const QList<QListWidgetItem*> picked = lbKenRitu->selectedItems();
    return picked.isEmpty() ? -1 : lbKenRitu->row(picked.first());
}

void HealthRatesDialog::lbKenRituClick() {
    bbOk->setEnabled(chosenRow() >= 0);
}

void HealthRatesDialog::bbOkClick() {
    const int row = chosenRow();
    if (row < 0 || row >= int(lines_.size())) return;
    platform::ui::MessageBox::information(
        this, QStringLiteral("選択した健康保険料率の半分の値がセットされます。"));
    Rate = EmployeeShare(lines_[std::size_t(row)]);
    accept();
}

}  // namespace ledger::ui
