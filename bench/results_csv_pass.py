#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""A plain Python csv pass over a results folder, to set the view's reading
time beside: every *.csv opened, every row split by the csv module and its
fields kept, as the simplest script a teacher could write would do."""
import csv
import os
import resource
import sys
import time

start = time.perf_counter()
folder = sys.argv[1]
rows = []
for name in sorted(os.listdir(folder)):
    if not name.endswith(".csv"):
        continue
    with open(os.path.join(folder, name), newline="", encoding="utf-8-sig") as f:
        for row in csv.reader(f, delimiter=";"):
            rows.append(row)
elapsed = time.perf_counter() - start
peak = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss / 1024
print('{"measure": "python csv", "rows": %d, "s": %.3f, "peak_MiB": %.1f}' % (len(rows), elapsed, peak))
