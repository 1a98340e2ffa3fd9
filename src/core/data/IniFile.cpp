#include "core/data/IniFile.h"

#include "core/data/caseless.h"
#include "core/data/numbers.h"

#include "core/data/AtomicFileWriter.h"
#include "core/data/TextField.h"
#include "core/data/readBlocks.h"
#include "core/data/trimmed.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

namespace zqar {

namespace {

constexpr std::size_t BLOCK_BYTES = INI_READ_BLOCK_SIZE;
constexpr std::string_view BYTE_ORDER_MARK = "\xEF\xBB\xBF";
constexpr std::string_view DEFAULT_LINE_END = "\r\n";

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// The first characters of a text without its leading and trailing blanks, collected piece by
// piece in bounded memory: at most limit characters are kept, and overflow tells that the
// text without its blanks is longer.
class BoundedText {
public:
    explicit BoundedText(std::size_t limit) : limit(limit) {}

    void add(std::string_view text) {
        std::size_t at = 0;
        while (at < text.size() && !overflow) {
            if (isBlank(text[at])) {
                addBlank(text[at++]);
                continue;
            }
            std::size_t wordEnd = at;
            while (wordEnd < text.size() && !isBlank(text[wordEnd]))
                ++wordEnd;
            addWord(text.substr(at, wordEnd - at));
            at = wordEnd;
        }
    }
    void clear() {
        kept.clear();
        blanks.clear();
        overflow = false;
    }

    std::string kept; // at most limit characters
    bool overflow = false;

private:
    void addBlank(char c) {
        if (!kept.empty() && kept.size() + blanks.size() < limit)
            blanks += c; // leading blanks are dropped
    }
    // A run of characters other than blanks.
    void addWord(std::string_view word) {
        const std::size_t used = kept.size() + blanks.size();
        const std::size_t room = used < limit ? limit - used : 0;
        kept += blanks;
        blanks.clear();
        kept.append(word.substr(0, room));
        overflow = word.size() > room;
    }

    std::string blanks; // inner blanks that may still be followed by more text
    std::size_t limit;
};

enum class LineKind { Other, Header, Key };

// Reads one line's text, a character at a time, into what the file format makes of it.
class LineParser {
public:
    void feed(const char *bytes, std::size_t count) {
        for (std::size_t i = 0; i < count && !done();) {
            if (state != State::Value) {
                feed(bytes[i++]);
                continue;
            }
            // The rest of the line up to a zero byte is the value.
            const void *zero = std::memchr(bytes + i, '\0', count - i);
            const std::size_t length =
                zero ? static_cast<std::size_t>(static_cast<const char *>(zero) - (bytes + i))
                     : count - i;
            value.add(std::string_view(bytes + i, length));
            ended = zero != nullptr;
            i += length + (zero ? 1 : 0);
        }
    }
    void reset() {
        state = State::Start;
        ended = false;
        blank = true;
        name.clear();
        value.clear();
    }

    LineKind kind() const {
        if (state == State::Header || state == State::HeaderDone)
            return LineKind::Header;
        return state == State::Value ? LineKind::Key : LineKind::Other;
    }
    // The section or key name, or none when it is too long to match any.
    std::optional<std::string_view> lineName() const {
        if (name.overflow)
            return std::nullopt;
        return std::string_view(name.kept);
    }
    std::string_view lineValue() const { return value.kept; }
    bool isBlankLine() const { return blank; }

private:
    enum class State { Start, Header, HeaderDone, Key, Value, Other };

    // Once the kind, the name and the first 299 characters of the value are known, the rest
    // of the line changes nothing.
    bool done() const {
        switch (state) {
        case State::Start:
            return false;
        case State::Header:
        case State::Key:
            return ended || name.overflow;
        case State::Value:
            return ended || value.overflow;
        default:
            return true;
        }
    }

    void feed(char c) {
        if (!isBlank(c))
            blank = false;
        if (ended)
            return;
        if (c == '\0') {
            ended = true;
            return;
        }
        switch (state) {
        case State::Start:
            if (isBlank(c))
                return;
            if (c == '[') {
                state = State::Header;
            } else if (c == '=') {
                state = State::Other; // no key name
            } else {
                state = State::Key;
                name.add(std::string_view(&c, 1));
            }
            return;
        case State::Header:
        case State::Key: {
            // A header name ends at its bracket, a key name at its equals sign.
            const bool header = state == State::Header;
            if (c == (header ? ']' : '='))
                state = header ? State::HeaderDone : State::Value;
            else
                name.add(std::string_view(&c, 1));
            return;
        }
        default:
            return; // the value is read in runs above
        }
    }

    State state = State::Start;
    bool ended = false; // a zero byte ended the text
    bool blank = true;  // only blanks and tabs so far
    BoundedText name{IniFile::MAX_NAME_LENGTH};
    BoundedText value{TEXT_MAX_LENGTH};
};

struct Line {
    std::uint64_t start;   // offset of the line's first byte
    std::uint64_t textEnd; // offset of its line end
    std::uint64_t end;     // offset after its line end
    std::string_view lineEnd;
    const LineParser &parsed;
    // The last line, without a line end, ends in a CR. That CR is part of its value, and stays
    // so only when a line end put after it is a CR LF of its own.
    bool endsInCr = false;
};

// Reads a file held open from its start.
class FileSource {
public:
    explicit FileSource(std::FILE *file) : file(file) { std::rewind(file); }
    std::size_t read(char *bytes, std::size_t count) { return std::fread(bytes, 1, count, file); }
    bool failed() const { return std::ferror(file) != 0; }

private:
    std::FILE *file;
};

class TextSource {
public:
    explicit TextSource(std::string_view text) : text(text) {}
    std::size_t read(char *bytes, std::size_t count) {
        const std::size_t n = std::min(count, text.size() - at);
        std::memcpy(bytes, text.data() + at, n);
        at += n;
        return n;
    }
    bool failed() const { return false; }

private:
    std::string_view text;
    std::size_t at = 0;
};

// Calls handle for every line of the source, read in blocks of bounded size. The number of
// bytes read, or none on a read error.
template <class Source, class Handle>
std::optional<std::uint64_t> forEachLine(Source &source, Handle &&handle) {
    std::vector<char> block(BLOCK_BYTES);
    LineParser parser;
    std::uint64_t offset = 0;    // of the block
    std::uint64_t lineStart = 0; // of the line being read
    bool pendingCr = false;      // the last block ended in a CR that may start a line end
    bool first = true;
    const auto emit = [&](std::uint64_t textEnd, std::uint64_t end, std::string_view lineEnd) {
        handle(Line{lineStart, textEnd, end, lineEnd, parser});
        parser.reset();
        lineStart = end;
    };
    for (;;) {
        const std::size_t got = source.read(block.data(), block.size());
        if (got == 0)
            break;
        const char *bytes = block.data();
        std::size_t at = 0;
        if (first) {
            first = false;
            if (std::string_view(bytes, std::min(got, BYTE_ORDER_MARK.size())) == BYTE_ORDER_MARK) {
                at = BYTE_ORDER_MARK.size();
                lineStart = at;
            }
        }
        if (pendingCr) {
            pendingCr = false;
            if (bytes[0] == '\n') {
                emit(offset - 1, offset + 1, "\r\n");
                at = 1;
            } else {
                parser.feed("\r", 1);
            }
        }
        while (at < got) {
            const void *found = std::memchr(bytes + at, '\n', got - at);
            if (!found) {
                std::size_t count = got - at;
                if (bytes[got - 1] == '\r') {
                    pendingCr = true;
                    --count;
                }
                parser.feed(bytes + at, count);
                break;
            }
            const std::size_t newline =
                static_cast<std::size_t>(static_cast<const char *>(found) - bytes);
            const bool cr = newline > at && bytes[newline - 1] == '\r';
            parser.feed(bytes + at, newline - at - (cr ? 1 : 0));
            emit(offset + newline - (cr ? 1 : 0), offset + newline + 1, cr ? "\r\n" : "\n");
            at = newline + 1;
        }
        offset += got;
    }
    if (source.failed())
        return std::nullopt;
    const bool endsInCr = pendingCr;
    if (pendingCr)
        parser.feed("\r", 1);
    if (lineStart < offset)
        handle(Line{lineStart, offset, offset, "", parser, endsInCr});
    return offset;
}

// Copies the source to the sink with the edits: each replaces the bytes from start to stop
// with its text. The edits are in order and do not overlap. False when the source ends
// before size or goes on after it.
struct Edit {
    std::uint64_t start;
    std::uint64_t stop;
    std::string text;
};

template <class Source, class Sink>
bool copyEdited(Source &source, std::uint64_t size, const std::vector<Edit> &edits, Sink &sink) {
    std::vector<char> block(BLOCK_BYTES);
    std::uint64_t at = 0;
    const auto copyTo = [&](std::uint64_t stop, bool keep) {
        while (at < stop) {
            const std::size_t want =
                static_cast<std::size_t>(std::min<std::uint64_t>(block.size(), stop - at));
            const std::size_t got = source.read(block.data(), want);
            if (got == 0)
                return false;
            if (keep)
                sink(std::string_view(block.data(), got));
            at += got;
        }
        return true;
    };
    for (const Edit &edit : edits) {
        if (!copyTo(edit.start, true))
            return false;
        sink(std::string_view(edit.text));
        if (!copyTo(edit.stop, false))
            return false;
    }
    char extra;
    return copyTo(size, true) && source.read(&extra, 1) == 0 && !source.failed();
}

// Where the changes go in the text: found in a first pass over it.
struct SectionPlan {
    std::string name; // lower case
    std::vector<std::size_t> changes;
    std::vector<std::optional<std::pair<std::uint64_t, std::uint64_t>>> lines; // text of each key
    std::unordered_map<std::string, std::size_t> keys; // lower-case key -> index in changes
    bool found = false;
    std::uint64_t contentEnd = 0; // after the section's last non-blank line
    bool contentEndHasLineEnd = true;
    bool contentEndInCr = false; // the content ends in a CR without a line end
};

// The first line of each key in the first section of the name; false on a read error.
template <class Source>
bool readSection(Source &source, std::string_view sectionName,
                 std::unordered_map<std::string, std::string> &keys) {
    bool inside = false;
    bool seen = false; // a later section of the same name is not the section
    return forEachLine(source,
                       [&](const Line &line) {
                           const LineParser &parsed = line.parsed;
                           const auto name = parsed.lineName();
                           if (parsed.kind() == LineKind::Header) {
                               inside = !seen && name && lowerCase(*name) == sectionName;
                               seen = seen || inside;
                           } else if (inside && parsed.kind() == LineKind::Key && name) {
                               keys.try_emplace(lowerCase(*name), std::string(parsed.lineValue()));
                           }
                       })
        .has_value();
}

} // namespace

IniFile::IniFile(std::string_view text) : sourceText(text) {}

std::optional<IniFile> IniFile::read(const std::string &path) {
    std::FILE *opened = std::fopen(path.c_str(), "rb");
    if (!opened)
        return std::nullopt;
    IniFile file;
    file.sourceFile.reset(opened, [](std::FILE *open) { std::fclose(open); });
    // Read through once, so that a file that cannot be read is refused here.
    std::vector<char> block(BLOCK_BYTES);
    FileSource source(file.sourceFile.get());
    while (source.read(block.data(), block.size()) > 0) {
    }
    if (source.failed())
        return std::nullopt;
    return file;
}

const IniFile::Keys &IniFile::sectionKeys(const std::string &name) const {
    const auto [entry, added] = sections.try_emplace(name);
    if (added) {
        if (sourceFile) {
            FileSource source(sourceFile.get());
            readSection(source, name, entry->second);
        } else {
            TextSource source(sourceText);
            readSection(source, name, entry->second);
        }
    }
    return entry->second;
}

std::string IniFile::value(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const {
    const std::string sectionName = lowerCase(section);
    const std::string keyName = lowerCase(key);
    if (const auto change = changed.find(sectionName + '\0' + keyName); change != changed.end()) {
        // What reading the written line gives back.
        const std::string_view written = changes[change->second].value;
        return cutText(trimmedOf(written.substr(0, written.find('\0')), isBlank));
    }
    const Keys &keys = sectionKeys(sectionName);
    if (const auto line = keys.find(keyName); line != keys.end())
        return line->second;
    return cutText(defaultValue);
}

std::string IniFile::writableValue(std::string_view value) {
    // CRs among the white space a value starts with go: a number after them ("\r5", which a
    // project line holding a lone CR gives) is what the value says to the number readers,
    // which skip all of that space, and cutting the value there would save it empty. The other
    // white space stays as it was.
    std::string kept;
    std::size_t at = 0;
    for (; at < value.size() && isSpace(value[at]) && value[at] != '\n'; ++at)
        if (value[at] != '\r')
            kept += value[at];
    const std::string_view rest = value.substr(at);
    return kept + std::string(rest.substr(0, rest.find_first_of("\r\n")));
}

void IniFile::setValue(std::string_view section, std::string_view key, std::string_view value) {
    const std::string singleLine = writableValue(value);
    const std::string sectionName = lowerCase(section);
    const std::string keyName = lowerCase(key);
    const auto [entry, added] = changed.try_emplace(sectionName + '\0' + keyName, changes.size());
    if (added)
        changes.push_back(Change{std::string(section), std::string(key), singleLine});
    else
        changes[entry->second] =
            Change{changes[entry->second].section, std::string(key), singleLine};
}

namespace {

// Where each change goes in the file: found by the first pass over its lines.
struct ChangePlan {
    std::vector<SectionPlan> sections;
    std::unordered_map<std::string, std::size_t> sectionOf; // lower-case section -> index
    std::string lineEnd{DEFAULT_LINE_END};
    bool firstLine = true;
    bool lastLineHasEnd = true;
    bool lastLineEndsInCr = false;
    SectionPlan *current = nullptr;

    // Notes the file's line end, the sections that get changes, their key lines and where
    // their content ends.
    void see(const Line &line) {
        if (firstLine && !line.lineEnd.empty())
            lineEnd = std::string(line.lineEnd);
        firstLine = false;
        lastLineHasEnd = !line.lineEnd.empty();
        lastLineEndsInCr = line.endsInCr;
        const LineParser &parsed = line.parsed;
        const auto name = parsed.lineName();
        if (parsed.kind() == LineKind::Header) {
            enterSection(line, name);
            return;
        }
        if (!current)
            return;
        if (parsed.kind() == LineKind::Key && name) {
            const auto key = current->keys.find(lowerCase(*name));
            if (key != current->keys.end() && !current->lines[key->second])
                current->lines[key->second] = std::make_pair(line.start, line.textEnd);
        }
        if (!parsed.isBlankLine()) {
            current->contentEnd = line.end;
            current->contentEndHasLineEnd = !line.lineEnd.empty();
            current->contentEndInCr = line.endsInCr;
        }
    }

    // Only the first section of a name takes changes.
    void enterSection(const Line &line, const std::optional<std::string_view> &name) {
        current = nullptr;
        if (!name)
            return;
        const auto found = sectionOf.find(lowerCase(*name));
        if (found == sectionOf.end() || sections[found->second].found)
            return;
        current = &sections[found->second];
        current->found = true;
        current->contentEnd = line.end;
        current->contentEndHasLineEnd = !line.lineEnd.empty();
        current->contentEndInCr = line.endsInCr;
    }
};

// The edits that put the changes where the plan found their places; new sections go at the
// end of the file.
template <class Changes>
std::vector<Edit> editsFor(const ChangePlan &plan, const Changes &changes, std::uint64_t fileSize) {
    const auto keyLine = [&](std::size_t change) {
        return changes[change].key + "=" + changes[change].value;
    };
    std::vector<Edit> edits;
    std::string appended; // the new sections at the end
    // A file (or a BOM alone) that does not end in a line end gets one before new lines.
    bool endMissing = !plan.lastLineHasEnd;
    for (const SectionPlan &section : plan.sections) {
        std::string added;
        for (std::size_t k = 0; k < section.changes.size(); ++k) {
            const std::size_t change = section.changes[k];
            if (section.found && section.lines[k])
                edits.push_back(
                    Edit{section.lines[k]->first, section.lines[k]->second, keyLine(change)});
            else
                added += keyLine(change) + plan.lineEnd;
        }
        if (added.empty())
            continue;
        if (!section.found) {
            appended += "[" + changes[section.changes.front()].section + "]" + plan.lineEnd + added;
            continue;
        }
        if (!section.contentEndHasLineEnd) {
            added.insert(0, section.contentEndInCr ? DEFAULT_LINE_END : plan.lineEnd);
            endMissing = false;
        }
        edits.push_back(Edit{section.contentEnd, section.contentEnd, added});
    }
    std::stable_sort(edits.begin(), edits.end(),
                     [](const Edit &a, const Edit &b) { return a.start < b.start; });
    if (!appended.empty()) {
        if (endMissing && fileSize > 0)
            appended.insert(0, plan.lastLineEndsInCr ? DEFAULT_LINE_END : plan.lineEnd);
        edits.push_back(Edit{fileSize, fileSize, appended});
    }
    return edits;
}

} // namespace

template <class Sink> bool IniFile::copyWithChanges(Sink &sink) const {
    ChangePlan plan;
    for (std::size_t i = 0; i < changes.size(); ++i) {
        const std::string name = lowerCase(changes[i].section);
        const auto [entry, added] = plan.sectionOf.try_emplace(name, plan.sections.size());
        if (added)
            plan.sections.push_back(SectionPlan{name, {}, {}, {}, false, 0, true});
        SectionPlan &section = plan.sections[entry->second];
        section.keys.emplace(lowerCase(changes[i].key), section.changes.size());
        section.changes.push_back(i);
        section.lines.emplace_back();
    }
    const auto see = [&plan](const Line &line) { plan.see(line); };
    // First pass: where each change goes. Second pass: the copy, which must find the same size.
    if (sourceFile) {
        FileSource first(sourceFile.get());
        const auto size = forEachLine(first, see);
        if (!size)
            return false;
        FileSource second(sourceFile.get());
        return copyEdited(second, *size, editsFor(plan, changes, *size), sink);
    }
    TextSource first(sourceText);
    const std::uint64_t size = forEachLine(first, see).value_or(0);
    TextSource second(sourceText);
    return copyEdited(second, size, editsFor(plan, changes, size), sink);
}

std::string IniFile::text() const {
    std::string result;
    auto sink = [&result](std::string_view bytes) { result += bytes; };
    if (!copyWithChanges(sink))
        return std::string();
    return result;
}

bool IniFile::write(const std::string &path) const {
    AtomicFileWriter writer(path);
    if (!writer.isOpen())
        return false;
    auto sink = [&writer](std::string_view bytes) { writer.write(bytes); };
    return copyWithChanges(sink) && writer.commit();
}

} // namespace zqar
