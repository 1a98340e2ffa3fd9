// Reports read from files and written to them as they go, without the whole file in memory.
#include "core/data/reportFile.h"
#include "resources/strings.h"

#include "support/FileBytes.h"
#include "support/PageHarness.h"
#include "support/TempDir.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <new>
#include <sstream>

using namespace zqar;
using namespace zqar::testing;

namespace {

// The largest single request to operator new on this thread while `watching` is set. The
// replacement below serves the whole test program and only looks on when asked.
thread_local bool watching = false;
thread_local std::size_t largestRequest = 0;

void *watchedAllocation(std::size_t size) noexcept {
    if (watching && size > largestRequest)
        largestRequest = size;
    return std::malloc(size == 0 ? 1 : size);
}

} // namespace

// Every plain form goes through malloc and free, so no allocation meets a release of another
// kind (a sanitizer build checks that). The aligned forms stay as they are.
void *operator new(std::size_t size) {
    if (void *p = watchedAllocation(size))
        return p;
    throw std::bad_alloc();
}
void *operator new[](std::size_t size) {
    if (void *p = watchedAllocation(size))
        return p;
    throw std::bad_alloc();
}
void *operator new(std::size_t size, const std::nothrow_t &) noexcept {
    return watchedAllocation(size);
}
void *operator new[](std::size_t size, const std::nothrow_t &) noexcept {
    return watchedAllocation(size);
}
void operator delete(void *p) noexcept { std::free(p); }
void operator delete[](void *p) noexcept { std::free(p); }
void operator delete(void *p, std::size_t) noexcept { std::free(p); }
void operator delete[](void *p, std::size_t) noexcept { std::free(p); }
void operator delete(void *p, const std::nothrow_t &) noexcept { std::free(p); }
void operator delete[](void *p, const std::nothrow_t &) noexcept { std::free(p); }

namespace {

void putInt32(std::string &bytes, std::size_t at, int32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>((static_cast<uint32_t>(value) >> (8 * i)) & 0xFF);
}

// A 2 x 2 array with one singular slot: three records, one with more samples than one piece of
// the writer holds, one without samples, and two empty positions.
LoggerArray sampleArray() {
    LoggerArray array;
    array.resize(2, 2, 1);
    std::vector<double> many(100000);
    for (std::size_t i = 0; i < many.size(); ++i)
        many[i] = 20.0 + static_cast<double>(i % 977) / 64.0;
    array.place(0, 1, makeRecord("1001", novemberFifth(10, 0), 60, many));
    array.place(1, 0, makeRecord("1002", novemberFifth(10, 0), 60, {}));
    array.place(-1, 0, makeRecord("1003", novemberFifth(11, 0), 30, {-1.5, 0.25}, 2));
    return array;
}

ReportFields sampleFields() {
    ReportFields fields;
    fields[1] = "/data/job 17";
    fields[REPORT_ROWS_FIELD] = "2";
    fields[REPORT_COLUMNS_FIELD] = "2";
    fields[REPORT_SINGULAR_FIELD] = "1";
    fields[19] = "Y";
    return fields;
}

// Where the first record's sample count sits: after the fields, one empty position's flag
// and the record's own flag.
constexpr std::size_t FIRST_COUNT = REPORT_ARRAY_OFFSET + 2 * REPORT_FLAG_SIZE + 1824;

} // namespace

TEST(ReportStream, WritingToAFileGivesTheBytesOfTheValue) {
    TempDir temp;
    const LoggerArray array = sampleArray();
    const std::string expected = writeReport(sampleFields(), array);
    EXPECT_EQ(expected.size(), REPORT_ARRAY_OFFSET + 5 * REPORT_FLAG_SIZE + 3 * REPORT_RECORD_SIZE +
                                   100002 * REPORT_SAMPLE_SIZE);
    std::string pieces;
    int pieceCount = 0;
    writeReport(sampleFields(), array, [&](std::string_view bytes) {
        pieces.append(bytes);
        ++pieceCount;
    });
    EXPECT_EQ(pieces, expected);
    EXPECT_GT(pieceCount, 5);
    ASSERT_TRUE(writeReportFile(temp.file("r.ttr"), sampleFields(), array));
    EXPECT_EQ(zqar::testing::fileBytes(temp.file("r.ttr")), expected);
    // The samples as the format has them: 64-bit little-endian, the first at its place.
    const std::size_t firstSample = FIRST_COUNT + 16;
    uint64_t bits = 0;
    for (int i = 7; i >= 0; --i)
        bits = bits << 8 | static_cast<unsigned char>(expected[firstSample + i]);
    double first;
    std::memcpy(&first, &bits, sizeof first);
    EXPECT_EQ(first, 20.0);
}

TEST(ReportStream, AFileReadsAsItsBytesDo) {
    TempDir temp;
    const std::string good = writeReport(sampleFields(), sampleArray());
    std::string unterminated = good;
    const std::size_t identification = text::REPORT_IDENTIFICATION.size();
    std::memset(&unterminated[identification], 'x', TEXT_FIELD_SIZE - identification);
    const auto withCount = [&good](int32_t count) {
        std::string bytes = good;
        putInt32(bytes, FIRST_COUNT, count);
        return bytes;
    };
    struct Case {
        const char *what;
        std::string bytes;
        bool readable;
    };
    const Case cases[] = {
        {"whole", good, true},
        {"empty", "", false},
        {"cut in the fields", good.substr(0, 3000), false},
        {"cut in a flag", good.substr(0, REPORT_ARRAY_OFFSET + 2), false},
        {"cut in an image", good.substr(0, REPORT_ARRAY_OFFSET + 900), false},
        {"cut in the samples", good.substr(0, good.size() / 2), false},
        {"one byte short", good.substr(0, good.size() - 1), false},
        {"one byte left over", good + '\0', false},
        {"a negative count", withCount(-1), false},
        {"a count one too large", withCount(100001), false},
        {"a count one too small", withCount(99999), false},
        {"the largest count", withCount(0x7FFFFFFF), false},
        {"an identification without its terminator", unterminated, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = temp.write("r.ttr", c.bytes);
        ReportFileRead read = readReportFile(path);
        EXPECT_TRUE(read.opened);
        EXPECT_EQ(read.contents.has_value(), c.readable);
        EXPECT_EQ(readReport(c.bytes).has_value(), c.readable);
        if (read.contents) {
            EXPECT_EQ(writeReport(*read.contents), c.bytes);
        }
    }
    EXPECT_FALSE(readReportFile(temp.file("missing.ttr")).opened);
    EXPECT_FALSE(readReportFile(temp.path().string()).opened);
}

TEST(ReportStream, AHugeCountIsRefusedBeforeAnyRoomIsMadeForIt) {
    TempDir temp;
    // Two thousand million samples announced in a file of 10 KB.
    std::string bytes = writeReport(sampleFields(), sampleArray()).substr(0, 10240);
    putInt32(bytes, FIRST_COUNT, 2000000000);
    const std::string path = temp.write("huge.ttr", bytes);
    largestRequest = 0;
    watching = true;
    const ReportFileRead fromFile = readReportFile(path);
    const std::optional<ReportContents> fromBytes = readReport(bytes);
    watching = false;
    EXPECT_TRUE(fromFile.opened);
    EXPECT_FALSE(fromFile.contents);
    EXPECT_FALSE(fromBytes);
    // A record and the list of positions, not 16 GB.
    EXPECT_LT(largestRequest, 64u * 1024u);
}
