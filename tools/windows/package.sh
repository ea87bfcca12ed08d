#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the two Windows packages in build-win-package/ from the cross build
# in build-win/ (building it first with tools/windows/build.sh when it is
# missing or older than the sources):
#   qv300-<version>-windows-x64.zip  portable: unzip anywhere and run qv300.exe
#   qv300-<version>-setup.exe        the setup program (NSIS), tools/windows/qv300.nsi
#   tools/windows/package.sh [BUILD_DIR]
# The version is the one project() gives the build.
set -euo pipefail
cd "$(dirname "$0")/../.."
build="${1:-build-win}"
out=build-win-package

for tool in makensis zip x86_64-w64-mingw32-strip; do
    command -v "$tool" >/dev/null || { echo "package.sh: $tool is missing (Debian: nsis, zip, binutils-mingw-w64-x86-64)" >&2; exit 1; }
done
stale() {
    [ -f "$build/qv300.exe" ] && [ -f "$build/qv300-cli.exe" ] || return 0
    [ -n "$(find CMakeLists.txt cmake app core data docs/help editors image link settings ui tools/windows \
        -type f -newer "$build/qv300.exe" -print -quit)" ]
}
if [ "$build" = build-win ] && stale; then
    tools/windows/build.sh
fi
[ -f "$build/qv300.exe" ] || { echo "package.sh: no $build/qv300.exe" >&2; exit 1; }

# The version every compiled file was given (QV300_VERSION), so it is
# written once, in project().
version="$(grep -o 'QV300_VERSION=\\*"[^"\\]*' "$build/compile_commands.json" 2>/dev/null | head -n1 | sed 's/.*"//' || true)"
[ -n "$version" ] || { echo "package.sh: no version in $build/compile_commands.json" >&2; exit 1; }
name="qv300-$version-windows-x64"

# The stage: what the program needs beside it and nothing of the build
# (objects, tests, CMake's files). Everything is made in $out.new and takes
# the place of $out when complete, so an interrupted run leaves no package
# that looks finished.
final="$out"
out="$final.new"
rm -rf "$out"
stage="$out/$name"
mkdir -p "$stage"
cp "$build/qv300.exe" "$build/qv300-cli.exe" "$stage/"
for file in "$build"/*.dll "$build"/*.chm "$build"/*.qm "$build"/qt.conf; do
    if [ -f "$file" ]; then cp "$file" "$stage/"; fi
done
for folder in platforms styles imageformats printsupport translations help; do
    if [ -d "$build/$folder" ]; then cp -r "$build/$folder" "$stage/"; fi
done
# The language files and the default settings as shipped: the build
# folder's SysInfo.Ini holds whatever a run from there chose.
cp data/*.Ini "$stage/"
# Without their debugging sections the executables and libraries are about a
# third smaller (the build keeps them for debugging).
find "$stage" -name '*.exe' -o -name '*.dll' | while read -r binary; do
    x86_64-w64-mingw32-strip --strip-unneeded "$binary"
done
# The licence as Windows opens text files.
sed 's/$/\r/' LICENSE >"$stage/LICENSE.txt"
for needed in qv300.exe qv300-cli.exe Qt6Core.dll Qt6Widgets.dll libstdc++-6.dll libwinpthread-1.dll \
    platforms/qwindows.dll English.Ini Chinese.Ini SysInfo.Ini help/en/index.html help/zh/index.html; do
    [ -f "$stage/$needed" ] || { echo "package.sh: $build lacks $needed" >&2; exit 1; }
done

(cd "$out" && zip -q -r -9 "$name.zip" "$name")

# The setup's file lists, from the stage, so that the uninstaller deletes
# what the setup wrote, file by file, and no folder that is not empty.
lists="$out/nsis"
mkdir -p "$lists"
abs_stage="$(cd "$stage" && pwd)"
(
    cd "$stage"
    if find . -name '*[$"`]*' | grep -q .; then
        echo "package.sh: a file name NSIS cannot quote: $(find . -name '*[$"`]*' | head -n1)" >&2
        exit 1
    fi
    find . -type d | sort | while read -r dir; do
        dir="${dir#.}"
        echo "SetOutPath \"\$INSTDIR${dir//\//\\}\""
        find ".$dir" -maxdepth 1 -type f | sort | while read -r file; do
            echo "File \"$abs_stage/${file#./}\""
        done
    done >"../nsis/install.nsh"
    find . -type f | sort | sed 's|^\./||; s|/|\\|g; s|.*|Delete "$INSTDIR\\&"|' >"../nsis/uninstall.nsh"
    find . -mindepth 1 -type d | awk -F/ '{ print NF "\t" $0 }' | sort -rn | cut -f2- \
        | sed 's|^\./||; s|/|\\|g; s|.*|RMDir "$INSTDIR\\&"|' >>"../nsis/uninstall.nsh"
)
# Setup's Chinese choice starts the program in Chinese: the shipped
# settings with Language_ID 1, every other byte as it is.
LC_ALL=C sed 's/^Language_ID=0\r$/Language_ID=1\r/' "$stage/SysInfo.Ini" >"$lists/SysInfo-Chinese.Ini"
grep -q '^Language_ID=1' "$lists/SysInfo-Chinese.Ini" \
    || { echo "package.sh: SysInfo.Ini has no Language_ID=0 line to change" >&2; exit 1; }

makensis -V2 -DVERSION="$version" -DSTAGE="$abs_stage" -DLISTS="$(cd "$lists" && pwd)" \
    -DOUTFILE="$(pwd)/$out/qv300-$version-setup.exe" tools/windows/qv300.nsi
rm -rf "$final"
mv "$out" "$final"
ls -l "$final/$name.zip" "$final/qv300-$version-setup.exe"
