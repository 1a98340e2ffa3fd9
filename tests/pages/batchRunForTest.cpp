#include "support/BatchRun.h"

#include <string>
#include <vector>

int runBatchForTest(const std::vector<std::string> &arguments, std::string &errors) {
    const zqar::testing::BatchRun run = zqar::testing::runBatch(arguments);
    errors = run.err;
    return run.exit;
}
