#include "platform/ui/SingleInstance.h"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QWidget>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>

#include "support/TempDir.h"

namespace {
using platform::ui::SingleInstance;
using testing_support::TempDir;

TEST(SingleInstance, ASecondCopyOfTheSameFolderIsRefusedAndRaisesTheFirst) {
    TempDir dir;
    const QString folder = QString::fromStdString(dir.path().string());
    SingleInstance first(QStringLiteral("TolvaneTest"), folder);
    ASSERT_TRUE(first.tryStart());
    QWidget window;
    window.showMinimized();
    first.setWindow(&window);

    SingleInstance second(QStringLiteral("TolvaneTest"), folder);
    EXPECT_FALSE(second.tryStart());
    EXPECT_TRUE(second.askRunningCopyToRaise());
    QElapsedTimer t;
    t.start();
    while (window.isMinimized() && t.elapsed() < 5000) QCoreApplication::processEvents();
    EXPECT_FALSE(window.isMinimized());

    // A dialog open in the first copy stays the one in front.
    QDialog dialog(&window);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.show();
    window.showMinimized();
    EXPECT_TRUE(second.askRunningCopyToRaise());
    t.restart();
    while (window.isMinimized() && t.elapsed() < 5000) QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), &dialog);

    // Another program, or the same program on another folder, runs beside it.
    std::filesystem::create_directory(dir / "x");
    EXPECT_TRUE(SingleInstance(QStringLiteral("TolvaneOther"), folder).tryStart());
    EXPECT_TRUE(SingleInstance(QStringLiteral("TolvaneTest"), folder + "/x").tryStart());
}

TEST(SingleInstance, TheLockGoesWithTheFirstCopy) {
    TempDir dir;
    const QString folder = QString::fromStdString(dir.path().string());
    {
        SingleInstance first(QStringLiteral("TolvaneTest"), folder);
        ASSERT_TRUE(first.tryStart());
    }
    SingleInstance again(QStringLiteral("TolvaneTest"), folder);
    EXPECT_TRUE(again.tryStart());
}

bool raisedWithin(QWidget& window, int ms) {
    QElapsedTimer t;
    t.start();
    while (window.isMinimized() && t.elapsed() < ms) QCoreApplication::processEvents();
    return !window.isMinimized();
}

// Sets or clears an environment variable for one scope.
struct ScopedEnv {
    ScopedEnv(const char* name, const char* value) : name(name) {
        if (const char* v = std::getenv(name)) old = v;
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~ScopedEnv() { old ? ::setenv(name, old->c_str(), 1) : ::unsetenv(name); }
    const char* name;
    std::optional<std::string> old;
};

mode_t modeOf(const std::string& file) {
    struct stat st {};
    EXPECT_EQ(::lstat(file.c_str(), &st), 0) << file;
    return st.st_mode & 07777;
}

// However a second copy reaches the settings folder (another temporary folder,
// a link to the drive, a path too long for a socket name), it finds the first.
TEST(SingleInstance, OneCopyPerSettingsFolderWhateverPathOrTemporaryFolderLeadsThere) {
    struct Case {
        const char* what;
        bool longPath;     // the folder's own path does not fit a socket name
        bool viaLink;      // the second copy reaches the folder through a link
        bool otherTmpdir;  // the second copy runs with another TMPDIR
    };
    for (Case c : {Case{"other TMPDIR", false, false, true}, Case{"link", false, true, false},
                   Case{"long path, link", true, true, true}}) {
        TempDir dir, runtime, tmp;
        ScopedEnv xdg("XDG_RUNTIME_DIR", runtime.path().c_str());
        const std::filesystem::path folder =
            c.longPath ? dir / std::string(120, 'f') / "Quenby/Tolvane4" : dir / "Quenby/Tolvane4";
        std::filesystem::create_directories(folder);
        std::filesystem::create_directory_symlink(folder, dir / "link");
        const std::filesystem::path secondPath = c.viaLink ? dir / "link" : folder;

        SingleInstance first(QStringLiteral("TolvaneTest"), QString::fromStdString(folder));
        ASSERT_TRUE(first.tryStart()) << c.what;
        QWidget window;
        window.showMinimized();
        first.setWindow(&window);
        EXPECT_EQ(std::filesystem::path(first.socketPath()).parent_path(),
                  c.longPath ? runtime.path() : folder)
            << c.what;

        ScopedEnv tmpdir("TMPDIR", c.otherTmpdir ? tmp.path().c_str() : std::getenv("TMPDIR"));
        SingleInstance second(QStringLiteral("TolvaneTest"), QString::fromStdString(secondPath));
        EXPECT_FALSE(second.tryStart()) << c.what;
        EXPECT_TRUE(second.askRunningCopyToRaise()) << c.what;
        EXPECT_TRUE(raisedWithin(window, 5000)) << c.what;
    }
}

// The lock and the socket are the user's own (0600 whatever the umask, no pid or
// host in them), and no temporary folder, missing or another account's, keeps
// the first copy from starting. Another account's folder needs a second uid.
TEST(SingleInstance, TheLockIsTheUsersOwnAndNoTemporaryFolderBlocksIt) {
    struct Case {
        const char* what;
        bool otherAccount;  // run as uid 12345 with TMPDIR of uid 54321
    };
    for (Case c : {Case{"missing TMPDIR", false}, Case{"another account's TMPDIR", true}}) {
        if (c.otherAccount && ::geteuid() != 0) continue;
        TempDir dir;
        const std::filesystem::path folder = dir / "Tolvane4";
        std::filesystem::create_directory(folder);
        std::filesystem::create_directory(dir / "tmp");
        if (!c.otherAccount) {
            ScopedEnv tmpdir("TMPDIR", (dir / "missing").c_str());
            const mode_t old = ::umask(0);
            SingleInstance first(QStringLiteral("TolvaneTest"), QString::fromStdString(folder));
            EXPECT_TRUE(first.tryStart()) << c.what;
            ::umask(old);
            for (const std::string& f :
                 {(folder / ".TolvaneTest.instance").string(), first.socketPath()})
                EXPECT_EQ(modeOf(f), 0600u) << f;
            EXPECT_EQ(std::filesystem::file_size(folder / ".TolvaneTest.instance"), 0u);
            continue;
        }
        ASSERT_EQ(::chown(dir.path().c_str(), 12345, 12345), 0);
        ASSERT_EQ(::chown(folder.c_str(), 12345, 12345), 0);
        ASSERT_EQ(::chown((dir / "tmp").c_str(), 54321, 54321), 0);
        ASSERT_EQ(::chmod((dir / "tmp").c_str(), 0755), 0);
        pid_t pid = ::fork();
        if (pid == 0) {
            ::unsetenv("XDG_RUNTIME_DIR");
            ::setenv("TMPDIR", (dir / "tmp").c_str(), 1);
            if (::setgid(12345) != 0 || ::setuid(12345) != 0) ::_exit(2);
            SingleInstance first(QStringLiteral("TolvaneTest"), QString::fromStdString(folder));
            ::_exit(first.tryStart() ? 0 : 1);
        }
        int status = -1;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << c.what << " " << status;
    }
}

// A copy that died leaves its socket file behind; the next first copy takes the
// name over. Only the user may connect, and a copy that connects and says
// nothing does not keep a later one from being heard.
TEST(SingleInstance, TheSocketOfADeadCopyIsTakenOverAndASilentCopyBlocksNobody) {
    TempDir dir;
    const QString folder = QString::fromStdString(dir.path().string());
    SingleInstance first(QStringLiteral("TolvaneTest"), folder);
    const std::string path = first.socketPath();
    std::ofstream(path) << "left over";
    ASSERT_TRUE(first.tryStart());
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_TRUE(S_ISSOCK(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    QWidget window;
    window.showMinimized();
    first.setWindow(&window);
    int silent = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, path.c_str(), sizeof addr.sun_path - 1);
    ASSERT_EQ(::connect(silent, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    QCoreApplication::processEvents();

    SingleInstance second(QStringLiteral("TolvaneTest"), folder);
    EXPECT_FALSE(second.tryStart());
    EXPECT_TRUE(second.askRunningCopyToRaise());
    EXPECT_TRUE(raisedWithin(window, 5000));
    ::close(silent);
}

TEST(SingleInstance, WithTheFirstCopyGoneNobodyAnswersAndItsSocketFileIsRemoved) {
    TempDir dir;
    const QString folder = QString::fromStdString(dir.path().string());
    std::string path;
    {
        SingleInstance first(QStringLiteral("TolvaneTest"), folder);
        ASSERT_TRUE(first.tryStart());
        path = first.socketPath();
        EXPECT_TRUE(std::filesystem::exists(path));
    }
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_FALSE(SingleInstance(QStringLiteral("TolvaneTest"), folder).askRunningCopyToRaise());
}

}  // namespace
