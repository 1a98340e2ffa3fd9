#pragma once
// The lines of an exported table, decoded to UTF-8: UTF-16 (little or big endian) when the
// bytes start with its byte-order mark, otherwise UTF-8 (a leading byte-order mark dropped); the
// reader of such a file falls back to Windows-1252 when a line is not valid UTF-8. Lines end at
// LF, CR LF or a lone CR. The bytes are read in blocks, so a file of any size costs one block
// and its longest line.

#include "core/import/byteWords.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string_view>
#include <vector>

namespace zqar {

// Where the bytes come from: an open file, or bytes already in memory. Either can be read
// again from the start.
class ByteSource {
public:
    explicit ByteSource(std::string_view bytes) : memory(bytes), total(bytes.size()) {}
    explicit ByteSource(std::FILE *file);

    std::size_t read(char *to, std::size_t room);
    bool rewind();

    // The bytes of the source: 0 when not known. A hint only: a file may change as it is read.
    uint64_t size() const { return total; }
    // The bytes read since the start.
    uint64_t bytesRead() const { return readSoFar; }

private:
    std::FILE *file = nullptr;
    std::string_view memory;
    uint64_t total = 0;
    uint64_t readSoFar = 0;
};

enum class TextEncoding { Utf8, Utf16LittleEndian, Utf16BigEndian, Windows1252 };

class TextLines {
public:
    enum class Stop { None, End, InvalidUtf8, LineTooLong };

    // Reads from the source's start. windows1252: decode every byte as Windows-1252;
    // otherwise the byte-order mark decides between UTF-16 and UTF-8.
    TextLines(ByteSource &source, bool windows1252, std::size_t maxLineBytes);

    // The next line without its line end, valid until the next call. False at the end of the
    // text, for a line longer than the limit, and (UTF-8 only) for a line that is not valid
    // UTF-8; stop() then says which.
    bool next(std::string_view &line) {
        // The common case at once: the line's end and the byte after it are already read.
        if (stopped == Stop::None) {
            scanForLineEnd();
            if (scanned + 1 < end)
                return deliver(line, scanned - begin,
                               text[scanned] == '\r' && text[scanned + 1] == '\n' ? 2 : 1);
        }
        return nextAfterRefill(line);
    }

    // The text read ahead from the start of the next line, valid until the next call that
    // reads; empty once the lines stopped. A zero byte follows it, so a scan for any other byte
    // stops at its end. A reader that finds the next line whole in it may take it with skipLine
    // instead of next.
    std::string_view ahead() const {
        // Once stopped, an empty text at the zero byte, so that a scan stops at once.
        return stopped == Stop::None ? std::string_view(text.data() + begin, end - begin)
                                     : std::string_view(text.data() + end, 0);
    }
    // Takes the next line as its reader found it in ahead(): length bytes without a CR, an LF or
    // a byte above 0x7F, then a line end of lineEnd bytes (CR, LF or CR LF). False, taking
    // nothing, for a line longer than the limit: next then says so.
    bool skipLine(std::size_t length, std::size_t lineEnd) {
        if (length > maxLine)
            return false;
        ++number;
        begin += length + lineEnd;
        scanned = begin;
        nonAscii = false;
        return true;
    }

    // How far into the source the next line starts, in bytes; known only for UTF-8 text, whose
    // bytes are the source's.
    std::optional<uint64_t> offset() const {
        if (found != TextEncoding::Utf8)
            return std::nullopt;
        return source.bytesRead() - (end - begin);
    }
    // The size of the source in bytes, 0 when not known.
    uint64_t sourceSize() const { return source.size(); }

    // The number of the line next gave last, from 1; for LineTooLong, of the long line.
    int64_t lineNumber() const { return number; }
    Stop stop() const { return stopped; }
    TextEncoding encoding() const { return found; }

private:
    bool nextAfterRefill(std::string_view &line);
    void fill();
    std::size_t decodeInto(char *to, std::size_t room);
    void scanForLineEnd();
    bool deliver(std::string_view &line, std::size_t length, std::size_t lineEnd);

    ByteSource &source;
    TextEncoding found = TextEncoding::Utf8;
    std::size_t maxLine;
    std::vector<char> text; // UTF-8; the unread part is [begin, end), and a zero byte at end
    std::vector<char> raw;  // bytes before decoding (UTF-16 and Windows-1252)
    std::size_t begin = 0;
    std::size_t end = 0;
    // How far the line at begin has been searched for its end: [begin, scanned) holds no CR
    // or LF, and nonAscii says whether it holds a byte above 0x7F. A line that spans blocks
    // is searched on from there, not again from its start.
    std::size_t scanned = 0;
    bool nonAscii = false;
    bool atEnd = false;
    // UTF-16 state across blocks: a byte of an unfinished unit, and a high surrogate waiting
    // for its low one.
    bool oddByteWaiting = false;
    unsigned char oddByte = 0;
    uint32_t highSurrogate = 0;
    int64_t number = 0;
    Stop stopped = Stop::None;
};

// True when the text is valid UTF-8: no stray continuation bytes, no overlong forms, no
// surrogates and nothing above U+10FFFF.
bool isValidUtf8(std::string_view text);

inline void TextLines::scanForLineEnd() {
    const LineEndScan scan = findLineEnd(text.data(), scanned, end);
    nonAscii = nonAscii || scan.nonAscii;
    scanned = scan.at;
}

inline bool TextLines::deliver(std::string_view &line, std::size_t length, std::size_t lineEnd) {
    ++number;
    if (length > maxLine) {
        stopped = Stop::LineTooLong;
        return false;
    }
    line = std::string_view(text.data() + begin, length);
    if (found == TextEncoding::Utf8 && nonAscii && !isValidUtf8(line)) {
        stopped = Stop::InvalidUtf8;
        return false;
    }
    begin += length + lineEnd;
    scanned = begin;
    nonAscii = false;
    return true;
}

} // namespace zqar
