#include "core/integrity/ChangeLog.h"

#include "core/data/IniFile.h"
#include "core/data/TextField.h"
#include "core/data/caseless.h"
#include "core/data/lineEscaped.h"
#include "core/data/numbers.h"
#include "core/integrity/sha256.h"
#include "core/integrity/userAndTime.h"
#include "resources/format.h"
#include "resources/integrityTexts.h"

#include <algorithm>
#include <array>

namespace zqar {

namespace {

constexpr std::string_view COUNT_KEY = "Entries";
constexpr std::string_view ENTRY_KEY_PREFIX = "Entry";
// The stored names of the fields, in the order of the entry text.
constexpr std::array<std::string_view, 7> FIELD_KEYS = {"Time", "User",   "Field", "Old",
                                                        "New",  "Reason", "Hash"};
// A stored piece of a value, escapes included; a project line holds 299 characters, and a
// piece may grow by two when a blank at its end is escaped.
constexpr std::size_t PIECE_LENGTH = 200;
static_assert(PIECE_LENGTH + 2 <= TEXT_MAX_LENGTH);
// What IniFile::value answers for a key that is not there; a stored value never holds it.
constexpr std::string_view ABSENT("\0", 1);

std::array<const std::string *, 7> fieldsOf(const ChangeEntry &entry) {
    return {&entry.time,     &entry.user,   &entry.field, &entry.oldValue,
            &entry.newValue, &entry.reason, &entry.hash};
}
std::array<std::string *, 7> fieldsOf(ChangeEntry &entry) {
    return {&entry.time,     &entry.user,   &entry.field, &entry.oldValue,
            &entry.newValue, &entry.reason, &entry.hash};
}

std::string entryKey(std::size_t number, std::string_view field, std::size_t piece) {
    std::string key =
        std::string(ENTRY_KEY_PREFIX) + std::to_string(number) + "." + std::string(field);
    if (piece > 1)
        key += "." + std::to_string(piece);
    return key;
}

std::string percentEscape(unsigned char byte) {
    constexpr char DIGITS[] = "0123456789ABCDEF";
    return std::string{'%', DIGITS[byte >> 4], DIGITS[byte & 0x0F]};
}

// The value in pieces a project line holds: "%" and control characters written "%XX", and a
// blank that would start or end a piece (where reading drops it) written "%20".
std::vector<std::string> storedPieces(std::string_view value) {
    std::vector<std::string> pieces(1);
    for (const char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        std::string token =
            (byte < 0x20 || byte == 0x7F || c == '%') ? percentEscape(byte) : std::string(1, c);
        if (pieces.back().size() + token.size() > PIECE_LENGTH)
            pieces.emplace_back();
        if (token == " " && pieces.back().empty())
            token = percentEscape(byte);
        pieces.back() += token;
    }
    for (std::string &piece : pieces)
        if (!piece.empty() && piece.back() == ' ')
            piece.replace(piece.size() - 1, 1, percentEscape(' '));
    return pieces;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    const char lower = asciiLower(c);
    return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

// The value of stored pieces joined; a "%" without two hexadecimal digits stands for itself.
std::string unescaped(std::string_view stored) {
    std::string value;
    for (std::size_t i = 0; i < stored.size(); ++i) {
        if (stored[i] == '%' && i + 2 < stored.size()) {
            const int high = hexDigit(stored[i + 1]);
            const int low = hexDigit(stored[i + 2]);
            if (high >= 0 && low >= 0) {
                value += static_cast<char>(high * 16 + low);
                i += 2;
                continue;
            }
        }
        value += stored[i];
    }
    return value;
}

void appendEscaped(std::string &text, std::string_view field) {
    text += lineEscaped(field);
    text += '\n';
}

} // namespace

bool operator==(const ChangeEntry &a, const ChangeEntry &b) {
    return a.time == b.time && a.user == b.user && a.field == b.field && a.oldValue == b.oldValue &&
           a.newValue == b.newValue && a.reason == b.reason && a.hash == b.hash;
}

std::string changeEntryText(const ChangeEntry &entry) {
    std::string text;
    for (const std::string *field : fieldsOf(entry))
        if (field != &entry.hash)
            appendEscaped(text, *field);
    return text;
}

std::string chainHash(std::string_view previousHash, const ChangeEntry &entry) {
    Sha256 hash;
    hash.update(previousHash);
    hash.update(changeEntryText(entry));
    return hexText(hash.finish());
}

const ChangeEntry &appendChange(ChangeLog &log, ChangeEntry entry) {
    const std::string_view previous =
        log.entries.empty() ? CHAIN_START : std::string_view(log.entries.back().hash);
    entry.hash = chainHash(previous, entry);
    log.entries.push_back(std::move(entry));
    return log.entries.back();
}

ChangeEntry changeNow(std::string field, std::string oldValue, std::string newValue,
                      std::string reason) {
    ChangeEntry entry;
    entry.time = currentUtcTimeText();
    entry.user = currentUserName();
    entry.field = std::move(field);
    entry.oldValue = std::move(oldValue);
    entry.newValue = std::move(newValue);
    entry.reason = std::move(reason);
    return entry;
}

ChainCheck checkChain(const ChangeLog &log) {
    ChainCheck check;
    const std::vector<ChangeEntry> &entries = log.entries;
    check.entryCount = entries.size();
    const auto hashBefore = [&](std::size_t index) -> std::string_view {
        return index == 0 ? CHAIN_START : std::string_view(entries[index - 1].hash);
    };
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string stored = lowerCase(entries[i].hash);
        if (chainHash(hashBefore(i), entries[i]) == stored)
            continue;
        check.entry = i + 1;
        check.kind = ChainBreak::Edited;
        // An entry intact in itself but in another place follows from some other entry.
        const std::string text = changeEntryText(entries[i]);
        for (std::size_t before = 0; before <= entries.size(); ++before) {
            if (before == i)
                continue;
            Sha256 hash;
            hash.update(hashBefore(before));
            hash.update(text);
            if (hexText(hash.finish()) == stored) {
                check.kind = ChainBreak::Moved;
                check.followed = before;
                break;
            }
        }
        return check;
    }
    return check;
}

ChainCheck checkChain(const StoredChangeLog &stored) {
    ChainCheck check = checkChain(stored.log);
    if (check.intact() && stored.log.entries.size() < stored.storedCount) {
        check.kind = ChainBreak::Missing;
        check.entry = stored.log.entries.size() + 1;
    }
    check.entryCount = std::max(check.entryCount, stored.storedCount);
    return check;
}

std::string chainCheckText(const ChainCheck &check) {
    const int entry = static_cast<int>(check.entry);
    switch (check.kind) {
    case ChainBreak::None:
        if (check.entryCount == 0)
            return std::string(text::CHANGE_LOG_EMPTY);
        if (check.entryCount == 1)
            return std::string(text::CHANGE_LOG_INTACT_ONE);
        return text::format(text::CHANGE_LOG_INTACT, static_cast<int>(check.entryCount));
    case ChainBreak::Edited:
        return text::format(text::ENTRY_BROKEN, entry);
    case ChainBreak::Moved:
        return check.followed == 0
                   ? text::format(text::ENTRY_MOVED_FROM_START, entry)
                   : text::format(text::ENTRY_MOVED, entry, static_cast<int>(check.followed));
    case ChainBreak::Missing:
        return text::format(text::ENTRY_MISSING, entry);
    }
    return std::string();
}

void writeChangeLog(const ChangeLog &log, IniFile &file) {
    // A file that never had a log stays as it was when there is none to keep.
    if (log.entries.empty() && file.value(CHANGE_LOG_SECTION, COUNT_KEY, ABSENT) == ABSENT)
        return;
    file.setValue(CHANGE_LOG_SECTION, COUNT_KEY, std::to_string(log.entries.size()));
    for (std::size_t i = 0; i < log.entries.size(); ++i) {
        const auto fields = fieldsOf(log.entries[i]);
        for (std::size_t f = 0; f < FIELD_KEYS.size(); ++f) {
            const std::vector<std::string> pieces = storedPieces(*fields[f]);
            for (std::size_t p = 0; p < pieces.size(); ++p)
                file.setValue(CHANGE_LOG_SECTION, entryKey(i + 1, FIELD_KEYS[f], p + 1), pieces[p]);
            // Keys cannot be taken out of a file: a longer value written there before would
            // lend its further pieces to this one, so an empty piece ends the value.
            const std::string after = entryKey(i + 1, FIELD_KEYS[f], pieces.size() + 1);
            if (file.value(CHANGE_LOG_SECTION, after, ABSENT) != ABSENT)
                file.setValue(CHANGE_LOG_SECTION, after, "");
        }
    }
}

StoredChangeLog readChangeLog(const IniFile &file) {
    StoredChangeLog stored;
    const int32_t count = readInteger(file.value(CHANGE_LOG_SECTION, COUNT_KEY, "0"));
    stored.storedCount = count > 0 ? static_cast<std::size_t>(count) : 0;
    // Grow with what the file holds: the count can say anything.
    for (std::size_t number = 1; number <= stored.storedCount; ++number) {
        ChangeEntry entry;
        const auto fields = fieldsOf(entry);
        bool present = false;
        for (std::size_t f = 0; f < FIELD_KEYS.size(); ++f) {
            std::string joined;
            for (std::size_t piece = 1;; ++piece) {
                const std::string value =
                    file.value(CHANGE_LOG_SECTION, entryKey(number, FIELD_KEYS[f], piece), ABSENT);
                // Only the first piece of a value can be empty (see writeChangeLog).
                if (value == ABSENT || (piece > 1 && value.empty()))
                    break;
                present = true;
                joined += value;
            }
            *fields[f] = unescaped(joined);
        }
        if (!present)
            break;
        stored.log.entries.push_back(std::move(entry));
    }
    return stored;
}

} // namespace zqar
