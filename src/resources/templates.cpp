#include "resources/templates.h"

#include "resources/strings.h"

#include <map>

namespace zqar {

namespace {

using platform::ControlKind;
using platform::ControlTemplate;
using platform::DialogTemplate;
using platform::NO_ID;

constexpr unsigned EDIT =
    platform::STYLE_BORDER | platform::STYLE_TABSTOP | platform::STYLE_AUTO_HSCROLL;
constexpr unsigned BUTTON = platform::STYLE_TABSTOP;
constexpr unsigned DISABLED = platform::STYLE_DISABLED;
constexpr unsigned HIDDEN = platform::STYLE_HIDDEN;
constexpr unsigned SUNKEN = platform::STYLE_SUNKEN;
constexpr unsigned RIGHT = platform::STYLE_RIGHT;
constexpr unsigned TEXT_LEFT = platform::STYLE_TEXT_LEFT;
constexpr unsigned LAYOUT_LIST = platform::STYLE_BORDER | platform::STYLE_SINGLE_SELECTION |
                                 platform::STYLE_NO_HEADER | platform::STYLE_TABSTOP;

ControlTemplate control(int id, ControlKind kind, std::string_view caption, int x, int y, int width,
                        int height, unsigned style = platform::STYLE_NONE) {
    return ControlTemplate{id, kind, std::string(caption), x, y, width, height, style};
}

ControlTemplate group(std::string_view caption, int x, int y, int width, int height) {
    return control(NO_ID, ControlKind::GroupBox, caption, x, y, width, height);
}

ControlTemplate label(std::string_view caption, int x, int y, int width, int height) {
    return control(NO_ID, ControlKind::Label, caption, x, y, width, height);
}

ControlTemplate edit(int id, int x, int y, int width, int height) {
    return control(id, ControlKind::Edit, "", x, y, width, height, EDIT);
}

ControlTemplate button(int id, std::string_view caption, int x, int y, int width, int height,
                       unsigned style = platform::STYLE_NONE) {
    return control(id, ControlKind::PushButton, caption, x, y, width, height, BUTTON | style);
}

DialogTemplate aboutTemplate() {
    DialogTemplate t;
    t.id = ABOUT_TEMPLATE;
    t.caption = std::string(text::ABOUT_CAPTION);
    t.width = 235;
    t.height = 55;
    t.child = false;
    t.controls = {
        control(NO_ID, ControlKind::Icon, "", 5, 5, 20, 20),
        label(text::PRODUCT_NAME, 40, 10, 119, 8),
        label(text::ABOUT_VERSION, 40, 22, 119, 8),
        label(text::ABOUT_NOTICE, 40, 34, 119, 8),
        button(1, text::OK_BUTTON, 178, 7, 50, 14, platform::STYLE_DEFAULT),
    };
    return t;
}

DialogTemplate mainWindowTemplate() {
    DialogTemplate t;
    t.id = MAIN_WINDOW_TEMPLATE;
    t.caption = std::string(text::MAIN_WINDOW_CAPTION);
    t.width = 531;
    t.height = 348;
    t.child = false;
    t.controls = {control(1000, ControlKind::TabStrip, "", 6, 5, 504, 339)};
    return t;
}

DialogTemplate graphTemplate() {
    DialogTemplate t;
    t.id = GRAPH_TEMPLATE;
    t.width = 404;
    t.height = 275;
    t.controls = {
        control(1002, ControlKind::OwnerDrawButton, "Button1", 10, 22, 383, 242, DISABLED),
        control(1005, ControlKind::Label, "", 4, 3, 220, 12, SUNKEN),
        button(1013, "Print", 233, 3, 36, 12, DISABLED),
        button(1015, "Slides", 272, 3, 36, 12, DISABLED),
        button(1009, "1", 314, 3, 16, 12, DISABLED),
        button(1010, "<<", 332, 3, 16, 12, DISABLED),
        button(1011, ">>", 350, 3, 16, 12, DISABLED),
        button(1012, "L", 368, 3, 16, 12, DISABLED),
    };
    return t;
}

DialogTemplate fileSelectionTemplate() {
    DialogTemplate t;
    t.id = FILE_SELECTION_TEMPLATE;
    t.width = 404;
    t.height = 275;
    t.controls = {
        group("Data File Selection Setup", 9, 0, 383, 267),
        label("Data File Directory", 25, 13, 64, 8),
        edit(1123, 117, 11, 195, 12),
        button(1006, "Browse", 317, 11, 42, 12),
        label("Number of rows", 25, 28, 69, 8),
        edit(1153, 117, 26, 41, 12),
        label("Number of columns", 174, 28, 64, 8),
        edit(1155, 259, 26, 41, 12),
        label("Row Spacing", 25, 43, 69, 8),
        edit(1154, 117, 41, 41, 12),
        label("Column Spacing", 174, 43, 64, 8),
        edit(1157, 259, 41, 41, 12),
        control(1016, ControlKind::CheckBox, "Loggers on boundary", 24, 57, 102, 10,
                TEXT_LEFT | BUTTON),
        label("Number of singular loggers", 25, 71, 89, 8),
        edit(1156, 117, 69, 41, 12),
        label("Project Description", 25, 86, 85, 8),
        edit(1159, 117, 84, 145, 12),
        group("Layout Control", 16, 99, 317, 141),
        control(1001, ControlKind::RadioButton, "Use Serial Numbers", 27, 112, 78, 10, BUTTON),
        control(1002, ControlKind::RadioButton, "Use Comment Field", 27, 123, 77, 10, BUTTON),
        label("Only use files with project number ", 136, 112, 108, 8),
        edit(1158, 253, 110, 67, 14),
        label("Only use files with date stamp", 136, 128, 94, 8),
        edit(1160, 253, 126, 67, 14),
        control(1004, ControlKind::Label, "Array Serial Number Layout:", 21, 151, 129, 8),
        control(1003, ControlKind::ListView, "", 21, 161, 226, 75, LAYOUT_LIST),
        control(1008, ControlKind::Label, "Singular Serial Number Layout:", 216, 150, 111, 8,
                RIGHT),
        control(1007, ControlKind::ListView, "", 252, 161, 76, 75, LAYOUT_LIST),
        button(1009, "Update Layout", 337, 164, 50, 14),
        button(1029, "Load Project", 337, 185, 50, 14),
        button(1030, "Save Project", 337, 201, 50, 14),
        button(1028, "Copy Files", 337, 229, 50, 14, DISABLED),
        button(1027, "Load Files", 337, 246, 50, 14),
        control(1005, ControlKind::Label, "", 16, 246, 317, 14, SUNKEN),
    };
    return t;
}

DialogTemplate dataFilterTemplate() {
    DialogTemplate t;
    t.id = DATA_FILTER_TEMPLATE;
    t.width = 404;
    t.height = 274;
    t.controls = {
        group("Data Filter Setup", 9, 0, 383, 267),
        group("Temperatures at given time", 48, 15, 306, 30),
        label("Time", 59, 27, 69, 8),
        edit(1012, 151, 25, 100, 14),
        button(1009, "Calculate", 264, 25, 77, 14),
        group("Averaged Temperatures", 49, 50, 305, 70),
        label("Start Time", 59, 67, 69, 8),
        edit(1011, 151, 65, 100, 14),
        label("Finish Time", 59, 83, 69, 8),
        edit(1010, 151, 81, 100, 14),
        label("Averaging Interval", 58, 99, 69, 8),
        edit(1155, 151, 97, 41, 14),
        label("Minutes", 199, 99, 39, 8),
        button(1008, "Calculate", 264, 97, 77, 14),
        group("Graph Options", 49, 125, 305, 83),
        label("Minimum Temperature", 59, 142, 87, 8),
        edit(1013, 151, 140, 50, 14),
        label("Maximum Temperature", 59, 158, 87, 8),
        edit(1014, 151, 156, 50, 14),
        label("Contour Spacing", 59, 174, 69, 8),
        edit(1156, 151, 172, 50, 14),
        control(1017, ControlKind::CheckBox, "Show singular values as text", 58, 190, 122, 10,
                TEXT_LEFT | BUTTON),
        button(1015, "Load Report", 49, 214, 77, 14),
        button(1016, "Create Report", 132, 214, 77, 14, HIDDEN),
        control(1005, ControlKind::Label, "", 49, 246, 305, 14, SUNKEN),
    };
    return t;
}

DialogTemplate matrixTemplate() {
    constexpr unsigned MATRIX_LIST = platform::STYLE_BORDER | platform::STYLE_NO_HEADER | DISABLED;
    DialogTemplate t;
    t.id = MATRIX_TEMPLATE;
    t.width = 404;
    t.height = 275;
    t.controls = {
        control(1005, ControlKind::Label, "", 4, 3, 220, 12, SUNKEN),
        button(1013, "Print", 233, 3, 36, 12, DISABLED),
        button(1014, "Export", 272, 3, 36, 12, DISABLED),
        button(1009, "1", 314, 3, 16, 12, DISABLED),
        button(1010, "<<", 332, 3, 16, 12, DISABLED),
        button(1011, ">>", 350, 3, 16, 12, DISABLED),
        button(1012, "L", 368, 3, 16, 12, DISABLED),
        control(1007, ControlKind::ListView, "", 4, 19, 304, 203, MATRIX_LIST),
        control(1008, ControlKind::ListView, "", 315, 19, 75, 203, MATRIX_LIST),
    };
    return t;
}

const std::map<int, DialogTemplate> &allTemplates() {
    static const std::map<int, DialogTemplate> templates = {
        {ABOUT_TEMPLATE, aboutTemplate()},
        {MAIN_WINDOW_TEMPLATE, mainWindowTemplate()},
        {GRAPH_TEMPLATE, graphTemplate()},
        {FILE_SELECTION_TEMPLATE, fileSelectionTemplate()},
        {DATA_FILTER_TEMPLATE, dataFilterTemplate()},
        {MATRIX_TEMPLATE, matrixTemplate()},
    };
    return templates;
}

} // namespace

const platform::DialogTemplate &dialogTemplate(int id) {
    const auto &templates = allTemplates();
    const auto found = templates.find(id);
    if (found != templates.end())
        return found->second;
    static std::map<int, DialogTemplate> missing;
    auto &empty = missing[id];
    empty.id = id;
    return empty;
}

} // namespace zqar
