#pragma once
// The main window on the in-memory backend, initialised as at start-up, for page tests.
// Every message box must be taken by the test that expects it; one left over fails the test.

#include "app/MainWindow.h"
#include "core/data/dateTime.h"
#include "platform/memory/MemoryHost.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace zqar::testing {

class PageTest : public ::testing::Test {
protected:
    PageTest() : window(host) { window.initialise(); }

    void TearDown() override {
        for (const auto &message : host.takeMessages())
            ADD_FAILURE() << "unexpected message box " << message.caption << ": " << message.text;
        for (platform::Page *page : window.pages())
            for (int id : host.dialogOf(*page).unknownIds())
                ADD_FAILURE() << "page " << page->templateId << " used control " << id
                              << ", which its template does not have";
    }

    // The one message box the last command showed.
    platform::RecordedMessage takeMessage() {
        const auto messages = host.takeMessages();
        EXPECT_EQ(messages.size(), 1u);
        return messages.empty() ? platform::RecordedMessage{} : messages.back();
    }

    platform::MemoryDialog &fileSelection() { return host.dialogOf(window.fileSelectionPage); }
    platform::MemoryDialog &dataFilter() { return host.dialogOf(window.dataFilterPage); }
    platform::MemoryDialog &matrix() { return host.dialogOf(window.matrixPage); }
    platform::MemoryDialog &graph() { return host.dialogOf(window.graphPage); }

    // Layout counts typed in and Update Layout pressed.
    void layout(const std::string &rows, const std::string &columns, const std::string &singular) {
        fileSelection().setText(FileSelectionPage::NUMBER_OF_ROWS, rows);
        fileSelection().setText(FileSelectionPage::NUMBER_OF_COLUMNS, columns);
        fileSelection().setText(FileSelectionPage::NUMBER_OF_SINGULAR, singular);
        fileSelection().click(FileSelectionPage::UPDATE_LAYOUT);
    }

    platform::MemoryHost host;
    MainWindow window;
};

// A record with samples every periodSeconds from start (a day number).
inline std::unique_ptr<LogFile> makeRecord(const std::string &name, double start,
                                           double periodSeconds, std::vector<double> values,
                                           int channel = 1) {
    auto record = std::make_unique<LogFile>();
    record->fileName.assign("/data/" + name + ".dta");
    record->loggerName.assign(name);
    record->startTime.day = start;
    record->samplePeriod = periodSeconds;
    record->channel = channel;
    record->valueCount = static_cast<int32_t>(values.size());
    record->values = std::move(values);
    return record;
}

// 5 November 2003 at the given time.
inline double novemberFifth(int hour, int minute) {
    return dayNumberFromCivil(CivilTime{2003, 11, 5, hour, minute, 0});
}

} // namespace zqar::testing

namespace zqar::testing {

// Every cell of a list, item by item, as many columns as the list has.
inline std::vector<std::vector<std::string>> cells(const platform::ListView &list) {
    std::vector<std::vector<std::string>> rows;
    for (int item = 0; item < list.itemCount(); ++item) {
        std::vector<std::string> row;
        for (int column = 0; column < std::max(list.columnCount(), 1); ++column)
            row.push_back(list.itemText(item, column));
        rows.push_back(row);
    }
    return rows;
}

} // namespace zqar::testing
