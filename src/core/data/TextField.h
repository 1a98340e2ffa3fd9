#pragma once
// A fixed 300-byte text: at most 299 characters and a terminating zero. Log file records keep
// their names and comment lines this way because the record is also the image stored in
// report files.

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace zqar {

constexpr std::size_t TEXT_FIELD_SIZE = 300;
constexpr std::size_t TEXT_MAX_LENGTH = TEXT_FIELD_SIZE - 1;

// The first 299 characters of a text, as a 300-byte buffer would hold them.
inline std::string cutText(std::string_view text) {
    return std::string(text.substr(0, TEXT_MAX_LENGTH));
}

struct TextField {
    char bytes[TEXT_FIELD_SIZE] = {};

    TextField() = default;
    explicit TextField(std::string_view text) { assign(text); }

    // Stores at most 299 characters; the rest of the buffer is zero.
    void assign(std::string_view text) {
        const std::size_t length = std::min(text.size(), TEXT_MAX_LENGTH);
        std::memset(bytes, 0, sizeof bytes);
        std::memcpy(bytes, text.data(), length);
    }

    // The text up to the first zero byte, never past the 299th character.
    std::string_view view() const {
        const void *zero = std::memchr(bytes, 0, TEXT_MAX_LENGTH);
        const std::size_t length =
            zero ? static_cast<std::size_t>(static_cast<const char *>(zero) - bytes)
                 : TEXT_MAX_LENGTH;
        return std::string_view(bytes, length);
    }

    std::string str() const { return std::string(view()); }
    bool empty() const { return bytes[0] == 0; }
};

inline bool operator==(const TextField &a, std::string_view b) { return a.view() == b; }

} // namespace zqar
