// The preview of Import Files: a row per file and channel, a refused file with its reason,
// the choices reading the files again, and Import and Cancel.

#include "window/ImportPreviewWindow.h"
#include "app/MainWindow.h"
#include "platform/memory/MemoryHost.h"
#include "support/TempDir.h"

#include <QComboBox>
#include <QPushButton>
#include <QTableWidget>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace zqar;

namespace {

class ImportPreviewWindowTest : public ::testing::Test {
protected:
    ImportPreviewWindowTest() : window(host) {
        window.initialise();
        // 02/03 and 03/03 could be either order; the temperature title names no unit.
        ambiguous = dir.write("ambiguous.csv", "Serial Number: 7\nDate,Temp\n02/03/2024 10:00,68\n"
                                               "02/03/2024 10:30,69.8\n03/03/2024 10:00,71.6\n");
        plain = dir.write("plain.csv", "Date Time,Temp (C),RH (%)\n2024-03-02 10:00:00,20,40\n"
                                       "2024-03-02 10:05:00,21,41\n");
    }

    std::unique_ptr<ImportPreviewWindow> preview() {
        return std::make_unique<ImportPreviewWindow>(window.jobView(),
                                                     std::vector<std::string>{ambiguous, plain},
                                                     [this](const std::vector<std::string> &paths) {
                                                         imported.push_back(paths);
                                                         return CommandOutcome::completed();
                                                     });
    }
    static QString cell(QTableWidget *table, int row, int column) {
        const QTableWidgetItem *item = table->item(row, column);
        return item ? item->text() : QString();
    }

    zqar::testing::TempDir dir;
    platform::MemoryHost host;
    MainWindow window;
    std::string ambiguous;
    std::string plain;
    std::vector<std::vector<std::string>> imported;
};

} // namespace

TEST_F(ImportPreviewWindowTest, ChoicesReadTheFilesAgainAndImportKeepsThem) {
    auto window = preview();
    QTableWidget *table = window->previewTable();
    ASSERT_EQ(table->rowCount(), 2);
    EXPECT_EQ(cell(table, 0, 0), QString("ambiguous.csv"));
    EXPECT_EQ(cell(table, 0, 1),
              QString("Refused: the dates could be day/month or month/day: choose the date order"));
    EXPECT_EQ(table->columnSpan(0, 1), table->columnCount() - 1);
    EXPECT_EQ(cell(table, 1, 0), QString("plain.csv"));
    EXPECT_EQ(cell(table, 1, 3), QString::fromUtf8("\xC2\xB0"
                                                   "C"));
    EXPECT_EQ(cell(table, 1, 12), QString("RH (%)"));

    window->dateOrderChoice()->setCurrentIndex(1); // day-month-year
    window->unitChoice()->setCurrentIndex(1);      // degrees Fahrenheit
    ASSERT_EQ(table->rowCount(), 2);
    EXPECT_EQ(table->columnSpan(0, 1), 1);
    EXPECT_EQ(cell(table, 0, 1), QString("7"));
    EXPECT_EQ(cell(table, 0, 3), QString::fromUtf8("\xC2\xB0"
                                                   "F (not in the title)"));
    EXPECT_EQ(cell(table, 0, 4), QString("02-Mar-2024 10:00AM"));
    EXPECT_EQ(cell(table, 0, 5), QString("03-Mar-2024 10:00AM"));
    EXPECT_EQ(cell(table, 0, 8), QString("46")); // half-hourly over a day, two read
    EXPECT_EQ(cell(table, 0, 11), QString("day-month-year"));
    // The column title names its unit: the choice leaves it alone.
    EXPECT_EQ(cell(table, 1, 3), QString::fromUtf8("\xC2\xB0"
                                                   "C"));

    window->importButton()->click();
    EXPECT_EQ(window->result(), QDialog::Accepted);
    ASSERT_EQ(imported.size(), 1u);
    EXPECT_EQ(imported[0], (std::vector<std::string>{ambiguous, plain}));
    const Job &job = this->window.job;
    EXPECT_EQ(job.setting(JobSetting::ImportDateOrder), "DMY");
    EXPECT_EQ(job.setting(JobSetting::ImportDecimal), "");
    EXPECT_EQ(job.setting(JobSetting::ImportUnit), "F");
    // The choices are in the change log.
    ASSERT_GE(job.changeLog.entries.size(), 2u);
    EXPECT_EQ(job.changeLog.entries.back().field, "importUnitText");

    // The next preview starts from them.
    auto again = preview();
    EXPECT_EQ(again->dateOrderChoice()->currentIndex(), 1);
    EXPECT_EQ(again->unitChoice()->currentIndex(), 1);
    EXPECT_EQ(again->previewTable()->columnSpan(0, 1), 1);
}

TEST_F(ImportPreviewWindowTest, CancelImportsNothingAndKeepsTheSettings) {
    auto window = preview();
    window->decimalChoice()->setCurrentIndex(2); // comma
    window->reject();
    EXPECT_TRUE(imported.empty());
    EXPECT_EQ(this->window.job.setting(JobSetting::ImportDecimal), "");
}
