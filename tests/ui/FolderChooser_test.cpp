#include "ledger/ui/FolderChooser.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTreeWidget>

#include "ledger/Backup.h"
#include "ledger/MainLifecycle.h"
#include "ledger/ui/BackupCommands.h"
#include "platform/IniFile.h"
#include "platform/ui/Shell.h"
#include "support/TempDir.h"
#include "ui/BoxRecorder.h"
#include "ui/Screenshot.h"

namespace {
using namespace ledger::ui;
using platform::ui::Answer;
using platform::ui::DriveType;
using testing_support::BoxRecorder;
using testing_support::readText;
using testing_support::TempDir;
using testing_support::writeText;
namespace fs = std::filesystem;

QString q(const fs::path& p) {
    return QString::fromStdString(p.string());
}

struct FolderTest : ::testing::Test {
    TempDir tmp;
    fs::path disk = tmp / "disk";    // a fixed drive
    fs::path stick = tmp / "stick";  // a removable one
    fs::path ini = tmp / "Tolvane.ini";
    BoxRecorder box;
    std::unique_ptr<FolderChooser> chooser;

    void SetUp() override {
        fs::create_directories(disk / "Backup" / "2026");
        fs::create_directories(disk / "archive");
        fs::create_directories(disk / ".hidden");
        fs::create_directories(stick / "DATA");
        writeText(disk / "Backup" / "2026" / "Tolvane.ini", "");
        writeText(disk / "file.txt", "");
        makeChooser();
    }

    void makeChooser() {
        chooser = std::make_unique<FolderChooser>(ini);
        chooser->drives = [this] {
            return QList<platform::ui::ShellDrive>{
                {q(disk), QStringLiteral("ローカル ディスク"), DriveType::Fixed},
                {q(stick), QString(), DriveType::Removable}};
        };
    }

    QTreeWidgetItem* root() const { return chooser->TreeView->topLevelItem(0); }
    QStringList childTexts(QTreeWidgetItem* n) const {
        QStringList out;
        for (int i = 0; i < n->childCount(); ++i) out << n->child(i)->text(0);
        return out;
    }
};

TEST_F(FolderTest, TreeShowsDrivesAndReadsFoldersLazily) {
    chooser->FolderPath = q(disk);
    chooser->FormActivate();
    ASSERT_EQ(root()->text(0), QStringLiteral("ﾏｲ ｺﾝﾋﾟｭｰﾀ"));
    EXPECT_EQ(childTexts(root()), (QStringList{q(disk) + QStringLiteral(" [ローカル ディスク]"),
                                               q(stick) + QStringLiteral(" [?????]")}));
    QTreeWidgetItem* d = root()->child(0);
    // Hidden folders included, case-insensitive order, files left out.
    EXPECT_EQ(childTexts(d), (QStringList{".hidden", "archive", "Backup"}));
    // A folder with subfolders waits with a placeholder until it is expanded.
    QTreeWidgetItem* backup = d->child(2);
    EXPECT_EQ(childTexts(backup), QStringList{"???"});
    EXPECT_EQ(d->child(1)->childCount(), 0);
    backup->setExpanded(true);
    EXPECT_EQ(childTexts(backup), QStringList{"2026"});
    // The removable drive is not read while the folder lies elsewhere.
    EXPECT_EQ(root()->child(1)->childCount(), 0);
    EXPECT_EQ(chooser->NodePath(backup->child(0)), q(disk / "Backup" / "2026"));
    EXPECT_EQ(chooser->NodePath(root()), QString());
}

TEST_F(FolderTest, SelectingShowsThePathAndWhetherItHoldsABackup) {
    chooser->FolderPath = q(disk / "Backup" / "2026");
    chooser->FormActivate();
    EXPECT_TRUE(box.boxes.isEmpty());
    EXPECT_EQ(chooser->CurrentPath, q(disk / "Backup" / "2026") + "/");
    EXPECT_EQ(chooser->StatusBar->currentMessage(),
              QStringLiteral("ﾌｫﾙﾀﾞ：") + q(disk / "Backup" / "2026") + "/");
    EXPECT_FALSE(chooser->lbTargetData->isHidden());
    chooser->show();
    testing_support::screenshot(chooser.get(), "folder_chooser");
    // The root cannot be selected: the previous node comes back.
    chooser->TreeView->setCurrentItem(root());
    EXPECT_EQ(chooser->CurrentPath, q(disk / "Backup" / "2026") + "/");
    EXPECT_TRUE(chooser->SelectPath(q(disk / "archive")));
    EXPECT_TRUE(chooser->lbTargetData->isHidden());
    // The root cannot be collapsed.
    root()->setExpanded(false);
    EXPECT_TRUE(root()->isExpanded());
    chooser->hide();
}

// The status line shows the selected folder whole where it fits and otherwise
// shortened in its middle with "…", both ends kept, never cut at the edge.
TEST_F(FolderTest, TheFolderLineShortensALongPathInItsMiddle) {
    fs::path deep = disk;
    for (int i = 0; i < 10; ++i) deep /= "keiri-backup-folder-" + std::to_string(i);
    fs::create_directories(deep);
    const QString prefix = QStringLiteral("ﾌｫﾙﾀﾞ：");
    const struct Row {
        fs::path folder;
        int width;
        bool whole;
    } rows[] = {
        {disk / "Backup" / "2026", 420, true},
        {deep, 420, false},
        {deep, 780, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.folder.string() + " at " + std::to_string(row.width));
        chooser->resize(row.width, 460);
        chooser->FolderPath = q(row.folder);
        chooser->FormActivate();
        chooser->show();
        const QString line = chooser->StatusBar->currentMessage();
        const QString path = q(row.folder) + "/";
        EXPECT_EQ(chooser->CurrentPath, path);
        if (row.whole) {
            EXPECT_EQ(line, prefix + path);
        } else {
            EXPECT_TRUE(line.contains(QChar(0x2026))) << line.toStdString();
            EXPECT_TRUE(line.startsWith(prefix + path.left(8))) << line.toStdString();
            EXPECT_TRUE(line.endsWith(QStringLiteral("folder-9/"))) << line.toStdString();
        }
        EXPECT_LE(QFontMetrics(chooser->StatusBar->font()).horizontalAdvance(line),
                  chooser->StatusBar->width());
        chooser->hide();
    }
}

TEST_F(FolderTest, AMissingRememberedFolderIsReportedAndItsDriveSelected) {
    chooser->FolderPath = q(disk / "gone" / "x");
    chooser->FormActivate();
    EXPECT_EQ(
        box.boxes,
        QStringList{QStringLiteral("指定フォルダ[%1/]がありません。").arg(q(disk / "gone" / "x"))});
    EXPECT_EQ(chooser->CurrentPath, q(disk) + "/");
}

TEST_F(FolderTest, OkNeedsAnExistingFolderAndGivesItWithoutTrailingSlash) {
    chooser->FolderPath = q(disk / "archive");
    chooser->FormActivate();
    fs::remove(disk / "archive");
    chooser->bbOkClick();
    EXPECT_EQ(box.boxes, QStringList{QStringLiteral("指定フォルダはありません。")});
    EXPECT_NE(chooser->result(), int(QDialog::Accepted));

    EXPECT_TRUE(chooser->SelectPath(q(disk / "Backup")));
    chooser->bbOkClick();
    EXPECT_EQ(chooser->result(), int(QDialog::Accepted));
    EXPECT_EQ(chooser->FolderPath, q(disk / "Backup"));
}

TEST_F(FolderTest, NewFolderIsCreatedInsideTheSelectedOneAndSelected) {
    chooser->FolderPath = q(disk / "archive");
    chooser->FormActivate();
    std::optional<QString> answer;
    chooser->askFolderName = [&] { return answer; };
    chooser->btMkDirClick();  // cancelled
    answer = QString();
    chooser->btMkDirClick();  // empty
    EXPECT_TRUE(box.boxes.isEmpty());
    for (const char* bad : {"../escape", "a/b", "..", "."}) {
        answer = QString::fromUtf8(bad);
        chooser->btMkDirClick();
    }
    EXPECT_EQ(box.boxes.size(), 4);
    EXPECT_FALSE(fs::exists(disk / "escape"));
    EXPECT_EQ(box.boxes[0], QStringLiteral("フォルダー作成に失敗しました"));

    answer = QStringLiteral("給与バックアップ");
    const mode_t oldMask = ::umask(022);
    chooser->btMkDirClick();
    ::umask(oldMask);
    EXPECT_TRUE(fs::is_directory(disk / "archive" / "給与バックアップ"));
    // Backups hold pay data: the new folder is its owner's alone.
    EXPECT_EQ(fs::status(disk / "archive" / "給与バックアップ").permissions() &
                  (fs::perms::group_all | fs::perms::others_all),
              fs::perms::none);
    EXPECT_EQ(chooser->FolderPath, q(disk / "archive" / "給与バックアップ"));
    EXPECT_EQ(chooser->CurrentPath, q(disk / "archive" / "給与バックアップ") + "/");
    EXPECT_TRUE(chooser->SelectPath(q(disk / "archive")));
    chooser->btMkDirClick();  // exists already
    EXPECT_EQ(box.boxes.size(), 5);
}

TEST_F(FolderTest, RemovableDriveIsReadWhenTheFolderLiesOnItAndReReadAfterCollapse) {
    chooser->FolderPath = q(stick / "DATA");
    chooser->FormActivate();
    QTreeWidgetItem* s = root()->child(1);
    EXPECT_EQ(childTexts(s), QStringList{"DATA"});
    EXPECT_EQ(chooser->CurrentPath, q(stick / "DATA") + "/");
    fs::create_directories(stick / "NEW");
    s->setExpanded(true);
    s->setExpanded(false);
    EXPECT_EQ(childTexts(s), QStringList{"???"});
    s->setExpanded(true);
    EXPECT_EQ(childTexts(s), (QStringList{"DATA", "NEW"}));
}

TEST_F(FolderTest, StartsAtTheRememberedBackupFolder) {
    platform::IniFile(ini).writeString("Option", "BackupPath", q(disk / "Backup").toStdString());
    makeChooser();
    EXPECT_EQ(chooser->FolderPath, q(disk / "Backup"));
}

// The two menu commands, with the chooser answered by the test.
struct BackupCommandTest : FolderTest {
    fs::path data = tmp / "Data";
    struct NoPrompter : ledger::Prompter {
        void error(const std::string&) override {}
        void warning(const std::string&) override {}
        void information(const std::string&) override {}
        bool confirm(const std::string&) override { return true; }
    } prompter;
    ledger::MainLifecycle lifecycle{prompter, {}};
    QString captionShown;
    bool mkDirEnabled = false;
    bool chooserOk = true;

    void SetUp() override {
        FolderTest::SetUp();
        fs::create_directories(data);
        writeText(ini, "[Option]\r\nCorpName=now\r\n");
        writeText(data / "令和8年給与･賞与.dat", "year8");
        chooser->runModal = [this] {
            captionShown = chooser->windowTitle();
            mkDirEnabled = chooser->btMkDir->isEnabled();
            return chooserOk;
        };
    }
};

TEST_F(BackupCommandTest, BackupCopiesIntoTheChosenFolder) {
    chooser->FolderPath = q(disk / "archive");
    DataBackupCommand(nullptr, *chooser, data, ini);
    EXPECT_EQ(captionShown, QStringLiteral("データファイルのバックアップ場所を指定"));
    EXPECT_TRUE(mkDirEnabled);
    EXPECT_EQ(readText(disk / "archive" / "令和8年給与･賞与.dat"), "year8");
    EXPECT_EQ(box.boxes, QStringList{QStringLiteral("指定場所にバックアップしました。")});
}

TEST_F(BackupCommandTest, RestoreAsksChoosesAndEndsTheProgramWithoutQuestions) {
    box.answer = Answer::No;
    EXPECT_FALSE(DataRestoreCommand(nullptr, *chooser, data, ini, lifecycle));
    EXPECT_TRUE(captionShown.isEmpty()) << "declined before the chooser";

    box.answer = Answer::Yes;
    chooserOk = false;
    EXPECT_FALSE(DataRestoreCommand(nullptr, *chooser, data, ini, lifecycle));
    EXPECT_EQ(captionShown, QStringLiteral("復元するデータファイルの場所を指定"));
    EXPECT_FALSE(mkDirEnabled);

    chooserOk = true;
    chooser->FolderPath = q(disk / "Backup" / "2026");
    writeText(disk / "Backup" / "2026" / "令和8年給与･賞与.dat", "restored");
    box.boxes.clear();
    EXPECT_TRUE(DataRestoreCommand(nullptr, *chooser, data, ini, lifecycle));
    EXPECT_EQ(readText(data / "令和8年給与･賞与.dat"), "restored");
    EXPECT_EQ(box.boxes.last(), QStringLiteral("指定された場所のデータで復元しました。\r復元を有効"
                                               "にする為、プログラムを終了します。"));
    EXPECT_TRUE(lifecycle.skipClosePrompts);
    EXPECT_TRUE(lifecycle.FormCloseQuery());
    EXPECT_FALSE(lifecycle.writesPlacementOnClose());
}

TEST(Shell, VolumeFilterKeepsUserVolumesOnly) {
    using platform::ui::driveTypeOf;
    using platform::ui::isUserVolume;
    EXPECT_TRUE(isUserVolume("ext4", "/"));
    EXPECT_TRUE(isUserVolume("overlay", "/"));
    EXPECT_TRUE(isUserVolume("vfat", "/media/user/STICK"));
    EXPECT_TRUE(isUserVolume("vfat", "/run/media/user/STICK"));
    EXPECT_FALSE(isUserVolume("proc", "/proc"));
    EXPECT_FALSE(isUserVolume("ext4", "/boot"));
    EXPECT_FALSE(isUserVolume("tmpfs", "/run/user/1000"));
    EXPECT_FALSE(isUserVolume("ext4", "/etc/hosts"));
    EXPECT_FALSE(isUserVolume("iso9660", "/media/user/CDROM"));
    EXPECT_EQ(driveTypeOf("vfat", "/media/user/STICK"), DriveType::Removable);
    EXPECT_EQ(driveTypeOf("ext4", "/mnt"), DriveType::Fixed);
    EXPECT_EQ(driveTypeOf("nfs4", "/srv/share"), DriveType::Remote);
    EXPECT_EQ(driveTypeOf("ext4", "/home"), DriveType::Fixed);
    const auto drives = platform::ui::shellDrives();
    ASSERT_FALSE(drives.isEmpty());
    EXPECT_EQ(drives.first().displayName, QStringLiteral("ホーム"));
}

}  // namespace
