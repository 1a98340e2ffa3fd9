#pragma once
// Asks the kernel to back a stretch of freshly allocated memory before it is written, in one
// call instead of one page fault per page. On a virtual machine a page fault costs several
// microseconds and the faults of all threads queue up, so a year of samples read on every
// core spends much of its time there. Only a hint: where the kernel cannot do it, the memory
// is backed page by page on first write, as always.

#include <cstddef>

namespace zqar {

void prefaultForWriting(void *begin, std::size_t bytes);

} // namespace zqar
