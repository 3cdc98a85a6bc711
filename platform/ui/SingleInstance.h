#pragma once
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <map>
#include <memory>
#include <string>

class QLockFile;
class QSocketNotifier;
class QWidget;

// One running copy of a program per user and settings folder. The first copy
// holds a lock file and listens on a Unix-domain socket beside it; a later copy
// finds the lock, asks the first copy to bring its main window to the front and
// ends.
namespace platform::ui {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    // The key names the program; the user id and the settings folder are added,
    // so that copies working on other folders do not meet.
    SingleInstance(const QString& program, const QString& settingsFolder,
                   QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this is the first copy; it then listens for raise requests.
    bool tryStart();
    // From a later copy: asks the running copy to raise its window. False when
    // it could not be reached.
    bool askRunningCopyToRaise();
    // The window the first copy raises on request.
    void setWindow(QWidget* window) { window_ = window; }

    QString key() const { return key_; }

    // Restores a minimised window and brings it to the front.
    static void raiseWindow(QWidget* window);

private:
    // The socket's file: in the temporary folder, named by the key.
    std::string socketPath() const;
    void listen();
    void onConnection();
    void onReadable(int fd);
    void closeClient(int fd);

    QString key_;
    std::unique_ptr<QLockFile> lock_;
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
