#pragma once
// The Matrix tab: the current set as numbers, the array with its border ring in one list and
// the singular loggers in another, navigation through the sets, and the CSV export. The
// lists are shaped by the File Selection page's Update Layout and written only on request.

#include "platform/CommandOutcome.h"
#include "platform/Page.h"

#include <string>

namespace zqar {

class MainWindow;

namespace platform {
class ListView;
}

class MatrixPage : public platform::Page {
public:
    enum Control : int {
        STATUS = 1005,
        ARRAY_LIST = 1007,
        SINGULAR_LIST = 1008,
        FIRST = 1009,
        PREVIOUS = 1010,
        NEXT = 1011,
        LAST = 1012,
        PRINT = 1013,
        EXPORT = 1014,
    };

    static constexpr int SINGULAR_COLUMN_WIDTH = 50; // pixels

    explicit MatrixPage(MainWindow &window);

    MainWindow &window;

    // The singular list's two columns.
    void initialise() override;
    void resized(int width, int height) override;

    void showCurrentSet();
    void onFirst();
    void onPrevious();
    void onNext();
    void onLast();
    // Prints the page; defined with the printing code.
    CommandOutcome onPrint();
    CommandOutcome onExport();

    // The lists as the page shows them, comma-separated, "\r\n" after every line.
    std::string csvText();

    platform::ListView &arrayList();
    platform::ListView &singularList();
};

} // namespace zqar
