#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QStringList>
#include <QWidget>

#include <cstring>

// The least a Qt Widgets program does to show a window: the peer the
// program's start-up is measured against.  With --label it also draws a
// line of text in the program's font, in both of its languages: a window
// without text never loads a font, which every window of the program does.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(800, 450);
    window.setWindowTitle("minimal");
    if (argc > 1 && std::strcmp(argv[1], "--label") == 0) {
        auto* label = new QLabel(QString::fromUtf8("按键设置 Key settings"), &window);
        QFont font;
        font.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
                          QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("Sans Serif")});
        font.setPixelSize(13);
        label->setFont(font);
        label->move(20, 20);
    }
    window.show();
    return app.exec();
}
