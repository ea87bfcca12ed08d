#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Pictures of the read and the write window at work against the simulated
# radio (paced like a real cable), under a virtual X server:
#   tools/link-screenshots.sh [OUTDIR] [APP_PATH]
# APP_PATH is the folder whose SysInfo.Ini and language files are used
# (default: the build folder).
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-docs}"
app="${2:-build}"
tools/install-deps.sh --tools
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target qv300-link-screenshots qv300-radio-sim >/dev/null
sim_out="$(mktemp)"
build/qv300-radio-sim --pace >"$sim_out" 2>/dev/null &
sim=$!
# Four more radios for the fleet write window, the third of which loses
# power while it is written.
fleet_out="$(mktemp)"
build/qv300-radio-sim --pace --radios 4 --fault-radio 3 --power-loss-after 8 >"$fleet_out" 2>/dev/null &
fleet=$!
trap 'kill "$sim" "$fleet" 2>/dev/null; rm -f "$sim_out" "$fleet_out"' EXIT
for _ in $(seq 100); do [ -s "$sim_out" ] && [ "$(wc -l <"$fleet_out")" -ge 4 ] && break; sleep 0.05; done
xvfb-run -a -s "-screen 0 1280x800x24" build/qv300-link-screenshots "$out" --device "$(head -n1 "$sim_out")" \
    --app-path "$app" --fleet-devices "$(paste -sd, "$fleet_out")"
