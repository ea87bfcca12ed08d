#!/usr/bin/env bash
# Pictures of the windows for the README, under a virtual X server:
#   tools/screenshots.sh [OUTDIR] [APP_PATH]
# OUTDIR defaults to docs/; APP_PATH is the folder whose SysInfo.Ini and
# language files are used (default: the build folder, with the language files
# and the settings of the program run from there).
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-docs}"
app="${2:-}"
tools/install-deps.sh --tools
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target qv300-screenshots >/dev/null
app="${app:-build}"
xvfb-run -a -s "-screen 0 1280x800x24" build/qv300-screenshots "$out" --app-path "$app"
