#pragma once
// The Matrix tab: the current set as numbers, the array with its border ring in one list and
// the singular loggers in another, navigation through the sets, and the CSV export. The
// lists are shaped by the File Selection page's Update Layout and written only on request.

#include "core/job/JobSettings.h"
#include "pages/presentation/SetPage.h"
#include "platform/CommandOutcome.h"
#include "resources/controlIds.h"

#include <functional>
#include <string>

namespace zqar {

class Job;
class TemperatureSet;

namespace platform {
class Host;
class ListView;
} // namespace platform

// The set's values written into lists shaped by Update Layout (the ring blank when the
// loggers stand on the boundary), and those lists as the export writes them.
void showSetInLists(platform::ListView &arrayList, platform::ListView &singularList,
                    const TemperatureSet &set, const ArrayDimensions &dimensions,
                    bool loggersOnBoundary);
std::string listsCsv(const platform::ListView &arrayList, const platform::ListView &singularList,
                     const ArrayDimensions &dimensions);
// What the page's export writes when it shows set: the same lists, made without the page.
std::string matrixCsv(const TemperatureSet &set, const ArrayDimensions &dimensions,
                      bool loggersOnBoundary);

class MatrixPage : public SetPage, public MatrixControls {
public:
    static constexpr int SINGULAR_COLUMN_WIDTH = 50; // pixels

    // readSettings gives every page's settings when the page shows a set.
    MatrixPage(Job &job, platform::Host &host, std::function<JobSettings()> readSettings);

    // The singular list's two columns.
    void initialise() override;
    void resized(int width, int height) override;

    void showCurrentSet() override;
    void onFirst() { navigator.first(); }
    void onPrevious() { navigator.previous(); }
    void onNext() { navigator.next(); }
    void onLast() { navigator.last(); }
    // Prints the page; defined with the printing code.
    CommandOutcome onPrint();
    CommandOutcome onExport();

    // The lists as the page shows them, comma-separated, "\r\n" after every line.
    std::string csvText();

    platform::ListView &arrayList();
    platform::ListView &singularList();
};

} // namespace zqar
