#pragma once
// Tool tips that explain the window to a first-time user where a control's caption says little,
// and the examples that time fields show while they are empty.
// None of these appears in a file, a printout or an export.

#include "resources/controlIds.h"
#include "resources/strings.h"
#include "resources/templates.h"

#include <array>
#include <string_view>

namespace zqar::text {

// A text that belongs to one control of one template.
struct ControlHint {
    int templateId;
    int controlId;
    std::string_view text;
};

// The text a table holds for a control, or an empty text.
template <std::size_t N>
constexpr std::string_view hintOf(const std::array<ControlHint, N> &table, int templateId,
                                  int controlId) {
    for (const ControlHint &entry : table)
        if (entry.templateId == templateId && entry.controlId == controlId)
            return entry.text;
    return {};
}

constexpr std::string_view TIP_FIRST = "First set";
constexpr std::string_view TIP_PREVIOUS = "Previous set";
constexpr std::string_view TIP_NEXT = "Next set";
constexpr std::string_view TIP_LAST = "Last set";
constexpr std::string_view TIP_SLIDES = "Play the sets as a slide show; press again to stop";

constexpr std::array<ControlHint, 9> CONTROL_TIPS = {{
    {MATRIX_TEMPLATE, MatrixControls::FIRST, TIP_FIRST},
    {MATRIX_TEMPLATE, MatrixControls::PREVIOUS, TIP_PREVIOUS},
    {MATRIX_TEMPLATE, MatrixControls::NEXT, TIP_NEXT},
    {MATRIX_TEMPLATE, MatrixControls::LAST, TIP_LAST},
    {GRAPH_TEMPLATE, GraphControls::FIRST, TIP_FIRST},
    {GRAPH_TEMPLATE, GraphControls::PREVIOUS, TIP_PREVIOUS},
    {GRAPH_TEMPLATE, GraphControls::NEXT, TIP_NEXT},
    {GRAPH_TEMPLATE, GraphControls::LAST, TIP_LAST},
    {GRAPH_TEMPLATE, GraphControls::SLIDES, TIP_SLIDES},
}};

// The tip of a control, or an empty text.
constexpr std::string_view controlTip(int templateId, int controlId) {
    return hintOf(CONTROL_TIPS, templateId, controlId);
}

// A time field's example, shown greyed while the field is empty: the format the date-time
// reader takes.
constexpr std::array<ControlHint, 3> CONTROL_PLACEHOLDERS = {{
    {DATA_FILTER_TEMPLATE, DataFilterControls::TIME, TIME_FORMAT_HINT},
    {DATA_FILTER_TEMPLATE, DataFilterControls::START_TIME, TIME_FORMAT_HINT},
    {DATA_FILTER_TEMPLATE, DataFilterControls::FINISH_TIME, TIME_FORMAT_HINT},
}};

// The placeholder of an edit control, or an empty text.
constexpr std::string_view controlPlaceholder(int templateId, int controlId) {
    return hintOf(CONTROL_PLACEHOLDERS, templateId, controlId);
}

} // namespace zqar::text
