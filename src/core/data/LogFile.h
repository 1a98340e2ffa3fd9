#pragma once
// One logger channel's log file in memory. The field order and widths are also the record
// image of report files, so the text fields have fixed capacity. The logger array owns the
// records that are placed in it.

#include "core/data/TextField.h"
#include "core/data/dateTime.h"

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace zqar {

// The missing-value marker of averages, set cells and singular values: the largest finite
// double. Presence is always an exact comparison with it.
constexpr double NO_VALUE = std::numeric_limits<double>::max();

constexpr int COMMENT_LINES = 4;

struct CommentPosition {
    bool found = false;
    int row = 0; // from 1; -1 for a singular slot
    int col = 0; // from 1; the slot number for a singular slot
};

// How a read of a log file went. The record's state says the same; this says it at once, and
// keeps what an emptied record loses.
enum class LogReadStatus {
    Read,         // the header and every announced sample
    NotOpened,    // the file could not be opened
    HeaderShort,  // the file ended inside the header: no log file
    SamplesShort, // a sample line was missing or held no blank
};

struct LogReadOutcome {
    LogReadStatus status = LogReadStatus::Read;
    // The comment lines a read that ran short of samples had read before it emptied the
    // record: where the file meant its logger to go. Empty otherwise.
    TextField commentsRead[COMMENT_LINES];
};

// An array position "R%dC%d" or singular slot "S%d" named in comment lines (channel 2: after
// each line's first comma).
CommentPosition positionInComments(const TextField (&lines)[COMMENT_LINES], int channel);

class LogFile {
public:
    LogFile();

    TextField fileName;                // full path the record was read from; "?" when empty
    TextField loggerName;              // line 2, cut at the line end or the first underscore
    DateTime startTime;                // time of the first sample; startTime() gives its day number
    double samplePeriod = 0.0;         // seconds between samples
    TextField comments[COMMENT_LINES]; // lines 13 to 16, each with its line end
    int32_t valueCount = 0;
    int32_t channel = 1;        // 1 or 2
    std::vector<double> values; // samples in time order, valueCount of them; NO_VALUE: missing
    // The indices of the sample lines that held no number and were read as 0, in order. Known
    // only for records read from log files: report files do not store it.
    std::vector<int32_t> samplesNotNumbers;

    // Empty state: fileName "?", no comments, no samples, period 0, channel 1. The logger
    // name and the start time stay as they were.
    void reset();

    // Parses a ".dta" file for one channel. Success shows in the record's state, and in the
    // outcome: a file that cannot be opened leaves the path and the channel with no samples;
    // a file that ends early or has a sample line without a blank leaves the emptied record
    // with only the logger name and start time that its header gave.
    LogReadOutcome readLogFile(const std::string &path, int channel);
    // The same for the bytes of a file already in memory; path only names the record.
    LogReadOutcome readLogBytes(std::string_view bytes, const std::string &path, int channel);

    // The logger name, with ",k" after it for channel k >= 2 (",2" for any channel but 1 below 3).
    std::string label() const;
    // True for an empty text, or when a comment line holds the text (case-sensitive).
    bool commentsContain(std::string_view text) const;
    // An array position "R%dC%d" or singular slot "S%d" named in the comment lines.
    CommentPosition positionFromComments(int channel) const;

    double endTime() const;
    // Mean of the samples from the one nearest to time (a day number) through the one
    // nearest to time + window (seconds), missing readings left out; NO_VALUE when none of
    // them exists or holds a reading.
    double averageAround(double time, double window) const;
    // The text of the properties pop-up: file, start, end, period, channel, count.
    std::string propertiesText() const;

private:
    // The parser behind both readers, from the header's first line to the last sample.
    template <class Reader> void parseLog(Reader &reader, LogReadOutcome &outcome);
    // The announced number of sample lines after the header; false when the file ends before
    // them or a line holds no value.
    template <class Reader> bool readSamples(Reader &reader, int32_t announced);
};

} // namespace zqar
