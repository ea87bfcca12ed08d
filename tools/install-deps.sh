#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages the build and the tests need, when missing.
# Needs root for apt-get: runs it directly as root, through sudo otherwise.
# With --tests it also makes sure a locale with a decimal comma exists, which
# the tests use to prove that numbers keep their point, and adds python3 and
# pdftotext, which read back the CSV and PDF exports, and the virtual X
# server with xdotool, which the keyboard task types into. With --tools it adds
# the virtual X server that the screenshot and measuring scripts run under
# (with a Chinese font for the pictures of the Chinese windows, and xdotool
# for the keyboard walk over the channel grid), and CHIRP, whose CSV parser
# and stock channel lists the CSV tests use when present (its 28 packages
# take about 40 s to install, so the tests skip that part without it),
# and with --package what making and checking the Debian package needs
# (dpkg-shlibdeps, the checkers of the desktop entry and the AppStream file,
# chmcmd from fp-utils-3.2.2, which compiles the help files _English.chm and
# _Chinese.chm, and lintian). The build makes the manual pages with help2man;
# the tests read them with man. The fuzz targets of the tests are built with
# clang and its libFuzzer (libclang-rt-14-dev, which clang only recommends);
# clang-format checks the layout of the sources against .clang-format.
# The walk of the windows as a screen reader sees them (tests/a11y/walk.sh)
# runs under the virtual X server with the AT-SPI bus of at-spi2-core in a
# D-Bus session (dbus-x11) and reads it with python3-pyatspi.
# With --windows it adds what the Windows build and its tests under Wine
# need (tools/windows/): the MinGW-w64 cross compiler, Wine, NSIS, Wine's
# headers (for building Qt for MinGW), Ninja, the virtual X server and zip.
set -euo pipefail
for_tests=false
for_tools=false
for_package=false
for_windows=false
for arg in "$@"; do
  case "$arg" in
    --tests) for_tests=true ;;
    --tools) for_tools=true ;;
    --package) for_package=true ;;
    --windows) for_windows=true ;;
    *) echo "unknown option: $arg" >&2; exit 1 ;;
  esac
done

packages=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-serialport-dev qt6-translations-l10n
  libgtest-dev nlohmann-json3-dev libcli11-dev help2man
)
$for_tests && packages+=(locales desktop-file-utils appstream man-db python3 poppler-utils clang libclang-rt-14-dev
                         clang-format xvfb xauth xdotool dbus-x11 at-spi2-core python3-pyatspi)
$for_tools && packages+=(xvfb xauth python3 fonts-wqy-microhei xdotool chirp)
$for_package && packages+=(dpkg-dev file desktop-file-utils appstream fp-utils-3.2.2 lintian)
$for_windows && packages+=(g++-mingw-w64-x86-64-posix mingw-w64-tools wine64 nsis libwine-dev ninja-build xvfb xauth zip
                           qt6-translations-l10n)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

as_root=()
if [ "$(id -u)" -ne 0 ] && command -v sudo >/dev/null; then
  as_root=(sudo)
fi

make_test_locale() {
  $for_tests || return 0
  locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$' && return 0
  echo "Making the de_DE.UTF-8 locale for the tests"
  "${as_root[@]}" localedef -i de_DE -c -f UTF-8 de_DE.UTF-8 ||
    echo "(could not make de_DE.UTF-8; the decimal-comma tests will be skipped)"
}

if [ ${#missing[@]} -eq 0 ]; then
  make_test_locale
  exit 0
fi

echo "Installing missing packages: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  :
elif [ ${#as_root[@]} -gt 0 ]; then
  echo "(apt-get needs root: asking sudo)"
else
  echo "These packages are missing and installing them needs root:" >&2
  echo "  apt-get install ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -q
"${as_root[@]}" apt-get install -y -q "${missing[@]}"
make_test_locale
