#!/bin/sh
# The real editor on an X server, driven with the mouse and the keyboard:
# F shows the whole terrain at zoom 1, a rubber band on the empty map selects
# the two vehicles of the sample map, a left drag of one of them moves both,
# and a quick save writes the map. The saved map holds both vehicles moved by
# exactly the same offset in game units, the dragged one with its marker's
# top left corner on the pixel where it was let go, and every other object
# where it was.
# group-drag.sh VELLUMAR VELLUMAR_CLI SAMPLES (run by run-under-x.sh)
set -u
VELLUMAR=$1
CLI=$2
SAMPLES=$3
. "$(dirname "$0")/realprogram.sh"
UNIT=131072

# "ID X Y" of every object of a map, one line each.
positions() {
    "$CLI" info "$1" | awk '/^Object / {
        for (i = 3; i <= NF; ++i) { split($i, kv, "="); v[kv[1]] = kv[2] }
        print v["ObjectId"], v["PosX"], v["PosY"] }' | sort -n
}
field() { # field ID COLUMN FILE: column 2 is X, 3 is Y
    awk -v id="$1" -v c="$2" '$1 == id { print $c }' "$3"
}
positions "$MAP" > "$T/before"
[ "$(wc -l < "$T/before")" -gt 20 ] || fail "the sample map could not be read"

start "$MAP"
w=$(mainWindow)
[ -n "$w" ] || fail "the main window did not show"
sleep 1
xdotool windowfocus --sync "$w" 2>/dev/null
# The map window's top left corner is at (24, 24) in the main window.
at() { echo $((24 + $1)) $((24 + $2)); }
xdotool mousemove --window "$w" $(at 250 250)
sleep 0.3
xdotool key f
sleep 0.5

# A rubber band from the empty map around the two vehicles at map pixels
# (300, 120) and (320, 140) (IDs 109 and 110).
xdotool mousemove --window "$w" $(at 290 110) mousedown 1
for p in "300 120" "320 135" "335 150"; do
    sleep 0.1
    xdotool mousemove --window "$w" $(at $p)
done
sleep 0.2
xdotool mouseup 1
sleep 0.5

# The first vehicle's marker grabbed at its pixel (1, 1) and let go 40
# pixels right and 60 lower: its corner goes to (340, 180).
xdotool mousemove --window "$w" $(at 301 121) mousedown 1
for p in "310 130" "325 150" "335 170" "341 181"; do
    sleep 0.1
    xdotool mousemove --window "$w" $(at $p)
done
sleep 0.2
xdotool mouseup 1
sleep 0.5

SAVED="$T/work/moved.bms"
quickSave "$w" "$SAVED"
waitFor 20 test -s "$SAVED" || fail "the save did not write $SAVED"
sleep 0.5
positions "$SAVED" > "$T/after"

x109=$(field 109 2 "$T/before")
y109=$(field 109 3 "$T/before")
dx=$((340 * UNIT - x109))
dy=$((-180 * UNIT - y109))
[ "$(field 109 2 "$T/after")" = $((340 * UNIT)) ] || fail "the dragged vehicle's X is $(field 109 2 "$T/after"), not $((340 * UNIT))"
[ "$(field 109 3 "$T/after")" = $((-180 * UNIT)) ] || fail "the dragged vehicle's Y is $(field 109 3 "$T/after"), not $((-180 * UNIT))"
[ "$(field 110 2 "$T/after")" = $(($(field 110 2 "$T/before") + dx)) ] || fail "the other vehicle did not move by $dx in X"
[ "$(field 110 3 "$T/after")" = $(($(field 110 3 "$T/before") + dy)) ] || fail "the other vehicle did not move by $dy in Y"
# Every other object stays where it was (the save leaves out the two of no category).
grep -v -e '^109 ' -e '^110 ' "$T/after" > "$T/after-rest"
grep -v -e '^109 ' -e '^110 ' "$T/before" | grep -F -x -f "$T/after-rest" > "$T/before-rest"
cmp -s "$T/after-rest" "$T/before-rest" || fail "other objects moved: $(diff "$T/before-rest" "$T/after-rest")"
[ "$(wc -l < "$T/after-rest")" -eq $(($(wc -l < "$T/before") - 4)) ] || fail "the saved map lost objects"
echo "rubber band and group drag: both vehicles moved by ($dx, $dy) game units, the rest stayed"
