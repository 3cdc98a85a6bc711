#pragma once
#include <QDialog>
#include <QList>
#include <QString>
#include <filesystem>
#include <functional>
#include <optional>

#include "platform/ui/Shell.h"

class QLabel;
class QPushButton;
class QStatusBar;
class QTreeWidget;
class QTreeWidgetItem;

// The folder chooser of backup, restore and the slip images: a tree of the
// machine's drives and folders under "ﾏｲ ｺﾝﾋﾟｭｰﾀ", read lazily, with a command to
// create a folder. On Linux the "drives" are the home folder and the mounted
// volumes (platform/ui/Shell), and paths use "/".
//
// What callers use:
// - choose(caption, allowMkDir): shows the chooser modally; true on OK, when
//   FolderPath holds the chosen existing folder without a trailing "/" ("/" for
//   the root). FolderPath starts as [Option] BackupPath (home when none) and
//   keeps the last chosen or created folder, which the next show preselects.
namespace ledger::ui {

class FolderChooser : public QDialog {
    Q_OBJECT
public:
    explicit FolderChooser(std::filesystem::path iniFile, QWidget* parent = nullptr);

    bool choose(const QString& caption, bool allowMkDir);

    QString FolderPath;
    // The folder of the selected node, with a trailing "/"; empty on the root.
    QString CurrentPath;

    void FormCreate();
    // Builds the tree afresh and selects FolderPath (else its drive).
    void FormActivate();
    void FormClose();
    void TreeViewExpanding(QTreeWidgetItem* node);
    void TreeViewCollapsing(QTreeWidgetItem* node);
    void TreeViewChange(QTreeWidgetItem* node);
    void TreeViewClick();
    void bbOkClick();
    void btMkDirClick();

    // The folder of a node ("" for the root).
    QString NodePath(const QTreeWidgetItem* node) const;
    void AddSubfolders(const QString& path, QTreeWidgetItem* node);
    static bool HasSubfolders(const QString& path);
    // Selects the node of a folder, reading folders on the way; reports and
    // returns false when a part of the path has no node.
    bool SelectPath(const QString& path);

    // The drives shown; tests give their own.
    std::function<QList<platform::ui::ShellDrive>()> drives;
    // The name of a new folder; nothing on cancel. Tests give their own.
    std::function<std::optional<QString>()> askFolderName;
    // Runs the chooser modally; true on OK. Tests give their own.
    std::function<bool()> runModal;

    QTreeWidget* TreeView;
    QLabel* lbTargetData;
    QPushButton* btMkDir;
    QPushButton* bbOk;
    QPushButton* bbCancel;
    QStatusBar* StatusBar;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    enum NodeKind { kRootNode, kDriveNode, kFolderNode, kPlaceholderNode };
    static NodeKind kindOf(const QTreeWidgetItem* node);
    bool hasPlaceholder(const QTreeWidgetItem* node) const;
    void readFoldersIfPending(QTreeWidgetItem* node);
    QTreeWidgetItem* driveNodeFor(const QString& path) const;
    void updateTargetLabel();
    // "ﾌｫﾙﾀﾞ：" and CurrentPath, shortened in its middle to fit the status bar.
    void showFolderLine();

    std::filesystem::path iniFile_;
    QTreeWidgetItem* root_ = nullptr;
    QTreeWidgetItem* lastSelected_ = nullptr;
};

}  // namespace ledger::ui
