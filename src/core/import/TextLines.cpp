#include "core/import/TextLines.h"

#include "core/data/readBlocks.h"

#include <algorithm>
#include <cstring>
#include <sys/stat.h>

namespace zqar {

namespace {

constexpr std::size_t BLOCK = LOG_READ_BLOCK_SIZE;
// The most UTF-8 bytes one source byte can become: Windows-1252's upper half reaches U+20AC.
constexpr std::size_t MAX_EXPANSION = 3;
// Room beyond a block for the part of a line that the block before left over, and for the zero
// byte after the text.
constexpr std::size_t SPARE = 4096;
constexpr uint32_t REPLACEMENT = 0xFFFD;

// The characters 0x80 to 0x9F of Windows-1252. The five bytes it leaves undefined stand for
// the control characters of the same number, so no byte is lost.
constexpr uint16_t WINDOWS_1252_HIGH[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::size_t putUtf8(char *to, uint32_t code) {
    if (code < 0x80) {
        to[0] = static_cast<char>(code);
        return 1;
    }
    if (code < 0x800) {
        to[0] = static_cast<char>(0xC0 | (code >> 6));
        to[1] = static_cast<char>(0x80 | (code & 0x3F));
        return 2;
    }
    if (code < 0x10000) {
        to[0] = static_cast<char>(0xE0 | (code >> 12));
        to[1] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        to[2] = static_cast<char>(0x80 | (code & 0x3F));
        return 3;
    }
    to[0] = static_cast<char>(0xF0 | (code >> 18));
    to[1] = static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    to[2] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    to[3] = static_cast<char>(0x80 | (code & 0x3F));
    return 4;
}

bool isAscii(const char *p, std::size_t n) {
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        uint64_t word;
        std::memcpy(&word, p + i, sizeof word);
        if (word & 0x8080808080808080ull)
            return false;
    }
    for (; i < n; ++i)
        if (static_cast<unsigned char>(p[i]) >= 0x80)
            return false;
    return true;
}

} // namespace

ByteSource::ByteSource(std::FILE *file) : file(file) {
    struct stat info {};
    if (fstat(fileno(file), &info) == 0 && info.st_size > 0)
        total = static_cast<uint64_t>(info.st_size);
}

std::size_t ByteSource::read(char *to, std::size_t room) {
    std::size_t got;
    if (file) {
        got = std::fread(to, 1, room, file);
    } else {
        got = static_cast<std::size_t>(std::min<uint64_t>(room, memory.size() - readSoFar));
        std::memcpy(to, memory.data() + readSoFar, got);
    }
    readSoFar += got;
    return got;
}

bool ByteSource::rewind() {
    readSoFar = 0;
    if (!file)
        return true;
    std::clearerr(file);
    return std::fseek(file, 0, SEEK_SET) == 0;
}

bool isValidUtf8(std::string_view text) {
    const auto *p = reinterpret_cast<const unsigned char *>(text.data());
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
        if (p[i] < 0x80) {
            if (i + 8 <= n && isAscii(text.data() + i, 8)) {
                i += 8;
                continue;
            }
            ++i;
            continue;
        }
        const unsigned char lead = p[i];
        std::size_t length;
        uint32_t code;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            code = lead & 0x1Fu;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            code = lead & 0x0Fu;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            code = lead & 0x07u;
        } else {
            return false;
        }
        if (n - i < length)
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            if ((p[i + k] & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (p[i + k] & 0x3Fu);
        }
        if ((length == 3 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))) ||
            (length == 4 && (code < 0x10000 || code > 0x10FFFF)))
            return false;
        i += length;
    }
    return true;
}

TextLines::TextLines(ByteSource &from, bool windows1252, std::size_t maxLineBytes)
    : source(from), found(windows1252 ? TextEncoding::Windows1252 : TextEncoding::Utf8),
      maxLine(maxLineBytes), text(BLOCK + SPARE, '\0') {
    if (!source.rewind()) {
        atEnd = true;
        return;
    }
    if (windows1252) {
        raw.resize(BLOCK);
        return;
    }
    // The byte-order mark decides; its bytes are no text.
    char mark[3] = {};
    const std::size_t got = source.read(mark, 2);
    const auto b0 = static_cast<unsigned char>(mark[0]);
    const auto b1 = static_cast<unsigned char>(mark[1]);
    if (got == 2 && b0 == 0xFF && b1 == 0xFE) {
        found = TextEncoding::Utf16LittleEndian;
        raw.resize(BLOCK);
    } else if (got == 2 && b0 == 0xFE && b1 == 0xFF) {
        found = TextEncoding::Utf16BigEndian;
        raw.resize(BLOCK);
    } else {
        std::memcpy(text.data(), mark, got);
        end = got;
        if (got == 2 && b0 == 0xEF && b1 == 0xBB) {
            end += source.read(text.data() + end, 1);
            if (end == 3 && static_cast<unsigned char>(text[2]) == 0xBF)
                begin = scanned = end;
        }
    }
}

std::size_t TextLines::decodeInto(char *to, std::size_t room) {
    switch (found) {
    case TextEncoding::Utf8:
        return source.read(to, room);
    case TextEncoding::Windows1252: {
        const std::size_t got = source.read(raw.data(), std::min(raw.size(), room / 3));
        std::size_t out = 0;
        for (std::size_t i = 0; i < got; ++i) {
            const auto byte = static_cast<unsigned char>(raw[i]);
            if (byte < 0x80)
                to[out++] = static_cast<char>(byte);
            else if (byte < 0xA0)
                out += putUtf8(to + out, WINDOWS_1252_HIGH[byte - 0x80]);
            else
                out += putUtf8(to + out, byte);
        }
        if (got == 0)
            atEnd = true;
        return out;
    }
    case TextEncoding::Utf16LittleEndian:
    case TextEncoding::Utf16BigEndian: {
        // Two bytes become at most three; a surrogate pair's four bytes become four.
        const std::size_t got = source.read(raw.data(), std::min(raw.size(), room / 2));
        const bool little = found == TextEncoding::Utf16LittleEndian;
        std::size_t out = 0;
        auto unit = [&](unsigned char first, unsigned char second) {
            const uint32_t code =
                little ? (uint32_t{second} << 8 | first) : (uint32_t{first} << 8 | second);
            if (highSurrogate) {
                if (code >= 0xDC00 && code <= 0xDFFF) {
                    out += putUtf8(to + out,
                                   0x10000 + ((highSurrogate - 0xD800) << 10) + (code - 0xDC00));
                    highSurrogate = 0;
                    return;
                }
                out += putUtf8(to + out, REPLACEMENT);
                highSurrogate = 0;
            }
            if (code >= 0xD800 && code <= 0xDBFF)
                highSurrogate = code;
            else if (code >= 0xDC00 && code <= 0xDFFF)
                out += putUtf8(to + out, REPLACEMENT);
            else
                out += putUtf8(to + out, code);
        };
        std::size_t i = 0;
        if (oddByteWaiting && got > 0) {
            unit(oddByte, static_cast<unsigned char>(raw[0]));
            oddByteWaiting = false;
            i = 1;
        }
        for (; i + 1 < got; i += 2)
            unit(static_cast<unsigned char>(raw[i]), static_cast<unsigned char>(raw[i + 1]));
        if (i < got) {
            oddByteWaiting = true;
            oddByte = static_cast<unsigned char>(raw[i]);
        }
        if (got == 0) {
            // The text ends inside a character: it stands as one that could not be read.
            if (oddByteWaiting || highSurrogate)
                out += putUtf8(to + out, REPLACEMENT);
            oddByteWaiting = false;
            highSurrogate = 0;
            atEnd = true;
        }
        return out;
    }
    }
    return 0;
}

void TextLines::fill() {
    if (begin > 0) {
        std::memmove(text.data(), text.data() + begin, end - begin);
        end -= begin;
        scanned -= begin;
        begin = 0;
    }
    // Room for a whole block decoded, and for a line as long as the limit with its line end.
    // UTF-8 is read a block at a time, so that the block is still in the cache as it is read.
    const bool utf8 = found == TextEncoding::Utf8;
    const std::size_t wanted = end + BLOCK * (utf8 ? 1 : MAX_EXPANSION) + 4;
    if (text.size() < wanted)
        text.resize(std::max(wanted + SPARE, text.size() * 2));
    const std::size_t before = end;
    while (!atEnd && end - before < BLOCK) {
        const std::size_t room = text.size() - end - 1;
        const std::size_t got =
            decodeInto(text.data() + end, utf8 ? std::min(room, BLOCK - (end - before)) : room);
        if (got == 0 && utf8)
            atEnd = true;
        end += got;
    }
    text[end] = '\0';
}

bool TextLines::nextAfterRefill(std::string_view &line) {
    if (stopped != Stop::None)
        return false;
    for (;;) {
        scanForLineEnd();
        if (scanned < end) {
            const bool cr = text[scanned] == '\r';
            // A CR at the end of what is read may be the first half of a CR LF.
            if (!cr || scanned + 1 < end || atEnd)
                return deliver(line, scanned - begin,
                               cr && scanned + 1 < end && text[scanned + 1] == '\n' ? 2 : 1);
        } else if (atEnd) {
            if (begin == end) {
                stopped = Stop::End;
                return false;
            }
            return deliver(line, end - begin, 0);
        }
        if (end - begin > maxLine + 1) {
            ++number;
            stopped = Stop::LineTooLong;
            return false;
        }
        fill();
    }
}

} // namespace zqar
