#include "pages/presentation/MatrixPage.h"
#include "core/analysis/TemperatureSet.h"
#include "core/data/numbers.h"
#include "resources/strings.h"

#include "support/PageHarness.h"
#include "support/TempDir.h"

#include <fstream>
#include <sstream>

using namespace zqar;
using namespace zqar::testing;
using MP = MatrixPage;

namespace {

constexpr double X = NO_VALUE;

class Matrix : public PageTest {
protected:
    // A set of values per row of the array, and singular values.
    void addSet(std::vector<std::vector<double>> rows, std::vector<double> singular = {}) {
        const ArrayDimensions d = window.job.loggerArray.dimensions();
        auto set = std::make_unique<TemperatureSet>(novemberFifth(10, 0), 0.0, d.rows, d.columns,
                                                    d.singularCount);
        for (std::size_t r = 0; r < rows.size(); ++r)
            for (std::size_t c = 0; c < rows[r].size(); ++c)
                set->setValue(static_cast<int>(r), static_cast<int>(c), rows[r][c]);
        for (std::size_t i = 0; i < singular.size(); ++i)
            set->setValue(SINGULAR_ROW, static_cast<int>(i), singular[i]);
        window.job.setList.append(std::move(set));
    }
    void boundary(bool ticked) {
        fileSelection().setChecked(FileSelectionPage::LOGGERS_ON_BOUNDARY, ticked);
    }
    std::string exportTo(const std::string &path) {
        host.saveAnswers.push_back(path);
        matrix().click(MP::EXPORT);
        std::ifstream in(path, std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }
    struct Buttons {
        bool first, previous, next, last, print, exportButton;
    };
    Buttons buttons() {
        return Buttons{matrix().isEnabled(MP::FIRST), matrix().isEnabled(MP::PREVIOUS),
                       matrix().isEnabled(MP::NEXT),  matrix().isEnabled(MP::LAST),
                       matrix().isEnabled(MP::PRINT), matrix().isEnabled(MP::EXPORT)};
    }
    TempDir temp;
};

} // namespace

TEST_F(Matrix, ExportWritesWhatThePageShows) {
    layout("2", "3", "1");
    boundary(true);
    addSet({{20.0, 20.5, 21.0}, {19.5, X, X}}, {18.25});
    window.tabChanged(TAB_MATRIX);
    const std::string startFolder = host.currentDirectory();
    const std::string csv = exportTo(temp.file("matrix.csv"));
    EXPECT_EQ(csv, ".,.,C1,C2,C3,.\r\n"
                   ".,-,-,-,-,-\r\n"
                   "R1,-,20.00,20.50,21.00,-\r\n"
                   "R2,-,19.50,-,-,-\r\n"
                   ".,-,-,-,-,-\r\n"
                   "S1,18.25\r\n");
    EXPECT_EQ(host.dialogs.back().options.initialDirectory, startFolder);
}

TEST_F(Matrix, UntickedBoundaryShowsTheRing) {
    layout("2", "2", "0");
    boundary(false);
    addSet({{10, 20}, {30, 40}});
    window.matrixPage.showCurrentSet();
    const TemperatureSet &set = *window.job.setList.at(0);
    const auto table = cells(window.matrixPage.arrayList());
    for (int r = -1; r <= 2; ++r)
        for (int c = -1; c <= 2; ++c) {
            SCOPED_TRACE(std::to_string(r) + "," + std::to_string(c));
            const double v = set.valueAt(r, c);
            EXPECT_EQ(table[static_cast<std::size_t>(r + 2)][static_cast<std::size_t>(c + 2)],
                      v == NO_VALUE ? "-" : formatFixed(v, 2));
        }
    // The ring really carries numbers here: the extrapolation of a full 2 x 2 grid.
    EXPECT_NE(table[1][2], "-");
    EXPECT_EQ(table[2][2], "10.00");
}

TEST_F(Matrix, ExportOfAnEmptyArrayWritesTheLabelAndRingRows) {
    layout("0", "0", "2");
    addSet({}, {1.0, X});
    window.matrixPage.showCurrentSet();
    EXPECT_EQ(exportTo(temp.file("empty.csv")), ".,.,.\r\n"
                                                ".,-,-\r\n"
                                                ".,-,-\r\n"
                                                "S1,1.00\r\n"
                                                "S2,-\r\n");
}

TEST_F(Matrix, NoSetsShowNoDataAndDisableEverything) {
    layout("2", "2", "1");
    window.matrixPage.showCurrentSet();
    EXPECT_EQ(matrix().text(MP::STATUS), "No Data Available.");
    const Buttons b = buttons();
    EXPECT_FALSE(b.first || b.previous || b.next || b.last || b.print || b.exportButton);
    EXPECT_EQ(window.matrixPage.singularList().itemText(0, 1), "-");
}

TEST_F(Matrix, ButtonStatesFollowTheSetCountAndPosition) {
    layout("1", "1", "0");
    addSet({{1}});
    window.matrixPage.showCurrentSet();
    Buttons b = buttons();
    EXPECT_FALSE(b.first || b.previous || b.next || b.last);
    EXPECT_TRUE(b.print && b.exportButton);
    EXPECT_EQ(matrix().text(MP::STATUS), "1 of 1  Time: 05-Nov-2003 10:00AM");

    for (int i = 0; i < 4; ++i)
        addSet({{2.0 + i}});
    matrix().setEnabled(MP::LAST, true);
    matrix().click(MP::LAST);
    EXPECT_EQ(window.job.setList.currentSet, 4);
    b = buttons();
    EXPECT_TRUE(b.first && b.previous && b.last);
    EXPECT_FALSE(b.next);
    EXPECT_FALSE(matrix().click(MP::NEXT)); // disabled: the click does not reach the page
    window.matrixPage.onNext();
    EXPECT_EQ(window.job.setList.currentSet, 4);
    matrix().click(MP::PREVIOUS);
    EXPECT_EQ(window.job.setList.currentSet, 3);
    EXPECT_EQ(matrix().text(MP::STATUS), "4 of 5  Time: 05-Nov-2003 10:00AM");
    EXPECT_EQ(window.matrixPage.arrayList().itemText(2, 2), "4.00");
    EXPECT_TRUE(buttons().next);
    matrix().click(MP::FIRST);
    EXPECT_EQ(window.job.setList.currentSet, 0);
    EXPECT_FALSE(buttons().previous);
}

TEST_F(Matrix, ExportThatCannotOpenTheFileSaysSo) {
    layout("1", "1", "0");
    addSet({{1}});
    window.matrixPage.showCurrentSet();
    exportTo(temp.file("missing-folder/m.csv"));
    const auto message = takeMessage();
    EXPECT_EQ(message.text, "The data could not be exported.  The file could not be opened.  It "
                            "may be in use by another application.");
    EXPECT_EQ(message.caption, "Export");
}

TEST_F(Matrix, CancelledExportWritesNothing) {
    layout("1", "1", "0");
    addSet({{1}});
    window.matrixPage.showCurrentSet();
    matrix().click(MP::EXPORT);
    EXPECT_EQ(host.dialogs.size(), 1u);
    EXPECT_TRUE(std::filesystem::is_empty(temp.path()));
}

TEST_F(Matrix, EstimatesShowMutedAndKeepTheirText) {
    // A 2 x 3 array with loggers at every position but (1, 1), whose gap is filled, and a
    // logger at (0, 2) that recorded nothing at the time asked: its gap is filled as well.
    layout("2", "3", "2");
    boundary(false);
    const double ten = novemberFifth(10, 0);
    auto &array = window.job.loggerArray;
    array.place(0, 0, makeRecord("a", ten, 60, {20, 20}));
    array.place(0, 1, makeRecord("b", ten, 60, {21, 21}));
    array.place(0, 2, makeRecord("c", ten + 1.0, 60, {22, 22}));
    array.place(1, 0, makeRecord("d", ten, 60, {23, 23}));
    array.place(1, 2, makeRecord("e", ten, 60, {24, 24}));
    array.place(-1, 0, makeRecord("s", ten, 60, {5, 5}));
    dataFilter().setText(DataFilterPage::TIME, "05-Nov-2003 10:00AM");
    dataFilter().click(DataFilterPage::CALCULATE_AT_TIME);
    ASSERT_EQ(window.job.setList.count(), 1);
    window.tabChanged(TAB_MATRIX);

    const platform::ListView &values = window.matrixPage.arrayList();
    // List rows and columns 2 to 3 and 2 to 4 are the array; 1 and 4 / 1 and 5 its ring.
    for (int row = 1; row <= 4; ++row)
        for (int col = 1; col <= 5; ++col) {
            SCOPED_TRACE(::testing::Message() << "list row " << row << ", column " << col);
            const bool ring = row == 1 || row == 4 || col == 1 || col == 5;
            const bool filled = (row == 3 && col == 3) || (row == 2 && col == 4);
            const bool hasValue = values.itemText(row, col) != std::string(text::NO_LOGGER);
            EXPECT_EQ(values.isItemMuted(row, col), (ring || filled) && hasValue);
        }
    EXPECT_EQ(values.itemText(2, 2), "20.00");
    EXPECT_NE(values.itemText(3, 3), std::string(text::NO_LOGGER));
    EXPECT_NE(values.itemText(2, 4), std::string(text::NO_LOGGER));
    // The singular loggers are measured or empty, never estimated.
    const platform::ListView &singular = window.matrixPage.singularList();
    EXPECT_EQ(singular.itemText(0, 1), "5.00");
    EXPECT_FALSE(singular.isItemMuted(0, 1));
    EXPECT_EQ(singular.itemText(1, 1), std::string(text::NO_LOGGER));
    EXPECT_FALSE(singular.isItemMuted(1, 1));
    // With the loggers on the boundary the ring is blank, and nothing there is muted.
    boundary(true);
    window.matrixPage.showCurrentSet();
    EXPECT_FALSE(values.isItemMuted(1, 2));
    EXPECT_TRUE(values.isItemMuted(3, 3));
}
