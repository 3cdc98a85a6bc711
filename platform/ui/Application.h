#pragma once
#include <QApplication>
#include <functional>

// Errors raised inside a handler (a file that cannot be read or written, a text
// that is not a number) end that handler only: the program shows the error in
// its error box and carries on.
namespace platform::ui {

// Runs a handler; an IoError, ConvertError or other exception it throws is shown
// in the error box. Returns false when it threw.
bool guarded(QWidget* parent, const std::function<void()>& handler);

// The boundary around every event delivery, apart from the application object so
// that it can be tested without replacing the application.
class EventBoundary {
public:
    using Deliver = std::function<bool(QObject*, QEvent*)>;

    // Delivers the event through `send`; whatever it throws is shown in the
    // error box and the event counts as not handled. While that box is open a
    // further exception (a paint event of the window behind it that throws again)
    // is written to the log instead, so boxes never pile up on one another.
    bool deliver(QObject* receiver, QEvent* event, const Deliver& send);

private:
    bool reporting_ = false;
};

// The application object of both programs: every event handler runs inside the
// same boundary.
class Application : public QApplication {
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

private:
    EventBoundary boundary_;
};

}  // namespace platform::ui
