// The log file reader: the input is the bytes of a ".dta" file, read for both channels. The
// build makes the read block small, so the refill between blocks is reached too.

#include "core/data/LogFile.h"
#include "core/job/Prefill.h"
#include "fuzzCheck.h"

using namespace zqar;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
    const std::string_view bytes = fuzz::bytesOf(data, size);
    for (int channel = 1; channel <= 2; ++channel) {
        LogFile record;
        record.readLogBytes(bytes, "fuzz.dta", channel);
        // A record holds exactly the samples it counts, or was emptied; and it never holds
        // more samples than the file has room for (every line but the last takes two bytes).
        FUZZ_CHECK(record.valueCount >= 0);
        FUZZ_CHECK(record.values.size() == static_cast<std::size_t>(record.valueCount));
        FUZZ_CHECK(record.values.capacity() <= size / 2 + 1);
        FUZZ_CHECK(record.channel == channel || record.values.empty());
        FUZZ_CHECK(record.fileName.view() == "fuzz.dta" || record.fileName.view() == "?");
        for (const TextField &comment : record.comments)
            FUZZ_CHECK(comment.view().size() <= TEXT_MAX_LENGTH);

        // What the pages ask of a record once it is placed.
        (void)record.label();
        (void)record.commentsContain("R1");
        const CommentPosition position = record.positionFromComments(channel);
        FUZZ_CHECK(!position.found || position.col > 0);
        Prefill prefill;
        prefill.widenRange(record);
        FUZZ_CHECK(!prefill.rangeSeen || !(prefill.highest < prefill.lowest));
        const double start = record.startTime();
        (void)record.averageAround(start, record.samplePeriod * 4);
        (void)record.averageAround(record.endTime(), 0.0);
        (void)record.propertiesText();
    }
    return 0;
}
