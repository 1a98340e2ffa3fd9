#pragma once
// SHA-256 (FIPS 180-4) over bytes given piece by piece, and over a file read in blocks. The
// manifest, the report check and the change log's chain all hash through here.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zqar {

using Sha256Digest = std::array<std::uint8_t, 32>;

// Bytes fed in any number of pieces hash as the same bytes fed at once.
class Sha256 {
public:
    Sha256();
    void update(std::string_view bytes);
    void update(const void *bytes, std::size_t count);
    // The digest of everything fed so far; the object then starts again empty.
    Sha256Digest finish();

private:
    void compress(const std::uint8_t *blocks, std::size_t count);

    std::array<std::uint32_t, 8> state;
    std::array<std::uint8_t, 64> buffer{};
    std::size_t buffered = 0;
    std::uint64_t length = 0; // bytes fed
};

// 64 lower-case hexadecimal digits, as sha256sum prints them.
std::string hexText(const Sha256Digest &digest);
// The digest of 64 hexadecimal digits of either case, or none for any other text.
std::optional<Sha256Digest> digestFromHex(std::string_view text);

// The digest of the bytes, as 64 lower-case hexadecimal digits.
std::string sha256Hex(std::string_view bytes);

struct FileDigest {
    std::uint64_t size = 0; // bytes
    std::string sha256;     // 64 lower-case hexadecimal digits
};
// The size and digest of what the file holds, read in blocks; none when it cannot be opened
// or a read fails.
std::optional<FileDigest> sha256File(const std::string &path);

} // namespace zqar
