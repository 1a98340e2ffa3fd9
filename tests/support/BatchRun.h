#pragma once
// Runs the batch tool in-process with captured streams.

#include "app/BatchTool.h"

#include <sstream>
#include <string>
#include <vector>

namespace zqar::testing {

struct BatchRun {
    int exit = -1;
    std::string out;
    std::string err;
};

inline BatchRun runBatch(const std::vector<std::string> &arguments) {
    std::ostringstream out;
    std::ostringstream err;
    BatchTool tool(out, err);
    BatchRun run;
    run.exit = tool.run(arguments);
    run.out = out.str();
    run.err = err.str();
    return run;
}

} // namespace zqar::testing
