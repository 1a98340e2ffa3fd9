#include "core/data/LogFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace zqar;
using zqar::testing::DtaFile;
using zqar::testing::TempDir;

namespace {

LogFile read(const TempDir &dir, const DtaFile &dta, int channel = 1) {
    LogFile record;
    record.readLogFile(dir.write("a.dta", dta.text()), channel);
    return record;
}

} // namespace

TEST(ReadLogFile, ReadsHeaderCommentsAndSamples) {
    TempDir dir;
    DtaFile dta;
    dta.comments[0] = "Project 17";
    dta.comments[1] = "R2C3";
    dta.samples({20.5, 21.25, -3e-1});
    const LogFile record = read(dir, dta);
    EXPECT_EQ(record.fileName.view(), dir.file("a.dta"));
    EXPECT_EQ(record.loggerName.view(), "4711");
    EXPECT_EQ(record.samplePeriod, 60.0);
    EXPECT_EQ(record.valueCount, 3);
    ASSERT_EQ(record.values.size(), 3u);
    EXPECT_EQ(record.values[0], 20.5);
    EXPECT_EQ(record.values[1], 21.25);
    EXPECT_EQ(record.values[2], -0.3);
    EXPECT_EQ(record.channel, 1);
    EXPECT_EQ(record.startTime.status, DATE_VALID);
    // 5 November 2003 is day 37930; 14:30 is 52200 seconds.
    EXPECT_EQ(record.startTime(), 37930.0 + 52200.0 / 86400.0);
    // CR LF reads as LF, and the line end stays with the comment.
    EXPECT_EQ(record.comments[0].view(), "Project 17\n");
    EXPECT_EQ(record.comments[1].view(), "R2C3\n");
    EXPECT_EQ(record.comments[2].view(), "\n");
}

TEST(ReadLogFile, UnitLineDecidesThePeriodCaseSensitively) {
    struct Case {
        const char *unit;
        const char *period;
        double seconds;
    } cases[] = {
        {"minutes", "2", 120.0}, {"min", "1.5", 90.0}, {"hrs", "2", 7200.0},
        {"Hrs", "2", 2.0},       {"MIN", "2", 2.0},    {"seconds", " 10.5e0x", 10.5},
        {"mi", "5", 5.0},        {"min", "abc", 0.0},
    };
    TempDir dir;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.unit);
        DtaFile dta;
        dta.unit = c.unit;
        dta.period = c.period;
        dta.samples({1});
        EXPECT_EQ(read(dir, dta).samplePeriod, c.seconds);
    }
}

TEST(ReadLogFile, LoggerNameIsCutAtTheFirstUnderscore) {
    TempDir dir;
    DtaFile dta;
    dta.name = "4711_A_B";
    dta.samples({1});
    EXPECT_EQ(read(dir, dta).loggerName.view(), "4711");
    dta.name = "SN 0042";
    EXPECT_EQ(read(dir, dta).loggerName.view(), "SN 0042");
}

TEST(ReadLogFile, LfLineEndsReadLikeCrLf) {
    TempDir dir;
    DtaFile dta;
    dta.lineEnd = "\n";
    dta.comments[3] = "S2";
    dta.samples({7, 8});
    const LogFile record = read(dir, dta);
    EXPECT_EQ(record.loggerName.view(), "4711");
    EXPECT_EQ(record.comments[3].view(), "S2\n");
    EXPECT_EQ(record.values, (std::vector<double>{7, 8}));
}

TEST(ReadLogFile, ChannelTwoTakesTheNumberAfterTheSecondBlank) {
    TempDir dir;
    DtaFile dta;
    dta.sampleLines = {"1 20.5 30.25", "2 21", "3  22.5", "4 23 x"};
    const LogFile one = read(dir, dta, 1);
    EXPECT_EQ(one.values, (std::vector<double>{20.5, 21, 22.5, 23}));
    const LogFile two = read(dir, dta, 2);
    EXPECT_EQ(two.channel, 2);
    // One blank only gives 0; two blanks in a row make channel 2 read the first value.
    EXPECT_EQ(two.values, (std::vector<double>{30.25, 0, 22.5, 0}));
    EXPECT_EQ(two.label(), "4711,2");
    EXPECT_EQ(one.label(), "4711");
}

TEST(ReadLogFile, ChannelTwoOfAOneChannelFileGivesZeros) {
    TempDir dir;
    DtaFile dta;
    dta.samples({20, 21, 22});
    EXPECT_EQ(read(dir, dta, 2).values, (std::vector<double>{0, 0, 0}));
}

TEST(ReadLogFile, SampleTextThatIsNoNumberReadsAsZero) {
    TempDir dir;
    DtaFile dta;
    dta.sampleLines = {"1 abc", "2 inf", "3 nan", "4 0x10", "5 +4.5e1", "6 .5", "7 \t-2"};
    EXPECT_EQ(read(dir, dta).values, (std::vector<double>{0, 0, 0, 0, 45, 0.5, -2}));
}

TEST(ReadLogFile, ShortFileGivesTheEmptiedRecord) {
    TempDir dir;
    DtaFile dta;
    dta.samples({1, 2, 3});
    dta.count = "4";
    dta.comments[0] = "R1C1";
    const LogFile record = read(dir, dta, 2);
    EXPECT_EQ(record.fileName.view(), "?");
    EXPECT_EQ(record.valueCount, 0);
    EXPECT_TRUE(record.values.empty());
    EXPECT_EQ(record.channel, 1);
    EXPECT_EQ(record.samplePeriod, 0.0);
    EXPECT_EQ(record.comments[0].view(), "");
    // The header's name and start time stay.
    EXPECT_EQ(record.loggerName.view(), "4711");
    EXPECT_EQ(record.startTime(), 37930.0 + 52200.0 / 86400.0);
}

TEST(ReadLogFile, SampleLineWithoutABlankEmptiesTheRecord) {
    TempDir dir;
    DtaFile dta;
    dta.sampleLines = {"1 20", "2\t21", "3 22"};
    EXPECT_EQ(read(dir, dta).valueCount, 0);
    EXPECT_EQ(read(dir, dta).fileName.view(), "?");
}

TEST(ReadLogFile, ExtraLinesAfterTheSamplesAreIgnored) {
    TempDir dir;
    DtaFile dta;
    dta.samples({1, 2, 3});
    dta.count = "2";
    EXPECT_EQ(read(dir, dta).values, (std::vector<double>{1, 2}));
}

TEST(ReadLogFile, LinesLongerThanTheBufferAreSplit) {
    TempDir dir;
    DtaFile dta;
    // A 400-character comment line takes two lines: the rest of it becomes comment 2, and
    // every later line shifts by one.
    dta.comments[0] = std::string(299, 'x') + "R2C2";
    dta.comments[1] = "second";
    dta.comments[2] = "third";
    dta.comments[3] = "x 1";
    dta.dataLine = "0 99";
    dta.samples({5, 6});
    const LogFile record = read(dir, dta);
    EXPECT_EQ(record.comments[0].view(), std::string(299, 'x'));
    EXPECT_EQ(record.comments[1].view(), "R2C2\n");
    EXPECT_EQ(record.comments[2].view(), "second\n");
    EXPECT_EQ(record.comments[3].view(), "third\n");
    // The old comment 4 is ignored as line 17, and the old line 17 is the first sample.
    EXPECT_EQ(record.values, (std::vector<double>{99, 5}));
}

TEST(ReadLogFile, LineOfExactlyTheBufferSizeKeepsItsLineEnd) {
    TempDir dir;
    DtaFile dta;
    dta.dataLine = "0 99";
    dta.comments[0] = std::string(298, 'y'); // 298 characters and the LF fill 299
    dta.samples({5});
    const LogFile record = read(dir, dta);
    EXPECT_EQ(record.comments[0].view(), std::string(298, 'y') + "\n");
    EXPECT_EQ(record.values, (std::vector<double>{5}));

    dta.comments[0] = std::string(299, 'y'); // one more: the LF becomes a line of its own
    const LogFile shifted = read(dir, dta);
    EXPECT_EQ(shifted.comments[0].view(), std::string(299, 'y'));
    EXPECT_EQ(shifted.comments[1].view(), "\n");
}

TEST(ReadLogFile, LastLineWithoutLineEnd) {
    TempDir dir;
    DtaFile dta;
    dta.samples({1, 2});
    std::string text = dta.text();
    text.resize(text.size() - 2);
    LogFile record;
    record.readLogFile(dir.write("x.dta", text), 1);
    EXPECT_EQ(record.values, (std::vector<double>{1, 2}));
}

TEST(ReadLogFile, StartTimeValidity) {
    struct Case {
        const char *y, *mo, *d, *h, *mi, *s;
        bool valid;
    } cases[] = {
        {"2003", "2", "29", "0", "0", "0", false},    {"2004", "2", "29", "0", "0", "0", true},
        {"1900", "2", "29", "0", "0", "0", false},    {"2000", "2", "29", "0", "0", "0", true},
        {"2003", "13", "1", "0", "0", "0", false},    {"2003", "0", "1", "0", "0", "0", false},
        {"2003", "4", "31", "0", "0", "0", false},    {"2003", "1", "1", "24", "0", "0", false},
        {"2003", "1", "1", "23", "60", "0", false},   {"2003", "1", "1", "23", "59", "60", false},
        {"2003", "1", "1", "-1", "0", "0", false},    {"10000", "1", "1", "0", "0", "0", false},
        {"9999", "12", "31", "23", "59", "59", true},
    };
    TempDir dir;
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.y) + "-" + c.mo + "-" + c.d + " " + c.h + ":" + c.mi + ":" +
                     c.s);
        DtaFile dta;
        dta.year = c.y, dta.month = c.mo, dta.day = c.d, dta.hour = c.h, dta.minute = c.mi,
        dta.second = c.s;
        dta.samples({1});
        const LogFile record = read(dir, dta);
        EXPECT_EQ(record.startTime.status, c.valid ? DATE_VALID : DATE_INVALID);
        // An invalid start keeps the day number it had: 0 for a new record.
        if (!c.valid) {
            EXPECT_EQ(record.startTime(), 0.0);
        }
        EXPECT_EQ(record.valueCount, 1);
    }
}

TEST(ReadLogFile, InvalidStartKeepsTheDayNumberOfAnEarlierRead) {
    TempDir dir;
    DtaFile good;
    good.samples({1});
    LogFile record;
    record.readLogFile(dir.write("good.dta", good.text()), 1);
    const double before = record.startTime();
    DtaFile bad = good;
    bad.month = "2", bad.day = "29";
    record.readLogFile(dir.write("bad.dta", bad.text()), 1);
    EXPECT_EQ(record.startTime.status, DATE_INVALID);
    EXPECT_EQ(record.startTime(), before);
}

TEST(ReadLogFile, TwoDigitYearIsAYearOfTheFirstCentury) {
    TempDir dir;
    DtaFile dta;
    dta.year = "3", dta.month = "1", dta.day = "1", dta.hour = "0", dta.minute = "0";
    dta.samples({1});
    const LogFile record = read(dir, dta);
    EXPECT_EQ(record.startTime.status, DATE_VALID);
    EXPECT_EQ(formatDateTime(record.startTime()), "01-Jan-0003 12:00AM");
}

// ---- Bad input ----------------------------------------------------------------------

TEST(ReadLogFileBadInput, FileThatCannotBeOpenedKeepsPathAndChannel) {
    TempDir dir;
    LogFile record;
    record.readLogFile(dir.file("missing.dta"), 2);
    EXPECT_EQ(record.fileName.view(), dir.file("missing.dta"));
    EXPECT_EQ(record.channel, 2);
    EXPECT_EQ(record.valueCount, 0);
    EXPECT_TRUE(record.values.empty());
    EXPECT_EQ(record.loggerName.view(), "");
}

TEST(ReadLogFileBadInput, EmptyTruncatedAndBinaryFiles) {
    TempDir dir;
    DtaFile dta;
    dta.samples({1, 2});
    const std::string full = dta.text();
    std::string binary;
    for (int i = 0; i < 100000; ++i)
        binary += static_cast<char>((i * 7919) % 256);
    const std::string inputs[] = {
        "",
        "\n",
        full.substr(0, 40),
        std::string("\0\0\0\n", 4),
        binary,
        std::string(5000, '\n'),
        std::string(100000, 'z'),
    };
    for (const auto &input : inputs) {
        LogFile record;
        record.readLogFile(dir.write("bad.dta", input), 1);
        EXPECT_EQ(record.valueCount, static_cast<int32_t>(record.values.size()));
        EXPECT_LE(record.valueCount, 100000);
    }
}

TEST(ReadLogFileBadInput, HeaderCutShortGivesTheEmptiedRecord) {
    TempDir dir;
    DtaFile dta;
    dta.samples({1});
    const std::string text = dta.text();
    // Lines 1 and 2 only.
    LogFile record;
    record.readLogFile(dir.write("short.dta", text.substr(0, text.find("sec"))), 1);
    EXPECT_EQ(record.fileName.view(), "?");
    EXPECT_EQ(record.loggerName.view(), "4711");
    EXPECT_EQ(record.valueCount, 0);
}

TEST(ReadLogFileBadInput, NegativeCountGivesTheEmptiedRecord) {
    TempDir dir;
    DtaFile dta;
    dta.samples({1, 2});
    dta.count = "-5";
    const LogFile record = read(dir, dta);
    EXPECT_EQ(record.valueCount, 0);
    EXPECT_EQ(record.fileName.view(), "?");
}

// The time such a read takes is measured in bench/readLogFileBench.cpp.
TEST(ReadLogFileBadInput, TheOutcomeSaysHowTheReadWentAndKeepsTheCommentsOfShortSamples) {
    TempDir dir;
    DtaFile whole;
    whole.comments[0] = "R2C3,S1";
    whole.samples({1, 2});
    DtaFile shortSamples = whole;
    shortSamples.count = "3";
    const std::string text = whole.text();
    const struct {
        const char *name;
        std::string path;
        LogReadStatus status;
    } cases[] = {
        {"whole", dir.write("whole.dta", text), LogReadStatus::Read},
        {"missing", dir.file("missing.dta"), LogReadStatus::NotOpened},
        {"header", dir.write("header.dta", text.substr(0, text.find("R2C3"))),
         LogReadStatus::HeaderShort},
        {"samples", dir.write("samples.dta", shortSamples.text()), LogReadStatus::SamplesShort},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        LogFile record;
        const LogReadOutcome outcome = record.readLogFile(c.path, 1);
        EXPECT_EQ(outcome.status, c.status);
        const bool kept = c.status == LogReadStatus::SamplesShort;
        EXPECT_EQ(outcome.commentsRead[0].view(), kept ? "R2C3,S1\n" : "");
        const CommentPosition one = positionInComments(outcome.commentsRead, 1);
        const CommentPosition two = positionInComments(outcome.commentsRead, 2);
        EXPECT_EQ(one.found, kept);
        EXPECT_EQ(two.found, kept);
        if (kept) {
            EXPECT_EQ(one.row * 10 + one.col, 23);
            EXPECT_EQ(two.row, -1);
            EXPECT_EQ(two.col, 1);
            EXPECT_EQ(record.comments[0].view(), "") << "the record itself is emptied";
        }
    }
}

TEST(ReadLogFileBadInput, HugeAnnouncedCountAllocatesNothingLarge) {
    TempDir dir;
    DtaFile dta;
    dta.samples({1, 2, 3});
    dta.count = "2000000000";
    const LogFile record = read(dir, dta);
    EXPECT_EQ(record.valueCount, 0);
    EXPECT_TRUE(record.values.empty());
    EXPECT_LT(record.values.capacity(), 1000u);
}

TEST(ReadLogFileBadInput, ZeroBytesInALine) {
    TempDir dir;
    DtaFile dta;
    dta.sampleLines = {"1 20", std::string("2\0 21", 5), "3 22"};
    // A C string ends at the zero byte, so the second line holds no blank.
    EXPECT_EQ(read(dir, dta).valueCount, 0);
    dta.sampleLines = {"1 20",
                       std::string("2 \0"
                                   "21",
                                   5),
                       "3 22"};
    EXPECT_EQ(read(dir, dta).values, (std::vector<double>{20, 0, 22}));
}

TEST(ReadLogFileBadInput, DirectoryInsteadOfAFile) {
    TempDir dir;
    LogFile record;
    record.readLogFile(dir.path().string(), 1);
    EXPECT_EQ(record.valueCount, 0);
}

TEST(ReadLogFileBadInput, BytesInMemoryReadAsTheSameFileDoes) {
    TempDir dir;
    DtaFile dta;
    dta.comments[1] = "R2C3,S1";
    for (int i = 0; i < 3000; ++i)
        dta.sampleLines.push_back(std::to_string(i) + " " + std::to_string(i % 97) + ".25 1.5");
    const std::string full = dta.text();
    std::string longLines = full;
    longLines.insert(longLines.size() / 2, std::string(1000, '7'));
    const std::string inputs[] = {full,
                                  full.substr(0, full.size() - 2),
                                  full.substr(0, 100),
                                  longLines,
                                  std::string(600000, '\n'),
                                  "",
                                  std::string("a\rb\r\n\0c d\n", 10)};
    for (int channel = 1; channel <= 2; ++channel) {
        for (const std::string &input : inputs) {
            SCOPED_TRACE(std::to_string(input.size()) + " bytes, channel " +
                         std::to_string(channel));
            LogFile fromFile;
            fromFile.readLogFile(dir.write("m.dta", input), channel);
            LogFile fromBytes;
            fromBytes.readLogBytes(input, dir.file("m.dta"), channel);
            EXPECT_EQ(fromBytes.fileName.view(), fromFile.fileName.view());
            EXPECT_EQ(fromBytes.loggerName.view(), fromFile.loggerName.view());
            EXPECT_EQ(fromBytes.valueCount, fromFile.valueCount);
            EXPECT_EQ(fromBytes.values, fromFile.values);
            EXPECT_EQ(fromBytes.samplePeriod, fromFile.samplePeriod);
            EXPECT_EQ(fromBytes.startTime(), fromFile.startTime());
            for (int i = 0; i < COMMENT_LINES; ++i)
                EXPECT_EQ(fromBytes.comments[i].view(), fromFile.comments[i].view());
        }
    }
}

// ---- Positions in comment lines -------------------------------------------------------

TEST(PositionFromComments, FindsArrayPositionsAndSingularSlots) {
    struct Case {
        const char *comment;
        int channel;
        bool found;
        int row, col;
    } cases[] = {
        {"R3C4,S2", 1, true, 3, 4},  {"R3C4,S2", 2, true, -1, 2},   {"S2,R3C4", 1, true, 3, 4},
        {"S2,R3C4", 2, true, 3, 4},  {"Room R3C4", 1, false, 0, 0}, {"R0C4", 1, false, 0, 0},
        {"R0C4 S3", 1, true, -1, 3}, {"R2C3,R2C4", 2, true, 2, 4},  {"R2C3", 2, false, 0, 0},
        {"S0", 1, false, 0, 0},      {"R 2C 5", 1, true, 2, 5},     {"r2c5", 1, false, 0, 0},
        {"R-1C2", 1, false, 0, 0},   {"RxC2 S1", 1, true, -1, 1},   {"", 1, false, 0, 0},
    };
    TempDir dir;
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.comment) + " channel " + std::to_string(c.channel));
        DtaFile dta;
        dta.comments[1] = c.comment;
        dta.samples({1});
        const CommentPosition position = read(dir, dta).positionFromComments(c.channel);
        EXPECT_EQ(position.found, c.found);
        if (c.found) {
            EXPECT_EQ(position.row, c.row);
            EXPECT_EQ(position.col, c.col);
        }
    }
}

TEST(PositionFromComments, LinesAreTriedInOrder) {
    TempDir dir;
    DtaFile dta;
    dta.comments[0] = "Room 12";
    dta.comments[1] = "no position";
    dta.comments[2] = "S4";
    dta.comments[3] = "R1C1";
    dta.samples({1});
    const CommentPosition position = read(dir, dta).positionFromComments(1);
    EXPECT_TRUE(position.found);
    EXPECT_EQ(position.row, -1);
    EXPECT_EQ(position.col, 4);
}
