# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by the tests under Wine (sourced): where the cross build, Wine and
# the native simulator are, a Wine prefix of the test's own, COM ports on
# the simulator's pseudo-terminals, and the checks.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../.."
root="$(pwd)"
build_win="${QV300_BUILD_WIN:-$root/build-win}"
test_name="$(basename "$0" .sh)"

skip() { echo "$test_name: skipped: $*"; exit 0; }
fail() { echo "$test_name: FAILED: $*" >&2; exit 1; }
pass() { echo "$test_name: passed"; }

# Without the Qt for MinGW there is no Windows build to test.
if [ -x tools/windows/build.sh ]; then
    tools/windows/build.sh --find-qt >/dev/null 2>&1 || skip "no Qt for MinGW at hand (see tools/windows/build.sh)"
elif [ -z "${QV300_QT_MINGW:-}" ] && [ ! -e ../shared/toolchains/qt-6.4.2-mingw-w64-x86_64.tar.xz ]; then
    skip "no Qt for MinGW at hand (set QV300_QT_MINGW or put the prebuilt archive in ../shared/toolchains)"
fi
source tools/windows/wine-env.sh
[ -x "$wine" ] || skip "no wine64"

scratch="$(mktemp -d)"
sims=()
cleanup() {
    for sim in "${sims[@]}"; do kill "$sim" 2>/dev/null || true; done
    [ -n "${WINEPREFIX:-}" ] && timeout 20 "$wineserver" -k 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT

# The tests' prefix, made once and kept for the next run ($QV300_WINEPREFIX,
# else $WINEPREFIX, else build-win/wine-prefix); FRESH makes a new one in
# the scratch folder. The caller maps its ports, then runs ports_ready.
use_prefix() {
    if [ "${1:-}" = fresh ]; then
        wine_prefix "$scratch/prefix" || fail "no Wine prefix"
    else
        wine_prefix "${QV300_WINEPREFIX:-${WINEPREFIX:-$root/build-win/wine-prefix}}" || fail "no Wine prefix"
    fi
}

# Runs a Windows program of the prefix with a time limit.
run_win() { timeout 120 "$wine" "$@"; }

need_build() {
    for exe in "$@"; do
        [ -f "$build_win/$exe" ] || skip "no $build_win/$exe (tools/windows/build.sh makes it)"
    done
}

# The newest package whose name ends in SUFFIX (-setup.exe, -windows-x64.zip),
# made again when the build or what makes the packages is newer.
package() {
    local made source
    made="$(ls -t build-win-package/qv300-*"$1" 2>/dev/null | head -n1 || true)"
    for source in "$build_win/qv300.exe" "$build_win/qv300-cli.exe" tools/windows/package.sh tools/windows/qv300.nsi data/*.Ini; do
        [ -n "$made" ] && [ ! "$source" -nt "$made" ] || { made=; break; }
    done
    if [ -z "$made" ]; then
        timeout 900 tools/windows/package.sh "$build_win" >/dev/null || fail "tools/windows/package.sh failed"
        made="$(ls -t build-win-package/qv300-*"$1" | head -n1)"
    fi
    echo "$made"
}

# Starts the native simulator serving COUNT radios with the given options
# and puts their pseudo-terminals, one a line, into the file LIST.
start_sim() { # LIST COUNT OPTION...
    local list="$1" count="$2"
    shift 2
    [ -x "$root/build/qv300-radio-sim" ] || fail "no build/qv300-radio-sim (the native build makes it)"
    "$root/build/qv300-radio-sim" --radios "$count" "$@" >"$list" 2>>"$scratch/sim.log" &
    sims+=($!)
    for _ in $(seq 100); do [ "$(wc -l <"$list")" -ge "$count" ] && return; sleep 0.05; done
    fail "the simulator printed no pseudo-terminal"
}

