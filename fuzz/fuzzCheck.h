#pragma once
// What the fuzz targets share: a check that stops the run with the failed condition, so
// libFuzzer keeps the input as a crash, and small readers of the input bytes.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#define FUZZ_CHECK(condition)                                                                      \
    ((condition) ? void() : zqar::fuzz::checkFailed(#condition, __FILE__, __LINE__))

namespace zqar::fuzz {

[[noreturn]] inline void checkFailed(const char *condition, const char *file, int line) {
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, condition);
    std::abort();
}

inline std::string_view bytesOf(const uint8_t *data, std::size_t size) {
    return std::string_view(reinterpret_cast<const char *>(data), size);
}

// Takes bytes off the front of the input; answers zeros once it is used up.
class InputReader {
public:
    explicit InputReader(std::string_view input) : rest(input) {}

    uint8_t byte() {
        if (rest.empty())
            return 0;
        const auto value = static_cast<uint8_t>(rest.front());
        rest.remove_prefix(1);
        return value;
    }
    double number() {
        uint64_t bits = 0;
        for (int i = 0; i < 8; ++i)
            bits |= uint64_t{byte()} << (8 * i);
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    // The text up to the next separator (taken off too), or the rest.
    std::string_view text(char separator = '\n') {
        const std::size_t end = rest.find(separator);
        const std::string_view piece = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        return piece;
    }
    std::string_view remaining() const { return rest; }
    bool empty() const { return rest.empty(); }

private:
    std::string_view rest;
};

// Equal doubles bit for bit, so NaN equals the same NaN.
inline bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

} // namespace zqar::fuzz
