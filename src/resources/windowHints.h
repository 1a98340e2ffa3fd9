#pragma once
// Texts that explain the window to a first-time user: tool tips for the controls whose
// captions say little, the help viewer's buttons, the graph's advice when it cannot draw and
// the note under the matrix. None of these appears in a file, a printout or an export.

#include "resources/templates.h"

#include <array>
#include <string_view>

namespace zqar::text {

struct ControlTip {
    int templateId;
    int controlId;
    std::string_view tip;
};

// The navigation buttons carry the same ids on the Matrix and Graph pages.
namespace tipId {
constexpr int FIRST = 1009;
constexpr int PREVIOUS = 1010;
constexpr int NEXT = 1011;
constexpr int LAST = 1012;
constexpr int SLIDES = 1015;
} // namespace tipId

constexpr std::string_view TIP_FIRST = "First set";
constexpr std::string_view TIP_PREVIOUS = "Previous set";
constexpr std::string_view TIP_NEXT = "Next set";
constexpr std::string_view TIP_LAST = "Last set";
constexpr std::string_view TIP_SLIDES = "Play the sets as a slide show; press again to stop";

constexpr std::array<ControlTip, 9> CONTROL_TIPS = {{
    {MATRIX_TEMPLATE, tipId::FIRST, TIP_FIRST},
    {MATRIX_TEMPLATE, tipId::PREVIOUS, TIP_PREVIOUS},
    {MATRIX_TEMPLATE, tipId::NEXT, TIP_NEXT},
    {MATRIX_TEMPLATE, tipId::LAST, TIP_LAST},
    {GRAPH_TEMPLATE, tipId::FIRST, TIP_FIRST},
    {GRAPH_TEMPLATE, tipId::PREVIOUS, TIP_PREVIOUS},
    {GRAPH_TEMPLATE, tipId::NEXT, TIP_NEXT},
    {GRAPH_TEMPLATE, tipId::LAST, TIP_LAST},
    {GRAPH_TEMPLATE, tipId::SLIDES, TIP_SLIDES},
}};

// The tip of a control, or an empty text.
constexpr std::string_view controlTip(int templateId, int controlId) {
    for (const ControlTip &entry : CONTROL_TIPS)
        if (entry.templateId == templateId && entry.controlId == controlId)
            return entry.tip;
    return {};
}

constexpr std::string_view HELP_BACK = "< Back";
constexpr std::string_view HELP_FORWARD = "Forward >";
constexpr std::string_view HELP_CLOSE = "Close";
constexpr std::string_view HELP_BACK_TIP = "Back to the place shown before (Alt+Left)";
constexpr std::string_view HELP_FORWARD_TIP = "Forward again (Alt+Right)";
constexpr std::string_view MENU_BUTTON_TIP = "Help (F1) and About";

} // namespace zqar::text
