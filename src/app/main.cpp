#include <QApplication>

#include "mainwindow/frmvelmora.h"
#include "platform/qtmessages.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Velmora");
    vm::frmVelmora window;
    vm::QtMessages messages(&window);
    vm::SetMessages(&messages);
    window.Form_Load();
    window.show();
    const int rc = QApplication::exec();
    vm::SetMessages(nullptr);
    return rc;
}
