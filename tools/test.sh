#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up, builds and runs every test, headless.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/build.sh
export QT_QPA_PLATFORM=offscreen
ctest --preset ordinary -j"$(nproc)"

# The same suite again under AddressSanitizer and UndefinedBehaviorSanitizer,
# in a second build directory without the benchmarks. Any report fails it.
echo "== The tests again under AddressSanitizer and UndefinedBehaviorSanitizer (build-asan)"
# Set before building too: the build lists each test program's tests by
# running it.
export ASAN_OPTIONS=detect_leaks=1
# GCC 12's leak checker crashes while walking the thread-local storage of a
# library loaded at run time (libjpeg, under Qt's JPEG plugin, has some), so it
# does not walk thread-local storage; tests/sanitizers/lsan.supp lists the
# libraries that then look leaky and why.
export LSAN_OPTIONS="suppressions=$PWD/tests/sanitizers/lsan.supp:use_tls=0:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# The sanitizers' flags are in the "sanitizers" preset of CMakePresets.json.
# With the sanitizers' checks inlined GCC 12 warns of out-of-bounds reads on
# paths it cannot see are guarded (the ordinary build shows no such warning),
# so that preset turns -Warray-bounds off.
cmake --preset sanitizers
cmake --build --preset sanitizers
ctest --preset sanitizers -j"$(nproc)"
