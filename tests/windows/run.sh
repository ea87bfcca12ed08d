#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The end-to-end tests under Wine, one after another; each says whether it
# passed, failed or was skipped (and why). Fails when any failed.
#   tests/windows/run.sh
cd "$(dirname "$0")"
failed=0
for test in cli.sh window.sh installer.sh; do
    timeout 1200 "./$test" || failed=1
done
exit "$failed"
