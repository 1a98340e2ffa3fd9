#include "pages/presentation/PrintJob.h"
#include "pages/presentation/printUnits.h"

#include "core/data/TextField.h"
#include "core/data/dateTime.h"
#include "core/data/numbers.h"
#include "core/data/systemCalls.h"
#include "platform/Host.h"
#include "platform/ListView.h"
#include "resources/displayTexts.h"

#include <algorithm>
#include <ctime>
#include <limits>

namespace zqar {

using platform::DeviceCap;

namespace {

constexpr std::size_t PRINT_TEXT_BUFFER = 512; // at most 511 characters are printed

// Tab stops every 10 mm, the first at the margin.
constexpr int HEADER_TAB_COUNT = 30;
constexpr double HEADER_TAB_SPACING = 10.0; // millimetres
constexpr double PAGE_MARGIN = 10.0;        // millimetres on every side

constexpr double TITLE_FONT_HEIGHT = 9.0; // millimetres
constexpr double HEADING_FONT_HEIGHT = 6.0;
constexpr double BODY_FONT_HEIGHT = 4.5;
constexpr double SMALL_FONT_HEIGHT = 4.0;
constexpr int BOLD = platform::FontRequest::BOLD;
constexpr int NORMAL = platform::FontRequest::NORMAL;

constexpr const char *LINE_HEIGHT_SAMPLE = "ABC";

constexpr const char *PRINT_FACE = "Times New Roman";

int fontHeight(double pixelsPerMillimetre, double millimetres) {
    return truncToInt(pixelsPerMillimetre * millimetres);
}

} // namespace

PrintJob::PrintJob(platform::Host &jobHost) : host(jobHost) {}

PrintJob::~PrintJob() { endJob(); }

void PrintJob::beginJob() {
    printer = host.choosePrinter();
    started = printer ? 1 : 0;
    if (started != 1)
        return;
    pixelsPerMillimetre = zqar::pixelsPerMillimetre(*printer);
    printer->startDocument(text::PRINT_DOCUMENT_NAME);
    printer->startPage();
    lineOffset = 0;
    tabStops.clear();
    titleFont = {PRINT_FACE, fontHeight(pixelsPerMillimetre, TITLE_FONT_HEIGHT), BOLD};
    headingFont = {PRINT_FACE, fontHeight(pixelsPerMillimetre, HEADING_FONT_HEIGHT), BOLD};
    bodyFont = {PRINT_FACE, fontHeight(pixelsPerMillimetre, BODY_FONT_HEIGHT), NORMAL};
    smallFont = {PRINT_FACE, fontHeight(pixelsPerMillimetre, SMALL_FONT_HEIGHT), NORMAL};
    printer->setFont(bodyFont);
    setMargins(0.0, 0.0, 0.0, 0.0);
}

void PrintJob::setMargins(double left, double right, double top, double bottom) {
    if (started != 1)
        return;
    const double width = printer->deviceCaps(platform::HORZRES);
    const double height = printer->deviceCaps(platform::VERTRES);
    leftMargin = truncToInt(pixelsPerMillimetre * left);
    rightLimit = truncToInt(width - pixelsPerMillimetre * right);
    topMargin = truncToInt(pixelsPerMillimetre * top);
    bottomLimit = truncToInt(height - pixelsPerMillimetre * bottom);
}

void PrintJob::setTabs(const std::vector<double> &positions) {
    std::vector<int> stops;
    stops.reserve(positions.size());
    for (const double position : positions)
        stops.push_back(truncToInt(pixelsPerMillimetre * position));
    tabStops = std::move(stops);
}

void PrintJob::use(const platform::FontRequest &font) {
    if (started == 1)
        printer->setFont(font);
}

void PrintJob::printText(std::string_view text, int column, platform::Align alignment) {
    host.processPendingInput();
    if (started != 1)
        return;
    if (text.size() > PRINT_TEXT_BUFFER - 1) {
        // Cut before a whole character: texts are UTF-8, and half a letter prints as junk.
        std::size_t length = PRINT_TEXT_BUFFER - 1;
        while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
            --length;
        text = text.substr(0, length);
    }
    const int tabCount = static_cast<int>(tabStops.size());
    const int areaWidth = rightLimit - leftMargin;
    std::size_t pieceStart = 0;
    while (true) {
        const std::size_t tab = text.find('\t', pieceStart);
        const std::string_view piece = text.substr(
            pieceStart, tab == std::string_view::npos ? std::string_view::npos : tab - pieceStart);
        int lo = 0;
        int hi = areaWidth;
        if (column > 0 && tabCount > 0) {
            if (column < tabCount) {
                lo = tabStops[static_cast<std::size_t>(column - 1)];
                hi = tabStops[static_cast<std::size_t>(column)];
            } else {
                lo = tabStops[static_cast<std::size_t>(tabCount - 1)];
            }
        }
        int x = lo;
        if (alignment == platform::Align::Centre)
            x = (lo + hi) / 2 - printer->textExtent(piece).width / 2;
        else if (alignment == platform::Align::Right)
            x = hi - printer->textExtent(piece).width;
        printer->textOut(leftMargin + x, topMargin + lineOffset, piece);
        if (tab == std::string_view::npos)
            break;
        pieceStart = tab + 1;
        if (column < std::numeric_limits<int>::max())
            ++column;
    }
}

void PrintJob::newLines(int n) {
    if (started != 1 || n <= 0)
        return;
    const int lineHeight = printer->textExtent(LINE_HEIGHT_SAMPLE).height;
    for (int i = 0; i < n; ++i) {
        lineOffset += lineHeight;
        if (topMargin + lineOffset > bottomLimit) {
            printer->endPage();
            printer->startPage();
            lineOffset = 0;
        }
    }
}

void PrintJob::endJob() {
    if (started != 1)
        return;
    printer->endPage();
    printer->endDocument();
    started = 0;
    printer.reset();
}

double localNow() {
    const std::time_t seconds = std::time(nullptr);
    std::tm local{};
    toLocalTime(seconds, local);
    CivilTime civil;
    civil.year = local.tm_year + 1900;
    civil.month = local.tm_mon + 1;
    civil.day = local.tm_mday;
    civil.hour = local.tm_hour;
    civil.minute = local.tm_min;
    civil.second = std::min(local.tm_sec, 59); // a leap second is not a time of day here
    return dayNumberFromCivil(civil);
}

bool printHeader(PrintJob &job, const std::string &title, const std::string &projectDescription,
                 const std::string &status, double now) {
    job.beginJob();
    if (job.started != 1) {
        job.endJob();
        return false;
    }
    job.setMargins(PAGE_MARGIN, PAGE_MARGIN, PAGE_MARGIN, PAGE_MARGIN);
    std::vector<double> tabs;
    for (int i = 0; i < HEADER_TAB_COUNT; ++i)
        tabs.push_back(i * HEADER_TAB_SPACING);
    job.setTabs(tabs);

    job.use(job.smallFont);
    job.printText(std::string(text::PRINTED_ON) + formatDateTime(now), 0, platform::Align::Right);
    job.newLines(2);
    job.use(job.titleFont);
    job.printText(title, 0, platform::Align::Centre);
    job.newLines(2);
    job.use(job.headingFont);
    job.printText(cutText(projectDescription), 0, platform::Align::Centre);
    job.newLines(2);
    job.use(job.bodyFont);
    job.printText(cutText(status), 0, platform::Align::Centre);
    job.newLines(3);
    return true;
}

bool printGraph(platform::Host &host, const PrintedGraph &graph, double now) {
    PrintJob job(host);
    if (!printHeader(job, text::GRAPH_PRINT_TITLE, graph.projectDescription, graph.status, now))
        return false;
    const int top = job.topMargin + job.lineOffset;
    if (graph.set)
        drawContourGraph(*job.target(), *graph.set, graph.dimensions, graph.settings, graph.scale,
                         job.leftMargin, top, job.rightLimit - job.leftMargin,
                         job.bottomLimit - top);
    job.endJob();
    return true;
}

bool printMatrix(platform::Host &host, const PrintedMatrix &matrix, double now) {
    PrintJob job(host);
    if (!printHeader(job, text::MATRIX_PRINT_TITLE, matrix.projectDescription, matrix.status, now))
        return false;
    job.use(job.smallFont);
    const ArrayDimensions counts = matrix.dimensions;
    for (int i = 0; i <= counts.rows + 2; ++i) {
        for (int j = 0; j <= counts.columns + 2; ++j)
            job.printText(matrix.arrayList.itemText(i, j), j + 1, platform::Align::Centre);
        job.newLines(1);
    }
    job.newLines(3);
    for (int i = 0; i < counts.singularCount; ++i) {
        job.printText(matrix.singularList.itemText(i, 0), 1, platform::Align::Centre);
        job.printText(matrix.singularList.itemText(i, 1), 2, platform::Align::Centre);
        job.newLines(1);
    }
    job.endJob();
    return true;
}

} // namespace zqar
