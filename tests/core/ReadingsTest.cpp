#include "core/import/Readings.h"

#include <gtest/gtest.h>

#include <vector>

using namespace zqar;

namespace {

constexpr double MISSING = -1e300;

// A reading at every given time (seconds), the value being the reading's number.
Readings readingsAt(const std::vector<int64_t> &times, int64_t expected = 0) {
    Readings readings;
    for (std::size_t i = 0; i < times.size(); ++i) {
        if (i == 64 && expected > 0)
            readings.expect(expected);
        EXPECT_TRUE(readings.add(static_cast<double>(i), times[i]));
    }
    return readings;
}

// The grid of an interval by hand: the readings where their times fall, MISSING between.
std::vector<double> byHand(const std::vector<int64_t> &times, int64_t interval) {
    std::vector<double> grid(
        static_cast<std::size_t>((times.back() - times.front()) / interval + 1), MISSING);
    for (std::size_t i = 0; i < times.size(); ++i)
        grid[static_cast<std::size_t>((times[i] - times.front()) / interval)] =
            static_cast<double>(i);
    return grid;
}

} // namespace

TEST(Readings, TheIntervalIsTheMostFrequentStepTheSmallerOnATie) {
    EXPECT_EQ(readingsAt({0, 60, 120, 240, 360}).interval(), 60);   // 60 twice, 120 twice
    EXPECT_EQ(readingsAt({0, 120, 240, 300, 420}).interval(), 120); // 120 three times
    EXPECT_EQ(readingsAt({5}).interval(), 0);
    const Readings uneven = readingsAt({0, 60, 120, 150, 210});
    EXPECT_EQ(uneven.interval(), 60);
    EXPECT_EQ(uneven.offGrid(60), 3); // 150 is half an interval after 120
    EXPECT_EQ(readingsAt({0, 60, 180, 300}).offGrid(60), -1);
}

TEST(Readings, TimesThatDoNotRiseAreRefusedAndChangeNothing) {
    Readings readings = readingsAt({100, 160});
    EXPECT_FALSE(readings.add(5.0, 160));
    EXPECT_FALSE(readings.add(5.0, 40));
    EXPECT_EQ(readings.count(), 2);
    EXPECT_EQ(readings.lastTime(), 160);
    EXPECT_TRUE(readings.add(2.0, 220));
    EXPECT_EQ(readings.takeOnGrid(60, MISSING), (std::vector<double>{0, 1, 2}));
}

// Across the chunks the readings grow into, with and without room set aside for them, and
// with the estimate too small, too large and right.
TEST(Readings, PlacedOnTheGridWithMissingReadingsBetween) {
    struct Case {
        const char *name;
        int readings;
        int64_t expected;
        bool gaps;
    };
    const Case cases[] = {
        {"a few", 10, 0, true},
        {"many chunks", 300000, 0, false},
        {"many chunks with gaps", 300000, 0, true},
        {"estimate right", 200000, 200000 - 64, false},
        {"estimate short", 200000, 1000, false},
        {"estimate long", 20000, 100000, false},
        {"estimate right with gaps", 200000, 200000 - 64, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<int64_t> times;
        int64_t time = 1000;
        for (int i = 0; i < c.readings; ++i) {
            times.push_back(time);
            time += (c.gaps && i % 997 == 5) ? 180 : 60;
        }
        Readings readings = readingsAt(times, c.expected);
        EXPECT_EQ(readings.count(), c.readings);
        EXPECT_EQ(readings.interval(), 60);
        ASSERT_EQ(readings.offGrid(60), -1);
        EXPECT_EQ(readings.samples(60), static_cast<int64_t>(byHand(times, 60).size()));
        const std::vector<double> grid = readings.takeOnGrid(60, MISSING);
        EXPECT_EQ(grid, byHand(times, 60));
        // The room set aside is given back when much of it stayed empty.
        EXPECT_LE(grid.capacity(), grid.size() + grid.size() / 16);
        EXPECT_EQ(readings.count(), 0);
    }
}
