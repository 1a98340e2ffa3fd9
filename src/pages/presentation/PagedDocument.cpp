#include "pages/presentation/PagedDocument.h"
#include "pages/presentation/printUnits.h"

#include "core/data/dateTime.h"
#include "core/data/numbers.h"
#include "resources/displayTexts.h"
#include "resources/format.h"
#include "resources/mappingReportTexts.h"

#include <algorithm>
#include <string_view>
#include <unordered_set>
#include <utility>

namespace zqar {

using platform::Colour;
using platform::DrawingContext;
using platform::FontRequest;
using platform::Rect;

namespace {

// The page, millimetres.
constexpr double MARGIN_LEFT = 18.0;
constexpr double MARGIN_RIGHT = 18.0;
constexpr double MARGIN_TOP = 16.0;
constexpr double MARGIN_BOTTOM = 22.0; // the footer stands in it
constexpr double FOOTER_FROM_BOTTOM = 15.0;
constexpr double FOOTER_GAP = 1.5;

// Font cell heights, millimetres.
constexpr double TITLE_HEIGHT = 9.0;
constexpr double SUBTITLE_HEIGHT = 5.5;
constexpr double HEADING_HEIGHT = 5.2;
constexpr double BODY_HEIGHT = 4.0;
constexpr double TABLE_HEIGHT = 3.2;
constexpr double SMALLEST_TABLE_HEIGHT = 2.2;
constexpr double FOOTER_HEIGHT = 3.0;
constexpr const char *FACE = "Arial";
constexpr int BOLD = platform::FontRequest::BOLD;
constexpr int NORMAL = platform::FontRequest::NORMAL;

// Spacing, millimetres.
constexpr double SPACE_BEFORE_HEADING = 6.0;
constexpr double SPACE_AFTER_HEADING = 3.0;
constexpr double ROOM_AFTER_HEADING = 35.0; // a heading never ends a page alone
constexpr double SPACE_AFTER_PARAGRAPH = 2.0;
constexpr double SPACE_AFTER_BLOCK = 5.0;
constexpr double FACT_GAP = 6.0;
constexpr double CELL_PADDING = 1.1;
constexpr double RULE_THICKNESS = 0.4;
constexpr double GRID_THICKNESS = 0.25;
constexpr double CAPTION_GAP = 1.5;
constexpr double LINE_PITCH = 1.25;     // of a font's cell height, for running text
constexpr int TABLE_FITTING_ROUNDS = 4; // smaller fonts tried for a table that is too wide
constexpr std::size_t ROWS_KEPT_WITH_HEADER = 3;

constexpr Colour HEADING_COLOUR = platform::rgb(20, 60, 120);
constexpr Colour RULE_COLOUR = platform::rgb(20, 60, 120);
constexpr Colour HEADER_FILL = platform::rgb(218, 228, 240);
constexpr Colour STRIPE_FILL = platform::rgb(244, 246, 250);
constexpr Colour GRID_COLOUR = platform::rgb(150, 160, 175);
constexpr Colour FOOTER_COLOUR = platform::rgb(70, 70, 70);

const char *const HEIGHT_SAMPLE = "Ag";

FontRequest font(int height, int weight) { return FontRequest{FACE, height, weight}; }

unsigned alignFlags(PagedDocument::Align align) {
    switch (align) {
    case PagedDocument::Align::Right:
        return platform::TA_RIGHT | platform::TA_TOP;
    case PagedDocument::Align::Centre:
        return platform::TA_CENTER | platform::TA_TOP;
    case PagedDocument::Align::Left:
        break;
    }
    return platform::TA_LEFT | platform::TA_TOP;
}

// The length of the first character of text, counting a UTF-8 sequence as one.
std::size_t characterLength(const std::string &text, std::size_t at) {
    std::size_t end = at + 1;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        ++end;
    return end - at;
}

std::vector<std::string> words(const std::string &text) {
    std::vector<std::string> found;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t blank = std::min(text.find(' ', at), text.size());
        if (blank > at)
            found.push_back(text.substr(at, blank - at));
        at = blank + 1;
    }
    return found;
}

// The text cut at a character so that it and an ellipsis fit width pixels in dc's font.
std::string fitted(DrawingContext &dc, const std::string &text, int width) {
    if (dc.textExtent(text).width <= width)
        return text;
    const std::string ellipsis = "...";
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t next = at + characterLength(text, at);
        if (dc.textExtent(text.substr(0, next) + ellipsis).width > width)
            break;
        at = next;
    }
    return text.substr(0, at) + ellipsis;
}

} // namespace

PagedDocument::PagedDocument(DrawingContext &dc) : measure(dc) {
    const int width = dc.deviceCaps(platform::HORZRES);
    ratio = zqar::pixelsPerMillimetre(dc);
    pageHeight = dc.deviceCaps(platform::VERTRES);
    left = pixels(MARGIN_LEFT);
    right = std::max(left + 1, width - pixels(MARGIN_RIGHT));
    top = pixels(MARGIN_TOP);
    bottom = std::max(top + 1, pageHeight - pixels(MARGIN_BOTTOM));
    cursor = top;
    titleFont = font(pixels(TITLE_HEIGHT), BOLD);
    subtitleFont = font(pixels(SUBTITLE_HEIGHT), NORMAL);
    headingFont = font(pixels(HEADING_HEIGHT), BOLD);
    bodyFont = font(pixels(BODY_HEIGHT), NORMAL);
    boldFont = font(pixels(BODY_HEIGHT), BOLD);
    tableFont = font(pixels(TABLE_HEIGHT), NORMAL);
    footerFont = font(pixels(FOOTER_HEIGHT), NORMAL);
}

PagedDocument::PagedDocument(platform::PrintTarget &target, const Footer &pageFooter, int pageTotal,
                             std::vector<TableColumns> &fits)
    : PagedDocument(target) {
    printer = &target;
    footer = &pageFooter;
    totalPages = pageTotal;
    tableFits = &fits;
    printer->startPage();
}

PagedDocument::Footer PagedDocument::printedFooter(double now, std::string centre) {
    return Footer{std::string(text::PRINTED_ON) + formatDateTime(now), std::move(centre),
                  [](int page, int count) { return text::format(text::PAGE_NUMBER, page, count); }};
}

int PagedDocument::print(platform::PrintTarget &target, const Footer &footer,
                         const Content &content) {
    std::vector<TableColumns> fits;
    PagedDocument counted(target);
    counted.tableFits = &fits;
    content(counted);
    PagedDocument drawn(target, footer, counted.pageCount(), fits);
    content(drawn);
    drawn.endPage();
    return drawn.pageCount();
}

int PagedDocument::pixels(double millimetres) const {
    return std::max(1, truncToInt(millimetres * ratio + 0.5));
}

int PagedDocument::lineHeight(const FontRequest &request) {
    measure.setFont(request);
    return std::max(1, measure.textExtent(HEIGHT_SAMPLE).height);
}

int PagedDocument::textWidthOf(const FontRequest &request, const std::string &text) {
    measure.setFont(request);
    return measure.textExtent(text).width;
}

std::vector<std::string> PagedDocument::wrap(const FontRequest &request, const std::string &text,
                                             int width) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string paragraph = text.substr(start, end - start);
        std::string line;
        std::size_t at = 0;
        while (at < paragraph.size()) {
            const std::size_t blank = std::min(paragraph.find(' ', at), paragraph.size());
            std::string word = paragraph.substr(at, blank - at);
            at = blank + 1;
            const std::string joined = line.empty() ? word : line + " " + word;
            if (textWidthOf(request, joined) <= width) {
                line = joined;
                continue;
            }
            if (!line.empty())
                lines.push_back(line);
            line.clear();
            // A word wider than a line is cut between characters.
            while (textWidthOf(request, word) > width) {
                std::size_t fits = 0;
                while (fits < word.size()) {
                    const std::size_t next = fits + characterLength(word, fits);
                    if (fits > 0 && textWidthOf(request, word.substr(0, next)) > width)
                        break;
                    fits = next;
                }
                lines.push_back(word.substr(0, fits));
                word.erase(0, fits);
            }
            line = word;
        }
        lines.push_back(line);
        if (end >= text.size())
            break;
        start = end + 1;
    }
    return lines;
}

void PagedDocument::newPage() {
    if (printer) {
        endPage();
        printer->startPage();
    }
    ++pages;
    cursor = top;
}

void PagedDocument::ensureRoom(int height) {
    if (cursor > top && cursor + height > bottom)
        newPage();
}

void PagedDocument::keepRoom(double millimetres) { ensureRoom(pixels(millimetres)); }

void PagedDocument::addSpace(double millimetres) {
    if (cursor > top)
        cursor = std::min(bottom, cursor + pixels(millimetres));
}

void PagedDocument::placeText(const FontRequest &request, int x, int y, const std::string &text,
                              Align align, Colour colour) {
    if (!printer)
        return;
    printer->setTextStyle(platform::TextStyle{request, colour, alignFlags(align)});
    printer->setBackgroundMode(platform::BackgroundMode::Transparent);
    printer->textOut(x, y, text);
}

void PagedDocument::placeFill(const Rect &rect, Colour colour) {
    if (printer)
        printer->fillRect(rect, colour);
}

void PagedDocument::addCentred(const FontRequest &request, const std::string &text,
                               double spaceAfter) {
    const int height = lineHeight(request);
    const int pitch = truncToInt(height * LINE_PITCH);
    for (const std::string &line : wrap(request, text, right - left)) {
        ensureRoom(height);
        placeText(request, (left + right) / 2, cursor, line, Align::Centre);
        cursor += pitch;
    }
    cursor += pixels(spaceAfter);
}

void PagedDocument::addTitle(const std::string &text) {
    addCentred(titleFont, text, SPACE_AFTER_PARAGRAPH);
}

void PagedDocument::addSubtitle(const std::string &text) {
    addCentred(subtitleFont, text, SPACE_AFTER_BLOCK);
}

void PagedDocument::addHeading(const std::string &text) {
    const int height = lineHeight(headingFont);
    if (cursor > top)
        cursor += pixels(SPACE_BEFORE_HEADING);
    ensureRoom(height + pixels(ROOM_AFTER_HEADING));
    placeText(headingFont, left, cursor, text, Align::Left, HEADING_COLOUR);
    cursor += height + pixels(CAPTION_GAP);
    placeFill(Rect{left, cursor, right, cursor + pixels(RULE_THICKNESS)}, RULE_COLOUR);
    cursor += pixels(SPACE_AFTER_HEADING);
}

void PagedDocument::addParagraph(const std::string &text, bool bold) {
    const FontRequest &request = bold ? boldFont : bodyFont;
    const int height = lineHeight(request);
    const int pitch = truncToInt(height * LINE_PITCH);
    for (const std::string &line : wrap(request, text, right - left)) {
        ensureRoom(height);
        placeText(request, left, cursor, line, Align::Left);
        cursor += pitch;
    }
    cursor += pixels(SPACE_AFTER_PARAGRAPH);
}

void PagedDocument::addFacts(const std::vector<std::pair<std::string, std::string>> &facts) {
    int labelWidth = 0;
    for (const auto &fact : facts)
        labelWidth = std::max(labelWidth, textWidthOf(boldFont, fact.first));
    const int valueLeft = std::min(left + labelWidth + pixels(FACT_GAP), (left + right) / 2);
    const int height = lineHeight(bodyFont);
    const int pitch = truncToInt(height * LINE_PITCH);
    for (const auto &[label, value] : facts) {
        const std::vector<std::string> lines = wrap(bodyFont, value, right - valueLeft);
        ensureRoom(height);
        placeText(boldFont, left, cursor, label, Align::Left);
        for (const std::string &line : lines) {
            ensureRoom(height);
            placeText(bodyFont, valueLeft, cursor, line, Align::Left);
            cursor += pitch;
        }
    }
    cursor += pixels(SPACE_AFTER_BLOCK);
}

namespace {

// A table cell, empty where its row is short.
const std::string &cellText(const PagedDocument::Table &table, std::size_t row,
                            std::size_t column) {
    static const std::string none;
    const std::vector<std::string> &cells = table.rows[row];
    return column < cells.size() ? cells[column] : none;
}

} // namespace

PagedDocument::TableColumns PagedDocument::fitColumns(const Table &table) {
    const std::size_t count = table.columns.size();
    const int width = right - left;
    const int padding = pixels(CELL_PADDING);
    FontRequest cellFont = tableFont;
    FontRequest headerFont = tableFont;
    std::vector<int> widths(count, 0);
    int total = 0;
    for (int round = 0; round < TABLE_FITTING_ROUNDS; ++round) {
        headerFont = cellFont;
        headerFont.weight = BOLD;
        total = 0;
        for (std::size_t c = 0; c < count; ++c) {
            int widest = 0;
            // A column of figures repeats its texts; each is measured once.
            std::unordered_set<std::string_view> measured;
            for (std::size_t r = 0; r < table.rows.size(); ++r) {
                const std::string &cell = cellText(table, r, c);
                if (measured.insert(cell).second)
                    widest = std::max(widest, textWidthOf(cellFont, cell));
            }
            for (const std::string &word : words(table.columns[c].heading))
                widest = std::max(widest, textWidthOf(headerFont, word));
            widths[c] = widest + 2 * padding;
            total += widths[c];
        }
        const int smallest = pixels(SMALLEST_TABLE_HEIGHT);
        if (total <= width || cellFont.height <= smallest)
            break;
        const int paddings = 2 * padding * static_cast<int>(count);
        const double scale = static_cast<double>(width - paddings) / std::max(1, total - paddings);
        cellFont.height = std::max(smallest, truncToInt(cellFont.height * scale) - 1);
    }
    if (table.fillWidth && total < width && total > 0) {
        // The room left goes to the columns in proportion to their widths.
        const int spare = width - total;
        int given = 0;
        for (std::size_t c = 0; c < count; ++c) {
            const int share = c + 1 == count
                                  ? spare - given
                                  : truncToInt(static_cast<double>(spare) * widths[c] / total);
            widths[c] += share;
            given += share;
        }
        total = width;
    }
    std::vector<int> edges{left};
    for (const int w : widths)
        edges.push_back(edges.back() + w);
    return TableColumns{cellFont, headerFont, edges};
}

PagedDocument::TableColumns PagedDocument::nextTableColumns(const Table &table) {
    const std::size_t index = tablesAdded++;
    if (!tableFits)
        return fitColumns(table);
    // A table the counting pass did not have, or one of another shape, is fitted afresh.
    if (index < tableFits->size() && (*tableFits)[index].edges.size() == table.columns.size() + 1)
        return (*tableFits)[index];
    TableColumns fitted = fitColumns(table);
    if (!printer && index == tableFits->size())
        tableFits->push_back(fitted);
    return fitted;
}

void PagedDocument::addTable(const Table &table) {
    const std::size_t count = table.columns.size();
    if (count == 0)
        return;
    const int padding = pixels(CELL_PADDING);

    const TableColumns fitted = nextTableColumns(table);
    const FontRequest &cellFont = fitted.cellFont;
    const FontRequest &headerFont = fitted.headerFont;
    const std::vector<int> &edges = fitted.edges;
    std::vector<int> widths;
    for (std::size_t c = 0; c < count; ++c)
        widths.push_back(edges[c + 1] - edges[c]);
    const int tableRight = edges.back();

    std::vector<std::vector<std::string>> headings;
    std::size_t headingLines = 1;
    for (std::size_t c = 0; c < count; ++c) {
        headings.push_back(wrap(headerFont, table.columns[c].heading, widths[c] - 2 * padding));
        headingLines = std::max(headingLines, headings.back().size());
    }
    const int cellHeight = lineHeight(cellFont);
    const int headerLineHeight = lineHeight(headerFont);
    const int headerHeight = static_cast<int>(headingLines) * headerLineHeight + 2 * padding;
    const int rowHeight = cellHeight + 2 * padding;
    const int grid = pixels(GRID_THICKNESS);

    int segmentTop = 0;
    auto textX = [&](std::size_t c) {
        switch (table.columns[c].align) {
        case Align::Right:
            return edges[c + 1] - padding;
        case Align::Centre:
            return (edges[c] + edges[c + 1]) / 2;
        case Align::Left:
            break;
        }
        return edges[c] + padding;
    };
    auto startSegment = [&] {
        segmentTop = cursor;
        placeFill(Rect{left, cursor, tableRight, cursor + headerHeight}, HEADER_FILL);
        // Headings of fewer lines stand on the same baseline as the longest.
        for (std::size_t c = 0; c < count; ++c) {
            const std::size_t first = headingLines - headings[c].size();
            for (std::size_t line = 0; line < headings[c].size(); ++line)
                placeText(headerFont, textX(c),
                          cursor + padding + static_cast<int>(first + line) * headerLineHeight,
                          headings[c][line], table.columns[c].align);
        }
        cursor += headerHeight;
        placeFill(Rect{left, cursor - grid, tableRight, cursor}, GRID_COLOUR);
    };
    // The frame and the column lines of the part of the table on this page.
    auto endSegment = [&] {
        for (const int edge : edges) {
            const int x = std::min(edge, tableRight - grid);
            placeFill(Rect{x, segmentTop, x + grid, cursor}, GRID_COLOUR);
        }
        placeFill(Rect{left, segmentTop, tableRight, segmentTop + grid}, GRID_COLOUR);
        placeFill(Rect{left, cursor - grid, tableRight, cursor}, GRID_COLOUR);
    };

    const std::size_t kept = std::min(table.rows.size(), ROWS_KEPT_WITH_HEADER);
    ensureRoom(headerHeight + static_cast<int>(kept) * rowHeight);
    startSegment();
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        if (cursor + rowHeight > bottom) {
            endSegment();
            newPage();
            startSegment();
        }
        if (r % 2 == 1)
            placeFill(Rect{left, cursor, tableRight, cursor + rowHeight}, STRIPE_FILL);
        for (std::size_t c = 0; c < count; ++c)
            placeText(cellFont, textX(c), cursor + padding, cellText(table, r, c),
                      table.columns[c].align);
        cursor += rowHeight;
        placeFill(Rect{left, cursor - grid, tableRight, cursor}, GRID_COLOUR);
    }
    endSegment();
    cursor += pixels(SPACE_AFTER_BLOCK);
}

void PagedDocument::addPicture(const std::string &caption, double heightMm, Picture draw) {
    const int captionHeight = lineHeight(boldFont);
    const int height = std::min(pixels(heightMm), bottom - top - captionHeight);
    ensureRoom(captionHeight + pixels(CAPTION_GAP) + height);
    placeText(boldFont, left, cursor, caption, Align::Left);
    cursor += captionHeight + pixels(CAPTION_GAP);
    if (printer)
        draw(*printer, Rect{left, cursor, right, cursor + height});
    cursor += height + pixels(SPACE_AFTER_BLOCK);
}

void PagedDocument::endPage() {
    const int footerTop = pageHeight - pixels(FOOTER_FROM_BOTTOM);
    const int textTop = footerTop + pixels(FOOTER_GAP);
    platform::PrintTarget &target = *printer;
    target.fillRect(Rect{left, footerTop, right, footerTop + pixels(GRID_THICKNESS)}, GRID_COLOUR);
    target.setFont(footerFont);
    target.setTextColour(FOOTER_COLOUR);
    target.setBackgroundMode(platform::BackgroundMode::Transparent);
    const std::string number = footer->pageNumber(pages, totalPages);
    // The centre text keeps clear of the texts at both ends.
    const int ends =
        std::max(target.textExtent(footer->left).width, target.textExtent(number).width);
    const int centreWidth = right - left - 2 * (ends + pixels(FACT_GAP));
    target.setTextAlign(alignFlags(Align::Left));
    target.textOut(left, textTop, footer->left);
    if (centreWidth > 0) {
        target.setTextAlign(alignFlags(Align::Centre));
        target.textOut((left + right) / 2, textTop, fitted(target, footer->centre, centreWidth));
    }
    target.setTextAlign(alignFlags(Align::Right));
    target.textOut(right, textTop, number);
    target.endPage();
}

} // namespace zqar
