#include "resources/templates.h"

#include "resources/controlIds.h"
#include "resources/format.h"
#include "resources/programVersion.h"
#include "resources/strings.h"
#include "resources/windowHints.h"

#include <map>
#include <utility>
#include <vector>

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

// A page inside the main window.
DialogTemplate pageTemplate(int id, int width, int height, std::vector<ControlTemplate> controls) {
    DialogTemplate t;
    t.id = id;
    t.width = width;
    t.height = height;
    t.controls = std::move(controls);
    return t;
}

// A window of its own, with its caption.
DialogTemplate windowTemplate(int id, std::string_view caption, int width, int height,
                              std::vector<ControlTemplate> controls) {
    DialogTemplate t = pageTemplate(id, width, height, std::move(controls));
    t.caption = std::string(caption);
    t.child = false;
    return t;
}

// The strip along the top of the graph and matrix pages: the status, Print, the page's own
// second command and the buttons that step through the slides.
std::vector<ControlTemplate> slideStrip(int status, int print, int command,
                                        std::string_view commandCaption, int first, int previous,
                                        int next, int last) {
    return {
        control(status, ControlKind::Label, "", 4, 3, 220, 12, SUNKEN),
        button(print, "Print", 233, 3, 36, 12, DISABLED),
        button(command, commandCaption, 272, 3, 36, 12, DISABLED),
        button(first, "1", 314, 3, 16, 12, DISABLED),
        button(previous, "<<", 332, 3, 16, 12, DISABLED),
        button(next, ">>", 350, 3, 16, 12, DISABLED),
        button(last, "L", 368, 3, 16, 12, DISABLED),
    };
}

DialogTemplate aboutTemplate() {
    using C = AboutControls;
    return windowTemplate(
        ABOUT_TEMPLATE, text::ABOUT_CAPTION, 235, 55,
        {
            control(NO_ID, ControlKind::Icon, "", 5, 5, 20, 20),
            label(text::PRODUCT_NAME, 40, 10, 119, 8),
            label(text::format(text::ABOUT_VERSION, std::string(text::PROGRAM_VERSION)), 40, 22,
                  119, 8),
            label(text::ABOUT_NOTICE, 40, 34, 119, 8),
            button(C::OK, text::OK_BUTTON, 178, 7, 50, 14, platform::STYLE_DEFAULT),
        });
}

DialogTemplate mainWindowTemplate() {
    using C = MainWindowControls;
    return windowTemplate(MAIN_WINDOW_TEMPLATE, text::MAIN_WINDOW_CAPTION, 531, 348,
                          {control(C::TAB_STRIP, ControlKind::TabStrip, "", 6, 5, 504, 339)});
}

DialogTemplate graphTemplate() {
    using C = GraphControls;
    std::vector<ControlTemplate> controls = {
        control(C::GRAPH_AREA, ControlKind::OwnerDrawButton, "Button1", 10, 22, 383, 242, DISABLED),
    };
    for (ControlTemplate &c : slideStrip(C::STATUS, C::PRINT, C::SLIDES, "Slides", C::FIRST,
                                         C::PREVIOUS, C::NEXT, C::LAST))
        controls.push_back(std::move(c));
    return pageTemplate(GRAPH_TEMPLATE, 404, 275, std::move(controls));
}

DialogTemplate fileSelectionTemplate() {
    using C = FileSelectionControls;
    return pageTemplate(
        FILE_SELECTION_TEMPLATE, 404, 275,
        {
            group("Data File Selection Setup", 9, 0, 383, 267),
            label("Data File Directory", 25, 13, 64, 8),
            edit(C::DIRECTORY, 117, 11, 195, 12),
            button(C::BROWSE, "Browse", 317, 11, 42, 12),
            label("Number of rows", 25, 28, 69, 8),
            edit(C::NUMBER_OF_ROWS, 117, 26, 41, 12),
            label("Number of columns", 174, 28, 64, 8),
            edit(C::NUMBER_OF_COLUMNS, 259, 26, 41, 12),
            label("Row Spacing", 25, 43, 69, 8),
            edit(C::ROW_SPACING, 117, 41, 41, 12),
            label("Column Spacing", 174, 43, 64, 8),
            edit(C::COLUMN_SPACING, 259, 41, 41, 12),
            control(C::LOGGERS_ON_BOUNDARY, ControlKind::CheckBox, "Loggers on boundary", 24, 57,
                    102, 10, TEXT_LEFT | BUTTON),
            label("Number of singular loggers", 25, 71, 89, 8),
            edit(C::NUMBER_OF_SINGULAR, 117, 69, 41, 12),
            label("Project Description", 25, 86, 85, 8),
            edit(C::PROJECT_DESCRIPTION, 117, 84, 145, 12),
            group("Layout Control", 16, 99, 317, 141),
            control(C::USE_SERIAL_NUMBERS, ControlKind::RadioButton, "Use Serial Numbers", 27, 112,
                    78, 10, BUTTON),
            control(C::USE_COMMENT_FIELD, ControlKind::RadioButton, "Use Comment Field", 27, 123,
                    77, 10, BUTTON),
            label("Only use files with project number ", 136, 112, 108, 8),
            edit(C::PROJECT_NUMBER, 253, 110, 67, 14),
            label("Only use files with date stamp", 136, 128, 94, 8),
            edit(C::PROJECT_DATE, 253, 126, 67, 14),
            control(C::ARRAY_LAYOUT_LABEL, ControlKind::Label, "Array Serial Number Layout:", 21,
                    151, 129, 8),
            control(C::ARRAY_LAYOUT_LIST, ControlKind::ListView, "", 21, 161, 226, 75, LAYOUT_LIST),
            control(C::SINGULAR_LAYOUT_LABEL, ControlKind::Label,
                    "Singular Serial Number Layout:", 216, 150, 111, 8, RIGHT),
            control(C::SINGULAR_LAYOUT_LIST, ControlKind::ListView, "", 252, 161, 76, 75,
                    LAYOUT_LIST),
            button(C::UPDATE_LAYOUT, "Update Layout", 337, 164, 50, 14),
            button(C::LOAD_PROJECT, "Load Project", 337, 185, 50, 14),
            button(C::SAVE_PROJECT, "Save Project", 337, 201, 50, 14),
            button(C::COPY_FILES, "Copy Files", 337, 229, 50, 14, DISABLED),
            button(C::LOAD_FILES, "Load Files", 337, 246, 50, 14),
            control(C::STATUS, ControlKind::Label, "", 16, 246, 317, 14, SUNKEN),
        });
}

DialogTemplate dataFilterTemplate() {
    using C = DataFilterControls;
    return pageTemplate(
        DATA_FILTER_TEMPLATE, 404, 274,
        {
            group("Data Filter Setup", 9, 0, 383, 267),
            group("Temperatures at given time", 48, 15, 306, 30),
            label("Time", 59, 27, 69, 8),
            edit(C::TIME, 151, 25, 100, 14),
            button(C::CALCULATE_AT_TIME, "Calculate", 264, 25, 77, 14),
            group("Averaged Temperatures", 49, 50, 305, 70),
            label("Start Time", 59, 67, 69, 8),
            edit(C::START_TIME, 151, 65, 100, 14),
            label("Finish Time", 59, 83, 69, 8),
            edit(C::FINISH_TIME, 151, 81, 100, 14),
            label("Averaging Interval", 58, 99, 69, 8),
            edit(C::AVERAGING_INTERVAL, 151, 97, 41, 14),
            label("Minutes", 199, 99, 39, 8),
            button(C::CALCULATE_AVERAGED, "Calculate", 264, 97, 77, 14),
            group("Graph Options", 49, 125, 305, 83),
            label("Minimum Temperature", 59, 142, 87, 8),
            edit(C::MINIMUM_TEMPERATURE, 151, 140, 50, 14),
            label("Maximum Temperature", 59, 158, 87, 8),
            edit(C::MAXIMUM_TEMPERATURE, 151, 156, 50, 14),
            label("Contour Spacing", 59, 174, 69, 8),
            edit(C::CONTOUR_SPACING, 151, 172, 50, 14),
            control(C::SHOW_SINGULAR_AS_TEXT, ControlKind::CheckBox, "Show singular values as text",
                    58, 190, 122, 10, TEXT_LEFT | BUTTON),
            button(C::LOAD_REPORT, "Load Report", 49, 214, 77, 14),
            button(C::CREATE_REPORT, "Create Report", 132, 214, 77, 14, HIDDEN),
            control(C::STATUS, ControlKind::Label, "", 49, 246, 305, 14, SUNKEN),
        });
}

DialogTemplate matrixTemplate() {
    constexpr unsigned MATRIX_LIST = platform::STYLE_BORDER | platform::STYLE_NO_HEADER | DISABLED;
    using C = MatrixControls;
    std::vector<ControlTemplate> controls = slideStrip(C::STATUS, C::PRINT, C::EXPORT, "Export",
                                                       C::FIRST, C::PREVIOUS, C::NEXT, C::LAST);
    controls.insert(
        controls.end(),
        {
            control(C::ARRAY_LIST, ControlKind::ListView, "", 4, 19, 304, 203, MATRIX_LIST),
            control(C::SINGULAR_LIST, ControlKind::ListView, "", 315, 19, 75, 203, MATRIX_LIST),
            control(C::ESTIMATES_NOTE, ControlKind::Label, text::ESTIMATES_NOTE, 4, 225, 386, 8),
        });
    return pageTemplate(MATRIX_TEMPLATE, 404, 275, std::move(controls));
}

// The Statistics window's settings; the window adds its table, spots and map below them.
DialogTemplate statisticsTemplate() {
    DialogTemplate t;
    t.id = STATISTICS_TEMPLATE;
    t.caption = std::string(text::STATISTICS_CAPTION);
    t.width = 404;
    t.height = 40;
    t.child = false;
    t.controls = {
        label(text::LOWER_LIMIT_LABEL, 4, 6, 50, 8),
        edit(StatisticsControls::LOWER_LIMIT, 56, 4, 40, 12),
        label(text::UPPER_LIMIT_LABEL, 104, 6, 50, 8),
        edit(StatisticsControls::UPPER_LIMIT, 156, 4, 40, 12),
        label(text::ACTIVATION_ENERGY_LABEL, 204, 6, 100, 8),
        edit(StatisticsControls::ACTIVATION_ENERGY, 306, 4, 40, 12),
        button(StatisticsControls::CALCULATE, text::CALCULATE_BUTTON, 352, 3, 48, 14),
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
        {STATISTICS_TEMPLATE, statisticsTemplate()},
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
