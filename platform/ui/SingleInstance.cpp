#include "platform/ui/SingleInstance.h"

#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QWidget>

namespace platform::ui {
namespace {

constexpr char kRaise[] = "raise\n";

}  // namespace

SingleInstance::SingleInstance(const QString& program, const QString& settingsFolder,
                               QObject* parent)
    : QObject(parent) {
    const QByteArray folder =
        QCryptographicHash::hash(QDir::cleanPath(settingsFolder).toUtf8(), QCryptographicHash::Sha1)
            .toHex()
            .left(12);
    key_ = QStringLiteral("%1-%2-%3").arg(program).arg(::getuid()).arg(QString::fromLatin1(folder));
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::tryStart() {
    lock_ = std::make_unique<QLockFile>(QDir::temp().filePath(key_ + QStringLiteral(".lock")));
    // A lock left by a copy that died is taken over (the lock file holds its pid).
    if (!lock_->tryLock(0)) {
        lock_.reset();
        return false;
    }
    server_ = new QLocalServer(this);
    // A socket file left by a copy that died would block listening.
    QLocalServer::removeServer(key_);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (server_->listen(key_))
        connect(server_, &QLocalServer::newConnection, this, &SingleInstance::onConnection);
    // Without the socket the program still runs; a later copy then only ends.
    return true;
}

bool SingleInstance::askRunningCopyToRaise() {
    QLocalSocket socket;
    socket.connectToServer(key_);
    if (!socket.waitForConnected(2000)) return false;
    socket.write(kRaise);
    bool ok = socket.waitForBytesWritten(2000);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(1000);
    return ok;
}

void SingleInstance::onConnection() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (socket->readAll().contains("raise")) raiseWindow(window_);
        });
    }
}

void SingleInstance::raiseWindow(QWidget* window) {
    if (!window) return;
    if (window->isMinimized()) window->showNormal();
    window->raise();
    window->activateWindow();
}

}  // namespace platform::ui
