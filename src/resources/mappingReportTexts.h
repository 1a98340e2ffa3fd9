#pragma once
// The texts of the mapping report: its menu entry and file dialog, the facts of its title
// page, the result, the section headings and captions, and the footer of every page.

#include <string_view>

namespace zqar::text {

constexpr std::string_view MAPPING_REPORT_MENU_ITEM = "Mapping Report...";
constexpr std::string_view MAPPING_REPORT_CAPTION = "Mapping Report";
constexpr std::string_view MAPPING_REPORT_DIALOG_TITLE = "Save Mapping Report";
constexpr std::string_view MAPPING_REPORT_FILTER_DESCRIPTION = "PDF Files *.pdf";
constexpr std::string_view MAPPING_REPORT_FILTER_PATTERN = "*.pdf";
constexpr std::string_view MAPPING_REPORT_EXTENSION = "pdf";
constexpr std::string_view MAPPING_REPORT_NOT_SAVED =
    "The mapping report could not be written. The folder may be read-only or the file in use "
    "by another application.";

// The document and its title page.
constexpr std::string_view MAPPING_REPORT_TITLE = "Mapping Report";
constexpr std::string_view FACT_PROJECT_NUMBER = "Project number";
constexpr std::string_view FACT_PROJECT_DATE = "Project date";
constexpr std::string_view FACT_DATA_DIRECTORY = "Data file directory";
constexpr std::string_view FACT_START = "Start";
constexpr std::string_view FACT_FINISH = "Finish";
constexpr std::string_view FACT_DURATION = "Duration";
constexpr std::string_view FACT_ROWS = "Rows";
constexpr std::string_view FACT_COLUMNS = "Columns";
constexpr std::string_view FACT_ROW_SPACING = "Row spacing";
constexpr std::string_view FACT_COLUMN_SPACING = "Column spacing";
constexpr std::string_view FACT_ON_BOUNDARY = "Loggers on boundary";
constexpr std::string_view FACT_SINGULAR = "Singular loggers";
constexpr std::string_view FACT_PLACED = "Placed loggers";
constexpr std::string_view FACT_SAMPLE_PERIODS = "Sample periods (loggers)";
constexpr std::string_view FACT_SETS = "Calculated sets";
constexpr std::string_view FACT_LOWER_LIMIT = "Lower limit";
constexpr std::string_view FACT_UPPER_LIMIT = "Upper limit";
constexpr std::string_view FACT_ACTIVATION_ENERGY = "Activation energy";
constexpr std::string_view YES = "Yes";
constexpr std::string_view NO = "No";
constexpr std::string_view NO_LIMIT = "none";
constexpr const char *ACTIVATION_ENERGY_VALUE = "%s kJ/mol";
constexpr const char *DURATION_DAYS = "%d d";
constexpr const char *DURATION_HOURS = "%d h";
constexpr const char *DURATION_MINUTES = "%d min";
constexpr const char *PERIOD_HOURS = "%d h";
constexpr const char *PERIOD_MINUTES = "%d min";
constexpr const char *PERIOD_SECONDS = "%s s";
constexpr const char *PERIOD_COUNT = "%s (%s)";

// The result.
constexpr std::string_view RESULT_HEADING = "Result";
constexpr std::string_view LIMITS_HELD = "All positions stayed within the limits.";
constexpr const char *LIMITS_BROKEN = "%d positions went outside the limits.";
constexpr std::string_view NO_LIMITS = "No limits were set.";
constexpr std::string_view OUTSIDE_POSITIONS = "Outside the limits: ";

// The sections.
constexpr std::string_view STATISTICS_HEADING = "Statistics of Every Position";
constexpr std::string_view MAPS_HEADING = "Maps";
constexpr std::string_view EXTREME_SETS_HEADING = "Sets with the Highest and the Lowest Value";
constexpr const char *HIGHEST_SET_CAPTION = "Highest measured value %s at %s";
constexpr const char *LOWEST_SET_CAPTION = "Lowest measured value %s at %s";
constexpr std::string_view CAPTION_SEPARATOR = "  |  ";
constexpr std::string_view NO_SETS_NOTE =
    "No sets were calculated, so the graphs of the sets with the highest and the lowest measured "
    "value are left out. Either Calculate on the Data Filter tab makes sets.";
constexpr std::string_view TIME_SERIES_HEADING = "Time Series";
constexpr const char *TIME_SERIES_REPORT_CAPTION = "Every placed logger from %s to %s";
constexpr std::string_view LAYOUT_HEADING = "Layout";
constexpr std::string_view ARRAY_LAYOUT_CAPTION = "Array positions and logger labels";
constexpr std::string_view SINGULAR_LAYOUT_CAPTION = "Singular positions and logger labels";
constexpr std::string_view POSITION_HEADING = "Position";
constexpr std::string_view LOGGER_HEADING = "Logger";

// Every page's footer; the printed-on text is PRINTED_ON.
constexpr const char *PAGE_NUMBER = "Page %d of %d";

} // namespace zqar::text
