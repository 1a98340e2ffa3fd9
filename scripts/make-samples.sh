#!/usr/bin/env bash
# Makes the sample job in samples/: the log files and the project from the deterministic
# generator, then the report from the batch tool. Run it again after changing the generator
# or the report format; it writes the same files every time.
#
# The project's data file directory is "samples/data", relative to the repository root, so
# the batch tool runs from there, for example:
#   build/src/main/zqar-vemro-batch --load-project samples/warehouse.ttp --load-files \
#       --calculate-averaged --export-csv 'out/set%d.csv'
set -euo pipefail
cd "$(dirname "$0")/.."
build="${ZQAR_BUILD_DIR:-build}"

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" -j"$(nproc)" --target zqar-make-samples zqar-vemro-batch

rm -rf samples/data samples/imports
"$build/tools/zqar-make-samples" samples

# Create Report gives a new report a folder of its own and writes an existing file in place,
# so the report starts as an empty file. The finish time is the last sample of the week: 10240
# stopped after four days, and Load Files proposes the earliest end of all loggers.
rm -rf samples/warehouse samples/warehouse.ttr
: > samples/warehouse.ttr
"$build/src/main/zqar-vemro-batch" \
    --load-project samples/warehouse.ttp \
    --load-files \
    --set "finishTimeText=08-Jun-2025 11:55PM" \
    --calculate-averaged \
    --create-report samples/warehouse.ttr
