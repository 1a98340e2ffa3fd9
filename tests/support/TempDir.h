#pragma once
// A fresh directory under the system's temp folder for one test, removed afterwards.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace zqar::testing {

class TempDir {
public:
    TempDir() {
        std::random_device device;
        const auto base = std::filesystem::temp_directory_path();
        for (int attempt = 0; attempt < 100; ++attempt) {
            auto candidate = base / ("zqar-test-" + std::to_string(device()));
            if (std::filesystem::create_directory(candidate)) {
                root = candidate;
                return;
            }
        }
        throw std::runtime_error("no temp directory");
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;

    std::filesystem::path path() const { return root; }
    std::string file(const std::string &name) const { return (root / name).string(); }

    // Writes bytes exactly as given (no line end translation).
    std::string write(const std::string &name, const std::string &bytes) const {
        const std::string target = file(name);
        std::ofstream out(target, std::ios::binary);
        out << bytes;
        return target;
    }

private:
    std::filesystem::path root;
};

// The text of a one- or two-channel log file with the given header fields and samples.
struct DtaFile {
    std::string name = "4711";
    std::string unit = "sec";
    std::string period = "60";
    std::string year = "2003", month = "11", day = "5", hour = "14", minute = "30", second = "0";
    std::string comments[4] = {"", "", "", ""};
    std::vector<std::string> sampleLines;
    std::string lineEnd = "\r\n";
    std::string dataLine = "Data:";
    std::string count; // defaults to the number of sample lines

    std::string text() const {
        std::string t;
        auto line = [&](const std::string &s) { t += s + lineEnd; };
        line("Logger data file");
        line(name);
        line(unit);
        line(period);
        line(count.empty() ? std::to_string(sampleLines.size()) : count);
        line(year);
        line(month);
        line(day);
        line(hour);
        line(minute);
        line(second);
        line("Comments:");
        for (const auto &c : comments)
            line(c);
        line(dataLine);
        for (const auto &s : sampleLines)
            line(s);
        return t;
    }

    DtaFile &samples(std::initializer_list<double> values) {
        int i = 1;
        for (double v : values) {
            char buffer[64];
            std::snprintf(buffer, sizeof buffer, "%d %.6g", i++, v);
            sampleLines.push_back(buffer);
        }
        return *this;
    }
};

} // namespace zqar::testing
