#pragma once
// What the events of a run mean for the readings: the recovery time after each door closing,
// the hold time after each power failure, and the readings of the phases left out of the
// statistics. Plain values over the logger array and the job's events (core/data/events.h).

#include "core/analysis/qualification.h"
#include "core/data/LoggerArray.h"
#include "core/data/events.h"

#include <string>
#include <vector>

namespace zqar {

struct StatisticsSettings;

enum class EventFigureKind { None, RecoveryTime, HoldTime };

struct EventFigure {
    EventFigureKind kind = EventFigureKind::None; // None for events other than door closed and
                                                  // power off
    bool limited = false;                         // a limit was set; without one the figure is "-"
    // Recovery: found when the readings recovered. Hold: found when a position left the limits,
    // then position names it; not found is "held".
    TimeFigure time;
    std::string position;
};

struct EventOutcome {
    Event event;
    EventFigure figure;
};

// The events in time order with their figures, the limits being the statistics' limits:
//   - recovery time (door closed): from the door closing to the earliest reading time t_r at or
//     after it such that every reading of every position from t_r (included) to the next event
//     (excluded), or through finish when none follows, lies within the limits;
//   - hold time (power off): from the power going off to the first reading at or after it at
//     which any position is outside the limits, before the next power on (or through finish).
// finish is the span's finish, a day number.
std::vector<EventOutcome> eventOutcomes(const LoggerArray &array, const std::vector<Event> &events,
                                        double finish, const StatisticsSettings &limits);

// A copy of the array for the statistics with the readings of the phases left out: samples
// whose time lies in a phase, both ends included and to the second, become NO_VALUE. Samples
// left out at either end of a record are cut off instead, so the statistics see fewer samples.
LoggerArray withoutPhases(const LoggerArray &array, const std::vector<Phase> &phases);

} // namespace zqar
