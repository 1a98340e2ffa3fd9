// The report reader: the input is the bytes of a ".ttr" file, read with the checks Load
// Report makes. A report it accepts is written again as Create Report writes it; that must
// read back to the same contents, and writing those gives the same bytes again.

#include "core/data/reportFile.h"
#include "fuzzCheck.h"

using namespace zqar;

namespace {

bool sameRecord(const LogFile *a, const LogFile *b) {
    if (!a || !b)
        return a == b;
    bool same =
        a->fileName.view() == b->fileName.view() && a->loggerName.view() == b->loggerName.view() &&
        fuzz::sameBits(a->startTime.day, b->startTime.day) &&
        a->startTime.status == b->startTime.status &&
        fuzz::sameBits(a->samplePeriod, b->samplePeriod) && a->valueCount == b->valueCount &&
        a->channel == b->channel && a->values.size() == b->values.size();
    for (int i = 0; same && i < COMMENT_LINES; ++i)
        same = a->comments[i].view() == b->comments[i].view();
    for (std::size_t i = 0; same && i < a->values.size(); ++i)
        same = fuzz::sameBits(a->values[i], b->values[i]);
    return same;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
    const std::optional<ReportContents> report = readReport(fuzz::bytesOf(data, size));
    if (!report)
        return 0;
    const ArrayDimensions d = report->dimensions;
    FUZZ_CHECK(int64_t{d.rows} * d.columns <= MAX_ARRAY_CELLS);
    FUZZ_CHECK(d.singularCount <= MAX_SINGULAR_COUNT);
    FUZZ_CHECK(report->records.size() ==
               static_cast<std::size_t>(d.rows) * d.columns + d.singularCount);

    // Through the logger array, as Load Report places the records and Create Report writes
    // them.
    LoggerArray array;
    array.resize(d.rows, d.columns, d.singularCount);
    std::size_t next = 0;
    for (int row = 0; row < d.rows; ++row)
        for (int col = 0; col < d.columns; ++col, ++next)
            if (report->records[next])
                array.place(row, col, std::make_unique<LogFile>(*report->records[next]));
    for (int slot = 0; slot < d.singularCount; ++slot, ++next)
        if (report->records[next])
            array.place(-1, slot, std::make_unique<LogFile>(*report->records[next]));
    const std::string written = writeReport(report->fields, array);
    FUZZ_CHECK(writeReport(*report) == written);

    const std::optional<ReportContents> again = readReport(written);
    FUZZ_CHECK(again.has_value());
    FUZZ_CHECK(again->fields == report->fields);
    FUZZ_CHECK(again->dimensions.rows == d.rows && again->dimensions.columns == d.columns &&
               again->dimensions.singularCount == d.singularCount);
    FUZZ_CHECK(again->records.size() == report->records.size());
    for (std::size_t i = 0; i < report->records.size(); ++i)
        FUZZ_CHECK(sameRecord(report->records[i].get(), again->records[i].get()));
    FUZZ_CHECK(writeReport(*again) == written);
    return 0;
}
