#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Start-up time and peak memory of qv300, measured under a virtual X server.

Runs `qv300 --measure-startup` RUNS times (default 5). The program prints the
monotonic clock once its main window and channel editor are shown, and its
peak resident memory (VmHWM) at that moment; this script subtracts the clock
it read just before starting the process. Prints every run and the medians.

    xvfb-run -a -s "-screen 0 1280x800x24" tools/measure-startup.py [build/qv300] [RUNS]
"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time


def main():
    program = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build/qv300")
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    if not os.environ.get("DISPLAY"):
        sys.exit("no DISPLAY: run this under xvfb-run")
    # A folder of its own, so no settings or language file of a previous run
    # is read and the exit writes nothing next to the build.
    folder = tempfile.mkdtemp(prefix="qv300-measure-")
    copy = os.path.join(folder, "qv300")
    shutil.copy2(program, copy)
    times, peaks = [], []
    try:
        for run in range(1, runs + 1):
            start = time.monotonic()
            done = subprocess.run([copy, "--measure-startup"], capture_output=True, text=True, timeout=60)
            values = dict(line.split("=", 1) for line in done.stdout.split() if "=" in line)
            if "shown_monotonic_s" not in values:
                sys.exit(f"run {run}: no measurement printed (exit {done.returncode}): {done.stderr.strip()}")
            elapsed_ms = (float(values["shown_monotonic_s"]) - start) * 1000
            peak_mb = int(values["peak_rss_kb"]) / 1024
            times.append(elapsed_ms)
            peaks.append(peak_mb)
            print(f"run {run}: {elapsed_ms:6.1f} ms to the window, peak {peak_mb:5.1f} MB")
    finally:
        shutil.rmtree(folder, ignore_errors=True)
    print(f"median of {runs}: {statistics.median(times):.1f} ms, {statistics.median(peaks):.1f} MB")


if __name__ == "__main__":
    main()
