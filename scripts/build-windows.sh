#!/usr/bin/env bash
# Cross-compiles the program, its tools and its tests for 64-bit Windows against the Qt that
# scripts/setup-windows.sh builds, then packs build-windows/zqar-vemro-<version>-windows-x64.zip
# and, with NSIS, build-windows/zqar-vemro-<version>-windows-x64-setup.exe.
#
#   scripts/build-windows.sh            build and pack
#   scripts/build-windows.sh --check    also run the tests, the sample job and the window
#                                       under Wine (see scripts/check-windows.sh)
#   scripts/build-windows.sh --no-qt    only the parts without Qt and their tests (no packages);
#                                       needs only GoogleTest from the setup script
#
# ZQAR_WINDOWS_CACHE names the setup script's cache (default ~/.cache/zqar-windows).
# Compilation runs under `nice -n 19` with -j2 unless --jobs N says otherwise.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
cache=${ZQAR_WINDOWS_CACHE:-$HOME/.cache/zqar-windows}
qt=$cache/qt-6.4.2
out=$here/build-windows
jobs=2
check=0
with_qt=ON
while [ $# -gt 0 ]; do
    case $1 in
        --check) check=1 ;;
        --no-qt) with_qt=OFF ;;
        --jobs) jobs=$2; shift ;;
        *) echo "usage: $0 [--check] [--no-qt] [--jobs N]" >&2; exit 2 ;;
    esac
    shift
done

[ -f "$qt/lib/libgtest.a" ] || { echo "No GoogleTest for Windows in $qt: run scripts/setup-windows.sh" >&2; exit 1; }
if [ "$with_qt" = ON ] && [ ! -f "$qt/lib/cmake/Qt6Svg/Qt6SvgConfig.cmake" ]; then
    echo "No Qt for Windows in $qt: run scripts/setup-windows.sh (it takes hours once)" >&2
    exit 1
fi

# Wine keeps its own Windows folder apart from the user's.
export WINEPREFIX=${WINEPREFIX:-$cache/wine}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
# The Windows programs run during the build (the text tables, test discovery) find the Qt and
# MinGW runtime DLLs through Wine's PATH.
runtime_dirs() {
    local gcc_dir
    gcc_dir=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
    echo "$qt/bin;$gcc_dir;/usr/x86_64-w64-mingw32/lib"
}
WINEPATH="$(runtime_dirs)"
export WINEPATH
export ZQAR_WINDOWS_ROOTS=$qt

nice -n 19 cmake -S "$here" -B "$out/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$here/cmake/windows-mingw.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_PREFIX_PATH="$qt" -DGTEST_ROOT="$qt" -DZQAR_WITH_QT="$with_qt" \
    -DZQAR_WITH_BENCH=OFF -DZQAR_WERROR=ON
nice -n 19 cmake --build "$out/build" --parallel "$jobs"

if [ "$with_qt" = ON ]; then
    "$here/scripts/pack-windows.sh" "$out" "$qt"
fi
if [ "$check" -eq 1 ]; then
    "$here/scripts/check-windows.sh" "$out" "$with_qt" "$qt"
fi
