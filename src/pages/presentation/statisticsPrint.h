#pragma once
// The Statistics table on paper: the table of every position with the window's headings and
// texts, in the order the window shows its rows, over as many pages as it takes with the
// headings on each, under the span and the settings the figures were computed with and over
// the hot and cold spots. Every page ends with the printouts' footer. The Statistics window's
// Print and the batch tool's --print-statistics print it.

#include "core/analysis/statistics.h"
#include "pages/presentation/PagedDocument.h"
#include "platform/CommandOutcome.h"

#include <cstddef>
#include <string>
#include <vector>

namespace zqar {

class Job;
struct JobSettings;
struct RollingMkt;

namespace platform {
class Host;
class PrintTarget;
} // namespace platform

struct PrintedStatistics {
    const MappingStatistics &statistics;
    StatisticsSettings settings; // what the figures were computed with
    // Indices into statistics.positions in the order the rows are shown; empty: table order.
    std::vector<std::size_t> order;
    std::vector<std::string> notes; // the lines under the table (statisticsNotes)
    std::string projectDescription;
};

// The lines under the statistics table: the hot and cold spots, then the highest rolling MKT
// when one was computed and found.
std::vector<std::string> statisticsNotes(const MappingStatistics &statistics,
                                         const RollingMkt *rollingMkt);

// The table as the window shows it: the window's headings, its texts of the figures, and the
// rows in the order given. An index outside the positions is passed over.
PagedDocument::Table statisticsWindowTable(const MappingStatistics &statistics,
                                           const std::vector<std::size_t> &order);

// Prints the table as one document on printer; answers the number of pages. now is the day
// number the footers give as the printed-on date.
int printStatisticsTable(platform::PrintTarget &printer, const PrintedStatistics &printed,
                         double now);

// The window's Print: the print dialog, then the table. Cancelled when the dialog was.
CommandOutcome printStatistics(platform::Host &host, const PrintedStatistics &printed, double now);

// The batch tool's print: the statistics calculated as --statistics-csv calculates them (a
// failure shows its message box and prints nothing), printed in table order.
CommandOutcome printJobStatistics(const Job &job, const JobSettings &settings, platform::Host &host,
                                  double now);

} // namespace zqar
