#pragma once
// A year of minute samples from 26 one-channel loggers, written once per benchmark run into a
// fresh temp directory that is removed when the program ends.

#include <cstdint>
#include <string>
#include <vector>

namespace zqar::bench {

constexpr int YEAR_LOGGERS = 26;
constexpr int YEAR_SAMPLES = 525600; // one year at one minute

struct YearOfLogs {
    std::string directory;
    std::vector<std::string> paths;       // in the order of loggerNames
    std::vector<std::string> loggerNames; // line 2 of each file
    uint64_t totalBytes = 0;
};

// The files, made on the first call.
const YearOfLogs &yearOfLogs();
// Removes the files if they were made. Also done when the program ends normally.
void removeYearOfLogs();

// The text of one such file: the header and "12345 21.37\r\n" lines.
std::string yearLogText(const std::string &loggerName, int seed, int samples);

} // namespace zqar::bench
