#include "core/analysis/eventsCsv.h"

#include "core/analysis/statisticsCsv.h"
#include "core/data/caseless.h"
#include "core/data/dateTime.h"
#include "core/data/trimmed.h"
#include "resources/qualificationTexts.h"

#include <cstdio>
#include <memory>
#include <vector>

namespace zqar {

namespace {

constexpr std::size_t READ_BLOCK = 1 << 16;

// One record of CSV text from at, which moves past its line end; a quoted field may hold line
// ends. False when a quote is left open.
bool nextCsvRecord(std::string_view text, std::size_t &at, std::vector<std::string> &fields,
                   int &lines) {
    fields.assign(1, std::string());
    bool quoted = false;
    bool fieldStart = true;
    while (at < text.size()) {
        const char c = text[at++];
        if (quoted) {
            if (c == '"' && at < text.size() && text[at] == '"') {
                fields.back() += '"';
                ++at;
            } else if (c == '"') {
                quoted = false;
            } else {
                lines += c == '\n';
                fields.back() += c;
            }
            continue;
        }
        if (c == '\n') {
            ++lines;
            break;
        }
        if (c == '\r' && at < text.size() && text[at] == '\n')
            continue;
        if (c == ',') {
            fields.emplace_back();
            fieldStart = true;
            continue;
        }
        if (c == '"' && fieldStart) {
            quoted = true;
            fieldStart = false;
            continue;
        }
        fieldStart = false;
        fields.back() += c;
    }
    return !quoted;
}

bool isHeader(const std::vector<std::string> &fields) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i)
        line += (i > 0 ? "," : "") + std::string(trimmed(fields[i]));
    return equalIgnoringCase(line, text::EVENTS_CSV_HEADER);
}

bool isBlank(const std::vector<std::string> &fields) {
    return fields.size() == 1 && trimmed(fields[0]).empty();
}

} // namespace

EventsCsvReading readEventsCsv(std::string_view text) {
    EventsCsvReading reading;
    std::size_t at = 0;
    int lines = 0;
    std::vector<std::string> fields;
    bool first = true;
    while (at < text.size()) {
        const int line = lines + 1;
        const bool closed = nextCsvRecord(text, at, fields, lines);
        const bool header = first && closed && isHeader(fields);
        first = false;
        if (header || (closed && isBlank(fields)))
            continue;
        std::optional<Event> event;
        std::optional<double> time;
        if (closed && (fields.size() == 2 || fields.size() == 3)) {
            event = readEventKind(fields[1]);
            time = parseDateTime(trimmed(fields[0]));
        }
        if (!event || !time) {
            reading.badLine = line;
            return reading;
        }
        event->time = *time;
        if (fields.size() == 3)
            event->note = fields[2];
        reading.events.push_back(std::move(*event));
    }
    return reading;
}

std::string eventsCsv(const std::vector<Event> &events) {
    std::string csv(text::EVENTS_CSV_HEADER);
    csv += CSV_LINE_END;
    for (const Event &event : events) {
        csv += csvField(eventTimeText(event.time)) + ',' + csvField(eventKindText(event)) + ',' +
               csvField(event.note);
        csv += CSV_LINE_END;
    }
    return csv;
}

EventsCsvReading readEventsCsvFile(const std::string &path) {
    EventsCsvReading failed;
    failed.unreadable = true;
    const std::unique_ptr<std::FILE, int (*)(std::FILE *)> file(std::fopen(path.c_str(), "rb"),
                                                                &std::fclose);
    if (!file)
        return failed;
    std::string bytes;
    std::vector<char> block(READ_BLOCK);
    std::size_t got = 0;
    while ((got = std::fread(block.data(), 1, block.size(), file.get())) > 0)
        bytes.append(block.data(), got);
    if (std::ferror(file.get()))
        return failed;
    EventsCsvReading reading = readEventsCsv(bytes);
    reading.digest = FileDigest{bytes.size(), sha256Hex(bytes)};
    return reading;
}

} // namespace zqar
