// The importer of exported text tables: the first input byte chooses the import settings, the
// rest is the file. The build makes the read block, the line limit and the sample bound small,
// so the refill, long lines and the bound are all reached with small inputs.

#include "core/data/bounds.h"
#include "core/data/dateTime.h"
#include "core/import/textImport.h"
#include "core/job/Prefill.h"
#include "fuzzCheck.h"

#include <cmath>

using namespace zqar;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
    fuzz::InputReader input(fuzz::bytesOf(data, size));
    const uint8_t choice = input.byte();
    ImportSettings settings;
    settings.dateOrder = static_cast<DateOrder>(choice & 3);
    settings.decimalMark = static_cast<DecimalMark>((choice >> 2) % 3);
    settings.untitledUnit = (choice & 16) ? TemperatureUnit::Fahrenheit : TemperatureUnit::Celsius;
    if (choice & 32)
        settings.utcOffsetMinutes = (choice & 64) ? -480 : 330;
    const std::string_view bytes = input.remaining();

    const ImportResult result = importTextBytes(bytes, "fuzz.csv", settings);
    FUZZ_CHECK(result.path == "fuzz.csv");
    FUZZ_CHECK(result.refused() == result.records.empty());
    if (result.refusal) {
        FUZZ_CHECK(!result.refusal->reason.empty());
        FUZZ_CHECK(result.refusal->line >= 0);
        FUZZ_CHECK(static_cast<std::size_t>(result.refusal->line) <= bytes.size() + 1);
        (void)refusalText(*result.refusal);
        return 0;
    }
    FUZZ_CHECK(result.layout.delimiter == '\t' || result.layout.delimiter == ';' ||
               result.layout.delimiter == ',');
    FUZZ_CHECK(result.layout.decimalMark == '.' || result.layout.decimalMark == ',');
    FUZZ_CHECK(result.records.size() <= static_cast<std::size_t>(MAX_IMPORT_CHANNELS));
    std::size_t samples = 0;
    int previousChannel = 0;
    for (const ImportedRecord &imported : result.records) {
        const LogFile &record = *imported.record;
        const ImportedRecordFacts &facts = imported.facts;
        samples += record.values.size();
        // A record starts and ends with a reading, holds at least two, and between them
        // exactly the missing readings its facts count.
        FUZZ_CHECK(record.values.size() == static_cast<std::size_t>(record.valueCount));
        FUZZ_CHECK(record.values.size() >= 2);
        FUZZ_CHECK(record.values.front() != NO_VALUE && record.values.back() != NO_VALUE);
        int64_t readings = 0;
        for (const double v : record.values) {
            if (v != NO_VALUE) {
                FUZZ_CHECK(std::isfinite(v));
                ++readings;
            }
        }
        FUZZ_CHECK(readings == facts.readings);
        FUZZ_CHECK(facts.missingReadings == record.valueCount - readings);
        // Every reading took at least a digit and a line end of the file.
        FUZZ_CHECK(static_cast<std::size_t>(readings) <= bytes.size() / 2 + 1);
        FUZZ_CHECK(record.samplePeriod >= 1.0 && record.samplePeriod == facts.intervalSeconds);
        FUZZ_CHECK(record.channel > previousChannel);
        previousChannel = record.channel;
        FUZZ_CHECK(record.fileName.view() == "fuzz.csv");
        FUZZ_CHECK(facts.serial == record.loggerName.view());
        FUZZ_CHECK(facts.label == importLabel(facts.serial, record.channel));
        FUZZ_CHECK(facts.firstTime == record.startTime());
        // Day numbers before 1900 do not grow with the time of day; the seconds they show do,
        // and the last reading lies a whole number of intervals after the first.
        const int64_t span = roundedSeconds(facts.lastTime) - roundedSeconds(facts.firstTime);
        FUZZ_CHECK(span == static_cast<int64_t>(record.valueCount - 1) *
                               static_cast<int64_t>(record.samplePeriod));

        // What the calculations and the placement ask of a record.
        Prefill range;
        range.widenRange(record);
        FUZZ_CHECK(!range.rangeSeen || !(range.highest < range.lowest));
        (void)record.averageAround(record.startTime(), record.samplePeriod * 4);
        (void)record.averageAround(record.endTime(), 0.0);
        (void)record.positionFromComments(1);
        (void)record.label();
    }
    FUZZ_CHECK(samples <= static_cast<std::size_t>(MAX_IMPORT_SAMPLES));
    return 0;
}
