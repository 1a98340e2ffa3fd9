#pragma once
// Events of a mapping run: the door opening and closing, the power going off and coming on,
// and the start and end of named test phases, each at a time with the user's note. The job
// owns its list of events; the batch tool and the time-series window add to it, the project
// file keeps it, and the figures in core/analysis/eventFigures.h read it.
//
// Typed, an event is KIND@TIME with KIND one of door-open, door-closed, power-off, power-on,
// phase-start:NAME and phase-end:NAME (the kind in any letter case), and TIME a date-time as
// parseDateTime reads it: "door-closed@05-Jun-2025 06:00PM".

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zqar {

class IniFile;

enum class EventKind { DoorOpen, DoorClosed, PowerOff, PowerOn, PhaseStart, PhaseEnd };

struct Event {
    EventKind kind = EventKind::DoorOpen;
    double time = 0.0; // day number
    std::string phase; // the phase's name, for PhaseStart and PhaseEnd; never empty for them
    std::string note;
};

// "door open", "phase start Loaded": the event as the report and the CSV name it.
std::string eventName(const Event &event);
// "door-open", "phase-start:Loaded": the kind as it is typed.
std::string eventKindText(const Event &event);
// The time as the program writes dates, with the seconds only when there are any, so that a
// time written and read back is the same second.
std::string eventTimeText(double time);
// "door-open@05-Jun-2025 06:00PM".
std::string eventText(const Event &event);

// The kind, and the phase's name, of a typed kind; the time and the note are left at 0 and
// empty. None for any other text.
std::optional<Event> readEventKind(std::string_view kindText);
// KIND@TIME; none when either part is wrong.
std::optional<Event> readEvent(std::string_view text);

bool isPhaseKind(EventKind kind);

// Phase names match without regard to letter case (ASCII) and to blanks around them.
bool samePhaseName(std::string_view a, std::string_view b);

// The events in time order; events at the same second keep their order.
std::vector<Event> sortedByTime(std::vector<Event> events);

// ---- Phases ---------------------------------------------------------------------------------

struct Phase {
    std::string name; // as its start spells it
    double start = 0.0;
    std::optional<double> finish; // none: the phase was not ended and runs to the end
};

struct PhaseList {
    std::vector<Phase> phases; // in the order of their starts
    // Events that make no phase: an end without an open start of its name, or a start while
    // its name is open. Indices into the events given.
    std::vector<std::size_t> unmatched;
};

// Each phase start with the next end of its name after it (at the same second or later), in
// time order; events at the same second are taken in the order given.
PhaseList phasesOf(const std::vector<Event> &events);

// The phases of the names given (see samePhaseName), in the order of phases.
std::vector<Phase> phasesNamed(const std::vector<Phase> &phases,
                               const std::vector<std::string> &names);

// ---- The events section of a project file ---------------------------------------------------

// What a job keeps of its events: the events and the phases left out of the statistics.
struct EventsSection {
    std::vector<Event> events;
    std::vector<std::string> excludedPhases;
};

struct EventsSectionReading {
    EventsSection section;
    int unreadable = 0; // event entries that are not KIND@TIME, left out
};

// The section EVENTS_SECTION: "EventCount=2", "Event1=door-open@05-Jun-2025 06:00PM",
// "Note1=...", "ExcludedPhaseCount=1", "ExcludedPhase1=Loaded". Entries beyond the counts left
// by a longer list written before are emptied. A file without the section reads as no events.
void writeEventsSection(const EventsSection &section, IniFile &file);
EventsSectionReading readEventsSection(const IniFile &file);

} // namespace zqar
