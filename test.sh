#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds and runs every test; then builds the tests
# again with AddressSanitizer and UndefinedBehaviorSanitizer and runs them;
# then runs every fuzz target over its seeds and a short run of fresh inputs
# (built with clang's libFuzzer, also under both sanitizers). Last, when a
# Qt for MinGW is at hand (see tools/windows/build.sh), cross-builds the
# Windows programs and runs their tests under Wine.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh --tests
jobs="$(nproc)"
export QT_QPA_PLATFORM=offscreen

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQV300_BUILD_TESTS=ON -DQV300_WERROR=ON >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"
echo "== every window as a screen reader sees it, over AT-SPI =="
tests/a11y/walk.sh build
echo "== a whole task by the keyboard alone, under a virtual X server =="
tests/a11y/keyboard-task.sh build

echo "== again with AddressSanitizer and UndefinedBehaviorSanitizer =="
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DQV300_SANITIZE=ON -DQV300_WERROR=ON >/dev/null
cmake --build build-sanitize -j"$jobs"
export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
ctest --test-dir build-sanitize --output-on-failure -j"$jobs"

echo "== the fuzz targets: their seeds and a short run of fresh inputs =="
cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQV300_BUILD_TESTS=ON -DQV300_FUZZ=ON -DQV300_WERROR=ON >/dev/null
cmake --build build-fuzz -j"$jobs" --target qv300-fuzz
ctest --test-dir build-fuzz -L fuzz --output-on-failure -j"$jobs"

echo "== Windows build under Wine =="
if qt_mingw="$(tools/windows/build.sh --find-qt 2>/dev/null)"; then
  tools/install-deps.sh --windows
  # Wine's own prefix for the tests, without the prompts for Mono and Gecko.
  export WINEPREFIX="${WINEPREFIX:-$PWD/build-win/wine}" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  echo "Qt for MinGW: $qt_mingw"
  tools/windows/build.sh -DQV300_WERROR=ON
  # The tests run in one kept Wine session whose COM ports lead to no
  # device of this machine: Wine would give its serial console a COM number.
  . tools/windows/wine-env.sh
  wine_prefix "$WINEPREFIX"
  ports_ready
  ctest --test-dir build-win --output-on-failure -j"$jobs"
  "$wineserver" -k || true
  tests/windows/run.sh
else
  echo "Windows tests skipped: no Qt for MinGW (set QV300_QT_MINGW, put the prebuilt archive in" \
       "../shared/toolchains/, or run tools/windows/build-qt.sh)"
fi
