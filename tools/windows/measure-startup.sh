#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up of qv300.exe under Wine to its main window, against the same for
# a bare Qt window (bare-window.cpp, built here with the Qt of build-win/),
# on a virtual X server: from the start of the process until X shows a
# window of it. Both run from a folder of their own with what the program
# needs beside it (so no settings of an earlier run are read), with the
# Wine session already up, after one run each to warm the caches; prints
# every run and the medians.
#   tools/windows/measure-startup.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/../.."
runs="${1:-5}"
build="${QV300_BUILD_WIN:-build-win}"
[ -f "$build/qv300.exe" ] || { echo "no $build/qv300.exe: run tools/windows/build.sh" >&2; exit 1; }
qt="$(sed -n 's|^Qt6_DIR:PATH=\(.*\)/lib/cmake/Qt6$|\1|p' "$build/CMakeCache.txt")"
[ -d "$qt/include/QtWidgets" ] || { echo "no Qt for MinGW found through $build/CMakeCache.txt" >&2; exit 1; }

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$@"
fi
app="$(mktemp -d)"
trap 'rm -rf "$app"' EXIT
cp "$build"/qv300.exe "$build"/*.dll data/*.Ini "$app/"
cp -r "$build/platforms" "$build/styles" "$app/"
if [ -f "$build/qt.conf" ]; then cp "$build/qt.conf" "$app/"; fi
# Compiled as CMake compiles a Qt Widgets program with this Qt.
x86_64-w64-mingw32-g++-posix -std=c++20 -O2 -mwindows -DUNICODE -D_UNICODE -DWIN32 -DWIN64 -D_WIN64 \
    -DMINGW_HAS_SECURE_API=1 -DQT_NO_DEBUG -DQT_CORE_LIB -DQT_GUI_LIB -DQT_WIDGETS_LIB \
    -isystem "$qt/include" -isystem "$qt/include/QtCore" -isystem "$qt/include/QtGui" -isystem "$qt/include/QtWidgets" \
    -isystem "$qt/mkspecs/win32-g++" tools/windows/bare-window.cpp -L"$qt/lib" -lQt6Widgets -lQt6Gui -lQt6Core \
    -o "$app/qv300-bare-window.exe"
source tools/windows/wine-env.sh
wine_prefix "${QV300_WINEPREFIX:-$(pwd)/build-win/wine-prefix}"
ports_ready
trap '"$wineserver" -k; rm -rf "$app"' EXIT

shown_after() { # program -> milliseconds until X maps a window of it
    local start end program
    start="$(date +%s%N)"
    "$wine" "$1" & program=$!
    until xdotool search --onlyvisible --pid "$program" >/dev/null 2>&1; do
        kill -0 "$program" 2>/dev/null || { echo "$1 ended without a window" >&2; exit 1; }
        (( $(date +%s%N) - start < 60000000000 )) || { echo "$1 showed no window in 60 s" >&2; exit 1; }
        sleep 0.01
    done
    end="$(date +%s%N)"
    kill "$program"
    wait "$program" 2>/dev/null || true
    echo $(( (end - start) / 1000000 ))
}

shown_after "$app/qv300-bare-window.exe" >/dev/null
shown_after "$app/qv300.exe" >/dev/null
bare=() program=()
for run in $(seq "$runs"); do
    bare+=("$(shown_after "$app/qv300-bare-window.exe")")
    program+=("$(shown_after "$app/qv300.exe")")
    echo "run $run: bare window ${bare[-1]} ms, qv300.exe ${program[-1]} ms"
done
median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
b="$(median "${bare[@]}")" p="$(median "${program[@]}")"
echo "median of $runs: bare window $b ms, qv300.exe $p ms, ratio $(awk -v p="$p" -v b="$b" 'BEGIN { printf "%.2f", p / b }')"
