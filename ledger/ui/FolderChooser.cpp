#include "ledger/ui/FolderChooser.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "ledger/Backup.h"
#include "ledger/ui/DialogFont.h"
#include "ledger/ui/TextColour.h"
#include "platform/IniFile.h"
#include "platform/ui/Application.h"
#include "platform/ui/MessageBox.h"

namespace ledger::ui {
using platform::ui::DriveType;
using platform::ui::MessageBox;

namespace {

constexpr int kKindRole = Qt::UserRole;
constexpr int kPathRole = Qt::UserRole + 1;  // drive nodes: their root path
constexpr int kRemovableRole = Qt::UserRole + 2;

const QString kPlaceholder = QStringLiteral("???");

// "/" + name without doubling the separator after the root.
QString joinPath(const QString& folder, const QString& name) {
    return folder.endsWith('/') ? folder + name : folder + "/" + name;
}

QString withTrailingSlash(const QString& p) {
    return p.endsWith('/') ? p : p + "/";
}

bool lies(const QString& path, const QString& root) {
    return root == "/" || path == root || path.startsWith(root + "/");
}

QString driveText(const platform::ui::ShellDrive& d) {
    const QString name = d.displayName.isEmpty() ? QStringLiteral("?????") : d.displayName;
    return QStringLiteral("%1 [%2]").arg(d.rootPath, name);
}

}  // namespace

FolderChooser::FolderChooser(std::filesystem::path iniFile, QWidget* parent)
    : QDialog(parent), iniFile_(std::move(iniFile)) {
    setObjectName(QStringLiteral("fmFolder"));
    setWindowTitle(QStringLiteral("データ保存場所の変更"));
    setFont(dialogFont());
    resize(420, 460);

    TreeView = new QTreeWidget(this);
    TreeView->setHeaderHidden(true);
    TreeView->setColumnCount(1);
    connect(TreeView, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* n) {
        platform::ui::guarded(this, [&] { TreeViewExpanding(n); });
    });
    connect(TreeView, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* n) {
        platform::ui::guarded(this, [&] { TreeViewCollapsing(n); });
    });
    connect(TreeView, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* n) {
        platform::ui::guarded(this, [&] { TreeViewChange(n); });
    });
    connect(TreeView, &QTreeWidget::itemClicked, this,
            [this] { platform::ui::guarded(this, [&] { TreeViewClick(); }); });

    lbTargetData = new QLabel(QStringLiteral("対象データ有り"), this);
    setTextColour(lbTargetData, Qt::blue);
    lbTargetData->setVisible(false);
    btMkDir = new QPushButton(QStringLiteral("ﾌｫﾙﾀﾞｰ作成"), this);
    bbOk = new QPushButton(QStringLiteral("ＯＫ"), this);
    bbOk->setDefault(true);
    bbCancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    connect(btMkDir, &QPushButton::clicked, this,
            [this] { platform::ui::guarded(this, [&] { btMkDirClick(); }); });
    connect(bbOk, &QPushButton::clicked, this,
            [this] { platform::ui::guarded(this, [&] { bbOkClick(); }); });
    connect(bbCancel, &QPushButton::clicked, this, &QDialog::reject);

    // The label keeps the first 128 pixels; the buttons are centred in the rest.
    auto* bottom = new QHBoxLayout;
    auto* labelArea = new QWidget(this);
    labelArea->setFixedWidth(128);
    auto* labelLayout = new QHBoxLayout(labelArea);
    labelLayout->setContentsMargins(4, 0, 0, 0);
    labelLayout->addWidget(lbTargetData);
    bottom->addWidget(labelArea);
    bottom->addStretch();
    bottom->addWidget(btMkDir);
    bottom->addWidget(bbOk);
    bottom->addWidget(bbCancel);
    bottom->addStretch();

    StatusBar = new QStatusBar(this);
    StatusBar->setSizeGripEnabled(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 0);
    layout->addWidget(TreeView, 1);
    layout->addLayout(bottom);
    layout->addWidget(StatusBar);

    drives = [] { return platform::ui::shellDrives(); };
    askFolderName = [this]() -> std::optional<QString> {
        bool ok = false;
        const QString name =
            QInputDialog::getText(this, QStringLiteral("作成するフォルダー名を入力"), QString(),
                                  QLineEdit::Normal, QString(), &ok);
        if (!ok) return std::nullopt;
        return name;
    };
    runModal = [this] { return exec() == QDialog::Accepted; };

    FormCreate();
}

void FolderChooser::FormCreate() {
    FolderPath = QString::fromStdString(
        ReadBackupPath(platform::IniFile(iniFile_), QDir::homePath().toStdString()));
}

bool FolderChooser::choose(const QString& caption, bool allowMkDir) {
    setWindowTitle(caption);
    btMkDir->setEnabled(allowMkDir);
    return runModal();
}

void FolderChooser::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // From the event loop, so that a box about a missing folder stands over the
    // painted chooser.
    QTimer::singleShot(0, this, [this] { platform::ui::guarded(this, [&] { FormActivate(); }); });
}

void FolderChooser::hideEvent(QHideEvent* event) {
    FormClose();
    QDialog::hideEvent(event);
}

FolderChooser::NodeKind FolderChooser::kindOf(const QTreeWidgetItem* node) {
    return node ? NodeKind(node->data(0, kKindRole).toInt()) : kRootNode;
}

bool FolderChooser::hasPlaceholder(const QTreeWidgetItem* node) const {
    return node->childCount() > 0 && kindOf(node->child(0)) == kPlaceholderNode;
}

void FolderChooser::FormActivate() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    struct RestoreCursor {
        ~RestoreCursor() { QApplication::restoreOverrideCursor(); }
    } restoreCursor;

    TreeView->blockSignals(true);
    TreeView->clear();
    lastSelected_ = nullptr;
    CurrentPath.clear();
    root_ = new QTreeWidgetItem(TreeView, {QStringLiteral("ﾏｲ ｺﾝﾋﾟｭｰﾀ")});
    root_->setData(0, kKindRole, kRootNode);
    root_->setIcon(0, platform::ui::shellComputerIcon());
    for (const platform::ui::ShellDrive& d : drives()) {
        auto* node = new QTreeWidgetItem(root_, {driveText(d)});
        node->setData(0, kKindRole, kDriveNode);
        node->setData(0, kPathRole, d.rootPath);
        node->setIcon(0, platform::ui::shellIcon(d.rootPath, d.type));
        const bool removable = d.type == DriveType::Removable;
        node->setData(0, kRemovableRole, removable);
        // A removable medium is read only when the folder to select lies on it.
        if (!removable || lies(FolderPath, d.rootPath)) AddSubfolders(d.rootPath, node);
    }
    TreeView->collapseAll();
    root_->setExpanded(true);
    TreeView->blockSignals(false);

    if (!SelectPath(FolderPath)) {
        if (QTreeWidgetItem* drive = driveNodeFor(FolderPath))
            TreeView->setCurrentItem(drive);
        else if (root_->childCount() > 0)
            TreeView->setCurrentItem(root_->child(0));
    }
}

void FolderChooser::FormClose() {
    TreeView->blockSignals(true);
    TreeView->clear();
    TreeView->blockSignals(false);
    root_ = nullptr;
    lastSelected_ = nullptr;
}

QString FolderChooser::NodePath(const QTreeWidgetItem* node) const {
    QStringList names;
    for (; node && kindOf(node) == kFolderNode; node = node->parent()) names.prepend(node->text(0));
    if (!node || kindOf(node) != kDriveNode) return {};
    QString path = node->data(0, kPathRole).toString();
    for (const QString& n : names) path = joinPath(path, n);
    return path;
}

void FolderChooser::AddSubfolders(const QString& path, QTreeWidgetItem* node) {
    const QStringList names = QDir(path).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                                                   QDir::Name | QDir::IgnoreCase);
    for (const QString& name : names) {
        auto* child = new QTreeWidgetItem(node, {name});
        child->setData(0, kKindRole, kFolderNode);
        child->setIcon(0, platform::ui::shellFolderIcon(false));
        if (HasSubfolders(joinPath(path, name))) {
            auto* placeholder = new QTreeWidgetItem(child, {kPlaceholder});
            placeholder->setData(0, kKindRole, kPlaceholderNode);
        }
    }
}

bool FolderChooser::HasSubfolders(const QString& path) {
    return QDirIterator(path, QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden).hasNext();
}

void FolderChooser::readFoldersIfPending(QTreeWidgetItem* node) {
    if (!hasPlaceholder(node)) return;
    const bool blocked = TreeView->blockSignals(true);
    qDeleteAll(node->takeChildren());
    AddSubfolders(NodePath(node), node);
    TreeView->blockSignals(blocked);
}

void FolderChooser::TreeViewExpanding(QTreeWidgetItem* node) {
    if (node) readFoldersIfPending(node);
}

void FolderChooser::TreeViewCollapsing(QTreeWidgetItem* node) {
    if (!node) return;
    if (node == root_) {
        node->setExpanded(true);
        return;
    }
    // The medium may change while collapsed: read it again on the next expansion.
    if (kindOf(node) == kDriveNode && node->data(0, kRemovableRole).toBool()) {
        const bool blocked = TreeView->blockSignals(true);
        qDeleteAll(node->takeChildren());
        auto* placeholder = new QTreeWidgetItem(node, {kPlaceholder});
        placeholder->setData(0, kKindRole, kPlaceholderNode);
        TreeView->blockSignals(blocked);
    }
}

void FolderChooser::TreeViewChange(QTreeWidgetItem* node) {
    if (!node || kindOf(node) == kPlaceholderNode) return;
    if (node == root_) {
        if (lastSelected_) TreeView->setCurrentItem(lastSelected_);
        return;
    }
    lastSelected_ = node;
    CurrentPath = withTrailingSlash(NodePath(node));
    showFolderLine();
    updateTargetLabel();
}

void FolderChooser::showFolderLine() {
    const QString prefix = QStringLiteral("ﾌｫﾙﾀﾞ：");
    // The status bar keeps a margin on either side of its message.
    constexpr int kMessageMargins = 24;
    const QFontMetrics metrics(StatusBar->font());
    // Until the chooser is first shown the bar has no width of its own; it spans
    // the dialog inside the layout's margins.
    const QMargins margins = layout()->contentsMargins();
    const int barWidth =
        StatusBar->isVisible() ? StatusBar->width() : width() - margins.left() - margins.right();
    const int room = barWidth - kMessageMargins - metrics.horizontalAdvance(prefix);
    // Both ends of a long path tell the clerk where it is: the middle gives way.
    StatusBar->showMessage(prefix + metrics.elidedText(CurrentPath, Qt::ElideMiddle, room));
}

void FolderChooser::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (!CurrentPath.isEmpty()) showFolderLine();
}

void FolderChooser::updateTargetLabel() {
    lbTargetData->setVisible(!CurrentPath.isEmpty() &&
                             HoldsSettingsFile(CurrentPath.toStdString(), iniFile_));
}

void FolderChooser::TreeViewClick() {
    QTreeWidgetItem* node = TreeView->currentItem();
    if (node && kindOf(node) == kDriveNode && node->data(0, kRemovableRole).toBool() &&
        node->childCount() == 0) {
        auto* placeholder = new QTreeWidgetItem(node, {kPlaceholder});
        placeholder->setData(0, kKindRole, kPlaceholderNode);
    }
    updateTargetLabel();
}

void FolderChooser::bbOkClick() {
    if (CurrentPath.isEmpty() || !QFileInfo(CurrentPath).isDir()) {
        MessageBox::error(this, QStringLiteral("指定フォルダはありません。"));
        return;
    }
    FolderPath = CurrentPath.size() > 1 ? CurrentPath.chopped(1) : CurrentPath;
    accept();
}

// Backups hold pay data: a folder made for them is for its owner only.
constexpr QFileDevice::Permissions kOwnerOnly =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;

void FolderChooser::btMkDirClick() {
    const std::optional<QString> name = askFolderName();
    if (!name || name->isEmpty()) return;
    // One folder inside the selected one, nothing else: no path of its own.
    const bool plainName = !name->contains('/') && *name != "." && *name != "..";
    if (CurrentPath.isEmpty() || !plainName || !QDir().mkdir(CurrentPath + *name, kOwnerOnly)) {
        MessageBox::error(this, QStringLiteral("フォルダー作成に失敗しました"));
        return;
    }
    CurrentPath = CurrentPath + *name;
    FolderPath = CurrentPath;
    FormActivate();
}

QTreeWidgetItem* FolderChooser::driveNodeFor(const QString& path) const {
    if (!root_) return nullptr;
    QTreeWidgetItem* best = nullptr;
    int bestLength = -1;
    for (int i = 0; i < root_->childCount(); ++i) {
        QTreeWidgetItem* d = root_->child(i);
        const QString r = d->data(0, kPathRole).toString();
        if (lies(path, r) && r.size() > bestLength) {
            best = d;
            bestLength = int(r.size());
        }
    }
    return best;
}

bool FolderChooser::SelectPath(const QString& path) {
    const QString wanted = withTrailingSlash(path);
    auto notFound = [&] {
        MessageBox::error(this, QStringLiteral("指定フォルダ[%1]がありません。").arg(wanted));
        return false;
    };
    // The volume that holds the path most closely, then one folder at a time;
    // Linux names are compared as they are, case included.
    QTreeWidgetItem* node = path.startsWith('/') ? driveNodeFor(QDir::cleanPath(path)) : nullptr;
    if (!node) return notFound();
    const QString root = node->data(0, kPathRole).toString();
    const QStringList parts = QDir::cleanPath(path).mid(root.size()).split('/', Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        readFoldersIfPending(node);
        QTreeWidgetItem* next = nullptr;
        for (int i = 0; i < node->childCount() && !next; ++i)
            if (kindOf(node->child(i)) == kFolderNode && node->child(i)->text(0) == part)
                next = node->child(i);
        if (!next) return notFound();
        node = next;
    }
    TreeView->setCurrentItem(node);
    TreeView->scrollToItem(node);
    return true;
}

}  // namespace ledger::ui
