#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Walks the channel grid with the keyboard under a virtual X server, as a
# user would, and checks that moving changes no value:
#   tools/grid-walk.sh [BUILD_DIR]
# It types a frequency into all 16 channels (and a tone into some), saves the
# document, dumps it with qv300-cli, then presses Down/Up, Enter and Right or
# Left on every cell of all 16 rows and 11 columns, saves again with Ctrl+S
# and compares the two dumps. Needs xvfb and xdotool (tools/install-deps.sh
# --tools); the positions below are those of the window at 1280x800.
set -euo pipefail
cd "$(dirname "$0")/.."
build="$(realpath "${1:-build}")"
if [ -z "${GRID_WALK_INNER:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x800x24" env GRID_WALK_INNER=1 "$0" "$build"
fi

work="$(mktemp -d)"
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# The program runs from a copy of the build's executable and language files,
# so the build's own SysInfo.Ini stays as it is.
cp "$build/qv300" "$build"/*.Ini "$work"/
"$work/qv300" >"$work/app.log" 2>&1 &
app_pid=$!
xdotool search --sync --onlyvisible --name '^QV-300' >/dev/null
sleep 1

# Cell centres of the grid: column x by field, row y by channel.
declare -A x=([no]=236 [rx]=298 [dec]=451 [enc]=516)
row_y() { echo $((146 + 20 * ($1 - 1))); }
click() { xdotool mousemove "$1" "$2" click 1; sleep 0.1; }
keys() { xdotool key --delay 20 "$@"; }

for ch in $(seq 1 16); do
  click "${x[rx]}" "$(row_y "$ch")"
  xdotool type --delay 20 "$(printf '44%d.%05d' $((ch % 8)) $((ch * 625)))"
  keys Return
done
for ch in 2 5 9 14; do
  click "${x[dec]}" "$(row_y "$ch")"
  xdotool type --delay 20 "88.5"
  keys Return
  click "${x[enc]}" "$(row_y "$ch")"
  xdotool type --delay 20 "D023N"
  keys Return
done

file="$work/walk.dat"
keys ctrl+s
sleep 1
xdotool type --delay 20 "$file"
keys Return
sleep 1
[ -s "$file" ] || { echo "grid-walk: the first save made no file" >&2; exit 1; }
"$build/qv300-cli" dump "$file" >"$work/before.json"
echo "grid-walk: saved $(grep -c '"rx"' "$work/before.json" || true) channels"

# The walk: channel 1's number cell, then every cell in a snake.
click "${x[no]}" "$(row_y 1)"
for ch in $(seq 1 16); do
  if [ $((ch % 2)) -eq 1 ]; then step=Right; else step=Left; fi
  for col in $(seq 1 11); do
    if [ "$ch" -lt 16 ]; then keys Down Up Return; else keys Up Down Return; fi
    [ "$col" -lt 11 ] && keys "$step"
  done
  [ "$ch" -lt 16 ] && keys Down
done
keys ctrl+s
sleep 1
"$build/qv300-cli" dump "$file" >"$work/after.json"

if diff -u "$work/before.json" "$work/after.json"; then
  echo "grid-walk: 16 rows x 11 columns walked, saved, the dump is unchanged"
else
  echo "grid-walk: the walk changed the document" >&2
  exit 1
fi
