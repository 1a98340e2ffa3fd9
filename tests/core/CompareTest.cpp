#include "core/analysis/compare.h"
#include "core/analysis/TemperatureSet.h"
#include "core/analysis/statistics.h"
#include "core/job/Prefill.h"

#include "support/SeriesArray.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <sstream>

using namespace zqar;
using namespace zqar::testing;

namespace {

constexpr int SAMPLES = 500;

// A 3 x 3 study with one singular logger: each position's mean set by its offset, with a daily
// swing and noise, and limits so that every statistic has a figure.
std::vector<std::vector<double>> study(const std::vector<double> &offsets, unsigned seed) {
    std::mt19937 random(seed);
    std::normal_distribution<double> noise(0.0, 0.3);
    std::vector<std::vector<double>> series;
    for (const double offset : offsets) {
        std::vector<double> values(SAMPLES);
        for (int t = 0; t < SAMPLES; ++t)
            values[static_cast<std::size_t>(t)] =
                20.0 + offset + 2.0 * std::sin(t * 0.02) + noise(random);
        series.push_back(values);
    }
    return series;
}

MappingStatistics statisticsOf(const std::vector<std::vector<double>> &cells, int rows, int columns,
                               const std::vector<std::vector<double>> &singular,
                               double start = juneFirst()) {
    const LoggerArray array = seriesArray(rows, columns, cells, singular, start);
    StatisticsSettings settings;
    settings.lowerLimit = 18.0;
    settings.upperLimit = 22.0;
    const CoveredSpan span = coveredSpan(array);
    return computeStatistics(array, span.start, span.finish, settings);
}

std::vector<std::vector<std::string>> csvRows(const std::string &csv) {
    std::vector<std::vector<std::string>> rows;
    std::size_t from = 0;
    while (from < csv.size()) {
        const std::size_t end = csv.find("\r\n", from);
        std::vector<std::string> fields;
        std::stringstream line(csv.substr(from, end - from));
        std::string field;
        while (std::getline(line, field, ','))
            fields.push_back(field);
        rows.push_back(fields);
        from = end + 2;
    }
    return rows;
}

const std::vector<double> OFFSETS{0.0, 1.0, -1.5, 0.5, 3.0, 0.2, -0.4, 2.0, -2.5};

} // namespace

TEST(CompareStudies, AStudyComparedWithItselfChangesNothing) {
    const auto cells = study(OFFSETS, 1);
    const MappingStatistics a = statisticsOf(cells, 3, 3, {cells[4]});
    const StudyComparison comparison = compareStudies(a, a);
    ASSERT_EQ(comparison.positions.size(), 10u);
    EXPECT_TRUE(comparison.onlyInA.empty());
    EXPECT_TRUE(comparison.onlyInB.empty());
    for (const ComparedPosition &compared : comparison.positions) {
        ASSERT_TRUE(compared.matched());
        for (int s = 0; s < COMPARED_STATISTIC_COUNT; ++s) {
            SCOPED_TRACE(compared.position + " statistic " + std::to_string(s));
            ASSERT_TRUE(compared.deltas[static_cast<std::size_t>(s)].has_value());
            EXPECT_EQ(*compared.deltas[static_cast<std::size_t>(s)], 0.0);
        }
    }
    EXPECT_TRUE(comparison.warmest.persistent());
    EXPECT_TRUE(comparison.coldest.persistent());

    const auto rows = csvRows(comparisonCsv(a, a, comparison));
    EXPECT_EQ(rows.front(), (std::vector<std::string>{"Position", "Statistic", "A", "B", "Delta"}));
    ASSERT_EQ(rows.size(), 1 + 10 * 12 + 1 + 3u);
    EXPECT_EQ(rows[1][1], "Samples");
    EXPECT_EQ(rows[12][1], "Longest Excursion");
    for (std::size_t r = 1; r <= 120; ++r) {
        EXPECT_EQ(rows[r][2], rows[r][3]);
        EXPECT_TRUE(rows[r][4] == "0" || rows[r][4] == "0.0" || rows[r][4] == "0.00") << rows[r][4];
    }
    EXPECT_EQ(rows[122],
              (std::vector<std::string>{"Spot", "A Position", "B Position", "Persistent"}));
    EXPECT_EQ(rows[123], (std::vector<std::string>{"Warmest (mean)", "R2C2", "R2C2", "Yes"}));
    EXPECT_EQ(rows[124], (std::vector<std::string>{"Coldest (mean)", "R3C3", "R3C3", "Yes"}));
}

TEST(CompareStudies, OneDegreeWarmerMovesTheLevelsButNotTheSpread) {
    const auto cells = study(OFFSETS, 2);
    auto warmer = cells;
    for (auto &series : warmer)
        for (double &value : series)
            value += 1.0;
    // B ran a month later: its times of the extremes compare as elapsed times.
    const MappingStatistics a = statisticsOf(cells, 3, 3, {});
    const MappingStatistics b = statisticsOf(warmer, 3, 3, {}, juneFirst() + 30.0);
    const StudyComparison comparison = compareStudies(a, b);
    for (const ComparedPosition &compared : comparison.positions) {
        SCOPED_TRACE(compared.position);
        auto delta = [&](ComparedStatistic s) {
            return compared.deltas[static_cast<std::size_t>(s)].value_or(NO_VALUE);
        };
        EXPECT_NEAR(delta(ComparedStatistic::Mean), 1.0, 1e-9);
        EXPECT_NEAR(delta(ComparedStatistic::Minimum), 1.0, 1e-9);
        EXPECT_NEAR(delta(ComparedStatistic::Maximum), 1.0, 1e-9);
        EXPECT_NEAR(delta(ComparedStatistic::StandardDeviation), 0.0, 1e-9);
        EXPECT_NEAR(delta(ComparedStatistic::TimeOfMaximum), 0.0, 1e-6);
        EXPECT_EQ(delta(ComparedStatistic::Samples), 0.0);
    }
    const std::string csv = comparisonCsv(a, b, comparison);
    EXPECT_NE(csv.find("\r\nR1C1,Mean,"), std::string::npos);
    for (const char *name : {"Mean", "Minimum", "Maximum"}) {
        const std::size_t at = csv.find(std::string("\r\nR2C3,") + name + ",");
        ASSERT_NE(at, std::string::npos);
        EXPECT_EQ(csv.substr(csv.find("\r\n", at + 2) - 5, 5), ",1.00");
    }
    const std::size_t deviation = csv.find("\r\nR2C3,Standard Deviation,");
    EXPECT_EQ(csv.substr(csv.find("\r\n", deviation + 2) - 5, 5), ",0.00");
    EXPECT_TRUE(comparison.warmest.persistent());
    EXPECT_TRUE(comparison.coldest.persistent());

    // The difference map holds +1 everywhere.
    const auto map = meanDifferenceMap(a, b);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col) {
            EXPECT_NEAR(map->valueAt(row, col), 1.0, 1e-9);
            EXPECT_TRUE(map->isMeasured(row, col));
        }
}

TEST(CompareStudies, PositionsAreMatchedByNameAndTheRestListed) {
    // A is 3 x 3 without a logger at R2C2; B is 3 x 4 with one there and a singular logger.
    auto cellsA = study(OFFSETS, 3);
    cellsA[4].clear();
    const auto cellsB12 = study({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, 4);
    const MappingStatistics a = statisticsOf(cellsA, 3, 3, {});
    const MappingStatistics b = statisticsOf(cellsB12, 3, 4, {cellsB12[0]});
    const StudyComparison comparison = compareStudies(a, b);
    EXPECT_TRUE(comparison.onlyInA.empty());
    EXPECT_EQ(comparison.onlyInB, (std::vector<std::string>{"R1C4", "R2C2", "R2C4", "R3C4", "S1"}));
    ASSERT_EQ(comparison.positions.size(), 13u);
    EXPECT_EQ(comparison.positions[0].position, "R1C1");
    // R2C1 is cell 3 of A and cell 4 of B.
    EXPECT_EQ(comparison.positions[3].position, "R2C1");
    EXPECT_EQ(*comparison.positions[3].a, 3u);
    EXPECT_EQ(*comparison.positions[3].b, 4u);
    const ComparedPosition &onlyB = comparison.positions[8];
    EXPECT_EQ(onlyB.position, "R1C4");
    EXPECT_FALSE(onlyB.a);
    EXPECT_FALSE(onlyB.deltas[0]);
    const std::string csv = comparisonCsv(a, b, comparison);
    EXPECT_NE(csv.find("\r\nR1C4,Samples,-,500,-\r\n"), std::string::npos) << csv;

    // The difference map: R2C2 has no match and is filled from its neighbours.
    const auto map = meanDifferenceMap(a, b);
    EXPECT_EQ(map->rows, 3);
    EXPECT_EQ(map->columns, 3);
    EXPECT_FALSE(map->isMeasured(1, 1));
    const double vertical = (map->valueAt(0, 1) + map->valueAt(2, 1)) / 2;
    const double horizontal = (map->valueAt(1, 0) + map->valueAt(1, 2)) / 2;
    EXPECT_EQ(map->valueAt(1, 1), (vertical + horizontal) / 2);
}

TEST(CompareStudies, ASpotPersistsOnlyAmongTheOtherStudysThreeWarmest) {
    const auto cells = study(OFFSETS, 5);
    // In B the warmest of A (R2C2, +3) drops to the fourth warmest and R1C1 becomes the warmest.
    auto changed = cells;
    for (double &value : changed[4])
        value -= 2.2; // +0.8: the fourth after R1C1, R3C2 and R1C2
    for (double &value : changed[0])
        value += 5.0;
    const MappingStatistics a = statisticsOf(cells, 3, 3, {});
    const MappingStatistics b = statisticsOf(changed, 3, 3, {});
    const StudyComparison comparison = compareStudies(a, b);
    ASSERT_TRUE(comparison.warmest.a && comparison.warmest.b);
    EXPECT_EQ(a.positions[*comparison.warmest.a].position, "R2C2");
    EXPECT_EQ(b.positions[*comparison.warmest.b].position, "R1C1");
    EXPECT_FALSE(comparison.warmest.aPersistent); // R2C2 is not among B's three warmest
    EXPECT_FALSE(comparison.warmest.bPersistent); // R1C1 was not among A's three warmest
    EXPECT_FALSE(comparison.warmest.persistent());
    EXPECT_TRUE(comparison.coldest.persistent());
}

TEST(CompareStudies, ElapsedTimeLinesUpTheTwoSpans) {
    const MappingStatistics a = statisticsOf(study({0.0}, 6), 1, 1, {});
    const MappingStatistics b = statisticsOf(study({0.0}, 7), 1, 1, {}, juneFirst() + 100.25);
    const ElapsedAxis axis = elapsedAxis(a, b);
    EXPECT_DOUBLE_EQ(b.start + axis.shift, a.start);
    EXPECT_NEAR(axis.length, (SAMPLES - 1) * MINUTE / SECONDS_PER_DAY, 1e-9);

    auto values = study({0.0}, 8)[0];
    values[3] = NO_VALUE;
    const auto record = seriesRecord("x", juneFirst(), MINUTE, values);
    const std::vector<ElapsedReading> readings =
        elapsedReadings(*record, juneFirst() + 2 * MINUTE / SECONDS_PER_DAY,
                        juneFirst() + 5 * MINUTE / SECONDS_PER_DAY);
    ASSERT_EQ(readings.size(), 3u); // samples 2, 4 and 5; 3 is missing
    EXPECT_NEAR(readings[1].elapsed, 2 * MINUTE / SECONDS_PER_DAY, 1e-9);
    EXPECT_EQ(readings[1].value, values[4]);
}
