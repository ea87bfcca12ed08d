#!/usr/bin/env bash
# Builds the Debian package in build-deb/: qv300_<version>_<arch>.deb.
#   tools/make-deb.sh
# Install it with: sudo apt-get install ./build-deb/qv300_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh --package
cmake -S . -B build-deb -DCMAKE_BUILD_TYPE=Release -DQV300_BUILD_TESTS=OFF >/dev/null
cmake --build build-deb -j"$(nproc)"
(cd build-deb && cpack -G DEB)
ls -1 build-deb/qv300_*.deb
