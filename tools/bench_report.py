#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Turns the benchmark program's JSON output and the start-up probe's lines
into the tables of bench/README.md: every figure at every text size, its ratio
to the floor (one plain pass over the text's characters) and how it grows when
the text grows tenfold."""

import json
import math
import statistics
import sys
from collections import OrderedDict

SIZES = [100, 1000, 10000, 32767]


def load(path):
    with open(path, encoding="utf-8") as f:
        data = json.load(f)
    rows = OrderedDict()
    for b in data["benchmarks"]:
        if b.get("run_type") == "aggregate":
            continue
        name = b["run_name"] if "run_name" in b else b["name"]
        parts = name.split("/")
        words = None
        family = []
        for p in parts:
            if p.startswith("words:"):
                words = int(p.split(":")[1])
            elif p in ("real_time", "manual_time") or p.startswith("iterations:"):
                continue
            else:
                family.append(p)
        family = "/".join(family)
        scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[b.get("time_unit", "ns")]
        rows.setdefault(family, {})[words] = {
            "wall": b["real_time"] * scale,
            "cpu": b["cpu_ms"] if "cpu_ms" in b else b["cpu_time"] * scale,
            "step": b.get("step_max_ms"),
            "full": b.get("full_ms"),
            "iterations": b["iterations"],
        }
    return data.get("context", {}), rows


def fmt(ms):
    if ms is None:
        return "–"
    if ms >= 100:
        return f"{ms:.0f}"
    if ms >= 10:
        return f"{ms:.1f}"
    if ms >= 1:
        return f"{ms:.2f}"
    if ms >= 0.01:
        return f"{ms:.3f}"
    return f"{ms * 1000:.2f} µs"


def growth(row, a, b):
    """The factor by which the figure grows when the text grows tenfold,
    between sizes a and b (10 means linear)."""
    if a not in row or b not in row or row[a]["cpu"] <= 0:
        return None
    slope = math.log(row[b]["cpu"] / row[a]["cpu"]) / math.log(b / a)
    return 10 ** slope


def main():
    context, rows = load(sys.argv[1])
    probe = {}
    if len(sys.argv) > 2:
        with open(sys.argv[2], encoding="utf-8") as f:
            for line in f:
                parts = line.split()
                if len(parts) == 2:
                    probe.setdefault(parts[0], []).append(float(parts[1]))

    floor = rows.get("floor/char_pass", {})
    print(f"Machine: {context.get('num_cpus', '?')} CPUs at {context.get('mhz_per_cpu', '?')} MHz, "
          f"load average {', '.join(f'{x:.2f}' for x in context.get('load_avg', []))}, {context.get('date', '')}")
    print()
    print("Processor time the pupil waits (ms): the action and its first frame.")
    print()
    print("| benchmark | " + " | ".join(f"{w} words" for w in SIZES)
          + " | ×floor at 32767 | growth per ×10 words (1000→32767) |")
    print("|---|" + "---|" * (len(SIZES) + 2))
    for family, row in rows.items():
        if None in row:
            continue
        cells = [fmt(row[w]["cpu"]) if w in row else "–" for w in SIZES]
        ratio = "–"
        if 32767 in row and 32767 in floor and floor[32767]["cpu"] > 0:
            ratio = f"{row[32767]['cpu'] / floor[32767]['cpu']:.0f}"
        g = growth(row, 1000, 32767)
        print(f"| {family} | " + " | ".join(cells) + f" | {ratio} | {'–' if g is None else f'×{g:.1f}'} |")
    print()
    print("Wall-clock wait (ms), largest background layout step after it (ms, processor time), "
          "and everything the action caused including those steps (ms, processor time):")
    print()
    print("| benchmark | " + " | ".join(f"{w}: wall / step / full" for w in SIZES) + " |")
    print("|---|" + "---|" * len(SIZES))
    for family, row in rows.items():
        if None in row or row[next(iter(row))]["step"] is None:
            continue
        cells = []
        for w in SIZES:
            if w not in row:
                cells.append("–")
                continue
            r = row[w]
            cells.append(f"{fmt(r['wall'])} / {fmt(r['step'])} / {fmt(r['full'])}")
        print(f"| {family} | " + " | ".join(cells) + " |")
    print()
    print("Once per window (ms): processor time / wall-clock / full")
    print()
    for family, row in rows.items():
        if None not in row:
            continue
        r = row[None]
        print(f"- {family}: {fmt(r['cpu'])} / {fmt(r['wall'])} / {fmt(r['full'])}")
    if probe:
        print()
        print("Start-up probe (median of the runs):")
        print()
        for name, values in probe.items():
            print(f"- {name}: {statistics.median(values):.1f}  (runs: {', '.join(f'{v:.1f}' for v in values)})")


if __name__ == "__main__":
    main()
