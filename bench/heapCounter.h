#pragma once
// Counts the bytes the benchmark binary holds on the heap, so a benchmark can tell the peak a
// load needed above what was live before it. The global operator new and delete of this
// binary go through it; malloc calls made directly (stdio buffers) are not seen.

#include <cstddef>

namespace zqar::bench {

struct HeapCounter {
    static std::size_t live();
    // Starts a new peak from what is live now.
    static void resetPeak();
    static std::size_t peak();
};

} // namespace zqar::bench
