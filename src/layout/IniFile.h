#pragma once
// The project file's INI text: "[Section]" header lines and "Key=Value" lines. Reading
// follows the profile functions the project files were always read with; writing changes only
// the lines it must and replaces the whole file at once.
//
// Reading:
//   - Lines end at LF; a CR before the LF belongs to the line end, so CR LF and LF files read
//     alike. A UTF-8 byte order mark at the start is skipped, and written back. Only the first 299
//     characters of a line count, as a 300-byte line buffer holds them; the rest of a longer line
//     is ignored (it never becomes a line of its own), and a zero byte ends the line's text there.
//   - Section and key names are matched without regard to letter case (ASCII). Blanks and
//     tabs around names and values are dropped. The first section of a name is the section;
//     within it the first line of a key holds its value. Lines before any section header, and
//     lines without "=", are ignored.
//   - A value is cut to 299 characters.
//   - Files larger than MAX_FILE_BYTES are not read at all: such a file is no project file,
//     and holding it whole in memory to rewrite it is not worth the risk.
//
// Writing: setValue replaces the value of the key's first line in its section, or adds the
// key after the section's last non-blank line, or adds the section with the key at the end.
// Every other line stays byte for byte as it was, line end included. New lines get the line
// end of the file's first line, CR LF for a new file. A line break in a value would make
// lines of its own, so a value is cut before its first CR or LF.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zqar {

class IniFile {
public:
    static constexpr std::size_t MAX_FILE_BYTES = 16u << 20;

    IniFile() = default;
    explicit IniFile(std::string_view text);

    // The file's text, or none when it cannot be opened and read or is too large.
    static std::optional<IniFile> read(const std::string &path);

    // The key's value, or defaultValue when the section or the key is missing; at most 299
    // characters either way.
    std::string value(std::string_view section, std::string_view key,
                      std::string_view defaultValue) const;

    void setValue(std::string_view section, std::string_view key, std::string_view value);

    std::string text() const;

    // Writes the text beside path and renames it over path. False when anything failed; the
    // file at path is then as it was.
    bool write(const std::string &path) const;

private:
    struct Line {
        std::string text; // without the line end
        std::string end;  // "\r\n", "\n" or empty for a last line without one
    };
    struct Section {
        Line header;
        std::vector<Line> body;
        std::unordered_map<std::string, std::size_t> keys; // lower-case name -> first line
        std::size_t contentEnd = 0; // one past the body's last non-blank line
    };

    std::string newLineEnd() const;
    Line *lastLine();

    std::string byteOrderMark;     // kept for writing back; not part of the first line
    std::vector<Line> prologue;    // the lines before the first section header
    std::vector<Section> sections; // in file order
    std::unordered_map<std::string, std::size_t> named; // lower-case name -> first section
};

} // namespace zqar
