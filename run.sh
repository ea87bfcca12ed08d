#!/usr/bin/env bash
# Installs what is missing, builds in build/ and starts the program.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target qv300 qv300-cli

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec build/qv300 "$@"
fi

# No desktop to show a window on: show the system working from the command
# line instead, with the data file of a new document and what it holds.
echo "No display found (DISPLAY and WAYLAND_DISPLAY are empty); showing the command line instead."
out=build/new-document.dat
build/qv300-cli new "$out" --force
echo "Wrote $out ($(stat -c %s "$out") bytes):"
build/qv300-cli dump "$out"
