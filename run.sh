#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds in build/ and starts the program.
#   ./run.sh          the program
#   ./run.sh --demo   the program with COM1 on the simulated radio
set -euo pipefail
cd "$(dirname "$0")"
demo=false
if [ "${1:-}" = "--demo" ]; then
  demo=true
  shift
fi
tools/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target qv300 qv300-cli qv300-radio-sim

if $demo; then
  # The simulator prints its pseudo-terminal first; COM1 stands for it for
  # this run only (nothing is written to SysInfo.Ini).
  sim_out="$(mktemp)"
  build/qv300-radio-sim --pace >"$sim_out" &
  sim=$!
  trap 'kill "$sim" 2>/dev/null; rm -f "$sim_out"' EXIT
  for _ in $(seq 100); do [ -s "$sim_out" ] && break; sleep 0.05; done
  pty="$(head -n1 "$sim_out")"
  echo "Simulated radio on $pty, used as COM1."
  if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    build/qv300 --port COM1 --device "$pty" "$@"
  else
    echo "No display found; reading and writing the simulated radio from the command line."
    build/qv300-cli read build/demo-radio.dat --port COM1 --device "$pty"
    build/qv300-cli dump build/demo-radio.dat | head -n 12
    build/qv300-cli write build/demo-radio.dat --port COM1 --device "$pty" --yes
  fi
  exit 0
fi

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
