#pragma once
// The dialog templates of the program's windows and pages, as data. Both backends build their
// controls from these; the ids of the templates are those the pages are constructed with.

#include "resources/DialogTemplate.h"

namespace zqar {

constexpr int ABOUT_TEMPLATE = 100;
constexpr int MAIN_WINDOW_TEMPLATE = 102;
constexpr int GRAPH_TEMPLATE = 129;
constexpr int FILE_SELECTION_TEMPLATE = 130;
constexpr int DATA_FILTER_TEMPLATE = 131;
constexpr int MATRIX_TEMPLATE = 132;
constexpr int STATISTICS_TEMPLATE = 133;

constexpr int APPLICATION_ICON = 128;

// The template with this id. Asking for an id that has no template is a programming error;
// it answers an empty template with that id rather than failing.
const platform::DialogTemplate &dialogTemplate(int id);

} // namespace zqar
