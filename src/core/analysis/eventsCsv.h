#pragma once
// The events of a run as CSV, "Time,Event,Note": the file the batch tool's --events reads, with
// the time as the program writes dates and the event as it is typed (KIND, see
// core/data/events.h). Comma-separated, "\r\n" after every line, fields quoted as the other CSV
// writers quote them.

#include "core/data/events.h"
#include "core/integrity/sha256.h"

#include <string>
#include <string_view>
#include <vector>

namespace zqar {

struct EventsCsvReading {
    std::vector<Event> events; // in the order of the file
    int badLine = 0;           // the first line that is not an event, from 1; 0 when none
    bool unreadable = false;   // the file could not be opened or read
    FileDigest digest;         // readEventsCsvFile: the size and SHA-256 of the bytes it read
    bool ok() const { return badLine == 0 && !unreadable; }
};

// An optional header line, then "TIME,KIND" or "TIME,KIND,NOTE" lines; a quoted field may hold
// commas, doubled quotes and line ends. Blank lines are skipped; reading stops at the first line
// that is not an event.
EventsCsvReading readEventsCsv(std::string_view text);
EventsCsvReading readEventsCsvFile(const std::string &path);

// The header and one line per event, in the order given, as readEventsCsv reads it back.
std::string eventsCsv(const std::vector<Event> &events);

} // namespace zqar
