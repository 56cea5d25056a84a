#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, then configures and builds into build/ (the
# "ordinary" preset of CMakePresets.json). Extra arguments go to the
# configuration.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
cmake --preset ordinary "$@"
cmake --build --preset ordinary
