#!/bin/sh
# The whole-game frame benchmark at 800x600 and 1920x1080, for one build or
# several side by side (say a build of main and this one), taking turns so
# that the machine's load falls on each alike.
#
#   bench/game_frames.sh [--every K] BUILD_DIR...
set -eu
every=1
if [ "${1:-}" = "--every" ]; then every=$2; shift 2; fi
[ $# -gt 0 ] || set -- build
echo "$(uptime)"
for size in 800x600 1920x1080; do
    for build in "$@"; do
        "$build/bench/game_frames_bench" --size "$size" --every "$every" --label "$build"
    done
done
