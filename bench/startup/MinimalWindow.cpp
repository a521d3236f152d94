#include <QApplication>
#include <QWidget>

// The least a Qt Widgets program does to show a window: the peer the
// program's start-up is measured against.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(800, 450);
    window.setWindowTitle("minimal");
    window.show();
    return app.exec();
}
