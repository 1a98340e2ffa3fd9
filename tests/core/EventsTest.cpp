#include "core/data/events.h"
#include "core/analysis/eventsCsv.h"
#include "core/data/IniFile.h"
#include "core/data/dateTime.h"
#include "core/data/projectFormat.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace zqar;

namespace {

double juneFifth(int hour, int minute, int second = 0) {
    return dayNumberFromCivil(CivilTime{2025, 6, 5, hour, minute, second});
}

Event at(EventKind kind, double time, std::string phase = {}) {
    Event event;
    event.kind = kind;
    event.time = time;
    event.phase = std::move(phase);
    return event;
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
