// Placeholder: the benchmarks are written next.
#include <benchmark/benchmark.h>

BENCHMARK_MAIN();
