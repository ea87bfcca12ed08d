#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Walks the accessible tree of the main window, its editors and every dialog
# as a screen reader sees it over AT-SPI, in English and in Chinese, and
# fails on any control that takes the focus and has no name:
#   tests/a11y/walk.sh [BUILD_DIR]
# It runs in a D-Bus session of its own with a virtual X server and the
# AT-SPI bus, and skips with one line when those are not installed
# (tools/install-deps.sh --tests installs them).
set -euo pipefail
cd "$(dirname "$0")/../.."
build="$(realpath "${1:-build}")"

if [ -z "${A11Y_WALK_INNER:-}" ]; then
  missing=()
  command -v Xvfb >/dev/null || missing+=(xvfb)
  command -v dbus-run-session >/dev/null || missing+=(dbus)
  command -v dbus-launch >/dev/null || missing+=(dbus-x11)
  [ -x /usr/libexec/at-spi-bus-launcher ] || missing+=(at-spi2-core)
  /usr/bin/python3 -c 'import pyatspi' 2>/dev/null || missing+=(python3-pyatspi)
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Accessibility walk skipped: missing ${missing[*]} (tools/install-deps.sh --tests)"
    exit 0
  fi
  # The whole walk, session and all, ends within four minutes whatever hangs.
  exec timeout -k 10 240 dbus-run-session -- env A11Y_WALK_INNER=1 "$0" "$build"
fi

work="$(mktemp -d)"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

# A display of its own: Xvfb picks a free number and writes it down.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 1 100); do
  [ -s "$work/display" ] && break
  sleep 0.2
done
display="$(head -n1 "$work/display")"
[ -n "$display" ] || { echo "walk: Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }
export DISPLAY=":$display"
/usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/bus.log" 2>&1 &
pids+=($!)
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 QT_QPA_PLATFORM=xcb NO_AT_BRIDGE=0

status=0
for language in 0 1; do
  app="$work/app$language"
  mkdir -p "$app"
  cp "$build"/*.Ini "$app"/
  sed -i "s/^Language_ID=.*/Language_ID=$language/" "$app/SysInfo.Ini"
  mkfifo "$app/input"
  "$build/tests/qv300-a11y-windows" "$app" <"$app/input" >"$app/out" 2>"$app/err" &
  program=$!
  pids+=($program)
  exec 4>"$app/input" # held open: the program quits when it closes
  for _ in $(seq 1 100); do
    grep -q '^ready' "$app/out" 2>/dev/null && break
    kill -0 "$program" 2>/dev/null || break
    sleep 0.2
  done
  if ! grep -q '^ready' "$app/out"; then
    echo "walk: the windows did not come up (language $language)" >&2
    cat "$app/err" >&2
    status=1
  elif ! timeout -k 5 90 /usr/bin/python3 tests/a11y/walk.py "$program" "$language" "$app/input"; then
    status=1
  fi
  exec 4>&-
  timeout 10 tail --pid="$program" -f /dev/null || kill "$program" 2>/dev/null || true
done
exit $status
