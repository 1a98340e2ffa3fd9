#pragma once
// What the preview of Import Files shows of the files read, one row per file and channel, and
// how its three choices become the job's import settings. The window lays these texts out;
// the import itself runs with the settings the choices were written to.

#include "core/import/ImportSettings.h"
#include "core/import/textImport.h"

#include <string>
#include <string_view>
#include <vector>

namespace zqar {

class Job;

// One row of the preview: the texts under the headings (file, serial, channel, unit, first
// and last time, interval, readings, missing readings, delimiter, decimal mark, date order,
// columns not imported), or for a refused file its name and the refusal.
struct PreviewRow {
    std::vector<std::string> cells;
    bool refused = false; // cells: the file's name, then "Refused: line N: reason"
};

std::vector<PreviewRow> previewRows(const std::vector<ImportResult> &files);

// The choices as the job's settings hold them: a text that does not read leaves its choice at
// what an empty text means.
struct ImportChoices {
    DateOrder dateOrder = DateOrder::Found;
    DecimalMark decimalMark = DecimalMark::Found;
    TemperatureUnit untitledUnit = TemperatureUnit::Celsius;
};
ImportChoices importChoices(const Job &job);

// The settings the preview reads the files with: the choices, and the job's UTC offset when
// it reads.
ImportSettings previewSettings(const Job &job, const ImportChoices &choices);

// Writes the choices into the job's settings; a setting whose text already means the choice
// keeps its text, so only a real change reaches the change log.
void writeImportChoices(Job &job, const ImportChoices &choices);

} // namespace zqar
