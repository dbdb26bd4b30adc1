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
. "$(dirname "$0")/realprogram.sh"
MINE="$T/base/mymap.bms"

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
quickSave "$w" "$MINE"
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
quickSave "$w"
waitFor 20 test "$(firstX "$MINE")" = 2222 || fail "the save after the restore wrote X $(firstX "$MINE") into mymap.bms, not 2222"
cmp -s "$MAP" "$SAMPLES/kzbase/vlmrtest.bms" || fail "vlmrtest.bms was written"
echo "a save makes its file the open map; a kill a second after typing keeps the whole value"
