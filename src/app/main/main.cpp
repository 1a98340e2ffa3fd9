// The window program: the application, the host, the main window's logic and its window.
// The program ends when the window closes.

#include "app/MainWindow.h"
#include "app/qt/MainWindowShell.h"
#include "platform/qt/QtHost.h"

#include <QApplication>

int main(int argc, char **argv) {
    QApplication application(argc, argv);
    zqar::platform::QtHost host;
    zqar::MainWindow window(host);
    zqar::MainWindowShell shell(window, host);
    shell.show();
    return application.exec();
}
