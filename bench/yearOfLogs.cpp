#include "yearOfLogs.h"

#include "core/data/numbers.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>
#include <stdexcept>

namespace zqar::bench {

namespace {

class YearDirectory {
public:
    YearDirectory() {
        std::random_device device;
        const auto base = std::filesystem::temp_directory_path();
        for (int attempt = 0; attempt < 100 && root.empty(); ++attempt) {
            auto candidate = base / ("zqar-bench-" + std::to_string(device()));
            if (std::filesystem::create_directory(candidate))
                root = candidate;
        }
        if (root.empty())
            throw std::runtime_error("no temp directory for the benchmark files");
        logs.directory = root.string();
        for (int i = 0; i < YEAR_LOGGERS; ++i) {
            const std::string name = "Y" + std::to_string(1001 + i);
            const std::string path = (root / (name + ".dta")).string();
            const std::string text = yearLogText(name, i, YEAR_SAMPLES);
            std::FILE *file = std::fopen(path.c_str(), "wb");
            if (!file || std::fwrite(text.data(), 1, text.size(), file) != text.size() ||
                std::fclose(file) != 0)
                throw std::runtime_error("cannot write " + path);
            logs.paths.push_back(path);
            logs.loggerNames.push_back(name);
            logs.totalBytes += text.size();
        }
    }
    ~YearDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }
    YearDirectory(const YearDirectory &) = delete;
    YearDirectory &operator=(const YearDirectory &) = delete;

    std::filesystem::path root;
    YearOfLogs logs;
};

void appendCentiDegrees(std::string &text, int centi) {
    if (centi < 0) {
        text += '-';
        centi = -centi;
    }
    text += std::to_string(centi / 100);
    text += '.';
    text += static_cast<char>('0' + centi / 10 % 10);
    text += static_cast<char>('0' + centi % 10);
}

} // namespace

std::string yearLogText(const std::string &loggerName, int seed, int samples) {
    std::string text;
    text.reserve(static_cast<std::size_t>(samples) * 14 + 512);
    const char *header[] = {
        "Logger data file", nullptr,    "min", "1", nullptr, "2025", "1", "1", "0", "0", "0",
        "Comments:",        "Year run", "",    "",  "",      "Data:"};
    for (int line = 0; line < 17; ++line) {
        if (line == 1)
            text += loggerName;
        else if (line == 4)
            text += std::to_string(samples);
        else
            text += header[line];
        text += "\r\n";
    }
    std::mt19937 noise(static_cast<unsigned>(seed) * 7919u + 1u);
    std::uniform_int_distribution<int> jitter(-15, 15);
    constexpr double pi = 3.14159265358979323846;
    for (int i = 0; i < samples; ++i) {
        const double day = i / 1440.0;
        const double celsius = 21.0 + 0.1 * seed + 3.0 * std::sin(2.0 * pi * (day - 0.375)) +
                               2.0 * std::sin(2.0 * pi * day / 365.0);
        text += std::to_string(i + 1);
        text += ' ';
        appendCentiDegrees(text, truncToInt(std::floor(celsius * 100.0 + 0.5)) + jitter(noise));
        text += "\r\n";
    }
    return text;
}

namespace {
std::unique_ptr<YearDirectory> &yearDirectory() {
    static std::unique_ptr<YearDirectory> directory;
    return directory;
}
} // namespace

const YearOfLogs &yearOfLogs() {
    auto &directory = yearDirectory();
    if (!directory)
        directory = std::make_unique<YearDirectory>();
    return directory->logs;
}

void removeYearOfLogs() { yearDirectory().reset(); }

} // namespace zqar::bench
