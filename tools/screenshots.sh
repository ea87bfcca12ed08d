#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Pictures of the windows for the README, under a virtual X server:
#   tools/screenshots.sh [OUTDIR] [APP_PATH]
#   tools/screenshots.sh --chinese [OUTDIR]
# OUTDIR defaults to docs/; APP_PATH is the folder whose SysInfo.Ini and
# language files are used (default: the build folder, with the language files
# and the settings of the program run from there). --chinese takes the same
# pictures, and those of the read and write windows against the simulated
# radio, with Chinese current (default OUTDIR docs/zh/).
set -euo pipefail
cd "$(dirname "$0")/.."
chinese=false
if [ "${1:-}" = "--chinese" ]; then
  chinese=true
  shift
fi
out="${1:-docs}"
app="${2:-}"
if $chinese; then
  out="${1:-docs/zh}"
  app="$(mktemp -d)"
  trap 'rm -rf "$app"' EXIT
  cp data/*.Ini "$app"/
  # Index 1 of the shipped language list is Chinese.
  sed -i 's/^Language_ID=0/Language_ID=1/' "$app/SysInfo.Ini"
fi
tools/install-deps.sh --tools
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target qv300-screenshots >/dev/null
app="${app:-build}"
xvfb-run -a -s "-screen 0 1280x800x24" build/qv300-screenshots "$out" --app-path "$app"
if $chinese; then
  tools/link-screenshots.sh "$out" "$app"
fi
