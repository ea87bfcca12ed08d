#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Reads a CHIRP CSV file with Python's csv module and, when it is installed,
# with CHIRP's own parser; prints one line per channel for each reader:
#   reader location frequency_hz tone_mode rtone ctone dtcs polarity mode skip
import csv
import sys


def by_csv(path):
    with open(path, newline="", encoding="utf-8-sig") as f:
        for row in csv.DictReader(f):
            freq = round(float(row["Frequency"]) * 1000000)
            print("csv", row["Location"], freq, row["Tone"] or "-", row["rToneFreq"], row["cToneFreq"],
                  int(row["DtcsCode"]), row["DtcsPolarity"], row["Mode"], row["Skip"] or "-")


def by_chirp(path):
    try:
        from chirp.drivers import generic_csv
    except ImportError:
        return
    radio = generic_csv.CSVRadio(None)
    # This CHIRP opens files with mode "rU", which Python 3.11 removed.
    with open(path, newline="") as f:
        radio._load(f)
    if radio.errors:
        print("chirp-errors", radio.errors)
    for mem in radio.get_memories():
        if mem.empty or mem.number < 1:  # the blank memory CHIRP keeps at 0
            continue
        print("chirp", mem.number, mem.freq, mem.tmode or "-", "%.1f" % mem.rtone, "%.1f" % mem.ctone,
              mem.dtcs, mem.dtcs_polarity, mem.mode, mem.skip or "-")


by_csv(sys.argv[1])
by_chirp(sys.argv[1])
