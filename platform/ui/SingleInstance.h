#pragma once
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "platform/InstanceLock.h"

class QSocketNotifier;
class QWidget;

// One running copy of a program per settings folder. The first copy holds a lock
// in the settings folder and listens on a Unix-domain socket there (or in the
// user's runtime folder when the folder's path is too long for a socket name); a
// later copy finds the lock, asks the first copy to bring its main window to the
// front and ends.
namespace platform::ui {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    // Copies of other programs, or working on other folders, do not meet. The
    // settings folder must exist.
    SingleInstance(const QString& program, const QString& settingsFolder,
                   QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this is the first copy; it then listens for raise requests.
    bool tryStart();
    // tryStart, and when this is not the first copy, tells the user why: another
    // copy runs (it is asked to raise its window), or the lock file cannot be
    // used (it is named, as no second copy need be running at all).
    bool startOrExplain();
    // From a later copy: asks the running copy to raise its window. False when
    // it could not be reached.
    bool askRunningCopyToRaise();
    // The window the first copy raises on request.
    void setWindow(QWidget* window) { window_ = window; }

    // The socket's file; empty when there is no place for one.
    const std::string& socketPath() const { return socketPath_; }

    // Restores a minimised window and brings it to the front.
    static void raiseWindow(QWidget* window);

private:
    InstanceLock::Result start();
    // Shows why the lock says nothing, with the lock file's name.
    void explainUnusable(std::string_view text) const;
    void listen();
    void onConnection();
    void onReadable(int fd);
    void closeClient(int fd);

    std::unique_ptr<InstanceLock> lock_;
    std::string socketPath_;
    int serverFd_ = -1;
    QSocketNotifier* serverNotifier_ = nullptr;
    // Each connected copy: what it has sent so far, and the notifier watching it.
    struct Client {
        QSocketNotifier* notifier = nullptr;
        std::string received;
        unsigned long long serial = 0;
    };
    unsigned long long lastSerial_ = 0;
    std::map<int, Client> clients_;
    QPointer<QWidget> window_;
};

}  // namespace platform::ui
