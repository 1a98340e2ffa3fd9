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

} // namespace zqar::text
