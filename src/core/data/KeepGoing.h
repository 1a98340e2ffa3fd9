#pragma once
// How long work in the core hears that it should stop: asked after each piece with done of
// total pieces finished, it answers false to stop. The work then returns without a result
// and without having changed anything its caller holds. An empty one never stops the work.

#include <cstdint>
#include <functional>

namespace zqar {

using KeepGoing = std::function<bool(std::uint64_t done, std::uint64_t total)>;

inline bool askKeepGoing(const KeepGoing &keepGoing, std::uint64_t done, std::uint64_t total) {
    return !keepGoing || keepGoing(done, total);
}

} // namespace zqar
