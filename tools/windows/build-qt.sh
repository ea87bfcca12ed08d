#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Qt 6.4.2 for MinGW-w64 (x86_64) from Debian's own source package
# qt6-base, for tools/windows/build.sh: Core, Gui, Widgets, PrintSupport,
# Test and the Windows platform and style plugins, as shared libraries.
# About 1,150 steps, most of an hour on two cores. The result is
# build-qt-mingw/qt-6.4.2-mingw-w64-x86_64/, relocatable (move it anywhere
# and point QV300_QT_MINGW at it). Rerunnable: the source is fetched and
# mended once, an interrupted build goes on where it stopped.
#
# Needs root (or sudo) only to add a deb-src line for bookworm when apt has
# none, and the packages g++-mingw-w64-x86-64-posix, libwine-dev (for the
# tablet header Debian removed), ninja-build, qt6-base-dev and
# qt6-base-dev-tools (the host's moc, rcc and uic).
set -euo pipefail
cd "$(dirname "$0")/../.."
work="$PWD/build-qt-mingw"
prefix="$work/qt-6.4.2-mingw-w64-x86_64"
src="$work/qtbase-everywhere-src-6.4.2"
jobs="${QV300_JOBS:-$(nproc)}"
mkdir -p "$work"

as_root=()
if [ "$(id -u)" -ne 0 ] && command -v sudo >/dev/null; then
  as_root=(sudo)
fi

# 1. The source, from the same mirror the machine installs from.
if [ ! -d "$src" ]; then
  cd "$work"
  if ! apt-get source --download-only qt6-base >/dev/null 2>&1; then
    mirror="$(grep -rhoE 'https?://[^ ]*debian/?( |$)' /etc/apt/sources.list /etc/apt/sources.list.d/ 2>/dev/null |
              grep -v security | head -1 | tr -d ' ' || true)"
    mirror="${mirror:-http://deb.debian.org/debian}"
    # The same key as the mirror's binary entry: apt refuses two entries for
    # one mirror and suite that name different keys.
    signed_by="$(grep -rh -A6 "URIs: *$mirror\$" /etc/apt/sources.list.d/*.sources 2>/dev/null |
                 grep -m1 -oP '^Signed-By: *\K.*' || true)"
    echo "Adding a deb-src entry for $mirror bookworm main"
    {
      echo "Types: deb-src"
      echo "URIs: $mirror"
      echo "Suites: bookworm"
      echo "Components: main"
      if [ -n "$signed_by" ]; then echo "Signed-By: $signed_by"; fi
    } | "${as_root[@]}" tee /etc/apt/sources.list.d/qv300-qt-source.sources >/dev/null
    if ! "${as_root[@]}" apt-get update -qq; then
      # Never leave apt unable to read its sources.
      "${as_root[@]}" rm -f /etc/apt/sources.list.d/qv300-qt-source.sources
      echo "apt refused the deb-src entry; add one for bookworm by hand" >&2
      exit 1
    fi
    apt-get source --download-only qt6-base
  fi
  echo "Unpacking the source"
  tar -xJf qt6-base_6.4.2+dfsg.orig.tar.xz
  cd - >/dev/null
fi

# 2. The two mends.
# Debian removed the tablet header the Windows platform plugin includes;
# Wine's declares the same interface once its own name macros exist.
wintab="$src/src/3rdparty/wintab"
if [ ! -f "$wintab/wintab.h" ]; then
  echo "Mending: wintab.h from Wine"
  mkdir -p "$wintab"
  cp /usr/include/wine/wine/windows/wintab.h "$wintab/wine_wintab.h"
  cp /usr/include/wine/wine/windows/pktdef.h "$wintab/pktdef.h"
  cat > "$wintab/wintab.h" <<'HEADER'
#include <windows.h>
#ifndef DECL_WINELIB_TYPE_AW
#define WINELIB_NAME_AW(n) n##W
#define DECL_WINELIB_TYPE_AW(t) typedef WINELIB_NAME_AW(t) t;
#endif
#include "wine_wintab.h"
#ifndef API
#define API WINAPI
#endif
HEADER
fi
# With OpenGL off the dynamic-GL parts of the window code must go too.
window_cpp="$src/src/plugins/platforms/windows/qwindowswindow.cpp"
if grep -q '^#if QT_CONFIG(dynamicgl)$' "$window_cpp"; then
  echo "Mending: qwindowswindow.cpp without OpenGL"
  sed -i 's/^#if QT_CONFIG(dynamicgl)$/#if QT_CONFIG(dynamicgl) \&\& QT_CONFIG(opengl)/' "$window_cpp"
fi

# 3. The toolchain file.
cat > "$work/mingw-w64-x86_64.cmake" <<'TOOLCHAIN'
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
TOOLCHAIN

# 4. Configure, build, install.
echo "Configuring Qt for MinGW"
cmake -S "$src" -B "$work/build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$work/mingw-w64-x86_64.cmake" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON \
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
  -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_opengl=OFF -DFEATURE_dbus=OFF \
  -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_testlib=ON -DFEATURE_printsupport=ON -DFEATURE_widgets=ON
echo "Building Qt for MinGW (most of an hour on two cores)"
ninja -C "$work/build" -j"$jobs"
ninja -C "$work/build" install

# 5. Relocatable: the Qt toolchain file finds the MinGW one beside the
# prefix instead of at this machine's absolute path.
cp "$work/mingw-w64-x86_64.cmake" "$prefix/"
sed -i "s|\"$work/mingw-w64-x86_64.cmake\"|\"\${CMAKE_CURRENT_LIST_DIR}/../../../mingw-w64-x86_64.cmake\"|" \
  "$prefix/lib/cmake/Qt6/qt.toolchain.cmake"
rm -rf "$prefix/doc"
echo "Qt for MinGW is in $prefix"
