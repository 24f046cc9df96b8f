#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite: unit and
# headless render tests, the level proof, and the end-to-end tests of the
# real binary under Xvfb.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KESTRAVA_BUILD_DIR:-$root/build}
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
ctest --test-dir "$build" --output-on-failure -j "$(nproc)" -LE soak
