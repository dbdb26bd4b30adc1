#!/bin/bash
# test.sh [BUILD_DIR]: the tests of the Windows edition (make test-windows),
# after make windows: builds the Windows test programs in BUILD_DIR (default
# build-windows/) and runs every test of tests/windows/tests.cmake under Wine.
# A machine without what the tests need fails here, naming it: no Windows
# test is skipped without a word.
. "$(dirname "$0")/common.sh"

build=${1:-$VELLUMAR_SOURCE/build-windows}
[ -f "$build/build.ninja" ] || die "$build is not configured: run make windows first"
missing=""
for tool in wine wineserver xvfb-run xdotool import compare unzip; do
    command -v "$tool" >/dev/null || missing="$missing $tool"
done
[ -z "$missing" ] || die "the Windows tests need:$missing (make test-windows installs them)"
for program in vellumar vellumar-cli; do
    [ -x "$VELLUMAR_SOURCE/build/bin/$program" ] ||
        die "the Linux $program, which the Windows one is compared with, is missing: run make build-programs"
done

started=$SECONDS
cmake --build "$build" >&2
say "Windows test programs built: $(( (SECONDS - started) / 60 )) min $(( (SECONDS - started) % 60 )) s"
started=$SECONDS
cd "$build"
status=0
# Two at a time: a test under Wine spends much of its time waiting.
ctest -j2 --output-on-failure || status=$?
[ "$status" = 0 ] || sh "$VELLUMAR_SOURCE/scripts/failed-checks.sh" .
say "Windows tests run: $(( (SECONDS - started) / 60 )) min $(( (SECONDS - started) % 60 )) s"
exit $status
