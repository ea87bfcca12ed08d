#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A fuzzing campaign: builds the fuzz targets with clang's libFuzzer, ASan
# and UBSan in build-fuzz/, runs each for SECONDS (default 600), one after
# the other (inputs up to 4 KiB, as in the tests), and prints the inputs
# executed and the coverage reached by each.
#
#   tools/fuzz.sh [SECONDS] [TARGET...]     (targets: tests/fuzz/*Fuzz.cpp)
#
# Each target keeps what it finds in build-fuzz/campaign/<Target>/ (seeded
# from tests/fuzz/corpus/<Target>/), so a later campaign starts from there.
# A failing input is saved as build-fuzz/campaign/<Target>-crash-...; the
# script then exits 1 after the table.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-600}"
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for source in tests/fuzz/*Fuzz.cpp; do
    name="$(basename "$source" Fuzz.cpp)"
    targets+=("$name")
  done
fi

cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQV300_BUILD_TESTS=ON -DQV300_FUZZ=ON -DQV300_WERROR=ON >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target qv300-fuzz
export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"

campaign=build-fuzz/campaign
mkdir -p "$campaign"
failed=0
rows=()
for name in "${targets[@]}"; do
  mkdir -p "$campaign/$name"
  log="$campaign/$name.log"
  echo "== $name for ${seconds}s"
  status=ok
  if ! "build-fuzz/tests/fuzz/fuzz-$name" -max_total_time="$seconds" -max_len=4096 -timeout=20 -print_final_stats=1 \
      -artifact_prefix="$campaign/$name-" "$campaign/$name" "tests/fuzz/corpus/$name" >"$log" 2>&1; then
    status=FAILED
    failed=1
    tail -n 30 "$log"
  fi
  execs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)"
  last="$(grep -E '^#[0-9]+' "$log" | grep -o 'cov: [0-9]*' | tail -n 1)"
  features="$(grep -E '^#[0-9]+' "$log" | grep -o 'ft: [0-9]*' | tail -n 1)"
  corpus="$(find "$campaign/$name" -type f | wc -l)"
  rows+=("$(printf '%-14s %12s %10s %10s %8s  %s' "$name" "${execs:-?}" "${last#cov: }" "${features#ft: }" "$corpus" "$status")")
done

echo
printf '%-14s %12s %10s %10s %8s  %s\n' target executions coverage features corpus result
printf '%s\n' "${rows[@]}"
exit "$failed"
