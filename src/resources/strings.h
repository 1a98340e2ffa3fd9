#pragma once
// Every text the user sees: captions, messages, status formats, dialog titles and filters.
// Command code names these; it holds no literals of its own.

#include <string_view>

namespace zqar::text {

constexpr std::string_view PRODUCT_NAME = "Z-QAR Vemro";
constexpr std::string_view MAIN_WINDOW_CAPTION = "Z-QAR  Vemro"; // two blanks, as it always was
constexpr std::string_view ABOUT_MENU_ITEM = "&About Z-QAR Vemro..."; // string 101
constexpr std::string_view ABOUT_CAPTION = "About Z-QAR Vemro";
constexpr std::string_view ABOUT_VERSION = "Version 1.03 3rd November 2003";
constexpr std::string_view ABOUT_NOTICE = "Temperature profiling with loggers"; // fits 119 units
constexpr std::string_view OK_BUTTON = "OK";
constexpr std::string_view HELP_MENU_ITEM = "Help";
constexpr std::string_view HELP_FILE_NAME = "ZQARVemroRO.hlp";
constexpr std::string_view DATA_FILES_MENU_ITEM = "Data Files...";
constexpr std::string_view DATA_FILES_CAPTION = "Data Files";
constexpr std::string_view SAVE_REPORT_MENU_ITEM = "Save Report...";
constexpr std::string_view MENU_BUTTON_TIP =
    "Data files, reports, statistics, time series, mapping report, help (F1) and About";

constexpr std::string_view TAB_DATA_FILTER = "Data Filter";
constexpr std::string_view TAB_MATRIX = "Matrix";
constexpr std::string_view TAB_GRAPH = "Graph";
constexpr std::string_view TAB_HELP = "Help";

// Table texts.
constexpr std::string_view NO_LOGGER = "-"; // no logger, no value, and every column heading
constexpr std::string_view LABEL_FILL = ".";
constexpr const char *ROW_LABEL = "R%d";
constexpr const char *COLUMN_LABEL = "C%d";
constexpr const char *SINGULAR_LABEL = "S%d";

// The properties pop-up of a layout cell.
constexpr std::string_view PROPERTIES_CAPTION = "Properties";
constexpr std::string_view FILE_NOT_LOADED = "File not loaded.";

// Status lines.
constexpr const char *SETS_CREATED = "%d sets created.";
constexpr const char *SET_POSITION = "%d of %d  %s"; // two blanks before the title
constexpr std::string_view NO_DATA = "No Data Available.";
constexpr std::string_view LAYOUT_TOO_LARGE =
    "The layout is too large: at most 10000 cells and 1000 singular loggers.";

// The calculations.
constexpr std::string_view CALCULATE_CAPTION = "Calculate";
constexpr std::string_view TIME_FORMAT_MESSAGE = "The date and time is in an incorrect format.";
constexpr std::string_view INTERVAL_FORMAT_MESSAGE =
    "The average interval in in an incorrect format.";
constexpr std::string_view START_FORMAT_MESSAGE = "The start date is in an incorrect format.";
constexpr std::string_view FINISH_FORMAT_MESSAGE = "The finish date is in an incorrect format.";

// Report files.
constexpr std::string_view REPORT_IDENTIFICATION = "ZQAR Report File V1.00";
constexpr std::string_view LOAD_REPORT_CAPTION = "Load Report";
constexpr std::string_view SAVE_REPORT_CAPTION = "Save Report";
constexpr std::string_view REPORT_NOT_LOADED = "The report information could not be loaded";
constexpr std::string_view REPORT_BAD_FORMAT =
    "The report information is not in the correct format.";
constexpr std::string_view REPORT_NOT_SAVED = "The report information could not be saved";
constexpr std::string_view REPORT_DIALOG_TITLE = "Locate Report Files";
constexpr std::string_view REPORT_FILTER_DESCRIPTION = "Z-QAR Vemro Report Files *.ttr";
constexpr std::string_view REPORT_FILTER_PATTERN = "*.ttr";
constexpr std::string_view REPORT_EXTENSION = "ttr";
constexpr std::string_view COMPANION_LIST = "ReportFiles.TXT";
constexpr std::string_view FLAG_YES = "Y";
constexpr std::string_view FLAG_NO = "N";

// CSV export.
constexpr std::string_view EXPORT_CAPTION = "Export";
// The batch tool's captions and message for a picture or printout it could not write.
constexpr std::string_view PRINT_CAPTION = "Print";
constexpr std::string_view COULD_NOT_WRITE = "could not write ";
constexpr std::string_view EXPORT_DIALOG_TITLE = "Export Data";
constexpr std::string_view EXPORT_FILTER_DESCRIPTION = "CSV Files *.csv";
constexpr std::string_view EXPORT_FILTER_PATTERN = "*.csv";
constexpr std::string_view EXPORT_EXTENSION = "csv";
constexpr std::string_view EXPORT_FAILED = "The data could not be exported.  The file could not "
                                           "be opened.  It may be in use by another application.";

// Load Files and the project file.
constexpr std::string_view LOAD_FILES_DATE_MESSAGE = "The date is in an incorrect format.";
constexpr std::string_view PROJECT_NOT_LOADED = "The project information could not be loaded";
constexpr std::string_view PROJECT_NOT_SAVED = "The project information could not be saved";

// Mapping statistics.
constexpr std::string_view STATISTICS_CAPTION = "Statistics";
constexpr std::string_view STATISTICS_MENU_ITEM = "Statistics...";
constexpr std::string_view LOWER_LIMIT_LABEL = "Lower Limit";
constexpr std::string_view UPPER_LIMIT_LABEL = "Upper Limit";
constexpr std::string_view ACTIVATION_ENERGY_LABEL = "Activation Energy (kJ/mol)";
constexpr std::string_view CALCULATE_BUTTON = "Calculate";
constexpr std::string_view MAP_CHOICE_LABEL = "Map";
constexpr std::string_view MAP_CHOICES[] = {"Mean", "Minimum", "Maximum", "MKT"};
constexpr std::string_view EXPORT_STATISTICS_BUTTON = "Export Statistics...";
constexpr std::string_view EXPORT_MAP_BUTTON = "Export Map...";
constexpr std::string_view MAP_DIALOG_TITLE = "Export Map";
constexpr std::string_view MAP_FILTER_DESCRIPTION = "PNG Files *.png";
constexpr std::string_view MAP_FILTER_PATTERN = "*.png";
constexpr std::string_view MAP_EXTENSION = "png";
constexpr std::string_view MAP_NOT_SAVED = "The map could not be saved.";
constexpr const char *WARMEST_SPOT = "Warmest position (mean): %s  %s";
constexpr const char *COLDEST_SPOT = "Coldest position (mean): %s  %s";
constexpr const char *HIGHEST_READING = "Highest reading: %s  %s";
constexpr const char *LOWEST_READING = "Lowest reading: %s  %s";
constexpr std::string_view LIMITS_FORMAT_MESSAGE = "The limits are in an incorrect format.";
constexpr std::string_view ACTIVATION_ENERGY_FORMAT_MESSAGE =
    "The activation energy is in an incorrect format.";
constexpr const char *MEAN_MAP_TITLE = "Mean from %s to %s";
constexpr const char *MINIMUM_MAP_TITLE = "Minimum from %s to %s";
constexpr const char *MAXIMUM_MAP_TITLE = "Maximum from %s to %s";
constexpr const char *MKT_MAP_TITLE = "MKT from %s to %s";
constexpr std::string_view STATISTICS_CSV_HEADER =
    "Position,Logger,Samples,Minimum,Time of Minimum,Maximum,Time of Maximum,Mean,"
    "Standard Deviation,MKT,Minutes Below,Minutes Above,Excursions,Longest Excursion";
constexpr std::string_view SET_SUMMARY_CSV_HEADER =
    "Set,Title,Minimum,Minimum Position,Maximum,Maximum Position,Mean,Spread";

} // namespace zqar::text
