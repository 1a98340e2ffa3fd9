#include "core/analysis/mapCheck.h"
#include "core/analysis/SetList.h"
#include "core/analysis/TemperatureSet.h"

#include "support/SeriesArray.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>

using namespace zqar;
using namespace zqar::testing;

namespace {

using Field = std::function<double(int row, int col)>;

// A set made as the calculation makes it: the readings of the cells with a logger (NO_VALUE
// in the field for none), marked measured, then the gap filling, then the singular values.
std::unique_ptr<TemperatureSet> calculatedSet(int rows, int columns, const Field &field,
                                              double time = juneFirst(),
                                              const std::vector<double> &singular = {}) {
    auto set = std::make_unique<TemperatureSet>(time, 30.0 / 1440.0, rows, columns,
                                                static_cast<int32_t>(singular.size()));
    for (int row = 0; row < rows; ++row)
        for (int col = 0; col < columns; ++col)
            if (field(row, col) != NO_VALUE) {
                set->setValue(row, col, field(row, col));
                set->setMeasured(row, col);
            }
    set->fillGaps();
    for (std::size_t slot = 0; slot < singular.size(); ++slot) {
        set->setValue(SINGULAR_ROW, static_cast<int>(slot), singular[slot]);
        set->setMeasured(SINGULAR_ROW, static_cast<int>(slot));
    }
    return set;
}

// An array with a logger wherever the field has a reading.
LoggerArray arrayFor(int rows, int columns, const Field &field, int singular = 0) {
    std::vector<std::vector<double>> cells;
    for (int row = 0; row < rows; ++row)
        for (int col = 0; col < columns; ++col)
            cells.push_back(field(row, col) == NO_VALUE ? std::vector<double>{}
                                                        : std::vector<double>{20.0});
    return seriesArray(rows, columns, cells,
                       std::vector<std::vector<double>>(static_cast<std::size_t>(singular),
                                                        std::vector<double>{20.0}));
}

double errorAt(const MapCheck &check, int set, int row, int col) {
    return check.sets[static_cast<std::size_t>(set)]
        .errors[static_cast<std::size_t>(row * check.columns + col)];
}

} // namespace

// At a position with its four neighbours measured the gap filling gives the mean of the
// vertical and the horizontal mean of the neighbours, that is the mean of the four: the error
// there is zero exactly when the five-point discrete Laplacian of the field vanishes. Those are
// the discrete harmonic fields: planes a + b row + c col, the saddle row x col, row^2 - col^2
// and their sums. Edge positions are extrapolated along straight lines instead, which only
// fields linear in row and in column reproduce.
TEST(MapCheck, DiscreteHarmonicFieldsHaveNoErrorInside) {
    const Field harmonic = [](int r, int c) {
        return 20.0 + 0.5 * r - 0.25 * c + 0.25 * r * c + 0.125 * (r * r - c * c);
    };
    SetList sets;
    sets.append(calculatedSet(5, 6, harmonic));
    const MapCheck check = checkMap(sets, arrayFor(5, 6, harmonic), 1);
    ASSERT_EQ(check.sets.size(), 1u);
    EXPECT_EQ(check.sets[0].checked, 30);
    for (int row = 1; row < 4; ++row)
        for (int col = 1; col < 5; ++col)
            EXPECT_EQ(errorAt(check, 0, row, col), 0.0) << row << "," << col;
    // The curvature of row^2 - col^2 shows at the edges.
    EXPECT_NE(errorAt(check, 0, 0, 2), 0.0);

    // A plane plus the saddle is reproduced everywhere, edges and corners included.
    const Field bilinear = [](int r, int c) { return 18.0 + 0.5 * r - 0.25 * c + 0.25 * r * c; };
    SetList planeSets;
    planeSets.append(calculatedSet(4, 4, bilinear));
    const MapCheck plane = checkMap(planeSets, arrayFor(4, 4, bilinear), 1);
    EXPECT_EQ(plane.sets[0].checked, 16);
    EXPECT_EQ(plane.sets[0].rms, 0.0);
}

TEST(MapCheck, AHotOutlierHasMinusItsExcessOverItsNeighboursEstimate) {
    const Field plane = [](int r, int c) { return 20.0 + 0.5 * r + 0.25 * c; };
    auto withOutlier = [&](double excess) {
        return Field([=](int r, int c) { return plane(r, c) + (r == 2 && c == 3 ? excess : 0.0); });
    };
    SetList sets;
    sets.append(calculatedSet(5, 5, withOutlier(3.0)));
    sets.append(calculatedSet(5, 5, withOutlier(1.0), juneFirst() + 30.0 / 1440.0));
    const MapCheck check = checkMap(sets, arrayFor(5, 5, plane), 1);

    EXPECT_EQ(errorAt(check, 0, 2, 3), -3.0);
    EXPECT_EQ(errorAt(check, 1, 2, 3), -1.0);
    // Its neighbours in row and column lean a quarter of the excess towards it.
    EXPECT_EQ(errorAt(check, 0, 2, 2), 0.75);
    EXPECT_EQ(errorAt(check, 0, 1, 3), 0.75);
    EXPECT_EQ(check.sets[0].largestError, -3.0);
    EXPECT_EQ(check.sets[0].largestRow, 2);
    EXPECT_EQ(check.sets[0].largestCol, 3);
    EXPECT_TRUE(check.found);
    EXPECT_EQ(check.worstError, -3.0);
    EXPECT_EQ(check.worstSet, 0);

    const PositionCheck &outlier = check.positions[2 * 5 + 3];
    EXPECT_EQ(outlier.position, "R3C4");
    EXPECT_EQ(outlier.sets, 2);
    EXPECT_DOUBLE_EQ(outlier.rms, std::sqrt((9.0 + 1.0) / 2.0));
    EXPECT_EQ(outlier.largestError, -3.0);
    EXPECT_EQ(outlier.largestSet, 0);
}

TEST(MapCheck, EachLoggerIsTakenOutAsIfTheCalculationHadRunWithoutIt) {
    // Cells without a logger, and estimates that lean on the logger taken out: (0, 1) is
    // filled from (1, 1) below it, so taking (1, 1) out changes what (0, 1) gets as well.
    std::mt19937 random(4);
    std::uniform_real_distribution<double> reading(15.0, 25.0);
    std::vector<double> grid(20);
    for (double &value : grid)
        value = reading(random);
    grid[1] = NO_VALUE;
    grid[2 * 5 + 2] = NO_VALUE;
    grid[3 * 5 + 4] = NO_VALUE;
    const Field field = [&](int r, int c) { return grid[static_cast<std::size_t>(r * 5 + c)]; };
    SetList sets;
    sets.append(calculatedSet(4, 5, field, juneFirst(), {30.0}));
    const MapCheck check = checkMap(sets, arrayFor(4, 5, field, 1), 1);

    int checked = 0;
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 5; ++col) {
            const double own = field(row, col);
            const double error = errorAt(check, 0, row, col);
            if (own == NO_VALUE) {
                EXPECT_EQ(error, NO_VALUE);
                continue;
            }
            TemperatureSet without(juneFirst(), 0.0, 4, 5, 0);
            for (int r = 0; r < 4; ++r)
                for (int c = 0; c < 5; ++c)
                    if (!(r == row && c == col))
                        without.setValue(r, c, field(r, c));
            without.fillGaps();
            const double estimate = without.valueAt(row, col);
            if (estimate == NO_VALUE) {
                EXPECT_EQ(error, NO_VALUE);
                continue;
            }
            EXPECT_EQ(error, estimate - own) << row << "," << col;
            ++checked;
        }
    EXPECT_EQ(check.sets[0].checked, checked);
    // The singular logger is not a grid position and is not checked.
    EXPECT_EQ(check.positions.size(), 17u);
    EXPECT_EQ(check.sets[0].errors.size(), 20u);
}

TEST(MapCheck, GridsTooSmallToFillAndSetsOfAnotherShapeAreNotChecked) {
    const Field flat = [](int, int) { return 20.0; };
    SetList sets;
    sets.append(calculatedSet(2, 2, flat)); // a 2 x 2 grid is never filled
    const MapCheck small = checkMap(sets, arrayFor(2, 2, flat), 1);
    EXPECT_EQ(small.sets[0].checked, 0);
    EXPECT_FALSE(small.found);
    EXPECT_EQ(small.positions[0].sets, 0);
    EXPECT_NE(mapCheckCsv(sets, small).find("\r\nR1C1,L1,-,-,-\r\n"), std::string::npos);

    const MapCheck otherShape = checkMap(sets, arrayFor(3, 3, flat), 1);
    EXPECT_EQ(otherShape.sets.size(), 1u);
    EXPECT_EQ(otherShape.sets[0].checked, 0);
}

TEST(MapCheck, SameResultOnOneOrTwoThreads) {
    std::mt19937 random(8);
    std::uniform_real_distribution<double> reading(15.0, 25.0);
    SetList sets;
    const Field layout = [](int r, int c) { return (r * 7 + c) % 9 == 4 ? NO_VALUE : 20.0; };
    for (int s = 0; s < 300; ++s) {
        std::vector<double> grid(36);
        for (double &value : grid)
            value = reading(random);
        sets.append(calculatedSet(
            6, 6,
            [&](int r, int c) {
                return layout(r, c) == NO_VALUE ? NO_VALUE
                                                : grid[static_cast<std::size_t>(r * 6 + c)];
            },
            juneFirst() + s / 48.0));
    }
    const LoggerArray array = arrayFor(6, 6, layout);
    const MapCheck one = checkMap(sets, array, 1);
    const MapCheck two = checkMap(sets, array, 2);
    ASSERT_EQ(one.sets.size(), two.sets.size());
    for (std::size_t s = 0; s < one.sets.size(); ++s) {
        EXPECT_EQ(one.sets[s].errors, two.sets[s].errors);
        EXPECT_EQ(one.sets[s].rms, two.sets[s].rms);
    }
    for (std::size_t p = 0; p < one.positions.size(); ++p) {
        EXPECT_EQ(one.positions[p].rms, two.positions[p].rms);
        EXPECT_EQ(one.positions[p].largestSet, two.positions[p].largestSet);
    }
    EXPECT_EQ(mapCheckCsv(sets, one), mapCheckCsv(sets, two));
}

TEST(MapCheck, CsvListsTheSetsThenThePositions) {
    const Field field = [](int r, int c) { return 20.0 + (r == 1 && c == 1 ? 2.0 : 0.0); };
    SetList sets;
    sets.append(calculatedSet(3, 3, field, dayNumberFromCivil(CivilTime{2025, 6, 5, 18, 0, 0})));
    const MapCheck check = checkMap(sets, arrayFor(3, 3, field), 1);
    const std::string csv = mapCheckCsv(sets, check);
    // The centre is 2 too warm for its neighbours: its own error is -2. Each edge middle is
    // extrapolated through the centre to +4 along one line and 0 along the other, +2 in the
    // mean; the corners see only flat lines. The first of the equal largest errors is named,
    // and the RMS is sqrt((4 + 4 x 4) / 9) = 1.49.
    const std::string expectedStart =
        "Set,From,To,Largest Error,At Position,RMS\r\n"
        "1,05-Jun-2025 06:00PM,05-Jun-2025 06:30PM,2.00,R1C2,1.49\r\n";
    EXPECT_EQ(csv.substr(0, expectedStart.size()), expectedStart);
    EXPECT_NE(csv.find("\r\n\r\nPosition,Logger,RMS Error,Largest Error,At Set\r\n"
                       "R1C1,L1,"),
              std::string::npos)
        << csv;
    EXPECT_NE(csv.find("\r\nR2C2,L5,2.00,2.00,1\r\n"), std::string::npos) << csv;
}
