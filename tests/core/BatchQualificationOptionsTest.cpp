// The qualification and event options of the batch tool end to end: log files and a project on
// disk, events from the command line and from a CSV file, and the CSV files the options write,
// checked against figures worked out by hand.

#include "app/BatchTool.h"
#include "support/BatchRun.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

using namespace zqar;
using namespace zqar::testing;
namespace fs = std::filesystem;

namespace {

std::string readBytes(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::vector<std::string> linesOf(const std::string &text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// The fields of a CSV line; quoted fields may hold commas.
std::vector<std::string> fieldsOf(const std::string &line) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (const char c : line) {
        if (c == '"')
            quoted = !quoted;
        else if (c == ',' && !quoted)
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string> &b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Minute loggers from 05-Nov-2003 02:30PM, one per cell of a rows x columns array named C1,
// C2 ... row by row, in a project whose tables place them by serial number.
class Chamber {
public:
    Chamber(int rowCount, int columnCount, const std::vector<std::vector<double>> &series)
        : rows(rowCount), columns(columnCount) {
        const fs::path data = dir.path() / "data";
        fs::create_directory(data);
        std::string project = "[ZQARVemro]\r\nDirectory=" + data.string() +
                              "\r\nNumberOfRows=" + std::to_string(rows) +
                              "\r\nNumberOfColumns=" + std::to_string(columns) +
                              "\r\nNumberOfSingular=0\r\nUseCommentField=N\r\n";
        for (std::size_t i = 0; i < series.size(); ++i) {
            DtaFile dta;
            dta.name = "C" + std::to_string(i + 1);
            for (std::size_t k = 0; k < series[i].size(); ++k) {
                char line[64];
                std::snprintf(line, sizeof line, "%d %.2f", static_cast<int>(k + 1), series[i][k]);
                dta.sampleLines.push_back(line);
            }
            std::ofstream(data / (dta.name + ".dta"), std::ios::binary) << dta.text();
            project += "R" + std::to_string(i / columns + 1) + "C" +
                       std::to_string(i % columns + 1) + "=" + dta.name + "\r\n";
        }
        projectPath = dir.write("chamber.ttp", project);
    }

    // Loads the project and its files, with the span from the first sample through the last.
    std::vector<std::string> load(const std::string &finish) const {
        return {"--load-project",
                projectPath,
                "--load-files",
                "--set",
                "startTimeText=05-Nov-2003 02:30PM",
                "--set",
                "finishTimeText=" + finish};
    }

    TempDir dir;
    std::string projectPath;
    int rows;
    int columns;
};

// Figure name to value, from the first block of a qualification CSV.
std::map<std::string, std::string> figuresOf(const std::string &csv) {
    std::map<std::string, std::string> figures;
    const std::vector<std::string> lines = linesOf(csv);
    for (std::size_t i = 1; i < lines.size() && !lines[i].empty(); ++i) {
        const std::vector<std::string> fields = fieldsOf(lines[i]);
        if (fields.size() == 3)
            figures[fields[0]] = fields[1];
    }
    return figures;
}

} // namespace

// A 3 x 3 chamber at the set point 20, R1C1 constant 0.6 K above, and the reference (the
// middle cell by default) alternating 20.2 and 19.8 over 60 samples.
TEST(BatchQualificationOptions, ChamberFiguresFromTheReferenceCell) {
    std::vector<std::vector<double>> series(9, std::vector<double>(60, 20.0));
    series[0].assign(60, 20.6);
    for (std::size_t k = 0; k < 60; ++k)
        series[4][k] = k % 2 == 0 ? 20.2 : 19.8;
    const Chamber chamber(3, 3, series);
    const std::string csv = chamber.dir.file("out/qualification.csv");
    const BatchRun run =
        runBatch(chamber.load("05-Nov-2003 03:29PM") +
                 std::vector<std::string>{"--set", "setPointText=20", "--set", "toleranceText=0.5",
                                          "--qualification-csv", csv});
    ASSERT_EQ(run.exit, BATCH_OK) << run.err;
    const std::map<std::string, std::string> figures = figuresOf(readBytes(csv));
    // max |T - Tref| = 20.6 - 19.8; spreads 0.6 and 0.8 alternate; the reference swings 0.4.
    EXPECT_EQ(figures.at("uniformity (maximum deviation from reference)"), "0.80");
    EXPECT_EQ(figures.at("uniformity (mean spread)"), "0.70");
    EXPECT_EQ(figures.at("stability"), "0.20");
    EXPECT_EQ(figures.at("overall variation"), "0.80");
    // (8 x 20 + 20.6) / 9 - 20; every reading within 0.5 but R1C1's 0.6: never stable.
    EXPECT_EQ(figures.at("set-point deviation"), "0.07");
    EXPECT_EQ(figures.at("stabilisation time"), "not reached");
    EXPECT_EQ(figures.at("tolerance class"), "3");

    const std::vector<std::string> lines = linesOf(readBytes(csv));
    ASSERT_EQ(lines.size(), 8u + 1u + 1u + 9u);
    EXPECT_EQ(lines[9], "Position,Logger,Mean,Spread,Deviation From Reference,"
                        "Deviation From Set Point");
    EXPECT_EQ(lines[10], "R1C1,C1,20.60,0.00,0.60,0.60");
    EXPECT_EQ(lines[14], "R2C2,C5,20.00,0.40,0.00,0.00");

    // Another reference, and settings the figures cannot use.
    const BatchRun corner = runBatch(chamber.load("05-Nov-2003 03:29PM") +
                                     std::vector<std::string>{"--set", "referencePositionText=r1c1",
                                                              "--qualification-csv", csv});
    ASSERT_EQ(corner.exit, BATCH_OK) << corner.err;
    EXPECT_EQ(figuresOf(readBytes(csv)).at("uniformity (maximum deviation from reference)"),
              "0.80");
    EXPECT_EQ(figuresOf(readBytes(csv)).at("set-point deviation"), "-");
    const struct {
        const char *setting;
        const char *message;
    } failures[] = {
        {"setPointText=warm", "Statistics: The set point is in an incorrect format.\n"},
        {"referencePositionText=R4C1",
         "Statistics: The reference position is not in the layout.\n"},
        {"stableStartText=06-Nov-2003 10:00AM",
         "Statistics: The stable window finishes before it starts.\n"},
    };
    for (const auto &failure : failures) {
        SCOPED_TRACE(failure.setting);
        const std::string failed = chamber.dir.file("failed.csv");
        const BatchRun bad = runBatch(
            chamber.load("05-Nov-2003 03:29PM") +
            std::vector<std::string>{"--set", failure.setting, "--qualification-csv", failed});
        EXPECT_EQ(bad.exit, BATCH_FAILED);
        EXPECT_NE(bad.err.find(failure.message), std::string::npos) << bad.err;
        EXPECT_FALSE(fs::exists(failed));
    }
}

// Limits 2 to 8, every position at 5; the warm position goes to 9 while the door is open and
// comes back below 8 twelve minutes after the door closes (recovery 12 min). After a second
// door closing it is back at 5 but goes above 8 again at +20 and stays there until +25
// (recovery 25 min). The power goes off later and the warm position leaves the limits 7
// minutes after.
TEST(BatchQualificationOptions, RecoveryAndHoldTimesFromTheEventsFile) {
    std::vector<double> warm(200, 5.0);
    for (std::size_t k = 15; k < 32; ++k) // 02:45PM to 03:01PM: the door closes at 02:50PM
        warm[k] = 9.0;
    for (std::size_t k = 80; k < 85; ++k) // 03:50PM to 03:54PM, 20 min after 03:30PM
        warm[k] = 8.5;
    for (std::size_t k = 157; k < 200; ++k) // 05:07PM on, the power went off at 05:00PM
        warm[k] = 8.2;
    const Chamber chamber(1, 2, {std::vector<double>(200, 5.0), warm});
    const std::string events =
        chamber.dir.write("events.csv", "Time,Event,Note\r\n"
                                        "05-Nov-2003 02:40PM,door-open,\"loading, pallet 1\"\r\n"
                                        "05-Nov-2003 02:50PM,door-closed,\r\n"
                                        "05-Nov-2003 03:30PM,door-closed,second\r\n");
    const std::string out = chamber.dir.file("events-out.csv");
    const BatchRun run =
        runBatch(chamber.load("05-Nov-2003 05:49PM") +
                 std::vector<std::string>{"--set", "lowerLimitText=2", "--set", "upperLimitText=8",
                                          "--events", events, "--event",
                                          "power-off@05-Nov-2003 05:00PM", "--events-csv", out});
    ASSERT_EQ(run.exit, BATCH_OK) << run.err;
    EXPECT_EQ(readBytes(out), "Event,Time,Figure,Value,Position\r\n"
                              "door open,05-Nov-2003 02:40PM,-,-,-\r\n"
                              "door closed,05-Nov-2003 02:50PM,recovery time,12.00,-\r\n"
                              "door closed,05-Nov-2003 03:30PM,recovery time,25.00,-\r\n"
                              "power off,05-Nov-2003 05:00PM,hold time,7.00,R1C2\r\n");

    // Without limits the figures need a setting that was not given.
    const BatchRun unlimited =
        runBatch(chamber.load("05-Nov-2003 05:49PM") +
                 std::vector<std::string>{"--events", events, "--events-csv", out});
    ASSERT_EQ(unlimited.exit, BATCH_OK) << unlimited.err;
    EXPECT_NE(readBytes(out).find("door closed,05-Nov-2003 02:50PM,recovery time,-,-\r\n"),
              std::string::npos);
}

// An excluded phase that holds the warm position's hottest readings takes them out of the
// statistics: its maximum, its sample count and the qualification figures change; the events
// themselves change nothing until a phase is excluded.
TEST(BatchQualificationOptions, AnExcludedPhaseLeavesItsReadingsOutOfTheFigures) {
    std::vector<double> warm(60, 21.0);
    for (std::size_t k = 20; k < 25; ++k) // 02:50PM to 02:54PM
        warm[k] = 30.0;
    const Chamber chamber(1, 2, {std::vector<double>(60, 20.0), warm});
    const std::vector<std::string> phase = {"--event", "phase-start:Door test@05-Nov-2003 02:50PM",
                                            "--event", "phase-end:door test@05-Nov-2003 02:54PM"};
    const std::string plain = chamber.dir.file("plain.csv");
    const std::string marked = chamber.dir.file("marked.csv");
    const std::string excluded = chamber.dir.file("excluded.csv");
    const std::string qualification = chamber.dir.file("q.csv");
    const std::string finish = "05-Nov-2003 03:29PM";
    ASSERT_EQ(
        runBatch(chamber.load(finish) + std::vector<std::string>{"--statistics-csv", plain}).exit,
        BATCH_OK);
    ASSERT_EQ(runBatch(chamber.load(finish) + phase +
                       std::vector<std::string>{"--statistics-csv", marked})
                  .exit,
              BATCH_OK);
    EXPECT_EQ(readBytes(marked), readBytes(plain));

    const BatchRun run =
        runBatch(chamber.load(finish) + phase +
                 std::vector<std::string>{"--exclude-phase", " DOOR TEST ", "--statistics-csv",
                                          excluded, "--qualification-csv", qualification});
    ASSERT_EQ(run.exit, BATCH_OK) << run.err;
    const std::vector<std::string> lines = linesOf(readBytes(excluded));
    ASSERT_EQ(lines.size(), 3u);
    const std::vector<std::string> r1c2 = fieldsOf(lines[2]);
    EXPECT_EQ(r1c2[2], "55");    // samples: 60 less the 5 of the phase
    EXPECT_EQ(r1c2[5], "21.00"); // maximum
    EXPECT_EQ(figuresOf(readBytes(qualification)).at("overall variation"), "1.00");

    const BatchRun wrongName = runBatch({"--exclude-phase", " "});
    EXPECT_EQ(wrongName.exit, BATCH_USAGE);
}

TEST(BatchQualificationOptions, MalformedEventsStopTheRun) {
    const BatchRun typed = runBatch({"--event", "door-ajar@05-Nov-2003 02:50PM"});
    EXPECT_EQ(typed.exit, BATCH_USAGE);
    EXPECT_NE(typed.err.find("The event door-ajar@05-Nov-2003 02:50PM is in an incorrect format"),
              std::string::npos)
        << typed.err;

    TempDir dir;
    const std::string bad = dir.write("bad.csv", "Time,Event,Note\r\n"
                                                 "05-Nov-2003 02:40PM,door-open,\r\n"
                                                 "at some point,door-closed,\r\n");
    const std::string out = dir.file("e.csv");
    const BatchRun file = runBatch({"--events", bad, "--events-csv", out});
    EXPECT_EQ(file.exit, BATCH_FAILED);
    EXPECT_EQ(file.err, "Events: Line 3 of the events file is in an incorrect format.\n");
    EXPECT_FALSE(fs::exists(out));

    const BatchRun missing = runBatch({"--events", dir.file("missing.csv")});
    EXPECT_EQ(missing.exit, BATCH_FAILED);
    EXPECT_EQ(missing.err, "Events: The events file could not be read.\n");
}

// The events and the excluded phases go into the project file and come back with it; a later
// save of a job without events empties the section, and a job that never had events writes
// no section at all.
TEST(BatchQualificationOptions, ProjectFilesKeepTheEvents) {
    const Chamber chamber(1, 2, {std::vector<double>(60, 20.0), std::vector<double>(60, 21.0)});
    const std::string project = chamber.dir.file("with-events.ttp");
    const std::string out = chamber.dir.file("events.csv");
    ASSERT_EQ(runBatch({"--load-project", chamber.projectPath, "--event",
                        "phase-start:Empty@05-Nov-2003 02:35PM", "--event",
                        "phase-end:Empty@05-Nov-2003 02:45:30PM", "--exclude-phase", "Empty",
                        "--save-project", project})
                  .exit,
              BATCH_OK);
    const std::string saved = readBytes(project);
    EXPECT_NE(saved.find("[ZQARVemroEvents]\r\nEventCount=2\r\n"
                         "Event1=phase-start:Empty@05-Nov-2003 02:35PM\r\nNote1=\r\n"
                         "Event2=phase-end:Empty@05-Nov-2003 02:45:30PM\r\nNote2=\r\n"
                         "ExcludedPhaseCount=1\r\nExcludedPhase1=Empty\r\n"),
              std::string::npos)
        << saved;

    const BatchRun loaded = runBatch({"--load-project", project, "--load-files", "--set",
                                      "finishTimeText=05-Nov-2003 03:29PM", "--events-csv", out});
    ASSERT_EQ(loaded.exit, BATCH_OK) << loaded.err;
    EXPECT_EQ(readBytes(out), "Event,Time,Figure,Value,Position\r\n"
                              "phase start Empty,05-Nov-2003 02:35PM,-,-,-\r\n"
                              "phase end Empty,05-Nov-2003 02:45:30PM,-,-,-\r\n");

    // A job without events over the same file: the section says so.
    ASSERT_EQ(runBatch({"--load-project", chamber.projectPath, "--save-project", project}).exit,
              BATCH_OK);
    EXPECT_NE(readBytes(project).find("EventCount=0\r\nEvent1=\r\nNote1=\r\nEvent2=\r\n"),
              std::string::npos);
    ASSERT_EQ(runBatch({"--load-project", project, "--load-files", "--set",
                        "finishTimeText=05-Nov-2003 03:29PM", "--events-csv", out})
                  .exit,
              BATCH_OK);
    EXPECT_EQ(readBytes(out), "Event,Time,Figure,Value,Position\r\n");

    const std::string plain = chamber.dir.file("plain.ttp");
    ASSERT_EQ(runBatch({"--load-project", chamber.projectPath, "--save-project", plain}).exit,
              BATCH_OK);
    EXPECT_EQ(readBytes(plain).find("ZQARVemroEvents"), std::string::npos);
}
