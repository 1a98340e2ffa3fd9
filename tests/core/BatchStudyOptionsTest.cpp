// The probe suggestion, the map check and the comparison with another report as the batch tool
// runs them on the sample report: the files they write, what the job keeps for the mapping
// report, and the mapping report's sections that appear only when asked for.

#include "core/data/reportFile.h"
#include "core/job/Job.h"
#include "pages/presentation/MappingReport.h"
#include "platform/memory/RecordingContext.h"

#include "support/BatchRun.h"
#include "support/PageHarness.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace zqar {
namespace {

namespace fs = std::filesystem;
using testing::runBatch;

fs::path sampleReport() {
    return fs::path(__FILE__).parent_path().parent_path().parent_path() / "samples" /
           "warehouse.ttr";
}

std::string bytesOf(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
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

// The blocks of a CSV file (separated by an empty line), each a list of rows of fields, the
// header first.
std::vector<std::vector<std::vector<std::string>>> blocksOf(const std::string &path) {
    std::vector<std::vector<std::vector<std::string>>> blocks(1);
    std::istringstream in(bytesOf(path));
    std::string line;
    while (std::getline(in, line)) {
        EXPECT_FALSE(line.empty() || line.back() != '\r') << "every line ends in CR LF";
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            blocks.emplace_back();
        else
            blocks.back().push_back(fieldsOf(line));
    }
    return blocks;
}

// The comparison CSV as "position statistic" -> delta, and the spots' rows.
struct Comparison {
    std::map<std::string, std::string> deltas;
    std::vector<std::vector<std::string>> spots;
};

Comparison readComparison(const std::string &path) {
    const auto blocks = blocksOf(path);
    Comparison comparison;
    EXPECT_EQ(blocks.size(), 2u);
    if (blocks.size() != 2 || blocks[0].empty() || blocks[1].empty())
        return comparison;
    EXPECT_EQ(blocks[0][0], (std::vector<std::string>{"Position", "Statistic", "A", "B", "Delta"}));
    for (std::size_t i = 1; i < blocks[0].size(); ++i) {
        const std::vector<std::string> &row = blocks[0][i];
        EXPECT_EQ(row.size(), 5u);
        if (row.size() == 5)
            comparison.deltas[row[0] + " " + row[1]] = row[4];
    }
    EXPECT_EQ(blocks[1][0],
              (std::vector<std::string>{"Spot", "A Position", "B Position", "Persistent"}));
    comparison.spots.assign(blocks[1].begin() + 1, blocks[1].end());
    return comparison;
}

// The sample report with every reading one degree warmer, written by the report writer.
std::string warmerCopy(const testing::TempDir &dir) {
    ReportFileRead read = readReportFile(sampleReport().string());
    EXPECT_TRUE(read.contents.has_value());
    if (!read.contents)
        return {};
    for (const std::unique_ptr<LogFile> &record : read.contents->records)
        if (record)
            for (double &value : record->values)
                if (value != NO_VALUE)
                    value += 1.0;
    const std::string path = dir.file("warmer.ttr");
    std::ofstream(path, std::ios::binary) << writeReport(*read.contents);
    return path;
}

const std::vector<std::string> LIMITS = {"--set", "lowerLimitText=15", "--set",
                                         "upperLimitText=25"};

std::vector<std::string> withSample(std::vector<std::string> options) {
    std::vector<std::string> arguments{"--load-report", sampleReport().string()};
    arguments.insert(arguments.end(), LIMITS.begin(), LIMITS.end());
    arguments.insert(arguments.end(), options.begin(), options.end());
    return arguments;
}

TEST(BatchStudyOptions, AJobComparedWithItselfDiffersNowhereAndKeepsEverySpot) {
    testing::TempDir dir;
    const auto run =
        runBatch(withSample({"--compare-report", sampleReport().string(), dir.file("self.csv")}));
    ASSERT_EQ(run.exit, BATCH_OK) << run.err;
    const Comparison comparison = readComparison(dir.file("self.csv"));
    // 26 placed positions, 12 statistics each; with both limits set every figure exists.
    EXPECT_EQ(comparison.deltas.size(), 26u * 12u);
    for (const auto &[key, delta] : comparison.deltas) {
        SCOPED_TRACE(key);
        EXPECT_TRUE(delta == "0" || delta == "0.0" || delta == "0.00") << delta;
    }
    ASSERT_EQ(comparison.spots.size(), 2u);
    for (const std::vector<std::string> &spot : comparison.spots) {
        ASSERT_EQ(spot.size(), 4u);
        EXPECT_EQ(spot[1], spot[2]);
        EXPECT_EQ(spot[3], "Yes");
    }
}

TEST(BatchStudyOptions, ACopyOneDegreeWarmerMovesTheLevelsByOneAndNotTheSpread) {
    testing::TempDir dir;
    const std::string warmer = warmerCopy(dir);
    const auto run = runBatch(withSample({"--compare-report", warmer, dir.file("warmer.csv")}));
    ASSERT_EQ(run.exit, BATCH_OK) << run.err;
    const Comparison comparison = readComparison(dir.file("warmer.csv"));
    std::set<std::string> positions;
    for (const auto &[key, delta] : comparison.deltas)
        positions.insert(key.substr(0, key.find(' ')));
    ASSERT_EQ(positions.size(), 26u);
    for (const std::string &position : positions) {
        SCOPED_TRACE(position);
        for (const char *level : {"Mean", "Minimum", "Maximum"})
            EXPECT_EQ(comparison.deltas.at(position + " " + level), "1.00") << level;
        EXPECT_EQ(comparison.deltas.at(position + " Standard Deviation"), "0.00");
        EXPECT_EQ(comparison.deltas.at(position + " Samples"), "0");
        EXPECT_EQ(comparison.deltas.at(position + " Time of Minimum"), "0.0");
    }
    for (const std::vector<std::string> &spot : comparison.spots)
        EXPECT_EQ(spot.back(), "Yes");
}

TEST(BatchStudyOptions, AReportThatCannotBeComparedEndsTheRunWithItsMessage) {
    testing::TempDir dir;
    const auto missing =
        runBatch(withSample({"--compare-report", dir.file("none.ttr"), dir.file("c.csv")}));
    EXPECT_EQ(missing.exit, BATCH_FAILED);
    EXPECT_NE(missing.err.find("Compare With Report: The report information could not be loaded"),
              std::string::npos)
        << missing.err;
    const std::string junk = dir.write("junk.ttr", "not a report");
    const auto bad = runBatch(withSample({"--compare-report", junk, dir.file("c.csv")}));
    EXPECT_EQ(bad.exit, BATCH_FAILED);
    EXPECT_NE(bad.err.find("Compare With Report: "), std::string::npos) << bad.err;
    EXPECT_FALSE(fs::exists(dir.file("c.csv")));
}

TEST(BatchStudyOptions, SuggestedProbesStartAtTheExtremesAndTheirFitOnlyImproves) {
    // Over the averaged sets, and over the qualification's instants once a reference is set:
    // the same columns either way.
    for (const std::vector<std::string> &reference :
         {std::vector<std::string>{}, {"--set", "referencePositionText=R2C3"}}) {
        SCOPED_TRACE(reference.empty() ? "no reference" : reference[1]);
        testing::TempDir dir;
        std::vector<std::string> options = reference;
        options.insert(options.end(), {"--suggest-probes", "5", dir.file("probes.csv")});
        const auto run = runBatch(withSample(options));
        ASSERT_EQ(run.exit, BATCH_OK) << run.err;
        const auto blocks = blocksOf(dir.file("probes.csv"));
        ASSERT_EQ(blocks.size(), 1u);
        const auto &rows = blocks[0];
        ASSERT_EQ(rows.size(), 6u);
        EXPECT_EQ(rows[0], fieldsOf("Rank,Position,Logger,Reason,RMS After,Largest Residual,"
                                    "At Position,At Time"));
        // The extremes come first, each position named once, then the fit.
        std::set<std::string> named;
        double previous = 1e9;
        bool fitting = false;
        for (std::size_t rank = 1; rank < rows.size(); ++rank) {
            SCOPED_TRACE(rank);
            ASSERT_EQ(rows[rank].size(), 8u);
            EXPECT_EQ(rows[rank][0], std::to_string(rank));
            EXPECT_TRUE(named.insert(rows[rank][1]).second);
            const std::string &reason = rows[rank][3];
            if (reason == "best next fit")
                fitting = true;
            else
                EXPECT_FALSE(fitting) << reason << " after a fitted probe";
            const double rms = std::stod(rows[rank][4]);
            EXPECT_LE(rms, previous);
            previous = rms;
        }
        EXPECT_EQ(rows[1][3], "highest reading");
        EXPECT_TRUE(fitting);
    }
}

TEST(BatchStudyOptions, ArgumentsAreCheckedBeforeAnythingRuns) {
    testing::TempDir dir;
    for (const char *count : {"0", "-1", "five", "2.5", ""}) {
        SCOPED_TRACE(count);
        const auto run = runBatch(withSample({"--suggest-probes", count, dir.file("p.csv")}));
        EXPECT_EQ(run.exit, BATCH_USAGE);
    }
    EXPECT_EQ(runBatch({"--compare-report", "only-one.ttr"}).exit, BATCH_USAGE);
    EXPECT_TRUE(fs::is_empty(dir.path()));
}

TEST(BatchStudyOptions, MapCheckCsvHasARowPerSetThenPerPlacedCell) {
    testing::TempDir dir;
    const auto run = runBatch(withSample({"--map-check-csv", dir.file("check.csv")}));
    ASSERT_EQ(run.exit, BATCH_OK) << run.err;
    const auto blocks = blocksOf(dir.file("check.csv"));
    ASSERT_EQ(blocks.size(), 2u);
    // The report's averaged calculation makes 336 sets; 24 cells hold a logger.
    EXPECT_EQ(blocks[0].size(), 1u + 336u);
    EXPECT_EQ(blocks[1].size(), 1u + 24u);
    EXPECT_EQ(blocks[1][0].front(), "Position");
}

// The mapping report drawn on a recording printer: its headings and paragraphs are texts.
class StudyReportTest : public testing::PageTest {
protected:
    void SetUp() override {
        ASSERT_EQ(window.loadReport(sampleReport().string()).kind, CommandOutcome::Kind::Completed);
        printer.setDeviceCap(platform::HORZRES, 2480);
        printer.setDeviceCap(platform::VERTRES, 3508);
        printer.setDeviceCap(platform::HORZSIZE, 210);
        printer.setDeviceCap(platform::LOGPIXELSX, 300);
        printer.setDeviceCap(platform::LOGPIXELSY, 300);
    }
    CommandOutcome print() {
        printer.calls.clear();
        return printMappingReport(window.job, window.settings(), host, printer, 45000.0,
                                  window.manifestSettingsText());
    }
    bool printed(const std::string &text) const {
        const auto texts = printer.callsOf(platform::CallKind::Text);
        return std::any_of(texts.begin(), texts.end(), [&](const platform::RecordedCall &call) {
            return call.text.find(text) != std::string::npos;
        });
    }
    platform::RecordingContext printer;
};

TEST_F(StudyReportTest, ProbesAndTheMapCheckArePrintedOnlyOnceAskedFor) {
    ASSERT_EQ(print().kind, CommandOutcome::Kind::Completed);
    const std::size_t plainCalls = printer.calls.size();
    EXPECT_FALSE(printed("Suggested Monitoring Probes"));
    EXPECT_FALSE(printed("How Far the Map Can Be Trusted"));

    window.job.probeCount = 4;
    ASSERT_EQ(print().kind, CommandOutcome::Kind::Completed);
    EXPECT_TRUE(printed("Suggested Monitoring Probes"));
    EXPECT_TRUE(printed("highest reading"));
    EXPECT_FALSE(printed("How Far the Map Can Be Trusted"));

    window.job.probeCount = 0;
    window.job.setSetting(JobSetting::MapCheckThreshold, "0.5");
    ASSERT_EQ(print().kind, CommandOutcome::Kind::Completed);
    EXPECT_TRUE(printed("How Far the Map Can Be Trusted"));
    EXPECT_TRUE(printed("Largest error of the study: "));
    EXPECT_FALSE(printed("Suggested Monitoring Probes"));

    window.job.setSetting(JobSetting::MapCheckThreshold, "");
    ASSERT_EQ(print().kind, CommandOutcome::Kind::Completed);
    EXPECT_EQ(printer.calls.size(), plainCalls);
}

TEST_F(StudyReportTest, TheProbeSectionSaysWhichInstantsItWasFittedOver) {
    window.job.probeCount = 3;
    ASSERT_EQ(print().kind, CommandOutcome::Kind::Completed);
    EXPECT_TRUE(printed("Fitted over the averaged sets"));
    EXPECT_FALSE(printed("Fitted over the qualification's reading instants"));

    window.job.setSetting(JobSetting::ReferencePosition, "R2C3");
    ASSERT_EQ(print().kind, CommandOutcome::Kind::Completed);
    EXPECT_TRUE(printed("Fitted over the qualification's reading instants"));
    EXPECT_FALSE(printed("Fitted over the averaged sets"));
}

TEST_F(StudyReportTest, AThresholdThatDoesNotReadPrintsNothing) {
    window.job.setSetting(JobSetting::MapCheckThreshold, "half a degree");
    EXPECT_TRUE(print().hasFailed());
    EXPECT_TRUE(printer.callsOf(platform::CallKind::StartDocument).empty());
    EXPECT_EQ(takeMessage().caption, "Statistics");
}

} // namespace
} // namespace zqar
