#include "core/data/events.h"
#include "core/analysis/eventFigures.h"
#include "core/analysis/eventsCsv.h"
#include "core/analysis/qualificationCsv.h"
#include "core/analysis/statistics.h"
#include "core/data/IniFile.h"
#include "core/data/dateTime.h"
#include "core/data/projectFormat.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <memory>

using namespace zqar;

namespace {

constexpr double MINUTE = 60.0; // seconds

double juneFifth(int hour, int minute, int second = 0) {
    return dayNumberFromCivil(CivilTime{2025, 6, 5, hour, minute, second});
}

std::unique_ptr<LogFile> record(const std::string &name, double start, std::vector<double> values) {
    auto made = std::make_unique<LogFile>();
    made->loggerName.assign(name);
    made->startTime.day = start;
    made->samplePeriod = MINUTE;
    made->valueCount = static_cast<int32_t>(values.size());
    made->values = std::move(values);
    return made;
}

Event at(EventKind kind, double time, std::string phase = {}) {
    Event event;
    event.kind = kind;
    event.time = time;
    event.phase = std::move(phase);
    return event;
}

// A 2 x 2 chamber of minute loggers from 18:00 for an hour, every reading 5 degrees, with the
// readings of R1C2 (the warmest position) replaced from sample `from` on.
LoggerArray chamber(std::size_t from = 0, const std::vector<double> &warmest = {}) {
    LoggerArray array;
    array.resize(2, 2, 0);
    for (int cell = 0; cell < 4; ++cell) {
        std::vector<double> values(61, 5.0);
        if (cell == 1)
            std::copy(warmest.begin(), warmest.end(), values.begin() + static_cast<long>(from));
        array.place(cell / 2, cell % 2,
                    record("L" + std::to_string(cell + 1), juneFifth(18, 0), values));
    }
    return array;
}

StatisticsSettings limits(double lower, double upper) {
    StatisticsSettings settings;
    settings.lowerLimit = lower;
    settings.upperLimit = upper;
    return settings;
}

} // namespace

// ---- Typed events -----------------------------------------------------------------------

TEST(Events, ReadsEveryKindAsTypedAndWritesItBack) {
    struct Case {
        const char *typed;
        EventKind kind;
        const char *phase;
        const char *name;
        const char *written;
    };
    const Case cases[] = {
        {"door-open@05-Jun-2025 06:00PM", EventKind::DoorOpen, "", "door open",
         "door-open@05-Jun-2025 06:00PM"},
        {"Door-Closed@2025-06-05 18:00", EventKind::DoorClosed, "", "door closed",
         "door-closed@05-Jun-2025 06:00PM"},
        {"power-off@5 Jun 2025 18:00", EventKind::PowerOff, "", "power off",
         "power-off@05-Jun-2025 06:00PM"},
        {" power-on @ 05-Jun-2025 06:00PM", EventKind::PowerOn, "", "power on",
         "power-on@05-Jun-2025 06:00PM"},
        {"phase-start:Loaded shelf@05-Jun-2025 06:00PM", EventKind::PhaseStart, "Loaded shelf",
         "phase start Loaded shelf", "phase-start:Loaded shelf@05-Jun-2025 06:00PM"},
        {"PHASE-END: a@b @05-Jun-2025 06:00PM", EventKind::PhaseEnd, "a@b", "phase end a@b",
         "phase-end:a@b@05-Jun-2025 06:00PM"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed);
        const std::optional<Event> event = readEvent(c.typed);
        ASSERT_TRUE(event);
        EXPECT_EQ(event->kind, c.kind);
        EXPECT_EQ(event->phase, c.phase);
        EXPECT_EQ(event->time, juneFifth(18, 0));
        EXPECT_EQ(eventName(*event), c.name);
        EXPECT_EQ(eventText(*event), c.written);
    }
    for (const char *wrong :
         {"door-ajar@05-Jun-2025 06:00PM", "door-open", "door-open@", "door-open@soon",
          "phase-start@05-Jun-2025 06:00PM", "phase-start: @05-Jun-2025 06:00PM",
          "phase-middle:x@05-Jun-2025 06:00PM", "@05-Jun-2025 06:00PM"}) {
        SCOPED_TRACE(wrong);
        EXPECT_FALSE(readEvent(wrong));
    }
}

TEST(Events, ATimeWithSecondsKeepsThemWhenWrittenAndRead) {
    const Event written = at(EventKind::DoorOpen, juneFifth(18, 0, 30));
    EXPECT_EQ(eventText(written), "door-open@05-Jun-2025 06:00:30PM");
    const std::optional<Event> read = readEvent(eventText(written));
    ASSERT_TRUE(read);
    EXPECT_EQ(roundedSeconds(read->time), roundedSeconds(written.time));
}

// ---- The events CSV ---------------------------------------------------------------------

TEST(EventsCsv, ReadsTheHeaderQuotedNotesAndBlankLines) {
    const std::string csv = "Time,Event,Note\r\n"
                            "05-Jun-2025 06:00PM,door-open,\"first, short\"\r\n"
                            "\r\n"
                            "05-Jun-2025 06:10PM,phase-start:Loaded\n"
                            "2025-06-05 18:20,door-closed,\"said \"\"shut\"\"\nthen left\"\n";
    const EventsCsvReading reading = readEventsCsv(csv);
    ASSERT_TRUE(reading.ok());
    ASSERT_EQ(reading.events.size(), 3u);
    EXPECT_EQ(reading.events[0].note, "first, short");
    EXPECT_EQ(reading.events[1].phase, "Loaded");
    EXPECT_EQ(reading.events[1].note, "");
    EXPECT_EQ(reading.events[2].kind, EventKind::DoorClosed);
    EXPECT_EQ(reading.events[2].time, juneFifth(18, 20));
    EXPECT_EQ(reading.events[2].note, "said \"shut\"\nthen left");

    // Written and read again: the same events.
    const EventsCsvReading again = readEventsCsv(eventsCsv(reading.events));
    ASSERT_TRUE(again.ok());
    ASSERT_EQ(again.events.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(eventText(again.events[i]), eventText(reading.events[i]));
        EXPECT_EQ(again.events[i].note, reading.events[i].note);
    }
}

TEST(EventsCsv, NamesTheFirstLineThatIsNotAnEvent) {
    struct Case {
        const char *text;
        int badLine;
    };
    const Case cases[] = {
        {"Time,Event,Note\n05-Jun-2025 06:00PM,door-ajar,\n", 2},
        {"05-Jun-2025 06:00PM,door-open\nnoon,door-open\n", 2},
        {"05-Jun-2025 06:00PM,door-open,a,b\n", 1},
        {"05-Jun-2025 06:00PM,door-open,\"a\nb\"\n05-Jun-2025 06:00PM\n", 3},
        {"05-Jun-2025 06:00PM,door-open,\"open quote\n", 1},
        {"Time,Event,Note\nTime,Event,Note\n", 2},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(readEventsCsv(c.text).badLine, c.badLine);
    }
    EXPECT_TRUE(readEventsCsv("").ok());
    EXPECT_TRUE(readEventsCsvFile("/nonexistent/events.csv").unreadable);
    zqar::testing::TempDir dir;
    const EventsCsvReading file =
        readEventsCsvFile(dir.write("events.csv", "05-Jun-2025 06:00PM,power-off,\n"));
    ASSERT_TRUE(file.ok());
    EXPECT_EQ(file.events.at(0).kind, EventKind::PowerOff);
}

// ---- Phases -------------------------------------------------------------------------------

TEST(Phases, PairEachStartWithTheNextEndOfItsName) {
    const std::vector<Event> events = {
        at(EventKind::PhaseEnd, juneFifth(18, 40), "empty"),      // 0: ends the first "Empty"
        at(EventKind::PhaseStart, juneFifth(18, 0), "Empty"),     // 1
        at(EventKind::PhaseEnd, juneFifth(17, 0), "Loaded"),      // 2: nothing open
        at(EventKind::PhaseStart, juneFifth(18, 10), "Loaded"),   // 3: never ended
        at(EventKind::PhaseStart, juneFifth(18, 20), " loaded "), // 4: Loaded is open
        at(EventKind::DoorOpen, juneFifth(18, 30)),
        at(EventKind::PhaseStart, juneFifth(18, 50), "Empty"), // 6: a second "Empty"
        at(EventKind::PhaseEnd, juneFifth(18, 55), "EMPTY"),
    };
    const PhaseList list = phasesOf(events);
    ASSERT_EQ(list.phases.size(), 3u);
    EXPECT_EQ(list.phases[0].name, "Empty");
    EXPECT_EQ(list.phases[0].start, juneFifth(18, 0));
    EXPECT_EQ(list.phases[0].finish, juneFifth(18, 40));
    EXPECT_EQ(list.phases[1].name, "Loaded");
    EXPECT_FALSE(list.phases[1].finish);
    EXPECT_EQ(list.phases[2].start, juneFifth(18, 50));
    EXPECT_EQ(list.phases[2].finish, juneFifth(18, 55));
    EXPECT_EQ(list.unmatched, (std::vector<std::size_t>{2, 4}));

    const std::vector<Phase> empty = phasesNamed(list.phases, {"empty"});
    ASSERT_EQ(empty.size(), 2u);
    EXPECT_EQ(empty[1].start, juneFifth(18, 50));
}

// ---- The project file's section -----------------------------------------------------------

TEST(EventsSection, RoundTripsBesideTheSettingsAndEmptiesWhatAShorterListLeaves) {
    const std::string project = "[ZQARVemro]\r\nNumberOfRows=2\r\nR1C1=4711\r\n";
    EventsSection section;
    section.events = {at(EventKind::DoorOpen, juneFifth(18, 0)),
                      at(EventKind::PhaseStart, juneFifth(18, 5, 30), "Loaded"),
                      at(EventKind::PowerOff, juneFifth(18, 30))};
    section.events[0].note = "shelf 3 checked";
    section.excludedPhases = {"Loaded"};
    IniFile file(project);
    writeEventsSection(section, file);
    const std::string written = file.text();
    // The settings section stays byte for byte, and reads as before.
    EXPECT_EQ(written.substr(0, project.size()), project);
    EXPECT_EQ(readProject(written, {{"NumberOfRows", "0"}}).settings.at(0), "2");

    const EventsSectionReading read = readEventsSection(IniFile(written));
    EXPECT_EQ(read.unreadable, 0);
    ASSERT_EQ(read.section.events.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(eventText(read.section.events[i]), eventText(section.events[i]));
        EXPECT_EQ(read.section.events[i].note, section.events[i].note);
    }
    EXPECT_EQ(read.section.excludedPhases, section.excludedPhases);

    // A shorter list written over it leaves no event of the longer one behind.
    IniFile again(written);
    writeEventsSection(EventsSection{{section.events[2]}, {}}, again);
    const std::string shorter = again.text();
    EXPECT_EQ(shorter.find("phase-start"), std::string::npos);
    const EventsSectionReading reread = readEventsSection(IniFile(shorter));
    ASSERT_EQ(reread.section.events.size(), 1u);
    EXPECT_EQ(reread.section.events[0].kind, EventKind::PowerOff);
    EXPECT_TRUE(reread.section.excludedPhases.empty());

    EXPECT_TRUE(readEventsSection(IniFile(project)).section.events.empty());
    EXPECT_EQ(
        readEventsSection(IniFile("[ZQARVemroEvents]\nEventCount=1\nEvent1=door\n")).unreadable, 1);
}

// ---- Recovery and hold times ------------------------------------------------------------

TEST(EventFigures, RecoveryIsFromTheLastReadingOutsideTheLimitsOnwards) {
    // Limits 2 to 8. The door closes at 18:10; the warmest position is above 8 from then and
    // back below at 18:22, for good or with a return above from 18:30 to 18:34.
    const std::vector<double> back(12, 9.0);
    std::vector<double> returning(25, 7.0);
    std::fill(returning.begin(), returning.begin() + 12, 9.0);
    std::fill(returning.begin() + 20, returning.begin() + 25, 8.5);
    const std::vector<Event> events = {at(EventKind::DoorClosed, juneFifth(18, 10))};
    struct Case {
        LoggerArray array;
        const char *value;
    };
    Case cases[] = {{chamber(10, back), "12.00"}, {chamber(10, returning), "25.00"}};
    for (Case &c : cases) {
        SCOPED_TRACE(c.value);
        const std::vector<EventOutcome> outcomes =
            eventOutcomes(c.array, events, juneFifth(19, 0), limits(2, 8));
        ASSERT_EQ(outcomes.size(), 1u);
        EXPECT_EQ(outcomes[0].figure.kind, EventFigureKind::RecoveryTime);
        EXPECT_EQ(eventFigureRow(outcomes[0]),
                  (std::vector<std::string>{"door closed", "05-Jun-2025 06:10PM", "recovery time",
                                            c.value, "-"}));
    }

    // The next event ends the readings looked at: a door opening at 18:32, inside the return
    // above 8, leaves the door closing unrecovered; one at 18:30 sees it recovered at 18:22.
    for (const auto &[opening, value] :
         {std::pair{juneFifth(18, 32), "not recovered"}, std::pair{juneFifth(18, 30), "12.00"}}) {
        SCOPED_TRACE(value);
        const std::vector<EventOutcome> outcomes =
            eventOutcomes(chamber(10, returning), {at(EventKind::DoorOpen, opening), events[0]},
                          juneFifth(19, 0), limits(2, 8));
        ASSERT_EQ(outcomes.size(), 2u);
        EXPECT_EQ(outcomes[0].event.kind, EventKind::DoorClosed); // in time order
        EXPECT_EQ(eventFigureRow(outcomes[0])[3], value);
        EXPECT_EQ(eventFigureRow(outcomes[1])[2], "-");
    }
}

TEST(EventFigures, HoldIsUntilTheFirstPositionLeavesTheLimitsBeforeThePowerComesOn) {
    // The power goes off at 18:05; R1C2 rises above 8 at 18:35.
    const LoggerArray array = chamber(35, std::vector<double>(26, 8.1));
    const Event off = at(EventKind::PowerOff, juneFifth(18, 5));
    struct Case {
        std::vector<Event> events;
        std::vector<std::string> row;
    };
    const Case cases[] = {
        {{off}, {"power off", "05-Jun-2025 06:05PM", "hold time", "30.00", "R1C2"}},
        {{off, at(EventKind::PowerOn, juneFifth(18, 35))},
         {"power off", "05-Jun-2025 06:05PM", "hold time", "held", "-"}},
        {{off, at(EventKind::DoorOpen, juneFifth(18, 10)),
          at(EventKind::PowerOn, juneFifth(18, 36))},
         {"power off", "05-Jun-2025 06:05PM", "hold time", "30.00", "R1C2"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.events.size());
        const std::vector<EventOutcome> outcomes =
            eventOutcomes(array, c.events, juneFifth(19, 0), limits(2, 8));
        EXPECT_EQ(eventFigureRow(outcomes.at(0)), c.row);
    }
    // Without limits there is no figure.
    const std::vector<EventOutcome> unlimited =
        eventOutcomes(array, {off}, juneFifth(19, 0), StatisticsSettings{});
    EXPECT_EQ(eventFigureRow(unlimited.at(0))[3], "-");
    EXPECT_EQ(eventFiguresCsv(unlimited), "Event,Time,Figure,Value,Position\r\n"
                                          "power off,05-Jun-2025 06:05PM,hold time,-,-\r\n");
}

// ---- Excluded phases ------------------------------------------------------------------------

TEST(ExcludedPhases, LeaveOutTheReadingsInsideThePhaseEndsIncluded) {
    LoggerArray array;
    array.resize(1, 1, 0);
    array.place(0, 0, record("a", juneFifth(18, 0), {1, 2, 3, 4, 5, 6, 7}));
    const std::vector<Phase> phases = {{"door test", juneFifth(18, 2), juneFifth(18, 3)},
                                       {"settling", juneFifth(18, 5), std::nullopt}};
    const LoggerArray left = withoutPhases(array, phases);
    const LogFile &record = *left.at(0, 0);
    EXPECT_EQ(record.values, (std::vector<double>{1, 2, NO_VALUE, NO_VALUE, 5}));
    EXPECT_EQ(record.valueCount, 5);
    EXPECT_EQ(record.startTime(), juneFifth(18, 0));
    EXPECT_EQ(array.at(0, 0)->values.size(), 7u); // the array given is untouched

    // A phase at the start moves the record's start to its first sample kept.
    const LoggerArray late =
        withoutPhases(array, {{"warm-up", juneFifth(17, 0), juneFifth(18, 1)}});
    EXPECT_EQ(late.at(0, 0)->values, (std::vector<double>{3, 4, 5, 6, 7}));
    EXPECT_EQ(roundedSeconds(late.at(0, 0)->startTime()), roundedSeconds(juneFifth(18, 2)));
}

TEST(ExcludedPhases, APhaseHoldingTheHottestReadingMovesTheHotSpot) {
    // R1C1 reads 30 in the last minutes, a door test; R1C2 peaks at 25 before it.
    LoggerArray array;
    array.resize(1, 2, 0);
    array.place(0, 0, record("a", juneFifth(18, 0), {20, 20, 20, 20, 30, 30}));
    array.place(0, 1, record("b", juneFifth(18, 0), {20, 25, 20, 20, 20, 20}));
    const std::vector<Event> events = {at(EventKind::PhaseStart, juneFifth(18, 4), "door test"),
                                       at(EventKind::PhaseEnd, juneFifth(18, 5), "door test")};
    const std::vector<Phase> excluded = phasesNamed(phasesOf(events).phases, {"Door Test"});
    const double start = juneFifth(18, 0);
    const double finish = juneFifth(18, 5);

    const MappingStatistics all = computeStatistics(array, start, finish, {});
    EXPECT_EQ(all.positions[all.spots.highestReading.position].position, "R1C1");
    EXPECT_EQ(all.spots.highestReading.value, 30.0);

    const MappingStatistics kept =
        computeStatistics(withoutPhases(array, excluded), start, finish, {});
    EXPECT_EQ(kept.positions[kept.spots.highestReading.position].position, "R1C2");
    EXPECT_EQ(kept.spots.highestReading.value, 25.0);
}
