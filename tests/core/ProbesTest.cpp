#include "core/analysis/probes.h"
#include "core/analysis/SetList.h"
#include "core/analysis/TemperatureSet.h"
#include "core/analysis/qualification.h"
#include "core/analysis/statistics.h"
#include "core/data/events.h"
#include "core/job/Prefill.h"

#include "support/SeriesArray.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace zqar;
using namespace zqar::testing;

namespace {

constexpr int SAMPLES = 240;

// Every sample of the array's records as an instant, at the positions of the statistics.
ReadingInstants everySample(const LoggerArray &array, const MappingStatistics &statistics) {
    ReadingInstants instants(statistics.positions.size());
    for (int t = 0; t < SAMPLES; ++t) {
        std::vector<double> row;
        for (const PositionStatistics &p : statistics.positions) {
            const LogFile *record = array.at(p.row == SINGULAR_ROW ? -1 : p.row, p.col);
            row.push_back(record ? record->values[static_cast<std::size_t>(t)] : NO_VALUE);
        }
        instants.add(juneFirst() + t * MINUTE / SECONDS_PER_DAY, row);
    }
    return instants;
}

// A span an hour either side of the records, so that loggers started a little late still lie
// within it.
constexpr double HOUR = 1.0 / 24.0; // days

MappingStatistics wholeSpan(const LoggerArray &array) {
    return computeStatistics(array, coveredSpan(array).start, coveredSpan(array).finish, {});
}

// Positions that follow a few common signals with their own weights and noise.
std::vector<std::vector<double>> mixedField(int positions, unsigned seed) {
    std::mt19937 random(seed);
    std::normal_distribution<double> normal(0.0, 1.0);
    std::vector<std::vector<double>> signals(3, std::vector<double>(SAMPLES));
    for (auto &signal : signals)
        for (double &value : signal)
            value = normal(random);
    std::vector<std::vector<double>> field;
    for (int i = 0; i < positions; ++i) {
        const double offset = 20.0 + normal(random);
        const double w0 = normal(random);
        const double w1 = normal(random);
        const double w2 = normal(random);
        const double noise = 0.05 + 0.1 * (i % 4);
        std::vector<double> series(SAMPLES);
        for (int t = 0; t < SAMPLES; ++t) {
            const auto k = static_cast<std::size_t>(t);
            series[k] = offset + w0 * signals[0][k] + w1 * signals[1][k] + w2 * signals[2][k] +
                        noise * normal(random);
        }
        field.push_back(series);
    }
    return field;
}

// An independent route to the fit's error: for each position, the normal equations of its
// centred series on the chosen centred series, solved by Gaussian elimination; the root mean
// square of what is left over every position and instant.
double bruteForceRms(const std::vector<std::vector<double>> &field,
                     const std::vector<std::size_t> &chosen) {
    const std::size_t n = field.size();
    std::vector<std::vector<double>> centred = field;
    for (auto &series : centred) {
        double sum = 0.0;
        for (double v : series)
            sum += v;
        for (double &v : series)
            v -= sum / SAMPLES;
    }
    const std::size_t k = chosen.size();
    double squares = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        std::vector<std::vector<double>> system(k);
        for (auto &row : system)
            row.assign(k + 1, 0.0);
        for (std::size_t a = 0; a < k; ++a) {
            for (std::size_t b = 0; b < k; ++b)
                for (int t = 0; t < SAMPLES; ++t)
                    system[a][b] += centred[chosen[a]][t] * centred[chosen[b]][t];
            for (int t = 0; t < SAMPLES; ++t)
                system[a][k] += centred[chosen[a]][t] * centred[i][t];
        }
        for (std::size_t c = 0; c < k; ++c) {
            std::size_t pivot = c;
            for (std::size_t r = c + 1; r < k; ++r)
                if (std::fabs(system[r][c]) > std::fabs(system[pivot][c]))
                    pivot = r;
            std::swap(system[c], system[pivot]);
            for (std::size_t r = 0; r < k; ++r) {
                if (r == c)
                    continue;
                const double factor = system[r][c] / system[c][c];
                for (std::size_t col = c; col <= k; ++col)
                    system[r][col] -= factor * system[c][col];
            }
        }
        for (int t = 0; t < SAMPLES; ++t) {
            double fitted = 0.0;
            for (std::size_t a = 0; a < k; ++a)
                fitted += system[a][k] / system[a][a] * centred[chosen[a]][t];
            const double e = centred[i][t] - fitted;
            squares += e * e;
        }
    }
    return std::sqrt(squares / (static_cast<double>(n) * SAMPLES));
}

} // namespace

TEST(ProbeSuggestion, ExtremesComeFirstThenEachProbeIsTheBestNextFit) {
    const auto field = mixedField(12, 3);
    const LoggerArray array = seriesArray(3, 4, field);
    const MappingStatistics statistics = wholeSpan(array);
    const ProbeSuggestion suggestion =
        suggestProbes(statistics, everySample(array, statistics), 7, 1);
    ASSERT_TRUE(suggestion.hasFit);
    ASSERT_EQ(suggestion.probes.size(), 7u);
    EXPECT_EQ(suggestion.instantsUsed, static_cast<std::size_t>(SAMPLES));

    // The extremes, found here from the readings themselves.
    std::size_t highest = 0, lowest = 0, widest = 0;
    auto maxOf = [](const std::vector<double> &s) { return *std::max_element(s.begin(), s.end()); };
    auto minOf = [](const std::vector<double> &s) { return *std::min_element(s.begin(), s.end()); };
    for (std::size_t i = 1; i < field.size(); ++i) {
        if (maxOf(field[i]) > maxOf(field[highest]))
            highest = i;
        if (minOf(field[i]) < minOf(field[lowest]))
            lowest = i;
        if (maxOf(field[i]) - minOf(field[i]) > maxOf(field[widest]) - minOf(field[widest]))
            widest = i;
    }
    std::vector<std::size_t> expectedFirst{highest};
    std::vector<ProbeReason> reasons{ProbeReason::HighestReading};
    for (const auto &[position, reason] :
         {std::pair{lowest, ProbeReason::LowestReading}, {widest, ProbeReason::LargestSpread}})
        if (std::find(expectedFirst.begin(), expectedFirst.end(), position) ==
            expectedFirst.end()) {
            expectedFirst.push_back(position);
            reasons.push_back(reason);
        }
    for (std::size_t k = 0; k < expectedFirst.size(); ++k) {
        EXPECT_EQ(suggestion.probes[k].position, expectedFirst[k]);
        EXPECT_EQ(suggestion.probes[k].reason, reasons[k]);
    }

    std::vector<std::size_t> chosen;
    double previous = suggestion.rmsBefore;
    for (std::size_t k = 0; k < suggestion.probes.size(); ++k) {
        const ChosenProbe &probe = suggestion.probes[k];
        SCOPED_TRACE("rank " + std::to_string(k + 1));
        chosen.push_back(probe.position);
        EXPECT_LE(probe.rmsAfter, previous);
        previous = probe.rmsAfter;
        EXPECT_NEAR(probe.rmsAfter, bruteForceRms(field, chosen), 1e-10);
        if (probe.reason != ProbeReason::BestNextFit)
            continue;
        // No other position would have left a smaller error.
        for (std::size_t other = 0; other < field.size(); ++other) {
            if (std::find(chosen.begin(), chosen.end(), other) != chosen.end())
                continue;
            std::vector<std::size_t> instead(chosen.begin(), chosen.end() - 1);
            instead.push_back(other);
            EXPECT_GE(bruteForceRms(field, instead), probe.rmsAfter - 1e-12) << other;
        }
    }
}

TEST(ProbeSuggestion, OffsetsPlusOneCommonSignalAreFittedByTheFirstProbe) {
    // T(i, t) = m_i + s(t): every centred series is the same, so one probe explains them all.
    std::mt19937 random(11);
    std::normal_distribution<double> normal(0.0, 2.0);
    std::vector<double> signal(SAMPLES);
    for (double &value : signal)
        value = normal(random);
    std::vector<std::vector<double>> field;
    for (int i = 0; i < 9; ++i) {
        std::vector<double> series(SAMPLES);
        for (int t = 0; t < SAMPLES; ++t)
            series[static_cast<std::size_t>(t)] =
                15.0 + 0.7 * i + signal[static_cast<std::size_t>(t)];
        field.push_back(series);
    }
    const LoggerArray array = seriesArray(3, 3, field, {field[4]});
    const MappingStatistics statistics = wholeSpan(array);
    const ProbeSuggestion suggestion =
        suggestProbes(statistics, everySample(array, statistics), 5, 2);
    ASSERT_EQ(suggestion.probes.size(), 5u);
    EXPECT_GT(suggestion.rmsBefore, 1.0);
    for (const ChosenProbe &probe : suggestion.probes) {
        EXPECT_LT(probe.rmsAfter, 1e-12);
        EXPECT_LT(std::fabs(probe.largestResidual), 1e-12);
    }
    // Every position reads highest and lowest at the same instant, so the highest offset
    // has the highest reading and the lowest offset the lowest.
    EXPECT_EQ(suggestion.probes[0].reason, ProbeReason::HighestReading);
    EXPECT_EQ(statistics.positions[suggestion.probes[0].position].position, "R3C3");
    EXPECT_EQ(suggestion.probes[1].reason, ProbeReason::LowestReading);
    EXPECT_EQ(statistics.positions[suggestion.probes[1].position].position, "R1C1");
}

TEST(ProbeSuggestion, AMustIncludePositionChosenTwiceKeepsItsFirstReason) {
    // R1C2 has both the highest reading and the largest spread.
    std::vector<std::vector<double>> field(4, std::vector<double>(SAMPLES, 20.0));
    for (int t = 0; t < SAMPLES; ++t) {
        const auto k = static_cast<std::size_t>(t);
        field[0][k] = 20.0 + 0.1 * std::sin(t * 0.1);
        field[1][k] = 20.0 + 5.0 * std::sin(t * 0.05);
        field[2][k] = 18.0 + 0.5 * std::cos(t * 0.07);
        field[3][k] = 21.0 + 0.2 * std::sin(t * 0.3);
    }
    field[2][7] = 12.0; // the lowest reading
    const LoggerArray array = seriesArray(2, 2, field);
    const MappingStatistics statistics = wholeSpan(array);
    const ProbeSuggestion suggestion =
        suggestProbes(statistics, everySample(array, statistics), 10, 1);
    ASSERT_EQ(suggestion.probes.size(), 4u); // no more probes than positions
    EXPECT_EQ(suggestion.probes[0].position, 1u);
    EXPECT_EQ(suggestion.probes[0].reason, ProbeReason::HighestReading);
    EXPECT_EQ(suggestion.probes[1].position, 2u);
    EXPECT_EQ(suggestion.probes[1].reason, ProbeReason::LowestReading);
    EXPECT_EQ(suggestion.probes[2].reason, ProbeReason::BestNextFit);
    EXPECT_EQ(suggestion.probes[3].rmsAfter, 0.0);
}

TEST(ProbeSuggestion, MissingReadingsLeaveOutTheInstantOrThePosition) {
    const auto field = mixedField(4, 5);
    const LoggerArray array = seriesArray(2, 2, field);
    const MappingStatistics statistics = wholeSpan(array);
    ReadingInstants instants = everySample(array, statistics);
    // Position 1 misses ten instants, position 3 misses three quarters of them.
    for (std::size_t t = 0; t < 10; ++t)
        instants.values[t * 4 + 1] = NO_VALUE;
    for (std::size_t t = 0; t < SAMPLES * 3 / 4; ++t)
        instants.values[t * 4 + 3] = NO_VALUE;
    const ProbeSuggestion suggestion = suggestProbes(statistics, instants, 4, 1);
    EXPECT_EQ(suggestion.fittedPositions, 3u);
    EXPECT_EQ(suggestion.instantsUsed, static_cast<std::size_t>(SAMPLES - 10));
    EXPECT_EQ(suggestion.instantsLeftOut, 10u);
    for (const ChosenProbe &probe : suggestion.probes)
        EXPECT_NE(probe.largestPosition, 3u);

    // Instants that do not fit the statistics give no fit, only the extremes.
    const ProbeSuggestion unfitted = suggestProbes(statistics, ReadingInstants(3), 4, 1);
    EXPECT_FALSE(unfitted.hasFit);
    EXPECT_LE(unfitted.probes.size(), 3u);
    EXPECT_NE(probesCsv(statistics, unfitted).find(",highest reading,-,-,-,-\r\n"),
              std::string::npos);
}

TEST(ProbeSuggestion, SetInstantsTakeTheMeasuredValuesOfSetsStartingInTheSpan) {
    const LoggerArray array = seriesArray(1, 3, {{20.0, 21.0}, {}, {22.0, 23.0}});
    MappingStatistics statistics = wholeSpan(array);
    SetList sets;
    for (int s = 0; s < 3; ++s) {
        auto set = std::make_unique<TemperatureSet>(statistics.start + s * MINUTE / SECONDS_PER_DAY,
                                                    0.0, 1, 3, 0);
        set->setValue(0, 0, 20.0 + s);
        set->setMeasured(0, 0);
        set->setValue(0, 1, 99.0); // an estimate, not a reading
        set->setValue(0, 2, 22.0 + s);
        set->setMeasured(0, 2);
        sets.append(std::move(set));
    }
    const ReadingInstants instants = instantsFromSets(sets, statistics);
    ASSERT_EQ(instants.count(), 2u); // the third set starts after the span
    EXPECT_EQ(instants.at(1, 0), 21.0);
    EXPECT_EQ(instants.at(1, 1), NO_VALUE);
    EXPECT_EQ(instants.at(1, 2), 23.0);

    // A set starting inside a phase left out of the statistics gives no instant, from the
    // phase's start through its finish; an open phase runs to the end.
    Phase closed{"Loaded", statistics.start + MINUTE / SECONDS_PER_DAY,
                 statistics.start + MINUTE / SECONDS_PER_DAY};
    const ReadingInstants withoutSecond = instantsFromSets(sets, statistics, {closed});
    ASSERT_EQ(withoutSecond.count(), 1u);
    EXPECT_EQ(withoutSecond.at(0, 0), 20.0);
    Phase open{"Loaded", statistics.start + MINUTE / SECONDS_PER_DAY, std::nullopt};
    EXPECT_EQ(instantsFromSets(sets, statistics, {open}).count(), 1u);
    Phase before{"Empty", statistics.start - 1.0, statistics.start - 0.5};
    EXPECT_EQ(instantsFromSets(sets, statistics, {before}).count(), 2u);
}

TEST(ProbeSuggestion, CsvNamesRankPositionLoggerReasonAndTheFit) {
    const auto field = mixedField(4, 9);
    const LoggerArray array = seriesArray(2, 2, field);
    const MappingStatistics statistics = wholeSpan(array);
    const ProbeSuggestion suggestion =
        suggestProbes(statistics, everySample(array, statistics), 4, 1);
    const std::string csv = probesCsv(statistics, suggestion);
    EXPECT_EQ(csv.substr(0, csv.find("\r\n")),
              "Rank,Position,Logger,Reason,RMS After,Largest Residual,At Position,At Time");
    const ChosenProbe &first = suggestion.probes[0];
    const PositionStatistics &p = statistics.positions[first.position];
    const std::string firstRow = "1," + p.position + "," + p.logger + ",highest reading,";
    EXPECT_NE(csv.find("\r\n" + firstRow), std::string::npos) << csv;
    EXPECT_NE(csv.find("\r\n4,"), std::string::npos);
    EXPECT_NE(csv.find(",best next fit,0.00,0.00,"), std::string::npos) << csv;
}

TEST(ProbeSuggestion, SameResultOnOneOrTwoThreads) {
    // Enough instants for several blocks of cross products, which the threads share out.
    constexpr int POSITIONS = 10;
    constexpr int INSTANTS = 5000;
    std::mt19937 random(21);
    std::normal_distribution<double> normal(0.0, 1.0);
    std::vector<std::vector<double>> field(POSITIONS, std::vector<double>(INSTANTS));
    ReadingInstants instants(POSITIONS);
    double common = 0.0;
    for (int t = 0; t < INSTANTS; ++t) {
        common += 0.1 * normal(random);
        std::vector<double> row;
        for (int i = 0; i < POSITIONS; ++i) {
            const double value = 20.0 + 0.1 * i + (1.0 + 0.1 * i) * common + 0.2 * normal(random);
            field[static_cast<std::size_t>(i)][static_cast<std::size_t>(t)] = value;
            row.push_back(value);
        }
        instants.add(juneFirst() + t * MINUTE / SECONDS_PER_DAY, row);
    }
    const LoggerArray array = seriesArray(2, 5, field);
    const MappingStatistics statistics = wholeSpan(array);
    const ProbeSuggestion one = suggestProbes(statistics, instants, 6, 1);
    const ProbeSuggestion two = suggestProbes(statistics, instants, 6, 2);
    ASSERT_EQ(one.probes.size(), 6u);
    ASSERT_EQ(two.probes.size(), 6u);
    EXPECT_EQ(one.rmsBefore, two.rmsBefore);
    for (std::size_t k = 0; k < one.probes.size(); ++k) {
        EXPECT_EQ(one.probes[k].position, two.probes[k].position);
        EXPECT_EQ(one.probes[k].rmsAfter, two.probes[k].rmsAfter);
        EXPECT_EQ(one.probes[k].largestResidual, two.probes[k].largestResidual);
        EXPECT_EQ(one.probes[k].largestTime, two.probes[k].largestTime);
    }
}

// ---- Over the qualification's reading instants -----------------------------------------

TEST(ProbeSuggestion, OverTheQualificationsInstantsOneSignalIsFittedByTheFirstProbe) {
    // T(i, t) = m_i + s(t) with the reference reading every two minutes and the others every
    // minute: the fit sees the others' readings at the reference's times only, and still one
    // probe explains them all.
    std::mt19937 random(13);
    std::normal_distribution<double> normal(0.0, 2.0);
    std::vector<double> signal(SAMPLES);
    for (double &value : signal)
        value = normal(random);
    std::vector<std::vector<double>> field;
    for (int i = 0; i < 9; ++i) {
        std::vector<double> series(SAMPLES);
        for (std::size_t t = 0; t < SAMPLES; ++t)
            series[t] = 15.0 + 0.7 * i + signal[t];
        field.push_back(series);
    }
    LoggerArray array = seriesArray(3, 3, field);
    std::vector<double> everyOther;
    for (std::size_t t = 0; t < SAMPLES; t += 2)
        everyOther.push_back(field[4][t]);
    array.place(1, 1, seriesRecord("ref", juneFirst(), 2 * MINUTE, everyOther));

    const MappingStatistics statistics = wholeSpan(array);
    QualificationSettings settings;
    settings.referencePosition = ArrayPosition{1, 1};
    const QualificationInstants own =
        qualificationInstants(array, statistics.start, statistics.finish, settings);
    ASSERT_EQ(own.problem, QualificationProblem::None);
    EXPECT_EQ(own.instants.count(), static_cast<std::size_t>(SAMPLES / 2));
    EXPECT_EQ(
        own.instants.count(),
        static_cast<std::size_t>(
            computeQualification(array, statistics.start, statistics.finish, settings).instants));

    const ProbeSuggestion suggestion = suggestProbes(statistics, own.instants, 5, 1);
    ASSERT_EQ(suggestion.probes.size(), 5u);
    EXPECT_EQ(suggestion.instantsUsed, static_cast<std::size_t>(SAMPLES / 2));
    EXPECT_EQ(suggestion.fittedPositions, 9u);
    EXPECT_GT(suggestion.rmsBefore, 1.0);
    for (const ChosenProbe &probe : suggestion.probes) {
        EXPECT_LT(probe.rmsAfter, 1e-12);
        EXPECT_LT(std::fabs(probe.largestResidual), 1e-12);
    }
    EXPECT_EQ(suggestion.probes[0].reason, ProbeReason::HighestReading);
    EXPECT_EQ(statistics.positions[suggestion.probes[0].position].position, "R3C3");
}

TEST(ProbeSuggestion, OverTheQualificationsInstantsLateLoggersGiveTheSameFitAsTheirSamples) {
    // Every logger starts a few seconds after the reference, well within half a minute, so at
    // each of the reference's readings every position gives its sample of the same index: the
    // probes, their reasons and their errors are those of the samples themselves, and only the
    // times of the largest residuals are the reference's.
    const auto field = mixedField(12, 4);
    LoggerArray array;
    array.resize(3, 4, 0);
    for (int i = 0; i < 12; ++i)
        array.place(i / 4, i % 4,
                    seriesRecord("L" + std::to_string(i + 1), juneFirst() + i * 2.0 / 86400.0,
                                 MINUTE, field[static_cast<std::size_t>(i)]));
    const MappingStatistics statistics =
        computeStatistics(array, juneFirst() - HOUR, juneFirst() + 5 * HOUR, {});
    QualificationSettings settings;
    settings.referencePosition = ArrayPosition{0, 0};
    const QualificationInstants own =
        qualificationInstants(array, statistics.start, statistics.finish, settings);
    ASSERT_EQ(own.problem, QualificationProblem::None);

    const ProbeSuggestion overQualification = suggestProbes(statistics, own.instants, 8, 2);
    const ProbeSuggestion overSamples =
        suggestProbes(statistics, everySample(seriesArray(3, 4, field), statistics), 8, 1);
    ASSERT_EQ(overQualification.probes.size(), 8u);
    ASSERT_EQ(overSamples.probes.size(), 8u);
    EXPECT_EQ(overQualification.instantsUsed, static_cast<std::size_t>(SAMPLES));
    EXPECT_EQ(overQualification.rmsBefore, overSamples.rmsBefore);
    double previous = overQualification.rmsBefore;
    for (std::size_t k = 0; k < 8; ++k) {
        SCOPED_TRACE("rank " + std::to_string(k + 1));
        const ChosenProbe &probe = overQualification.probes[k];
        EXPECT_EQ(probe.position, overSamples.probes[k].position);
        EXPECT_EQ(probe.reason, overSamples.probes[k].reason);
        EXPECT_EQ(probe.rmsAfter, overSamples.probes[k].rmsAfter);
        EXPECT_LE(probe.rmsAfter, previous);
        previous = probe.rmsAfter;
        EXPECT_EQ(probe.largestPosition, overSamples.probes[k].largestPosition);
        EXPECT_NEAR(probe.largestTime, overSamples.probes[k].largestTime, 1e-9);
    }
    // The extremes first: the highest reading is some position's first probe either way.
    EXPECT_EQ(overQualification.probes[0].reason, ProbeReason::HighestReading);
    EXPECT_EQ(overQualification.probes[0].position, statistics.spots.highestReading.position);
}
