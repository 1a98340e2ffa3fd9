// The project file's INI reader and writer. The input up to its last 0xFF byte is the text of
// a project file; after it come changes, separated by 0x01 bytes: a byte choosing the section
// and the key, then the value. Checks: the file written with the changes reads back with the
// values the changed file answered, for the changed keys and every other one.

#include "fuzzCheck.h"
#include "layout/IniFile.h"

#include <vector>

using namespace zqar;

namespace {

constexpr std::string_view SECTIONS[] = {"ZQARVemro", "zqarVEMRO", "Other", ""};
constexpr std::string_view KEYS[] = {"Directory",
                                     "NumberOfRows",
                                     "NumberOfColumns",
                                     "RowSpacing",
                                     "ColumnSpacing",
                                     "NumberOfSingular",
                                     "UseCommentField",
                                     "LoggersOnBoundary",
                                     "ProjectDescription",
                                     "ProjectNumber",
                                     "ProjectDate",
                                     "R1C1",
                                     "R1C2",
                                     "R2C1",
                                     "S0",
                                     "S1",
                                     "key with blanks"};
constexpr std::size_t SECTION_COUNT = std::size(SECTIONS);
constexpr std::size_t KEY_COUNT = std::size(KEYS);
constexpr std::string_view DEFAULT_VALUE = "\x02"
                                           "default";

std::vector<std::string> allValues(const IniFile &file) {
    std::vector<std::string> values;
    for (const std::string_view section : SECTIONS)
        for (const std::string_view key : KEYS)
            values.push_back(file.value(section, key, DEFAULT_VALUE));
    return values;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
    const std::string_view input = fuzz::bytesOf(data, size);
    const std::size_t split = input.rfind('\xFF');
    const std::string_view text = input.substr(0, split);
    std::string_view changes =
        split == std::string_view::npos ? std::string_view() : input.substr(split + 1);

    IniFile file(text);
    for (const std::string &value : allValues(file))
        FUZZ_CHECK(value.size() <= 299);
    bool changed = false;
    while (split != std::string_view::npos) {
        const std::size_t end = changes.find('\x01');
        const std::string_view change = changes.substr(0, end);
        if (!change.empty()) {
            const auto choice = static_cast<unsigned char>(change[0]);
            file.setValue(SECTIONS[choice / KEY_COUNT % SECTION_COUNT], KEYS[choice % KEY_COUNT],
                          change.substr(1));
            changed = true;
        }
        if (end == std::string_view::npos)
            break;
        changes.remove_prefix(end + 1);
    }

    const std::string written = file.text();
    FUZZ_CHECK(!changed || !written.empty());
    FUZZ_CHECK(allValues(IniFile(written)) == allValues(file));
    // Writing again without changes keeps every byte.
    FUZZ_CHECK(IniFile(written).text() == written);
    return 0;
}
