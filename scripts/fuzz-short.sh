#!/usr/bin/env bash
# A short run of every fuzz target, part of the test command: ZQAR_FUZZ_SECONDS each (60 by
# default). ZQAR_SKIP_FUZZ=1 skips it.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${ZQAR_SKIP_FUZZ:-0}" = 1 ]; then
    echo "fuzz: skipped"
    exit 0
fi
bash scripts/fuzz.sh all "${ZQAR_FUZZ_SECONDS:-60}"
