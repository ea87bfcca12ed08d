#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package in build-deb/: qv300_<version>_<arch>.deb, with
# stripped executables, and their debug symbols in
# qv300-dbgsym_<version>_<arch>.ddeb. Checks it with lintian.
#   tools/make-deb.sh
# Install it with: sudo apt-get install ./build-deb/qv300_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh --package
cmake -S . -B build-deb -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQV300_BUILD_TESTS=OFF >/dev/null
cmake --build build-deb -j"$(nproc)"
(cd build-deb && cpack -G DEB)
ls -1 build-deb/qv300_*.deb build-deb/qv300-dbgsym_*.ddeb
tools/lint-deb.sh "$(ls -1t build-deb/qv300_*.deb | head -n1)"
