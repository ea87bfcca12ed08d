#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Measures the memory of one hands-free fleet write over many radios: eight
# simulated radios on eight cables, written with backup and verify, then
# taken off and replaced by eight new ones, round after round. Checks that
# every radio got its line in the log, and prints after the first round and
# after the last:
#   - the resident memory (VmRSS, of it RssAnon and RssFile), as it is and
#     once malloc_trim(0) has given the free pages of the heap back;
#   - the heap in use (malloc's bytes handed out and not freed, the least of
#     a few looks, as the ports' exchanges come and go) and the heap malloc
#     holds from the system, both read with gdb when it is installed.
#   tools/measure-fleet-memory.sh [ROUNDS] [--pace] [--heaptrack FILE]
# ROUNDS defaults to 25 (200 radios). The simulator runs unpaced unless
# --pace is given. --heaptrack records every allocation of the run into
# FILE.zst (see heaptrack_print). Builds nothing: run it after building
# qv300-cli and qv300-radio-sim in build/.
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=25
pace=()
heaptrack_file=""
while [ $# -gt 0 ]; do
    case "$1" in
    --pace) pace=(--pace) ;;
    --heaptrack) heaptrack_file="$(realpath -m "${2:?--heaptrack FILE}")"; shift ;;
    *[!0-9]* | '') echo "usage: $0 [ROUNDS] [--pace] [--heaptrack FILE]" >&2; exit 1 ;;
    *) rounds="$1" ;;
    esac
    shift
done
radios=8
cli=build/qv300-cli
sim_bin=build/qv300-radio-sim
[ -x "$cli" ] && [ -x "$sim_bin" ] || { echo "build qv300-cli and qv300-radio-sim first" >&2; exit 1; }

tmp="$(mktemp -d)"
sim=""
writer=""
app=""
cleanup() {
    [ -n "$app" ] && kill "$app" 2>/dev/null
    [ -n "$writer" ] && kill "$writer" 2>/dev/null && wait "$writer" 2>/dev/null
    [ -n "$sim" ] && kill "$sim" 2>/dev/null && wait "$sim" 2>/dev/null
    rm -rf "$tmp"
}
trap cleanup EXIT

: >"$tmp/control"
"$sim_bin" --radios "$radios" --control "$tmp/control" "${pace[@]}" >"$tmp/sim.out" 2>/dev/null &
sim=$!
for _ in $(seq 200); do [ "$(wc -l <"$tmp/sim.out")" -ge "$radios" ] && break; sleep 0.05; done
mapfile -t ptys < <(head -n "$radios" "$tmp/sim.out")
[ "${#ptys[@]}" -eq "$radios" ] || { echo "the simulator printed no pseudo-terminals" >&2; exit 1; }

# The document: what the first radio holds.
"$cli" read "$tmp/radio.dat" --port COM1 --device "${ptys[0]}" >/dev/null

ports="$(seq -s, -f 'COM%g' 1 "$radios")"
devices="$(IFS=,; echo "${ptys[*]}")"
log="$tmp/fleet.csv"
wrap=()
[ -n "$heaptrack_file" ] && wrap=(heaptrack -o "$heaptrack_file")
"${wrap[@]}" "$cli" write "$tmp/radio.dat" --port "$ports" --device "$devices" --watch --yes \
    --backup-dir "$tmp/backups" --log "$log" >"$tmp/cli.out" 2>&1 &
writer=$!
# Under heaptrack the program is a child of its script.
app=$writer
if [ -n "$heaptrack_file" ]; then
    app=""
    for _ in $(seq 100); do
        app="$(pgrep -P "$writer" -x qv300-cli || true)"
        [ -n "$app" ] && break
        sleep 0.1
    done
    [ -n "$app" ] || { echo "qv300-cli did not start under heaptrack" >&2; exit 1; }
fi

# Lines in the log apart from its heading.
logged() { [ -f "$log" ] && echo $(($(wc -l <"$log") - 1)) || echo 0; }
wait_logged() { # count
    local deadline=$((SECONDS + 120))
    while [ "$(logged)" -lt "$1" ]; do
        kill -0 "$writer" 2>/dev/null || { echo "qv300-cli ended early:" >&2; cat "$tmp/cli.out" >&2; exit 1; }
        [ "$SECONDS" -lt "$deadline" ] || { echo "only $(logged) of $1 radios logged" >&2; exit 1; }
        sleep 0.2
    done
}
status() { # field of /proc/PID/status, in kB
    awk -v f="$1:" '$1 == f { print $2 }' "/proc/$app/status"
}
in_gdb() { # gdb commands... -> the values they print
    gdb -p "$app" -batch "$@" 2>/dev/null | awk '/^\$[0-9]+ = / { print $3 }'
}
sample() { # name: its figures into NAME_rss, NAME_anon ...
    local heap="-" held="-" figures
    if command -v gdb >/dev/null; then
        for _ in 1 2 3 4 5; do
            figures="$(in_gdb -ex 'print (long)(mallinfo2().uordblks + mallinfo2().hblkhd)' \
                -ex 'print (long)(mallinfo2().arena + mallinfo2().hblkhd)' | paste -sd' ')"
            [[ "$figures" =~ ^[0-9]+\ [0-9]+$ ]] || continue
            [ "$heap" = - ] || [ "${figures% *}" -lt "$heap" ] && heap="${figures% *}"
            held="${figures#* }"
            sleep 0.3
        done
    fi
    eval "$1_rss=$(status VmRSS) $1_anon=$(status RssAnon) $1_file=$(status RssFile) $1_heap=$heap $1_held=$held"
}
trim() {
    command -v gdb >/dev/null && in_gdb -ex 'call (int)malloc_trim(0)' >/dev/null
    return 0
}

unplug_all() {
    for k in $(seq "$radios"); do echo "unplug $k"; done >>"$tmp/control"
    # Off the cable long enough for each port to see its radio gone (a look
    # every 1.5 s, a handshake time-out of 1.5 s).
    sleep 4
}
# The figures are taken with every radio off its cable: gdb stops the
# program while it looks, and a radio half-written would fail for it.
for round in $(seq "$rounds"); do
    wait_logged $((round * radios))
    unplug_all
    if [ "$round" -eq 1 ]; then
        sample first
        trim
        sample first_trimmed
    fi
    [ "$round" -eq "$rounds" ] && break
    for k in $(seq "$radios"); do echo "plug $k"; done >>"$tmp/control"
done
sample last
trim
sample last_trimmed

kill -INT "$app"
wait "$writer" || true
writer=""
app=""

total=$((rounds * radios))
lines="$(logged)"
serials="$(tail -n +2 "$log" | cut -d, -f4 | sort -u | wc -l)"
good="$(tail -n +2 "$log" | cut -d, -f8 | grep -c '^verified$' || true)"
printf 'radios            %d (%d rounds of %d)\n' "$total" "$rounds" "$radios"
printf 'log lines         %d, %d serial numbers, %d verified\n' "$lines" "$serials" "$good"
row() { printf '%-14s %10s %10s %10s %10s %10s\n' "$@"; }
per() { # first last -> per radio after the first round
    awk -v a="$1" -v b="$2" -v n="$((total - radios))" \
        'BEGIN { if (a == "-" || b == "-" || n == 0) print "-"; else printf "%.1f", (b - a) / n }'
}
figure() { # name: its row
    local f="first_$1" ft="first_trimmed_$1" l="last_$1" lt="last_trimmed_$1"
    row "$2" "${!f}" "${!ft}" "${!l}" "${!lt}" "$(per "${!ft}" "${!lt}")"
}
row '' 'round 1' 'trimmed' "round $rounds" 'trimmed' 'per radio'
figure rss 'VmRSS kB'
figure anon 'RssAnon kB'
figure file 'RssFile kB'
figure heap 'heap in use B'
figure held 'heap held B'
if [ "$lines" -ne "$total" ] || [ "$serials" -ne "$total" ] || [ "$good" -ne "$total" ]; then
    echo "not every radio was written and verified once:" >&2
    tail -n +2 "$log" | grep -v ',verified,' | head -n 5 >&2
    exit 1
fi
