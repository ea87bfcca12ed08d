#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Times qv300-cli export and import of a full 16-channel document against
# the command line's bare start-up (--help), as ratios in one run:
#   tools/measure-interchange.py [build/qv300-cli]
import os
import subprocess
import sys
import tempfile
import time

cli = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build/qv300-cli")


def best(args, runs=20):
    fastest = float("inf")
    for _ in range(runs):
        start = time.perf_counter()
        subprocess.run([cli] + args, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)
        fastest = min(fastest, time.perf_counter() - start)
    return fastest


with tempfile.TemporaryDirectory() as d:
    csv = os.path.join(d, "full.csv")
    with open(csv, "w") as f:
        f.write("Location,Frequency\n" + "".join(f"{i},446.{i * 25:03d}\n" for i in range(1, 17)))
    full = os.path.join(d, "full.dat")
    subprocess.run([cli, "import", csv, full], check=True)
    bare = best(["--help"])
    export = best(["export", full, "--format", "csv"])
    imported = best(["import", csv, os.path.join(d, "o.dat"), "--force"])
    print(f"--help {bare * 1000:.1f} ms; export {export * 1000:.1f} ms = {export / bare:.2f}x; "
          f"import {imported * 1000:.1f} ms = {imported / bare:.2f}x (goal: under 1.5x)")
