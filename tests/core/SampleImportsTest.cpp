#include "core/analysis/TemperatureSet.h"
#include "core/data/LogFile.h"
#include "core/import/textImport.h"
#include "pages/analysis/DataFilterPage.h"
#include "pages/layout/FileSelectionPage.h"
#include "pages/layout/projectFile.h"

#include "support/PageHarness.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>

using namespace zqar;
using namespace zqar::testing;
using FS = FileSelectionPage;
using DF = DataFilterPage;

namespace {

std::filesystem::path samplesFolder() {
    return std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "samples";
}

// The Fahrenheit tables write three decimals: read back, a value lies within 0.0005 * 5 / 9
// of the Celsius one, plus the rounding of the two conversions.
constexpr double FAHRENHEIT_BOUND = 0.0003; // degrees Celsius

} // namespace

// After scripts/make-samples.sh: the exported tables of samples/imports give, with the
// default settings, the 26 records of the log files in samples/data, with the same start,
// period and samples; those of the Celsius tables bit for bit.
TEST(SampleImports, GiveTheRecordsOfTheLogFiles) {
    const std::filesystem::path samples = samplesFolder();
    const auto files = listImportFiles((samples / "imports").string());
    ASSERT_TRUE(files);
    ASSERT_EQ(files->size(), 25u);
    std::map<std::string, std::string> logFiles;
    for (const auto &entry : std::filesystem::directory_iterator(samples / "data"))
        logFiles[entry.path().stem().string()] = entry.path().string();

    int records = 0;
    int fahrenheit = 0;
    for (const ImportResult &result : importTextFiles(*files, ImportSettings{})) {
        SCOPED_TRACE(result.path);
        ASSERT_FALSE(result.refused()) << refusalText(*result.refusal);
        for (const ImportedRecord &imported : result.records) {
            const LogFile &record = *imported.record;
            ASSERT_EQ(logFiles.count(record.loggerName.str()), 1u) << record.loggerName.str();
            LogFile logged;
            logged.readLogFile(logFiles[record.loggerName.str()], record.channel);
            EXPECT_EQ(record.label(), logged.label());
            EXPECT_EQ(record.startTime(), logged.startTime());
            EXPECT_EQ(record.samplePeriod, logged.samplePeriod);
            EXPECT_EQ(record.endTime(), logged.endTime());
            ASSERT_EQ(record.values.size(), logged.values.size());
            EXPECT_EQ(imported.facts.missingReadings, 0);
            if (imported.facts.unit == TemperatureUnit::Fahrenheit) {
                ++fahrenheit;
                double worst = 0.0;
                for (std::size_t i = 0; i < record.values.size(); ++i)
                    worst = std::max(worst, std::fabs(record.values[i] - logged.values[i]));
                EXPECT_LE(worst, FAHRENHEIT_BOUND);
            } else {
                EXPECT_EQ(record.values, logged.values);
            }
            ++records;
        }
    }
    EXPECT_EQ(records, 26);
    EXPECT_EQ(fahrenheit, 7);
}

namespace {

// A window with a sample project loaded, as the user opens it.
class SampleWindow : public PageTest {
protected:
    void loadProject(const char *name) {
        ASSERT_FALSE(loadProjectFile(window.fileSelectionPage, (samplesFolder() / name).string())
                         .hasFailed());
    }
};

// The placed records of two windows, position by position.
void expectSameRecords(const LoggerArray &a, const LoggerArray &b) {
    const ArrayDimensions counts = a.dimensions();
    ASSERT_EQ(b.dimensions().rows, counts.rows);
    for (int row = -1; row < counts.rows; ++row)
        for (int col = 0; col < (row < 0 ? counts.singularCount : counts.columns); ++col) {
            SCOPED_TRACE(std::to_string(row) + "," + std::to_string(col));
            const LogFile *x = a.at(row, col);
            const LogFile *y = b.at(row, col);
            ASSERT_EQ(x == nullptr, y == nullptr);
            if (!x)
                continue;
            EXPECT_EQ(x->fileName.str(), y->fileName.str());
            EXPECT_EQ(x->label(), y->label());
            EXPECT_EQ(x->startTime(), y->startTime());
            EXPECT_EQ(x->samplePeriod, y->samplePeriod);
            EXPECT_EQ(x->values, y->values); // NO_VALUE compares equal to itself
        }
}

} // namespace

// The sample week imported from its exported tables with samples/imports.ttp gives, after the
// averaged calculation, the sets the log files give with samples/warehouse.ttp: to the rounding
// of the Fahrenheit tables' three decimals, every value of every set.
TEST_F(SampleWindow, ImportedTablesGiveTheSetsOfTheLogFiles) {
    platform::MemoryHost logHost;
    MainWindow logWindow(logHost);
    logWindow.initialise();
    ASSERT_FALSE(
        loadProjectFile(logWindow.fileSelectionPage, (samplesFolder() / "warehouse.ttp").string())
            .hasFailed());
    logHost.dialogOf(logWindow.fileSelectionPage)
        .setText(FS::DIRECTORY, (samplesFolder() / "data").string());
    ASSERT_FALSE(logWindow.loadFiles().hasFailed());
    logHost.takeMessages();
    ASSERT_EQ(logWindow.dataFilterPage.calculateAveraged().kind, CommandOutcome::Kind::Completed);

    loadProject("imports.ttp");
    ASSERT_FALSE(window.importFiles({(samplesFolder() / "imports").string()}).hasFailed());
    EXPECT_EQ(fileSelection().text(FS::STATUS), "25 files were imported.");
    // The same span and range offered, so the same sets are made.
    for (int id :
         {DF::START_TIME, DF::FINISH_TIME, DF::MINIMUM_TEMPERATURE, DF::MAXIMUM_TEMPERATURE})
        EXPECT_EQ(dataFilter().text(id), logHost.dialogOf(logWindow.dataFilterPage).text(id));
    ASSERT_EQ(window.dataFilterPage.calculateAveraged().kind, CommandOutcome::Kind::Completed);

    const SetList &imported = window.job.setList;
    const SetList &logged = logWindow.job.setList;
    ASSERT_EQ(imported.count(), logged.count());
    ASSERT_EQ(imported.count(), 192);
    double worst = 0.0;
    for (int i = 0; i < imported.count(); ++i) {
        const TemperatureSet &a = *imported.at(i);
        const TemperatureSet &b = *logged.at(i);
        ASSERT_EQ(a.time(), b.time());
        for (int row = -1; row <= a.rows; ++row)
            for (int col = -1; col <= a.columns; ++col)
                worst = std::max(worst, std::fabs(a.valueAt(row, col) - b.valueAt(row, col)));
        for (int slot = 0; slot < a.singularCount; ++slot)
            worst = std::max(
                worst, std::fabs(a.valueAt(SINGULAR_ROW, slot) - b.valueAt(SINGULAR_ROW, slot)));
    }
    EXPECT_LE(worst, FAHRENHEIT_BOUND);
}

// Create Report keeps imported records like any other: loaded back, every record is the one
// placed, missing readings included, and the sets are the same.
TEST_F(SampleWindow, ImportedRecordsKeepTheirMissingReadingsThroughAReport) {
    TempDir dir;
    loadProject("imports.ttp");
    // The office logger as a table of its own with two readings missing.
    window.fileSelectionPage.singularLayoutList().setItemText(0, 1, "OFFICE");
    const std::string office = dir.write(
        "office.csv", "Serial Number: OFFICE\nDate Time,Temp (C)\n2025-06-02 00:00:00,21.5\n"
                      "2025-06-02 00:05:00,21.25\n2025-06-02 00:20:00,22\n"
                      "2025-06-02 00:25:00,22.5\n");
    ASSERT_FALSE(window.importFiles({(samplesFolder() / "imports").string(), office}).hasFailed());
    const LogFile *gapped = window.job.loggerArray.at(-1, 0);
    ASSERT_NE(gapped, nullptr);
    ASSERT_EQ(gapped->values.size(), 6u);
    EXPECT_EQ(gapped->values[2], NO_VALUE);
    EXPECT_EQ(gapped->values[3], NO_VALUE);
    ASSERT_EQ(window.dataFilterPage.calculateAveraged().kind, CommandOutcome::Kind::Completed);

    host.saveAnswers.push_back(dir.file("week.ttr"));
    ASSERT_EQ(window.createReport().kind, CommandOutcome::Kind::Completed);
    const std::string report = (dir.path() / "week" / "week.ttr").string();
    ASSERT_TRUE(std::filesystem::exists(report));

    platform::MemoryHost otherHost;
    MainWindow other(otherHost);
    other.initialise();
    ASSERT_EQ(other.loadReport(report).kind, CommandOutcome::Kind::Completed);
    otherHost.takeMessages();
    expectSameRecords(window.job.loggerArray, other.job.loggerArray);
    ASSERT_EQ(other.job.setList.count(), window.job.setList.count());
    for (int i = 0; i < other.job.setList.count(); ++i)
        for (int row = -1; row <= 6; ++row)
            for (int col = -1; col <= 4; ++col)
                ASSERT_EQ(other.job.setList.at(i)->valueAt(row, col),
                          window.job.setList.at(i)->valueAt(row, col));
}
