#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up, builds and starts Miravellon on the bundled content.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/build.sh
exec build/bin/miravellon
