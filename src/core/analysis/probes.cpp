#include "core/analysis/probes.h"

#include "core/analysis/SetList.h"
#include "core/analysis/statistics.h"
#include "core/analysis/statisticsCsv.h"
#include "core/data/dateTime.h"
#include "core/data/events.h"
#include "core/data/numbers.h"
#include "core/data/parallelInOrder.h"
#include "resources/strings.h"
#include "resources/studyTexts.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>

namespace zqar {

namespace {

constexpr int TEMPERATURE_DECIMALS = 2;
// A series whose residual sum of squares has fallen to this share of its own sum of squares
// about its mean is explained already: as a probe it adds nothing, and projecting on what is
// left of it would only spread rounding noise.
constexpr double NEGLIGIBLE_SHARE = 1e-10;
// Instants per partial cross-product matrix. The partial matrices are added in block order,
// so the sums do not depend on how many threads made them.
constexpr std::size_t GRAM_BLOCK = 2048;
// Instants copied into one position-by-position tile of the cross products.
constexpr std::size_t GRAM_TILE = 64;
// Positions per task of a projection step.
constexpr std::size_t POSITIONS_PER_TASK = 8;

// Sums over a series run in LANES interleaved partial sums, added together at the end in a
// fixed order: the same result on every run and thread count, without waiting on one long
// chain of additions.
constexpr std::size_t LANES = 8;

double laneTotal(const double (&lanes)[LANES]) {
    return ((lanes[0] + lanes[1]) + (lanes[2] + lanes[3])) +
           ((lanes[4] + lanes[5]) + (lanes[6] + lanes[7]));
}

double dotProduct(const double *x, const double *y, std::size_t length) {
    double lanes[LANES] = {};
    std::size_t k = 0;
    for (; k + LANES <= length; k += LANES)
        for (std::size_t j = 0; j < LANES; ++j)
            lanes[j] += x[k + j] * y[k + j];
    double tail = 0.0;
    for (; k < length; ++k)
        tail += x[k] * y[k];
    return laneTotal(lanes) + tail;
}

double seriesSum(const double *x, std::size_t length) {
    double lanes[LANES] = {};
    std::size_t k = 0;
    for (; k + LANES <= length; k += LANES)
        for (std::size_t j = 0; j < LANES; ++j)
            lanes[j] += x[k + j];
    double tail = 0.0;
    for (; k < length; ++k)
        tail += x[k];
    return laneTotal(lanes) + tail;
}

// The series the fit works on, position by position: first each fitted position's readings
// about their mean, then, as probes are added, the residuals of the fit.
struct Fit {
    std::vector<std::size_t> positions; // index into the statistics of each fitted position
    std::vector<double> times;          // day numbers of the instants kept
    std::size_t length = 0;             // instants kept
    // positions.size() rows of length values. Every value is written before it is read, so the
    // hundreds of megabytes of a year are not cleared first.
    std::unique_ptr<double[]> residuals;
    double *row(std::size_t i) { return residuals.get() + i * length; }
    const double *row(std::size_t i) const { return residuals.get() + i * length; }
};

Fit gatherFit(const MappingStatistics &statistics, const ReadingInstants &instants,
              std::size_t &instantsLeftOut) {
    Fit fit;
    instantsLeftOut = 0;
    const std::size_t positionCount = statistics.positions.size();
    if (instants.positionCount != positionCount || positionCount == 0)
        return fit;
    const std::size_t total = instants.count();
    std::vector<std::size_t> present(positionCount, 0);
    for (std::size_t t = 0; t < total; ++t) {
        const double *values = instants.values.data() + t * positionCount;
        for (std::size_t p = 0; p < positionCount; ++p)
            present[p] += values[p] != NO_VALUE;
    }
    for (std::size_t p = 0; p < positionCount; ++p)
        if (statistics.positions[p].samples > 0 && present[p] > 0 && 2 * present[p] >= total)
            fit.positions.push_back(p);
    if (fit.positions.empty())
        return fit;

    std::vector<std::size_t> kept;
    for (std::size_t t = 0; t < total; ++t) {
        const double *values = instants.values.data() + t * positionCount;
        const bool complete = std::all_of(fit.positions.begin(), fit.positions.end(),
                                          [&](std::size_t p) { return values[p] != NO_VALUE; });
        if (complete)
            kept.push_back(t);
    }
    instantsLeftOut = total - kept.size();
    if (kept.empty()) {
        fit.positions.clear();
        return fit;
    }
    fit.length = kept.size();
    for (const std::size_t t : kept)
        fit.times.push_back(instants.times[t]);
    const std::size_t n = fit.positions.size();
    fit.residuals.reset(new double[n * fit.length]);
    // Instant by instant, so the instants are read in the order they are stored.
    for (std::size_t k = 0; k < fit.length; ++k) {
        const double *values = instants.values.data() + kept[k] * positionCount;
        for (std::size_t i = 0; i < n; ++i)
            fit.residuals[i * fit.length + k] = values[fit.positions[i]];
    }
    for (std::size_t i = 0; i < n; ++i) {
        double *series = fit.row(i);
        const double mean = seriesSum(series, fit.length) / static_cast<double>(fit.length);
        for (std::size_t k = 0; k < fit.length; ++k)
            series[k] -= mean;
    }
    return fit;
}

// The cross products of the centred series, positions x positions (the upper triangle
// filled), each entry the sum over the instants of one block, in time order.
std::vector<double> blockCrossProducts(const Fit &fit, std::size_t block) {
    const std::size_t n = fit.positions.size();
    std::vector<double> products(n * n, 0.0);
    std::vector<double> tile(GRAM_TILE * n);
    const std::size_t from = block * GRAM_BLOCK;
    const std::size_t to = std::min(from + GRAM_BLOCK, fit.length);
    for (std::size_t start = from; start < to; start += GRAM_TILE) {
        const std::size_t width = std::min(GRAM_TILE, to - start);
        // Instant by instant, so that one instant's values of every position lie together.
        for (std::size_t i = 0; i < n; ++i) {
            const double *series = fit.row(i) + start;
            for (std::size_t k = 0; k < width; ++k)
                tile[k * n + i] = series[k];
        }
        for (std::size_t a = 0; a < n; ++a) {
            double *out = products.data() + a * n;
            std::size_t k = 0;
            // Four instants per sweep over the row, added one after another as a plain
            // loop over the instants would add them.
            for (; k + 4 <= width; k += 4) {
                const double *r0 = tile.data() + k * n;
                const double *r1 = r0 + n;
                const double *r2 = r1 + n;
                const double *r3 = r2 + n;
                const double x0 = r0[a];
                const double x1 = r1[a];
                const double x2 = r2[a];
                const double x3 = r3[a];
                for (std::size_t b = a; b < n; ++b)
                    out[b] = (((out[b] + x0 * r0[b]) + x1 * r1[b]) + x2 * r2[b]) + x3 * r3[b];
            }
            for (; k < width; ++k) {
                const double *r = tile.data() + k * n;
                const double x = r[a];
                for (std::size_t b = a; b < n; ++b)
                    out[b] = out[b] + x * r[b];
            }
        }
    }
    return products;
}

// The full symmetric matrix of cross products over every instant kept.
std::vector<double> crossProducts(const Fit &fit, unsigned threads) {
    const std::size_t n = fit.positions.size();
    std::vector<double> total(n * n, 0.0);
    const std::size_t blocks = (fit.length + GRAM_BLOCK - 1) / GRAM_BLOCK;
    parallelInOrder<std::vector<double>>(
        blocks, threads, [&](std::size_t block) { return blockCrossProducts(fit, block); },
        [&](std::size_t, std::vector<double> part) {
            for (std::size_t a = 0; a < n; ++a)
                for (std::size_t b = a; b < n; ++b)
                    total[a * n + b] += part[a * n + b];
        });
    for (std::size_t a = 0; a < n; ++a)
        for (std::size_t b = 0; b < a; ++b)
            total[a * n + b] = total[b * n + a];
    return total;
}

// Where the fit stands: each position's residual sum of squares and largest residual.
struct PositionResidual {
    double squares = 0.0;
    double largest = 0.0; // with its sign
    std::size_t at = 0;   // instant
};

PositionResidual measureResidual(const double *series, std::size_t length) {
    PositionResidual result;
    result.squares = dotProduct(series, series, length);
    double largestMagnitude = -1.0;
    for (std::size_t k = 0; k < length; ++k) {
        if (std::fabs(series[k]) > largestMagnitude) {
            largestMagnitude = std::fabs(series[k]);
            result.largest = series[k];
            result.at = k;
        }
    }
    return result;
}

// One chosen direction taken out of the positions [first, last): each series loses its
// component along the unit vector q, and the coefficients are what it lost.
struct ProjectionPart {
    std::vector<double> coefficients;
    std::vector<PositionResidual> residuals;
};

ProjectionPart projectOut(Fit &fit, const std::vector<double> &q, std::size_t first,
                          std::size_t last) {
    ProjectionPart part;
    const std::size_t length = fit.length;
    for (std::size_t i = first; i < last; ++i) {
        double *series = fit.row(i);
        const double dot = dotProduct(q.data(), series, length);
        for (std::size_t k = 0; k < length; ++k)
            series[k] -= dot * q[k];
        part.coefficients.push_back(dot);
        part.residuals.push_back(measureResidual(series, length));
    }
    return part;
}

// The state of the greedy choice: the residual series, their cross products and their
// sums of squares.
class ProbeFit {
public:
    ProbeFit(Fit &fitData, unsigned threadCount) : fit(fitData), threads(threadCount) {
        const std::size_t n = fit.positions.size();
        products = crossProducts(fit, threads);
        residuals.resize(n);
        for (std::size_t i = 0; i < n; ++i)
            residuals[i] = measureResidual(fit.row(i), fit.length);
        ownSquares.resize(n);
        for (std::size_t i = 0; i < n; ++i)
            ownSquares[i] = residuals[i].squares;
        chosen.assign(n, false);
    }

    // A series that still holds more than rounding noise of its own.
    bool informative(std::size_t i) const {
        return residuals[i].squares > 0.0 &&
               residuals[i].squares > NEGLIGIBLE_SHARE * ownSquares[i];
    }

    // The unchosen position whose residual explains most of every position's residual: the
    // largest sum over i of (e_i . e_j)^2 / (e_j . e_j). Ties go to the first in order; with
    // nothing left to explain, the first unchosen position.
    std::optional<std::size_t> bestNext() const {
        const std::size_t n = fit.positions.size();
        std::optional<std::size_t> best;
        double bestGain = -1.0;
        for (std::size_t j = 0; j < n; ++j) {
            if (chosen[j])
                continue;
            double gain = 0.0;
            const double own = products[j * n + j];
            if (informative(j) && own > 0.0) {
                double sum = 0.0;
                for (std::size_t i = 0; i < n; ++i)
                    sum += products[i * n + j] * products[i * n + j];
                gain = sum / own;
            }
            if (gain > bestGain) {
                bestGain = gain;
                best = j;
            }
        }
        return best;
    }

    // Adds position j to the regressors: modified Gram-Schmidt on the residual series, so each
    // residual loses its component along j's residual, and the cross products lose the same
    // outer product of coefficients.
    void choose(std::size_t j) {
        chosen[j] = true;
        if (!informative(j))
            return;
        const std::size_t n = fit.positions.size();
        const std::size_t length = fit.length;
        const double norm = std::sqrt(residuals[j].squares);
        std::vector<double> q(length);
        const double *own = fit.row(j);
        for (std::size_t k = 0; k < length; ++k)
            q[k] = own[k] / norm;
        std::vector<double> coefficients(n, 0.0);
        const std::size_t tasks = (n + POSITIONS_PER_TASK - 1) / POSITIONS_PER_TASK;
        parallelInOrder<ProjectionPart>(
            tasks, threads,
            [&](std::size_t task) {
                const std::size_t first = task * POSITIONS_PER_TASK;
                return projectOut(fit, q, first, std::min(first + POSITIONS_PER_TASK, n));
            },
            [&](std::size_t task, ProjectionPart part) {
                const std::size_t first = task * POSITIONS_PER_TASK;
                for (std::size_t k = 0; k < part.coefficients.size(); ++k) {
                    coefficients[first + k] = part.coefficients[k];
                    residuals[first + k] = part.residuals[k];
                }
            });
        // A chosen series is one of the regressors: the fit reproduces it exactly.
        std::fill(fit.row(j), fit.row(j) + length, 0.0);
        residuals[j] = PositionResidual{};
        for (std::size_t a = 0; a < n; ++a)
            for (std::size_t b = 0; b < n; ++b)
                products[a * n + b] -= coefficients[a] * coefficients[b];
        for (std::size_t i = 0; i < n; ++i) {
            products[i * n + j] = 0.0;
            products[j * n + i] = 0.0;
        }
    }

    // The root mean square over every position and instant, and the largest residual.
    void describe(ChosenProbe &probe) const {
        double squares = 0.0;
        double largestMagnitude = -1.0;
        for (std::size_t i = 0; i < residuals.size(); ++i) {
            squares += residuals[i].squares;
            if (std::fabs(residuals[i].largest) > largestMagnitude) {
                largestMagnitude = std::fabs(residuals[i].largest);
                probe.largestResidual = residuals[i].largest;
                probe.largestPosition = fit.positions[i];
                probe.largestTime = fit.times[residuals[i].at];
            }
        }
        probe.rmsAfter = std::sqrt(
            squares / (static_cast<double>(residuals.size()) * static_cast<double>(fit.length)));
    }

private:
    Fit &fit;
    unsigned threads;
    std::vector<double> products; // n x n: e_a . e_b of the current residuals
    std::vector<PositionResidual> residuals;
    std::vector<double> ownSquares; // each series' sum of squares about its mean
    std::vector<bool> chosen;
};

// The highest single reading, the lowest, and the largest spread, each once.
std::vector<std::pair<std::size_t, ProbeReason>> mustInclude(const MappingStatistics &statistics) {
    std::vector<std::pair<std::size_t, ProbeReason>> found;
    auto add = [&found](std::size_t position, ProbeReason reason) {
        for (const auto &earlier : found)
            if (earlier.first == position)
                return;
        found.emplace_back(position, reason);
    };
    const HotAndColdSpots &spots = statistics.spots;
    if (spots.highestReading.found)
        add(spots.highestReading.position, ProbeReason::HighestReading);
    if (spots.lowestReading.found)
        add(spots.lowestReading.position, ProbeReason::LowestReading);
    std::optional<std::size_t> widest;
    double widestSpread = 0.0;
    for (std::size_t p = 0; p < statistics.positions.size(); ++p) {
        const PositionStatistics &figures = statistics.positions[p];
        if (figures.samples <= 0)
            continue;
        const double spread = figures.maximum - figures.minimum;
        if (!widest || spread > widestSpread) {
            widest = p;
            widestSpread = spread;
        }
    }
    if (widest)
        add(*widest, ProbeReason::LargestSpread);
    return found;
}

} // namespace

ReadingInstants instantsFromSets(const SetList &sets, const MappingStatistics &statistics,
                                 const std::vector<Phase> &excludedPhases) {
    ReadingInstants instants(statistics.positions.size());
    const int64_t first = roundedSeconds(statistics.start);
    const int64_t last = roundedSeconds(statistics.finish);
    const auto excluded = [&excludedPhases](int64_t at) {
        return std::any_of(excludedPhases.begin(), excludedPhases.end(), [at](const Phase &phase) {
            return at >= roundedSeconds(phase.start) &&
                   (!phase.finish || at <= roundedSeconds(*phase.finish));
        });
    };
    std::vector<double> row(statistics.positions.size());
    for (int s = 0; s < sets.count(); ++s) {
        const TemperatureSet &set = *sets.at(s);
        const int64_t at = roundedSeconds(set.time.day);
        if (at < first || at > last || excluded(at))
            continue;
        for (std::size_t p = 0; p < statistics.positions.size(); ++p) {
            const PositionStatistics &position = statistics.positions[p];
            row[p] = set.isMeasured(position.row, position.col)
                         ? set.valueAt(position.row, position.col)
                         : NO_VALUE;
        }
        instants.add(set.time.day, row);
    }
    return instants;
}

ProbeSuggestion suggestProbes(const MappingStatistics &statistics, const ReadingInstants &instants,
                              int count, unsigned threads) {
    ProbeSuggestion suggestion;
    const auto must = mustInclude(statistics);
    std::size_t withReadings = 0;
    for (const PositionStatistics &position : statistics.positions)
        withReadings += position.samples > 0;
    const std::size_t wanted = std::min<std::size_t>(std::max(count, 0), withReadings);

    Fit fit = gatherFit(statistics, instants, suggestion.instantsLeftOut);
    if (fit.positions.empty()) {
        for (std::size_t rank = 0; rank < std::min(wanted, must.size()); ++rank) {
            ChosenProbe probe;
            probe.position = must[rank].first;
            probe.reason = must[rank].second;
            suggestion.probes.push_back(probe);
        }
        return suggestion;
    }
    suggestion.hasFit = true;
    suggestion.fittedPositions = fit.positions.size();
    suggestion.instantsUsed = fit.length;
    std::vector<std::optional<std::size_t>> fitIndex(statistics.positions.size());
    for (std::size_t i = 0; i < fit.positions.size(); ++i)
        fitIndex[fit.positions[i]] = i;

    ProbeFit state(fit, threads);
    ChosenProbe before;
    state.describe(before);
    suggestion.rmsBefore = before.rmsAfter;
    for (std::size_t rank = 0; rank < wanted; ++rank) {
        ChosenProbe probe;
        if (rank < must.size()) {
            probe.position = must[rank].first;
            probe.reason = must[rank].second;
            if (const auto i = fitIndex[probe.position])
                state.choose(*i);
        } else {
            const std::optional<std::size_t> next = state.bestNext();
            if (!next)
                break;
            probe.position = fit.positions[*next];
            probe.reason = ProbeReason::BestNextFit;
            state.choose(*next);
        }
        state.describe(probe);
        suggestion.probes.push_back(probe);
    }
    return suggestion;
}

std::string probesCsv(const MappingStatistics &statistics, const ProbeSuggestion &suggestion) {
    std::string csv(text::PROBES_CSV_HEADER);
    csv += CSV_LINE_END;
    for (const std::vector<std::string> &row : probeRows(statistics, suggestion))
        appendCsvLine(csv, row);
    return csv;
}

std::vector<std::vector<std::string>> probeRows(const MappingStatistics &statistics,
                                                const ProbeSuggestion &suggestion) {
    std::vector<std::vector<std::string>> rows;
    const std::string none(text::NO_LOGGER);
    for (std::size_t rank = 0; rank < suggestion.probes.size(); ++rank) {
        const ChosenProbe &probe = suggestion.probes[rank];
        const PositionStatistics &position = statistics.positions[probe.position];
        std::vector<std::string> fields{
            std::to_string(rank + 1), position.position, position.logger,
            std::string(text::PROBE_REASONS[static_cast<int>(probe.reason)])};
        if (suggestion.hasFit) {
            fields.push_back(formatFixed(probe.rmsAfter, TEMPERATURE_DECIMALS));
            fields.push_back(formatFixed(std::fabs(probe.largestResidual), TEMPERATURE_DECIMALS));
            fields.push_back(statistics.positions[probe.largestPosition].position);
            fields.push_back(formatDateTime(probe.largestTime));
        } else {
            fields.insert(fields.end(), 4, none);
        }
        rows.push_back(std::move(fields));
    }
    return rows;
}

} // namespace zqar
