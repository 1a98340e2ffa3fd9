#include "core/data/LogFile.h"

#include "core/data/numbers.h"
#include "core/data/prefault.h"
#include "core/data/readBlocks.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <memory>
#include <string>
#include <sys/stat.h>

namespace zqar {

namespace {

// Samples backed ahead of the parse at a time: 1 MiB.
constexpr std::size_t PREFAULT_VALUES = (1 << 20) / sizeof(double);

// Reads a file line by line as a 300-byte fgets buffer in text mode does: CR LF reads as LF,
// and a line longer than 299 characters (its line end included) comes in pieces of 299, each
// piece a line of its own. The file, or the bytes in memory, is read in blocks through the
// same buffer; no line is copied.
class LineReader {
public:
    struct Line {
        std::string_view body; // the characters before the line end
        bool endsWithNewline = false;
    };

    explicit LineReader(std::FILE *file) : file(file), buffer(BLOCK_SIZE) {
        struct stat info {};
        if (fstat(fileno(file), &info) == 0 && info.st_size > 0)
            fileSize = static_cast<uint64_t>(info.st_size);
    }

    explicit LineReader(std::string_view bytes)
        : memory(bytes), buffer(std::max(std::min(BLOCK_SIZE, bytes.size()), 2 * PIECE)),
          fileSize(bytes.size()) {}

    // The common case, a whole line already in the block, stays small enough to be inlined
    // into the sample loop; everything else goes through nextPiece.
    [[gnu::always_inline]] inline bool next(Line &line) {
        if (end - begin >= PIECE) {
            const char *start = buffer.data() + begin;
            const char *newline = static_cast<const char *>(std::memchr(start, '\n', PIECE));
            if (newline) {
                const std::size_t k = static_cast<std::size_t>(newline - start);
                const std::size_t cr = k > 0 && start[k - 1] == '\r' ? 1 : 0;
                if (k + 1 - cr <= TEXT_MAX_LENGTH) {
                    line.body = std::string_view(start, k - cr);
                    line.endsWithNewline = true;
                    begin += k + 1;
                    consumed += k + 1;
                    return true;
                }
            }
        }
        return nextPiece(line);
    }

    // Bytes of the file not read yet, as far as the file's size tells.
    uint64_t bytesLeft() const { return fileSize > consumed ? fileSize - consumed : 0; }

private:
    bool nextPiece(Line &line) {
        if (end - begin < PIECE && !atEnd)
            fill();
        const std::size_t available = end - begin;
        if (available == 0)
            return false;
        const char *start = buffer.data() + begin;
        const std::size_t window = std::min(available, PIECE);
        const char *newline = static_cast<const char *>(std::memchr(start, '\n', window));
        std::size_t taken;
        if (newline) {
            const std::size_t k = static_cast<std::size_t>(newline - start);
            const bool crBefore = k > 0 && start[k - 1] == '\r';
            if (k + 1 - (crBefore ? 1 : 0) <= TEXT_MAX_LENGTH) {
                line.body = std::string_view(start, k - (crBefore ? 1 : 0));
                line.endsWithNewline = true;
                taken = k + 1;
            } else {
                line.body = std::string_view(start, TEXT_MAX_LENGTH);
                line.endsWithNewline = false;
                taken = TEXT_MAX_LENGTH;
            }
        } else {
            taken = std::min(window, TEXT_MAX_LENGTH);
            line.body = std::string_view(start, taken);
            line.endsWithNewline = false;
        }
        begin += taken;
        consumed += taken;
        return true;
    }

    static constexpr std::size_t BLOCK_SIZE = LOG_READ_BLOCK_SIZE;
    static constexpr std::size_t PIECE = TEXT_FIELD_SIZE; // 299 characters and one to peek
    static_assert(BLOCK_SIZE >= 2 * PIECE, "a block holds at least two pieces");

    void fill() {
        std::memmove(buffer.data(), buffer.data() + begin, end - begin);
        end -= begin;
        begin = 0;
        while (end < buffer.size() && !atEnd) {
            const std::size_t got = read(buffer.data() + end, buffer.size() - end);
            if (got == 0)
                atEnd = true;
            end += got;
        }
    }

    std::size_t read(char *to, std::size_t room) {
        if (file)
            return std::fread(to, 1, room, file);
        const std::size_t got = std::min(room, memory.size() - memoryRead);
        std::memcpy(to, memory.data() + memoryRead, got);
        memoryRead += got;
        return got;
    }

    std::FILE *file = nullptr; // the source, or null for the bytes in memory
    std::string_view memory;
    std::size_t memoryRead = 0; // bytes of memory copied into the buffer so far
    std::vector<char> buffer;
    std::size_t begin = 0;
    std::size_t end = 0;
    bool atEnd = false;
    uint64_t fileSize = 0;
    uint64_t consumed = 0;
};

struct FileCloser {
    void operator()(std::FILE *file) const { std::fclose(file); }
};

// What a C string function sees of a line: the characters up to a zero byte.
std::string_view textOf(std::string_view body) {
    const void *zero = std::memchr(body.data(), 0, body.size());
    return zero ? body.substr(
                      0, static_cast<std::size_t>(static_cast<const char *>(zero) - body.data()))
                : body;
}

// The line as the buffer holds it, line end included.
std::string bufferText(const LineReader::Line &line) {
    const std::string_view text = textOf(line.body);
    std::string result(text);
    if (line.endsWithNewline && text.size() == line.body.size())
        result += '\n';
    return result;
}

// The position just after the first blank of a C string within body, or null.
const char *afterBlank(const char *p, const char *end) {
    while (p < end) {
        const char c = *p++;
        if (c == ' ')
            return p;
        if (c == 0)
            return nullptr;
    }
    return nullptr;
}

// sscanf's "%d": white space, an optional sign and at least one digit.
bool scanInteger(std::string_view text, std::size_t &at, int &value) {
    std::size_t i = at;
    while (i < text.size() && isSpace(text[i]))
        ++i;
    std::size_t digits = i;
    if (digits < text.size() && (text[digits] == '+' || text[digits] == '-'))
        ++digits;
    if (digits >= text.size() || !isDigit(text[digits]))
        return false;
    value = readInteger(text.substr(i));
    while (digits < text.size() && isDigit(text[digits]))
        ++digits;
    at = digits;
    return true;
}

} // namespace

LogFile::LogFile() { reset(); }

void LogFile::reset() {
    fileName.assign("?");
    for (auto &comment : comments)
        comment.assign("");
    valueCount = 0;
    values.clear();
    values.shrink_to_fit();
    samplesNotNumbers.clear();
    samplePeriod = 0.0;
    channel = 1;
}

LogReadOutcome LogFile::readLogFile(const std::string &path, int requestedChannel) {
    reset();
    channel = requestedChannel;
    fileName.assign(path);
    LogReadOutcome outcome;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        outcome.status = LogReadStatus::NotOpened;
        return outcome;
    }
    LineReader reader(file.get());
    parseLog(reader, outcome);
    return outcome;
}

LogReadOutcome LogFile::readLogBytes(std::string_view bytes, const std::string &path,
                                     int requestedChannel) {
    reset();
    channel = requestedChannel;
    fileName.assign(path);
    LogReadOutcome outcome;
    LineReader reader(bytes);
    parseLog(reader, outcome);
    return outcome;
}

template <class Reader> void LogFile::parseLog(Reader &reader, LogReadOutcome &outcome) {
    typename Reader::Line line;

    // A file that ends inside the header is no log file: it gets the emptied record, with
    // whatever name and start time it gave before it ended.
    double unitFactor = 1.0;
    int32_t announced = 0;
    uint16_t start[6] = {};
    for (int lineNumber = 1; lineNumber <= 17; ++lineNumber) {
        if (!reader.next(line)) {
            reset();
            outcome.status = LogReadStatus::HeaderShort;
            return;
        }
        const std::string_view text = textOf(line.body);
        switch (lineNumber) {
        case 2: {
            const std::size_t cut = std::min(text.find('\r'), text.find('_'));
            loggerName.assign(text.substr(0, cut));
            break;
        }
        case 3:
            if (text.substr(0, 3) == "min")
                unitFactor = 60.0;
            else if (text.substr(0, 3) == "hrs")
                unitFactor = 3600.0;
            break;
        case 4:
            samplePeriod = readDecimal(text) * unitFactor;
            break;
        case 5:
            announced = readInteger(text);
            valueCount = announced;
            break;
        case 6:
        case 7:
        case 8:
        case 9:
        case 10:
        case 11:
            // Each component is taken as a 16-bit unsigned number: -1 becomes 65535.
            start[lineNumber - 6] = static_cast<uint16_t>(readInteger(text));
            if (lineNumber == 11) {
                const CivilTime civil{start[0], start[1], start[2], start[3], start[4], start[5]};
                if (isValidCivil(civil)) {
                    startTime.day = dayNumberFromCivil(civil);
                    startTime.status = DATE_VALID;
                } else {
                    startTime.status = DATE_INVALID;
                }
            }
            break;
        case 13:
        case 14:
        case 15:
        case 16:
            comments[lineNumber - 13].assign(bufferText(line));
            break;
        default:
            break;
        }
    }

    if (announced < 0 || !readSamples(reader, announced)) {
        std::copy(std::begin(comments), std::end(comments), std::begin(outcome.commentsRead));
        outcome.status = LogReadStatus::SamplesShort;
        reset();
    }
}

template <class Reader> bool LogFile::readSamples(Reader &reader, int32_t announced) {
    typename Reader::Line line;
    // Grow with what the file really holds: the count on line 5 can be anything, but every
    // sample line but the last takes at least two bytes.
    const uint64_t possible = reader.bytesLeft() / 2 + 1;
    values.reserve(static_cast<std::size_t>(std::min<uint64_t>(possible, uint64_t(announced))));
    // The room ahead of the samples is backed a stretch at a time, so a count the file does
    // not hold never makes memory resident.
    std::size_t backed = 0;
    for (int32_t i = 0; i < announced; ++i) {
        if (values.size() == backed && backed < values.capacity()) {
            const std::size_t stretch = std::min(values.capacity() - backed, PREFAULT_VALUES);
            prefaultForWriting(values.data() + backed, stretch * sizeof(double));
            backed += stretch;
        }
        if (!reader.next(line))
            return false;
        const char *p = line.body.data();
        const char *end = p + line.body.size();
        const char *first = afterBlank(p, end);
        if (!first)
            return false;
        const char *number = first;
        if (channel == 2) {
            number = afterBlank(first, end);
            if (!number) {
                samplesNotNumbers.push_back(i);
                values.push_back(0.0);
                continue;
            }
        }
        const std::string_view field(number, static_cast<std::size_t>(end - number));
        const double value = readDecimal(field);
        // A text without a number reads as 0; only a 0 needs the second look.
        if (value == 0.0 && !readDecimalPrefix(field).found)
            samplesNotNumbers.push_back(i);
        values.push_back(value);
    }
    return true;
}

std::string LogFile::label() const {
    std::string text = loggerName.str();
    // An imported table's third and later temperature columns are channels 3 and up; a log
    // file has two at most, and any other channel number stands for its second.
    if (channel > 2)
        text += "," + std::to_string(channel);
    else if (channel != 1)
        text += ",2";
    return cutText(text);
}

bool LogFile::commentsContain(std::string_view text) const {
    if (text.empty())
        return true;
    for (const auto &comment : comments)
        if (comment.view().find(text) != std::string_view::npos)
            return true;
    return false;
}

CommentPosition LogFile::positionFromComments(int wantedChannel) const {
    return positionInComments(comments, wantedChannel);
}

CommentPosition positionInComments(const TextField (&lines)[COMMENT_LINES], int wantedChannel) {
    for (const auto &comment : lines) {
        std::string_view text = comment.view();
        if (wantedChannel == 2) {
            const std::size_t comma = text.find(',');
            if (comma == std::string_view::npos)
                continue;
            text = text.substr(comma + 1);
        }
        const std::size_t r = text.find('R');
        if (r != std::string_view::npos) {
            std::size_t at = r + 1;
            int row = 0;
            int col = 0;
            if (scanInteger(text, at, row) && at < text.size() && text[at] == 'C') {
                ++at;
                if (scanInteger(text, at, col) && row > 0 && col > 0)
                    return {true, row, col};
            }
        }
        const std::size_t s = text.find('S');
        if (s != std::string_view::npos) {
            std::size_t at = s + 1;
            int slot = 0;
            if (scanInteger(text, at, slot) && slot > 0)
                return {true, -1, slot};
        }
    }
    return {};
}

double LogFile::endTime() const {
    return startTime() + (valueCount - 1) * samplePeriod / SECONDS_PER_DAY;
}

double LogFile::averageAround(double time, double window) const {
    const double offset = (time - startTime()) * SECONDS_PER_DAY;
    const int32_t firstIndex = truncToInt(offset / samplePeriod + 0.5);
    const int32_t lastIndex = truncToInt((offset + window) / samplePeriod + 0.5);
    // The first index is always visited, even past the last one; of the visited indices
    // only those that hold a reading count. Clamping to the samples gives the same sum in the
    // same order without walking the indices outside them.
    const int64_t count = static_cast<int64_t>(values.size());
    const int64_t from = std::max<int64_t>(firstIndex, 0);
    const int64_t to = std::min<int64_t>(std::max(firstIndex, lastIndex), count - 1);
    double sum = 0.0;
    int32_t used = 0;
    for (int64_t i = from; i <= to; ++i) {
        const double value = values[static_cast<std::size_t>(i)];
        // A missing reading is no sample: the window averages the readings it holds.
        if (value != NO_VALUE) {
            sum += value;
            ++used;
        }
    }
    return used == 0 ? NO_VALUE : sum / used;
}

std::string LogFile::propertiesText() const {
    std::string text = "Filename: " + fileName.str() + "\r\n";
    text += "Start Time: " + formatDateTime(startTime()) + "\r\n";
    text += "End Time: " + formatDateTime(endTime()) + "\r\n";
    text += "Sample period: " + formatFixed(samplePeriod, 0) + "\r\n";
    text += "Channel: " + std::to_string(channel) + "\r\n";
    text += "Number of Values: " + std::to_string(valueCount) + "\r\n";
    return text;
}

} // namespace zqar
