#!/usr/bin/env bash
# Builds every target (game, asset generator, tools, tests) with
# AddressSanitizer and UndefinedBehaviorSanitizer in build-sanitize/ (or
# $KESTRAVA_SANITIZE_BUILD_DIR) and runs the suite of scripts/test.sh there: unit,
# headless whole-frame, level proof and the end-to-end tests of the real
# binary under Xvfb. Any sanitizer report fails the run: a report in a test
# process ends it with a non-zero status, and the end-to-end scripts check
# the game's status and the sanitizer logs it leaves in their artifacts.
# Leaks are reported, except those inside the system's GL and D-Bus
# libraries (tests/sanitizers/lsan.supp says why for each).
#   bash scripts/sanitize.sh
#   KESTRAVA_SANITIZE_BUILD_DIR=/tmp/san bash scripts/sanitize.sh -R e2e
# Further arguments go to ctest.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KESTRAVA_SANITIZE_BUILD_DIR:-$root/build-sanitize}
jobs=$(nproc)
((jobs > 2)) && jobs=2

# The asset generator runs during the build, so the options hold for the
# build as much as for the tests. intercept_tls_get_addr=0: GCC 12's
# LeakSanitizer, walking the thread-local blocks of libraries loaded with
# dlopen (Mesa's DRI driver in the game), now and then reads a block that
# is not there and dies before it has checked anything (a quarter of the
# runs of the dialog's end-to-end test). Those blocks are no longer scanned
# for pointers; only a library loaded with dlopen keeps memory in them.
export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:exitcode=1:abort_on_error=0:check_initialization_order=1:strict_init_order=1:intercept_tls_get_addr=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$root/tests/sanitizers/lsan.supp:print_suppressions=0"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKESTRAVA_SANITIZE="address;undefined" >/dev/null
cmake --build "$build" -j "$jobs"
# The suite of scripts/test.sh: the soak, which measures the memory of
# twenty games, is left out (its measures mean nothing under the
# sanitizers' own allocator).
ctest --test-dir "$build" --output-on-failure -j "$jobs" -LE soak "$@"
