#pragma once
// What a project file (".ttp") holds, between its INI text and a plain value: in section
// "ZQARVemro", the settings under their keys, the array layout table's cells under "RrCc"
// (row r and column c from 1) and the singular table's under "Sn" (slot n from 0). Reading
// takes a missing key's default; writing changes only these keys and keeps every other line
// of an existing file (see IniFile).

#include "core/data/LoggerArray.h"

#include <string>
#include <string_view>
#include <vector>

namespace zqar {

class IniFile;

// A setting's key and the value a file without it gives.
struct ProjectKey {
    std::string_view name;
    std::string_view defaultValue;
};

// The keys of the three counts the tables are read with.
constexpr std::string_view PROJECT_ROWS_KEY = "NumberOfRows";
constexpr std::string_view PROJECT_COLUMNS_KEY = "NumberOfColumns";
constexpr std::string_view PROJECT_SINGULAR_KEY = "NumberOfSingular";

// The keys of the array table's cell at row and column (from 1), and of a singular slot (from 0).
std::string cellKey(int row, int column);
std::string singularKey(int slot);
// The calibration file the job was saved with. Readers that do not know the key skip it, as
// they skip every key they do not ask for.
constexpr std::string_view PROJECT_CALIBRATION_KEY = "CalibrationFile";

struct ProjectValues {
    std::vector<std::string> settings;      // one per key, in the order of the keys
    ArrayDimensions dimensions;             // of the two tables
    std::vector<std::string> arrayCells;    // rows x columns, row by row
    std::vector<std::string> singularCells; // one per singular slot
};

// The settings of the keys, and the cells within the dimensions the count settings give by
// the rule Update Layout follows (layoutDimensions); a missing cell reads as "-".
ProjectValues readProject(const IniFile &file, const std::vector<ProjectKey> &keys);
ProjectValues readProject(std::string_view text, const std::vector<ProjectKey> &keys);

// The calibration file's path; empty when the file names none.
std::string readProjectCalibrationFile(const IniFile &file);
// Sets the path; an empty path is written only over a key the file has, so a project saved
// without a calibration table keeps the bytes it always had.
void writeProjectCalibrationFile(std::string_view path, IniFile &file);

// Sets the keys in the order given, then the cells of the value's dimensions.
void writeProject(const ProjectValues &values, const std::vector<ProjectKey> &keys, IniFile &file);
// The text of existingText (empty: a new file) with the values written into it.
std::string writeProject(const ProjectValues &values, const std::vector<ProjectKey> &keys,
                         std::string_view existingText);

} // namespace zqar
