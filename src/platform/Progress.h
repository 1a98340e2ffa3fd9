#pragma once
// The progress of a long command, which runs on the user-interface thread. The host shows it
// with a Cancel button once the command has run for a moment; the command reports after each
// piece of work and, when the user asked to cancel, puts back everything it changed.

#include "core/data/KeepGoing.h"

#include <cstdint>

namespace zqar::platform {

class Progress {
public:
    virtual ~Progress() = default;
    // done of total pieces are finished. False once the user asked to cancel: the command
    // then stops and leaves the job as it found it.
    virtual bool step(std::uint64_t done, std::uint64_t total) = 0;
};

// Progress nobody sees and nobody cancels: the batch tool's, and work that follows a command
// which already finished.
class SilentProgress : public Progress {
public:
    bool step(std::uint64_t, std::uint64_t) override { return true; }
};

// The progress as the core's work asks it.
inline KeepGoing keepGoingWith(Progress &progress) {
    return
        [&progress](std::uint64_t done, std::uint64_t total) { return progress.step(done, total); };
}

} // namespace zqar::platform
