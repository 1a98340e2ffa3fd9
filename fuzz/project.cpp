// The project file's INI reader and writer. The input up to its last 0xFF byte is the text of
// a project file; after it come changes, separated by 0x01 bytes: a byte choosing the section
// and the key, then the value. Checks: the file written with the changes reads back with the
// values the changed file answered, for the changed keys and every other one; and the
// project's values (settings and table cells) saved into the file, or into a new one, load
// again to the same values.

#include "core/data/IniFile.h"
#include "core/data/projectFormat.h"
#include "fuzzCheck.h"
#include "pages/layout/settings.h"

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

// A value as a written file gives it back: the writer drops the CRs among the blanks a
// value starts with and cuts it before a later CR, which the reader keeps inside a line; the
// reader drops the blanks at both ends.
std::string asWritten(const std::string &value) {
    const std::string written = IniFile::writableValue(value);
    std::string_view line = written;
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
        line.remove_prefix(1);
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t'))
        line.remove_suffix(1);
    return std::string(line);
}

std::vector<std::string> asWritten(const std::vector<std::string> &values) {
    std::vector<std::string> written;
    for (const std::string &value : values)
        written.push_back(asWritten(value));
    return written;
}

// The values a saved project loads again: the same settings, dimensions and cells.
bool loadsAgain(const ProjectValues &saved, const ProjectValues &loaded) {
    return asWritten(saved.settings) == loaded.settings &&
           saved.dimensions.rows == loaded.dimensions.rows &&
           saved.dimensions.columns == loaded.dimensions.columns &&
           saved.dimensions.singularCount == loaded.dimensions.singularCount &&
           asWritten(saved.arrayCells) == loaded.arrayCells &&
           asWritten(saved.singularCells) == loaded.singularCells;
}

void checkProjectValues(std::string_view text) {
    static const std::vector<ProjectKey> keys = projectKeys();
    const ProjectValues values = readProject(text, keys);
    const ArrayDimensions &d = values.dimensions;
    FUZZ_CHECK(int64_t{d.rows} * d.columns <= MAX_ARRAY_CELLS);
    FUZZ_CHECK(d.singularCount <= MAX_SINGULAR_COUNT);
    FUZZ_CHECK(values.arrayCells.size() == static_cast<std::size_t>(d.rows) * d.columns);
    FUZZ_CHECK(values.singularCells.size() == static_cast<std::size_t>(d.singularCount));
    FUZZ_CHECK(loadsAgain(values, readProject(writeProject(values, keys, text), keys)));
    FUZZ_CHECK(loadsAgain(values, readProject(writeProject(values, keys, ""), keys)));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
    const std::string_view input = fuzz::bytesOf(data, size);
    const std::size_t split = input.rfind('\xFF');
    const std::string_view text = input.substr(0, split);
    std::string_view changes =
        split == std::string_view::npos ? std::string_view() : input.substr(split + 1);

    checkProjectValues(text);
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
