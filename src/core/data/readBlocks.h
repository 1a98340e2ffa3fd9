#pragma once
// The blocks the file readers read at a time. A build may make them small (the log reader's
// down to two pieces), so that tests and fuzzing reach the refill, and lines and line ends that
// span blocks, with small files.

#include <cstddef>

namespace zqar {

#ifdef ZQAR_LOG_READ_BLOCK_SIZE
constexpr std::size_t LOG_READ_BLOCK_SIZE = ZQAR_LOG_READ_BLOCK_SIZE;
#else
constexpr std::size_t LOG_READ_BLOCK_SIZE = 1 << 18;
#endif

#ifdef ZQAR_INI_READ_BLOCK_SIZE
constexpr std::size_t INI_READ_BLOCK_SIZE = ZQAR_INI_READ_BLOCK_SIZE;
#else
constexpr std::size_t INI_READ_BLOCK_SIZE = 1 << 16;
#endif

} // namespace zqar
