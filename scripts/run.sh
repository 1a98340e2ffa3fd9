#!/usr/bin/env bash
# Sets up the machine, builds the program and runs its main job.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$(nproc)"
if [ -x build/src/app/zqar-vemro-batch ]; then
    exec build/src/app/zqar-vemro-batch --help
fi
echo "The core library and its tests are built; run build/tests/zqar_core_tests to check them."
