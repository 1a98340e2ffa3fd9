#pragma once
// Where to put the permanent monitoring probes. The first ones go to the extremes of the
// mapping (highest reading, lowest reading, largest spread); each further one is the position
// whose series, added to the chosen ones, best explains every position's series by least
// squares with an intercept. For every rank the fit's remaining error is reported: its root
// mean square over positions and instants, and its largest single value with where and when.
//
// The fit works on a matrix of positions x reading instants that the caller provides, so the
// instants can be the calculated averaged sets (instantsFromSets), the qualification's reading
// instants (qualificationInstants) or any other list of instants. Plain values in, plain
// values out.

#include "core/analysis/ReadingInstants.h"

#include <cstddef>
#include <string>
#include <vector>

namespace zqar {

struct MappingStatistics;
struct Phase;
class SetList;

// One instant per calculated set whose start lies in the statistics' span (to the second, as
// the span's samples are chosen), at the set's start, with the values the positions' loggers
// gave it. Estimated cells count as missing: the fit looks at readings only. A set that starts
// inside one of the phases left out of the statistics (from its start through its finish, to
// the second, as their samples are left out) gives no instant.
ReadingInstants instantsFromSets(const SetList &sets, const MappingStatistics &statistics,
                                 const std::vector<Phase> &excludedPhases = {});

// In the order of the reasons' texts (text::PROBE_REASONS).
enum class ProbeReason { HighestReading, LowestReading, LargestSpread, BestNextFit };

struct ChosenProbe {
    std::size_t position = 0; // index into MappingStatistics::positions
    ProbeReason reason = ProbeReason::BestNextFit;
    // The fit with this probe and the ones before it; meaningful when the suggestion has a
    // fit. Temperatures in the loggers' unit.
    double rmsAfter = 0.0;
    double largestResidual = 0.0;    // the residual of largest magnitude, with its sign
    std::size_t largestPosition = 0; // index into MappingStatistics::positions
    double largestTime = 0.0;        // day number of its instant
};

struct ProbeSuggestion {
    std::vector<ChosenProbe> probes; // in rank order, the must-include ones first
    // Whether there was anything to fit: at least one position with readings at the instants
    // kept. Without a fit only the must-include probes are named.
    bool hasFit = false;
    double rmsBefore = 0.0;          // the series about their own means, before any probe
    std::size_t fittedPositions = 0; // positions whose series take part in the fit
    std::size_t instantsUsed = 0;
    std::size_t instantsLeftOut = 0; // instants at which a fitted position has no reading
};

// Up to count probes (fewer when fewer positions have readings). The must-include probes
// come from the statistics' figures, that is from every reading in their span. The fit takes
// the positions with readings at no fewer than half of the instants, and the instants at
// which all of those have readings; instants must have as many positions as the statistics,
// or nothing is fitted. threads: 0 for one per core; the result does not depend on it.
ProbeSuggestion suggestProbes(const MappingStatistics &statistics, const ReadingInstants &instants,
                              int count, unsigned threads = 0);

// "Rank,Position,Logger,Reason,RMS After,Largest Residual,At Position,At Time" and a row per
// probe; the residual is written as its magnitude, "-" for the figures when there is no fit.
std::string probesCsv(const MappingStatistics &statistics, const ProbeSuggestion &suggestion);
// The rows of that file, as the window and the report show them.
std::vector<std::vector<std::string>> probeRows(const MappingStatistics &statistics,
                                                const ProbeSuggestion &suggestion);

} // namespace zqar
