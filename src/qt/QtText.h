#pragma once
// Conversions between the pages' texts (UTF-8, at most 299 bytes as a 300-byte buffer holds
// them) and Qt's strings.

#include "core/data/TextField.h"

#include <QString>
#include <QStringDecoder>

#include <string>
#include <string_view>

namespace zqar::platform {

inline bool isUtf8(std::string_view text) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString ignored =
        decoder(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
    return !decoder.hasError();
}

// Texts that are no valid UTF-8 (a report or log file written in a single-byte character
// set) are shown as Latin-1 rather than with replacement characters.
inline QString toQString(std::string_view text) {
    const QByteArrayView bytes(text.data(), static_cast<qsizetype>(text.size()));
    return isUtf8(text) ? QString::fromUtf8(bytes) : QString::fromLatin1(bytes);
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

// The 300-byte cut of text the program wrote: by whole characters when it is UTF-8.
inline std::string cutWritten(std::string_view text) {
    return isUtf8(text) ? cutUtf8(text) : cutText(text);
}

inline std::string fromQString(const QString &text) { return cutUtf8(text.toUtf8().toStdString()); }

} // namespace zqar::platform
