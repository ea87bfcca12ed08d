#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the Debian package: lintian finds no error and no warning in it
# (tools/lint-deb.sh); then it goes into a throw-away Debian 12 root and works
# there: the three programs tell their version, `man qv300-cli` shows its
# page, qv300-cli writes a data file, and qv300 starts under a virtual X
# server in Chinese with its language files found (the picture is left in
# ROOT/tmp/qv300-zh.png to look at). Needs root and a network.
#   tools/check-deb.sh [build-deb/qv300_*.deb] [ROOT]
set -euo pipefail
cd "$(dirname "$0")/.."
deb="${1:-$(ls -1 build-deb/qv300_*.deb | tail -n1)}"
root="${2:-$(mktemp -d /var/tmp/qv300-deb12.XXXXXX)}"
[ "$(id -u)" -eq 0 ] || { echo "needs root (debootstrap, chroot)" >&2; exit 1; }
command -v lintian >/dev/null || apt-get install -y -q lintian
tools/lint-deb.sh "$deb"
command -v debootstrap >/dev/null || apt-get install -y -q debootstrap
if [ ! -x "$root/bin/bash" ]; then
  echo "Making a minimal Debian 12 in $root"
  debootstrap --variant=minbase bookworm "$root" http://deb.debian.org/debian >/dev/null
fi
cp /etc/resolv.conf "$root/etc/resolv.conf"
cp "$deb" "$root/tmp/qv300.deb"
mount -t proc proc "$root/proc"
mount -t devpts devpts "$root/dev/pts"
trap 'umount "$root/dev/pts" "$root/proc" 2>/dev/null || true' EXIT
chroot "$root" /bin/bash -euc '
  export DEBIAN_FRONTEND=noninteractive HOME=/root
  apt-get update -q >/dev/null
  apt-get install -y -q /tmp/qv300.deb xvfb xauth man-db >/dev/null
  for program in qv300 qv300-cli qv300-radio-sim; do
    version="$($program --version)"
    echo "$version"
    case "$version" in "$program "[0-9]*) ;; *) exit 1 ;; esac
  done
  MANPAGER=cat man qv300-cli | grep -q "^EXIT STATUS"
  qv300-cli new /tmp/x.dat --force
  test "$(stat -c %s /tmp/x.dat)" = 464
  mkdir -p /root/.config/qv300
  printf "[SysInfo]\r\nLanguage_ID=1\r\n" > /root/.config/qv300/SysInfo.Ini
  xvfb-run -a -s "-screen 0 1280x800x24" qv300 --screenshot /tmp/qv300-zh.png 2>/dev/null
  test -s /tmp/qv300-zh.png
  ls /usr/share/qv300
'
echo "OK: installed and ran in $root (picture: $root/tmp/qv300-zh.png)"
