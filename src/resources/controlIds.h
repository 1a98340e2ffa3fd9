#pragma once
// The control ids of every template, declared once. The templates place controls by these ids;
// each page inherits its set, so a page's commands name them as FileSelectionPage::DIRECTORY or,
// inside the page, plainly DIRECTORY.

namespace zqar {

// Every page has its status line under this id.
constexpr int STATUS_LINE = 1005;

struct AboutControls {
    enum Control : int {
        OK = 1,
    };
};

struct MainWindowControls {
    enum Control : int {
        TAB_STRIP = 1000,
    };
};

struct FileSelectionControls {
    enum Control : int {
        USE_SERIAL_NUMBERS = 1001,
        USE_COMMENT_FIELD = 1002,
        ARRAY_LAYOUT_LIST = 1003,
        ARRAY_LAYOUT_LABEL = 1004,
        STATUS = STATUS_LINE,
        BROWSE = 1006,
        SINGULAR_LAYOUT_LIST = 1007,
        SINGULAR_LAYOUT_LABEL = 1008,
        UPDATE_LAYOUT = 1009,
        LOGGERS_ON_BOUNDARY = 1016,
        LOAD_FILES = 1027,
        COPY_FILES = 1028,
        LOAD_PROJECT = 1029,
        SAVE_PROJECT = 1030,
        DIRECTORY = 1123,
        NUMBER_OF_ROWS = 1153,
        ROW_SPACING = 1154,
        NUMBER_OF_COLUMNS = 1155,
        NUMBER_OF_SINGULAR = 1156,
        COLUMN_SPACING = 1157,
        PROJECT_NUMBER = 1158,
        PROJECT_DESCRIPTION = 1159,
        PROJECT_DATE = 1160,
        CELL_EDITOR = 20000, // the in-place editor over a layout cell, made on demand
    };
};

struct DataFilterControls {
    enum Control : int {
        STATUS = STATUS_LINE,
        CALCULATE_AVERAGED = 1008,
        CALCULATE_AT_TIME = 1009,
        FINISH_TIME = 1010,
        START_TIME = 1011,
        TIME = 1012,
        MINIMUM_TEMPERATURE = 1013,
        MAXIMUM_TEMPERATURE = 1014,
        LOAD_REPORT = 1015,
        CREATE_REPORT = 1016,
        SHOW_SINGULAR_AS_TEXT = 1017,
        AVERAGING_INTERVAL = 1155,
        CONTOUR_SPACING = 1156,
    };
};

// The set buttons and status line that the Matrix and Graph pages share.
struct NavigationControls {
    enum Control : int {
        STATUS = STATUS_LINE,
        FIRST = 1009,
        PREVIOUS = 1010,
        NEXT = 1011,
        LAST = 1012,
    };
};

struct MatrixControls {
    enum Control : int {
        STATUS = NavigationControls::STATUS,
        ARRAY_LIST = 1007,
        SINGULAR_LIST = 1008,
        FIRST = NavigationControls::FIRST,
        PREVIOUS = NavigationControls::PREVIOUS,
        NEXT = NavigationControls::NEXT,
        LAST = NavigationControls::LAST,
        PRINT = 1013,
        EXPORT = 1014,
        ESTIMATES_NOTE = 1016, // the line under the lists that says what grey values are
    };
};

struct GraphControls {
    enum Control : int {
        GRAPH_AREA = 1002,
        STATUS = NavigationControls::STATUS,
        FIRST = NavigationControls::FIRST,
        PREVIOUS = NavigationControls::PREVIOUS,
        NEXT = NavigationControls::NEXT,
        LAST = NavigationControls::LAST,
        PRINT = 1013,
        SLIDES = 1015,
    };
};

// The Statistics window's settings and its Calculate button.
struct StatisticsControls {
    enum Control : int {
        LOWER_LIMIT = 1201,
        UPPER_LIMIT = 1202,
        ACTIVATION_ENERGY = 1203,
        CALCULATE = 1204,
        SET_POINT = 1205,
        TOLERANCE = 1206,
        STABLE_START = 1207,
        STABLE_FINISH = 1208,
        REFERENCE_POSITION = 1209,
        MAP_CHECK_THRESHOLD = 1210,
        MKT_WINDOW = 1211,
        PLAUSIBLE_LOW = 1212,
        PLAUSIBLE_HIGH = 1213,
        PLAUSIBLE_JUMP = 1214,
    };
};

} // namespace zqar
