#!/usr/bin/env bash
# Sets up the machine, builds everything with warnings as errors, and runs every test; then
# builds the tests again with AddressSanitizer and UndefinedBehaviorSanitizer and runs them.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

jobs=$(nproc)
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DZQAR_WERROR=ON
cmake --build build -j"$jobs"
(cd build && ctest --output-on-failure -j"$jobs")
bash scripts/package-check.sh build

if [ "${ZQAR_SKIP_SANITIZE:-0}" != 1 ]; then
    cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DZQAR_WERROR=ON -DZQAR_SANITIZE=ON \
          -DZQAR_WITH_QT=OFF -DZQAR_WITH_BENCH=OFF
    cmake --build build-asan -j"$jobs"
    (cd build-asan && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j"$jobs")
fi
