#pragma once
// The SHA-256 compression over whole 64-byte blocks, in two forms that give the same state:
// the portable one, and one that uses the processor's SHA instructions where it has them.
// Sha256 picks the fast one once; both are here so that they can be held against each other.

#include <cstddef>
#include <cstdint>

namespace zqar::sha256blocks {

using CompressFunction = void (*)(std::uint32_t *state, const std::uint8_t *blocks,
                                  std::size_t count);

void compressPortable(std::uint32_t *state, const std::uint8_t *blocks, std::size_t count);

// The processor's SHA instructions, or none where this processor or this build has none.
CompressFunction acceleratedCompress();

// The accelerated form where there is one, else the portable one.
CompressFunction fastestCompress();

} // namespace zqar::sha256blocks
