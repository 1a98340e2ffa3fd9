#pragma once
// The data check: readings that suggest a failing logger rather than a temperature. Sample
// lines that held no number (read as 0), readings outside a plausible range, jumps between
// consecutive readings, and runs of one value longer than a day. Nothing is changed: the check
// only lists what it finds, over each record's whole series.

#include "core/data/LoggerArray.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zqar {

struct DataCheckSettings {
    double plausibleLow = -90.0; // degrees
    double plausibleHigh = 150.0;
    double plausibleJump = 10.0; // degrees between consecutive readings
};

enum class DataCheckProblem { None, Range, Jump };

struct DataCheckSettingsReading {
    DataCheckSettings settings;
    DataCheckProblem problem = DataCheckProblem::None;
};

// The three setting texts; an empty text keeps its default. The low value must lie below the
// high one and the jump must be above 0. The problem's message: problemText.
DataCheckSettingsReading readDataCheckSettings(std::string_view plausibleLowText,
                                               std::string_view plausibleHighText,
                                               std::string_view plausibleJumpText);
std::string_view problemText(DataCheckProblem problem);

// In the order of the texts DATA_CHECK_NAMES.
enum class DataCheck { NotANumber, BelowPlausible, AbovePlausible, Jump, Flat };
std::string_view dataCheckName(DataCheck check);

// What one check found in a record.
struct Suspect {
    DataCheck check = DataCheck::NotANumber;
    int32_t count = 0;      // samples, readings, jumps or runs
    double firstTime = 0.0; // day number: the first one's time (a jump's at its later reading)
    // The first one's value: the reading as taken, a jump's size (the later reading minus the
    // earlier), or the value a run repeats.
    double value = 0.0;
};

// The checks that found something, in the order of DataCheck. Missing readings are skipped;
// they end a run and part the readings on either side of them, which make no jump.
std::vector<Suspect> checkRecord(const LogFile &record, const DataCheckSettings &settings);

struct RecordCheck {
    std::string position;
    std::string logger;
    std::vector<Suspect> suspects; // empty when nothing was found
};

// Every placed record in position order.
std::vector<RecordCheck> checkArray(const LoggerArray &array, const DataCheckSettings &settings);

// Position,Logger,Check,Count,First Time,Value: one row per suspect.
std::string dataCheckCsv(const std::vector<RecordCheck> &checks);
// One suspect's fields as the CSV and the report give them.
std::vector<std::string> suspectRow(const RecordCheck &check, const Suspect &suspect);
// "above plausible: 3, first at 05-Nov-2003 02:30PM (9999.50)" for the properties pop-up.
std::string suspectText(const Suspect &suspect);

} // namespace zqar
