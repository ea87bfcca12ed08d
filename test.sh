#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds and runs every test; then builds the tests
# again with AddressSanitizer and UndefinedBehaviorSanitizer and runs them;
# then runs every fuzz target over its seeds and a short run of fresh inputs
# (built with clang's libFuzzer, also under both sanitizers).
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh --tests
jobs="$(nproc)"
export QT_QPA_PLATFORM=offscreen

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQV300_BUILD_TESTS=ON -DQV300_WERROR=ON >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

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
