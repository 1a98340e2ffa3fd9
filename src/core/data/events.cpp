#include "core/data/events.h"

#include "core/data/IniFile.h"
#include "core/data/caseless.h"
#include "core/data/dateTime.h"
#include "core/data/numbers.h"
#include "core/data/trimmed.h"
#include "resources/format.h"
#include "resources/qualificationTexts.h"

#include <algorithm>

namespace zqar {

namespace {

constexpr std::string_view EVENT_COUNT_KEY = "EventCount";
constexpr std::string_view EVENT_KEY = "Event";
constexpr std::string_view NOTE_KEY = "Note";
constexpr std::string_view EXCLUDED_COUNT_KEY = "ExcludedPhaseCount";
constexpr std::string_view EXCLUDED_KEY = "ExcludedPhase";
// Far more events than a run has; a count beyond it in a file is taken as this many.
constexpr std::size_t MAX_STORED_ENTRIES = 10000;

struct KindWord {
    std::string_view word;
    EventKind kind;
};
constexpr KindWord PLAIN_KINDS[] = {{text::DOOR_OPEN_KIND, EventKind::DoorOpen},
                                    {text::DOOR_CLOSED_KIND, EventKind::DoorClosed},
                                    {text::POWER_OFF_KIND, EventKind::PowerOff},
                                    {text::POWER_ON_KIND, EventKind::PowerOn}};
constexpr KindWord PHASE_KINDS[] = {{text::PHASE_START_KIND, EventKind::PhaseStart},
                                    {text::PHASE_END_KIND, EventKind::PhaseEnd}};

std::string numberedKey(std::string_view key, std::size_t number) {
    return std::string(key) + std::to_string(number);
}

// The count stored under a key; 0 for a missing or wrong one.
std::size_t storedCount(const IniFile &file, std::string_view key) {
    const int32_t count = readInteger(file.value(text::EVENTS_SECTION, key, "0"));
    return count > 0 ? std::min(static_cast<std::size_t>(count), MAX_STORED_ENTRIES) : 0;
}

} // namespace

std::string eventName(const Event &event) {
    switch (event.kind) {
    case EventKind::DoorOpen:
        return std::string(text::DOOR_OPEN);
    case EventKind::DoorClosed:
        return std::string(text::DOOR_CLOSED);
    case EventKind::PowerOff:
        return std::string(text::POWER_OFF);
    case EventKind::PowerOn:
        return std::string(text::POWER_ON);
    case EventKind::PhaseStart:
        return text::format(text::PHASE_START, event.phase);
    case EventKind::PhaseEnd:
        return text::format(text::PHASE_END, event.phase);
    }
    return {};
}

std::string eventKindText(const Event &event) {
    for (const KindWord &plain : PLAIN_KINDS)
        if (plain.kind == event.kind)
            return std::string(plain.word);
    for (const KindWord &phase : PHASE_KINDS)
        if (phase.kind == event.kind)
            return std::string(phase.word) + std::string(text::PHASE_NAME_SEPARATOR) + event.phase;
    return {};
}

std::string eventTimeText(double time) { return formatDateTimeToTheSecond(time); }

std::string eventText(const Event &event) {
    return eventKindText(event) + std::string(text::EVENT_TIME_SEPARATOR) +
           eventTimeText(event.time);
}

std::optional<Event> readEventKind(std::string_view kindText) {
    kindText = trimmed(kindText);
    Event event;
    for (const KindWord &plain : PLAIN_KINDS) {
        if (equalIgnoringCase(kindText, plain.word)) {
            event.kind = plain.kind;
            return event;
        }
    }
    const std::size_t separator = kindText.find(text::PHASE_NAME_SEPARATOR);
    if (separator == std::string_view::npos)
        return std::nullopt;
    const std::string_view word = trimmed(kindText.substr(0, separator));
    const std::string_view name =
        trimmed(kindText.substr(separator + text::PHASE_NAME_SEPARATOR.size()));
    if (name.empty())
        return std::nullopt;
    for (const KindWord &phase : PHASE_KINDS) {
        if (equalIgnoringCase(word, phase.word)) {
            event.kind = phase.kind;
            event.phase = std::string(name);
            return event;
        }
    }
    return std::nullopt;
}

std::optional<Event> readEvent(std::string_view text) {
    // The last separator: a phase's name may hold one, a date-time never does.
    const std::size_t separator = text.rfind(text::EVENT_TIME_SEPARATOR);
    if (separator == std::string_view::npos)
        return std::nullopt;
    std::optional<Event> event = readEventKind(text.substr(0, separator));
    const std::optional<double> time =
        parseDateTime(trimmed(text.substr(separator + text::EVENT_TIME_SEPARATOR.size())));
    if (!event || !time)
        return std::nullopt;
    event->time = *time;
    return event;
}

bool isPhaseKind(EventKind kind) {
    return kind == EventKind::PhaseStart || kind == EventKind::PhaseEnd;
}

bool samePhaseName(std::string_view a, std::string_view b) {
    return equalIgnoringCase(trimmed(a), trimmed(b));
}

std::vector<Event> sortedByTime(std::vector<Event> events) {
    std::stable_sort(events.begin(), events.end(), [](const Event &a, const Event &b) {
        return roundedSeconds(a.time) < roundedSeconds(b.time);
    });
    return events;
}

PhaseList phasesOf(const std::vector<Event> &events) {
    std::vector<std::size_t> order(events.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&events](std::size_t a, std::size_t b) {
        return roundedSeconds(events[a].time) < roundedSeconds(events[b].time);
    });

    PhaseList list;
    std::vector<std::size_t> open; // indices into list.phases
    for (const std::size_t i : order) {
        const Event &event = events[i];
        if (!isPhaseKind(event.kind))
            continue;
        const auto found = std::find_if(open.begin(), open.end(), [&](std::size_t k) {
            return samePhaseName(list.phases[k].name, event.phase);
        });
        if (event.kind == EventKind::PhaseStart) {
            if (found != open.end()) {
                list.unmatched.push_back(i);
                continue;
            }
            open.push_back(list.phases.size());
            list.phases.push_back(Phase{event.phase, event.time, std::nullopt});
        } else {
            if (found == open.end()) {
                list.unmatched.push_back(i);
                continue;
            }
            list.phases[*found].finish = event.time;
            open.erase(found);
        }
    }
    std::sort(list.unmatched.begin(), list.unmatched.end());
    return list;
}

std::vector<Phase> phasesNamed(const std::vector<Phase> &phases,
                               const std::vector<std::string> &names) {
    std::vector<Phase> named;
    for (const Phase &phase : phases)
        if (std::any_of(names.begin(), names.end(),
                        [&](const std::string &name) { return samePhaseName(phase.name, name); }))
            named.push_back(phase);
    return named;
}

void writeEventsSection(const EventsSection &section, IniFile &file) {
    const std::string_view name = text::EVENTS_SECTION;
    const std::size_t oldEvents = storedCount(file, EVENT_COUNT_KEY);
    const std::size_t oldExcluded = storedCount(file, EXCLUDED_COUNT_KEY);
    file.setValue(name, EVENT_COUNT_KEY, std::to_string(section.events.size()));
    for (std::size_t i = 0; i < std::max(section.events.size(), oldEvents); ++i) {
        const bool kept = i < section.events.size();
        file.setValue(name, numberedKey(EVENT_KEY, i + 1),
                      kept ? eventText(section.events[i]) : "");
        file.setValue(name, numberedKey(NOTE_KEY, i + 1), kept ? section.events[i].note : "");
    }
    file.setValue(name, EXCLUDED_COUNT_KEY, std::to_string(section.excludedPhases.size()));
    for (std::size_t i = 0; i < std::max(section.excludedPhases.size(), oldExcluded); ++i)
        file.setValue(name, numberedKey(EXCLUDED_KEY, i + 1),
                      i < section.excludedPhases.size() ? section.excludedPhases[i] : "");
}

EventsSectionReading readEventsSection(const IniFile &file) {
    const std::string_view name = text::EVENTS_SECTION;
    EventsSectionReading reading;
    const std::size_t events = storedCount(file, EVENT_COUNT_KEY);
    for (std::size_t i = 1; i <= events; ++i) {
        std::optional<Event> event = readEvent(file.value(name, numberedKey(EVENT_KEY, i), ""));
        if (!event) {
            ++reading.unreadable;
            continue;
        }
        event->note = file.value(name, numberedKey(NOTE_KEY, i), "");
        reading.section.events.push_back(std::move(*event));
    }
    const std::size_t excluded = storedCount(file, EXCLUDED_COUNT_KEY);
    for (std::size_t i = 1; i <= excluded; ++i) {
        const std::string phase = file.value(name, numberedKey(EXCLUDED_KEY, i), "");
        if (!trimmed(phase).empty())
            reading.section.excludedPhases.push_back(phase);
    }
    return reading;
}

} // namespace zqar
