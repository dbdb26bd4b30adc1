#!/bin/sh
# Runs the fuzz harnesses built by `make fuzz` (fuzz_<reader> in BUILD/bin).
#
#   run-fuzz.sh replay BUILD [READER]     each harness once over its seed corpus
#                                         (BUILD/seeds/<reader>) and the saved
#                                         crash reproducers (fuzz/crashes/<reader>)
#   run-fuzz.sh run BUILD SECONDS [READER...]
#                                         fuzz each harness for SECONDS, one after
#                                         the other; new inputs go to
#                                         BUILD/corpus/<reader>, crashes to
#                                         BUILD/crashes/<reader>/
#
# Every run uses -rss_limit_mb=2048 -timeout=10: an input that takes more
# memory or time than that is a finding too. -max_len lets the seeds at the
# readers' limits (up to a few MiB) in whole; libFuzzer would cut them at 1 MiB.
set -e
ROOT=$(cd "$(dirname "$0")/.." && pwd)
MODE=$1
BUILD=$2
LIMITS="-rss_limit_mb=2048 -timeout=10 -max_len=4194304"

harness() {
    h="$BUILD/bin/fuzz_$1"
    if [ ! -x "$h" ]; then
        echo "no harness $h: build the harnesses first with 'make fuzz' (needs clang)" >&2
        exit 1
    fi
    echo "$h"
}

readers() {
    for f in "$ROOT"/fuzz/fuzz_*.cpp; do
        basename "$f" .cpp | sed 's/^fuzz_//'
    done
}

case "$MODE" in
replay)
    shift 2
    for r in ${1:-$(readers)}; do
        h=$(harness "$r")
        inputs="$BUILD/seeds/$r"
        [ -d "$ROOT/fuzz/crashes/$r" ] && inputs="$inputs $ROOT/fuzz/crashes/$r"
        echo "== $r: $inputs"
        # shellcheck disable=SC2086
        "$h" -runs=0 $LIMITS $inputs
    done
    ;;
run)
    SECONDS_EACH=$3
    shift 3
    for r in ${*:-$(readers)}; do
        h=$(harness "$r")
        mkdir -p "$BUILD/corpus/$r" "$BUILD/crashes/$r"
        echo "== $r: $SECONDS_EACH s"
        # shellcheck disable=SC2086
        "$h" "$BUILD/corpus/$r" "$BUILD/seeds/$r" -max_total_time="$SECONDS_EACH" $LIMITS \
            -artifact_prefix="$BUILD/crashes/$r/" -print_final_stats=1 || {
            echo "fuzz_$r found a fault: see $BUILD/crashes/$r/ (keep the reproducer in fuzz/crashes/$r/)" >&2
            exit 1
        }
    done
    ;;
*)
    echo "usage: $0 replay BUILD [READER] | run BUILD SECONDS [READER...]" >&2
    exit 2
    ;;
esac
