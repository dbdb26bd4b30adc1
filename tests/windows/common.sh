# Shared by the scripts of tests/windows/ (sourced, bash): a temporary folder
# $T removed at the end, a Wine prefix of its own inside it, and helpers.
set -u
T=$(mktemp -d "${TMPDIR:-/tmp}/vellumar-wintest.XXXXXX")
export WINEPREFIX="$T/prefix" WINEDEBUG=-all
# No Mono or Gecko prompts, and no menu entries of the test's Start menu in
# the real user's desktop.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
cleanup() {
    wineserver -k 2>/dev/null
    rm -rf "$T"
}
trap cleanup EXIT

fail() { printf 'FAIL: %s\n' "$*" >&2; exit 1; }
# The Windows path of a file of this machine: drive Z: is its root.
winpath() { printf 'Z:%s' "$1" | tr '/' '\\'; }
# waitFor SECONDS COMMAND...: until the command succeeds.
waitFor() {
    local n=$(($1 * 5))
    shift
    while [ "$n" -gt 0 ]; do "$@" && return 0; sleep 0.2; n=$((n - 1)); done
    return 1
}
# visibleWindow SECONDS NAME-PATTERN: the first visible window whose name
# matches, waited for. Each try searches anew: a window that vanishes while
# xdotool walks the tree (Wine closes its dialogs' helper windows) makes that
# one search fail, not the wait.
firstVisible() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1; }
anyVisible() { [ -n "$(firstVisible "$1")" ]; }
visibleWindow() { waitFor "$1" anyVisible "$2" && firstVisible "$2"; }
# The default value of a registry key, or nothing.
regDefault() { wine reg query "$1" /ve 2>/dev/null | tr -d '\r' | sed -n 's/^ *(Default) *REG_SZ *//p'; }
regValue() { wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"; }
regHas() { wine reg query "$1" >/dev/null 2>&1; }

# A fresh prefix, ready before the first program starts.
wineboot -i >/dev/null 2>&1 || fail "Wine could not set up its prefix"
# Keys every Windows profile has and a new Wine prefix lacks.
for key in 'HKCU\Software\Classes' 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall'; do
    wine reg add "$key" /f >/dev/null 2>&1
done

# unpackZip ZIP: the portable folder unpacked into $T, its path in $PROGRAM.
unpackZip() {
    unzip -q "$1" -d "$T/unpacked" || fail "cannot unpack $1"
    PROGRAM=$(echo "$T"/unpacked/Vellumar-*-windows-x64)
    [ -f "$PROGRAM/vellumar.exe" ] || fail "no vellumar.exe in $1"
}
