// Copying table cells: tab-separated lines a spreadsheet splits into cells, and the heading
// row and column that tell the copied numbers apart.

#include "pages/presentation/cellText.h"
#include "platform/ListView.h"

#include <gtest/gtest.h>

#include <string>

using namespace zqar;

namespace {

// A list like the Matrix tab's: row 0 the column labels, column 0 the row labels.
platform::ListModel labelledList() {
    platform::ListModel list;
    for (int column = 0; column < 4; ++column)
        list.insertColumn(column, "-", platform::Align::Centre, 50);
    const char *rows[][4] = {
        {".", "C1", "C2", "C3"}, {"R1", "1.0", "2.0", "3.0"}, {"R2", "4.0", "5.0", "6.0"}};
    for (int row = 0; row < 3; ++row) {
        list.insertItem(row, rows[row][0]);
        for (int column = 1; column < 4; ++column)
            list.setItemText(row, column, rows[row][column]);
    }
    return list;
}

} // namespace

TEST(CellText, CellsAreTabSeparatedAndNothingInsideACellSplitsIt) {
    EXPECT_EQ(tabSeparatedText({{"a", "b"}, {"", "c"}}), "a\tb\n\tc\n");
    EXPECT_EQ(tabSeparatedText({{"one\ttwo", "three\r\nfour"}}), "one two\tthree  four\n");
    EXPECT_EQ(tabSeparatedText({}), "");
}

TEST(CellText, ABlockInsideTheTableGetsItsRowAndColumnLabels) {
    const platform::ListModel list = labelledList();
    // The single cell R2/C2: its column label above it, its row label before it.
    EXPECT_EQ(tabSeparatedText(headedBlock(list, CellBlock{2, 2, 2, 2}, 0, 0)), ".\tC2\nR2\t5.0\n");
    EXPECT_EQ(tabSeparatedText(headedBlock(list, CellBlock{1, 2, 2, 3}, 0, 0)),
              ".\tC2\tC3\nR1\t2.0\t3.0\nR2\t5.0\t6.0\n");
}

TEST(CellText, ABlockThatTakesInTheLabelsIsNotHeadedTwice) {
    const platform::ListModel list = labelledList();
    EXPECT_EQ(tabSeparatedText(headedBlock(list, CellBlock{0, 0, 1, 1}, 0, 0)), ".\tC1\nR1\t1.0\n");
    // Only the row labels in the block: the column labels still head it.
    EXPECT_EQ(tabSeparatedText(headedBlock(list, CellBlock{1, 0, 1, 1}, 0, 0)), ".\tC1\nR1\t1.0\n");
}

TEST(CellText, AListWithoutAHeadingRowGetsOnlyItsLabelColumn) {
    const platform::ListModel list = labelledList();
    EXPECT_EQ(tabSeparatedText(headedBlock(list, CellBlock{1, 3, 2, 3}, -1, 0)),
              "R1\t3.0\nR2\t6.0\n");
    EXPECT_EQ(tabSeparatedText(headedBlock(list, CellBlock{1, 3, 1, 3}, -1, -1)), "3.0\n");
}
