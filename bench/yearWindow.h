#pragma once
// The window on the memory backend with a 6 x 4 array and 2 singular slots whose cells name
// the 26 year loggers by serial number, for the benchmarks that load the year.

#include "yearOfLogs.h"

#include "app/MainWindow.h"
#include "pages/layout/FileSelectionPage.h"
#include "pages/layout/logFileCommands.h"
#include "platform/ListView.h"
#include "platform/memory/MemoryHost.h"

namespace zqar::bench {

struct YearWindow {
    platform::MemoryHost host;
    MainWindow window{host};

    YearWindow() {
        window.initialise();
        platform::Dialog &page = window.fileSelectionPage.dialog();
        page.setText(FileSelectionPage::DIRECTORY, yearOfLogs().directory);
        page.setChecked(FileSelectionPage::USE_COMMENT_FIELD, false);
        page.setChecked(FileSelectionPage::USE_SERIAL_NUMBERS, true);
        window.fileSelectionPage.updateLayout();
    }
    // Load Files marks empty cells with "-", so the names go in before every load.
    void nameCells() {
        const auto &names = yearOfLogs().loggerNames;
        auto &arrayList = window.fileSelectionPage.arrayLayoutList();
        auto &singularList = window.fileSelectionPage.singularLayoutList();
        for (int i = 0; i < 24; ++i)
            arrayList.setItemText(i / 4 + 1, i % 4 + 1, names[static_cast<std::size_t>(i)]);
        singularList.setItemText(0, 1, names[24]);
        singularList.setItemText(1, 1, names[25]);
    }
    // threads: 0 for one per hardware thread.
    void loadFiles(unsigned threads = 0) {
        nameCells();
        window.loadFiles(threads);
    }
    bool loadedAll() {
        return window.fileSelectionPage.dialog().text(FileSelectionPage::STATUS) ==
               "26 files were loaded.";
    }
    int placedCount() const {
        int placed = 0;
        window.job.loggerArray.forEachPlaced([&placed](const LogFile &) { ++placed; });
        return placed;
    }
};

} // namespace zqar::bench
