#include "pages/layout/FileSelectionPage.h"
#include "pages/presentation/MatrixPage.h"

#include "resources/strings.h"
#include "support/PageHarness.h"

using namespace zqar;
using namespace zqar::testing;
using Rows = std::vector<std::vector<std::string>>;
using FS = FileSelectionPage;

namespace {

class FileSelection : public PageTest {};

} // namespace

TEST_F(FileSelection, StartUpTablesHaveTheDefaultShape) {
    EXPECT_EQ(cells(window.fileSelectionPage.arrayLayoutList()),
              (Rows{{".", "C1", "C2", "C3", "C4"},
                    {"R1", "-", "-", "-", "-"},
                    {"R2", "-", "-", "-", "-"},
                    {"R3", "-", "-", "-", "-"},
                    {"R4", "-", "-", "-", "-"},
                    {"R5", "-", "-", "-", "-"},
                    {"R6", "-", "-", "-", "-"}}));
    EXPECT_EQ(cells(window.fileSelectionPage.singularLayoutList()),
              (Rows{{"S1", "-"}, {"S2", "-"}}));
    const auto &singularList = window.fileSelectionPage.singularLayoutList();
    EXPECT_EQ(singularList.column(0)->width, 40);
    EXPECT_EQ(singularList.column(1)->width, 60);
    EXPECT_EQ(window.fileSelectionPage.arrayLayoutList().column(3)->width, 60);

    const Rows matrix = cells(window.matrixPage.arrayList());
    ASSERT_EQ(matrix.size(), 9u);
    EXPECT_EQ(matrix[0], (std::vector<std::string>{".", ".", "C1", "C2", "C3", "C4", "."}));
    EXPECT_EQ(matrix[1], (std::vector<std::string>{".", "-", "-", "-", "-", "-", "-"}));
    EXPECT_EQ(matrix[2], (std::vector<std::string>{"R1", "-", "-", "-", "-", "-", "-"}));
    EXPECT_EQ(matrix[7][0], "R6");
    EXPECT_EQ(matrix[8], (std::vector<std::string>{".", "-", "-", "-", "-", "-", "-"}));
    EXPECT_EQ(cells(window.matrixPage.singularList()), (Rows{{"S1", "-"}, {"S2", "-"}}));

    const ArrayDimensions d = window.job.loggerArray.dimensions();
    EXPECT_EQ(d.rows, 6);
    EXPECT_EQ(d.columns, 4);
    EXPECT_EQ(d.singularCount, 2);
    EXPECT_TRUE(fileSelection().isChecked(FS::USE_COMMENT_FIELD));
    EXPECT_FALSE(fileSelection().isChecked(FS::USE_SERIAL_NUMBERS));
    EXPECT_TRUE(fileSelection().isChecked(FS::LOGGERS_ON_BOUNDARY));
}

TEST_F(FileSelection, FewerRowsDropItemsAndEmptyEveryCell) {
    window.fileSelectionPage.arrayLayoutList().setItemText(1, 1, "4711");
    window.job.loggerArray.place(0, 0, makeRecord("4711", 1.0, 60, {20}));
    layout("3", "4", "2");
    EXPECT_EQ(cells(window.fileSelectionPage.arrayLayoutList()),
              (Rows{{".", "C1", "C2", "C3", "C4"},
                    {"R1", "-", "-", "-", "-"},
                    {"R2", "-", "-", "-", "-"},
                    {"R3", "-", "-", "-", "-"}}));
    EXPECT_EQ(window.job.loggerArray.at(0, 0), nullptr);
    const Rows matrix = cells(window.matrixPage.arrayList());
    ASSERT_EQ(matrix.size(), 6u);
    EXPECT_EQ(matrix[4][0], "R3");
    EXPECT_EQ(matrix[5][0], ".");
}

TEST_F(FileSelection, GrowingTheTablesAddsLabelledRowsAndColumns) {
    layout("2", "2", "1");
    layout("3", "5", "2");
    EXPECT_EQ(cells(window.fileSelectionPage.arrayLayoutList()),
              (Rows{{".", "C1", "C2", "C3", "C4", "C5"},
                    {"R1", "-", "-", "-", "-", "-"},
                    {"R2", "-", "-", "-", "-", "-"},
                    {"R3", "-", "-", "-", "-", "-"}}));
    const Rows matrix = cells(window.matrixPage.arrayList());
    ASSERT_EQ(matrix.size(), 6u);
    EXPECT_EQ(matrix[0], (std::vector<std::string>{".", ".", "C1", "C2", "C3", "C4", "C5", "."}));
    EXPECT_EQ(matrix[4][0], "R3");
    EXPECT_EQ(matrix[5], (std::vector<std::string>{".", "-", "-", "-", "-", "-", "-", "-"}));
}

TEST_F(FileSelection, SingularSerialNumbersSurviveForTheSlotsThatRemain) {
    layout("6", "4", "3");
    auto &singular = window.fileSelectionPage.singularLayoutList();
    singular.setItemText(0, 1, "101");
    singular.setItemText(1, 1, "102");
    singular.setItemText(2, 1, "103");
    layout("6", "4", "2");
    EXPECT_EQ(cells(singular), (Rows{{"S1", "101"}, {"S2", "102"}}));
    layout("6", "4", "3");
    EXPECT_EQ(cells(singular), (Rows{{"S1", "101"}, {"S2", "102"}, {"S3", "-"}}));
}

TEST_F(FileSelection, ASingleRowOrColumnUnchecksBoundaryForGood) {
    for (const auto &[rows, columns] : {std::pair{"1", "4"}, std::pair{"6", "1"}}) {
        SCOPED_TRACE(std::string(rows) + " x " + columns);
        fileSelection().setChecked(FS::LOGGERS_ON_BOUNDARY, true);
        layout(rows, columns, "2");
        EXPECT_FALSE(fileSelection().isChecked(FS::LOGGERS_ON_BOUNDARY));
        layout("2", "2", "2");
        EXPECT_FALSE(fileSelection().isChecked(FS::LOGGERS_ON_BOUNDARY));
    }
}

TEST_F(FileSelection, CountTextsReadAsLeadingIntegers) {
    struct Case {
        const char *rows, *columns, *singular;
        int expectedRows, expectedColumns, expectedSingular;
        bool tooLarge;
    };
    const Case cases[] = {
        {"abc", "4", "2", 0, 4, 2, false},  // no digits: 0
        {"6", "3abc", "2", 6, 3, 2, false}, // digits, then letters
        {" 2", "+3", "-1", 2, 3, 0, false}, // blanks and signs; negative treated as 0
        {"-5", "-7", "0", 0, 0, 0, false},
        {"100", "100", "1000", 100, 100, 1000, false}, // the largest layout
        {"1", "10000", "2", 1, 10000, 2, false},
        {"100", "101", "2", 0, 0, 2, true}, // 10,100 cells
        {"0", "10001", "2", 0, 0, 2, true}, // no cells, but 10,001 columns to show
        {"2000", "2000", "1", 0, 0, 1, true},
        {"997", "997", "2000000", 0, 0, 0, true},
        {"6", "4", "1001", 6, 4, 0, true},
        {"99999999999", "99999999999", "99999999999", 0, 0, 0, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.rows) + "/" + c.columns + "/" + c.singular);
        layout(c.rows, c.columns, c.singular);
        const ArrayDimensions d = window.job.loggerArray.dimensions();
        EXPECT_EQ(d.rows, c.expectedRows);
        EXPECT_EQ(d.columns, c.expectedColumns);
        EXPECT_EQ(d.singularCount, c.expectedSingular);
        const auto &table = window.fileSelectionPage.arrayLayoutList();
        EXPECT_EQ(table.itemCount(), c.expectedRows + 1);
        EXPECT_EQ(table.columnCount(), c.expectedColumns + 1);
        EXPECT_EQ(window.matrixPage.arrayList().itemCount(), c.expectedRows + 3);
        EXPECT_EQ(window.matrixPage.arrayList().columnCount(), c.expectedColumns + 3);
        EXPECT_EQ(window.fileSelectionPage.singularLayoutList().itemCount(), c.expectedSingular);
        EXPECT_EQ(fileSelection().text(FS::STATUS),
                  c.tooLarge ? std::string(text::LAYOUT_TOO_LARGE) : std::string());
    }
}

TEST_F(FileSelection, LayoutWithinTheBoundsKeepsAnyOtherStatus) {
    fileSelection().setText(FS::STATUS, "3 files loaded");
    layout("6", "4", "2");
    EXPECT_EQ(fileSelection().text(FS::STATUS), "3 files loaded");
    layout("200", "200", "2");
    EXPECT_EQ(fileSelection().text(FS::STATUS), text::LAYOUT_TOO_LARGE);
    layout("6", "4", "2");
    EXPECT_EQ(fileSelection().text(FS::STATUS), "");
}

TEST_F(FileSelection, NoRowsLeavesOnlyTheColumnLabels) {
    layout("x", "3", "0");
    EXPECT_EQ(cells(window.fileSelectionPage.arrayLayoutList()), (Rows{{".", "C1", "C2", "C3"}}));
    EXPECT_EQ(window.fileSelectionPage.singularLayoutList().itemCount(), 0);
    EXPECT_EQ(cells(window.matrixPage.arrayList()), (Rows{{".", ".", "C1", "C2", "C3", "."},
                                                          {".", "-", "-", "-", "-", "-"},
                                                          {".", "-", "-", "-", "-", "-"}}));
}

TEST_F(FileSelection, RadioButtonsOfThePairExcludeEachOther) {
    fileSelection().click(FS::USE_SERIAL_NUMBERS);
    EXPECT_TRUE(fileSelection().isChecked(FS::USE_SERIAL_NUMBERS));
    EXPECT_FALSE(fileSelection().isChecked(FS::USE_COMMENT_FIELD));
    EXPECT_TRUE(fileSelection().isChecked(FS::LOGGERS_ON_BOUNDARY));
}
