#pragma once
// A printed document of several pages: titles, headings, wrapped paragraphs, lists of facts,
// tables that run over pages with their header repeated, and pictures drawn by a callback,
// laid out top to bottom on pages of the printer's size with every length in millimetres.
// A document either only lays its blocks out, to learn how many pages they take, or draws
// every block on the printer as it is laid out and hands each page over when it is full, so
// no page is ever held: print lays the same blocks out once each way, and each page's footer
// can say how many pages there are. The blocks are measured with the fonts of the context they
// will be printed on.

#include "platform/DrawingContext.h"

#include <functional>
#include <string>
#include <vector>

namespace zqar {

class PagedDocument {
public:
    // Where a text sits in its column or cell: the platform's alignment.
    using Align = platform::Align;

    struct Column {
        std::string heading; // wrapped at blanks to the column's width
        Align align = Align::Left;
    };
    struct Table {
        std::vector<Column> columns;
        std::vector<std::vector<std::string>> rows; // one text per column; missing ones empty
        bool fillWidth = true; // widen the columns to the text width; false keeps them narrow
    };
    // Draws a picture into its rectangle (device pixels) of the page.
    using Picture = std::function<void(platform::DrawingContext &dc, const platform::Rect &area)>;

    // What every page ends with: a text at the left, one in the centre (cut to fit between the
    // two ends) and the page number made by pageNumber(page, count) at the right.
    struct Footer {
        std::string left;
        std::string centre;
        std::function<std::string(int page, int count)> pageNumber;
    };
    // The footer of the program's printouts: "Printed on: " and the date and time now (a day
    // number) at the left, centre in the middle and "Page n of N" at the right.
    static Footer printedFooter(double now, std::string centre);

    // Adds the document's blocks; print calls it once for each pass, and it must add the same
    // blocks both times.
    using Content = std::function<void(PagedDocument &document)>;

    // Prints the blocks content adds into the document the target has started: laid out once
    // to count the pages, then again with each page drawn and handed to the target as soon as
    // it is full. The number of pages printed.
    static int print(platform::PrintTarget &target, const Footer &footer, const Content &content);

    void addTitle(const std::string &text);    // large, bold, centred
    void addSubtitle(const std::string &text); // centred
    void addHeading(const std::string &text);  // a section heading, kept with what follows
    void addParagraph(const std::string &text, bool bold = false);
    // Label and value pairs in two columns, the labels bold.
    void addFacts(const std::vector<std::pair<std::string, std::string>> &facts);
    void addTable(const Table &table);
    // A bold caption over a picture heightMm high across the text width; both go to the next
    // page when the rest of this one is too short.
    void addPicture(const std::string &caption, double heightMm, Picture draw);
    void addSpace(double millimetres);
    void newPage();
    // Starts a new page unless millimetres are left on this one.
    void keepRoom(double millimetres);

    // The pages begun so far.
    int pageCount() const { return pages; }

    // The pixels per millimetre of the target.
    double pixelsPerMillimetre() const { return ratio; }

private:
    // A table's fonts and column edges: the narrowest columns that show every cell on one line
    // and every heading word whole, in a smaller font when the table is wider than the page.
    struct TableColumns {
        platform::FontRequest cellFont;
        platform::FontRequest headerFont;
        std::vector<int> edges; // left edge of every column, then the table's right edge
    };

    // Lays the blocks out without drawing anything, measured with dc, which must be the
    // context the document will be printed on.
    explicit PagedDocument(platform::DrawingContext &dc);
    // Draws on target as the blocks are laid out, starting the first page; pageTotal is what
    // the footers count to, and fits the columns of the tables in the order they come.
    PagedDocument(platform::PrintTarget &target, const Footer &footer, int pageTotal,
                  std::vector<TableColumns> &fits);
    // Draws the footer and ends the page being drawn.
    void endPage();

    int pixels(double millimetres) const;
    int lineHeight(const platform::FontRequest &font);
    int textWidthOf(const platform::FontRequest &font, const std::string &text);
    // The text broken at blanks (and inside a word longer than a line) into lines of at most
    // width pixels.
    std::vector<std::string> wrap(const platform::FontRequest &font, const std::string &text,
                                  int width);
    void ensureRoom(int height);
    void placeText(const platform::FontRequest &font, int x, int y, const std::string &text,
                   Align align, platform::Colour colour = platform::BLACK);
    void placeFill(const platform::Rect &rect, platform::Colour colour);
    void addCentred(const platform::FontRequest &font, const std::string &text, double spaceAfter);

    TableColumns fitColumns(const Table &table);
    // The columns of the next table: fitted and kept while counting, taken back when drawing.
    TableColumns nextTableColumns(const Table &table);

    platform::DrawingContext &measure;
    double ratio = 0.0; // pixels per millimetre
    int pageHeight = 0;
    int left = 0; // the text area, pixels
    int right = 0;
    int top = 0;
    int bottom = 0; // blocks end above this; the footer goes below
    int cursor = 0; // where the next block starts
    platform::FontRequest titleFont;
    platform::FontRequest subtitleFont;
    platform::FontRequest headingFont;
    platform::FontRequest bodyFont;
    platform::FontRequest boldFont;
    platform::FontRequest tableFont;
    platform::FontRequest footerFont;
    platform::PrintTarget *printer = nullptr; // null while only laying out
    const Footer *footer = nullptr;           // with printer
    int totalPages = 0;                       // with printer
    int pages = 1;
    // Measuring every cell of a long table is the slow part of laying it out; the pass that
    // counts the pages keeps each table's columns so the pass that draws need not do it again.
    std::vector<TableColumns> *tableFits = nullptr;
    std::size_t tablesAdded = 0;
};

} // namespace zqar
