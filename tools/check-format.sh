#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks that the C++ sources are laid out as .clang-format says, changing
# nothing: each line clang-format would change is reported, and the exit
# code is 1 when there is any.
#   tools/check-format.sh
# It checks the files git tracks, or without git every .cpp and .h outside
# the build folders. The layout is clang-format 14's (Debian's); without
# clang-format, or with another major version, whose layout differs in
# places, it skips with exit code 77.
set -euo pipefail
cd "$(dirname "$0")/.."
format=$(command -v clang-format-14 || command -v clang-format || true)
if [ -z "$format" ]; then
  echo "SKIP: clang-format is not installed (tools/install-deps.sh --tests installs it)"
  exit 77
fi
version=$("$format" --version)
if ! [[ "$version" =~ version\ 14\. ]]; then
  echo "SKIP: $format is not clang-format 14, which .clang-format is written for: $version"
  exit 77
fi
if command -v git >/dev/null && git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t files < <(git ls-files '*.cpp' '*.h')
else
  mapfile -t files < <(find . -path './build*' -prune -o -type f \( -name '*.cpp' -o -name '*.h' \) -print | sort)
fi
echo "$version: ${#files[@]} files"
"$format" --dry-run --Werror "${files[@]}"
echo "clang-format: every file is laid out as .clang-format says"
