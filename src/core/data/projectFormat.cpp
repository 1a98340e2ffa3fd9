#include "core/data/projectFormat.h"

#include "core/data/IniFile.h"
#include "resources/fileTexts.h"

namespace zqar {

std::string cellKey(int row, int column) {
    return "R" + std::to_string(row) + "C" + std::to_string(column);
}
std::string singularKey(int slot) { return "S" + std::to_string(slot); }

namespace {

constexpr std::string_view NO_LOGGER = "-";

// The value read for the key of that name; "0" when the keys lack it.
std::string_view countText(const ProjectValues &values, const std::vector<ProjectKey> &keys,
                           std::string_view name) {
    for (std::size_t i = 0; i < keys.size(); ++i)
        if (keys[i].name == name)
            return values.settings[i];
    return "0";
}

} // namespace

ProjectValues readProject(const IniFile &file, const std::vector<ProjectKey> &keys) {
    const std::string_view section = text::PROJECT_SECTION;
    ProjectValues values;
    for (const ProjectKey &key : keys)
        values.settings.push_back(file.value(section, key.name, key.defaultValue));
    values.dimensions = layoutDimensions(countText(values, keys, PROJECT_ROWS_KEY),
                                         countText(values, keys, PROJECT_COLUMNS_KEY),
                                         countText(values, keys, PROJECT_SINGULAR_KEY));
    const ArrayDimensions &d = values.dimensions;
    // Update Layout's limits keep these tables within 10,000 and 1,000 cells.
    values.arrayCells.reserve(static_cast<std::size_t>(d.rows) * d.columns);
    for (int r = 1; r <= d.rows; ++r)
        for (int c = 1; c <= d.columns; ++c)
            values.arrayCells.push_back(file.value(section, cellKey(r, c), NO_LOGGER));
    for (int i = 0; i < d.singularCount; ++i)
        values.singularCells.push_back(file.value(section, singularKey(i), NO_LOGGER));
    return values;
}

ProjectValues readProject(std::string_view text, const std::vector<ProjectKey> &keys) {
    return readProject(IniFile(text), keys);
}

std::string readProjectCalibrationFile(const IniFile &file) {
    return file.value(text::PROJECT_SECTION, PROJECT_CALIBRATION_KEY, "");
}

void writeProjectCalibrationFile(std::string_view path, IniFile &file) {
    if (path.empty() && readProjectCalibrationFile(file).empty())
        return;
    file.setValue(text::PROJECT_SECTION, PROJECT_CALIBRATION_KEY, path);
}

void writeProject(const ProjectValues &values, const std::vector<ProjectKey> &keys, IniFile &file) {
    const std::string_view section = text::PROJECT_SECTION;
    for (std::size_t i = 0; i < keys.size() && i < values.settings.size(); ++i)
        file.setValue(section, keys[i].name, values.settings[i]);
    const ArrayDimensions &d = values.dimensions;
    std::size_t cell = 0;
    for (int r = 1; r <= d.rows; ++r)
        for (int c = 1; c <= d.columns; ++c, ++cell)
            if (cell < values.arrayCells.size())
                file.setValue(section, cellKey(r, c), values.arrayCells[cell]);
    for (int i = 0; i < d.singularCount; ++i)
        if (static_cast<std::size_t>(i) < values.singularCells.size())
            file.setValue(section, singularKey(i), values.singularCells[i]);
}

std::string writeProject(const ProjectValues &values, const std::vector<ProjectKey> &keys,
                         std::string_view existingText) {
    IniFile file(existingText);
    writeProject(values, keys, file);
    return file.text();
}

} // namespace zqar
