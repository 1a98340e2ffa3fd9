// The mapping report of the sample job as a reader gets it: the text pdftotext (poppler-utils)
// reads from the PDF holds every figure of the statistics CSV written in the same run, the
// result sentence follows from that CSV's excursions, and every page has its footer with the
// page count the document really has. A report that cannot be written leaves nothing behind.

#include "app/BatchTool.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"
#include "window/MappingReportFile.h"
#include "window/QtBatchOptions.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace zqar {
namespace {

namespace fs = std::filesystem;

const fs::path SAMPLES = ZQAR_SAMPLES_DIR;

// The pages of a PDF as "pdftotext -layout" reads them (it ends each page with a form feed).
std::vector<std::string> pagesOf(const fs::path &pdf) {
    QProcess process;
    process.start("pdftotext", {"-layout", QString::fromStdString(pdf.string()), "-"});
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return {};
    const QByteArray output = process.readAllStandardOutput();
    std::vector<std::string> pages;
    std::istringstream in(std::string(output.constData(), static_cast<std::size_t>(output.size())));
    std::string page;
    while (std::getline(in, page, '\f'))
        pages.push_back(page);
    // Nothing follows the last form feed.
    if (!pages.empty() && pages.back().find_first_not_of(" \n") == std::string::npos)
        pages.pop_back();
    return pages;
}

// The fields of a CSV line; a quoted field may hold commas and doubled quotes.
std::vector<std::string> fieldsOf(const std::string &line) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"')
            fields.back() += line[++i];
        else if (c == '"')
            quoted = !quoted;
        else if (c == ',' && !quoted)
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

// The words in order on one line, with any blanks between them.
std::regex lineOf(const std::vector<std::string> &words) {
    std::string pattern;
    for (const std::string &word : words) {
        std::istringstream parts(word);
        for (std::string part; parts >> part;) {
            if (!pattern.empty())
                pattern += "[ ]+";
            for (const char c : part) {
                if (std::string("\\^$.|?*+()[]{}").find(c) != std::string::npos)
                    pattern += '\\';
                pattern += c;
            }
        }
    }
    return std::regex(pattern);
}

class MappingReport : public ::testing::Test {
protected:
    // The sample project names its data folder relative to the repository root.
    MappingReport() : previousFolder(fs::current_path()) {
        fs::current_path(SAMPLES.parent_path());
    }
    ~MappingReport() override { fs::current_path(previousFolder); }

    int run(const std::vector<std::string> &arguments) {
        BatchTool tool(out, err);
        registerDrawingOptions(tool);
        return tool.run(arguments);
    }

    fs::path previousFolder;
    testing::TempDir dir;
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(MappingReport, HoldsTheStatisticsOfTheCsvWithAFooterOnEveryPage) {
    const std::string pdf = dir.file("out/mapping.pdf");
    const std::string csv = dir.file("out/statistics.csv");
    ASSERT_EQ(
        run({"--load-report", (SAMPLES / "warehouse.ttr").string(), "--set", "lowerLimitText=15",
             "--set", "upperLimitText=25", "--statistics-csv", csv, "--mapping-report", pdf}),
        BATCH_OK)
        << err.str();
    const std::vector<std::string> pages = pagesOf(pdf);
    ASSERT_GE(pages.size(), 3u) << "pdftotext found no pages in " << pdf;
    std::string text;
    for (const std::string &page : pages)
        text += page;

    // Every position's row, field by field in the CSV's order, on one line of the table.
    std::istringstream lines(zqar::testing::fileBytes(csv));
    std::string line;
    std::getline(lines, line); // the header
    int outside = 0;
    int rows = 0;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::vector<std::string> fields = fieldsOf(line);
        ASSERT_EQ(fields.size(), 14u) << line;
        SCOPED_TRACE(fields[0]);
        EXPECT_TRUE(std::regex_search(text, lineOf(fields))) << line;
        outside += fields[12] != "-" && fields[12] != "0";
        ++rows;
    }
    EXPECT_EQ(rows, 26);
    ASSERT_GT(outside, 0) << "the sample's warm corner runs above 25";
    EXPECT_NE(text.find(std::to_string(outside) + " positions went outside the limits."),
              std::string::npos);

    // The title page states what the statistics were computed with.
    for (const std::vector<std::string> &fact : {std::vector<std::string>{"Lower limit", "15"},
                                                 {"Upper limit", "25"},
                                                 {"Start", "02-Jun-2025 12:00AM"},
                                                 {"Placed loggers", "26"}})
        EXPECT_TRUE(std::regex_search(pages.front(), lineOf(fact))) << fact[0];

    const std::string count = std::to_string(pages.size());
    for (std::size_t i = 0; i < pages.size(); ++i) {
        SCOPED_TRACE("page " + std::to_string(i + 1));
        EXPECT_NE(pages[i].find("Page " + std::to_string(i + 1) + " of " + count),
                  std::string::npos);
        EXPECT_NE(pages[i].find("Printed on: "), std::string::npos);
    }
}

// The time series draws the envelope of the 26 positions with the hot and cold spots of the
// report's statistics over it: with R1C4's warm hours left out of them, another position is the
// hot spot than the readings alone would make it.
TEST_F(MappingReport, TheTimeSeriesDrawsTheStatisticsHotAndColdSpotsOverTheEnvelope) {
    const std::string pdf = dir.file("spots.pdf");
    std::vector<std::string> arguments{"--load-report", (SAMPLES / "warehouse.ttr").string()};
    for (const char *day : {"02", "03", "04", "05", "06", "07", "08"}) {
        arguments.push_back("--exclude");
        arguments.push_back(std::string("R1C4,") + day + "-Jun-2025 08:00AM," + day +
                            "-Jun-2025 08:00PM,sun on the wall");
    }
    arguments.push_back("--mapping-report");
    arguments.push_back(pdf);
    ASSERT_EQ(run(arguments), BATCH_OK) << err.str();
    std::string text;
    for (const std::string &page : pagesOf(pdf))
        text += page;
    EXPECT_EQ(text.find("Warmest position (mean): R1C4"), std::string::npos)
        << "the exclusions no longer move the hot spot away from R1C4";

    // The time series draws the envelope of the 26 positions with the statistics' hot and cold
    // spots over it.
    const std::size_t timeSeries = text.find("\nTime Series\n");
    ASSERT_NE(timeSeries, std::string::npos);
    EXPECT_NE(text.find("Envelope (min-max)", timeSeries), std::string::npos);
    for (const auto &[result, legend] :
         {std::pair{"Warmest position", "Hot spot"}, std::pair{"Coldest position", "Cold spot"}}) {
        std::smatch spot;
        ASSERT_TRUE(std::regex_search(
            text, spot,
            std::regex(std::string(result) + " \\(mean\\): (R\\d+C\\d+|S\\d+) \\((\\S+)\\)")))
            << result;
        const std::string line = std::string(legend) + " " + spot[1].str() + " " + spot[2].str();
        EXPECT_NE(text.find(line, timeSeries), std::string::npos) << line;
    }
}

TEST_F(MappingReport, SaysWhenNoLimitsWereSetOrAllHeldOrNoSetsWereMade) {
    const std::string report = (SAMPLES / "warehouse.ttr").string();
    const std::string project = (SAMPLES / "warehouse.ttp").string();
    struct Case {
        std::vector<std::string> arguments;
        const char *said;
    };
    for (const Case &c :
         {Case{{"--load-report", report}, "No limits were set."},
          Case{
              {"--load-report", report, "--set", "lowerLimitText=10", "--set", "upperLimitText=40"},
              "All positions stayed within the limits."},
          Case{{"--load-project", project, "--load-files"}, "No sets were calculated"}}) {
        SCOPED_TRACE(c.said);
        const std::string pdf = dir.file("report.pdf");
        std::vector<std::string> arguments = c.arguments;
        arguments.insert(arguments.end(), {"--mapping-report", pdf});
        ASSERT_EQ(run(arguments), BATCH_OK) << err.str();
        std::string text;
        for (const std::string &page : pagesOf(pdf))
            text += page;
        EXPECT_NE(text.find(c.said), std::string::npos);
    }
}

// The sample job with a set point, a stable window, a door opening and closing and a phase
// left out: the Qualification section holds every figure of the qualification CSV with its
// definition and what it was computed over, and the Events section every row of the events
// CSV and what was left out. A report without them has neither section.
TEST_F(MappingReport, QualificationAndEventsSectionsHoldTheFiguresOfTheirCsvFiles) {
    const std::string report = (SAMPLES / "warehouse.ttr").string();
    const std::string pdf = dir.file("qualified.pdf");
    const std::string figures = dir.file("qualification.csv");
    const std::string events = dir.file("events.csv");
    ASSERT_EQ(run({"--load-report",
                   report,
                   "--set",
                   "lowerLimitText=15",
                   "--set",
                   "upperLimitText=25",
                   "--set",
                   "setPointText=21",
                   "--set",
                   "toleranceText=3",
                   "--set",
                   "stableStartText=03-Jun-2025 12:00AM",
                   "--set",
                   "stableFinishText=06-Jun-2025 12:00AM",
                   "--event",
                   "door-open@05-Jun-2025 05:40PM",
                   "--event",
                   "door-closed@05-Jun-2025 06:00PM",
                   "--event",
                   "phase-start:Loaded@04-Jun-2025 08:00AM",
                   "--event",
                   "phase-end:Loaded@04-Jun-2025 06:00PM",
                   "--exclude-phase",
                   "Loaded",
                   "--qualification-csv",
                   figures,
                   "--events-csv",
                   events,
                   "--mapping-report",
                   pdf}),
              BATCH_OK)
        << err.str();
    std::string text;
    for (const std::string &page : pagesOf(pdf))
        text += page;
    ASSERT_FALSE(text.empty()) << "pdftotext found no pages in " << pdf;

    const std::size_t qualification = text.find("\nQualification\n");
    const std::size_t eventsSection = text.find("\nEvents\n");
    const std::size_t timeSeries = text.find("\nTime Series\n");
    ASSERT_NE(qualification, std::string::npos);
    ASSERT_NE(eventsSection, std::string::npos);
    EXPECT_LT(qualification, eventsSection);
    EXPECT_LT(eventsSection, timeSeries);
    for (const std::vector<std::string> &fact :
         {std::vector<std::string>{"Stable window", "03-Jun-2025 12:00AM to 06-Jun-2025 12:00AM"},
          {"Reference position", "R3C2 (10240)"},
          {"Set point", "21"},
          {"Tolerance", "+/- 3"}})
        EXPECT_TRUE(std::regex_search(text, lineOf(fact))) << fact[0];

    // The figures, each with its value and, further on, its definition.
    std::istringstream figureLines(zqar::testing::fileBytes(figures));
    std::string line;
    std::getline(figureLines, line);
    int figureCount = 0;
    while (std::getline(figureLines, line) && line != "\r") {
        line.pop_back();
        const std::vector<std::string> fields = fieldsOf(line);
        ASSERT_EQ(fields.size(), 3u) << line;
        SCOPED_TRACE(fields[0]);
        const std::string value = fields[0] == "stability" ? "+/- " + fields[1] : fields[1];
        EXPECT_TRUE(std::regex_search(text, lineOf({fields[0], value}))) << line;
        const std::string definitionStart = fields[2].substr(0, fields[2].find(' ', 20));
        EXPECT_TRUE(std::regex_search(text, lineOf({fields[0], definitionStart}))) << fields[2];
        ++figureCount;
    }
    EXPECT_EQ(figureCount, 7);
    std::getline(figureLines, line); // the positions' header
    while (std::getline(figureLines, line)) {
        line.pop_back();
        EXPECT_TRUE(std::regex_search(text, lineOf(fieldsOf(line)))) << line;
    }

    std::istringstream eventLines(zqar::testing::fileBytes(events));
    std::getline(eventLines, line);
    int eventCount = 0;
    while (std::getline(eventLines, line)) {
        line.pop_back();
        EXPECT_TRUE(std::regex_search(text.substr(eventsSection), lineOf(fieldsOf(line)))) << line;
        ++eventCount;
    }
    EXPECT_EQ(eventCount, 4);
    EXPECT_TRUE(std::regex_search(
        text, lineOf({"Loaded", "04-Jun-2025 08:00AM", "04-Jun-2025 06:00PM", "Yes"})));
    EXPECT_NE(text.find("Left out of the statistics, the maps, the hot and cold spots and the "
                        "qualification figures: the readings of Loaded"),
              std::string::npos);
    // The chart marks the events.
    EXPECT_NE(text.find("door closed", timeSeries), std::string::npos);

    ASSERT_EQ(run({"--load-report", report, "--mapping-report", pdf}), BATCH_OK) << err.str();
    std::string plain;
    for (const std::string &page : pagesOf(pdf))
        plain += page;
    EXPECT_EQ(plain.find("\nQualification\n"), std::string::npos);
    EXPECT_EQ(plain.find("\nEvents\n"), std::string::npos);
    EXPECT_EQ(plain.find("door"), std::string::npos);
}

// A folder that cannot be made, and settings the statistics refuse: a message box, a failed
// run, and no file.
TEST_F(MappingReport, FailuresLeaveNoFile) {
    dir.write("blocker", "a file where a folder should be");
    const std::string report = (SAMPLES / "warehouse.ttr").string();
    EXPECT_EQ(run({"--load-report", report, "--mapping-report", dir.file("blocker/m.pdf")}),
              BATCH_FAILED);
    EXPECT_NE(err.str().find("Mapping Report: "), std::string::npos) << err.str();

    err.str("");
    const std::string pdf = dir.file("m.pdf");
    EXPECT_EQ(run({"--load-report", report, "--set", "lowerLimitText=30", "--set",
                   "upperLimitText=20", "--mapping-report", pdf}),
              BATCH_FAILED);
    EXPECT_EQ(err.str(), "Statistics: The limits are in an incorrect format.\n");
    EXPECT_FALSE(fs::exists(pdf));
    for (const auto &entry : fs::directory_iterator(dir.path()))
        EXPECT_EQ(entry.path().filename(), "blocker") << "left behind: " << entry.path();
}

TEST_F(MappingReport, ACancelAtAnyStageKeepsTheOldFile) {
    BatchTool tool(out, err);
    registerDrawingOptions(tool);
    ASSERT_EQ(tool.run({"--load-report", (SAMPLES / "warehouse.ttr").string()}), BATCH_OK);
    const std::string pdf = dir.write("m.pdf", "the old report");
    for (int step = 1; step <= 4; ++step) {
        SCOPED_TRACE(step);
        tool.host.cancelAtStep = step;
        EXPECT_EQ(writeMappingReportPdf(tool.jobView(), pdf).kind, CommandOutcome::Kind::Cancelled);
        EXPECT_EQ(testing::fileBytes(pdf), "the old report");
    }
    for (const auto &entry : fs::directory_iterator(dir.path()))
        EXPECT_EQ(entry.path().filename(), "m.pdf") << "left behind: " << entry.path();
    tool.host.cancelAtStep = 0;
    EXPECT_EQ(writeMappingReportPdf(tool.jobView(), pdf).kind, CommandOutcome::Kind::Completed);
    EXPECT_EQ(testing::fileBytes(pdf).substr(0, 5), "%PDF-");
}

// The sample job with the sample certificates, the alarm vectors' rules, a rolling window and
// an exclusion: each has its section, the figures are those of the corrected readings as the
// statistics CSV of the same run gives them, and without these inputs none of the sections is
// there.
TEST_F(MappingReport, NamesTheCalibrationTheAlarmsTheRollingMktAndTheExclusions) {
    const std::string report = (SAMPLES / "warehouse.ttr").string();
    const std::string calibration = (SAMPLES / "warehouse-calibration.csv").string();
    const std::string pdf = dir.file("audit.pdf");
    const std::string csv = dir.file("statistics.csv");
    ASSERT_EQ(run({"--load-report", report, "--calibration", calibration, "--alarm-rule",
                   "above,25,single,60", "--alarm-rule", "above,24,cumulative,600,day", "--set",
                   "mktWindowText=24", "--exclude",
                   "R1C4,02-Jun-2025 12:00PM,02-Jun-2025 06:00PM,door left open, see the log",
                   "--statistics-csv", csv, "--mapping-report", pdf}),
              BATCH_OK)
        << err.str();
    std::string text;
    for (const std::string &page : pagesOf(pdf))
        text += page;
    ASSERT_FALSE(text.empty());

    std::istringstream lines(zqar::testing::fileBytes(csv));
    std::string line;
    std::getline(lines, line);
    std::getline(lines, line); // R1C1, whose readings the certificate corrects
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    EXPECT_TRUE(std::regex_search(text, lineOf(fieldsOf(line)))) << line;

    for (const std::vector<std::string> &words : std::vector<std::vector<std::string>>{
             {"Calibration file", "warehouse-calibration.csv"},
             {"R3C2", "10240", "CAL-2025-10240", "05-Jun-2024", "05-Jun-2025", "3", "0",
              "due before the finish"},
             {"R4C3", "10245", "CAL-2025-10245", "03-Jun-2025", "03-Jun-2026", "3", "0",
              "calibrated after the start"},
             {"R5C1", "10247", "CAL-2025-10247", "14-Jan-2025", "14-Jan-2026", "2"},
             {"S1", "10255", "-", "-", "-", "0", "-", "no certificate"},
             {"20417,2", "CAL-2025-20417-2", "14-Jan-2025", "14-Jan-2026", "20", "0.03"},
             {"above,25,single,60: readings above 25 for 60 minutes without a break"},
             {"R1C4 (10234): 02-Jun-2025 12:00PM to 02-Jun-2025 06:00PM, door left open, see "
              "the log (73 readings)"},
             {"Highest 24-hour MKT:"}}) {
        SCOPED_TRACE(words.front());
        EXPECT_TRUE(std::regex_search(text, lineOf(words)));
    }
    for (const char *heading : {"Calibration", "Alarms", "Excluded readings", "alarms fired."})
        EXPECT_NE(text.find(heading), std::string::npos) << heading;

    const std::string plain = dir.file("plain.pdf");
    ASSERT_EQ(run({"--load-report", report, "--mapping-report", plain}), BATCH_OK) << err.str();
    std::string plainText;
    for (const std::string &page : pagesOf(plain))
        plainText += page;
    for (const char *absent :
         {"Calibration", "Alarm", "Excluded readings", "rolling", "-hour MKT", "Data check"})
        EXPECT_EQ(plainText.find(absent), std::string::npos) << absent;
}

// The text of the Maps section: from its heading to the next section's.
std::string mapsSection(const std::string &text) {
    const std::size_t start = text.find("\nMaps\n");
    const std::size_t end = text.find("\nSets with the Highest", start);
    return start == std::string::npos ? std::string() : text.substr(start, end - start);
}

// The part of the Maps section from one map's title to the next one's, or to the end.
std::string mapOf(const std::string &maps, const std::string &title) {
    const std::size_t start = maps.find(title);
    if (start == std::string::npos)
        return {};
    std::size_t end = std::string::npos;
    for (const char *next : {"\nMean from", "\nMinimum from", "\nMaximum from"}) {
        const std::size_t at = maps.find(next, start + 1);
        if (at != std::string::npos)
            end = std::min(end, at);
    }
    return maps.substr(start, end == std::string::npos ? end : end - start);
}

// The report's text without its footers, which carry the time of printing.
std::string withoutFooters(const std::string &text) {
    std::istringstream in(text);
    std::string kept;
    for (std::string line; std::getline(in, line);)
        if (line.find("Printed on:") == std::string::npos)
            kept += line + "\n";
    return kept;
}

// Each map's bands cover its own figures in steps of the contour spacing. In the sample the
// means take 13 quarter-degree bands, which fit one column of boxes beside a map; the maxima
// take 25, which do not, and get a colour bar whose ticks run over them. Bands of a degree
// fit as boxes in every map.
TEST_F(MappingReport, MapsWithManyBandsCarryAColourBarAndFewBandsTheirBoxes) {
    const std::string report = (SAMPLES / "warehouse.ttr").string();
    const std::string crowded = dir.file("crowded.pdf");
    ASSERT_EQ(run({"--load-report", report, "--mapping-report", crowded}), BATCH_OK) << err.str();
    std::string text;
    for (const std::string &page : pagesOf(crowded))
        text += page;
    const std::string maps = mapsSection(text);
    ASSERT_FALSE(maps.empty());
    const std::string means = mapOf(maps, "Mean from");
    for (const char *range : {"20.00 - 20.25", "23.00 - 23.25"})
        EXPECT_NE(means.find(range), std::string::npos) << range << " in\n" << means;
    const std::string bar = mapOf(maps, "Maximum from");
    ASSERT_FALSE(bar.empty());
    EXPECT_EQ(bar.find(" - "), std::string::npos) << "no band boxes:\n" << bar;
    for (const char *tick : {"21.25", "27.25"})
        EXPECT_TRUE(std::regex_search(bar, std::regex(std::string("(^|[ \n])") + tick + "\n")))
            << tick;

    const std::string fitting = dir.file("fitting.pdf");
    ASSERT_EQ(run({"--load-report", report, "--set", "contourSpacingText=1", "--mapping-report",
                   fitting}),
              BATCH_OK)
        << err.str();
    text.clear();
    for (const std::string &page : pagesOf(fitting))
        text += page;
    const std::string boxes = mapsSection(text);
    for (const char *range : {"17.00 - 18.00", "27.00 - 28.00"})
        EXPECT_NE(boxes.find(range), std::string::npos) << range;
}

// The Graph Options zoomed to a range the study never reached would draw every map in one
// colour: the maps keep the bands of their own figures, the same as without the zoom.
TEST_F(MappingReport, MapsFollowTheirFiguresNotTheGraphOptionsRange) {
    const std::string report = (SAMPLES / "warehouse.ttr").string();
    auto mapsOfReport = [&](const std::vector<std::string> &settings) {
        std::vector<std::string> arguments = {"--load-report", report};
        arguments.insert(arguments.end(), settings.begin(), settings.end());
        const std::string pdf = dir.file("maps.pdf");
        arguments.insert(arguments.end(), {"--mapping-report", pdf});
        EXPECT_EQ(run(arguments), BATCH_OK) << err.str();
        std::string text;
        for (const std::string &page : pagesOf(pdf))
            text += page;
        return withoutFooters(mapsSection(text));
    };
    const std::string plain = mapsOfReport({});
    ASSERT_FALSE(plain.empty());
    const std::string zoomed =
        mapsOfReport({"--set", "minimumTemperatureText=30", "--set", "maximumTemperatureText=31"});
    EXPECT_EQ(zoomed.find("30.00"), std::string::npos) << zoomed;
    EXPECT_EQ(zoomed, plain);
}

// A report over no readings, or over a span that runs backwards, is refused and leaves no file.
TEST_F(MappingReport, IsRefusedWithoutDataOrWithTheStartAfterTheFinish) {
    const std::string pdf = dir.file("m.pdf");
    EXPECT_EQ(run({"--mapping-report", pdf}), BATCH_FAILED);
    EXPECT_EQ(err.str(), "Mapping Report: No data is loaded: load a report or log files first.\n");
    EXPECT_FALSE(fs::exists(pdf));

    err.str("");
    const std::string report = (SAMPLES / "warehouse.ttr").string();
    EXPECT_EQ(run({"--load-report", report, "--set", "startTimeText=05-Jun-2025 06:00AM", "--set",
                   "finishTimeText=04-Jun-2025 06:00AM", "--mapping-report", pdf}),
              BATCH_FAILED);
    EXPECT_EQ(err.str(), "Mapping Report: The Start Time lies after the Finish Time.\n");
    EXPECT_FALSE(fs::exists(pdf));

    // One instant is a span: the report is written.
    err.str("");
    EXPECT_EQ(run({"--load-report", report, "--set", "startTimeText=05-Jun-2025 06:00AM", "--set",
                   "finishTimeText=05-Jun-2025 06:00AM", "--mapping-report", pdf}),
              BATCH_OK)
        << err.str();
    EXPECT_TRUE(fs::exists(pdf));
}

// A generated study of 5 x 5 loggers that all run above the upper limit: the result names the
// first twenty and counts the rest, and the statistics table lists all of them.
TEST_F(MappingReport, ResultNamesTwentyPositionsOutsideTheLimits) {
    const std::string project = "[ZQARVemro]\r\nDirectory=" + dir.file("data") +
                                "\r\nNumberOfRows=5\r\nNumberOfColumns=5\r\nRowSpacing=1\r\n"
                                "ColumnSpacing=1\r\nNumberOfSingular=0\r\nUseCommentField=Y\r\n"
                                "LoggersOnBoundary=N\r\n";
    dir.write("study.ttp", project);
    fs::create_directories(dir.path() / "data");
    for (int row = 1; row <= 5; ++row)
        for (int col = 1; col <= 5; ++col) {
            zqar::testing::DtaFile log;
            log.name = std::to_string(500 + row * 10 + col);
            log.comments[1] = "R" + std::to_string(row) + "C" + std::to_string(col);
            log.samples({30.0 + row * 0.1, 30.0 + row * 0.1, 30.0 + row * 0.1});
            dir.write("data/" + log.name + ".dta", log.text());
        }
    const std::string pdf = dir.file("outside.pdf");
    ASSERT_EQ(run({"--load-project", dir.file("study.ttp"), "--load-files", "--set",
                   "upperLimitText=25", "--mapping-report", pdf}),
              BATCH_OK)
        << err.str();
    std::string text;
    for (const std::string &page : pagesOf(pdf))
        text += page;
    EXPECT_NE(text.find("25 positions went outside the limits."), std::string::npos) << text;
    std::string named = "Outside the limits: R1C1";
    for (int i = 1; i < 20; ++i)
        named += ", R" + std::to_string(i / 5 + 1) + "C" + std::to_string(i % 5 + 1);
    named += " and 5 more";
    std::string joined = text;
    std::replace(joined.begin(), joined.end(), '\n', ' ');
    joined = std::regex_replace(joined, std::regex(" +"), " ");
    EXPECT_NE(joined.find(named), std::string::npos) << named;
    for (const char *last : {"R5C1", "R5C5"})
        EXPECT_TRUE(std::regex_search(
            text, lineOf({last, std::to_string(550 + (last[3] - '0')), "3", "30.50"})))
            << last;
}

} // namespace
} // namespace zqar
