// Pictures as files and on the clipboard, and a window table's cells as copied text.

#include "platform/DrawingContext.h"
#include "platform/memory/MemoryHost.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"
#include "window/PictureFile.h"
#include "window/tableCopy.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QImage>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

using namespace zqar;

namespace {

// A red rectangle from a quarter to half of each side on the white page, and a word in the
// top left corner on a box of its own.
void drawSample(platform::DrawingContext &dc, int width, int height) {
    dc.fillRect(platform::Rect{width / 4, height / 4, width / 2, height / 2},
                platform::rgb(255, 0, 0));
    dc.textOut(2, 2, "Sample");
}

} // namespace

TEST(Pictures, PngAndSvgByTheNameAndNothingLeftBehindOnFailure) {
    zqar::testing::TempDir dir;
    const std::string png = dir.file("map.png");
    ASSERT_TRUE(savePicture(drawSample, PictureSize{80, 60}, png));
    const QImage read(QString::fromStdString(png));
    ASSERT_EQ(read.size(), QSize(80, 60));
    EXPECT_EQ(read.pixelColor(30, 20), QColor(255, 0, 0));
    EXPECT_EQ(read.pixelColor(70, 55), QColor(255, 255, 255));

    // Any case of ".svg" makes a drawing of shapes and text, at the size asked for.
    const std::string svg = dir.file("map.SVG");
    ASSERT_TRUE(savePicture(drawSample, PictureSize{80, 60}, svg));
    const std::string text = zqar::testing::fileBytes(svg);
    EXPECT_NE(text.find("<svg"), std::string::npos);
    EXPECT_NE(text.find("viewBox=\"0 0 80 60\""), std::string::npos) << text.substr(0, 400);
    EXPECT_NE(text.find("Sample"), std::string::npos);
    EXPECT_NE(text.find("#ff0000"), std::string::npos);

    EXPECT_FALSE(isSvgPath("map.svg.png"));
    EXPECT_FALSE(savePicture(drawSample, PictureSize{80, 60}, dir.file("missing/map.svg")));
    EXPECT_FALSE(savePicture(drawSample, PictureSize{80, 60}, dir.file("missing/map.png")));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "missing"));
}

// Saving through the dialog: its title and the failure's message are the caller's own, and a
// closed dialog writes nothing and says nothing.
TEST(Pictures, SaveAsAsksWithTheTitleGivenAndSaysWhenTheFileCannotBeWritten) {
    zqar::testing::TempDir dir;
    platform::MemoryHost host;
    const PictureSaveTexts texts{"Save the map", "The map was not saved.", "Maps"};
    EXPECT_EQ(savePictureAs(host, drawSample, PictureSize{80, 60}, texts).kind,
              CommandOutcome::Kind::Cancelled);
    EXPECT_TRUE(host.takeMessages().empty());

    host.saveAnswers.push_back(dir.file("missing/map.png"));
    const CommandOutcome failed = savePictureAs(host, drawSample, PictureSize{80, 60}, texts);
    EXPECT_EQ(failed.message, "The map was not saved.");
    const std::vector<platform::RecordedMessage> said = host.takeMessages();
    ASSERT_EQ(said.size(), 1u);
    EXPECT_EQ(said[0].caption, "Maps");
    EXPECT_EQ(said[0].text, "The map was not saved.");

    host.saveAnswers.push_back(dir.file("map.png"));
    EXPECT_EQ(savePictureAs(host, drawSample, PictureSize{80, 60}, texts).kind,
              CommandOutcome::Kind::Completed);
    EXPECT_TRUE(std::filesystem::exists(dir.file("map.png")));
    ASSERT_EQ(host.dialogs.size(), 3u);
    for (const platform::RecordedDialog &asked : host.dialogs) {
        EXPECT_EQ(asked.kind, platform::DialogKind::SaveFile);
        EXPECT_EQ(asked.options.title, "Save the map");
    }
}

TEST(Pictures, CopyPutsTheBitmapOnTheClipboard) {
    QApplication::clipboard()->clear();
    copyPicture(drawSample, PictureSize{80, 60});
    const QImage copied = QApplication::clipboard()->image();
    ASSERT_EQ(copied.size(), QSize(80, 60));
    EXPECT_EQ(copied.pixelColor(30, 20), QColor(255, 0, 0));
}

namespace {

// Position, mean and minimum of three positions, shown sorted by mean, highest first.
class TableCopy : public ::testing::Test {
protected:
    void SetUp() override {
        model.setHorizontalHeaderLabels({"Position", "Mean", "Minimum"});
        const char *rows[][3] = {
            {"R1C1", "20.10", "19.00"}, {"R1C2", "22.40", "21.00"}, {"R2C1", "21.30", "20.50"}};
        for (const auto &row : rows)
            model.appendRow(
                {new QStandardItem(row[0]), new QStandardItem(row[1]), new QStandardItem(row[2])});
        sorted.setSourceModel(&model);
        view.setModel(&sorted);
        view.setSortingEnabled(true);
        view.sortByColumn(1, Qt::DescendingOrder);
    }
    void select(int row, int column) {
        view.selectionModel()->select(sorted.index(row, column), QItemSelectionModel::Select);
    }

    QStandardItemModel model;
    QSortFilterProxyModel sorted;
    QTableView view;
};

} // namespace

TEST_F(TableCopy, WithoutASelectionTheWholeTableInTheOrderShown) {
    EXPECT_EQ(tableViewText(view), "Position\tMean\tMinimum\n"
                                   "R1C2\t22.40\t21.00\n"
                                   "R2C1\t21.30\t20.50\n"
                                   "R1C1\t20.10\t19.00\n");
}

TEST_F(TableCopy, SelectedCellsWithTheHeadingsOfTheirColumnsAndGapsLeftEmpty) {
    select(0, 0);
    select(2, 2);
    EXPECT_EQ(tableViewText(view), "Position\tMinimum\nR1C2\t\n\t19.00\n");
    // A column moved on the screen is copied where it shows; a hidden one not at all.
    view.horizontalHeader()->moveSection(2, 0);
    EXPECT_EQ(tableViewText(view), "Minimum\tPosition\n\tR1C2\n19.00\t\n");
    view.setColumnHidden(0, true);
    // The first row had only its hidden cell selected, so it goes too.
    EXPECT_EQ(tableViewText(view), "Minimum\n19.00\n");
}

TEST_F(TableCopy, CtrlCOnTheTablePutsTheTextOnTheClipboard) {
    copyTableOnKey(view);
    select(1, 1);
    QApplication::clipboard()->clear();
    QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QString("Mean\n21.30\n"));
}
