#include "app/numberedFiles.h"

#include "core/analysis/SetList.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace zqar {
namespace {

TEST(NumberedFiles, TheFirstPercentDTakesTheNumber) {
    const struct {
        const char *pattern;
        int number;
        const char *expected;
    } cases[] = {
        {"out/set%d.csv", 7, "out/set7.csv"}, {"%d.png", 12, "12.png"},
        {"a%d-b%d.png", 3, "a3-b%d.png"},     {"100%.png", 1, "100%.png"},
        {"g%5d.png", 1, "g%5d.png"},          {"plain.csv", 4, "plain.csv"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.pattern);
        EXPECT_EQ(numberedName(c.pattern, c.number), c.expected);
    }
}

SetList threeSets(int current) {
    SetList sets;
    for (int i = 0; i < 3; ++i)
        sets.append(std::make_unique<TemperatureSet>(i, 0.0, 1, 1, 0));
    sets.currentSet = current;
    return sets;
}

using Written = std::vector<std::pair<std::string, int>>; // file and the set current then

TEST(NumberedFiles, APlainNameWritesTheCurrentSetOnce) {
    SetList sets = threeSets(1);
    Written written;
    exportEverySet(sets, "one.csv", [&](const std::string &file) {
        written.emplace_back(file, sets.currentSet);
        return true;
    });
    EXPECT_EQ(written, (Written{{"one.csv", 1}}));
    EXPECT_EQ(sets.currentSet, 1);
}

TEST(NumberedFiles, ANumberedNameWritesEverySetAndKeepsTheCurrentOne) {
    SetList sets = threeSets(2);
    Written written;
    exportEverySet(sets, "s%d.csv", [&](const std::string &file) {
        written.emplace_back(file, sets.currentSet);
        return true;
    });
    EXPECT_EQ(written, (Written{{"s1.csv", 0}, {"s2.csv", 1}, {"s3.csv", 2}}));
    EXPECT_EQ(sets.currentSet, 2);
}

TEST(NumberedFiles, TheFirstFailureEndsTheRun) {
    SetList sets = threeSets(0);
    Written written;
    exportEverySet(sets, "s%d.csv", [&](const std::string &file) {
        written.emplace_back(file, sets.currentSet);
        return sets.currentSet != 1;
    });
    EXPECT_EQ(written, (Written{{"s1.csv", 0}, {"s2.csv", 1}}));
    EXPECT_EQ(sets.currentSet, 0);
}

TEST(NumberedFiles, NoSetsWriteNoNumberedFile) {
    SetList sets;
    int calls = 0;
    exportEverySet(sets, "s%d.csv", [&](const std::string &) { return ++calls > 0; });
    EXPECT_EQ(calls, 0);
}

} // namespace
} // namespace zqar
