#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# One whole task by the keyboard alone, as a user without a mouse does it,
# under a virtual X server with no window manager:
#   tests/a11y/keyboard-task.sh [BUILD_DIR]
# It reads the simulated radio (Ctrl+R), goes to the tree (F6) and opens
# Key Function from it (Enter) to change a key, goes back to the channel
# grid (Ctrl+F6), types a new RX frequency and a decode tone for channel 3,
# saves (Ctrl+S), and writes the radio back with backup and verify (Ctrl+W),
# answering every window with keys only. Then it checks the simulator's
# memory against what was typed, the saved file against the simulator, the
# backup against the radio as it was, and that the simulator served the
# verify's read after the write. Needs xvfb and
# xdotool (tools/install-deps.sh --tests); prints one line and succeeds
# without them.
set -euo pipefail
cd "$(dirname "$0")/../.."
build="$(realpath "${1:-build}")"
if [ -z "${KEYBOARD_TASK_INNER:-}" ]; then
  for tool in xvfb-run xdotool; do
    if ! command -v "$tool" >/dev/null; then
      echo "keyboard task skipped: $tool is missing (tools/install-deps.sh --tests)"
      exit 0
    fi
  done
  # The whole task takes about half a minute; a hung window must not hold CI.
  # The program's windows go to that X server, whatever platform the
  # caller chose for its own tests (test.sh runs them offscreen).
  exec timeout -k 5 180 xvfb-run -a -s "-screen 0 1280x800x24" env KEYBOARD_TASK_INNER=1 QT_QPA_PLATFORM=xcb "$0" "$build"
fi

work="$(mktemp -d)"
app_pid=""
sim_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "keyboard task: $*" >&2
  echo "--- program output:" >&2
  cat "$work/app.log" >&2 || true
  exit 1
}

# Waits (at most 20 s) for a shown window whose title matches, and gives it
# the keyboard; prints its id.
window() {
  local id
  for _ in $(seq 200); do
    id="$(xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -n1 || true)"
    if [ -n "$id" ]; then
      xdotool windowfocus --sync "$id" 2>/dev/null || true
      sleep 0.3
      echo "$id"
      return 0
    fi
    sleep 0.1
  done
  fail "no window \"$1\""
}
# Waits (at most 60 s, a paced radio is slow) until no window matches.
gone() {
  for _ in $(seq 600); do
    xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  fail "window \"$1\" stays open"
}
keys() { xdotool key --clearmodifiers --delay 60 "$@"; sleep 0.2; }
typed() { xdotool type --delay 40 "$1"; sleep 0.2; }

# The program runs from a copy of the build's executable and language files,
# so the build's SysInfo.Ini stays as it is and the backups land in $work.
cp "$build/qv300" "$build"/*.Ini "$work"/
"$build/qv300-radio-sim" --save "$work/radio.dat" >"$work/sim.out" 2>"$work/sim.log" &
sim_pid=$!
for _ in $(seq 100); do [ -s "$work/sim.out" ] && break; sleep 0.05; done
pty="$(head -n1 "$work/sim.out")"
[ -n "$pty" ] || fail "the simulator gave no device"
"$work/qv300" --port COM1 --device "$pty" >"$work/app.log" 2>&1 &
app_pid=$!
window '^QV-300' >/dev/null

# Read the radio: Ctrl+R, Ok, and the result's Ok.
keys ctrl+r
window '^Read data From radio$' >/dev/null
keys alt+o
window '^Confirmation$' >/dev/null
keys Return
gone '^Read data From radio$'
window '^QV-300' >/dev/null

# Each step below counts on the one before: a key that went nowhere leaves
# the typing to the wrong window, and the checks at the end fail.
# F6 goes to the tree; Enter on Key Function (the fourth node from the
# bottom) opens it with the keyboard on its first list, Key 1's short press,
# which Down moves on by one.
keys F6 End Up Up Up Up Return
keys Down
# Ctrl+F6: back to the grid, on channel 1's RX cell; channel 3's RX (the
# band of the simulated radio is 134 - 174 MHz), then two columns on the
# decode tone, whose list opens on typing.
keys ctrl+F6
keys Down Down
typed 146.10000
keys Return
keys Right Right
typed 88.5
keys Return

# Save under a new name.
keys ctrl+s
window '^Save As$' >/dev/null
typed "$work/task.dat"
keys Return
for _ in $(seq 50); do [ -s "$work/task.dat" ] && break; sleep 0.1; done
[ -s "$work/task.dat" ] || fail "Ctrl+S saved nothing"
window '^QV-300' >/dev/null

# Write it back, with backup and verify (the write window's defaults):
# Ok, then Write in the list of changes, then the result's Ok.
keys ctrl+w
window '^Write data to radio$' >/dev/null
keys alt+o
window '^What Will Change$' >/dev/null
keys alt+w
gone '^What Will Change$'
window '^Confirmation$' >/dev/null
keys Return
window '^Write data to radio$' >/dev/null
keys Escape
gone '^Write data to radio$'

# The checks. The simulator served the read, the backup's read, the write
# and the verify's read back, in that order.
grep -q 'session 3 ended by the host (0 blocks read, 25 written)' "$work/sim.log" &&
  grep -q 'session 4 ended by the host (27 blocks read, 0 written)' "$work/sim.log" ||
  { cat "$work/sim.log" >&2; fail "the simulator saw no read, backup, write and verify"; }
backups=("$work"/backups/*.dat)
[ -s "${backups[0]}" ] || fail "no backup in $work/backups"
"$build/qv300-cli" dump "$work/radio.dat" >"$work/radio.json"
"$build/qv300-cli" dump "$work/task.dat" >"$work/task.json"
"$build/qv300-cli" dump "${backups[0]}" >"$work/backup.json"
# The radio holds what was typed, and exactly the file saved (but for the
# time of the write, which the write stamps); the backup holds the radio as
# it was, which differs in channel 3 and key 1 alone.
/usr/bin/python3 - "$work" <<'EOF' || fail "the radio does not hold what was typed"
import json, sys
work = sys.argv[1]
radio, saved, backup = (json.load(open(f"{work}/{name}.json")) for name in ("radio", "task", "backup"))
ch3 = next(c for c in radio["channels"] if c["number"] == 3)
assert (ch3["rx"], ch3["rx_tone"]) == ("146.10000", "88.5"), ch3
for d in (radio, saved, backup):
    d.pop("write_time")
assert radio == saved, "the radio differs from the saved file"
old = next(c for c in backup["channels"] if c["number"] == 3)
assert (old["rx"], old["rx_tone"]) == ("147.00000", ""), old
assert [c for c in backup["channels"] if c["number"] != 3] == [c for c in radio["channels"] if c["number"] != 3]
keys, old_keys = radio["settings"].pop("keys"), backup["settings"].pop("keys")
assert keys["key1_short"] != old_keys["key1_short"], keys
assert dict(keys, key1_short=None) == dict(old_keys, key1_short=None), keys
assert dict(backup, channels=None) == dict(radio, channels=None), "the backup differs outside channel 3 and key 1"
EOF
echo "keyboard task: read, channel 3 edited, saved, written with backup and verify; the radio holds what was typed"
