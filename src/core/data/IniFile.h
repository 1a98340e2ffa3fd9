#pragma once
// The project file's INI text: "[Section]" header lines and "Key=Value" lines. Reading
// follows the profile functions the project files were always read with; writing changes only
// the lines it must and replaces the whole file at once.
//
// Reading:
//   - Lines end at LF; a CR before the LF belongs to the line end, so CR LF and LF files read
//     alike. A UTF-8 byte order mark at the start is skipped, and written back. A zero byte
//     ends the line's text there. Lines of any length are read whole: key and value are split
//     on the full line.
//   - Section and key names are matched without regard to letter case (ASCII). Blanks and
//     tabs around names and values are dropped. The first section of a name is the section;
//     within it the first line of a key holds its value. Lines before any section header, and
//     lines without "=", are ignored. A name longer than MAX_NAME_LENGTH matches no name.
//   - A value is cut to 299 characters, as a 300-byte value buffer holds it.
//   - A file of any size is read as a stream, in blocks of bounded size. read opens the file
//     and reads it through once; a section is read from the file as opened when one of its
//     keys is first asked for, and only the values of its keys' first lines are kept, each at
//     most 299 characters. The file stays open while the IniFile (or a copy) lives.
//
// Writing: setValue replaces the value of the key's first line in its section, or adds the
// key after the section's last non-blank line, or adds the section with the key at the end.
// Every other line stays byte for byte as it was, line end included. New lines get the line
// end of the file's first line, CR LF for a new file. A line break in a value would make
// lines of its own, so a value is cut before its first CR or LF; CRs among the blanks it starts
// with are dropped first (writableValue). A file that was read is
// written by copying it again, in blocks, with the changes, so a file of any size keeps its
// other sections and keys.

#include <cstddef>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zqar {

class IniFile {
public:
    // Far longer than any name the project file uses; a longer one is not kept.
    static constexpr std::size_t MAX_NAME_LENGTH = 1024;

    IniFile() = default;
    explicit IniFile(std::string_view text);

    // The file, or none when it cannot be opened and read.
    static std::optional<IniFile> read(const std::string &path);

    // The key's value, or defaultValue when the section or the key is missing; at most 299
    // characters either way.
    std::string value(std::string_view section, std::string_view key,
                      std::string_view defaultValue) const;

    void setValue(std::string_view section, std::string_view key, std::string_view value);
    // The part of a value setValue writes.
    static std::string writableValue(std::string_view value);

    // The text with the changes, as write would write it; empty when that fails.
    std::string text() const;

    // Writes the text with the changes beside path and renames it over path. A file that was
    // read is read again for this from the file as opened, with what was changed in it since.
    // False when anything failed, or when that file cannot be read again or changes while it
    // is copied; the file at path is then as it was.
    bool write(const std::string &path) const;

private:
    struct Change {
        std::string section; // as spelt by setValue
        std::string key;
        std::string value; // one line
    };
    using Keys = std::unordered_map<std::string, std::string>; // lower-case name -> value

    template <class Sink> bool copyWithChanges(Sink &sink) const;

    const Keys &sectionKeys(const std::string &name) const;

    // Where the text comes from: the file as opened, or the text given (empty for a new file).
    std::shared_ptr<std::FILE> sourceFile;
    std::string sourceText;
    // The sections asked for so far: lower-case name -> the first section's keys.
    mutable std::unordered_map<std::string, Keys> sections;
    std::vector<Change> changes;                          // in the order first set
    std::unordered_map<std::string, std::size_t> changed; // section '\0' key, lower case
};

} // namespace zqar
