#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# qv300-cli.exe of the build under Wine against the native simulator through
# Wine's COM ports: the steps of link-steps.sh, in English; then Ctrl+C
# twice in a fleet write stops it at once, and each radio's line says how
# to put its backup back.
# lib.sh moves to the top of the tree, so this folder is named first.
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/lib.sh"
source "$here/link-steps.sh"
need_build qv300-cli.exe
use_prefix
link_steps "$build_win/qv300-cli.exe" Verified

cd "$scratch"
start_sim paced.txt 2 --pace
map_com 5 "$(sed -n 1p paced.txt)"
map_com 6 "$(sed -n 2p paced.txt)"
ports_ready || fail "no Wine session"
"$root/build/qv300-cli" new new.dat --band "134 - 174MHz" >/dev/null
"$wine" "$build_win/qv300-cli.exe" write new.dat --port COM5,COM6 --yes --backup-dir backups --log fleet.csv \
    >out.txt 2>err.txt &
fleet=$!
for _ in $(seq 300); do grep -q "The preview for" out.txt && break; sleep 0.1; done
sleep 1.5
kill -INT "$fleet"
sleep 0.3
kill -INT "$fleet"
status=0
timeout 60 tail --pid="$fleet" -f /dev/null || fail "the fleet write did not stop at the second Ctrl+C"
wait "$fleet" || status=$?
[ "$status" = 2 ] || fail "the interrupted fleet write exit $status, not 2: $(cat out.txt err.txt)"
grep -q "0 written, 0 verified, 0 failed, 2 interrupted" out.txt || fail "no interrupted summary: $(cat out.txt)"
[ "$(grep -c 'To put it back: qv300-cli restore "' err.txt)" = 2 ] \
    || fail "not two restore commands quoted for the command prompt: $(cat err.txt)"
pass
