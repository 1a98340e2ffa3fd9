#pragma once
// One printout: the print dialog, one document, a text cursor that moves down the page line
// by line and starts a new page when the page is full, and text placed in columns given by
// tab stops. Every length is set in millimetres and converted with the printer's horizontal
// resolution, so a printout looks the same on any printer. Each print command makes one on
// the stack and ends it with endJob.

#include "core/data/LoggerArray.h"
#include "pages/presentation/ContourGraph.h"
#include "platform/DrawingContext.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zqar {

class TemperatureSet;

namespace platform {
class Host;
class ListView;
} // namespace platform

class PrintJob {
public:
    explicit PrintJob(platform::Host &host);
    // Ends a job its command left started, so the printer context is never left open.
    ~PrintJob();
    PrintJob(const PrintJob &) = delete;
    PrintJob &operator=(const PrintJob &) = delete;

    // The print dialog; started is 1 afterwards only when the user chose a printer.
    void beginJob();
    void setMargins(double left, double right, double top, double bottom); // millimetres
    void setTabs(const std::vector<double> &positions);                    // millimetres
    // The font of the next texts: one of the four the job holds, or any other.
    void use(const platform::FontRequest &font);
    // Prints text at the current line, its tab-separated pieces in column, column + 1, ...,
    // each placed in its column as alignment says.
    void printText(std::string_view text, int column, platform::Align alignment);
    // Moves down n lines of the selected font, starting a new page below bottomLimit.
    void newLines(int n);
    void endJob();

    // The printer context of a started job, for drawing into it.
    platform::PrintTarget *target() const { return printer.get(); }
    // Pixels per millimetre of the printer.
    double ratio() const { return pixelsPerMillimetre; }

    int32_t started = 0;
    std::vector<int> tabStops; // pixels from the left margin
    int lineOffset = 0;        // pixels below the top margin
    int topMargin = 0;         // pixels from the top of the printable area
    int bottomLimit = 0;       // a line may start no lower than this
    int leftMargin = 0;
    int rightLimit = 0;
    platform::FontRequest titleFont;
    platform::FontRequest headingFont;
    platform::FontRequest bodyFont;
    platform::FontRequest smallFont;

private:
    platform::Host &host;
    std::unique_ptr<platform::PrintTarget> printer;
    double pixelsPerMillimetre = 0.0;
};

// The header both print commands start with: the print date on the right, the title, the
// project description and the page's status line, centred. False when the dialog was
// cancelled; the job has then been ended and nothing is to be printed. now is a day number.
bool printHeader(PrintJob &job, const std::string &title, const std::string &projectDescription,
                 const std::string &status, double now);

// The local date and time as a day number.
double localNow();

// What Print Graph prints: the header's texts and the graph of a set (none: the header alone).
struct PrintedGraph {
    std::string projectDescription;
    std::string status; // the Graph page's status line
    const TemperatureSet *set = nullptr;
    ArrayDimensions dimensions;
    ContourSettings settings;
    ColourScale scale = DEFAULT_COLOUR_SCALE;
};

// What Print Matrix prints: the header's texts and the Matrix page's lists as they show.
struct PrintedMatrix {
    std::string projectDescription;
    std::string status; // the Matrix page's status line
    const platform::ListView &arrayList;
    const platform::ListView &singularList;
    ArrayDimensions dimensions;
};

// Print Graph (the Graph page's "Print") and Print Matrix (the Matrix page's "Print"). False
// when the print dialog was cancelled.
bool printGraph(platform::Host &host, const PrintedGraph &graph, double now);
bool printMatrix(platform::Host &host, const PrintedMatrix &matrix, double now);

} // namespace zqar
