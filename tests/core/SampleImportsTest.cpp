#include "core/data/LogFile.h"
#include "core/import/textImport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>

using namespace zqar;

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
