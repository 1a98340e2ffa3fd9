// The job's events and excluded phases as the commands use them: the readings of an excluded
// phase leave the statistics, their maps and the hot and cold spots but not the records, the
// edits tell the listeners, and the time-series chart gets the events and the phases.

#include "core/job/jobEvents.h"
#include "core/analysis/TemperatureSet.h"
#include "pages/analysis/statisticsCommands.h"
#include "pages/presentation/TimeSeriesChart.h"

#include "support/PageHarness.h"

#include <gtest/gtest.h>

using namespace zqar;
using namespace zqar::testing;

namespace {

using DF = DataFilterPage;

Event phaseEvent(EventKind kind, const std::string &name, int hour, int minute) {
    Event event;
    event.kind = kind;
    event.phase = name;
    event.time = novemberFifth(hour, minute);
    return event;
}

// A 1 x 2 array of minute loggers from 10:00AM: R1C1 peaks at 25 at 10:03AM, inside the
// "Door" phase from 10:02AM through 10:04AM; R1C2 peaks at 24 at 10:07AM.
class JobEvents : public PageTest {
protected:
    JobEvents() {
        layout("1", "2", "0");
        window.job.loggerArray.place(
            0, 0, makeRecord("a", novemberFifth(10, 0), 60.0, {20, 20, 21, 25, 21, 20, 20, 20}));
        window.job.loggerArray.place(
            0, 1, makeRecord("b", novemberFifth(10, 0), 60.0, {22, 22, 22, 22, 22, 22, 22, 24}));
        dataFilter().setText(DF::START_TIME, "05-Nov-2003 10:00AM");
        dataFilter().setText(DF::FINISH_TIME, "05-Nov-2003 10:07AM");
        addEvent(window.job, phaseEvent(EventKind::PhaseStart, "Door", 10, 2));
        addEvent(window.job, phaseEvent(EventKind::PhaseEnd, "door", 10, 4));
    }

    MappingStatistics statistics() {
        const StatisticsRun run = calculateStatistics(window.job, window.settings(), host);
        EXPECT_EQ(run.outcome.kind, CommandOutcome::Kind::Completed);
        return run.statistics;
    }
};

} // namespace

TEST_F(JobEvents, AnExcludedPhaseMovesTheHotSpotAndLeavesTheRecordsAlone) {
    const MappingStatistics before = statistics();
    EXPECT_EQ(before.spots.highestReading.position, 0u);
    EXPECT_EQ(before.spots.highestReading.value, 25.0);

    setPhaseExcluded(window.job, "DOOR", true);
    const MappingStatistics after = statistics();
    EXPECT_EQ(after.spots.highestReading.position, 1u);
    EXPECT_EQ(after.spots.highestReading.value, 24.0);
    // 21, 25, 21 lie in the phase, both of its ends included: five 20s are left.
    EXPECT_EQ(after.positions[0].samples, 5);
    EXPECT_EQ(after.positions[0].maximum, 20.0);
    EXPECT_EQ(after.positions[0].timeOfMaximum, novemberFifth(10, 0));
    const StatisticMapSet maximum = makeStatisticMap(after, MapStatistic::Maximum);
    EXPECT_EQ(maximum.set->valueAt(0, 0), after.positions[0].maximum);
    // The sets and the time series still read every reading.
    EXPECT_EQ(window.job.loggerArray.at(0, 0)->values[3], 25.0);
}

TEST_F(JobEvents, EditsTellTheListenersOnceAndOnlyWhenTheyChangeSomething) {
    int told = 0;
    window.job.listen(
        [&told](const JobChange &change) { told += change.touches(JobChange::EVENTS) ? 1 : 0; });
    setPhaseExcluded(window.job, "door", true);
    setPhaseExcluded(window.job, " Door ", true); // the same phase
    EXPECT_EQ(told, 1);
    EXPECT_EQ(window.job.excludedPhases.size(), 1u);
    EXPECT_TRUE(isPhaseExcluded(window.job, "DOOR"));

    Event closed;
    closed.kind = EventKind::DoorClosed;
    closed.time = novemberFifth(10, 5);
    addEvent(window.job, closed);
    closed.note = "after loading";
    replaceEvent(window.job, 2, closed);
    replaceEvent(window.job, 9, closed); // no such event
    removeEvent(window.job, 0);
    EXPECT_EQ(told, 4);
    ASSERT_EQ(window.job.events.size(), 2u);
    EXPECT_EQ(window.job.events[1].note, "after loading");
    // The start is gone: no phase, nothing left out.
    EXPECT_TRUE(excludedPhasesOfJob(window.job).empty());

    setEventsSection(window.job, {});
    EXPECT_TRUE(window.job.events.empty());
    EXPECT_TRUE(window.job.excludedPhases.empty());
    EXPECT_EQ(told, 5);
    setEventsSection(window.job, {});
    EXPECT_EQ(told, 5);
}

TEST_F(JobEvents, TheTimeSeriesShowsTheEventsAndShadesThePhases) {
    Event open;
    open.kind = EventKind::DoorOpen;
    open.time = novemberFifth(10, 6);
    addEvent(window.job, open);
    setPhaseExcluded(window.job, "Door", true);
    const TimeSeriesInput input = timeSeriesInput(window.job, window.settings());
    ASSERT_EQ(input.events.size(), 3u);
    EXPECT_EQ(input.events[2].label, "door open");
    EXPECT_EQ(input.events[0].label, "phase start Door");
    ASSERT_EQ(input.phases.size(), 1u);
    EXPECT_EQ(input.phases[0].label, "Door (excluded)");
    EXPECT_TRUE(input.phases[0].excluded);
    EXPECT_EQ(input.phases[0].start, novemberFifth(10, 2));
    EXPECT_EQ(input.phases[0].finish, novemberFifth(10, 4));

    // The event line nearest a column, within the slop only.
    const platform::Rect plot{0, 0, 700, 100};
    const int x = columnAtTime(input, plot, open.time);
    EXPECT_EQ(eventNearColumn(input, plot, x + 3, 4), 2);
    EXPECT_EQ(eventNearColumn(input, plot, x + 30, 4), -1);

    setEventsSection(window.job, {});
    EXPECT_TRUE(timeSeriesInput(window.job, window.settings()).events.empty());
}
