// The report reader: the input is the bytes of a ".ttr" file, checked as Load Report checks
// it. A report it accepts is written again as Create Report writes it; that must read back to
// the same contents, and writing those gives the same bytes again.

#include "data/reportFile.h"
#include "fuzzCheck.h"
#include "layout/FileSelectionPage.h"
#include "resources/strings.h"

using namespace zqar;

namespace {

constexpr std::size_t ROWS_FIELD = 2;
constexpr std::size_t COLUMNS_FIELD = 3;
constexpr std::size_t SINGULAR_FIELD = 6;

struct Report {
    ReportFields fields;
    LoggerArray array;
};

std::unique_ptr<Report> readReport(std::string_view bytes) {
    std::optional<ReportFields> fields = readReportFields(bytes);
    if (!fields || (*fields)[0] != text::REPORT_IDENTIFICATION)
        return nullptr;
    const ArrayDimensions d = layoutDimensions((*fields)[ROWS_FIELD], (*fields)[COLUMNS_FIELD],
                                               (*fields)[SINGULAR_FIELD]);
    auto records = readReportArray(bytes, d);
    if (!records)
        return nullptr;
    auto report = std::make_unique<Report>();
    report->fields = std::move(*fields);
    report->array.resize(d.rows, d.columns, d.singularCount);
    std::size_t next = 0;
    for (int row = 0; row < d.rows; ++row)
        for (int col = 0; col < d.columns; ++col)
            report->array.place(row, col, std::move((*records)[next++]));
    for (int slot = 0; slot < d.singularCount; ++slot)
        report->array.place(-1, slot, std::move((*records)[next++]));
    FUZZ_CHECK(next == records->size());
    return report;
}

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
    const std::unique_ptr<Report> report = readReport(fuzz::bytesOf(data, size));
    if (!report)
        return 0;
    const ArrayDimensions d = report->array.dimensions();
    FUZZ_CHECK(static_cast<int64_t>(d.rows) * d.columns <= MAX_ARRAY_CELLS);
    FUZZ_CHECK(d.singularCount <= MAX_SINGULAR_COUNT);

    const std::string written = reportBytes(report->fields, report->array);
    const std::unique_ptr<Report> again = readReport(written);
    FUZZ_CHECK(again != nullptr);
    FUZZ_CHECK(again->fields == report->fields);
    const ArrayDimensions d2 = again->array.dimensions();
    FUZZ_CHECK(d2.rows == d.rows && d2.columns == d.columns && d2.singularCount == d.singularCount);
    for (int row = 0; row < d.rows; ++row)
        for (int col = 0; col < d.columns; ++col)
            FUZZ_CHECK(sameRecord(report->array.at(row, col), again->array.at(row, col)));
    for (int slot = 0; slot < d.singularCount; ++slot)
        FUZZ_CHECK(sameRecord(report->array.at(-1, slot), again->array.at(-1, slot)));
    FUZZ_CHECK(reportBytes(again->fields, again->array) == written);
    return 0;
}
