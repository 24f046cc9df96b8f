#!/bin/sh
# The whole-game frame benchmark at 800x600 and 1920x1080, for one build or
# several side by side (say a build of main and this one), taking turns so
# that the machine's load falls on each alike.
#
#   bench/game_frames.sh [--every K] [--runs N] [--logs DIR] BUILD_DIR...
#
# With --runs N (say 3) each build plays the game N times at each size, in
# turns with the others, and a summary follows each size. The game is the
# same in every run, frame for frame, so a frame that is slow in one run
# only was stalled by the machine, not slowed by its own work. The summary
# gives per phase the p50, p99 and max of each frame's best time over the
# runs (its own work), and the least and the median of the runs' own p99s.
# --logs DIR keeps each run's frame log there (SIZE-BUILD-RUN, the builds
# numbered from 1 in the order given).
set -eu
every=1
runs=1
keep=
while [ $# -gt 0 ]; do
    case "$1" in
    --every) every=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    --logs) keep=$2; shift 2 ;;
    *) break ;;
    esac
done
[ $# -gt 0 ] || set -- build
if [ -n "$keep" ]; then
    mkdir -p "$keep"
    logs=$keep
else
    logs=$(mktemp -d)
    trap 'rm -rf "$logs"' EXIT
fi
echo "$(uptime)"

# The p-th percentile of the numbers on standard input, as the benchmark
# takes it: the value at index floor(p/100 * n), counted from 0.
percentile() {
    sort -n | awk -v p="$1" '{ v[NR - 1] = $1 } END {
        if (NR == 0) exit
        i = int(p / 100 * NR); if (i > NR - 1) i = NR - 1
        printf "%.1f", v[i] }'
}

summary() { # SIZE BUILD_INDEX BUILD
    base="$logs/$1-$2-"
    [ -f "${base}1" ] || return 0
    echo "### $3 $1, $runs runs: each frame's best time, and the runs' own p99s (ms)"
    echo
    echo "| phase | frames | best p50 | best p99 | best max | run p99 least | run p99 median |"
    echo "|---|---:|---:|---:|---:|---:|---:|"
    # The runs' logs side by side: a line's best time, if every run drew
    # the same frame on that line.
    awk -F'\t' '
        FNR == 1 { f++ }
        { key = FNR; if (f == 1) { frame[key] = $1; phase[key] = $2; best[key] = $3; lines = FNR }
          else if (frame[key] != $1) { bad = 1 } else if ($3 < best[key]) best[key] = $3 }
        END { if (bad) exit 1; for (i = 1; i <= lines; i++) print phase[i] "\t" best[i] }' \
        $(for r in $(seq "$runs"); do echo "$base$r"; done) >"${base}best" || { echo "(the runs drew different frames; no best times)"; : >"${base}best"; }
    cut -f2 "${base}1" | awk '!seen[$0]++' | while IFS= read -r phase; do
        [ "$phase" = loading ] && continue
        pick() { awk -F'\t' -v ph="$phase" -v c="$1" '$2 == ph { print $c }' "$2"; }
        frames=$(pick 3 "${base}1" | wc -l)
        run_p99s=$(for r in $(seq "$runs"); do pick 3 "$base$r" | percentile 99; echo; done)
        least=$(echo "$run_p99s" | percentile 0)
        median=$(echo "$run_p99s" | percentile 50)
        best() { awk -F'\t' -v ph="$phase" '$1 == ph { print $2 }' "${base}best" | percentile "$1"; }
        echo "| $phase | $frames | $(best 50) | $(best 99) | $(best 100) | $least | $median |"
    done
    echo
    printf 'loading frames, each one'"'"'s best:'
    awk -F'\t' '$1 == "loading" { printf " %.1f", $2 }' "${base}best"
    echo
    for r in $(seq "$runs"); do
        printf 'loading frames, run %s:' "$r"
        awk -F'\t' '$2 == "loading" { printf " %.1f", $3 }' "$base$r"
        echo
    done
    echo
}

for size in 800x600 1920x1080; do
    for r in $(seq "$runs"); do
        i=0
        for build in "$@"; do
            i=$((i + 1))
            bench="$build/bench/game_frames_bench"
            # A build from before the frame log runs without one, and has
            # no summary.
            if grep -qa -e --frame-log "$bench"; then
                "$bench" --size "$size" --every "$every" --label "$build" --frame-log "$logs/$size-$i-$r"
            else
                "$bench" --size "$size" --every "$every" --label "$build"
            fi
        done
    done
    if [ "$runs" -gt 1 ]; then
        i=0
        for build in "$@"; do
            i=$((i + 1))
            summary "$size" "$i" "$build"
        done
    fi
done
