// The benchmark binary's main: the usual run, then the year of log files goes before the
// program ends.

#include "yearOfLogs.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    zqar::bench::removeYearOfLogs();
    // Static destructors are skipped: a QGuiApplication kept in a function-local static is
    // destroyed after Qt's own statics and crashes, which would leave a failing exit status
    // after a successful run.
    std::fflush(nullptr);
    std::_Exit(EXIT_SUCCESS);
}
