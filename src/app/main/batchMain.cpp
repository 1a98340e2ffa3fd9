// The batch tool's entry point: the options after the program name, the real streams, and
// the executable's folder for the help file and the report companion list.

#include "app/BatchTool.h"

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char **argv) {
    zqar::BatchTool tool(std::cout, std::cerr);
    std::error_code error;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error)
        tool.host.setExecutableDirectory(executable.parent_path().string());
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return tool.run(arguments);
}
