#pragma once
// The mean kinetic temperature over rolling windows: for each position, every window
// [t, t + W) that starts at a reading t and ends no later than one interval after the span's
// finish, and the highest MKT among them. The windows share one pass over the readings: the
// readings are cut into stretches as long as a window, each with its own largest term factored
// out, so every window is one stretch's tail and the next one's head and costs two products.

#include "core/data/LoggerArray.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zqar {

// The window setting as typed: empty for none, else a number of hours above 0.
struct MktWindowReading {
    std::optional<double> hours;
    bool wrong = false; // the text is neither empty nor such a number
};
MktWindowReading readMktWindow(std::string_view text);

struct WindowMkt {
    double mkt = 0.0;   // degrees
    double start = 0.0; // day numbers of the window [start, end)
    double end = 0.0;
};

// Every window of a record over the span from start to finish (day numbers), in time order;
// enthalpy is H = E / R in kelvin (mktEnthalpy). Empty when no window fits in the span or a
// reading lies at or below absolute zero. A window whose mean of exponentials lies hundreds of
// powers of e below that of the highest window may lose digits; the highest never does.
std::vector<WindowMkt> windowMkts(const LogFile &record, double start, double finish,
                                  double windowHours, double enthalpy);
// The window with the highest MKT (the earliest of equal ones), as windowMkts would give it
// but without a logarithm per window.
std::optional<WindowMkt> highestWindowMkt(const LogFile &record, double start, double finish,
                                          double windowHours, double enthalpy);

struct RollingMktPosition {
    std::string position;
    bool placed = false;
    std::string logger;
    std::optional<WindowMkt> window; // the highest window, none without one
};

struct RollingMkt {
    double windowHours = 0.0;
    std::vector<RollingMktPosition> positions; // every position in array order
    std::optional<std::size_t> highest;        // the position with the highest window
};

RollingMkt computeRollingMkt(const LoggerArray &array, double start, double finish,
                             double windowHours, double activationEnergy);

// Position,Logger,Window Hours,Highest MKT,Window Start,Window End, "-" where none.
std::string rollingMktCsv(const RollingMkt &rolling);
// The report's line naming the highest window of all positions; empty when there is none.
std::string highestRollingMktLine(const RollingMkt &rolling);

} // namespace zqar
