#!/usr/bin/env bash
# Packs the cross-built program (scripts/build-windows.sh) into a folder that runs on Windows as
# it is, then the zip and the NSIS installer of that folder:
#   scripts/pack-windows.sh BUILD_WINDOWS_DIR QT_PREFIX
# The folder holds both executables, the Qt DLLs and the plugins they load, the MinGW runtime,
# the help file and its picture, the samples, the icon and a README for Windows users. Every
# DLL an executable or plugin imports must be in the folder or be Windows' own.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
out=$1
qt=$2
build=$out/build
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
name=zqar-vemro-$version-windows-x64
stage=$out/stage/$name

rm -rf "$stage"
mkdir -p "$stage/platforms" "$stage/styles" "$stage/imageformats"
cp "$build/src/main/zqar-vemro.exe" "$build/src/main/zqar-vemro-batch.exe" \
   "$here/src/resources/help/ZQARVemroRO.hlp" "$here/src/resources/help/mapping-report.png" \
   "$stage/"
for module in Core Gui Widgets PrintSupport Svg; do
    cp "$qt/bin/Qt6$module.dll" "$stage/"
done
cp "$qt/plugins/platforms/qwindows.dll" "$stage/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$stage/styles/"
[ ! -f "$qt/plugins/imageformats/qsvg.dll" ] || cp "$qt/plugins/imageformats/qsvg.dll" "$stage/imageformats/"
gcc_dir=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
cp "$gcc_dir/libstdc++-6.dll" "$gcc_dir/libgcc_s_seh-1.dll" \
   /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll "$stage/"
cp -r "$here/samples" "$stage/samples"
sed 's/$/\r/' "$here/packaging/windows/README-windows.txt" >"$stage/README.txt"

# The icon, drawn by the program's own icon code in a native build of that one tool.
host=$out/host
if [ ! -x "$host/tools/zqar-render-icons" ]; then
    nice -n 19 cmake -S "$here" -B "$host" -DCMAKE_BUILD_TYPE=Release -DZQAR_WITH_BENCH=OFF >/dev/null
    nice -n 19 cmake --build "$host" --parallel 2 --target zqar-render-icons
fi
"$host/tools/zqar-render-icons" "$out/icons" zqar-vemro 16 24 32 48 64 256
convert $(for s in 16 24 32 48 64 256; do echo "$out/icons/${s}x$s/apps/zqar-vemro.png"; done) \
    "$stage/zqar-vemro.ico"

# Every imported DLL that Windows does not bring must have been packed.
missing=0
while read -r dll; do
    if [ ! -f "$stage/$dll" ] && [ ! -f "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/${dll,,}" ]; then
        echo "Not packed: $dll" >&2
        missing=1
    fi
done < <(find "$stage" -name '*.exe' -o -name '*.dll' | xargs -d '\n' x86_64-w64-mingw32-objdump -p |
         sed -n 's/^\s*DLL Name: //p' | sort -u)
[ "$missing" -eq 0 ] || exit 1

rm -f "$out/$name.zip"
(cd "$out/stage" && zip -qr "$out/$name.zip" "$name")
makensis -V2 -DVERSION="$version" -DSTAGE="$stage" -DOUTFILE="$out/$name-setup.exe" \
    "$here/packaging/windows/zqar-vemro.nsi"
echo "Made $out/$name.zip and $out/$name-setup.exe"
