#pragma once
// The texts a recording printer was given, page by page, for tests that check what a printout
// holds where.

#include "platform/memory/RecordingContext.h"

#include <algorithm>
#include <string>
#include <vector>

namespace zqar::testing {

// The texts of each printed page, in the order they were drawn.
inline std::vector<std::vector<platform::RecordedCall>>
textsByPage(const platform::RecordingContext &printer) {
    std::vector<std::vector<platform::RecordedCall>> pages;
    for (const platform::RecordedCall &call : printer.calls) {
        if (call.kind == platform::CallKind::StartPage)
            pages.emplace_back();
        else if (call.kind == platform::CallKind::Text && !pages.empty())
            pages.back().push_back(call);
    }
    return pages;
}

// How many of the texts read exactly so.
inline int countOf(const std::vector<platform::RecordedCall> &texts, const std::string &text) {
    return static_cast<int>(
        std::count_if(texts.begin(), texts.end(),
                      [&text](const platform::RecordedCall &call) { return call.text == text; }));
}

} // namespace zqar::testing
