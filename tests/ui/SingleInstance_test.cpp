#include "platform/ui/SingleInstance.h"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QWidget>
#include <cstring>
#include <filesystem>
#include <fstream>

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

    // Another program, or the same program on another folder, runs beside it.
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

// The socket lives beside the lock, named by the key.
std::string socketFile(const SingleInstance& s) {
    return QDir::temp().filePath(s.key()).toStdString();
}

bool raisedWithin(QWidget& window, int ms) {
    QElapsedTimer t;
    t.start();
    while (window.isMinimized() && t.elapsed() < ms) QCoreApplication::processEvents();
    return !window.isMinimized();
}

// A copy that died leaves its socket file behind; the next first copy takes the
// name over. Only the user may connect, and a copy that connects and says
// nothing does not keep a later one from being heard.
TEST(SingleInstance, TheSocketOfADeadCopyIsTakenOverAndASilentCopyBlocksNobody) {
    TempDir dir;
    const QString folder = QString::fromStdString(dir.path().string());
    SingleInstance first(QStringLiteral("TolvaneTest"), folder);
    const std::string path = socketFile(first);
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
        path = socketFile(first);
        EXPECT_TRUE(std::filesystem::exists(path));
    }
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_FALSE(SingleInstance(QStringLiteral("TolvaneTest"), folder).askRunningCopyToRaise());
}

}  // namespace
