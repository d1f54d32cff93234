// The floor of an empty start: a bare Qt main window with the 42 day labels
// of a month grid, timed from its exec to shown as the program times itself
// (VELMORA_EXIT_WHEN_SHOWN; bench/startup.sh runs it).
#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QMainWindow>

#include "startupprobe.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.resize(1280, 800);
    auto* grid = new QWidget(&window);
    auto* layout = new QGridLayout(grid);
    for (int i = 0; i < 42; ++i) layout->addWidget(new QLabel(QString::number(i % 31 + 1) + " ", grid), i / 7, i % 7);
    window.setCentralWidget(grid);
    window.show();
    vm::ArmStartupProbe([&window] {
        window.close();
        QApplication::quit();
    });
    return QApplication::exec();
}
