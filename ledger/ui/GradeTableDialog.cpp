#include "ledger/ui/GradeTableDialog.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "ledger/EmployeeEdit.h"
#include "ledger/ui/DialogFont.h"

namespace ledger::ui {

GradeTableDialog::GradeTableDialog(const GradeTable& table, QWidget* parent)
    : QDialog(parent), table_(table) {
    setObjectName(QStringLiteral("fmKenhoHyo"));
    setWindowTitle(QStringLiteral("健康保険等級表"));
    setFont(dialogFont());
    // The columns line up in a fixed-pitch font.
    const QFont fixed(platform::ui::familyFor(QStringLiteral("ＭＳ ゴシック")), 10);

    auto* heading = new QLabel(this);
    heading->setFont(fixed);
    heading->setText(QStringLiteral("   報 酬 月 額                    標準報酬"));
    ListBox = new QListWidget(this);
    ListBox->setFont(fixed);
    ListBox->setObjectName("ListBox");
    // Room for the longest line without a scroll bar across.
    ListBox->setMinimumWidth(QFontMetrics(fixed).horizontalAdvance(QString(48, QChar('0'))) + 30);
    ListBox->setMinimumHeight(360);
    lbSelToKyu = new QLabel(this);
    lbSelToKyu->setMinimumWidth(
        lbSelToKyu->fontMetrics().horizontalAdvance(QStringLiteral("選択等級：80等級")) + 8);
    bbOk = new QPushButton(QStringLiteral("ＯＫ"), this);
    bbCancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(lbSelToKyu);
    buttons->addStretch();
    buttons->addWidget(bbOk);
    buttons->addWidget(bbCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(ListBox);
    layout->addLayout(buttons);

    ListBox->installEventFilter(this);
    connect(ListBox, &QListWidget::currentRowChanged, this, [this] { ListBoxClick(); });
    connect(ListBox, &QListWidget::itemDoubleClicked, this, [this] { bbOkClick(); });
    connect(bbOk, &QPushButton::clicked, this, &GradeTableDialog::bbOkClick);
    connect(bbCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void GradeTableDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void GradeTableDialog::FormShow() {
    if (!filled_) {
        filled_ = true;
        for (int g = 1; g <= table_.Count; ++g)
            ListBox->addItem(QString::fromStdString(GradeListLine(table_.Grade(g))));
        adjustSize();
        if (QWidget* owner = parentWidget()) {
            const QRect o = owner->frameGeometry();
            move(o.left() + (o.width() - width()) / 2, o.top() + (o.height() - height()) / 2);
        }
    }
    // A stored grade beyond the table shows its last grade rather than none.
    ListBox->setCurrentRow(GradeRowFor(SelectedGrade, ListBox->count()));
    ListBoxClick();
    ListBox->setFocus();
}

void GradeTableDialog::ListBoxClick() {
    const int row = ListBox->currentRow();
    lbSelToKyu->setText(row < 0 ? QString() : QStringLiteral("選択等級：%1等級").arg(row + 1));
    bbOk->setEnabled(row >= 0);
}

void GradeTableDialog::bbOkClick() {
    // Without a row there is no grade to hand back.
    const int row = ListBox->currentRow();
    if (row < 0) return;
    SelectedGrade = row + 1;
    accept();
}

bool GradeTableDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ListBox && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            bbOkClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace ledger::ui
