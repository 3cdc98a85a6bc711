#include "ledger/ui/EventLogViewer.h"

#include <QFileDialog>
#include <QListWidget>
#include <QMenuBar>
#include <QVBoxLayout>

#include "ledger/SysLog.h"
#include "ledger/ui/DialogFont.h"
#include "platform/Errors.h"
#include "platform/Files.h"
#include "platform/Sjis.h"
#include "platform/ui/Application.h"
#include "platform/ui/MessageBox.h"

namespace ledger::ui {
using platform::ui::MessageBox;

EventLogViewer::EventLogViewer(std::filesystem::path dataPath, QWidget* parent)
    : QDialog(parent), dataPath_(std::move(dataPath)) {
    setObjectName(QStringLiteral("fmShowLog"));
    setWindowTitle(QStringLiteral("システムログの表示"));
    setFont(dialogFont());
    setFixedWidth(550);
    setMinimumHeight(600);
    resize(550, 600);

    auto* menu = new QMenuBar(this);
    QMenu* file = menu->addMenu(QStringLiteral("ファイル(&F)"));
    QAction* csv = file->addAction(QStringLiteral("CSVファイルに出力(&C)..."));
    connect(csv, &QAction::triggered, this,
            [this] { platform::ui::guarded(this, [this] { mnCsvExportClick(); }); });

    ListBox1 = new QListWidget(this);
    ListBox1->setFont(QFont(platform::ui::familyFor(QStringLiteral("ＭＳ ゴシック")), 9));
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menu);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(ListBox1);

    chooseCsvFile = [this] { return askCsvFile(); };
}

void EventLogViewer::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    platform::ui::guarded(this, [this] { FormActivate(); });
}

void EventLogViewer::FormActivate() {
    ListBox1->clear();
    lines_.clear();
    // The list shows what could be read; a missing log is reported as such.
    lines_ = ReadSysLogLines(SysLogFile(dataPath_));
    for (const std::string& line : lines_)
        ListBox1->addItem(QString::fromStdString(sjis::toUtf8(line)));
}

QString EventLogViewer::askCsvFile() {
    QFileDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(QStringLiteral("CSVﾌｧｲﾙ(*.csv)"));
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

void EventLogViewer::mnCsvExportClick() {
    if (!MessageBox::confirm(this, QStringLiteral("システムログをＣＳＶファイルに出力します。")))
        return;
    const QString file = chooseCsvFile();
    if (file.isEmpty()) return;
    platform::writeFileAtomic(std::filesystem::path(file.toStdString()), SysLogCsv(lines_));
    MessageBox::information(this, QStringLiteral("指定ファイルに出力しました。"));
}

}  // namespace ledger::ui
