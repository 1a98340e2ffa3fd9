#!/usr/bin/env bash
# Builds the Debian package from an existing build folder, unpacks it into a temporary root
# and checks what it installs: the unpacked batch tool draws the sample report with the help
# file beside it and the fonts at hand, and the desktop entry, file types, metainfo, manual
# pages and the package itself pass their validators.
#
#     bash scripts/package-check.sh [BUILD_DIR]      (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${1:-build}" && pwd)

fail() { echo "package-check: $*" >&2; exit 1; }
for tool in cpack dpkg-deb dpkg-shlibdeps desktop-file-validate appstreamcli xmllint \
            update-mime-database lintian fc-match groff; do
    command -v "$tool" >/dev/null || fail "$tool is missing (scripts/setup.sh installs it)"
done

version=$(sed -n 's/^project(ZQARVemro VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
rm -f "$build"/zqar-vemro_*.deb
log=$(mktemp)
(cd "$build" && cpack -G DEB >"$log" 2>&1) || { cat "$log" >&2; rm -f "$log"; fail "cpack could not build the package"; }
rm -f "$log"
deb=$(ls "$build"/zqar-vemro_"$version"_*.deb 2>/dev/null | head -n1)
[ -n "$deb" ] || fail "no zqar-vemro_${version}_*.deb in $build"
echo "package-check: $(basename "$deb")"

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
root="$tmp/root"
dpkg-deb -x "$deb" "$root"

# The package's dependencies: the libraries found from the binaries, and the fonts and the
# platform plugins named by hand.
depends=$(dpkg-deb -f "$deb" Depends)
for needed in fonts-liberation qt6-qpa-plugins libqt6widgets6 libqt6printsupport6 libc6; do
    grep -q "\b$needed\b" <<<"$depends" || fail "Depends lacks $needed: $depends"
done

# Executables reached through the links in bin, the help file beside their real folder.
for program in zqar-vemro zqar-vemro-batch; do
    link="$root/usr/bin/$program"
    [ -L "$link" ] || fail "usr/bin/$program is not a link"
    real=$(readlink -f "$link")
    [ -x "$real" ] || fail "usr/bin/$program points to nothing executable"
    [ -f "$(dirname "$real")/ZQARVemroRO.hlp" ] || fail "no help file beside $real"
done

# The unpacked batch tool on the unpacked sample report.
samples="$root/usr/share/zqar-vemro/samples"
"$root/usr/bin/zqar-vemro-batch" --load-report "$samples/warehouse.ttr" \
    --export-png "$tmp/out/graph.png" >"$tmp/batch.out" 2>"$tmp/batch.err" ||
    fail "the batch tool failed: $(cat "$tmp/batch.err")"
grep -qx "STATUS: 336 sets created." "$tmp/batch.out" || fail "unexpected output: $(cat "$tmp/batch.out")"
[ ! -s "$tmp/batch.err" ] || fail "messages from the batch tool: $(cat "$tmp/batch.err")"
[ "$(head -c 8 "$tmp/out/graph.png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] ||
    fail "the graph is not a PNG file"
# The graphs ask for Arial; the package's font dependency must stand in for it.
case "$(fc-match -f '%{family}' Arial)" in
    *"Liberation Sans"*) ;;
    *) fail "Arial is not matched by Liberation Sans (fonts-liberation)" ;;
esac

# Desktop entry, icons, file types, metainfo, manual pages.
share="$root/usr/share"
desktop-file-validate "$share/applications/org.zqar.vemro.desktop"
grep -qx 'Exec=zqar-vemro %f' "$share/applications/org.zqar.vemro.desktop" || fail "Exec line"
for size in 16 22 24 32 48 64 128 256; do
    png="$share/icons/hicolor/${size}x${size}/apps/zqar-vemro.png"
    [ -s "$png" ] || fail "no ${size}px icon"
done
xmllint --noout "$share/icons/hicolor/scalable/apps/zqar-vemro.svg"
xmllint --noout "$share/mime/packages/zqar-vemro.xml"
mkdir -p "$tmp/mime/packages"
cp "$share/mime/packages/zqar-vemro.xml" "$tmp/mime/packages/"
XDG_DATA_DIRS="$tmp" XDG_DATA_HOME="$tmp" update-mime-database "$tmp/mime" 2>"$tmp/mime.err"
[ ! -s "$tmp/mime.err" ] || fail "update-mime-database: $(cat "$tmp/mime.err")"
for type in report project log; do
    [ -f "$tmp/mime/application/x-zqar-vemro-$type.xml" ] || fail "no MIME type for the $type"
done
grep -q "ZQAR Report File V1.00" "$tmp/mime/magic" || fail "no magic for the report"
appstreamcli validate --no-net "$share/metainfo/org.zqar.vemro.metainfo.xml" >"$tmp/as.out" ||
    fail "metainfo: $(cat "$tmp/as.out")"
for page in zqar-vemro zqar-vemro-batch; do
    man="$share/man/man1/$page.1.gz"
    [ -f "$man" ] || fail "no manual page for $page"
    warnings=$(zcat "$man" | groff -man -Tutf8 -ww -z 2>&1)
    [ -z "$warnings" ] || fail "$page.1: $warnings"
done
# Every option the batch tool lists has its entry in its manual page.
zcat "$share/man/man1/zqar-vemro-batch.1.gz" | sed 's/\\-/-/g' >"$tmp/batch.1"
for option in $("$root/usr/bin/zqar-vemro-batch" --help | grep -o '^  --[a-z-]*'); do
    grep -q -- "$option" "$tmp/batch.1" || fail "zqar-vemro-batch.1 lacks $option"
done

lintian --fail-on error "$deb" ||
    fail "lintian found errors"
echo "package-check: all checks passed"
