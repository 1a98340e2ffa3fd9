// The study commands' own choices: the bands of the map of the mean difference, and a second
// study taken over its own span and laid over the first on elapsed time.

#include "pages/analysis/studyCommands.h"

#include "core/data/dateTime.h"
#include "core/data/reportFile.h"
#include "pages/layout/settings.h"

#include "support/PageHarness.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

namespace zqar {
namespace {

std::filesystem::path sampleReport() {
    return std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "samples" /
           "warehouse.ttr";
}

TEST(StudyCommands, DifferenceBandsHoldTheRangeWithNiceStepsCentredOnTheirMultiples) {
    struct Case {
        double low, high, spacing;
    };
    for (const Case &c : {Case{-0.3, 1.7, 0.2}, Case{0.0, 0.05, 0.01}, Case{-12.0, 30.0, 5.0},
                          Case{0.02, 0.05, 0.01}}) {
        SCOPED_TRACE(c.low);
        const BandParameters bands = bandsOver(c.low, c.high);
        EXPECT_DOUBLE_EQ(bands.spacing, c.spacing);
        EXPECT_LE(bands.minimum, c.low);
        EXPECT_GE(bands.maximum, c.high);
        const double count = (bands.maximum - bands.minimum) / bands.spacing;
        EXPECT_LE(count, 12.0);
        // Band centres fall on multiples of the spacing.
        const double centre = (bands.minimum + bands.spacing / 2) / bands.spacing;
        EXPECT_NEAR(centre, std::round(centre), 1e-9);
    }
    // Differences equal but for rounding lie in the middle of one band.
    const BandParameters equal = bandsOver(1.0 - 1e-14, 1.0 + 1e-14);
    EXPECT_NEAR(equal.minimum, 0.95, 1e-12);
    EXPECT_NEAR(equal.maximum, 1.05, 1e-12);
}

// The sample study a week later: the same readings, every record and the report's span
// moved by seven days.
class LaterStudy : public testing::PageTest {
protected:
    static constexpr double WEEK = 7.0; // days

    std::string writeLaterCopy() {
        ReportFileRead read = readReportFile(sampleReport().string());
        EXPECT_TRUE(read.contents.has_value());
        ReportContents &report = *read.contents;
        for (const std::unique_ptr<LogFile> &record : report.records)
            if (record)
                record->startTime.day += WEEK;
        for (std::size_t i = 0; i < REPORT_SETTING_COUNT; ++i)
            if (SETTINGS[i].name == "startTimeText" || SETTINGS[i].name == "finishTimeText")
                report.fields[i + 1] =
                    formatDateTime(*readTimeSetting(report.fields[i + 1]) + WEEK);
        const std::string path = dir.file("later.ttr");
        std::ofstream(path, std::ios::binary) << writeReport(report);
        return path;
    }
    testing::TempDir dir;
};

TEST_F(LaterStudy, IsTakenOverItsOwnSpanAndLaidOverTheFirstOnElapsedTime) {
    ASSERT_EQ(window.loadReport(sampleReport().string()).kind, CommandOutcome::Kind::Completed);
    const ComparisonRun run =
        compareWithReport(window.job, window.settings(), host, writeLaterCopy());
    ASSERT_EQ(run.outcome.kind, CommandOutcome::Kind::Completed);
    EXPECT_NEAR(run.b.start - run.a.start, WEEK, 1e-6);
    EXPECT_NEAR(run.axis.shift, -WEEK, 1e-6);
    ASSERT_EQ(run.comparison.positions.size(), 26u);
    for (const ComparedPosition &position : run.comparison.positions) {
        SCOPED_TRACE(position.position);
        ASSERT_TRUE(position.matched());
        // Same readings at the same elapsed times: no difference, the extremes' times included.
        for (const std::optional<double> &delta : position.deltas) {
            if (delta) {
                EXPECT_NEAR(*delta, 0.0, 1e-6);
            }
        }
    }
    const TimeSeriesInput input = comparedSeriesInput(run, "R1C1");
    ASSERT_EQ(input.lines.size(), 2u);
    EXPECT_EQ(input.start, run.a.start);
    const LogFile &a = *input.lines[0].log;
    const LogFile &b = *input.lines[1].log;
    EXPECT_NEAR(b.startTime.day, a.startTime.day, 1e-6);
    EXPECT_EQ(a.values, b.values);
}

} // namespace
} // namespace zqar
