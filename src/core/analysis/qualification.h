#pragma once
// Chamber and room qualification: the figures qualification protocols name, from the loggers'
// readings over a stable window W. Plain values; the Statistics window, the batch tool and the
// report read the settings with readQualificationSettings and show what computeQualification
// gives (see qualificationCsv.h for the rows they share).
//
// An instant is a time at which the positions' readings are compared: the time of each reading
// of the reference position in W. T[i][j] is position i's reading at instant j: the
// reference's own reading, and for every other position its reading nearest to the instant
// within half its own sample period (none: the position is left out at that instant). Times
// are compared to the second, as the texts show them. Missing samples (NO_VALUE) are no
// readings; a caller that leaves out phases passes an array with them set so (eventFigures.h).

#include "core/analysis/ReadingInstants.h"
#include "core/analysis/arrayPositions.h"
#include "core/data/LoggerArray.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zqar {

// The classes of the furnace surveys, kelvin either side of the set point, tightest first.
constexpr int TOLERANCE_CLASSES[] = {3, 6, 8, 10, 14, 28};

struct QualificationSettings {
    std::optional<double> setPoint;     // the loggers' unit; none: no set point
    std::optional<double> tolerance;    // either side of the set point, 0 or more
    std::optional<double> stableStart;  // day numbers, both ends in W; none: the span's start
    std::optional<double> stableFinish; // none: the span's finish
    // None: the placed cell nearest to row (rows + 1) / 2 and column (columns + 1) / 2 (from 1),
    // the smaller row and then the smaller column among equally near ones.
    std::optional<ArrayPosition> referencePosition;
};

enum class QualificationProblem {
    None,
    SetPoint,                // not a number
    Tolerance,               // not a number, or below 0
    StableStart,             // not a date-time
    StableFinish,            // not a date-time
    StableWindowOrder,       // W finishes before it starts
    ReferencePositionFormat, // neither "R3C2" nor "S1"
    ReferencePositionOutside,
    NoReferenceReadings, // the reference holds no logger or no reading in W
};

struct QualificationSettingsReading {
    QualificationSettings settings;
    QualificationProblem problem = QualificationProblem::None;
};

// The five setting texts as the user typed them; an empty text is "none". Numbers are read as
// the statistics' limits are read, dates as every date the user types (parseDateTime).
QualificationSettingsReading readQualificationSettings(std::string_view setPointText,
                                                       std::string_view toleranceText,
                                                       std::string_view stableStartText,
                                                       std::string_view stableFinishText,
                                                       std::string_view referencePositionText);

// The message box text of a problem; empty for None.
std::string_view qualificationProblemMessage(QualificationProblem problem);

// The default reference of an array; none when no cell holds a logger.
std::optional<ArrayPosition> defaultReferencePosition(const LoggerArray &array);

// A duration up to a reading time, or that no reading time qualified.
struct TimeFigure {
    bool found = false;   // false: not reached, not recovered, held
    double time = 0.0;    // the reading time it ends at, a day number
    double minutes = 0.0; // from its origin to time, both rounded to the second
};

struct PositionQualification {
    ArrayPosition at;
    std::string position; // "R1C1", "S1"
    bool placed = false;
    std::string logger; // the record's label; empty when the position is empty
    int32_t instants = 0;
    // Over the position's T values; meaningful when instants > 0.
    double mean = 0.0;
    double minimum = 0.0;
    double maximum = 0.0;
    double deviationFromReference = 0.0; // mean minus the reference's mean
    std::optional<double> deviationFromSetPoint;
    double spread() const { return maximum - minimum; }
};

struct Qualification {
    QualificationProblem problem = QualificationProblem::None;
    double start = 0.0; // day numbers of the span
    double finish = 0.0;
    double stableStart = 0.0; // W, resolved
    double stableFinish = 0.0;
    std::optional<double> setPoint;
    std::optional<double> tolerance;
    std::size_t reference = 0; // index into positions; meaningful without a problem
    int32_t instants = 0;
    // Meaningful when instants > 0, which a result without a problem always has.
    double maximumDeviationFromReference = 0.0;
    double meanSpread = 0.0;
    double stability = 0.0; // half the widest range of a position, shown as +/-
    double overallVariation = 0.0;
    std::optional<double> setPointDeviation;      // none without a set point
    std::optional<TimeFigure> stabilisation;      // none without a set point and a tolerance
    std::optional<int> toleranceClass;            // none without a set point or when none holds
    std::vector<PositionQualification> positions; // cells row by row, then the singular slots

    // Only for a result without a problem.
    const PositionQualification &referencePosition() const { return positions[reference]; }
};

// The figures over the span from start through finish (day numbers: the Data Filter span).
// Stabilisation counts from start and looks at the readings from start through the end of W;
// the tolerance class holds every reading in W, not only the T values.
Qualification computeQualification(const LoggerArray &array, double start, double finish,
                                   const QualificationSettings &settings);

// The T values themselves, the instants and positions the figures above are taken over: one
// row per instant at the reference's reading time, every position's T value in the order of
// Qualification::positions (which is that of MappingStatistics::positions), NO_VALUE where a
// position is left out at that instant. Refused for the same problems as computeQualification.
// threads: 0 for one per core; the result does not depend on it.
struct QualificationInstants {
    QualificationProblem problem = QualificationProblem::None;
    std::size_t reference = 0; // index into the positions; meaningful without a problem
    ReadingInstants instants;  // empty with a problem
};
QualificationInstants qualificationInstants(const LoggerArray &array, double start, double finish,
                                            const QualificationSettings &settings,
                                            unsigned threads = 0);

} // namespace zqar
