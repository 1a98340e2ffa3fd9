// The importer of exported text tables: the first input byte chooses the import settings, the
// rest is the file. The build makes the read block, the line limit and the sample bound small,
// so the refill, long lines and the bound are all reached with small inputs. The same bytes are
// also read as data rows of a layout the first byte chooses, once by the row reader and once
// line by line the general way, which must agree row for row.

#include "core/data/bounds.h"
#include "core/data/dateTime.h"
#include "core/import/RowReader.h"
#include "core/import/textImport.h"
#include "core/job/Prefill.h"
#include "fuzzCheck.h"

#include <cmath>
#include <cstring>

using namespace zqar;

namespace {

bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

void checkRowsBothWays(std::string_view bytes, uint8_t choice) {
    static const char DELIMITERS[] = {',', ';', '\t', ','};
    RowColumns columns;
    columns.delimiter = DELIMITERS[choice & 3];
    // The plain layout, an index column first, the date and the time apart.
    switch ((choice >> 2) % 3) {
    case 0:
        columns.temperatures = {1, 2};
        break;
    case 1:
        columns.time = 1;
        columns.temperatures = {2, 4};
        break;
    default:
        columns.timeOfDay = 1;
        columns.temperatures = {2};
        break;
    }
    const auto order = static_cast<DateOrder>((choice >> 4) & 3);
    ByteSource fastBytes(bytes);
    ByteSource generalBytes(bytes);
    TextLines fastLines(fastBytes, false, MAX_IMPORT_LINE);
    TextLines generalLines(generalBytes, false, MAX_IMPORT_LINE);
    RowReader fast(columns, order);
    RowReader general(columns, order);
    for (;;) {
        RowReader::Row row = RowReader::Row::NoReadings;
        std::string_view line;
        const bool fastGot = fast.next(fastLines, row);
        FUZZ_CHECK(fastGot == generalLines.next(line));
        if (!fastGot)
            break;
        FUZZ_CHECK(fastLines.lineNumber() == generalLines.lineNumber());
        FUZZ_CHECK(row == general.readGeneral(line));
        if (row != RowReader::Row::Readings)
            continue;
        FUZZ_CHECK(fast.seconds() == general.seconds());
        for (std::size_t k = 0; k < columns.temperatures.size(); ++k) {
            const RowCell &a = fast.cell(k);
            const RowCell &b = general.cell(k);
            FUZZ_CHECK(a.present == b.present);
            FUZZ_CHECK(!a.present ||
                       (a.number.isNumber == b.number.isNumber &&
                        sameBits(a.number.value, b.number.value) &&
                        a.number.mark == b.number.mark && a.number.few == b.number.few));
        }
    }
    FUZZ_CHECK(fastLines.stop() == generalLines.stop());
    FUZZ_CHECK(fast.orderSeen() == general.orderSeen());
}

} // namespace

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
    checkRowsBothWays(bytes, choice);

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
