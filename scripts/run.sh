#!/usr/bin/env bash
# Sets up the machine, builds the program and runs its main job: the window, with the sample
# job at hand. Without a display it runs the same pages through the batch tool on the sample
# job and says where the results went.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$(nproc)" --target zqar-vemro zqar-vemro-batch

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    # The file dialogs start in the samples folder: "Load Report" there offers warehouse.ttr.
    ZQAR_START_DIR="$PWD/samples" exec build/src/main/zqar-vemro
fi

echo "No display: running the sample job through the batch tool instead of the window."
out="$PWD/out/sample-job"
mkdir -p "$out"
rm -f "$out"/set*.csv "$out"/graph*.png
QT_QPA_PLATFORM=offscreen build/src/main/zqar-vemro-batch \
    --load-project samples/warehouse.ttp --load-files --calculate-averaged \
    --export-csv "$out/set%d.csv"
QT_QPA_PLATFORM=offscreen build/src/main/zqar-vemro-batch \
    --load-report samples/warehouse.ttr --last --export-png "$out/last-set.png" \
    --print-matrix "$out/last-set-matrix.pdf"
echo "The CSV files of every set are in $out (set1.csv, set2.csv, ...);"
echo "the graph and the printed matrix of the last set are $out/last-set.png and last-set-matrix.pdf."
