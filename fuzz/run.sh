#!/usr/bin/env bash
# Builds the fuzzers with clang (ASan + UBSan) and runs each for SECONDS on a
# copy of the seed corpus (the ASE files of the tests). Exits non-zero on any
# crash, leak or sanitizer finding. Inputs are kept to 16 KB, which holds
# whole objects of every seed and keeps the runs fast.
#   bash fuzz/run.sh 60
#   KESTRAVA_FUZZ_BUILD_DIR=/tmp/fz bash fuzz/run.sh 10
set -euo pipefail

seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KESTRAVA_FUZZ_BUILD_DIR:-$root/build-fuzz}

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTRAVA_BUILD_FUZZERS=ON -DKESTRAVA_BUILD_TESTS=OFF >/dev/null
ninja -C "$build" -j2 ase_reader_fuzzer

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

export LSAN_OPTIONS="suppressions=$root/fuzz/lsan.supp:print_suppressions=0"

status=0
for fuzzer in ase_reader_fuzzer; do
  corpus="$work/$fuzzer-corpus"
  mkdir -p "$corpus"
  cp "$root"/tests/fixtures/ase/*.ase "$corpus"/
  echo "fuzz: $fuzzer for $seconds s"
  if ! (cd "$work" && "$build/fuzz/$fuzzer" -max_total_time="$seconds" -timeout=25 -max_len=16384 \
        -rss_limit_mb=4096 -print_final_stats=1 -artifact_prefix="$work/" "$corpus" \
        >"$work/$fuzzer.log" 2>&1); then
    status=1
    tail -n 60 "$work/$fuzzer.log"
    mkdir -p "$root/fuzz/artifacts"
    cp "$work"/crash-* "$work"/leak-* "$work"/timeout-* "$work"/oom-* "$root/fuzz/artifacts/" 2>/dev/null || true
    echo "fuzz: $fuzzer FAILED; inputs kept in fuzz/artifacts"
  else
    grep -E 'stat::number_of_executed_units|cov:' "$work/$fuzzer.log" | tail -n 2
    echo "fuzz: $fuzzer passed"
  fi
done
exit $status
