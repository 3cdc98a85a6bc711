// The floor of a program start: a Qt Widgets program that shows one window and
// closes as soon as it is shown.
#include <QApplication>
#include <QTimer>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(640, 480);
    window.show();
    QTimer::singleShot(0, &window, &QWidget::close);
    return app.exec();
}
