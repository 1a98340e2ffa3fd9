#include "core/data/parallelInOrder.h"
#include "core/data/systemCalls.h"
#include "pages/analysis/DataFilterPage.h"
#include "pages/layout/FileSelectionPage.h"
#include "pages/layout/logFileCommands.h"
#include "platform/ListView.h"

#include "support/PageHarness.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <stdexcept>
#include <thread>

using namespace zqar;
using namespace zqar::testing;
using FS = FileSelectionPage;
using DF = DataFilterPage;

namespace {

TEST(ParallelInOrder, HandsOverEveryResultInOrderWhateverFinishesFirst) {
    for (unsigned threads : {1u, 2u, 3u, 8u}) {
        for (std::size_t count : {0u, 1u, 5u, 100u}) {
            SCOPED_TRACE(std::to_string(threads) + " threads, " + std::to_string(count));
            std::vector<std::size_t> seen;
            parallelInOrder<std::size_t>(
                count, threads,
                [](std::size_t i) {
                    // Early items take longest, so later ones finish first.
                    if (i < 4)
                        std::this_thread::sleep_for(std::chrono::milliseconds(4 - i));
                    return i * i;
                },
                [&seen](std::size_t i, std::size_t square) {
                    EXPECT_EQ(square, i * i);
                    seen.push_back(i);
                });
            ASSERT_EQ(seen.size(), count);
            for (std::size_t i = 0; i < count; ++i)
                EXPECT_EQ(seen[i], i);
        }
    }
}

TEST(ParallelInOrder, RunsNoFurtherAheadThanTwiceItsThreads) {
    std::atomic<std::size_t> started{0};
    std::size_t mostAhead = 0;
    parallelInOrder<int>(
        200, 4, [&started](std::size_t) { return static_cast<int>(started++); },
        [&](std::size_t i, int) {
            std::this_thread::sleep_for(std::chrono::microseconds(50));
            mostAhead = std::max(mostAhead, started.load() - i);
        });
    EXPECT_LE(mostAhead, 8u + 1u);
}

TEST(ParallelInOrder, AConsumerThatAnswersFalseStopsTheWorkThere) {
    for (unsigned threads : {1u, 3u}) {
        SCOPED_TRACE(threads);
        std::atomic<std::size_t> produced{0};
        std::vector<std::size_t> seen;
        const bool finished = parallelInOrder<std::size_t>(
            1000, threads, [&produced](std::size_t i) { return ++produced, i; },
            [&seen](std::size_t i, std::size_t) {
                seen.push_back(i);
                return i < 4;
            });
        EXPECT_FALSE(finished);
        EXPECT_EQ(seen, (std::vector<std::size_t>{0, 1, 2, 3, 4}));
        EXPECT_LE(produced.load(), 5u + 2u * threads) << "the pool stopped too";
        EXPECT_TRUE(parallelInOrder<int>(
            3, threads, [](std::size_t) { return 0; }, [](std::size_t, int) { return true; }));
    }
}

TEST(ParallelInOrder, AFailureReachesTheCallerAfterTheResultsBeforeIt) {
    for (unsigned threads : {1u, 2u, 8u}) {
        SCOPED_TRACE(threads);
        std::vector<std::size_t> seen;
        const auto produceFails = [&] {
            parallelInOrder<std::size_t>(
                50, threads,
                [](std::size_t i) {
                    if (i == 7)
                        throw std::runtime_error("unreadable");
                    return i;
                },
                [&seen](std::size_t i, std::size_t) { seen.push_back(i); });
        };
        EXPECT_THROW(produceFails(), std::runtime_error);
        EXPECT_EQ(seen.size(), 7u);

        const auto consumeFails = [&] {
            parallelInOrder<std::size_t>(
                50, threads, [](std::size_t i) { return i; },
                [](std::size_t i, std::size_t) {
                    if (i == 3)
                        throw std::logic_error("stop");
                });
        };
        EXPECT_THROW(consumeFails(), std::logic_error);
    }
}

// Everything a load shows or keeps, as text, so two loads can be compared whole.
struct LoadResult {
    std::vector<std::string> statuses;
    std::vector<std::vector<std::string>> arrayCells;
    std::vector<std::vector<std::string>> singularCells;
    std::vector<std::string> records; // one line per position
    std::vector<std::string> messages;
    std::vector<std::string> dataFilter;
    bool copyEnabled = false;
};

std::string hex(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%a", value);
    return buffer;
}

std::string describe(const LogFile *record) {
    if (!record)
        return "empty";
    std::string text = record->fileName.str() + "|" + record->loggerName.str() + "|" +
                       hex(record->startTime.day) + "|" + std::to_string(record->startTime.status) +
                       "|" + hex(record->samplePeriod) + "|" + std::to_string(record->valueCount) +
                       "|" + std::to_string(record->channel);
    for (const TextField &comment : record->comments)
        text += "|" + comment.str();
    for (double value : record->values)
        text += " " + hex(value);
    return text;
}

// One folder of log files of every kind the load meets, and the layout and filters of a case.
struct Scenario {
    std::string name;
    bool bySerialNumber = true;
    bool singularAsText = false;
    std::string projectNumber;
    bool filterByToday = false;
};

class ParallelLoad : public ::testing::TestWithParam<Scenario> {
protected:
    ParallelLoad() {
        int seed = 0;
        const auto log = [&](const std::string &file, const std::string &logger,
                             const std::string &comment, bool twoChannels = false) {
            DtaFile dta;
            dta.name = logger;
            dta.comments[0] = comment;
            dta.comments[1] = seed % 3 == 0 ? "Project P17" : "Project P18";
            for (int i = 0; i < 5 + seed % 4; ++i) {
                std::string line = std::to_string(i + 1) + " " + std::to_string(10 + seed + i);
                if (twoChannels)
                    line += " " + std::to_string(40 - seed - i) + ".5";
                dta.sampleLines.push_back(line);
            }
            ++seed;
            return dir.write(file, dta.text());
        };
        for (int i = 1; i <= 9; ++i)
            log("a" + std::to_string(i) + ".dta", "L" + std::to_string(i),
                "R" + std::to_string(1 + i % 3) + "C" + std::to_string(1 + i % 4), i % 2 == 0);
        // The same logger in two files: the later file holds its positions at the end.
        log("dup1.dta", "L2", "R1C3");
        log("dup2.dta", "L2", "R1C3,R2C1", true);
        log("ch2.dta", "X", "R2C1,R2C2", true);
        log("same.dta", "same", "R1C4,R1C4", true);
        log("s1.dta", "S1", "S1");
        log("s2.dta", "S2", "R1C1,S2", true);
        log("outside.dta", "L9", "R9C9,S7");
        log("Upper.DTA", "L4", "R3C3");
        for (int i = 10; i <= 24; ++i)
            log("f" + std::to_string(i) + ".dta", "F" + std::to_string(i % 5),
                "R3C" + std::to_string(1 + i % 4));
        dir.write("empty.dta", "");
        dir.write("binary.dta", std::string("\0\x01\xff\n\0zz\r\n", 9) + std::string(700, '\x7f'));
        DtaFile shortHeader;
        shortHeader.name = "L3";
        dir.write("short.dta", shortHeader.text().substr(0, 40));
        DtaFile noBlank;
        noBlank.name = "L5";
        noBlank.comments[0] = "R2C3";
        noBlank.sampleLines = {"1 20.5", "2_21.0"};
        dir.write("noblank.dta", noBlank.text());
        std::filesystem::create_directory(dir.path() / "folder.dta");
        // Last written long ago: the date filter leaves it out.
        const std::string old = log("old.dta", "L1", "R2C4");
        std::filesystem::last_write_time(old, std::filesystem::last_write_time(old) -
                                                  std::chrono::hours(24 * 400));
    }

    LoadResult load(unsigned threads) {
        const Scenario &scenario = GetParam();
        platform::MemoryHost host;
        MainWindow window(host);
        window.initialise();
        FileSelectionPage &page = window.fileSelectionPage;
        platform::MemoryDialog &dialog = host.dialogOf(page);
        dialog.setText(FS::NUMBER_OF_ROWS, "3");
        dialog.setText(FS::NUMBER_OF_COLUMNS, "4");
        dialog.setText(FS::NUMBER_OF_SINGULAR, "2");
        dialog.click(FS::UPDATE_LAYOUT);
        dialog.setText(FS::DIRECTORY, dir.path().string());
        dialog.setText(FS::PROJECT_NUMBER, scenario.projectNumber);
        if (scenario.filterByToday) {
            const std::time_t now = std::time(nullptr);
            std::tm local{};
            zqar::toLocalTime(now, local);
            char date[32];
            std::strftime(date, sizeof date, "%Y-%m-%d", &local);
            dialog.setText(FS::PROJECT_DATE, date);
        }
        dialog.setChecked(FS::USE_SERIAL_NUMBERS, scenario.bySerialNumber);
        dialog.setChecked(FS::USE_COMMENT_FIELD, !scenario.bySerialNumber);
        host.dialogOf(window.dataFilterPage)
            .setChecked(DF::SHOW_SINGULAR_AS_TEXT, scenario.singularAsText);
        const char *cells[3][4] = {
            {"L1", "l1,1", "L2", "X,2"}, {"x", "L5", "L3", "same"}, {"L2,2", "L9", "", "F3"}};
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 4; ++c)
                page.arrayLayoutList().setItemText(r + 1, c + 1, cells[r][c]);
        page.singularLayoutList().setItemText(0, 1, "S1");
        page.singularLayoutList().setItemText(1, 1, "s2,2");

        LoadResult result;
        dialog.onTextChanged = [&](int id) {
            if (id == FS::STATUS)
                result.statuses.push_back(dialog.text(FS::STATUS));
        };
        window.loadFiles(threads);
        result.arrayCells = zqar::testing::cells(page.arrayLayoutList());
        result.singularCells = zqar::testing::cells(page.singularLayoutList());
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 4; ++c)
                result.records.push_back(describe(window.job.loggerArray.at(r, c)));
        for (int s = 0; s < 2; ++s)
            result.records.push_back(describe(window.job.loggerArray.at(-1, s)));
        for (const auto &message : host.takeMessages())
            result.messages.push_back(message.caption + ": " + message.text);
        for (int id : {DF::START_TIME, DF::TIME, DF::FINISH_TIME, DF::AVERAGING_INTERVAL,
                       DF::MINIMUM_TEMPERATURE, DF::MAXIMUM_TEMPERATURE, DF::CONTOUR_SPACING})
            result.dataFilter.push_back(host.dialogOf(window.dataFilterPage).text(id));
        result.copyEnabled = dialog.isEnabled(FS::COPY_FILES);
        return result;
    }

    TempDir dir;
};

TEST_P(ParallelLoad, GivesWhatOneThreadGives) {
    const LoadResult alone = load(1);
    // The case must place something, or there is nothing to compare.
    EXPECT_GT(alone.statuses.size(), 10u);
    EXPECT_TRUE(alone.copyEnabled);
    for (unsigned threads : {2u, 3u, 8u}) {
        SCOPED_TRACE(threads);
        const LoadResult pooled = load(threads);
        EXPECT_EQ(pooled.statuses, alone.statuses);
        EXPECT_EQ(pooled.arrayCells, alone.arrayCells);
        EXPECT_EQ(pooled.singularCells, alone.singularCells);
        EXPECT_EQ(pooled.records, alone.records);
        EXPECT_EQ(pooled.messages, alone.messages);
        EXPECT_EQ(pooled.dataFilter, alone.dataFilter);
        EXPECT_EQ(pooled.copyEnabled, alone.copyEnabled);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Scans, ParallelLoad,
    ::testing::Values(Scenario{"SerialNumbers", true, false, "", false},
                      Scenario{"SerialNumbersOfOneProject", true, false, "P17", false},
                      Scenario{"SerialNumbersWrittenToday", true, false, "", true},
                      Scenario{"CommentField", false, false, "", false},
                      Scenario{"CommentFieldSingularsAsText", false, true, "", false},
                      Scenario{"CommentFieldOfOneProjectToday", false, false, "P18", true}),
    [](const ::testing::TestParamInfo<Scenario> &info) { return info.param.name; });

} // namespace
