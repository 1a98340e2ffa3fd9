// The batch tool's entry point: the options after the program name, the real streams, and
// the executable's folder for the help file and the report companion list.

#include "app/BatchTool.h"
#include "window/QtBatchOptions.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

#ifdef _WIN32

void prepareEnvironment() {
    // Fonts, pictures and PDF files need a GUI application, but no window is ever shown.
    qputenv("QT_QPA_PLATFORM", "offscreen");
}

std::string executableDirectory() { return QCoreApplication::applicationDirPath().toStdString(); }

#else

void prepareEnvironment() {
    // Fonts, pictures and PDF files need a GUI application, but no window is ever shown.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Qt warns on the error stream when it has no runtime folder, and the error stream is
    // for message boxes only. Give it the private folder it would fall back to.
    if (!std::getenv("XDG_RUNTIME_DIR")) {
        const std::string runtime = "/tmp/runtime-" + std::to_string(getuid());
        if (mkdir(runtime.c_str(), 0700) == 0 || errno == EEXIST)
            setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    }
}

// The folder of the executable itself, through any link it was started by.
std::string executableDirectory() {
    std::error_code error;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : executable.parent_path().string();
}

#endif

} // namespace

int main(int argc, char **argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    prepareEnvironment();
    QGuiApplication application(argc, argv);
    zqar::BatchTool tool(std::cout, std::cerr);
    zqar::registerDrawingOptions(tool);
    if (const std::string folder = executableDirectory(); !folder.empty())
        tool.host.setExecutableDirectory(folder);
    return tool.run(arguments);
}
