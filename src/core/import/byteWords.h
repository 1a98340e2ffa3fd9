#pragma once
// Eight bytes at a time: the text readers of the importer look for line ends, and read the
// clock of a time, in words of eight bytes instead of byte by byte. A mask has the high bit of
// a byte's place set where the byte matched, and only there.

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace zqar {

constexpr uint64_t WORD_ONES = 0x0101010101010101ull;
constexpr uint64_t WORD_HIGHS = 0x8080808080808080ull;
constexpr uint64_t WORD_LOWS = 0x7F7F7F7F7F7F7F7Full;

inline uint64_t loadWord(const char *at) {
    uint64_t word;
    std::memcpy(&word, at, sizeof word);
    return word;
}

// The places of the bytes equal to value. Exact: no carry runs from one byte into the next.
inline uint64_t bytesEqualTo(uint64_t word, char value) {
    const uint64_t differ = word ^ (WORD_ONES * static_cast<unsigned char>(value));
    return ~(((differ & WORD_LOWS) + WORD_LOWS) | differ | WORD_LOWS);
}

// The places of the bytes above 0x7F.
inline uint64_t bytesAboveAscii(uint64_t word) { return word & WORD_HIGHS; }

// The index (0 to 7) of the first byte in text order that a non-zero mask marks.
inline unsigned firstMarkedByte(uint64_t mask) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    return static_cast<unsigned>(__builtin_clzll(mask)) / 8;
#else
    return static_cast<unsigned>(__builtin_ctzll(mask)) / 8;
#endif
}

// The places of a mask before its first marked byte in text order (all of them for no mark).
inline uint64_t bytesBeforeFirst(uint64_t mask) {
    if (mask == 0)
        return WORD_HIGHS;
    const unsigned first = firstMarkedByte(mask);
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    return first == 0 ? 0 : WORD_HIGHS & ~(~uint64_t{0} >> (8 * first));
#else
    return WORD_HIGHS & ((uint64_t{1} << (8 * first)) - 1);
#endif
}

// The first CR or LF in text[from, size), at size when there is none, and whether a byte
// above 0x7F stands before it.
struct LineEndScan {
    std::size_t at = 0;
    bool nonAscii = false;
};

inline LineEndScan findLineEnd(const char *text, std::size_t from, std::size_t size) {
    LineEndScan scan;
    std::size_t i = from;
    for (; i + sizeof(uint64_t) <= size; i += sizeof(uint64_t)) {
        const uint64_t word = loadWord(text + i);
        const uint64_t lineEnds = bytesEqualTo(word, '\n') | bytesEqualTo(word, '\r');
        if (lineEnds) {
            scan.nonAscii |= (bytesAboveAscii(word) & bytesBeforeFirst(lineEnds)) != 0;
            scan.at = i + firstMarkedByte(lineEnds);
            return scan;
        }
        scan.nonAscii |= bytesAboveAscii(word) != 0;
    }
    for (; i < size && text[i] != '\n' && text[i] != '\r'; ++i)
        scan.nonAscii |= static_cast<unsigned char>(text[i]) >= 0x80;
    scan.at = i;
    return scan;
}

} // namespace zqar
