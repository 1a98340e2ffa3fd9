#include "core/integrity/sha256.h"

#include "core/integrity/sha256Blocks.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace zqar {

namespace {

constexpr std::size_t FILE_BLOCK_BYTES = 1 << 16;

constexpr std::array<std::uint32_t, 8> INITIAL_STATE = {
    0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a, 0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

Sha256::Sha256() : state(INITIAL_STATE) {}

void Sha256::compress(const std::uint8_t *blocks, std::size_t count) {
    static const sha256blocks::CompressFunction fastest = sha256blocks::fastestCompress();
    fastest(state.data(), blocks, count);
}

void Sha256::update(std::string_view bytes) { update(bytes.data(), bytes.size()); }

void Sha256::update(const void *bytes, std::size_t count) {
    const auto *in = static_cast<const std::uint8_t *>(bytes);
    length += count;
    if (buffered > 0) {
        const std::size_t take = std::min(count, buffer.size() - buffered);
        std::copy(in, in + take, buffer.begin() + static_cast<std::ptrdiff_t>(buffered));
        buffered += take;
        in += take;
        count -= take;
        if (buffered < buffer.size())
            return;
        compress(buffer.data(), 1);
        buffered = 0;
    }
    const std::size_t blocks = count / buffer.size();
    if (blocks > 0) {
        compress(in, blocks);
        in += blocks * buffer.size();
        count -= blocks * buffer.size();
    }
    std::copy(in, in + count, buffer.begin());
    buffered = count;
}

Sha256Digest Sha256::finish() {
    const std::uint64_t bits = length * 8;
    // A one bit, zeros up to 8 bytes short of a block's end, then the length in bits.
    const std::uint8_t one = 0x80;
    update(&one, 1);
    const std::uint8_t zero = 0;
    while (buffered != buffer.size() - 8)
        update(&zero, 1);
    std::uint8_t lengthBytes[8];
    for (int i = 0; i < 8; ++i)
        lengthBytes[i] = static_cast<std::uint8_t>(bits >> (56 - 8 * i));
    update(lengthBytes, sizeof lengthBytes);
    Sha256Digest digest;
    for (std::size_t i = 0; i < state.size(); ++i)
        for (std::size_t k = 0; k < 4; ++k)
            digest[4 * i + k] = static_cast<std::uint8_t>(state[i] >> (24 - 8 * k));
    *this = Sha256();
    return digest;
}

std::string hexText(const Sha256Digest &digest) {
    constexpr char DIGITS[] = "0123456789abcdef";
    std::string text;
    text.reserve(2 * digest.size());
    for (const std::uint8_t byte : digest) {
        text += DIGITS[byte >> 4];
        text += DIGITS[byte & 0x0f];
    }
    return text;
}

std::optional<Sha256Digest> digestFromHex(std::string_view text) {
    Sha256Digest digest;
    if (text.size() != 2 * digest.size())
        return std::nullopt;
    for (std::size_t i = 0; i < digest.size(); ++i) {
        const int high = hexValue(text[2 * i]);
        const int low = hexValue(text[2 * i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        digest[i] = static_cast<std::uint8_t>(high * 16 + low);
    }
    return digest;
}

std::string sha256Hex(std::string_view bytes) {
    Sha256 hash;
    hash.update(bytes);
    return hexText(hash.finish());
}

std::optional<FileDigest> sha256File(const std::string &path) {
    const std::unique_ptr<std::FILE, int (*)(std::FILE *)> file(std::fopen(path.c_str(), "rb"),
                                                                std::fclose);
    if (!file)
        return std::nullopt;
    std::vector<char> block(FILE_BLOCK_BYTES);
    Sha256 hash;
    FileDigest result;
    for (;;) {
        const std::size_t got = std::fread(block.data(), 1, block.size(), file.get());
        if (got == 0)
            break;
        hash.update(block.data(), got);
        result.size += got;
    }
    if (std::ferror(file.get()))
        return std::nullopt;
    result.sha256 = hexText(hash.finish());
    return result;
}

} // namespace zqar
