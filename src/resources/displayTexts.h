#pragma once
// The texts of the displays: the contour graph, the Graph page, the printouts, and the titles
// of the sets they show.

#include <string_view>

namespace zqar::text {

// What the user reads instead of the graph when a drawing cannot be made.
constexpr const char *GRAPH_BAD_RESOLUTION = "The device resolution does not suit the graph";
constexpr const char *GRAPH_BAD_MINIMUM = "Minimum Temperature is out of range";
constexpr const char *GRAPH_BAD_MAXIMUM = "Maximum Temperature is out of range";
constexpr const char *GRAPH_BAD_SPACING = "Contour Spacing must be a number above 0";
constexpr const char *GRAPH_NO_BANDS = "Maximum Temperature must be above Minimum Temperature";
constexpr const char *GRAPH_TOO_MANY_BANDS = "Contour Spacing gives too many bands";
constexpr const char *GRAPH_NO_ROWS = "The layout needs a row or a singular logger";
constexpr const char *GRAPH_NO_COLUMNS = "The layout needs a column";
constexpr const char *GRAPH_TOO_LOW = "The graph area is too low for the legend";
constexpr const char *GRAPH_SPACINGS = "Row Spacing and Column Spacing do not fit the graph area";
constexpr const char *GRAPH_LEGEND_CROWDS = "Contour Spacing gives too many bands to leave room "
                                            "for the graph: set a larger Contour Spacing or "
                                            "enlarge the window";
constexpr const char *GRAPH_TOO_LOW_FOR_ROWS =
    "The graph area is too low for its rows of loggers: enlarge the window";

// A legend line: the band's first and last temperature with this between them.
constexpr std::string_view LEGEND_RANGE_SEPARATOR = " - ";

// The Graph page's slide show button.
constexpr std::string_view SLIDES_BUTTON = "Slides";
constexpr std::string_view STOP_BUTTON = "Stop";

// Printouts.
constexpr const char *PRINT_DOCUMENT_NAME = "Temperature Profile";
constexpr std::string_view PRINTED_ON = "Printed on: ";
constexpr const char *GRAPH_PRINT_TITLE = "Temperature Profile Graph";
constexpr const char *MATRIX_PRINT_TITLE = "Temperature Profile Matrix";

// Set titles: one time, or the span an average covers.
constexpr std::string_view SET_TITLE_TIME = "Time: ";
constexpr std::string_view SET_TITLE_FROM = "From ";
constexpr std::string_view SET_TITLE_TO = " to ";

} // namespace zqar::text
