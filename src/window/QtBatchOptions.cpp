#include "window/QtBatchOptions.h"

#include "app/BatchTool.h"
#include "app/numberedFiles.h"
#include "core/analysis/TemperatureSet.h"
#include "core/data/AtomicFileWriter.h"
#include "core/data/caseless.h"
#include "core/data/numbers.h"
#include "pages/analysis/statisticsCommands.h"
#include "pages/presentation/PrintJob.h"
#include "pages/presentation/TimeSeriesChart.h"
#include "pages/presentation/statisticsPrint.h"
#include "qt/QtDrawingContext.h"
#include "resources/strings.h"
#include "window/GraphExport.h"
#include "window/MappingReportFile.h"

#include <filesystem>
#include <memory>
#include <system_error>

namespace zqar {

namespace {

constexpr int DEFAULT_WIDTH = 1100; // pixels
constexpr int DEFAULT_HEIGHT = 800;
// A picture larger than this many pixels would need gigabytes for one image.
constexpr long long MAX_PICTURE_PIXELS = 16384LL * 16384LL;

struct PictureSize {
    int width = DEFAULT_WIDTH;
    int height = DEFAULT_HEIGHT;
};

// "1100x800": two positive integers of at most five digits.
std::optional<PictureSize> parseSize(const std::string &text) {
    const std::size_t cross = text.find_first_of("xX");
    if (cross == std::string::npos || cross == 0 || cross + 1 >= text.size())
        return std::nullopt;
    const auto digitsOnly = [](const std::string &part) {
        if (part.empty() || part.size() > 5)
            return false;
        for (const char c : part)
            if (!isDigit(c))
                return false;
        return true;
    };
    const std::string widthText = text.substr(0, cross);
    const std::string heightText = text.substr(cross + 1);
    if (!digitsOnly(widthText) || !digitsOnly(heightText))
        return std::nullopt;
    PictureSize size{readInteger(widthText), readInteger(heightText)};
    if (size.width < 1 || size.height < 1 ||
        static_cast<long long>(size.width) * size.height > MAX_PICTURE_PIXELS)
        return std::nullopt;
    return size;
}

// A file the option could not write: a failure of the command, not of its argument.
const std::string WRITE_FAILED(text::COULD_NOT_WRITE);

void exportPng(BatchTool &tool, const PictureSize &size, const std::string &file) {
    const JobView view = tool.jobView();
    const std::unique_ptr<platform::Progress> progress =
        view.host.startProgress(text::EXPORT_CAPTION);
    const auto writeSet = [&tool, &view, &size](const std::string &name) {
        // Read at every set: the settings are those of the moment it is drawn.
        const JobSettings settings = view.readSettings();
        const QImage image =
            renderSetImage(view.job.setList.current(), view.job.loggerArray.dimensions(),
                           settings.contour(), size.width, size.height);
        if (savePng(image, name))
            return true;
        tool.failCommand(std::string(text::EXPORT_CAPTION), WRITE_FAILED + name);
        return false;
    };
    exportEverySet(view.job.setList, file, writeSet, platform::keepGoingWith(*progress));
}

// The time-series chart of the pages as they are, at the picture size.
void exportTimeSeries(BatchTool &tool, const PictureSize &size, const std::string &file) {
    const JobView view = tool.jobView();
    auto dc = platform::QtDrawingContext::offscreen(size.width, size.height);
    drawTimeSeries(*dc, timeSeriesInput(view.job, view.readSettings()),
                   platform::Rect{0, 0, size.width, size.height});
    if (!savePng(*dc->image(), file))
        tool.failCommand(std::string(text::EXPORT_CAPTION), WRITE_FAILED + file);
}

// Runs a print command with the print dialog answered by a PDF file, written to a temp file
// beside the target that replaces it once the document is complete. A command that printed
// nothing leaves the temp file empty; one that failed has said why, and the target stays as
// it was.
template <typename Command>
void printToPdf(BatchTool &tool, const std::string &file, Command command) {
    AtomicFileWriter writer(file);
    if (!writer.isOpen()) {
        tool.failCommand(std::string(text::PRINT_CAPTION), WRITE_FAILED + file);
        return;
    }
    const std::string temporary = writer.writtenByName();
    tool.host.printerFactory = [temporary] { return platform::pdfPrintTarget(temporary); };
    const CommandOutcome outcome = command();
    tool.host.printerFactory = nullptr;
    if (outcome.hasFailed())
        return;
    std::error_code error;
    const auto printed = std::filesystem::file_size(temporary, error);
    if (error || printed == 0 || !writer.commit())
        tool.failCommand(std::string(text::PRINT_CAPTION), WRITE_FAILED + file);
}

// An option that prints through one page command into the PDF file its argument names.
template <typename Print> BatchOption printOption(const char *name, const char *help, Print print) {
    return BatchOption{
        name, "FILE.pdf", help,
        [print](BatchTool &t, const std::string &file) -> std::optional<std::string> {
            printToPdf(t, file, [&t, &print] { return t.noteOutcome(print(t)); });
            return std::nullopt;
        },
        true};
}

// What --statistics-map writes, by the end of its file name.
enum class MapFileKind { Png, Csv };

std::optional<MapFileKind> mapFileKind(const std::string &file) {
    const std::string name = lowerCase(file);
    auto endsWith = [&name](std::string_view ending) {
        return name.size() >= ending.size() &&
               name.compare(name.size() - ending.size(), ending.size(), ending) == 0;
    };
    if (endsWith(".png"))
        return MapFileKind::Png;
    if (endsWith(".csv"))
        return MapFileKind::Csv;
    return std::nullopt;
}

std::optional<std::string> checkStatisticsMap(const std::vector<std::string> &arguments) {
    if (!mapStatisticNamed(arguments[0]))
        return "--statistics-map takes mean, minimum, maximum or mkt";
    if (!mapFileKind(arguments[1]))
        return "--statistics-map writes a FILE ending in .png or .csv";
    return std::nullopt;
}

void exportStatisticsMap(BatchTool &tool, const PictureSize &size, MapStatistic statistic,
                         const std::string &file) {
    const JobView view = tool.jobView();
    const JobSettings settings = view.readSettings();
    const StatisticsRun run = calculateStatistics(view.job, settings, view.host);
    if (tool.noteOutcome(run.outcome).kind != CommandOutcome::Kind::Completed)
        return;
    const StatisticMapSet map = makeStatisticMap(run.statistics, statistic);
    const ArrayDimensions dimensions = view.job.loggerArray.dimensions();
    if (mapFileKind(file) == MapFileKind::Csv) {
        tool.noteOutcome(
            writeStatisticMapCsv(view.host, *map.set, dimensions, settings.layout, file));
        return;
    }
    if (!savePng(renderStatisticMapImage(map.set.get(), map.title, dimensions, settings.contour(),
                                         size.width, size.height),
                 file))
        tool.failCommand(std::string(text::STATISTICS_CAPTION), WRITE_FAILED + file);
}

// The run of an option that draws into its file at the --size picture size.
template <typename Draw>
std::function<std::optional<std::string>(BatchTool &, const std::string &)>
drawAtSize(const std::shared_ptr<PictureSize> &size, Draw draw) {
    return [size, draw](BatchTool &tool, const std::string &file) -> std::optional<std::string> {
        draw(tool, *size, file);
        return std::nullopt;
    };
}

} // namespace

void registerDrawingOptions(BatchTool &tool) {
    auto size = std::make_shared<PictureSize>();
    tool.addOption({"--size", "WxH", "size of exported pictures in pixels (default 1100x800)",
                    [size](BatchTool &, const std::string &text) -> std::optional<std::string> {
                        const std::optional<PictureSize> parsed = parseSize(text);
                        if (!parsed)
                            return "--size takes WIDTHxHEIGHT, for example 1100x800";
                        *size = *parsed;
                        return std::nullopt;
                    }});
    tool.addOption({"--export-png", "FILE",
                    "the graph of the current set as PNG; a %d in FILE exports every set, "
                    "numbered from 1",
                    drawAtSize(size, exportPng), true});
    BatchOption map{"--statistics-map", "STAT FILE",
                    "a map of one statistic per position (mean, minimum, maximum, mkt) as PNG "
                    "(FILE.png, --size) or as the matrix CSV (FILE.csv)",
                    nullptr, true};
    map.checkArguments = checkStatisticsMap;
    map.runArguments =
        [size](BatchTool &t,
               const std::vector<std::string> &arguments) -> std::optional<std::string> {
        exportStatisticsMap(t, *size, *mapStatisticNamed(arguments[0]), arguments[1]);
        return std::nullopt;
    };
    tool.addOption(std::move(map));
    tool.addOption({"--time-series", "FILE.png",
                    "every placed logger over the Start to Finish Time as a PNG chart, with "
                    "the current set shaded",
                    drawAtSize(size, exportTimeSeries), true});
    tool.addOption(printOption("--print-graph", "Print Graph into a PDF file (A4)",
                               [](BatchTool &t) { return t.printGraph(); }));
    tool.addOption(printOption("--print-matrix", "Print Matrix into a PDF file (A4)",
                               [](BatchTool &t) { return t.printMatrix(); }));
    tool.addOption(printOption(
        "--print-statistics", "the Statistics table over the Data Filter span into a PDF file (A4)",
        [](BatchTool &t) {
            const JobView view = t.jobView();
            return printJobStatistics(view.job, view.readSettings(), t.host, localNow());
        }));
    tool.addOption(fileOption("--mapping-report", "FILE.pdf",
                              "the mapping report (title page, result, statistics, maps, graphs, "
                              "time series, layout) into a PDF file (A4)",
                              [](BatchTool &t, const std::string &file) {
                                  return writeMappingReportPdf(t.jobView(), file);
                              }));
}

} // namespace zqar
