#pragma once
// The job's change log: who changed which field when, from what to what and why, each entry
// chained to the one before by its hash, so that an entry edited, removed or moved afterwards
// shows. The job owns it and appends to it; project files keep it in a section of their own.
//
// The entry text, which the hash covers, is the six fields time, user, field, old value, new
// value and reason, in that order, each followed by one LF; within a field a backslash is
// written "\\", a LF "\n" and a CR "\r", so a field can hold any bytes and still end where its
// LF says. The text is UTF-8 as the fields are, with no byte order mark.
//
// An entry's hash is the SHA-256 of the previous entry's hash, as its 64 lower-case hexadecimal
// digits, followed by the entry text; before the first entry stand 64 zeros (CHAIN_START).
// So with a shell, for an entry whose fields hold no backslash, LF or CR, and with the fields
// in the variables p (the previous hash), t, u, f, o, n and r:
//     printf '%s%s\n%s\n%s\n%s\n%s\n%s\n' "$p" "$t" "$u" "$f" "$o" "$n" "$r" | sha256sum
//
// The chain shows an entry that was edited, removed from the middle, or moved. It cannot show
// the last entries removed together with the count of entries; a report made from the job
// records the log as it was then.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zqar {

class IniFile;

constexpr std::string_view CHAIN_START =
    "0000000000000000000000000000000000000000000000000000000000000000";

struct ChangeEntry {
    std::string time; // UTC, as utcTimeText writes it: "2025-06-05T18:00:00Z"
    std::string user; // the operating-system user (currentUserName)
    std::string field;
    std::string oldValue;
    std::string newValue;
    std::string reason; // may be empty
    std::string hash;   // 64 lower-case hexadecimal digits, set by appendChange
};

bool operator==(const ChangeEntry &a, const ChangeEntry &b);

struct ChangeLog {
    std::vector<ChangeEntry> entries; // oldest first
};

// The entry's text as the hash covers it (see above); the hash field is not part of it.
std::string changeEntryText(const ChangeEntry &entry);
// The hash of an entry that follows an entry of previousHash.
std::string chainHash(std::string_view previousHash, const ChangeEntry &entry);

// Appends the entry with its hash chained to the last one; entry.hash is ignored.
const ChangeEntry &appendChange(ChangeLog &log, ChangeEntry entry);
// An entry made now, by the current user.
ChangeEntry changeNow(std::string field, std::string oldValue, std::string newValue,
                      std::string reason);

enum class ChainBreak {
    None,
    Edited,  // the entry's hash does not follow: it was edited, or one before it removed
    Moved,   // the entry's hash follows from another entry than the one before it
    Missing, // the project file counts the entry but lacks it
};

struct ChainCheck {
    ChainBreak kind = ChainBreak::None;
    std::size_t entry = 0;    // the first broken entry, numbered from 1
    std::size_t followed = 0; // Moved: the entry it followed (0 when it was the first)
    std::size_t entryCount = 0;
    bool intact() const { return kind == ChainBreak::None; }
};

// The first entry whose hash does not follow from the entry before it and its own text.
ChainCheck checkChain(const ChangeLog &log);
// For the user: the log is intact, or which entry broke the chain and how.
std::string chainCheckText(const ChainCheck &check);

// The log as a project file keeps it, in its own section, which older readers skip.
constexpr std::string_view CHANGE_LOG_SECTION = "ChangeLog";

struct StoredChangeLog {
    ChangeLog log;               // the entries up to the first missing one
    std::size_t storedCount = 0; // the entries the section counts
};

// Sets the section's keys: the count, then each entry's fields; values longer than a project
// line holds are stored in pieces, and bytes a line cannot hold are escaped.
void writeChangeLog(const ChangeLog &log, IniFile &file);
// The section's entries; a file without the section has an empty log.
StoredChangeLog readChangeLog(const IniFile &file);
// checkChain, and an entry the section counts but lacks counts as broken there.
ChainCheck checkChain(const StoredChangeLog &stored);

} // namespace zqar
