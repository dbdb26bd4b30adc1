#!/bin/sh
# Runs a Windows test program under Wine, in a Wine prefix of its own that is
# removed afterwards, and exits with the program's status.
prefix=$(mktemp -d "${TMPDIR:-/tmp}/vellumar-wine.XXXXXX")
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine "$@"
status=$?
wineserver -k 2>/dev/null
rm -rf "$prefix"
exit $status
