#!/usr/bin/env bash
# Runs the cross-built program under Wine (called by scripts/build-windows.sh --check):
#   scripts/check-windows.sh BUILD_WINDOWS_DIR [ON|OFF] [QT_PREFIX]
# 1. the core tests, and with Qt the page tests on Qt's offscreen platform;
# 2. with Qt: the packed batch tool runs the sample job and its CSV files and pictures must
#    equal tests/data/sample-job.sha256 byte for byte, as on Linux;
# 3. with Qt: the packed window opens the sample report on a virtual X server, and a screenshot
#    goes to BUILD_WINDOWS_DIR/window.png.
# Needs WINEPREFIX and WINEPATH as build-windows.sh sets them.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
out=$1
with_qt=${2:-ON}
qt=${3:-$HOME/.cache/zqar-windows/qt-6.4.2}
build=$out/build
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=wine

[ -d "$WINEPREFIX" ] || "$wine" wineboot --init >/dev/null 2>&1 || true

# Each test program runs once as a whole: one Wine start per program, not one per test.
echo "== Tests under Wine"
failed=0
nice -n 19 "$wine" "$build/tests/zqar_core_tests.exe" || failed=1
[ "$with_qt" = ON ] || exit "$failed"
(cd "$build/tests/pages" && QT_QPA_PLATFORM=offscreen QT_PLUGIN_PATH="$(winepath -w "$qt/plugins")" \
    nice -n 19 "$wine" zqar_page_tests.exe) || failed=1

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
stage=$out/stage/zqar-vemro-$version-windows-x64

echo "== The sample job with the batch tool under Wine"
job=$(mktemp -d)
trap 'rm -rf "$job"' EXIT
mkdir -p "$job/avg" "$job/rep" "$job/png"
batch() { (cd "$here" && "$wine" "$stage/zqar-vemro-batch.exe" "$@"); }
batch --load-project samples/warehouse.ttp --load-files --calculate-averaged \
    --export-csv "$job/avg/set%d.csv"
batch --load-report samples/warehouse.ttr --export-csv "$job/rep/s%d.csv" \
    --export-png "$job/png/g1.png"
# Each output against its recorded digest; an output without one is a fault too.
checked=0
while read -r file; do
    expected=$(awk -v f="./$file" '$2 == f { print $1 }' "$here/tests/data/sample-job.sha256")
    actual=$(sha256sum "$job/$file" | cut -d' ' -f1)
    if [ "$expected" != "$actual" ]; then
        echo "Differs from the Linux output: $file" >&2
        exit 1
    fi
    checked=$((checked + 1))
done < <(cd "$job" && find . -type f | sed 's#^\./##' | sort)
[ "$checked" -gt 0 ] || { echo "The batch tool wrote nothing" >&2; exit 1; }
echo "$checked outputs equal the Linux outputs"

echo "== The window under Wine on a virtual X server"
xvfb-run -a -s '-screen 0 1280x900x24' bash -c '
    cd "$1" && "$2" "$3/zqar-vemro.exe" samples/warehouse.ttr &
    sleep 25
    import -window root "$4/window.png"
    kill $! 2>/dev/null; "${2%/*}/wineserver" -k 2>/dev/null || true' \
    check "$here" "$wine" "$stage" "$out"
echo "Screenshot: $out/window.png"
exit "$failed"
