#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up, builds the benchmarks in Release into build-bench/ (or the folder
# MIRAVELLON_BENCH_BUILD names), runs them and the start-up and peak-memory
# probe, and prints the figures as tables. Extra arguments go to the
# benchmark program (--benchmark_filter=help, --benchmark_min_time=1, ...).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${MIRAVELLON_BENCH_BUILD:-build-bench}
tools/setup.sh
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target miravellon_bench
export QT_QPA_PLATFORM=offscreen

lscpu | grep -E '^(Model name|CPU\(s\)|Thread|Core|Socket|CPU max MHz|L2|L3)' || true
uptime

results="$build"/bench-results.json
"$build"/bin/miravellon_bench --benchmark_out="$results" --benchmark_out_format=json "$@"

# The start-up probe: one fresh process per run, on a tree of 71 exercises.
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
"$build"/bin/miravellon_bench --write-tree="$tree"
probe="$build"/probe.txt
: >"$probe"
for _ in 1 2 3 4 5; do
  MIRAVELLON_LAUNCH_US=$(date +%s%6N) "$build"/bin/miravellon_bench --probe="$tree" >>"$probe"
done

echo
python3 tools/bench_report.py "$results" "$probe"
