#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# One fuzz target as a test: each seed whole, then a bounded run of fresh
# inputs from the seeds in a scratch corpus made empty first.
#   run-fuzz-test.sh TARGET SEEDS SCRATCH RUNS ARTIFACT_PREFIX
set -eu
target="$1" seeds="$2" scratch="$3" runs="$4" artifacts="$5"
"$target" -artifact_prefix="$artifacts" "$seeds"/*
rm -rf "$scratch"
mkdir -p "$scratch"
exec "$target" -runs="$runs" -max_len=4096 -timeout=20 -artifact_prefix="$artifacts" "$scratch" "$seeds"
