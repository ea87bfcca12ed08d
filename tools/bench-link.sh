#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Times `qv300-cli read`, the plain `qv300-cli write` and the safe write
# (backup read, write, verify read) against the simulated radio with --pace
# and compares each with the protocol's own floor: the waits the exchange
# prescribes plus the line time of every frame and reply at 4800 baud, 11 bit
# times a byte (8 data bits, start and 2 stop bits). The safe write's floor
# is the read floor twice plus the write floor.
#   tools/bench-link.sh [--wine] [RUNS]
# --wine times build-win/qv300-cli.exe under Wine instead, the simulator on
# its COM5 (the prefix: $QV300_WINEPREFIX, default build-win/wine-prefix).
# Every command also pays for starting the program, which under Wine takes
# a good part of a second; the column link_ratio takes away the median time
# of `qv300-cli --version` in the same session, leaving the link's own time.
set -euo pipefail
cd "$(dirname "$0")/.."
under_wine=false
if [ "${1:-}" = --wine ]; then
    under_wine=true
    shift
fi
runs="${1:-3}"
tools/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target qv300-cli qv300-radio-sim >/dev/null

tmp="$(mktemp -d)"
build/qv300-radio-sim --pace >"$tmp/sim.out" 2>/dev/null &
sim=$!
trap 'kill "$sim" 2>/dev/null; rm -rf "$tmp"; if $under_wine; then "$wineserver" -k; fi' EXIT
for _ in $(seq 100); do [ -s "$tmp/sim.out" ] && break; sleep 0.05; done
pty="$(head -n1 "$tmp/sim.out")"
[ -n "$pty" ] || { echo "the simulator printed no pseudo-terminal" >&2; exit 1; }

# Waits: 450 + 50 ms before the wake-up frame, 200 ms xTimer, 5 ms before the
# identify request, 30 ms before every frame.
#   read:  60 frames; sent 8+8+1+16 + 28 acks + 27 x 4 + 1 = 170 bytes,
#          received 1+1+16+1 + 28 + 27 x 20 = 587 bytes
#   write: 31 frames; sent 8+8+1+16+1 + 25 x 20 + 1 = 535 bytes,
#          received 1+1+16+1+1 + 25 = 45 bytes
floor() { awk -v frames="$1" -v bytes="$2" 'BEGIN { printf "%.3f", (705 + 30 * frames) / 1000 + bytes * 11 / 4800 }'; }
read_floor="$(floor 60 757)"
write_floor="$(floor 31 580)"
safe_floor="$(awk -v r="$read_floor" -v w="$write_floor" 'BEGIN { printf "%.3f", 2 * r + w }')"

measure() { # command... -> seconds
    local start end
    start="$(date +%s.%N)"
    "$@" >/dev/null
    end="$(date +%s.%N)"
    awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", b - a }'
}

cli=(build/qv300-cli)
port=(--port COM1 --device "$pty")
if $under_wine; then
    source tools/windows/wine-env.sh
    wine_prefix "${QV300_WINEPREFIX:-$(pwd)/build-win/wine-prefix}"
    map_com 5 "$pty"
    ports_ready # the session stays, as a Windows machine's does between runs
    cli=("$wine" build-win/qv300-cli.exe)
    port=(--port COM5)
fi
start_s="$(for _ in 1 2 3 4 5; do measure "${cli[@]}" --version; echo; done | sort -n | sed -n 3p)"
echo "start-up of the program (median of 5 --version runs): $start_s s"
row() { # OP FLOOR TIME
    awk -v op="$1" -v f="$2" -v t="$3" -v s="$start_s" \
        'BEGIN { printf "%-6s %-8s %-8s %-6.3f %.3f\n", op, f, t, t / f, (t - s) / f }'
}
printf '%-6s %-8s %-8s %-6s %s\n' op floor_s time_s ratio link_ratio
for i in $(seq "$runs"); do
    row read "$read_floor" "$(measure "${cli[@]}" read "$tmp/read.dat" "${port[@]}" --force)"
    row write "$write_floor" "$(measure "${cli[@]}" write "$tmp/read.dat" "${port[@]}" --no-backup --no-verify)"
    row safe "$safe_floor" "$(measure "${cli[@]}" write "$tmp/read.dat" "${port[@]}" --yes --backup-dir "$tmp/backups")"
done
