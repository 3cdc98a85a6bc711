#pragma once
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <memory>

class QLocalServer;
class QLockFile;
class QWidget;

// One running copy of a program per user and settings folder. The first copy
// holds a lock file and listens on a local socket; a later copy finds the lock,
// asks the first copy to bring its main window to the front and ends.
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
    void onConnection();

    QString key_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer* server_ = nullptr;
    QPointer<QWidget> window_;
};

}  // namespace platform::ui
