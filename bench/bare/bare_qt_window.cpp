// The floor of a program start: a Qt Widgets program that shows one window and
// ends once it has been painted, the way the payroll program is ended at its
// first dialog when measured (no tear-down).
#include <unistd.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>

namespace {

class Window : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override {
        QTimer::singleShot(0, [] { ::_exit(0); });
    }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    Window window;
    window.resize(640, 480);
    window.show();
    return app.exec();
}
