#pragma once
// The pages' settings as values. Each page turns the texts and check boxes of its controls
// into one of these when a command runs, with the rules below; everything after that takes
// the values. Names follow the settings table of reports and projects.

#include "core/analysis/dataCheck.h"
#include "core/analysis/qualification.h"
#include "core/analysis/rollingMkt.h"
#include "core/analysis/statistics.h"
#include "core/data/LoggerArray.h"
#include "core/import/ImportSettings.h"

#include <optional>
#include <string>
#include <string_view>

namespace zqar {

class Job;

// The File Selection page.
struct LayoutSettings {
    LayoutCounts counts;        // as Update Layout takes them
    double rowSpacing = 1.0;    // as typed, before the drawing's replacement of bad values
    double columnSpacing = 1.0; // as typed
    bool loggersOnBoundary = true;
    bool useCommentField = true; // false: "Use Serial Numbers"
    std::string directory;
    std::string projectDescription;
    std::string projectNumber;
    std::string projectDate;
};

// The Data Filter page. A time that does not read, or an interval that is not a positive
// finite number of minutes, is none: the command that needs it says so.
struct DataFilterSettings {
    std::optional<double> time; // day numbers
    std::optional<double> start;
    std::optional<double> finish;
    std::optional<double> interval; // days
    double minimumTemperature = 0.0;
    double maximumTemperature = 0.0;
    double contourSpacing = 0.0; // as typed
    bool showSingularAsText = false;
};

// The time texts as every command reads them: the platform's date-time reader.
std::optional<double> readTimeSetting(std::string_view text);
// "Average Interval" in minutes as days; none unless it is a positive finite number.
std::optional<double> readIntervalSetting(std::string_view minutesText);

struct BandParameters {
    double minimum = 0.0; // degrees
    double maximum = 0.0; // degrees
    double spacing = 1.0; // degrees per band
};

// The settings of one contour drawing, with the replacements for bad values.
struct ContourSettings {
    BandParameters bands;
    bool showSingularAsText = false;
    int inset = 1;           // 0 when the loggers stand on the boundary
    double rowSpacing = 1.0; // any unit, only the ratio to columnSpacing counts
    double columnSpacing = 1.0;
};

// A contour spacing of 0 draws 1-degree bands; a row or column spacing that is not above 0
// is taken as 1.
ContourSettings contourSettings(const DataFilterSettings &dataFilter, const LayoutSettings &layout);

// Every page's settings, read at one moment.
struct JobSettings {
    LayoutSettings layout;
    DataFilterSettings dataFilter;
    ContourSettings contour() const { return contourSettings(dataFilter, layout); }
};

// The Statistics window's three texts, as the job keeps them, read by the one rule of
// readStatisticsSettings.
SettingsReading readStatisticsSettings(const Job &job);
// The MKT window and the data check's three settings as the job keeps them.
MktWindowReading readMktWindow(const Job &job);
DataCheckSettingsReading readDataCheckSettings(const Job &job);

// The Statistics window's five qualification texts (set point, tolerance, the stable window's
// start and finish, the reference position), read by readQualificationSettings.
QualificationSettingsReading readQualificationSettings(const Job &job);
// Whether any of the five is given: the report has its qualification section only then.
bool hasQualificationSettings(const Job &job);
// The map check's threshold as the job keeps it: none for an empty text; wrong when the text
// is not a number of degrees at or above 0.
struct ThresholdReading {
    std::optional<double> threshold; // degrees
    bool wrong = false;
};
ThresholdReading readMapCheckThreshold(const Job &job);

// The four import settings as the job keeps them, read once when an import runs.
ImportSettingsReading readImportSettings(const Job &job);

} // namespace zqar
