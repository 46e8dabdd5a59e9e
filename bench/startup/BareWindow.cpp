// The yardstick of the start-up benchmark: a Qt application that shows one empty window of the
// main window's size and nothing else.

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(931, 758);
    window.show();
    return app.exec();
}
