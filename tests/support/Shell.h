#pragma once
// Runs a shell command and reads what it prints, for tests that compare with a system tool.

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

namespace zqar::testing {

// True when the shell finds the program on the path.
inline bool haveProgram(const std::string &program) {
    const std::string command = "command -v " + program + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

// What the command prints on its standard output, or none when it cannot be run or fails.
inline std::optional<std::string> commandOutput(const std::string &command) {
    std::FILE *pipe = popen(command.c_str(), "r");
    if (!pipe)
        return std::nullopt;
    std::string out;
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, got);
    if (pclose(pipe) != 0)
        return std::nullopt;
    return out;
}

// A text as one single-quoted shell word.
inline std::string shellQuoted(const std::string &text) {
    std::string quoted = "'";
    for (const char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

} // namespace zqar::testing
