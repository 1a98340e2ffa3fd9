#include "pages/presentation/statisticsPrint.h"

#include "core/analysis/rollingMkt.h"
#include "core/analysis/statisticsColumns.h"
#include "core/analysis/statisticsCsv.h"
#include "core/data/dateTime.h"
#include "pages/analysis/statisticsCommands.h"
#include "pages/presentation/MappingReport.h"
#include "platform/Host.h"
#include "resources/format.h"
#include "resources/mappingReportTexts.h"
#include "resources/strings.h"

#include <memory>
#include <utility>

namespace zqar {

namespace {

// The span and the settings the figures hold for, as the mapping report's title page names
// them.
std::vector<std::pair<std::string, std::string>> settingFacts(const PrintedStatistics &printed) {
    const StatisticsSettings &settings = printed.settings;
    return {
        {std::string(text::FACT_START), formatDateTime(printed.statistics.start)},
        {std::string(text::FACT_FINISH), formatDateTime(printed.statistics.finish)},
        {std::string(text::FACT_LOWER_LIMIT), limitText(settings.lowerLimit)},
        {std::string(text::FACT_UPPER_LIMIT), limitText(settings.upperLimit)},
        {std::string(text::FACT_ACTIVATION_ENERGY),
         text::format(text::ACTIVATION_ENERGY_VALUE, plainNumber(settings.activationEnergy))},
    };
}

} // namespace

std::vector<std::string> statisticsNotes(const MappingStatistics &statistics,
                                         const RollingMkt *rollingMkt) {
    std::vector<std::string> notes = spotLines(statistics);
    if (rollingMkt) {
        std::string line = highestRollingMktLine(*rollingMkt);
        if (!line.empty())
            notes.push_back(std::move(line));
    }
    return notes;
}

PagedDocument::Table statisticsWindowTable(const MappingStatistics &statistics,
                                           const std::vector<std::size_t> &order) {
    PagedDocument::Table table;
    for (const StatisticsColumn &column : STATISTICS_COLUMNS)
        table.columns.push_back({windowHeading(column), column.alignment == ColumnAlignment::Left
                                                            ? PagedDocument::Align::Left
                                                            : PagedDocument::Align::Right});
    const std::size_t count = statistics.positions.size();
    if (order.empty()) {
        for (const PositionStatistics &position : statistics.positions)
            table.rows.push_back(windowRow(position));
        return table;
    }
    for (const std::size_t index : order)
        if (index < count)
            table.rows.push_back(windowRow(statistics.positions[index]));
    return table;
}

int printStatisticsTable(platform::PrintTarget &printer, const PrintedStatistics &printed,
                         double now) {
    const std::string &description = printed.projectDescription;
    const std::string title(text::STATISTICS_HEADING);
    // Measuring every cell is the slow part; the table is made once for both passes.
    const PagedDocument::Table table = statisticsWindowTable(printed.statistics, printed.order);
    const auto facts = settingFacts(printed);
    const auto content = [&](PagedDocument &document) {
        document.addTitle(title);
        if (!description.empty())
            document.addSubtitle(description);
        document.addFacts(facts);
        document.addTable(table);
        for (const std::string &note : printed.notes)
            document.addParagraph(note);
    };
    printer.startDocument(title);
    const int pages = PagedDocument::print(
        printer, PagedDocument::printedFooter(now, description.empty() ? title : description),
        content);
    printer.endDocument();
    return pages;
}

CommandOutcome printStatistics(platform::Host &host, const PrintedStatistics &printed, double now) {
    const std::unique_ptr<platform::PrintTarget> printer = host.choosePrinter();
    if (!printer)
        return CommandOutcome::cancelled();
    printStatisticsTable(*printer, printed, now);
    return CommandOutcome::completed();
}

CommandOutcome printJobStatistics(const Job &job, const JobSettings &settings, platform::Host &host,
                                  double now) {
    const StatisticsRun run = calculateStatistics(job, settings, host);
    if (run.outcome.kind != CommandOutcome::Kind::Completed)
        return run.outcome;
    const PrintedStatistics printed{
        run.statistics,
        run.settings,
        {},
        statisticsNotes(run.statistics, run.rollingMkt ? &*run.rollingMkt : nullptr),
        settings.layout.projectDescription};
    return printStatistics(host, printed, now);
}

} // namespace zqar
