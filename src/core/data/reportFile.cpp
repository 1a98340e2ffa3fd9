#include "core/data/reportFile.h"

#include "core/data/AtomicFileWriter.h"
#include "resources/strings.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>

#include <sys/stat.h>

namespace zqar {

namespace {

constexpr std::size_t FILE_NAME_OFFSET = 0;
constexpr std::size_t LOGGER_NAME_OFFSET = 300;
constexpr std::size_t START_DAY_OFFSET = 600;
constexpr std::size_t START_STATUS_OFFSET = 608;
constexpr std::size_t PERIOD_OFFSET = 616;
constexpr std::size_t COMMENTS_OFFSET = 624;
constexpr std::size_t VALUE_COUNT_OFFSET = 1824;
constexpr std::size_t CHANNEL_OFFSET = 1828;

// The samples are 64-bit little-endian floats. On a little-endian machine a sample array's
// memory holds exactly those bytes, so it is read and written as it stands.
constexpr bool LITTLE_ENDIAN_HOST = __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__;
// Samples go to the sink in pieces of this many bytes: large enough that the pieces cost
// nothing, small enough that a sink which copies them needs little memory.
constexpr std::size_t SAMPLE_PIECE_BYTES = 1 << 18;

void putUint32(char *at, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<char>((value >> (8 * i)) & 0xFFu);
}

void putUint64(char *at, uint64_t value) {
    for (int i = 0; i < 8; ++i)
        at[i] = static_cast<char>((value >> (8 * i)) & 0xFFu);
}

void putInt32(char *at, int32_t value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    putUint32(at, bits);
}

void putDouble(char *at, double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    putUint64(at, bits);
}

uint32_t getUint32(const char *at) {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value |= static_cast<uint32_t>(static_cast<unsigned char>(at[i])) << (8 * i);
    return value;
}

uint64_t getUint64(const char *at) {
    uint64_t value = 0;
    for (int i = 0; i < 8; ++i)
        value |= static_cast<uint64_t>(static_cast<unsigned char>(at[i])) << (8 * i);
    return value;
}

int32_t getInt32(const char *at) {
    const uint32_t bits = getUint32(at);
    int32_t value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

double getDouble(const char *at) {
    const uint64_t bits = getUint64(at);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void putText(char *at, const TextField &field) {
    // Only the text and its zeros: a TextField's bytes past the text are zero already, but
    // a copy of the view makes no assumption about how the field was filled.
    const std::string_view text = field.view();
    std::memset(at, 0, TEXT_FIELD_SIZE);
    std::memcpy(at, text.data(), text.size());
}

std::string_view fieldText(const char *at) {
    const void *zero = std::memchr(at, 0, TEXT_FIELD_SIZE);
    const std::size_t length =
        zero ? static_cast<std::size_t>(static_cast<const char *>(zero) - at) : TEXT_MAX_LENGTH;
    return std::string_view(at, std::min(length, TEXT_MAX_LENGTH));
}

} // namespace

ReportSource::ReportSource(std::string_view bytes) : memory(bytes), size(bytes.size()) {}

ReportSource::ReportSource(std::FILE *openFile) : file(openFile) {
    struct stat info {};
    const long at = std::ftell(file);
    // Without a size nothing the report announces could be checked: such a source is empty.
    if (at >= 0 && fstat(fileno(file), &info) == 0 && S_ISREG(info.st_mode) && info.st_size >= at)
        size = static_cast<std::uint64_t>(info.st_size - at);
}

bool ReportSource::read(void *into, std::size_t count) {
    if (failed || count > remaining()) {
        failed = true;
        return false;
    }
    if (file) {
        if (std::fread(into, 1, count, file) != count) {
            failed = true;
            ioError = std::ferror(file) != 0;
            return false;
        }
    } else if (count > 0) {
        std::memcpy(into, memory.data() + consumed, count);
    }
    consumed += count;
    return true;
}

bool ReportSource::atEnd() {
    if (failed || remaining() != 0)
        return false;
    if (!file)
        return true;
    // A file that grew since its size was taken has bytes after the last position.
    if (std::fgetc(file) != EOF)
        return false;
    ioError = std::ferror(file) != 0;
    return !ioError;
}

void appendTextField(std::string &out, std::string_view text) {
    const std::size_t length = std::min(text.size(), TEXT_MAX_LENGTH);
    out.append(text.data(), length);
    out.append(TEXT_FIELD_SIZE - length, '\0');
}

namespace {

// The flag, the image and the samples of one position, straight from the record.
void writePosition(const LogFile *record, const ReportSink &sink) {
    char head[REPORT_FLAG_SIZE + REPORT_RECORD_SIZE] = {};
    putInt32(head, record ? 1 : 0);
    if (!record) {
        sink(std::string_view(head, REPORT_FLAG_SIZE));
        return;
    }
    char *image = head + REPORT_FLAG_SIZE;
    putText(image + FILE_NAME_OFFSET, record->fileName);
    putText(image + LOGGER_NAME_OFFSET, record->loggerName);
    putDouble(image + START_DAY_OFFSET, record->startTime.day);
    putInt32(image + START_STATUS_OFFSET, record->startTime.status);
    putDouble(image + PERIOD_OFFSET, record->samplePeriod);
    for (int i = 0; i < COMMENT_LINES; ++i)
        putText(image + COMMENTS_OFFSET + static_cast<std::size_t>(i) * TEXT_FIELD_SIZE,
                record->comments[i]);
    // The count written is the number of samples that follow, whatever valueCount says, so
    // the file can always be read back.
    const std::vector<double> &values = record->values;
    putInt32(image + VALUE_COUNT_OFFSET, static_cast<int32_t>(values.size()));
    putInt32(image + CHANNEL_OFFSET, record->channel);
    sink(std::string_view(head, sizeof head));

    if constexpr (LITTLE_ENDIAN_HOST) {
        const char *bytes = reinterpret_cast<const char *>(values.data());
        const std::size_t total = values.size() * REPORT_SAMPLE_SIZE;
        for (std::size_t at = 0; at < total; at += SAMPLE_PIECE_BYTES)
            sink(std::string_view(bytes + at, std::min(SAMPLE_PIECE_BYTES, total - at)));
    } else {
        std::vector<char> piece(SAMPLE_PIECE_BYTES);
        std::size_t filled = 0;
        for (const double value : values) {
            putDouble(piece.data() + filled, value);
            filled += REPORT_SAMPLE_SIZE;
            if (filled == piece.size()) {
                sink(std::string_view(piece.data(), filled));
                filled = 0;
            }
        }
        if (filled > 0)
            sink(std::string_view(piece.data(), filled));
    }
}

// The twenty fields, field 1 the identification whatever fields[0] holds.
void writeFields(const ReportFields &fields, const ReportSink &sink) {
    std::string out;
    out.reserve(REPORT_ARRAY_OFFSET);
    appendTextField(out, text::REPORT_IDENTIFICATION);
    for (std::size_t i = 1; i < REPORT_FIELD_COUNT; ++i)
        appendTextField(out, fields[i]);
    sink(out);
}

std::size_t positionBytes(const LogFile *record) {
    return REPORT_FLAG_SIZE +
           (record ? REPORT_RECORD_SIZE + record->values.size() * REPORT_SAMPLE_SIZE : 0);
}

// The fields with the array's own counts where theirs differ (see writeReport).
ReportFields fieldsForArray(const ReportFields &fields, const ArrayDimensions &written) {
    const ArrayDimensions stated = layoutDimensions(
        fields[REPORT_ROWS_FIELD], fields[REPORT_COLUMNS_FIELD], fields[REPORT_SINGULAR_FIELD]);
    ReportFields checked = fields;
    if (stated.rows != written.rows)
        checked[REPORT_ROWS_FIELD] = std::to_string(written.rows);
    if (stated.columns != written.columns)
        checked[REPORT_COLUMNS_FIELD] = std::to_string(written.columns);
    if (stated.singularCount != written.singularCount)
        checked[REPORT_SINGULAR_FIELD] = std::to_string(written.singularCount);
    return checked;
}

// Visits the array's positions in the order of the file, empty ones included.
template <typename Visit> void forEachPosition(const LoggerArray &array, Visit &&visit) {
    const ArrayDimensions d = array.dimensions();
    for (int row = 0; row < d.rows; ++row)
        for (int col = 0; col < d.columns; ++col)
            visit(array.at(row, col));
    for (int slot = 0; slot < d.singularCount; ++slot)
        visit(array.at(-1, slot));
}

ReportSink appendTo(std::string &out) {
    return [&out](std::string_view bytes) { out.append(bytes); };
}

} // namespace

void writeReportRecord(std::string &out, const LogFile &record) {
    std::string position;
    writePosition(&record, appendTo(position));
    out.append(position, REPORT_FLAG_SIZE, std::string::npos);
}

void writeReport(const ReportContents &contents, const ReportSink &sink) {
    writeFields(contents.fields, sink);
    for (const std::unique_ptr<LogFile> &record : contents.records)
        writePosition(record.get(), sink);
}

std::string writeReport(const ReportContents &contents) {
    std::size_t size = REPORT_ARRAY_OFFSET;
    for (const std::unique_ptr<LogFile> &record : contents.records)
        size += positionBytes(record.get());
    std::string out;
    out.reserve(size);
    writeReport(contents, appendTo(out));
    return out;
}

void writeReport(const ReportFields &fields, const LoggerArray &array, const ReportSink &sink) {
    // The array section is written with the array's own dimensions and read back with the
    // counts of the fields. A count text changed since the last Update Layout would make the
    // report unreadable, so such a field gets the array's count instead.
    writeFields(fieldsForArray(fields, array.dimensions()), sink);
    forEachPosition(array, [&sink](const LogFile *record) { writePosition(record, sink); });
}

std::string writeReport(const ReportFields &fields, const LoggerArray &array) {
    std::size_t size = REPORT_ARRAY_OFFSET;
    forEachPosition(array, [&size](const LogFile *record) { size += positionBytes(record); });
    std::string out;
    out.reserve(size);
    writeReport(fields, array, appendTo(out));
    return out;
}

bool writeReportFile(const std::string &path, const ReportFields &fields,
                     const LoggerArray &array) {
    return writeReportFile(path, fields, array, KeepGoing{}) == ReportWrite::Written;
}

ReportWrite writeReportFile(const std::string &path, const ReportFields &fields,
                            const LoggerArray &array, const KeepGoing &keepGoing) {
    AtomicFileWriter writer(path);
    if (!writer.isOpen())
        return ReportWrite::Failed;
    std::uint64_t size = REPORT_ARRAY_OFFSET;
    forEachPosition(array, [&size](const LogFile *record) { size += positionBytes(record); });
    std::uint64_t written = 0;
    bool stopped = false;
    // The report is made in pieces; once stopped, the rest goes nowhere and the temp file goes.
    writeReport(fields, array, [&](std::string_view bytes) {
        if (stopped)
            return;
        writer.write(bytes);
        written += bytes.size();
        stopped = !askKeepGoing(keepGoing, written, size);
    });
    if (stopped)
        return ReportWrite::Stopped;
    return writer.commit() ? ReportWrite::Written : ReportWrite::Failed;
}

std::optional<ReportFields> readReportFields(ReportSource &source) {
    char bytes[REPORT_ARRAY_OFFSET];
    if (!source.read(bytes, sizeof bytes))
        return std::nullopt;
    ReportFields fields;
    for (std::size_t i = 0; i < REPORT_FIELD_COUNT; ++i)
        fields[i] = std::string(fieldText(bytes + i * TEXT_FIELD_SIZE));
    return fields;
}

std::unique_ptr<LogFile> readReportRecord(ReportSource &source) {
    char image[REPORT_RECORD_SIZE];
    if (!source.read(image, sizeof image))
        return nullptr;
    const int32_t valueCount = getInt32(image + VALUE_COUNT_OFFSET);
    if (valueCount < 0)
        return nullptr;
    const std::uint64_t sampleBytes = static_cast<std::uint64_t>(valueCount) * REPORT_SAMPLE_SIZE;
    // Checked against what the file holds before any room is made for the samples.
    if (sampleBytes > source.remaining())
        return nullptr;

    auto record = std::make_unique<LogFile>();
    record->fileName.assign(fieldText(image + FILE_NAME_OFFSET));
    record->loggerName.assign(fieldText(image + LOGGER_NAME_OFFSET));
    record->startTime.day = getDouble(image + START_DAY_OFFSET);
    record->startTime.status = getInt32(image + START_STATUS_OFFSET);
    record->samplePeriod = getDouble(image + PERIOD_OFFSET);
    for (int i = 0; i < COMMENT_LINES; ++i)
        record->comments[i].assign(
            fieldText(image + COMMENTS_OFFSET + static_cast<std::size_t>(i) * TEXT_FIELD_SIZE));
    record->valueCount = valueCount;
    record->channel = getInt32(image + CHANNEL_OFFSET);
    std::vector<double> &values = record->values;
    values.resize(static_cast<std::size_t>(valueCount));
    if (!source.read(values.data(), static_cast<std::size_t>(sampleBytes)))
        return nullptr;
    if constexpr (!LITTLE_ENDIAN_HOST) {
        for (double &value : values) {
            char bytes[REPORT_SAMPLE_SIZE];
            std::memcpy(bytes, &value, sizeof bytes);
            value = getDouble(bytes);
        }
    }
    return record;
}

std::optional<std::vector<std::unique_ptr<LogFile>>>
readReportArray(ReportSource &source, const ArrayDimensions &dimensions) {
    const std::size_t positions = static_cast<std::size_t>(std::max(dimensions.rows, 0)) *
                                      static_cast<std::size_t>(std::max(dimensions.columns, 0)) +
                                  static_cast<std::size_t>(std::max(dimensions.singularCount, 0));
    // Every position takes at least its flag: more positions than the file has room for
    // flags cannot be right, and are refused before anything is made for them.
    if (positions > source.remaining() / REPORT_FLAG_SIZE)
        return std::nullopt;
    std::vector<std::unique_ptr<LogFile>> records(positions);
    for (std::size_t i = 0; i < positions; ++i) {
        char flag[REPORT_FLAG_SIZE];
        if (!source.read(flag, sizeof flag))
            return std::nullopt;
        if (getInt32(flag) == 0)
            continue;
        records[i] = readReportRecord(source);
        if (!records[i])
            return std::nullopt;
    }
    if (!source.atEnd())
        return std::nullopt;
    return records;
}

std::optional<ReportContents> readReport(ReportSource &source) {
    std::optional<ReportFields> fields = readReportFields(source);
    if (!fields || (*fields)[0] != text::REPORT_IDENTIFICATION)
        return std::nullopt;
    ReportContents contents;
    contents.fields = std::move(*fields);
    contents.dimensions =
        layoutDimensions(contents.fields[REPORT_ROWS_FIELD], contents.fields[REPORT_COLUMNS_FIELD],
                         contents.fields[REPORT_SINGULAR_FIELD]);
    auto records = readReportArray(source, contents.dimensions);
    if (!records)
        return std::nullopt;
    contents.records = std::move(*records);
    return contents;
}

std::optional<ReportContents> readReport(std::string_view bytes) {
    ReportSource source(bytes);
    return readReport(source);
}

ReportFileRead readReportFile(const std::string &path) {
    ReportFileRead result;
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        return result;
    struct Closer {
        void operator()(std::FILE *file) const { std::fclose(file); }
    };
    const std::unique_ptr<std::FILE, Closer> file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return result;
    ReportSource source(file.get());
    result.contents = readReport(source);
    result.opened = !source.readError();
    if (!result.opened)
        result.contents.reset();
    return result;
}

} // namespace zqar
