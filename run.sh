#!/usr/bin/env bash
# Installs what is missing, builds in build/ and starts the program.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQV300_BUILD_TESTS=OFF >/dev/null
cmake --build build -j"$(nproc)"

# Until the windows land, show the system working from the command line: the
# data file of a new document, and what it holds.
out="${1:-build/new-document.dat}"
build/qv300-cli new "$out" --force
echo "Wrote $out ($(stat -c %s "$out") bytes):"
build/qv300-cli dump "$out"
