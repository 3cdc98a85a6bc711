#include "platform/ui/SingleInstance.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "platform/InstanceLock.h"
#include "platform/ui/MessageBox.h"

namespace platform::ui {
namespace {

constexpr std::string_view kRaise = "raise\n";
// A copy that connects but never sends is not waited for longer than this.
constexpr int kClientTimeoutMs = 2000;

// The socket address of a path; false when the path does not fit.
bool socketAddress(const std::string& path, sockaddr_un& addr) {
    std::memset(&addr, 0, sizeof addr);
    addr.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof addr.sun_path) return false;
    std::memcpy(addr.sun_path, path.data(), path.size());
    return true;
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(std::size_t(n));
    }
    return true;
}

}  // namespace

SingleInstance::SingleInstance(const QString& program, const QString& settingsFolder,
                               QObject* parent)
    : QObject(parent) {
    const std::filesystem::path folder = settingsFolder.toStdString();
    lock_ = std::make_unique<InstanceLock>(folder, program.toStdString());
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    socketPath_ =
        instanceSocketPath(folder, program.toStdString(), runtime && *runtime ? runtime : "");
}

SingleInstance::~SingleInstance() {
    for (auto& [fd, client] : clients_) {
        delete client.notifier;
        ::close(fd);
    }
    if (serverFd_ >= 0) {
        delete serverNotifier_;
        ::close(serverFd_);
        // Only the copy that holds the lock owns the socket's file.
        ::unlink(socketPath_.c_str());
    }
}

bool SingleInstance::tryStart() {
    return start() == InstanceLock::Result::Acquired;
}

InstanceLock::Result SingleInstance::start() {
    const InstanceLock::Result result = lock_->tryAcquire();
    // Without the socket the program still runs; a later copy then only ends.
    if (result == InstanceLock::Result::Acquired) listen();
    return result;
}

bool SingleInstance::startOrExplain() {
    switch (start()) {
        case InstanceLock::Result::Acquired:
            return true;
        case InstanceLock::Result::Held:
            MessageBox::show(nullptr, QString::fromUtf8(kSecondCopy.data(), kSecondCopy.size()),
                             Icon::Warning, Buttons::Ok);
            askRunningCopyToRaise();
            return false;
        case InstanceLock::Result::Unusable:
            explainUnusable(kInstanceLockUnusable);
            return false;
        case InstanceLock::Result::Unlockable:
            explainUnusable(kInstanceLockUnlockable);
            return false;
    }
    return false;
}

void SingleInstance::explainUnusable(std::string_view text) const {
    MessageBox::error(nullptr, QString::fromUtf8(text.data(), qsizetype(text.size())) + "\n" +
                                   QString::fromStdString(lock_->file().string()));
}

void SingleInstance::listen() {
    const std::string& path = socketPath_;
    sockaddr_un addr;
    if (!socketAddress(path, addr)) return;
    int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return;
    // A socket file left by a copy that died would block binding; the lock says
    // no live copy uses it.
    ::unlink(path.c_str());
    // Only this user may connect; nobody can before listen() below, so setting
    // the rights after binding leaves no gap.
    const bool bound = ::bind(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0;
    if (!bound || ::chmod(path.c_str(), 0600) != 0 || ::listen(fd, 8) != 0) {
        if (bound) ::unlink(path.c_str());
        ::close(fd);
        return;
    }
    serverFd_ = fd;
    serverNotifier_ = new QSocketNotifier(qintptr(fd), QSocketNotifier::Read, this);
    connect(serverNotifier_, &QSocketNotifier::activated, this, &SingleInstance::onConnection);
}

bool SingleInstance::askRunningCopyToRaise() {
    sockaddr_un addr;
    if (!socketAddress(socketPath_, addr)) return false;
    int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    bool ok = ::connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0 &&
              writeAll(fd, kRaise);
    ::close(fd);
    return ok;
}

void SingleInstance::onConnection() {
    for (;;) {
        int fd = ::accept4(serverFd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) {
            if (errno == EINTR) continue;
            return;  // none pending (or a failure that the next connection retries)
        }
        Client& client = clients_[fd];
        client.serial = ++lastSerial_;
        client.notifier = new QSocketNotifier(qintptr(fd), QSocketNotifier::Read, this);
        connect(client.notifier, &QSocketNotifier::activated, this, [this, fd] { onReadable(fd); });
        // A copy that never writes nor closes would hold its descriptor for good.
        // The serial tells this connection from a later one given the same number.
        QTimer::singleShot(kClientTimeoutMs, this, [this, fd, serial = client.serial] {
            auto it = clients_.find(fd);
            if (it != clients_.end() && it->second.serial == serial) closeClient(fd);
        });
    }
}

void SingleInstance::onReadable(int fd) {
    auto it = clients_.find(fd);
    if (it == clients_.end()) return;
    char buf[256];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n > 0) {
            // Only the request matters; a copy cannot make this grow without end.
            if (it->second.received.size() < 64) it->second.received.append(buf, std::size_t(n));
            if (it->second.received.find("raise") != std::string::npos) {
                it->second.received.clear();
                raiseWindow(window_);
            }
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
        closeClient(fd);  // the other copy closed (or the read failed)
        return;
    }
}

void SingleInstance::closeClient(int fd) {
    auto it = clients_.find(fd);
    if (it == clients_.end()) return;
    it->second.notifier->setEnabled(false);
    it->second.notifier->deleteLater();
    clients_.erase(it);
    ::close(fd);
}

void SingleInstance::raiseWindow(QWidget* window) {
    if (!window) return;
    if (window->isMinimized()) window->showNormal();
    window->raise();
    window->activateWindow();
    // A dialog the user must answer stays above the window it belongs to, as
    // it would under a window manager, or the program looks frozen.
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != window) {
        modal->raise();
        modal->activateWindow();
    }
}

}  // namespace platform::ui
