#!/bin/sh
# Runs every benchmark program in the given folder and prints its figures.
set -e
BIN=${1:-build/bin}
for b in "$BIN"/bench_*; do
    [ -x "$b" ] || continue
    echo "== $(basename "$b")"
    QT_QPA_PLATFORM=offscreen "$b"
done
