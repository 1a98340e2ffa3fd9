#pragma once
// Tool tips that explain the window to a first-time user where a control's caption says little.
// None of these appears in a file, a printout or an export.

#include "resources/controlIds.h"
#include "resources/templates.h"

#include <array>
#include <string_view>

namespace zqar::text {

struct ControlTip {
    int templateId;
    int controlId;
    std::string_view tip;
};

constexpr std::string_view TIP_FIRST = "First set";
constexpr std::string_view TIP_PREVIOUS = "Previous set";
constexpr std::string_view TIP_NEXT = "Next set";
constexpr std::string_view TIP_LAST = "Last set";
constexpr std::string_view TIP_SLIDES = "Play the sets as a slide show; press again to stop";

constexpr std::array<ControlTip, 9> CONTROL_TIPS = {{
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
    for (const ControlTip &entry : CONTROL_TIPS)
        if (entry.templateId == templateId && entry.controlId == controlId)
            return entry.tip;
    return {};
}

} // namespace zqar::text
