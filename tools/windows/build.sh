#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-builds the Windows programs into build-win/ with MinGW-w64 and Qt for
# MinGW, with everything they need beside them to run, and the tests, which
# ctest runs under Wine (ctest --test-dir build-win). Arguments are passed
# on to CMake's configure (e.g. -DQV300_WERROR=ON).
#
# The Qt for MinGW is, in this order: $QV300_QT_MINGW; the prebuilt archive
# ../shared/toolchains/qt-6.4.2-mingw-w64-x86_64.tar.xz, unpacked into
# build-win-qt/ on first use; what tools/windows/build-qt.sh made.
# Exits 77 when there is none, so callers can say the Windows build is
# skipped. With --find-qt it only prints where that Qt is (unpacking the
# archive when needed).
set -euo pipefail
cd "$(dirname "$0")/../.."
source_dir="$PWD"
qt_name=qt-6.4.2-mingw-w64-x86_64

find_qt() {
  if [ -n "${QV300_QT_MINGW:-}" ]; then
    echo "$QV300_QT_MINGW"
    return
  fi
  local archive="$source_dir/../shared/toolchains/$qt_name.tar.xz"
  if [ -f "$archive" ]; then
    if [ ! -f "build-win-qt/$qt_name/lib/cmake/Qt6/qt.toolchain.cmake" ]; then
      echo "Unpacking $archive into build-win-qt/" >&2
      # Into a scratch folder first, so an interrupted unpack is never
      # taken for a whole Qt.
      rm -rf "build-win-qt/$qt_name" build-win-qt/unpacking
      mkdir -p build-win-qt/unpacking
      tar -xJf "$archive" -C build-win-qt/unpacking
      mv "build-win-qt/unpacking/$qt_name" "build-win-qt/$qt_name"
      rmdir build-win-qt/unpacking
    fi
    echo "$source_dir/build-win-qt/$qt_name"
    return
  fi
  # tools/windows/build-qt.sh installs here.
  echo "$source_dir/build-qt-mingw/$qt_name"
}

qt="$(find_qt)"
toolchain="$qt/lib/cmake/Qt6/qt.toolchain.cmake"
if [ ! -f "$toolchain" ]; then
  echo "No Qt for MinGW at $qt: set QV300_QT_MINGW, put the prebuilt archive in ../shared/toolchains/," >&2
  echo "or build it with tools/windows/build-qt.sh." >&2
  exit 77
fi

if [ "${1:-}" = "--find-qt" ]; then
  echo "$qt"
  exit 0
fi

wine=""
for candidate in wine64 /usr/lib/wine/wine64 wine; do
  if command -v "$candidate" >/dev/null; then
    wine="$(command -v "$candidate")"
    break
  fi
done

launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
emulator=()
[ -n "$wine" ] && emulator=(-DCMAKE_CROSSCOMPILING_EMULATOR="$wine")

generator=()
# A folder configured once keeps its generator.
if [ ! -f build-win/CMakeCache.txt ] && command -v ninja >/dev/null; then
  generator=(-G Ninja)
fi

# -O2 as Debian builds: at -O3 GCC 12 warns falsely (-Wrestrict) inside
# libstdc++'s own string code, which no change of ours can avoid.
cmake -S . -B build-win "${generator[@]}" \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DQV300_BUILD_TESTS=ON \
  "${launcher[@]}" "${emulator[@]}" "$@" >/dev/null
cmake --build build-win -j"${QV300_JOBS:-$(nproc)}"
