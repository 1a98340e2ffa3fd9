#pragma once
// Dialog templates as data: each page's controls with their ids, kinds, captions, positions in
// dialog units and initial states. Both backends build their controls from these.

#include <string>
#include <vector>

namespace zqar::platform {

constexpr int NO_ID = -1; // labels and group boxes that nothing addresses

// Dialog units to pixels, with the base units of the font the templates were laid out in. Both
// backends place controls with these, so a page measures the same in tests and on screen.
constexpr int BASE_UNIT_X = 6; // pixels
constexpr int BASE_UNIT_Y = 13;
constexpr int dialogUnitsToPixelsX(int du) { return du * BASE_UNIT_X / 4; }
constexpr int dialogUnitsToPixelsY(int du) { return du * BASE_UNIT_Y / 8; }

enum class ControlKind {
    GroupBox,
    Label, // static text
    Edit,  // single-line edit box
    PushButton,
    OwnerDrawButton, // a button whose face the page draws (the graph area)
    CheckBox,        // automatic check box
    RadioButton,     // automatic radio button; consecutive radio buttons form a group
    ListView,        // report-style list, no visible header
    Icon,
    TabStrip,
};

enum ControlStyle : unsigned {
    STYLE_NONE = 0,
    STYLE_DISABLED = 1u << 0,  // created disabled
    STYLE_HIDDEN = 1u << 1,    // created invisible
    STYLE_SUNKEN = 1u << 2,    // sunken static text (status lines)
    STYLE_RIGHT = 1u << 3,     // right-aligned static text
    STYLE_TEXT_LEFT = 1u << 4, // check box text on the left of the box
    STYLE_DEFAULT = 1u << 5,   // default push button
    STYLE_BORDER = 1u << 6,
    STYLE_TABSTOP = 1u << 7,
    STYLE_AUTO_HSCROLL = 1u << 8,
    STYLE_SINGLE_SELECTION = 1u << 9,
    STYLE_NO_HEADER = 1u << 10,
};

struct ControlTemplate {
    int id = NO_ID;
    ControlKind kind = ControlKind::Label;
    std::string caption;
    int x = 0; // dialog units
    int y = 0;
    int width = 0;
    int height = 0;
    unsigned style = STYLE_NONE;
};

struct DialogTemplate {
    int id = 0;
    std::string caption;
    int width = 0; // dialog units
    int height = 0;
    std::string fontName = "MS Sans Serif";
    int fontPoints = 8;
    bool child = true; // a page inside the main window rather than a window of its own
    std::vector<ControlTemplate> controls;
};

} // namespace zqar::platform
