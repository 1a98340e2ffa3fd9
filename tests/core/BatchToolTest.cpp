#include "app/BatchTool.h"
#include "support/BatchRun.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iostream>
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

// Settings of a 1 x 2 array and a singular slot, averaged over three 30-minute windows.
std::vector<std::string> averagedJob() {
    return {"--set",
            "numberofrows=1",
            "--set",
            "NumberOfColumns=2",
            "--set",
            "NumberOfSingular=1",
            "--update-layout",
            "--set",
            "startTimeText=05-Nov-2003 10:00AM",
            "--set",
            "finishTimeText=05-Nov-2003 11:15AM",
            "--set",
            "averagingIntervalText=30"};
}

std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string> &b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

} // namespace

TEST(BatchTool, UsageErrorsExitWithTwoAndTheUsageText) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"--no-such-option"},
        {"--export-csv"},
        {"--set", "NoSuchSetting=1"},
        {"--set", "NumberOfRows"},
        {"--set", "LoggersOnBoundary=maybe"},
        {"--cell", "R7C1=4711"}, // the start-up table has rows 1 to 6
        {"--cell", "R1C0=4711"},
        {"--cell", "S3=4711"},
        {"--cell", "X1=4711"},
    };
    for (const auto &arguments : cases) {
        SCOPED_TRACE(arguments.empty() ? "(none)" : arguments.back());
        const BatchRun run = runBatch(arguments);
        EXPECT_EQ(run.exit, BATCH_USAGE);
        EXPECT_NE(run.err.find("usage: zqar-vemro-batch"), std::string::npos);
        EXPECT_EQ(run.out, "");
    }
}

TEST(BatchTool, AMalformedOptionLaterInTheLineRunsNothing) {
    TempDir temp;
    const BatchRun run =
        runBatch(averagedJob() + std::vector<std::string>{"--calculate-averaged", "--export-csv",
                                                          temp.file("m.csv"), "--bogus"});
    EXPECT_EQ(run.exit, BATCH_USAGE);
    EXPECT_FALSE(fs::exists(temp.file("m.csv")));
}

TEST(BatchTool, HelpPrintsTheUsageOnTheOutput) {
    const BatchRun run = runBatch({"--help"});
    EXPECT_EQ(run.exit, BATCH_OK);
    EXPECT_EQ(run.out.rfind("usage: zqar-vemro-batch", 0), 0u);
    for (const char *option : {"--load-report FILE", "--set NAME=VALUE", "--export-csv FILE",
                               "--calculate-averaged", "--last"})
        EXPECT_NE(run.out.find(option), std::string::npos) << option;
}

TEST(BatchTool, CommandsPrintTheirStatusLinesOnce) {
    TempDir temp;
    const BatchRun run =
        runBatch(averagedJob() + std::vector<std::string>{"--calculate-averaged", "--last",
                                                          "--export-csv", temp.file("m.csv")});
    EXPECT_EQ(run.exit, BATCH_OK) << run.err;
    EXPECT_EQ(run.err, "");
    // The calculation wrote its status for every set; it is printed once, as it ended.
    EXPECT_EQ(run.out, "STATUS: 3 sets created.\n"
                       "STATUS: 3 of 3  From 05-Nov-2003 11:00AM to 05-Nov-2003 11:30AM\n"
                       "STATUS: 3 of 3  From 05-Nov-2003 11:00AM to 05-Nov-2003 11:30AM\n");
    EXPECT_EQ(readBytes(temp.file("m.csv")), ".,.,C1,C2,.\r\n"
                                             ".,-,-,-,-\r\n"
                                             "R1,-,-,-,-\r\n"
                                             ".,-,-,-,-\r\n"
                                             "S1,-\r\n");
}

TEST(BatchTool, AFailureMessageEndsTheRunWithOne) {
    TempDir temp;
    const BatchRun run =
        runBatch({"--set", "timeText=soon", "--calculate-at", "--export-csv", temp.file("m.csv")});
    EXPECT_EQ(run.exit, BATCH_FAILED);
    EXPECT_EQ(run.err, "Calculate: The date and time is in an incorrect format.\n");
    EXPECT_EQ(run.out, "");
    EXPECT_FALSE(fs::exists(temp.file("m.csv")));

    const BatchRun load = runBatch({"--load-report", temp.file("none.ttr")});
    EXPECT_EQ(load.exit, BATCH_FAILED);
    EXPECT_EQ(load.err, "Load Report: The report information could not be loaded\n");
}

TEST(BatchTool, ReportWrittenAndLoadedInOneRun) {
    TempDir temp;
    const BatchRun run =
        runBatch(averagedJob() + std::vector<std::string>{
                                     "--set", "ProjectDescription=Oven 3", "--set",
                                     "UseCommentField=N", "--cell", "R1C2=4711", "--cell", "S1=1",
                                     "--create-report", temp.file("job.ttr"), "--set",
                                     "ProjectDescription=changed", "--load-report",
                                     temp.file("job/job.ttr"), "--export-csv", temp.file("m.csv")});
    EXPECT_EQ(run.exit, BATCH_OK) << run.err;
    EXPECT_EQ(fs::file_size(temp.file("job/job.ttr")), 6000u + 3 * 4);
    EXPECT_NE(run.out.find("STATUS: 3 sets created.\n"), std::string::npos);
}

TEST(BatchTool, NumberedExportWritesEverySetAndKeepsTheCurrentOne) {
    TempDir temp;
    const BatchRun run = runBatch(
        averagedJob() + std::vector<std::string>{"--calculate-averaged", "--next", "--export-csv",
                                                 temp.file("set-%d.csv"), "--export-csv",
                                                 temp.file("current.csv")});
    EXPECT_EQ(run.exit, BATCH_OK) << run.err;
    for (int i = 1; i <= 3; ++i)
        EXPECT_TRUE(fs::exists(temp.file("set-" + std::to_string(i) + ".csv"))) << i;
    EXPECT_FALSE(fs::exists(temp.file("set-4.csv")));
    const std::string lastLine =
        "STATUS: 2 of 3  From 05-Nov-2003 10:30AM to 05-Nov-2003 11:00AM\n";
    EXPECT_EQ(run.out.substr(run.out.size() - lastLine.size()), lastLine);
}

TEST(BatchTool, OptionsCanBeAddedAndReplaced) {
    std::ostringstream out, err;
    BatchTool tool(out, err);
    int calls = 0;
    tool.addOption(
        {"--count", "N", "count",
         [&calls](BatchTool &, const std::string &argument) -> std::optional<std::string> {
             if (argument != "1")
                 return "--count takes 1";
             ++calls;
             return std::nullopt;
         }});
    EXPECT_EQ(tool.run({"--count", "1", "--count", "1"}), BATCH_OK);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(tool.run({"--count", "2"}), BATCH_USAGE);
    EXPECT_NE(err.str().find("--count takes 1"), std::string::npos);
    EXPECT_NE(tool.usage().find("--count N"), std::string::npos);
}

TEST(BatchTool, MalformedSettingsAndCellsStopTheRunBeforeAnyCommand) {
    TempDir temp;
    const std::string report = temp.file("job.ttr");
    const std::vector<std::string> bad[] = {
        {"--set", "Foo=1"},    {"--set", "LoggersOnBoundary=maybe"},
        {"--set", "NoEquals"}, {"--cell", "R1X3=a"},
        {"--cell", "S0=a"},    {"--cell", "R2C=a"},
    };
    for (const auto &tail : bad) {
        SCOPED_TRACE(tail[1]);
        const BatchRun run = runBatch(std::vector<std::string>{"--create-report", report} + tail);
        EXPECT_EQ(run.exit, BATCH_USAGE);
        EXPECT_FALSE(fs::exists(temp.file("job")));
        EXPECT_FALSE(fs::exists(report));
    }
    // A well-formed cell that the layout does not have is only known when the run gets there.
    const BatchRun late = runBatch({"--cell", "R9C9=a"});
    EXPECT_EQ(late.exit, BATCH_USAGE);
    EXPECT_NE(late.err.find("no cell R9C9"), std::string::npos);
}

TEST(BatchTool, PropertiesShowTheRightClickPopUpOnOneLine) {
    // A folder whose name holds a backslash, with two of the sample job's log files.
    TempDir temp;
    const fs::path samples =
        fs::path(__FILE__).parent_path().parent_path().parent_path() / "samples" / "data";
    const fs::path folder = temp.path() / "a\\b";
    fs::create_directory(folder);
    fs::copy_file(samples / "10232.dta", folder / "10232.dta");
    fs::copy_file(samples / "20417.dta", folder / "20417.dta");
    const std::string shown = temp.path().string() + "/a\\\\b";
    const BatchRun run =
        runBatch({"--set", "Directory=" + folder.string(), "--load-files", "--properties", "r1c2",
                  "--properties", "S2", "--properties", "R2C1"});
    ASSERT_EQ(run.exit, BATCH_OK) << run.err;
    // Load Files in comment-field mode says which files it could not place; then one line
    // per pop-up, in the order asked.
    const auto popUp = [&shown](const std::string &name, int channel) {
        return "Properties: Filename: " + shown + "/" + name +
               "\\r\\nStart Time: 02-Jun-2025 12:00AM\\r\\nEnd Time: 08-Jun-2025 11:55PM\\r\\n"
               "Sample period: 300\\r\\nChannel: " +
               std::to_string(channel) + "\\r\\nNumber of Values: 2016\\r\\n\n";
    };
    // An empty position says why it is empty.
    const std::string expected =
        popUp("10232.dta", 1) + popUp("20417.dta", 2) +
        "Properties: File not loaded.\\r\\nNo log file names this position in its comment lines.\n";
    ASSERT_GE(run.err.size(), expected.size());
    EXPECT_EQ(run.err.substr(run.err.size() - expected.size()), expected) << run.err;

    const struct {
        const char *position;
        const char *says;
    } bad[] = {{"R0C1", "--properties takes RrCc or Sn"},
               {"C1", "--properties takes RrCc or Sn"},
               {"R7C1", "no cell R7C1"},
               {"S3", "no singular slot S3"}};
    for (const auto &b : bad) {
        SCOPED_TRACE(b.position);
        const BatchRun refused = runBatch({"--properties", b.position});
        EXPECT_EQ(refused.exit, BATCH_USAGE);
        EXPECT_NE(refused.err.find(b.says), std::string::npos) << refused.err;
        EXPECT_EQ(refused.err.find("Properties:"), std::string::npos);
    }
}
// The statistics of an empty 1 x 2 array: every position listed, no figures; the settings
// come from --set and a wrong one fails the run before the file is written.
TEST(BatchTool, StatisticsCsvAndItsSettings) {
    TempDir temp;
    const std::string path = temp.file("out/stats.csv");
    const BatchRun run =
        runBatch(averagedJob() +
                 std::vector<std::string>{"--set", "lowerLimitText=2", "--set", "upperLimitText=8",
                                          "--statistics-csv", path, "--calculate-averaged",
                                          "--set-summary-csv", temp.file("sets.csv")});
    ASSERT_EQ(run.exit, BATCH_OK) << run.err;
    const std::string header =
        "Position,Logger,Samples,Minimum,Time of Minimum,Maximum,Time of Maximum,Mean,"
        "Standard Deviation,MKT,Minutes Below,Minutes Above,Excursions,Longest Excursion\r\n";
    EXPECT_EQ(readBytes(path), header + "R1C1,-,-,-,-,-,-,-,-,-,-,-,-,-\r\n"
                                        "R1C2,-,-,-,-,-,-,-,-,-,-,-,-,-\r\n"
                                        "S1,-,-,-,-,-,-,-,-,-,-,-,-,-\r\n");
    EXPECT_EQ(readBytes(temp.file("sets.csv")),
              "Set,Title,Minimum,Minimum Position,Maximum,Maximum Position,Mean,Spread\r\n"
              "1,From 05-Nov-2003 10:00AM to 05-Nov-2003 10:30AM,-,-,-,-,-,-\r\n"
              "2,From 05-Nov-2003 10:30AM to 05-Nov-2003 11:00AM,-,-,-,-,-,-\r\n"
              "3,From 05-Nov-2003 11:00AM to 05-Nov-2003 11:30AM,-,-,-,-,-,-\r\n");

    const struct {
        const char *setting;
        const char *message;
    } failures[] = {
        {"lowerLimitText=9", "Statistics: The limits are in an incorrect format.\n"},
        {"activationEnergyText=-83",
         "Statistics: The activation energy is in an incorrect format.\n"},
        // The array holds no reading: that is said before the span that does not read.
        {"startTimeText=whenever",
         "Statistics: No data is loaded: load a report or log files first.\n"},
    };
    for (const auto &failure : failures) {
        const std::string failed = temp.file("failed.csv");
        const BatchRun bad =
            runBatch(averagedJob() + std::vector<std::string>{"--set", "upperLimitText=8", "--set",
                                                              failure.setting, "--statistics-csv",
                                                              failed, "--set-summary-csv", failed});
        EXPECT_EQ(bad.exit, BATCH_FAILED);
        EXPECT_EQ(bad.err, failure.message);
        EXPECT_FALSE(fs::exists(failed));
    }
}

TEST(BatchTool, OptionsWithTwoArgumentsNeedBoth) {
    BatchTool tool(std::cout, std::cerr);
    std::vector<std::vector<std::string>> seen;
    BatchOption pair{"--pair", "A B", "two arguments", nullptr};
    pair.runArguments =
        [&seen](BatchTool &,
                const std::vector<std::string> &arguments) -> std::optional<std::string> {
        seen.push_back(arguments);
        return std::nullopt;
    };
    tool.addOption(std::move(pair));
    EXPECT_EQ(tool.run({"--pair", "x", "y", "--pair", "--help", "z"}), BATCH_OK);
    EXPECT_EQ(seen, (std::vector<std::vector<std::string>>{{"x", "y"}, {"--help", "z"}}));
    std::ostringstream quiet;
    BatchTool other(quiet, quiet);
    other.addOption(BatchOption{"--pair", "A B", "two arguments", nullptr});
    EXPECT_EQ(other.run({"--pair", "x"}), BATCH_USAGE);
    EXPECT_NE(quiet.str().find("--pair needs A B"), std::string::npos);
}
