#!/bin/sh
# The real editor on an X server, through its window: which file a save
# writes, and what a kill a second after an edit keeps.
# - Started with a map, Load still asks for the file (proposing that map).
# - A quick save under another name makes that file the open map: the
#   caption names it and the repack batch packs it ("Auto repack" off).
# - A cell typed in and left with Enter reaches the recovery copy within a
#   second; the program killed a second after it, started again and
#   "Restore" answered, shows the restored map as the open one, and the next
#   quick save (Enter in the file dialog) writes the whole typed value into
#   that file.
# save-and-recover.sh VELLUMAR VELLUMAR_CLI SAMPLES (run by run-under-x.sh)
set -u
VELLUMAR=$1
CLI=$2
SAMPLES=$3
for tool in xdotool awk; do
    command -v "$tool" >/dev/null || { echo "needs $tool: run make test" >&2; exit 1; }
done
T=$(mktemp -d)
pids=""
finish() {
    for p in $pids; do kill -9 "$p" 2>/dev/null; done
    rm -rf "$T"
}
trap finish EXIT
fail() { echo "FAIL: $*" >&2; [ -f "$T/log" ] && cat "$T/log" >&2; exit 1; }

mkdir -p "$T/prog" "$T/base" "$T/game" "$T/work" "$T/data" "$T/config"
cp "$VELLUMAR" "$T/prog/vellumar"
cp "$SAMPLES/item.ini" "$SAMPLES/kzmap.dat" "$T/prog/"
cp "$SAMPLES/kzbase/vlmrtest.bms" "$SAMPLES/kzbase/kzmpname.bin" "$T/base/"
printf '%s\r\n' "$SAMPLES/kz/" "$T/base/" "$T/game/" "$T/work/" "$SAMPLES/images/" "59" "00" > "$T/prog/kzmap.ini"
export XDG_DATA_HOME="$T/data" XDG_CONFIG_HOME="$T/config" QT_QPA_PLATFORM=xcb
RECOVERY="$T/data/Vellumar/recovery"
MAP="$T/base/vlmrtest.bms"
MINE="$T/base/mymap.bms"

start() { # start [MAP]: the program's pid in $pid
    "$T/prog/vellumar" "$@" >>"$T/log" 2>&1 &
    pid=$!
    pids="$pids $pid"
}
waitFor() { # waitFor SECONDS COMMAND...: until the command succeeds
    n=$(($1 * 10)); shift
    while [ "$n" -gt 0 ]; do "$@" && return 0; sleep 0.1; n=$((n - 1)); done
    return 1
}
mainWindow() { timeout 20 xdotool search --sync --onlyvisible --name "$1\"" | head -n 1; }
question() { timeout 10 xdotool search --sync --onlyvisible --name '^Vellumar$' | head -n 1; }
answer() { # answer KEY: the key pressed in the question that shows
    q=$(question)
    [ -n "$q" ] || fail "$2"
    xdotool windowfocus --sync "$q" 2>/dev/null
    xdotool key "$1"
    sleep 0.5
}
# Ctrl+S; with a path, that path typed over the file dialog's proposal.
quickSave() {
    xdotool windowfocus --sync "$w" 2>/dev/null
    xdotool key ctrl+s
    sleep 1.5
    [ $# -gt 0 ] && xdotool key ctrl+a && xdotool type "$1"
    xdotool key Return
    # The sample map has two objects without a category: the save names them
    # and asks first; Enter is "Save".
    answer Return "the save did not ask about the objects it leaves out"
}
# Object 1's X as the map file holds it.
firstX() { "$CLI" info "$1" | awk '/^Object / { for (i = 3; i <= NF; ++i) if ($i ~ /^PosX=/) { sub(/^PosX=/, "", $i); print $i; exit } }'; }
copies() { ls "$RECOVERY"/*.state 2>/dev/null; }
someCopy() { [ -n "$(copies)" ]; }

start "$MAP"
w=$(mainWindow vlmrtest.bms)
[ -n "$w" ] || fail "the main window did not show"
sleep 1

# Load after a start with a map: after "Reset", Ctrl+O shows the open
# dialog (it reloaded that map silently), proposing that map: Enter opens it.
windows() { xdotool search --onlyvisible --pid "$pid" 2>/dev/null | sort; }
xdotool mousemove --window "$w" 160 11 click 1 # "Reset"
sleep 1
windows > "$T/windows-before"
xdotool key ctrl+o
newWindow() { windows | comm -13 "$T/windows-before" - | grep -q .; }
waitFor 10 newWindow || fail "Load after a start with a map showed no file dialog"
d=$(windows | comm -13 "$T/windows-before" - | head -n 1)
xdotool windowfocus --sync "$d" 2>/dev/null
xdotool key Return
sleep 1
w=$(mainWindow vlmrtest.bms)
[ -n "$w" ] || fail "Enter in the open dialog did not open the proposed map"

# Saved under another name: that file is now the open map.
quickSave "$MINE"
waitFor 20 test -s "$MINE" || fail "the save did not write $MINE"
w=$(mainWindow mymap.bms)
[ -n "$w" ] || fail "the caption does not name the saved file: $(xdotool search --onlyvisible --name 'Rev' getwindowname 2>/dev/null)"
BATCH="$T/game/!VLMR_Repack.bat"
batchPacks() { grep -q -a "$1" "$BATCH" 2>/dev/null; }
waitFor 10 batchPacks mymap.bms || fail "the repack batch does not pack mymap.bms: $(cat "$BATCH" 2>&1)"
batchPacks vlmrtest.bms && fail "the repack batch still packs vlmrtest.bms"

# 2222 typed into object 1's X-Axis cell and left with Enter; killed a
# second later.
xdotool mousemove --window "$w" 738 50 click 1
sleep 0.3
xdotool type 2222
xdotool key Return
sleep 1
someCopy || fail "no recovery copy a second after the edit"
kill -9 "$pid"
wait "$pid" 2>/dev/null

start
answer Return "no question at the start after the kill" # "Restore", the default
w=$(mainWindow mymap.bms)
[ -n "$w" ] || fail "the restored map is not the open map"
sleep 1
quickSave
waitFor 20 test "$(firstX "$MINE")" = 2222 || fail "the save after the restore wrote X $(firstX "$MINE") into mymap.bms, not 2222"
cmp -s "$MAP" "$SAMPLES/kzbase/vlmrtest.bms" || fail "vlmrtest.bms was written"
echo "a save makes its file the open map; a kill a second after typing keeps the whole value"
