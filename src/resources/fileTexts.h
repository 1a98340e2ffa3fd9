#pragma once
// Texts of the File Selection page's file commands: the project file, Load Files, Browse and
// Copy Files. Their failure messages are in strings.h, where the batch tool looks for them.

#include <string_view>

namespace zqar::text {

// Project files.
constexpr std::string_view PROJECT_SECTION = "ZQARVemro";
constexpr std::string_view LOAD_PROJECT_CAPTION = "Load Project";
constexpr std::string_view SAVE_PROJECT_CAPTION = "Save Project";
constexpr std::string_view LOAD_PROJECT_TITLE = "Load Project";
constexpr std::string_view SAVE_PROJECT_TITLE = "Save Project";
constexpr std::string_view PROJECT_FILTER_DESCRIPTION = "Z-QAR Vemro Project Files *.ttp";
constexpr std::string_view PROJECT_FILTER_PATTERN = "*.ttp";
constexpr std::string_view PROJECT_EXTENSION = "ttp";

// Load Files.
constexpr std::string_view LOAD_FILES_CAPTION = "Load Files";
constexpr std::string_view LOAD_CAPTION = "Load";
constexpr std::string_view LOG_FILE_EXTENSION = ".dta";     // matched without regard to case
constexpr std::string_view SCANNING_PREFIX = "Scanning:  "; // two blanks
constexpr std::string_view SCANNING_LOADED = "   Loaded: "; // three blanks before Loaded
constexpr std::string_view NO_FILES_LOADED = "No files were loaded - Check your data settings.";
constexpr std::string_view ONE_FILE_LOADED = "One file was loaded.";
constexpr const char *FILES_LOADED = "%d files were loaded.";
constexpr std::string_view ONE_FILE_NOT_LOADED = "One log file was not loaded.";
constexpr const char *FILES_NOT_LOADED = "%d log files were not loaded.";
constexpr std::string_view CHANNEL_1_SUFFIX = ",1";
constexpr std::string_view CHANNEL_2_SUFFIX = ",2";
constexpr std::string_view LOADED_INTERVAL = "30"; // minutes
constexpr std::string_view LOADED_CONTOUR_SPACING = "0.25";

// Browse and Copy Files.
constexpr std::string_view BROWSE_TITLE = "Locate Log Files";
constexpr std::string_view LOG_FILTER_DESCRIPTION = "Log Files *.dta";
constexpr std::string_view LOG_FILTER_PATTERN = "*.dta";
constexpr std::string_view LOG_DEFAULT_EXTENSION = "dta";
constexpr std::string_view COPY_PROMPT = "Select the directory to copy the files to:";
constexpr std::string_view COPY_CAPTION = "Copy";
constexpr std::string_view ONE_FILE_COPIED = "One log file was copied.";
constexpr const char *FILES_COPIED = "%d log files were copied.";

} // namespace zqar::text
