#include "core/analysis/SetList.h"

#include <gtest/gtest.h>

using namespace zqar;

namespace {

// Builds a set from rows of values; NO_VALUE marks a gap.
TemperatureSet grid(std::vector<std::vector<double>> rows, int singular = 0) {
    const int R = static_cast<int>(rows.size());
    const int K = R ? static_cast<int>(rows[0].size()) : 0;
    TemperatureSet set(37930.0, 0.0, R, K, singular);
    for (int r = 0; r < R; ++r)
        for (int c = 0; c < K; ++c)
            set.setValue(r, c, rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)]);
    return set;
}

constexpr double X = NO_VALUE;

} // namespace

TEST(TemperatureSet, NewSetHasNoValuesAndIgnoresPositionsOutside) {
    TemperatureSet set(1.0, 0.0, 2, 3, 2);
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(set.valueAt(r, c), NO_VALUE);
    EXPECT_EQ(set.valueAt(-2, 0), NO_VALUE);
    set.setValue(-1, 0, 5);
    set.setValue(2, 0, 5);
    set.setValue(0, 3, 5);
    set.setValue(-2, 2, 5);
    set.setValue(-3, 0, 5);
    for (int r = -1; r <= 2; ++r)
        for (int c = -1; c <= 3; ++c)
            EXPECT_EQ(set.valueAt(r, c), NO_VALUE);
    set.setValue(-2, 1, 18.25);
    EXPECT_EQ(set.valueAt(-2, 1), 18.25);
    EXPECT_EQ(set.valueAt(-2, 2), NO_VALUE);
}

TEST(TemperatureSet, EmptyGridStillHoldsSingularValues) {
    TemperatureSet set(1.0, 0.0, 0, 4, 1);
    set.setValue(-2, 0, 3.5);
    EXPECT_EQ(set.valueAt(-2, 0), 3.5);
    EXPECT_EQ(set.valueAt(-1, 0), NO_VALUE);
    EXPECT_EQ(set.valueAt(0, 0), NO_VALUE);
    EXPECT_EQ(set.valueAt(0, -1), NO_VALUE);
    set.fillGaps();
}

TEST(TemperatureSet, Titles) {
    const double t = 37930.0 + 14.5 / 24;
    EXPECT_EQ(TemperatureSet(t, 0.0, 1, 1, 0).title(), "Time: 05-Nov-2003 02:30PM");
    EXPECT_EQ(TemperatureSet(t, 30 / 1440.0, 1, 1, 0).title(),
              "From 05-Nov-2003 02:30PM to 05-Nov-2003 03:00PM");
    const double almost = 37930.0 + (14 * 3600 + 29 * 60 + 59.6) / 86400.0;
    EXPECT_EQ(TemperatureSet(almost, 0.0, 1, 1, 0).title(), "Time: 05-Nov-2003 02:30PM");
}

TEST(RingExtrapolation, EdgesAndCorners) {
    // Top edge from 20 over 22: 19; left edge from 20 beside 21: 19.5.
    const TemperatureSet set = grid({{20, 21, 23}, {22, 24, 26}, {25, 27, 30}});
    EXPECT_EQ(set.valueAt(-1, 0), 19);
    EXPECT_EQ(set.valueAt(0, -1), 19.5);
    EXPECT_EQ(set.valueAt(3, 2), 32);   // 30 - (26 - 30) / 2
    EXPECT_EQ(set.valueAt(2, 3), 31.5); // 30 - (27 - 30) / 2
    // Corner (-1, -1): A = (0, -1) 19.5, B = (1, -1) 21, P = (-1, 0) 19, Q = (-1, 1) 19.5:
    // ((19.5 - 0.75) + (19 - 0.25)) / 2.
    EXPECT_EQ(set.valueAt(-1, -1), 18.75);
    // Corner (3, 3): A = (2, 3) 31.5, B = (1, 3) 27, P = (3, 2) 32, Q = (3, 1) 28.5.
    EXPECT_EQ(set.valueAt(3, 3), ((31.5 - (27 - 31.5) / 2) + (32 - (28.5 - 32) / 2)) / 2);
}

TEST(RingExtrapolation, CornerMeansBothHalfStepExtrapolations) {
    // Ring values 19 at (0, -1) and 20 at (1, -1) along the corner's column, 19.5 at (-1, 0)
    // and 21.5 at (-1, 1) along its row: ((19 - 0.5) + (19.5 - 1)) / 2 = 18.5. (With 19 and
    // 19.5 along the row it would be 18.625, but no grid gives all four of those.)
    const TemperatureSet set = grid({{20, 22, 0}, {21, 23, 0}, {22, 24, 0}});
    EXPECT_EQ(set.valueAt(0, -1), 19);
    EXPECT_EQ(set.valueAt(1, -1), 20);
    EXPECT_EQ(set.valueAt(-1, 0), 19.5);
    EXPECT_EQ(set.valueAt(-1, 1), 21.5);
    EXPECT_EQ(set.valueAt(-1, -1), 18.5);
}

TEST(RingExtrapolation, SingleRowsAndColumnsAreCarriedOntoTheRing) {
    const TemperatureSet row = grid({{10, 12, 16}});
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(row.valueAt(-1, c), row.valueAt(0, c));
        EXPECT_EQ(row.valueAt(1, c), row.valueAt(0, c));
    }
    EXPECT_EQ(row.valueAt(-1, -1), row.valueAt(0, -1));
    EXPECT_EQ(row.valueAt(1, 3), row.valueAt(0, 3));
    EXPECT_EQ(row.valueAt(0, -1), 9);
    const TemperatureSet single = grid({{7.5}});
    for (int r = -1; r <= 1; ++r)
        for (int c = -1; c <= 1; ++c)
            EXPECT_EQ(single.valueAt(r, c), 7.5);
    const TemperatureSet column = grid({{1}, {3}, {4}});
    EXPECT_EQ(column.valueAt(1, -1), 3);
    EXPECT_EQ(column.valueAt(1, 1), 3);
    EXPECT_EQ(column.valueAt(-1, 0), 0);
    EXPECT_EQ(column.valueAt(-1, 1), 0);
}

TEST(RingExtrapolation, OutsideTheRingAndMissingNeighbours) {
    const TemperatureSet set = grid({{20, X, 22}, {21, 23, 24}}, 1);
    EXPECT_EQ(set.valueAt(-2, 1), NO_VALUE);
    EXPECT_EQ(set.valueAt(-3, 0), NO_VALUE);
    EXPECT_EQ(set.valueAt(-1, -2), NO_VALUE);
    EXPECT_EQ(set.valueAt(3, 0), NO_VALUE);
    EXPECT_EQ(set.valueAt(0, 4), NO_VALUE);
    // The top edge over the gap has no value; the cell beside it keeps its own.
    EXPECT_EQ(set.valueAt(-1, 1), NO_VALUE);
    EXPECT_EQ(set.valueAt(-1, 0), 19.5);
    EXPECT_EQ(set.valueAt(0, 3), NO_VALUE); // (0, 1) is missing
    // Corners that depend on an edge without a value have none.
    EXPECT_EQ(set.valueAt(-1, -1), NO_VALUE);
    EXPECT_EQ(set.valueAt(-1, 3), NO_VALUE);
}

TEST(FillGaps, ThreeByThreeCases) {
    {
        TemperatureSet set = grid({{1, 2, 3}, {4, X, 6}, {7, 8, 10}});
        set.fillGaps();
        EXPECT_EQ(set.valueAt(1, 1), ((2 + 8) / 2.0 + (4 + 6) / 2.0) / 2);
    }
    {
        TemperatureSet set = grid({{X, 2, 3.5}, {4, 5, 6}, {7.25, 8, 9}});
        set.fillGaps();
        const double v = 4 - (7.25 - 4);
        const double h = 2 - (3.5 - 2);
        EXPECT_EQ(set.valueAt(0, 0), (v + h) / 2);
    }
    {
        // (0, 1) has only its horizontal estimate; (1, 1) then leans on it.
        TemperatureSet set = grid({{1, X, 3}, {4, X, 6}, {7, 8, 9.5}});
        set.fillGaps();
        EXPECT_EQ(set.valueAt(0, 1), 2);
        EXPECT_EQ(set.valueAt(1, 1), ((2 + 8) / 2.0 + (4 + 6) / 2.0) / 2);
    }
    {
        TemperatureSet set = grid({{1, 2, 3}, {4, 5, 6}, {7, 8, X}});
        set.fillGaps();
        EXPECT_EQ(set.valueAt(2, 2), ((6 - (3 - 6)) + (8 - (7 - 8))) / 2);
    }
}

TEST(FillGaps, SmallGridsAndUnfillableGaps) {
    TemperatureSet twoByTwo = grid({{1, X}, {3, 4}});
    twoByTwo.fillGaps();
    EXPECT_EQ(twoByTwo.valueAt(0, 1), NO_VALUE);
    TemperatureSet row = grid({{1, X, X, 4}});
    row.fillGaps();
    EXPECT_EQ(row.valueAt(0, 1), NO_VALUE);
    EXPECT_EQ(row.valueAt(0, 2), NO_VALUE);
    // Two rows, three columns: only the horizontal estimate exists.
    TemperatureSet wide = grid({{1, X, 5}, {2, 3, 4}});
    wide.fillGaps();
    EXPECT_EQ(wide.valueAt(0, 1), 3);
    // One pass only: a gap whose neighbours are filled later in the pass stays empty.
    TemperatureSet chain = grid({{X, X, 3}, {X, 5, 6}, {7, 8, 9}});
    chain.fillGaps();
    EXPECT_EQ(chain.valueAt(0, 0), NO_VALUE);
    EXPECT_EQ(chain.valueAt(0, 1), 5 - (8 - 5));
    EXPECT_EQ(chain.valueAt(1, 0), 5 - (6 - 5));
}

TEST(FillGaps, SingularSlotsAreNeverEstimated) {
    TemperatureSet set = grid({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}, 2);
    set.setValue(-2, 1, 4);
    set.fillGaps();
    EXPECT_EQ(set.valueAt(-2, 0), NO_VALUE);
    EXPECT_EQ(set.valueAt(-2, 1), 4);
}

TEST(SetList, Navigation) {
    SetList list;
    EXPECT_EQ(list.current(), nullptr);
    EXPECT_EQ(list.currentSet, 0);
    list.last();
    EXPECT_EQ(list.currentSet, 0);
    EXPECT_FALSE(list.next());
    EXPECT_FALSE(list.previous());
    for (int i = 0; i < 5; ++i)
        list.append(std::make_unique<TemperatureSet>(i, 0.0, 1, 1, 0));
    EXPECT_EQ(list.current()->time(), 0.0);
    EXPECT_TRUE(list.next());
    EXPECT_EQ(list.current()->time(), 1.0);
    list.last();
    EXPECT_EQ(list.currentSet, 4);
    EXPECT_FALSE(list.next());
    EXPECT_TRUE(list.previous());
    EXPECT_EQ(list.currentSet, 3);
    list.first();
    EXPECT_EQ(list.currentSet, 0);
    EXPECT_FALSE(list.previous());
    list.currentSet = 7;
    EXPECT_EQ(list.current(), nullptr);
    list.clear();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.currentSet, 0);
}
