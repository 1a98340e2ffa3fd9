#include "layout/IniFile.h"

#include "data/AtomicFileWriter.h"
#include "data/TextField.h"

#include <cstdio>
#include <memory>

namespace zqar {

namespace {

std::string lowerCase(std::string_view text) {
    std::string lower(text);
    for (char &c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

std::string_view trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

// What a 300-byte line buffer shows of a line: its first 299 characters up to a zero byte.
std::string_view bufferedText(std::string_view line) {
    line = line.substr(0, TEXT_MAX_LENGTH);
    const std::size_t zero = line.find('\0');
    return zero == std::string_view::npos ? line : line.substr(0, zero);
}

// The section name of a header line, or none for any other line.
std::optional<std::string_view> sectionName(std::string_view line) {
    const std::string_view text = trimmed(bufferedText(line));
    if (text.empty() || text.front() != '[')
        return std::nullopt;
    const std::string_view inside = text.substr(1);
    return trimmed(inside.substr(0, inside.find(']')));
}

struct KeyLine {
    std::string_view key;
    std::string_view value;
};

std::optional<KeyLine> keyLine(std::string_view line) {
    const std::string_view text = bufferedText(line);
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos)
        return std::nullopt;
    const std::string_view key = trimmed(text.substr(0, equals));
    if (key.empty())
        return std::nullopt;
    return KeyLine{key, trimmed(text.substr(equals + 1))};
}

bool isBlank(std::string_view line) { return trimmed(line).empty(); }

struct FileCloser {
    void operator()(std::FILE *file) const { std::fclose(file); }
};

} // namespace

IniFile::IniFile(std::string_view text) {
    // A UTF-8 byte order mark from an editor would hide the first section header.
    constexpr std::string_view BYTE_ORDER_MARK = "\xEF\xBB\xBF";
    if (text.substr(0, BYTE_ORDER_MARK.size()) == BYTE_ORDER_MARK) {
        byteOrderMark = std::string(BYTE_ORDER_MARK);
        text.remove_prefix(BYTE_ORDER_MARK.size());
    }
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t newline = text.find('\n', at);
        Line line;
        if (newline == std::string_view::npos) {
            line.text = std::string(text.substr(at));
            at = text.size();
        } else {
            const bool cr = newline > at && text[newline - 1] == '\r';
            line.text = std::string(text.substr(at, newline - at - (cr ? 1 : 0)));
            line.end = cr ? "\r\n" : "\n";
            at = newline + 1;
        }
        if (const auto name = sectionName(line.text)) {
            named.emplace(lowerCase(*name), sections.size());
            sections.push_back(Section{std::move(line), {}, {}, 0});
            continue;
        }
        if (sections.empty()) {
            prologue.push_back(std::move(line));
            continue;
        }
        Section &section = sections.back();
        if (const auto entry = keyLine(line.text))
            section.keys.emplace(lowerCase(entry->key), section.body.size());
        const bool blank = isBlank(line.text);
        section.body.push_back(std::move(line));
        if (!blank)
            section.contentEnd = section.body.size();
    }
}

std::optional<IniFile> IniFile::read(const std::string &path) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return std::nullopt;
    std::string bytes;
    char block[1 << 16];
    for (;;) {
        const std::size_t got = std::fread(block, 1, sizeof block, file.get());
        if (got == 0)
            break;
        if (bytes.size() + got > MAX_FILE_BYTES)
            return std::nullopt;
        bytes.append(block, got);
    }
    if (std::ferror(file.get()))
        return std::nullopt;
    return IniFile(bytes);
}

std::string IniFile::value(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const {
    const auto found = named.find(lowerCase(section));
    if (found != named.end()) {
        const Section &s = sections[found->second];
        const auto line = s.keys.find(lowerCase(key));
        if (line != s.keys.end())
            return cutText(keyLine(s.body[line->second].text)->value);
    }
    return cutText(defaultValue);
}

std::string IniFile::newLineEnd() const {
    const Line *first = !prologue.empty()   ? &prologue.front()
                        : !sections.empty() ? &sections.front().header
                                            : nullptr;
    return first && !first->end.empty() ? first->end : "\r\n";
}

IniFile::Line *IniFile::lastLine() {
    if (!sections.empty()) {
        Section &section = sections.back();
        return section.body.empty() ? &section.header : &section.body.back();
    }
    return prologue.empty() ? nullptr : &prologue.back();
}

void IniFile::setValue(std::string_view section, std::string_view key, std::string_view value) {
    const std::string_view singleLine = value.substr(0, value.find_first_of("\r\n"));
    const std::string end = newLineEnd();
    Line line{std::string(key) + "=" + std::string(singleLine), end};

    const std::string sectionKey = lowerCase(section);
    auto found = named.find(sectionKey);
    if (found == named.end()) {
        if (Line *last = lastLine(); last && last->end.empty())
            last->end = end;
        found = named.emplace(sectionKey, sections.size()).first;
        sections.push_back(Section{Line{"[" + std::string(section) + "]", end}, {}, {}, 0});
    }
    Section &target = sections[found->second];
    const std::string name = lowerCase(key);
    if (const auto existing = target.keys.find(name); existing != target.keys.end()) {
        // The old line's end stays, so a last line without one stays without one.
        line.end = target.body[existing->second].end;
        target.body[existing->second] = std::move(line);
        return;
    }
    // After the last non-blank line, so blank lines that part sections stay where they are.
    // Only blank lines follow that place, and no key refers to them.
    const std::size_t at = target.contentEnd;
    if (at == target.body.size()) {
        Line &before = at == 0 ? target.header : target.body.back();
        if (before.end.empty())
            before.end = end;
    }
    target.body.insert(target.body.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
    target.keys.emplace(name, at);
    target.contentEnd = at + 1;
}

std::string IniFile::text() const {
    std::string result = byteOrderMark;
    const auto add = [&result](const Line &line) {
        result += line.text;
        result += line.end;
    };
    for (const Line &line : prologue)
        add(line);
    for (const Section &section : sections) {
        add(section.header);
        for (const Line &line : section.body)
            add(line);
    }
    return result;
}

bool IniFile::write(const std::string &path) const { return writeFileAtomically(path, text()); }

} // namespace zqar
