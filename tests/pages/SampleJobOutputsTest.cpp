// The sample job's outputs, byte for byte: CSV exports, pictures at three sizes, created reports
// and saved projects, each compared with its SHA-256 digest in tests/data/sample-job.sha256.
// Printed pages are compared as the text pdftotext (poppler-utils) reads from them, without the
// "Printed on:" line, which holds the time of the run. The batch tool runs in-process from the
// repository root, because the sample project names its data folder relative to it.
//
// A change that alters an output on purpose updates the digests: in the build folder run
//   ZQAR_WRITE_DIGESTS=1 tests/pages/zqar_page_tests --gtest_filter='SampleJobOutputs.*'
// which rewrites tests/data/sample-job.sha256 (same format as sha256sum, paths relative to the
// output folder) and the printed texts in tests/data/printed, then review the diff and say in
// the commit why each output changed.
//
// The digests only record what the program wrote when they were made. Where a value can be
// stated independently the test states it too: one cell's interval mean computed here from the
// log file's own lines, the number of sets from the logs' common span and the interval, and a
// report that is written back unchanged.

#include "app/BatchTool.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"
#include "window/QtBatchOptions.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QCryptographicHash>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace zqar {
namespace {

namespace fs = std::filesystem;

const fs::path SAMPLES = ZQAR_SAMPLES_DIR;
const fs::path DIGESTS = fs::path(ZQAR_TEST_DATA_DIR) / "sample-job.sha256";
const fs::path PRINTED = fs::path(ZQAR_TEST_DATA_DIR) / "printed";

std::string sha256OfText(const std::string &bytes) {
    return QCryptographicHash::hash(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())),
                                    QCryptographicHash::Sha256)
        .toHex()
        .toStdString();
}

std::string sha256Of(const fs::path &path) { return sha256OfText(zqar::testing::fileBytes(path)); }

// A project file up to its change log section, which comes last, and that section.
std::string withoutLogSection(const fs::path &path) {
    const std::string bytes = zqar::testing::fileBytes(path);
    return bytes.substr(0, bytes.find("[ChangeLog]"));
}
std::string logSectionOf(const fs::path &path) {
    const std::string bytes = zqar::testing::fileBytes(path);
    const std::size_t at = bytes.find("[ChangeLog]");
    return at == std::string::npos ? std::string() : bytes.substr(at);
}

// "HEX  ./name" lines, keyed by name.
std::map<std::string, std::string> readDigests() {
    std::map<std::string, std::string> digests;
    std::ifstream in(DIGESTS);
    std::string line;
    while (std::getline(in, line))
        if (line.size() > 66 && line.compare(64, 2, "  ") == 0)
            digests[line.substr(66)] = line.substr(0, 64);
    return digests;
}

// Each line of a text file, without its line end.
std::vector<std::string> linesOf(const fs::path &path) {
    std::vector<std::string> lines;
    std::istringstream in(zqar::testing::fileBytes(path));
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> fieldsOf(const std::string &line) {
    std::vector<std::string> fields;
    std::istringstream in(line);
    std::string field;
    while (std::getline(in, field, ','))
        fields.push_back(field);
    return fields;
}

// A log file as its header and data lines say, read here without the program's reader.
struct Log {
    long long startSeconds = 0; // since 1970, UTC
    long long periodSeconds = 0;
    long long count = 0;
    std::vector<double> samples;
};

Log readLog(const fs::path &path) {
    const std::vector<std::string> lines = linesOf(path);
    Log log;
    if (lines.size() < 17)
        return log;
    const long long unit = lines[2] == "min" ? 60 : 1;
    log.periodSeconds = std::atoll(lines[3].c_str()) * unit;
    log.count = std::atoll(lines[4].c_str());
    std::tm civil{};
    civil.tm_year = std::atoi(lines[5].c_str()) - 1900;
    civil.tm_mon = std::atoi(lines[6].c_str()) - 1;
    civil.tm_mday = std::atoi(lines[7].c_str());
    civil.tm_hour = std::atoi(lines[8].c_str());
    civil.tm_min = std::atoi(lines[9].c_str());
    civil.tm_sec = std::atoi(lines[10].c_str());
    log.startSeconds = static_cast<long long>(timegm(&civil));
    for (std::size_t i = 17; i < lines.size(); ++i) {
        const std::size_t blank = lines[i].find(' ');
        if (blank != std::string::npos)
            log.samples.push_back(std::strtod(lines[i].c_str() + blank + 1, nullptr));
    }
    return log;
}

std::string twoDecimals(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

class SampleJobOutputs : public ::testing::Test {
protected:
    SampleJobOutputs() : previousFolder(fs::current_path()) {
        fs::current_path(SAMPLES.parent_path());
    }
    ~SampleJobOutputs() override { fs::current_path(previousFolder); }

    // One batch run with the drawing options; answers its status lines.
    std::string run(const std::vector<std::string> &arguments, int expectedExit = BATCH_OK) {
        std::ostringstream out;
        std::ostringstream err;
        BatchTool tool(out, err);
        registerDrawingOptions(tool);
        EXPECT_EQ(tool.run(arguments), expectedExit) << err.str();
        return out.str();
    }
    std::string at(const std::string &name) const { return (dir.path() / name).string(); }

    fs::path previousFolder;
    testing::TempDir dir;
};

TEST_F(SampleJobOutputs, MatchTheRecordedDigests) {
    const std::string project = (SAMPLES / "warehouse.ttp").string();
    const std::string report = (SAMPLES / "warehouse.ttr").string();

    const std::string averaged =
        run({"--load-project", project, "--load-files", "--calculate-averaged", "--export-csv",
             at("avg/set%d.csv"), "--create-report", at("created.ttr"), "--save-project",
             at("saved.ttp")});
    EXPECT_EQ(averaged.rfind("STATUS: 26 files were loaded.\nSTATUS: 192 sets created.\n", 0), 0u)
        << averaged;

    run({"--load-report", report, "--export-csv", at("rep/s%d.csv")});

    // Pictures at the default size: the first, a middle and the last set.
    std::vector<std::string> pictures = {"--load-report", report, "--export-png", at("png/g1.png")};
    for (int i = 1; i < 100; ++i)
        pictures.push_back("--next");
    for (const char *more :
         {"--export-png", "png/g100.png", "--last", "--export-png", "png/g336.png"})
        pictures.push_back(more[0] == '-' ? more : at(more));
    run(pictures);

    run({"--load-report", report, "--size", "640x480", "--first", "--next", "--next",
         "--export-png", at("small3.png"), "--last", "--export-png", at("smallL.png")});
    const std::string seventeen =
        run({"--load-report", report, "--set", "averagingIntervalText=17", "--calculate-averaged",
             "--size", "1920x1080", "--last", "--previous", "--export-png", at("big.png"),
             "--export-csv", at("big.csv")});
    EXPECT_NE(seventeen.find("STATUS: 593 sets created.\n"), std::string::npos) << seventeen;
    run({"--load-report", report, "--calculate-at", "--export-csv", at("at.csv"), "--export-png",
         at("at.png")});
    run({"--load-report", report, "--set", "contourSpacingText=0.07", "--export-png",
         at("sp007.png"), "--set", "contourSpacingText=0.06", "--export-png", at("sp006.png")});
    fs::copy_file(project, at("copy.ttp"));
    run({"--load-project", at("copy.ttp"), "--set", "NumberOfRows=3", "--update-layout",
         "--save-project", at("copy.ttp"), "--create-report", at("c2.ttr")});

    // A project saved after a change holds the change log, with the time and the user of each
    // change: the digest covers what comes before it, and the log is checked here.
    const std::string copyLog = logSectionOf(at("copy.ttp"));
    // Update Layout empties the tables: the cells that went are logged with their loggers.
    for (const char *line : {"Entry1.Field=NumberOfRows\r\nEntry1.Old=6\r\nEntry1.New=3\r\n",
                             ".Field=R4C1\r\n", ".Old=10243\r\n"})
        EXPECT_NE(copyLog.find(line), std::string::npos) << line << " in " << copyLog;
    EXPECT_EQ(logSectionOf(at("saved.ttp")), "") << "loading and calculating change nothing";

    std::map<std::string, std::string> made;
    for (const auto &entry : fs::recursive_directory_iterator(dir.path()))
        if (entry.is_regular_file())
            made["./" + entry.path().lexically_relative(dir.path()).generic_string()] =
                entry.path().extension() == ".ttp" ? sha256OfText(withoutLogSection(entry.path()))
                                                   : sha256Of(entry.path());
    EXPECT_EQ(made.size(), 192u + 2u + 336u + 3u + 2u + 2u + 2u + 2u + 2u);

    if (std::getenv("ZQAR_WRITE_DIGESTS")) {
        // std::map orders the names by byte, as sort does in the C locale.
        std::ofstream out(DIGESTS, std::ios::binary | std::ios::trunc);
        for (const auto &[name, digest] : made)
            out << digest << "  " << name << "\n";
        ASSERT_TRUE(out.good()) << DIGESTS;
        return;
    }
    const std::map<std::string, std::string> recorded = readDigests();
    ASSERT_FALSE(recorded.empty()) << DIGESTS << " is missing or empty";
    for (const auto &[name, digest] : made) {
        const auto found = recorded.find(name);
        if (found == recorded.end())
            ADD_FAILURE() << name << " has no recorded digest";
        else
            EXPECT_EQ(digest, found->second) << name << " changed";
    }
    for (const auto &entry : recorded)
        EXPECT_EQ(made.count(entry.first), 1u) << entry.first << " was not written";
}

// The averaged sets run from the latest start to the earliest end of the placed logs, one per
// interval; a cell holds the mean of its logger's samples from the one at the set's start
// through the one at its end.
TEST_F(SampleJobOutputs, AveragedSetsFollowFromTheLogLines) {
    long long latestStart = 0;
    long long earliestEnd = 0;
    int logs = 0;
    for (const auto &entry : fs::directory_iterator(SAMPLES / "data")) {
        std::string extension = entry.path().extension().string();
        std::transform(extension.begin(), extension.end(), extension.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (extension != ".dta") // one of them is named in capitals
            continue;
        const Log log = readLog(entry.path());
        ASSERT_GT(log.count, 0) << entry.path();
        const long long end = log.startSeconds + (log.count - 1) * log.periodSeconds;
        latestStart = logs == 0 ? log.startSeconds : std::max(latestStart, log.startSeconds);
        earliestEnd = logs == 0 ? end : std::min(earliestEnd, end);
        ++logs;
    }
    ASSERT_EQ(logs, 25); // 26 positions: logger 20417 fills two with its two channels
    const long long interval = 30 * 60;
    const long long sets = (earliestEnd - latestStart + interval - 1) / interval;

    const std::string status =
        run({"--load-project", (SAMPLES / "warehouse.ttp").string(), "--load-files",
             "--calculate-averaged", "--export-csv", at("set%d.csv")});
    EXPECT_NE(status.find("STATUS: " + std::to_string(sets) + " sets created.\n"),
              std::string::npos)
        << status;
    EXPECT_TRUE(fs::exists(at("set" + std::to_string(sets) + ".csv")));
    EXPECT_FALSE(fs::exists(at("set" + std::to_string(sets + 1) + ".csv")));

    // R1C1 is logger 10231, five-minute samples from the common start: an interval of 30
    // minutes takes samples 6k through 6k + 6.
    const Log r1c1 = readLog(SAMPLES / "data" / "10231.dta");
    ASSERT_EQ(r1c1.startSeconds, latestStart);
    ASSERT_EQ(r1c1.periodSeconds, 300);
    for (const int set : {1, 2, 100}) {
        SCOPED_TRACE(set);
        const std::size_t first = static_cast<std::size_t>(set - 1) * 6;
        double sum = 0;
        for (std::size_t i = first; i <= first + 6; ++i)
            sum += r1c1.samples.at(i);
        const std::vector<std::string> lines = linesOf(at("set" + std::to_string(set) + ".csv"));
        ASSERT_GT(lines.size(), 2u);
        // Header row, the boundary row, then R1: label, boundary, C1 ...
        const std::vector<std::string> r1 = fieldsOf(lines[2]);
        ASSERT_GT(r1.size(), 2u);
        EXPECT_EQ(r1[0], "R1");
        EXPECT_EQ(r1[2], twoDecimals(sum / 7));
    }
}

// The text of a PDF file as "pdftotext -layout" gives it, with the lines holding "Printed on:"
// left out and counted.
std::string printedText(const fs::path &pdf, int &printedOnLines) {
    QProcess process;
    process.start("pdftotext", {"-layout", QString::fromStdString(pdf.string()), "-"});
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return "pdftotext failed: " + process.errorString().toStdString();
    const QByteArray output = process.readAllStandardOutput();
    std::istringstream in(std::string(output.constData(), static_cast<std::size_t>(output.size())));
    std::string text;
    std::string line;
    printedOnLines = 0;
    while (std::getline(in, line)) {
        if (line.find("Printed on: ") != std::string::npos)
            ++printedOnLines;
        else
            text += line + "\n";
    }
    return text;
}

TEST_F(SampleJobOutputs, PrintedPagesReadAsRecorded) {
    const std::string project = (SAMPLES / "warehouse.ttp").string();
    const std::string report = (SAMPLES / "warehouse.ttr").string();
    run({"--load-project", project, "--load-files", "--calculate-averaged", "--print-matrix",
         at("avg-matrix.pdf"), "--print-graph", at("avg-graph.pdf")});
    run({"--load-report", report, "--print-matrix", at("m.pdf")});
    run({"--load-report", report, "--size", "640x480", "--first", "--next", "--next", "--last",
         "--print-graph", at("g.pdf")});
    const bool write = std::getenv("ZQAR_WRITE_DIGESTS") != nullptr;
    for (const char *name : {"avg-matrix", "avg-graph", "m", "g"}) {
        SCOPED_TRACE(name);
        int printedOn = 0;
        const std::string text = printedText(at(std::string(name) + ".pdf"), printedOn);
        EXPECT_EQ(printedOn, 1) << "one page, printed on the time of the run";
        const fs::path reference = PRINTED / (std::string(name) + ".txt");
        if (write) {
            std::ofstream(reference, std::ios::binary | std::ios::trunc) << text;
            continue;
        }
        EXPECT_EQ(text, zqar::testing::fileBytes(reference)) << "compare with " << reference;
    }
}

// Events alone change no figure: the statistics, their maps, the sets and the graphs are byte
// for byte those of the job without them. A phase left out changes the statistics and their
// maps but not the sets, which keep every reading.
TEST_F(SampleJobOutputs, EventsChangeTheStatisticsOnlyThroughAnExcludedPhase) {
    const std::string report = (SAMPLES / "warehouse.ttr").string();
    const std::vector<std::string> events = {"--event", "door-open@05-Jun-2025 05:40PM",
                                             "--event", "door-closed@05-Jun-2025 06:00PM",
                                             "--event", "phase-start:Loaded@04-Jun-2025 08:00AM",
                                             "--event", "phase-end:Loaded@04-Jun-2025 06:00PM"};
    auto outputs = [&](const std::string &folder, const std::vector<std::string> &extra) {
        std::vector<std::string> arguments = {"--load-report",     report,  "--set",
                                              "lowerLimitText=15", "--set", "upperLimitText=25"};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        for (const char *option : {"--statistics-csv", "stats.csv", "--statistics-map", "mean",
                                   "map.png", "--statistics-map", "maximum", "max.csv",
                                   "--export-csv", "set%d.csv", "--export-png", "g.png"})
            arguments.push_back(option[0] == '-' ||
                                        std::string(option).find('.') == std::string::npos
                                    ? option
                                    : at(folder + "/" + option));
        run(arguments);
    };
    outputs("plain", {});
    outputs("events", events);
    std::vector<std::string> excluded = events;
    excluded.insert(excluded.end(), {"--exclude-phase", "Loaded"});
    outputs("excluded", excluded);

    for (const char *name :
         {"stats.csv", "map.png", "max.csv", "set1.csv", "set336.csv", "g.png"}) {
        SCOPED_TRACE(name);
        const std::string plain = zqar::testing::fileBytes(dir.path() / "plain" / name);
        ASSERT_FALSE(plain.empty());
        EXPECT_TRUE(zqar::testing::fileBytes(dir.path() / "events" / name) == plain);
    }
    EXPECT_FALSE(zqar::testing::fileBytes(dir.path() / "excluded" / "stats.csv") ==
                 zqar::testing::fileBytes(dir.path() / "plain" / "stats.csv"));
    EXPECT_FALSE(zqar::testing::fileBytes(dir.path() / "excluded" / "max.csv") ==
                 zqar::testing::fileBytes(dir.path() / "plain" / "max.csv"));
    for (const char *name : {"set1.csv", "set100.csv", "set336.csv", "g.png"})
        EXPECT_TRUE(zqar::testing::fileBytes(dir.path() / "excluded" / name) ==
                    zqar::testing::fileBytes(dir.path() / "plain" / name))
            << name;
}

TEST_F(SampleJobOutputs, ARecreatedReportIsTheLoadedOneByteForByte) {
    const fs::path report = SAMPLES / "warehouse.ttr";
    run({"--load-report", report.string(), "--create-report", at("again.ttr")});
    // Create Report writes the report into a folder of its name.
    const std::string again = zqar::testing::fileBytes(dir.path() / "again" / "again.ttr");
    ASSERT_FALSE(again.empty());
    EXPECT_TRUE(again == zqar::testing::fileBytes(report)) << "the recreated report differs";
}

} // namespace
} // namespace zqar
