// The study commands' own choices: the instants the probes are fitted over, the bands of the
// map of the mean difference, and a second study taken over its own span and laid over the
// first on elapsed time.

#include "pages/analysis/studyCommands.h"

#include "core/analysis/SetList.h"
#include "core/data/dateTime.h"
#include "core/data/reportFile.h"
#include "core/job/Job.h"
#include "core/job/jobEvents.h"
#include "pages/analysis/qualificationCommands.h"
#include "pages/analysis/statisticsCommands.h"
#include "pages/layout/settings.h"
#include "resources/qualificationTexts.h"

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

// The sample study with its statistics calculated, for the probes.
class SampleProbes : public testing::PageTest {
protected:
    void SetUp() override {
        ASSERT_EQ(window.loadReport(sampleReport().string()).kind, CommandOutcome::Kind::Completed);
        calculate();
    }
    void calculate() {
        StatisticsRun run = calculateStatistics(window.job, window.settings(), host);
        ASSERT_EQ(run.outcome.kind, CommandOutcome::Kind::Completed);
        statistics = std::move(run.statistics);
    }
    static void expectSameProbes(const ProbeSuggestion &a, const ProbeSuggestion &b) {
        EXPECT_EQ(a.instantsUsed, b.instantsUsed);
        EXPECT_EQ(a.rmsBefore, b.rmsBefore);
        ASSERT_EQ(a.probes.size(), b.probes.size());
        for (std::size_t k = 0; k < a.probes.size(); ++k) {
            EXPECT_EQ(a.probes[k].position, b.probes[k].position);
            EXPECT_EQ(a.probes[k].rmsAfter, b.probes[k].rmsAfter);
        }
    }
    static bool startsWith(const std::string &text, std::string_view start) {
        return text.compare(0, start.size(), start) == 0;
    }
    MappingStatistics statistics;
};

TEST_F(SampleProbes, WithoutAReferenceAreFittedOverTheAveragedSetsInTheSpan) {
    const FittedProbes fitted = suggestProbesFor(window.job, statistics, 5);
    EXPECT_FALSE(fitted.overQualificationInstants);
    const ReadingInstants sets = instantsFromSets(window.job.setList, statistics);
    EXPECT_GT(sets.count(), 0u);
    expectSameProbes(fitted.suggestion, suggestProbes(statistics, sets, 5));
    const std::string note = probesFitNote(fitted);
    EXPECT_TRUE(startsWith(note, "Fitted over the averaged sets: no qualification reference "))
        << note;
    EXPECT_NE(note.find("The fit took "), std::string::npos) << note;
}

TEST_F(SampleProbes, WithAReferenceAreFittedOverTheQualificationsInstants) {
    window.job.setSetting(JobSetting::ReferencePosition, " r2c3 ");
    const FittedProbes fitted = suggestProbesFor(window.job, statistics, 5);
    const Qualification q = qualificationOver(window.job, statistics.start, statistics.finish);
    ASSERT_EQ(q.problem, QualificationProblem::None);
    EXPECT_TRUE(fitted.overQualificationInstants);
    const ProbeSuggestion &suggestion = fitted.suggestion;
    EXPECT_EQ(suggestion.instantsUsed + suggestion.instantsLeftOut,
              static_cast<std::size_t>(q.instants));
    // The sample's loggers read every five minutes and the sets average half an hour: the
    // qualification's instants are far more.
    EXPECT_GT(suggestion.instantsUsed, instantsFromSets(window.job.setList, statistics).count());
    EXPECT_TRUE(startsWith(probesFitNote(fitted),
                           "Fitted over the qualification's reading instants: the times of the "
                           "readings of the reference position R2C3 in the stable window"))
        << probesFitNote(fitted);
    // The extremes come from the statistics, whichever the instants.
    const FittedProbes fromSets = [&] {
        window.job.setSetting(JobSetting::ReferencePosition, "");
        return suggestProbesFor(window.job, statistics, 5);
    }();
    for (std::size_t k = 0; k < suggestion.probes.size(); ++k) {
        const ChosenProbe &probe = fromSets.suggestion.probes[k];
        if (probe.reason == ProbeReason::BestNextFit)
            break;
        EXPECT_EQ(suggestion.probes[k].position, probe.position);
        EXPECT_EQ(suggestion.probes[k].reason, probe.reason);
    }
}

TEST_F(SampleProbes, AnExcludedPhaseLeavesItsInstantsOutAsItLeavesTheQualifications) {
    window.job.setSetting(JobSetting::ReferencePosition, "R2C3");
    const std::size_t before = suggestProbesFor(window.job, statistics, 3).suggestion.instantsUsed;
    const double middle = (statistics.start + statistics.finish) / 2.0;
    addEvents(window.job, {{EventKind::PhaseStart, middle, "loaded", {}},
                           {EventKind::PhaseEnd, middle + 1.0, "loaded", {}}});
    setPhaseExcluded(window.job, "loaded", true);
    calculate();
    const FittedProbes fitted = suggestProbesFor(window.job, statistics, 3);
    const Qualification q = qualificationOver(window.job, statistics.start, statistics.finish);
    ASSERT_EQ(q.problem, QualificationProblem::None);
    EXPECT_EQ(fitted.suggestion.instantsUsed + fitted.suggestion.instantsLeftOut,
              static_cast<std::size_t>(q.instants));
    EXPECT_LT(fitted.suggestion.instantsUsed, before);
}

TEST_F(SampleProbes, FallBackToTheAveragedSetsAndSayWhyWhenTheQualificationCannotBeUsed) {
    const ProbeSuggestion fromSets = suggestProbesFor(window.job, statistics, 5).suggestion;
    struct Case {
        const char *reference;
        JobSetting other;
        const char *otherText;
        std::string_view message;
    };
    const Case cases[] = {
        {"R9C9", JobSetting::SetPoint, "", text::REFERENCE_POSITION_OUTSIDE_MESSAGE},
        {"middle", JobSetting::SetPoint, "", text::REFERENCE_POSITION_FORMAT_MESSAGE},
        {"R2C3", JobSetting::SetPoint, "warm", text::SET_POINT_FORMAT_MESSAGE},
        {"R2C3", JobSetting::StableStart, "01-Jan-2000 12:00AM",
         text::NO_REFERENCE_READINGS_MESSAGE},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.reference + std::string(" ") + c.otherText);
        window.job.setSetting(JobSetting::ReferencePosition, c.reference);
        window.job.setSetting(c.other, c.otherText);
        if (c.other == JobSetting::StableStart)
            window.job.setSetting(JobSetting::StableFinish, "01-Jan-2000 01:00AM");
        const FittedProbes fitted = suggestProbesFor(window.job, statistics, 5);
        EXPECT_FALSE(fitted.overQualificationInstants);
        expectSameProbes(fitted.suggestion, fromSets);
        EXPECT_EQ(fitted.instantsNote,
                  "Fitted over the averaged sets that start within the statistics span: the "
                  "qualification's reading instants cannot be used. " +
                      std::string(c.message));
        window.job.setSetting(c.other, "");
    }
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
