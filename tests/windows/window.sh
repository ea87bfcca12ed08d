#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The windows under Wine on a virtual X server, run from the unpacked
# portable zip: qv300.exe opens its main window, and a read through the read
# window (driven by qv300-link-screenshots.exe against the simulator on
# COM5) fills the channel grid with the radio's seven channels, and Check
# Connection finds the radio on COM5 ready; in English and in Chinese. With
# QV300_SHOTS=DIR the pictures of the main window and of the read, write and
# Check Connection windows are kept in DIR (Chinese in DIR/zh).
# Wine's session must start inside the X server to show windows there, so
# the whole test runs in one of its own.
if [ -z "${QV300_IN_XVFB:-}" ] && command -v xvfb-run >/dev/null; then
    QV300_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$@"
fi
source "$(dirname "$0")/lib.sh"
need_build qv300.exe
[ -n "${QV300_IN_XVFB:-}" ] && command -v xdotool >/dev/null || skip "no xvfb-run or xdotool"
if [ ! -f "$build_win/qv300-link-screenshots.exe" ]; then
    timeout 600 cmake --build "$build_win" --target qv300-link-screenshots >/dev/null || fail "cannot build qv300-link-screenshots.exe"
fi
zip="$(package -windows-x64.zip)"
(cd "$scratch" && unzip -q "$root/$zip") || fail "cannot unzip $zip"
app="$(ls -d "$scratch"/qv300-*-windows-x64)"
cp "$build_win/qv300-link-screenshots.exe" "$app/"

start_sim "$scratch/radio.txt" 1 --pace
use_prefix
map_com 5 "$(head -n1 "$scratch/radio.txt")"
ports_ready || fail "no Wine session"

for language in English Chinese; do
    [ "$language" = English ] && id=0 || id=1
    sed -i "s/^Language_ID=.*\r$/Language_ID=$id\r/" "$app/SysInfo.Ini"
    out="$scratch/shots/$language"
    mkdir -p "$out"
    "$wine" "$app/qv300.exe" --port COM5 & program=$!
    window="$(timeout 60 xdotool search --sync --onlyvisible --pid "$program" | head -n1 || true)"
    echo "$language: window $(xdotool getwindowname "$window" 2>&1)" >>"$scratch/x.log"
    kill "$program" 2>/dev/null || true; wait "$program" || true
    run_win "$app/qv300.exe" --port COM5 --screenshot "$out/main-window.png" >/dev/null 2>&1 || true
    timeout 180 "$wine" "$app/qv300-link-screenshots.exe" "$out" --port COM5 --app-path "$app" 2>&1 \
        | tr -d '\r' | sed "s/^/$language: /" >>"$scratch/x.log" || true
done
for language in English Chinese; do
    grep -q "^$language: window QV-300" "$scratch/x.log" || fail "$language: the main window did not open: $(cat "$scratch/x.log")"
    grep -q "^$language: the read filled 7 rows of the grid" "$scratch/x.log" \
        || fail "$language: the read did not fill the grid with the radio's 7 channels: $(cat "$scratch/x.log")"
    for picture in main-window read-window write-window doctor; do
        [ -s "$scratch/shots/$language/$picture.png" ] || fail "$language: no picture $picture.png"
    done
    grep -q "^$language: doctor: line-ready ok" "$scratch/x.log" \
        || fail "$language: the Check Connection window did not find the radio ready: $(cat "$scratch/x.log")"
    ! grep -q "^$language: doctor: .* problem" "$scratch/x.log" \
        || fail "$language: the Check Connection window found a problem: $(cat "$scratch/x.log")"
done
# The read's message in each language, as the language file words it.
grep -q "^English: message: Reading Completed\.$" "$scratch/x.log" || fail "no English message of the read: $(cat "$scratch/x.log")"
grep -q "^Chinese: message: 读取完成。$" "$scratch/x.log" || fail "no Chinese message of the read: $(cat "$scratch/x.log")"
if [ -n "${QV300_SHOTS:-}" ]; then
    mkdir -p "$QV300_SHOTS/zh"
    for picture in main-window read-window write-window doctor; do
        cp "$scratch/shots/English/$picture.png" "$QV300_SHOTS/"
        cp "$scratch/shots/Chinese/$picture.png" "$QV300_SHOTS/zh/"
    done
fi
pass
