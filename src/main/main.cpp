// The window program: the application, the host, the main window's logic and its window.
// A file named as the first argument is opened once the window shows. The program ends
// when the window closes.

#include "app/WindowCommands.h"
#include "qt/QtHost.h"
#include "window/MainWindowShell.h"

#include <QApplication>

#include <memory>

int main(int argc, char **argv) {
    QApplication application(argc, argv);
    zqar::platform::QtHost host;
    const std::unique_ptr<zqar::WindowCommands> window = zqar::makeMainWindow(host);
    zqar::MainWindowShell shell(*window, host);
    shell.show();
    // A report or project named on the command line (the desktop opens files this way).
    // QApplication has already taken its own options out of argv.
    if (argc > 1)
        shell.openFileWhenShown(argv[1]);
    return application.exec();
}
