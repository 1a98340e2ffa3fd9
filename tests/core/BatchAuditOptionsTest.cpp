// The calibration, alarm, rolling MKT, data check and exclusion options end to end: log files
// and a project written into a temp folder, the batch tool run over them, and the CSV files it
// writes read back.

#include "app/BatchTool.h"
#include "support/BatchRun.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using namespace zqar;
using namespace zqar::testing;

namespace {

namespace fs = std::filesystem;

std::string bytesOf(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The lines of a CSV file without their line ends.
std::vector<std::string> linesOf(const std::string &path) {
    std::vector<std::string> lines;
    std::istringstream in(bytesOf(path));
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// A field of a line without quoted commas.
std::string fieldOf(const std::string &line, std::size_t index) {
    std::istringstream in(line);
    std::string field;
    for (std::size_t i = 0; i <= index; ++i)
        std::getline(in, field, ',');
    return field;
}

constexpr std::size_t SAMPLES_FIELD = 2;
constexpr std::size_t MEAN_FIELD = 7;
constexpr std::size_t MKT_FIELD = 9;

// A data folder of log files (each starting 05-Nov-2003 02:30PM) and a project placing them by
// serial number in one row of cells and one singular slot.
class Study {
public:
    Study &log(const std::string &name, const std::string &periodSeconds,
               std::vector<std::string> samples) {
        DtaFile dta;
        dta.name = name;
        dta.period = periodSeconds;
        for (std::size_t i = 0; i < samples.size(); ++i)
            dta.sampleLines.push_back(std::to_string(i + 1) + " " + samples[i]);
        fs::create_directories(dir.path() / "data");
        std::ofstream(dir.path() / "data" / (name + ".dta"), std::ios::binary) << dta.text();
        return *this;
    }

    // The cells hold the names given, the singular slot the last one.
    std::string project(const std::vector<std::string> &cells, const std::string &singular) {
        std::string text = "[ZQARVemro]\r\nDirectory=" + (dir.path() / "data").string() +
                           "\r\nNumberOfRows=1\r\nNumberOfColumns=" + std::to_string(cells.size()) +
                           "\r\nNumberOfSingular=1\r\nUseCommentField=N\r\n";
        for (std::size_t c = 0; c < cells.size(); ++c)
            text += "R1C" + std::to_string(c + 1) + "=" + cells[c] + "\r\n";
        text += "S0=" + singular + "\r\n";
        return dir.write("job.ttp", text);
    }

    TempDir dir;
};

const std::string CALIBRATION_HEADER = "Logger,Certificate,Calibrated,Due,Reading,Correction\r\n";

// Readings of 28.50 on both loggers; only A1 has a certificate.
class CalibratedStudy : public ::testing::Test {
protected:
    CalibratedStudy() {
        study.log("A1", "60", {"28.50", "28.50", "28.50", "28.50"})
            .log("S9", "60", {"28.50", "28.50", "28.50", "28.50"});
        project = study.project({"A1"}, "S9");
        calibration = study.dir.write(
            "cal.csv", CALIBRATION_HEADER + "A1,C-1,01-Jan-2003,31-Dec-2004,20.16,-0.03\r\n"
                                            "A1,C-1,01-Jan-2003,31-Dec-2004,39.88,-0.06\r\n");
    }
    std::string file(const std::string &name) const { return study.dir.file(name); }

    Study study;
    std::string project;
    std::string calibration;
};

TEST_F(CalibratedStudy, FiguresUseTheCorrectedReadingsAndTheStatusListsEveryLogger) {
    const BatchRun run = runBatch({"--load-project", project, "--load-files", "--calibration",
                                   calibration, "--statistics-csv", file("stats.csv"),
                                   "--calibration-csv", file("calibration.csv"),
                                   "--calculate-averaged", "--export-csv", file("set%d.csv")});
    ASSERT_EQ(run.exit, BATCH_OK) << run.err;
    // 28.50 + c(28.50) with c = -0.06 * 8.34 / 19.72 + -0.03 * 11.38 / 19.72 = -0.0427.
    const std::vector<std::string> stats = linesOf(file("stats.csv"));
    ASSERT_GE(stats.size(), 3u);
    EXPECT_EQ(fieldOf(stats[1], MEAN_FIELD), "28.46") << stats[1];
    EXPECT_EQ(fieldOf(stats[2], MEAN_FIELD), "28.50") << "S9 has no certificate: " << stats[2];
    EXPECT_NE(bytesOf(file("set1.csv")).find("28.46"), std::string::npos);

    EXPECT_EQ(linesOf(file("calibration.csv")),
              (std::vector<std::string>{
                  "Position,Logger,Certificate,Calibrated,Due,Points,Readings Outside "
                  "Range,Status",
                  "R1C1,A1,C-1,01-Jan-2003,31-Dec-2004,2,0,ok", "S1,S9,-,-,-,0,-,no certificate"}));
}

// A bad row refuses the whole file with its line; the table in use stays, and the run ends.
TEST_F(CalibratedStudy, ARefusedFileKeepsTheTableInUse) {
    const std::string bad = study.dir.write(
        "bad.csv", CALIBRATION_HEADER + "A1,C-2,01-Jan-2003,31-Dec-2004,20,0.5\r\n"
                                        "S9,C-3,31-Feb-2003,31-Dec-2004,20,0.5\r\n");
    std::ostringstream out;
    std::ostringstream err;
    BatchTool tool(out, err);
    ASSERT_EQ(tool.run({"--load-project", project, "--load-files", "--calibration", calibration}),
              BATCH_OK)
        << err.str();
    EXPECT_EQ(tool.run({"--calibration", bad, "--statistics-csv", file("never.csv")}),
              BATCH_FAILED);
    EXPECT_NE(err.str().find("Calibration: Line 3: 31-Feb-2003 is not a date"), std::string::npos)
        << err.str();
    EXPECT_FALSE(fs::exists(file("never.csv")));
    ASSERT_EQ(tool.run({"--statistics-csv", file("stats.csv")}), BATCH_OK) << err.str();
    const std::vector<std::string> stats = linesOf(file("stats.csv"));
    ASSERT_GE(stats.size(), 3u);
    EXPECT_EQ(fieldOf(stats[1], MEAN_FIELD), "28.46");
    EXPECT_EQ(fieldOf(stats[2], MEAN_FIELD), "28.50");

    EXPECT_EQ(runBatch({"--calibration", file("missing.csv")}).exit, BATCH_FAILED);
}

// Corrections of 0 give the readings themselves: every figure and set comes out as without a
// table, byte for byte.
TEST_F(CalibratedStudy, ZeroCorrectionsChangeNoByte) {
    const std::string zero =
        study.dir.write("zero.csv", CALIBRATION_HEADER + "A1,Z,01-Jan-2003,31-Dec-2004,20,0\r\n"
                                                         "S9,Z,01-Jan-2003,31-Dec-2004,20,0\r\n");
    const std::vector<std::string> common = {"--load-project", project, "--load-files",
                                             "--calculate-averaged"};
    std::vector<std::string> plain = common;
    for (const char *more : {"--statistics-csv", "plain.csv", "--export-csv", "plain%d.csv"})
        plain.push_back(more[0] == '-' ? more : file(more));
    std::vector<std::string> corrected = {"--calibration", zero};
    corrected.insert(corrected.begin(), common.begin(), common.end());
    for (const char *more :
         {"--calculate-averaged", "--statistics-csv", "zero.csv", "--export-csv", "zero%d.csv"})
        corrected.push_back(more[0] == '-' ? more : file(more));
    ASSERT_EQ(runBatch(plain).exit, BATCH_OK);
    ASSERT_EQ(runBatch(corrected).exit, BATCH_OK);
    EXPECT_EQ(bytesOf(file("zero.csv")), bytesOf(file("plain.csv")));
    EXPECT_EQ(bytesOf(file("zero1.csv")), bytesOf(file("plain1.csv")));
    EXPECT_FALSE(bytesOf(file("plain1.csv")).empty());
}

// The two alarm vectors, one logger each, with both rules: readings every 10 minutes from
// 02:30PM.
TEST(BatchAuditOptions, AlarmRulesFireAsTheVectorsSay) {
    Study study;
    study.log("V1", "600", {"1", "9", "9", "9", "9", "9", "9", "9", "9"})
        .log("V2", "600", {"9", "9", "9", "9", "1", "9", "9", "9", "9"})
        .log("S9", "600", {"1", "1", "1", "1", "1", "1", "1", "1", "1"});
    const std::string csv = study.dir.file("alarms.csv");
    const BatchRun run =
        runBatch({"--load-project", study.project({"V1", "V2"}, "S9"), "--load-files",
                  "--alarm-rule", "above,8,single,60", "--alarm-rule",
                  "ABOVE, 8, cumulative, 60, day", "--alarms-csv", csv});
    ASSERT_EQ(run.exit, BATCH_OK) << run.err;
    EXPECT_EQ(
        linesOf(csv),
        (std::vector<std::string>{
            "Position,Logger,Rule,Day,First Beyond,Trigger,Minutes Beyond,Peak,Time of Peak,"
            "Over 24 Hours",
            // 80 minutes from the first 9, triggered at the sixth.
            R"(R1C1,V1,"above,8,single,60",-,05-Nov-2003 02:40PM,05-Nov-2003 03:30PM,80.0,9.00,)"
            "05-Nov-2003 02:40PM,No",
            R"(R1C1,V1,"ABOVE, 8, cumulative, 60, day",05-Nov-2003,05-Nov-2003 02:40PM,)"
            "05-Nov-2003 03:30PM,80.0,9.00,05-Nov-2003 02:40PM,No",
            // Two 40-minute runs: the second run's second reading.
            R"(R1C2,V2,"ABOVE, 8, cumulative, 60, day",05-Nov-2003,05-Nov-2003 02:30PM,)"
            "05-Nov-2003 03:30PM,80.0,9.00,05-Nov-2003 02:30PM,No"}));

    const BatchRun wrong = runBatch({"--alarm-rule", "above,8,single"});
    EXPECT_EQ(wrong.exit, BATCH_USAGE);
    EXPECT_NE(wrong.err.find("above,8,single is not an alarm rule"), std::string::npos);
}

// With the window as long as the span the one window is the span: its MKT is the statistics'.
TEST(BatchAuditOptions, RollingMktOverTheWholeSpanIsTheStatisticsMkt) {
    Study study;
    study.log("A1", "900", {"20", "22", "25", "30", "28", "21", "19", "24"})
        .log("S9", "900", {"5", "5", "5", "5", "5", "5", "5", "5"});
    const std::string rolling = study.dir.file("rolling.csv");
    const std::string stats = study.dir.file("stats.csv");
    const BatchRun run =
        runBatch({"--load-project", study.project({"A1"}, "S9"), "--load-files", "--set",
                  "mktWindowText=2", "--rolling-mkt-csv", rolling, "--statistics-csv", stats});
    ASSERT_EQ(run.exit, BATCH_OK) << run.err;
    const std::vector<std::string> windows = linesOf(rolling);
    const std::vector<std::string> figures = linesOf(stats);
    ASSERT_EQ(windows.size(), 3u);
    ASSERT_EQ(figures.size(), 3u);
    EXPECT_EQ(windows[0], "Position,Logger,Window Hours,Highest MKT,Window Start,Window End");
    EXPECT_EQ(windows[1], "R1C1,A1,2," + fieldOf(figures[1], MKT_FIELD) +
                              ",05-Nov-2003 02:30PM,05-Nov-2003 04:30PM");
    // 10000 / -ln(mean of exp(-10000 / (x + 273.15))) - 273.15 over the eight readings.
    EXPECT_EQ(fieldOf(figures[1], MKT_FIELD), "24.36") << figures[1];

    const BatchRun none = runBatch({"--load-project", study.project({"A1"}, "S9"), "--load-files",
                                    "--rolling-mkt-csv", rolling + "2"});
    EXPECT_EQ(none.exit, BATCH_FAILED);
    EXPECT_NE(none.err.find("Statistics: The MKT window must be"), std::string::npos) << none.err;
}

// A sample line without a number, an error code and the jumps around them, with the plausible
// settings through --set.
TEST(BatchAuditOptions, DataCheckListsTheSuspectsOfEachLogger) {
    Study study;
    study.log("A1", "60", {"20.0", "x", "9999.5", "20.5"})
        .log("S9", "60", {"20.0", "20.1", "20.2", "20.3"});
    const std::string project = study.project({"A1"}, "S9");
    const std::string csv = study.dir.file("check.csv");
    const BatchRun run = runBatch({"--load-project", project, "--load-files", "--data-check-csv",
                                   csv, "--properties", "R1C1"});
    ASSERT_EQ(run.exit, BATCH_OK) << run.err;
    EXPECT_EQ(linesOf(csv),
              (std::vector<std::string>{"Position,Logger,Check,Count,First Time,Value",
                                        "R1C1,A1,not a number,1,05-Nov-2003 02:31PM,0.00",
                                        "R1C1,A1,above plausible,1,05-Nov-2003 02:32PM,9999.50",
                                        "R1C1,A1,jump,3,05-Nov-2003 02:31PM,-20.00"}));
    // The properties pop-up lists them under the file's facts.
    EXPECT_NE(run.err.find("Data check:\\r\\nnot a number: 1, first at 05-Nov-2003 02:31PM"),
              std::string::npos)
        << run.err;

    const BatchRun wider =
        runBatch({"--load-project", project, "--load-files", "--set", "plausibleHighText=10000",
                  "--set", "plausibleJumpText=10000", "--data-check-csv", csv});
    ASSERT_EQ(wider.exit, BATCH_OK) << wider.err;
    EXPECT_EQ(linesOf(csv).size(), 2u) << "only the sample that was no number";

    const BatchRun wrong = runBatch({"--load-project", project, "--load-files", "--set",
                                     "plausibleLowText=200", "--data-check-csv", csv});
    EXPECT_EQ(wrong.exit, BATCH_FAILED);
    EXPECT_NE(wrong.err.find("Data Check: The plausible range must be"), std::string::npos);
}

TEST(BatchAuditOptions, AnExclusionTakesReadingsOutOfTheStatisticsOnly) {
    Study study;
    study.log("A1", "60", {"20", "40", "40", "20"}).log("S9", "60", {"5", "5", "5", "5"});
    const std::string project = study.project({"A1"}, "S9");
    const std::string stats = study.dir.file("stats.csv");
    const BatchRun run = runBatch(
        {"--load-project", project, "--load-files", "--exclude",
         "R1C1,05-Nov-2003 02:31PM,05-Nov-2003 02:32PM,probe touched the wall, see the log",
         "--statistics-csv", stats, "--calculate-at", "--export-csv", study.dir.file("at.csv")});
    ASSERT_EQ(run.exit, BATCH_OK) << run.err;
    const std::vector<std::string> figures = linesOf(stats);
    ASSERT_EQ(figures.size(), 3u);
    EXPECT_EQ(fieldOf(figures[1], SAMPLES_FIELD), "2");
    EXPECT_EQ(fieldOf(figures[1], MEAN_FIELD), "20.00");
    EXPECT_EQ(fieldOf(figures[2], SAMPLES_FIELD), "4");

    EXPECT_EQ(runBatch({"--exclude", "R1C1,05-Nov-2003 02:32PM,05-Nov-2003 02:31PM,late"}).exit,
              BATCH_USAGE);
    EXPECT_EQ(runBatch({"--exclude", "R1C1,05-Nov-2003 02:31PM"}).exit, BATCH_USAGE);
    const BatchRun empty = runBatch({"--load-project", project, "--load-files", "--exclude",
                                     "R1C2,05-Nov-2003 02:31PM,05-Nov-2003 02:32PM,none there"});
    EXPECT_EQ(empty.exit, BATCH_FAILED);
    EXPECT_NE(empty.err.find("No logger is placed"), std::string::npos) << empty.err;
}

} // namespace
