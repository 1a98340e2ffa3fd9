#include "core/import/Readings.h"

#include "core/data/prefault.h"

#include <algorithm>
#include <map>

namespace zqar {

namespace {

constexpr std::size_t FIRST_CHUNK = 64;      // readings
constexpr std::size_t LARGEST_CHUNK = 65536; // readings: 512 KiB of values
constexpr std::size_t CHUNK_DOUBLINGS = 10;  // FIRST_CHUNK << 10 is LARGEST_CHUNK
constexpr std::size_t STRETCH = 131072;      // readings: 1 MiB of values backed at a time
constexpr std::size_t SPARE_FRACTION = 16;   // room beyond the readings kept as it is

// Takes the memory of values[from, to) from the system at once rather than a page at a time.
void back(std::vector<double> &values, std::size_t from, std::size_t to) {
    prefaultForWriting(values.data() + from, (to - from) * sizeof(double));
}

} // namespace

Readings::Readings() {
    chunks.emplace_back();
    current = &chunks.back();
    current->reserve(FIRST_CHUNK);
    backed = FIRST_CHUNK;
}

void Readings::makeRoom() {
    std::vector<double> &chunk = chunks.back();
    if (backed < chunk.capacity()) {
        const std::size_t to = std::min(chunk.capacity(), backed + STRETCH);
        back(chunk, backed, to);
        backed = to;
        return;
    }
    const std::size_t capacity =
        std::min(LARGEST_CHUNK, FIRST_CHUNK << std::min(chunks.size(), CHUNK_DOUBLINGS));
    chunks.emplace_back();
    current = &chunks.back();
    current->reserve(capacity);
    back(*current, 0, capacity);
    backed = capacity;
}

void Readings::expect(int64_t more) {
    if (more <= 0)
        return;
    const std::size_t wanted = static_cast<std::size_t>(total) + static_cast<std::size_t>(more);
    if (chunks.size() == 1 && wanted <= chunks[0].capacity())
        return;
    // The readings so far move into one chunk with room for the rest.
    std::vector<double> joined;
    joined.reserve(wanted);
    for (const std::vector<double> &chunk : chunks)
        joined.insert(joined.end(), chunk.begin(), chunk.end());
    chunks.clear();
    chunks.push_back(std::move(joined));
    current = &chunks.back();
    backed = current->size();
}

void Readings::newRun(int64_t step) {
    if (runLength > 0)
        runs.push_back({runStep, runLength});
    runStep = step;
    runLength = 1;
}

std::vector<Readings::Run> Readings::allRuns() const {
    std::vector<Run> all = runs;
    if (runLength > 0)
        all.push_back({runStep, runLength});
    return all;
}

int64_t Readings::interval() const {
    std::map<int64_t, int64_t> counts;
    for (const Run &run : allRuns())
        counts[run.step] += run.count;
    int64_t best = 0;
    int64_t most = 0;
    for (const auto &[step, n] : counts) {
        if (n > most) {
            most = n;
            best = step;
        }
    }
    return best;
}

int64_t Readings::offGrid(int64_t interval) const {
    int64_t reading = 0;
    for (const Run &run : allRuns()) {
        if (run.step % interval != 0)
            return reading + 1;
        reading += run.count;
    }
    return -1;
}

std::vector<double> Readings::takeOnGrid(int64_t interval, double missing) {
    std::vector<double> values;
    if (total == 0)
        return values;
    const auto size = static_cast<std::size_t>(samples(interval));
    if (chunks.size() == 1 && size == chunks[0].size()) {
        // Every sample is a reading, all in one chunk: that chunk is the samples.
        values = std::move(chunks[0]);
        if (values.capacity() - values.size() > values.size() / SPARE_FRACTION)
            values.shrink_to_fit();
        *this = Readings();
        return values;
    }
    values.reserve(size);
    prefaultForWriting(values.data(), size * sizeof(double));
    std::size_t chunk = 0;
    std::size_t inChunk = 0;
    // Copies the next count readings, across chunks.
    auto take = [&](std::size_t count) {
        while (count > 0) {
            std::vector<double> &from = chunks[chunk];
            const std::size_t now = std::min(count, from.size() - inChunk);
            values.insert(values.end(), from.begin() + static_cast<std::ptrdiff_t>(inChunk),
                          from.begin() + static_cast<std::ptrdiff_t>(inChunk + now));
            inChunk += now;
            count -= now;
            if (inChunk == from.size()) {
                std::vector<double>().swap(from);
                ++chunk;
                inChunk = 0;
            }
        }
    };
    take(1);
    for (const Run &run : allRuns()) {
        const int64_t gap = run.step / interval - 1;
        if (gap == 0) {
            take(static_cast<std::size_t>(run.count));
            continue;
        }
        for (int64_t r = 0; r < run.count; ++r) {
            values.insert(values.end(), static_cast<std::size_t>(gap), missing);
            take(1);
        }
    }
    *this = Readings();
    return values;
}

} // namespace zqar
