#!/usr/bin/env bash
# Prepares this Debian 12 machine for the Windows build: the MinGW-w64 cross compiler, Wine,
# NSIS and Xvfb, then Qt 6.4.2 (base and SVG) cross-built from Debian's own source packages with
# the native Qt as host tools, and GoogleTest for the tests. Everything built goes to a cache
# outside the repository, made once per machine:
#
#   ~/.cache/zqar-windows/src/            the unpacked source packages
#   ~/.cache/zqar-windows/build-*/        the build trees (logs: build-*/zqar-*.log)
#   ~/.cache/zqar-windows/qt-6.4.2/       the installed Qt for Windows (and GoogleTest)
#
# Safe to run again: each stage that is already done is skipped. Usage:
#   scripts/setup-windows.sh [--packages-only] [--jobs N]
# Set ZQAR_WINDOWS_CACHE to put the cache elsewhere. Builds run under `nice -n 19`.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
cache=${ZQAR_WINDOWS_CACHE:-$HOME/.cache/zqar-windows}
qt_version=6.4.2
prefix=$cache/qt-$qt_version
jobs=2
packages_only=0
while [ $# -gt 0 ]; do
    case $1 in
        --packages-only) packages_only=1 ;;
        --jobs) jobs=$2; shift ;;
        *) echo "usage: $0 [--packages-only] [--jobs N]" >&2; exit 2 ;;
    esac
    shift
done

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
export DEBIAN_FRONTEND=noninteractive

stamp() { date -u '+%H:%M:%S'; }
say() { echo "[$(stamp)] $*"; }

install_packages() {
    local packages=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-tools
                    binutils-mingw-w64-x86-64 wine wine64 nsis xvfb xauth x11-utils xdotool
                    imagemagick dpkg-dev cmake ninja-build perl python3 zip unzip
                    qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgtest-dev libgmock-dev
                    googletest)
    local missing=() p
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        say "Installing: ${missing[*]}"
        "${as_root[@]}" apt-get update -q
        "${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
    fi
}

# A deb-src entry mirroring the machine's own Debian entry, so `apt-get source` works. The
# archive's address is read from the existing entry, never written here.
add_source_entry() {
    local existing=/etc/apt/sources.list.d/debian.sources
    local ours=/etc/apt/sources.list.d/zqar-windows-src.sources
    [ -f "$ours" ] && return 0
    if [ -f "$existing" ]; then
        say "Adding source entries in $ours"
        sed -e 's/^Types:.*$/Types: deb-src/' "$existing" | "${as_root[@]}" tee "$ours" >/dev/null
    elif [ -f /etc/apt/sources.list ]; then
        say "Adding source entries in ${ours%.sources}.list"
        sed -n -e 's/^deb \(.*\)$/deb-src \1/p' /etc/apt/sources.list |
            "${as_root[@]}" tee "${ours%.sources}.list" >/dev/null
    else
        echo "No Debian package source found to mirror" >&2
        exit 1
    fi
    "${as_root[@]}" apt-get update -q
}

# Unpacks Debian's source package $1 into $cache/src and prints the folder.
fetch_source() {
    local package=$1 dir
    mkdir -p "$cache/src"
    dir=$(find "$cache/src" -maxdepth 1 -type d -name "$package-$qt_version*" | head -n 1)
    if [ -z "$dir" ]; then
        say "Fetching the $package source" >&2
        (cd "$cache/src" && apt-get source -q "$package" >&2)
        dir=$(find "$cache/src" -maxdepth 1 -type d -name "$package-$qt_version*" | head -n 1)
    fi
    [ -n "$dir" ] || { echo "apt-get source $package gave no folder" >&2; exit 1; }
    echo "$dir"
}

# Runs "$@" niced with its output in $log, timing it; shows the tail of the log on failure.
run_logged() {
    local log=$1; shift
    local start=$SECONDS
    local stage
    stage="$(basename "$(dirname "$log")") $(basename "$log" .log)"
    say "$stage: started (log: $log)"
    if ! nice -n 19 "$@" >"$log" 2>&1; then
        say "$stage: FAILED after $((SECONDS - start)) s; the log ends:"
        tail -n 40 "$log"
        exit 1
    fi
    say "$stage: done in $((SECONDS - start)) s"
}

# The MinGW linker accepts an ELF version script, and Qt then exports too little from its DLLs
# (Qt6PrintSupport.dll does not link: the DirectWrite font engine's createHFONT is missing from
# Qt6Gui.dll), so the version-script test is answered "no" in advance.
#
# Qt base: only what the program uses (core, gui, widgets, print support, test, the Windows
# platform plugin, PNG), with Qt's bundled third-party libraries. Debian's source lacks the
# tablet, SQLite and IAccessible2 third-party folders, so those features stay off.
build_qtbase() {
    local src build=$cache/build-qtbase
    [ -f "$prefix/lib/cmake/Qt6Widgets/Qt6WidgetsConfig.cmake" ] && return 0
    src=$(fetch_source qt6-base)
    mkdir -p "$build"
    if [ ! -f "$build/build.ninja" ]; then
        (cd "$build" && run_logged "$build/zqar-configure.log" "$src/configure" \
            -prefix "$prefix" -release -shared -platform linux-g++ -xplatform win32-g++ \
            -qt-host-path /usr -nomake examples -nomake tests -nomake benchmarks \
            -no-opengl -no-dbus -no-icu -no-openssl -no-glib -no-fontconfig -no-sql-sqlite \
            -qt-zlib -qt-libpng -qt-freetype -qt-harfbuzz -qt-pcre -no-libjpeg -no-gif \
            -no-feature-tabletevent -no-feature-sql -no-feature-network -no-feature-dbus \
            -no-feature-accessibility -no-feature-vulkan -no-feature-opengl \
            -no-feature-concurrent -no-feature-xml -no-feature-testlib_selfcover \
            -no-feature-sql-sqlite -no-feature-direct2d -no-feature-printpreviewwidget \
            -- -G Ninja \
            "-DCMAKE_TOOLCHAIN_FILE=$here/cmake/windows-mingw.cmake" \
            -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
            -DTEST_ld_version_script=OFF \
            -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF)
    fi
    (cd "$build" && run_logged "$build/zqar-build.log" cmake --build . --parallel "$jobs")
    (cd "$build" && run_logged "$build/zqar-install.log" cmake --install .)
}

# Qt SVG, configured against the Qt base above.
build_qtsvg() {
    local src build=$cache/build-qtsvg
    [ -f "$prefix/lib/cmake/Qt6Svg/Qt6SvgConfig.cmake" ] && return 0
    src=$(fetch_source qt6-svg)
    mkdir -p "$build"
    if [ ! -f "$build/build.ninja" ]; then
        (cd "$build" && run_logged "$build/zqar-configure.log" "$prefix/bin/qt-configure-module" \
            "$src" -- -G Ninja -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF)
    fi
    (cd "$build" && run_logged "$build/zqar-build.log" cmake --build . --parallel "$jobs")
    (cd "$build" && run_logged "$build/zqar-install.log" cmake --install .)
}

# GoogleTest from Debian's own copy of its source, installed beside Qt.
build_googletest() {
    local build=$cache/build-googletest
    [ -f "$prefix/lib/libgtest.a" ] && return 0
    mkdir -p "$build"
    (cd "$build" && run_logged "$build/zqar-configure.log" cmake -S /usr/src/googletest \
        -B . -G Ninja "-DCMAKE_TOOLCHAIN_FILE=$here/cmake/windows-mingw.cmake" \
        -DCMAKE_BUILD_TYPE=Release "-DCMAKE_INSTALL_PREFIX=$prefix" -Dgtest_disable_pthreads=OFF)
    (cd "$build" && run_logged "$build/zqar-build.log" cmake --build . --parallel "$jobs")
    (cd "$build" && run_logged "$build/zqar-install.log" cmake --install .)
}

install_packages
add_source_entry
[ "$packages_only" -eq 1 ] && exit 0
build_googletest
build_qtbase
build_qtsvg
say "Qt $qt_version for Windows is in $prefix"
