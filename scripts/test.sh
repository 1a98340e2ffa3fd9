#!/usr/bin/env bash
# Sets up the machine, builds everything with warnings as errors, and runs every test; then
# builds the core and page tests again with AddressSanitizer and UndefinedBehaviorSanitizer and
# runs them.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/format-check.sh
bash scripts/layer-check.sh

jobs=$(nproc)
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DZQAR_WERROR=ON
cmake --build build -j"$jobs"
(cd build && ctest --output-on-failure -j"$jobs")
bash scripts/package-check.sh build

if [ "${ZQAR_SKIP_SANITIZE:-0}" != 1 ]; then
    # The core and the page tests (the window and the Qt backend, offscreen) again under
    # AddressSanitizer, LeakSanitizer and UndefinedBehaviorSanitizer. Exported before the build,
    # because the build lists the tests by running the test programs.
    export QT_QPA_PLATFORM=offscreen
    export ASAN_OPTIONS=detect_leaks=1
    export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
    cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DZQAR_WERROR=ON -DZQAR_SANITIZE=ON \
          -DZQAR_WITH_QT=ON -DZQAR_WITH_BENCH=OFF
    cmake --build build-asan -j"$jobs" --target zqar_core_tests zqar_page_tests
    (cd build-asan && ctest --output-on-failure -j"$jobs")
fi
bash scripts/fuzz-short.sh
