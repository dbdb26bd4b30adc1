#!/bin/sh
# failed-checks.sh BUILD_DIR: after a ctest run that failed, the checks that
# failed and where, from the run's whole log, so that they are seen at the
# end of a long output (a test's warnings may fill thousands of lines).
log=$1/Testing/Temporary/LastTest.log
[ -f "$log" ] || exit 0
echo "== the checks that failed (from $log):" >&2
grep -E -A1 '^(FAIL!|XPASS)' "$log" | grep -v '^--$' | cut -c1-400 >&2
exit 0
