#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Measures the memory of one hands-free fleet write over many radios: eight
# simulated radios on eight cables, written with backup and verify, then
# taken off and replaced by eight new ones, round after round. Prints the
# resident memory (VmRSS) and the heap in use (malloc's in-use bytes, read
# with gdb when it is installed) after the first round and after the last,
# and checks that every radio got its line in the log.
#   tools/measure-fleet-memory.sh [ROUNDS] [--pace]
# ROUNDS defaults to 25 (200 radios). The simulator runs unpaced unless
# --pace is given. Builds nothing: run it after building qv300-cli and
# qv300-radio-sim in build/.
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=25
pace=()
for a in "$@"; do
    case "$a" in
    --pace) pace=(--pace) ;;
    *[!0-9]* | '') echo "usage: $0 [ROUNDS] [--pace]" >&2; exit 1 ;;
    *) rounds="$a" ;;
    esac
done
radios=8
cli=build/qv300-cli
sim_bin=build/qv300-radio-sim
[ -x "$cli" ] && [ -x "$sim_bin" ] || { echo "build qv300-cli and qv300-radio-sim first" >&2; exit 1; }

tmp="$(mktemp -d)"
sim=""
writer=""
cleanup() {
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
"$cli" write "$tmp/radio.dat" --port "$ports" --device "$devices" --watch --yes \
    --backup-dir "$tmp/backups" --log "$log" >"$tmp/cli.out" 2>&1 &
writer=$!

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
    awk -v f="$1:" '$1 == f { print $2 }' "/proc/$writer/status"
}
# malloc's figures through gdb, when it is installed: the bytes handed out
# and not given back, and the bytes it holds from the system for them.
malloc_figures() {
    if command -v gdb >/dev/null; then
        gdb -p "$writer" -batch -ex 'print (long)(mallinfo2().uordblks + mallinfo2().hblkhd)' \
            -ex 'print (long)(mallinfo2().arena + mallinfo2().hblkhd)' 2>/dev/null |
            awk '/^\$[0-9]+ = / { v[++n] = $3 } END { print (n == 2 ? v[1] " " v[2] : "- -") }'
    else
        echo - -
    fi
}
sample() { # name
    local figures
    figures="$(malloc_figures)"
    eval "$1_rss=$(status VmRSS) $1_anon=$(status RssAnon) $1_file=$(status RssFile)"
    eval "$1_heap=${figures% *} $1_arena=${figures#* }"
}

for round in $(seq "$rounds"); do
    wait_logged $((round * radios))
    # Every port settles into looking for its radio before the figures.
    sleep 1
    [ "$round" -eq 1 ] && sample first
    [ "$round" -eq "$rounds" ] && break
    # Off the cable long enough for each port to see its radio gone (a look
    # every 1.5 s, a handshake time-out of 1.5 s), then new radios on.
    for k in $(seq "$radios"); do echo "unplug $k"; done >>"$tmp/control"
    sleep 4
    for k in $(seq "$radios"); do echo "plug $k"; done >>"$tmp/control"
done
sample last
# What the allocator holds free beyond that goes back to the system here:
# resident memory that falls away is no memory in use.
command -v gdb >/dev/null && gdb -p "$writer" -batch -ex 'call (int)malloc_trim(0)' >/dev/null 2>&1
sample trimmed

kill -INT "$writer"
wait "$writer" || true
writer=""

total=$((rounds * radios))
lines="$(logged)"
serials="$(tail -n +2 "$log" | cut -d, -f4 | sort -u | wc -l)"
good="$(tail -n +2 "$log" | cut -d, -f8 | grep -c '^verified$' || true)"
printf 'radios            %d (%d rounds of %d)\n' "$total" "$rounds" "$radios"
printf 'log lines         %d, %d serial numbers, %d verified\n' "$lines" "$serials" "$good"
row() { printf '%-16s %12s %12s %12s' "$1" "$2" "$3" "$4"; [ -n "${5:-}" ] && printf ' %12s' "$5"; echo; }
row '' 'round 1' "round $rounds" 'trimmed' 'per radio'
per() { awk -v a="$1" -v b="$2" -v n="$((total - radios))" 'BEGIN { if (a == "-" || n == 0) print "-"; else printf "%.1f", (b - a) / n }'; }
row 'VmRSS kB' "$first_rss" "$last_rss" "$trimmed_rss" "$(per "$first_rss" "$last_rss")"
row 'RssAnon kB' "$first_anon" "$last_anon" "$trimmed_anon" "$(per "$first_anon" "$last_anon")"
row 'RssFile kB' "$first_file" "$last_file" "$trimmed_file" "$(per "$first_file" "$last_file")"
row 'heap in use B' "$first_heap" "$last_heap" "$trimmed_heap" "$(per "$first_heap" "$last_heap")"
row 'heap held B' "$first_arena" "$last_arena" "$trimmed_arena" "$(per "$first_arena" "$last_arena")"
[ "$lines" -eq "$total" ] && [ "$serials" -eq "$total" ] && [ "$good" -eq "$total" ] ||
    { echo "not every radio was written and verified once" >&2; exit 1; }
