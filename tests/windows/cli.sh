#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# qv300-cli.exe of the build under Wine against the native simulator through
# Wine's COM ports: the steps of link-steps.sh, in English.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/link-steps.sh"
need_build qv300-cli.exe
use_prefix
link_steps "$build_win/qv300-cli.exe" Verified
pass
