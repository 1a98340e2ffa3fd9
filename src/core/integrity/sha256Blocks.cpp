#include "core/integrity/sha256Blocks.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define ZQAR_SHA_INSTRUCTIONS 1
#include <cpuid.h>
#include <immintrin.h>
#endif

namespace zqar::sha256blocks {

namespace {

alignas(16) constexpr std::uint32_t ROUND_CONSTANTS[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

constexpr std::size_t BLOCK_BYTES = 64;

std::uint32_t rotateRight(std::uint32_t value, int bits) {
    return (value >> bits) | (value << (32 - bits));
}

void compressOne(std::uint32_t *state, const std::uint8_t *block) {
    std::uint32_t w[64];
    for (int i = 0; i < 16; ++i)
        w[i] = std::uint32_t{block[4 * i]} << 24 | std::uint32_t{block[4 * i + 1]} << 16 |
               std::uint32_t{block[4 * i + 2]} << 8 | std::uint32_t{block[4 * i + 3]};
    for (int i = 16; i < 64; ++i) {
        const std::uint32_t s0 =
            rotateRight(w[i - 15], 7) ^ rotateRight(w[i - 15], 18) ^ (w[i - 15] >> 3);
        const std::uint32_t s1 =
            rotateRight(w[i - 2], 17) ^ rotateRight(w[i - 2], 19) ^ (w[i - 2] >> 10);
        w[i] = w[i - 16] + s0 + w[i - 7] + s1;
    }
    std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
    std::uint32_t e = state[4], f = state[5], g = state[6], h = state[7];
    for (int i = 0; i < 64; ++i) {
        const std::uint32_t s1 = rotateRight(e, 6) ^ rotateRight(e, 11) ^ rotateRight(e, 25);
        const std::uint32_t choice = (e & f) ^ (~e & g);
        const std::uint32_t t1 = h + s1 + choice + ROUND_CONSTANTS[i] + w[i];
        const std::uint32_t s0 = rotateRight(a, 2) ^ rotateRight(a, 13) ^ rotateRight(a, 22);
        const std::uint32_t majority = (a & b) ^ (a & c) ^ (b & c);
        const std::uint32_t t2 = s0 + majority;
        h = g;
        g = f;
        f = e;
        e = d + t1;
        d = c;
        c = b;
        b = a;
        a = t1 + t2;
    }
    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
    state[4] += e;
    state[5] += f;
    state[6] += g;
    state[7] += h;
}

#ifdef ZQAR_SHA_INSTRUCTIONS

// The instructions keep the working variables as two vectors, ABEF and CDGH, and take the
// message four words at a time; each group of four rounds is two double rounds.
__attribute__((target("sha,sse4.1"))) void
compressWithInstructions(std::uint32_t *state, const std::uint8_t *blocks, std::size_t count) {
    const __m128i byteOrder = _mm_set_epi64x(0x0c0d0e0f08090a0bULL, 0x0405060700010203ULL);
    const __m128i dcba = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<__m128i *>(state)),
                                           0xB1); // CDAB
    const __m128i hgfe =
        _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<__m128i *>(state + 4)), 0x1B); // EFGH
    __m128i abef = _mm_alignr_epi8(dcba, hgfe, 8);
    __m128i cdgh = _mm_blend_epi16(hgfe, dcba, 0xF0);

    for (; count > 0; --count, blocks += BLOCK_BYTES) {
        const __m128i savedAbef = abef;
        const __m128i savedCdgh = cdgh;
        __m128i message[4];
        for (int group = 0; group < 16; ++group) {
            __m128i &words = message[group % 4];
            if (group < 4) {
                words = _mm_shuffle_epi8(
                    _mm_loadu_si128(reinterpret_cast<const __m128i *>(blocks + 16 * group)),
                    byteOrder);
            } else {
                const __m128i &previous = message[(group + 3) % 4];
                __m128i next = _mm_sha256msg1_epu32(words, message[(group + 1) % 4]);
                next = _mm_add_epi32(next, _mm_alignr_epi8(previous, message[(group + 2) % 4], 4));
                words = _mm_sha256msg2_epu32(next, previous);
            }
            __m128i withConstants = _mm_add_epi32(
                words,
                _mm_load_si128(reinterpret_cast<const __m128i *>(ROUND_CONSTANTS + 4 * group)));
            cdgh = _mm_sha256rnds2_epu32(cdgh, abef, withConstants);
            withConstants = _mm_shuffle_epi32(withConstants, 0x0E);
            abef = _mm_sha256rnds2_epu32(abef, cdgh, withConstants);
        }
        abef = _mm_add_epi32(abef, savedAbef);
        cdgh = _mm_add_epi32(cdgh, savedCdgh);
    }

    const __m128i feba = _mm_shuffle_epi32(abef, 0x1B);
    const __m128i dchg = _mm_shuffle_epi32(cdgh, 0xB1);
    _mm_storeu_si128(reinterpret_cast<__m128i *>(state), _mm_blend_epi16(feba, dchg, 0xF0));
    _mm_storeu_si128(reinterpret_cast<__m128i *>(state + 4), _mm_alignr_epi8(dchg, feba, 8));
}

bool processorHasShaInstructions() {
    unsigned int eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx))
        return false;
    const bool ssse3 = (ecx & bit_SSSE3) != 0;
    const bool sse41 = (ecx & bit_SSE4_1) != 0;
    if (!__get_cpuid_count(7, 0, &eax, &ebx, &ecx, &edx))
        return false;
    constexpr unsigned int SHA_BIT = 1u << 29;
    return ssse3 && sse41 && (ebx & SHA_BIT) != 0;
}

#endif

} // namespace

void compressPortable(std::uint32_t *state, const std::uint8_t *blocks, std::size_t count) {
    for (; count > 0; --count, blocks += BLOCK_BYTES)
        compressOne(state, blocks);
}

CompressFunction acceleratedCompress() {
#ifdef ZQAR_SHA_INSTRUCTIONS
    if (processorHasShaInstructions())
        return compressWithInstructions;
#endif
    return nullptr;
}

CompressFunction fastestCompress() {
    const CompressFunction accelerated = acceleratedCompress();
    return accelerated ? accelerated : compressPortable;
}

} // namespace zqar::sha256blocks
