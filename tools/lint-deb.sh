#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs lintian on the Debian package and fails on any error or warning
# (informational tags are shown and allowed).
#   tools/lint-deb.sh [build-deb/qv300_*.deb]
# Without an argument it takes the newest build-deb/qv300_*.deb. Without
# lintian, or without a package to check, it skips with exit code 77.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v lintian >/dev/null; then
  echo "SKIP: lintian is not installed (tools/install-deps.sh --package installs it)"
  exit 77
fi
deb="${1:-$(ls -1t build-deb/qv300_*.deb 2>/dev/null | head -n1 || true)}"
if [ -z "$deb" ]; then
  echo "SKIP: no package in build-deb/ (tools/make-deb.sh makes one)"
  exit 77
fi
echo "lintian $deb ($(date -r "$deb" '+%F %T'))"
lintian --display-info --fail-on error,warning "$deb"
echo "lintian: no error and no warning"
