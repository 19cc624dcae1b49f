// What the program's start-up is held against: a bare Qt Widgets window in an executable
// that links Qt Widgets and nothing of the program (bench/FirstPaintProbe.cpp measures it).

#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(800, 600);
    window.show();
    return QApplication::exec();
}
