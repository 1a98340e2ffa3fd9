#include "data/reportFile.h"

#include "resources/strings.h"

#include <cstdint>
#include <cstring>

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

void appendTextField(std::string &out, std::string_view text) {
    const std::size_t length = std::min(text.size(), TEXT_MAX_LENGTH);
    out.append(text.data(), length);
    out.append(TEXT_FIELD_SIZE - length, '\0');
}

void writeReportRecord(std::string &out, const LogFile &record) {
    char image[REPORT_RECORD_SIZE] = {};
    putText(image + FILE_NAME_OFFSET, record.fileName);
    putText(image + LOGGER_NAME_OFFSET, record.loggerName);
    putDouble(image + START_DAY_OFFSET, record.startTime.day);
    putInt32(image + START_STATUS_OFFSET, record.startTime.status);
    putDouble(image + PERIOD_OFFSET, record.samplePeriod);
    for (int i = 0; i < COMMENT_LINES; ++i)
        putText(image + COMMENTS_OFFSET + static_cast<std::size_t>(i) * TEXT_FIELD_SIZE,
                record.comments[i]);
    // The count written is the number of samples that follow, whatever valueCount says, so
    // the file can always be read back.
    const std::size_t count = record.values.size();
    putInt32(image + VALUE_COUNT_OFFSET, static_cast<int32_t>(count));
    putInt32(image + CHANNEL_OFFSET, record.channel);
    out.append(image, sizeof image);
    char sample[REPORT_SAMPLE_SIZE];
    for (std::size_t i = 0; i < count; ++i) {
        putDouble(sample, record.values[i]);
        out.append(sample, sizeof sample);
    }
}


namespace {

// The twenty fields, field 1 the identification whatever fields[0] holds.
std::string fieldBytes(const ReportFields &fields) {
    std::string out;
    out.reserve(REPORT_ARRAY_OFFSET);
    appendTextField(out, text::REPORT_IDENTIFICATION);
    for (std::size_t i = 1; i < REPORT_FIELD_COUNT; ++i)
        appendTextField(out, fields[i]);
    return out;
}

// A position's flag and, when it holds one, its record.
void appendPosition(std::string &out, const LogFile *record) {
    char flag[REPORT_FLAG_SIZE];
    putInt32(flag, record ? 1 : 0);
    out.append(flag, sizeof flag);
    if (record)
        writeReportRecord(out, *record);
}

} // namespace

std::optional<ReportFields> readReportFields(std::string_view bytes) {
    if (bytes.size() < REPORT_ARRAY_OFFSET)
        return std::nullopt;
    ReportFields fields;
    for (std::size_t i = 0; i < REPORT_FIELD_COUNT; ++i)
        fields[i] = std::string(fieldText(bytes.data() + i * TEXT_FIELD_SIZE));
    return fields;
}

std::unique_ptr<LogFile> readReportRecord(std::string_view bytes, std::size_t &offset) {
    if (offset > bytes.size() || bytes.size() - offset < REPORT_RECORD_SIZE)
        return nullptr;
    const char *image = bytes.data() + offset;
    const int32_t valueCount = getInt32(image + VALUE_COUNT_OFFSET);
    if (valueCount < 0)
        return nullptr;
    const std::size_t sampleBytes = static_cast<std::size_t>(valueCount) * REPORT_SAMPLE_SIZE;
    const std::size_t remaining = bytes.size() - offset - REPORT_RECORD_SIZE;
    // Checked against what the file holds before any room is made for the samples.
    if (sampleBytes > remaining)
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
    const char *samples = image + REPORT_RECORD_SIZE;
    record->values.resize(static_cast<std::size_t>(valueCount));
    for (std::size_t i = 0; i < record->values.size(); ++i)
        record->values[i] = getDouble(samples + i * REPORT_SAMPLE_SIZE);
    offset += REPORT_RECORD_SIZE + sampleBytes;
    return record;
}

std::optional<std::vector<std::unique_ptr<LogFile>>>
readReportArray(std::string_view bytes, const ArrayDimensions &dimensions) {
    const std::size_t positions = static_cast<std::size_t>(std::max(dimensions.rows, 0)) *
                                      static_cast<std::size_t>(std::max(dimensions.columns, 0)) +
                                  static_cast<std::size_t>(std::max(dimensions.singularCount, 0));
    // Every position takes at least its flag: more positions than the file has room for
    // flags cannot be right, and are refused before anything is made for them.
    if (bytes.size() < REPORT_ARRAY_OFFSET ||
        positions > (bytes.size() - REPORT_ARRAY_OFFSET) / REPORT_FLAG_SIZE)
        return std::nullopt;
    std::vector<std::unique_ptr<LogFile>> records(positions);
    std::size_t offset = REPORT_ARRAY_OFFSET;
    for (std::size_t i = 0; i < positions; ++i) {
        if (bytes.size() - offset < REPORT_FLAG_SIZE)
            return std::nullopt;
        const int32_t present = getInt32(bytes.data() + offset);
        offset += REPORT_FLAG_SIZE;
        if (present == 0)
            continue;
        records[i] = readReportRecord(bytes, offset);
        if (!records[i])
            return std::nullopt;
    }
    if (offset != bytes.size())
        return std::nullopt;
    return records;
}

std::optional<ReportContents> readReport(std::string_view bytes) {
    std::optional<ReportFields> fields = readReportFields(bytes);
    if (!fields || (*fields)[0] != text::REPORT_IDENTIFICATION)
        return std::nullopt;
    ReportContents contents;
    contents.fields = std::move(*fields);
    contents.dimensions =
        layoutDimensions(contents.fields[REPORT_ROWS_FIELD], contents.fields[REPORT_COLUMNS_FIELD],
                         contents.fields[REPORT_SINGULAR_FIELD]);
    auto records = readReportArray(bytes, contents.dimensions);
    if (!records)
        return std::nullopt;
    contents.records = std::move(*records);
    return contents;
}

std::string writeReport(const ReportContents &contents) {
    std::string out = fieldBytes(contents.fields);
    for (const std::unique_ptr<LogFile> &record : contents.records)
        appendPosition(out, record.get());
    return out;
}

std::string writeReport(const ReportFields &fields, const LoggerArray &array) {
    // The array section is written with the array's own dimensions and read back with the
    // counts of the fields. A count text changed since the last Update Layout would make the
    // report unreadable, so such a field gets the array's count instead.
    const ArrayDimensions written = array.dimensions();
    const ArrayDimensions stated = layoutDimensions(
        fields[REPORT_ROWS_FIELD], fields[REPORT_COLUMNS_FIELD], fields[REPORT_SINGULAR_FIELD]);
    ReportFields checked = fields;
    if (stated.rows != written.rows)
        checked[REPORT_ROWS_FIELD] = std::to_string(written.rows);
    if (stated.columns != written.columns)
        checked[REPORT_COLUMNS_FIELD] = std::to_string(written.columns);
    if (stated.singularCount != written.singularCount)
        checked[REPORT_SINGULAR_FIELD] = std::to_string(written.singularCount);

    std::string out = fieldBytes(checked);
    for (int row = 0; row < written.rows; ++row)
        for (int col = 0; col < written.columns; ++col)
            appendPosition(out, array.at(row, col));
    for (int slot = 0; slot < written.singularCount; ++slot)
        appendPosition(out, array.at(-1, slot));
    return out;
}

} // namespace zqar
