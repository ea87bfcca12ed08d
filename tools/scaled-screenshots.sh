#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Pictures of the main window, the channel grid and the write window at
# 200 % (QT_SCALE_FACTOR=2), as on a high-DPI screen, under a virtual X
# server twice the usual size:
#   tools/scaled-screenshots.sh [OUTDIR]
#   tools/scaled-screenshots.sh --chinese [OUTDIR]
# OUTDIR defaults to docs/scaled/ (docs/zh/scaled/ with Chinese current,
# from a copy of the shipped files). Every other picture of tools/screenshots.sh
# and tools/link-screenshots.sh is taken too, into a folder that is thrown
# away.
set -euo pipefail
cd "$(dirname "$0")/.."
chinese=false
if [ "${1:-}" = "--chinese" ]; then
  chinese=true
  shift
fi
out="${1:-docs/scaled}"
app=build
shots="$(mktemp -d)"
if $chinese; then
  out="${1:-docs/zh/scaled}"
  app="$shots/app"
  mkdir "$app"
  cp data/*.Ini "$app"/
  # Index 1 of the shipped language list is Chinese.
  sed -i 's/^Language_ID=0/Language_ID=1/' "$app/SysInfo.Ini"
fi
tools/install-deps.sh --tools
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target qv300-screenshots qv300-link-screenshots qv300-radio-sim >/dev/null
sim_out="$(mktemp)"
sim=""
trap '[ -n "$sim" ] && kill "$sim" 2>/dev/null; rm -rf "$shots" "$sim_out"' EXIT
export QT_SCALE_FACTOR=2
screen="-screen 0 2560x1600x24"
xvfb-run -a -s "$screen" build/qv300-screenshots "$shots" --app-path "$app"
build/qv300-radio-sim --pace >"$sim_out" 2>/dev/null &
sim=$!
for _ in $(seq 100); do [ -s "$sim_out" ] && break; sleep 0.05; done
xvfb-run -a -s "$screen" build/qv300-link-screenshots "$shots" --device "$(head -n1 "$sim_out")" --app-path "$app"
mkdir -p "$out"
cp "$shots/main-window.png" "$shots/write-window.png" "$out"/
cp "$shots/channel-selection.png" "$out/channel-grid.png"
echo "200 % pictures in $out: main-window.png channel-grid.png write-window.png"
