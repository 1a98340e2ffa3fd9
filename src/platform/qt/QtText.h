#pragma once
// Conversions between the pages' texts (UTF-8, at most 299 bytes as a 300-byte buffer holds
// them) and Qt's strings.

#include "data/TextField.h"

#include <QString>

#include <string>
#include <string_view>

namespace zqar::platform {

inline QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The first 299 bytes of the text, backed off to the start of a UTF-8 sequence, so a long
// text with accented letters is never cut inside a character.
inline std::string cutUtf8(std::string_view text) {
    if (text.size() <= TEXT_MAX_LENGTH)
        return std::string(text);
    std::size_t length = TEXT_MAX_LENGTH;
    while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
        --length;
    return std::string(text.substr(0, length));
}

inline std::string fromQString(const QString &text) { return cutUtf8(text.toUtf8().toStdString()); }

} // namespace zqar::platform
