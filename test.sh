#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds and runs every test; then builds the tests
# again with AddressSanitizer and UndefinedBehaviorSanitizer and runs them.
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
