#!/bin/sh
# Instructions of 300 flight frames (or N) under callgrind: a count that
# does not depend on how loaded the machine is. Prints the total, the main
# thread's (the game and Mesa's vertex path) and the llvmpipe rasteriser
# threads'.
#
#   bench/flight_callgrind.sh [BUILD_DIR] [FRAMES] [WxH] [FROM_GAME_FRAME]
set -eu
build=${1:-build}
frames=${2:-300}
size=${3:-800x600}
from=${4:-600}
bench="$build/bench/game_frames_bench"
[ -x "$bench" ] || { echo "no $bench: configure with -DKESTRAVA_BUILD_BENCHMARKS=ON" >&2; exit 1; }
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
valgrind --tool=callgrind --instr-atstart=no --separate-threads=yes \
    --callgrind-out-file="$out/cg.out" "$bench" --callgrind "$frames" --from "$from" --size "$size" >"$out/log" 2>&1 ||
    { cat "$out/log" >&2; exit 1; }
grep -v '^==' "$out/log" || true
# One file per thread, written at the end; only the flight frames ran
# instrumented. A file's "totals:" line is the thread's count.
awk -v frames="$frames" '
    FNR == 1 { thread = FILENAME; sub(/.*-/, "", thread); thread += 0 }
    /^totals:/ { ir[thread] += $2 }
    END {
        for (t in ir) { total += ir[t]; if (t != 1) lp += ir[t] }
        printf "Ir, %d frames: total %.0f M, main thread %.0f M, llvmpipe threads %.0f M (%.2f M a frame)\n",
            frames, total / 1e6, ir[1] / 1e6, lp / 1e6, total / frames / 1e6
    }' "$out"/cg.out*
