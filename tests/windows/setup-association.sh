#!/bin/bash
# The Setup dialog's "Associate *.BMS Files " and "Remove Association " in
# the editor of the zip, clicked in its real window under Wine: the first
# writes the .bms link to this very program into the user's classes (read
# back with reg query), twice leaves it as once, and the second takes every
# key of it away again, leaving the classes as they were.
#   setup-association.sh ZIP   (run by run-under-x.sh)
ZIP=$1
. "$(dirname "$0")/common.sh"
command -v xdotool >/dev/null || fail "needs xdotool: run make test-windows"
[ -n "${DISPLAY:-}" ] || fail "no X display: run me through tests/app/x11/run-under-x.sh"
[ -f "$ZIP" ] || fail "$ZIP is missing: run make windows"
unpackZip "$ZIP"
CLASSES='HKCU\Software\Classes'
exe=$(winpath "$PROGRAM/vellumar.exe")
classes() { wine reg query "$CLASSES" /s 2>/dev/null | tr -d '\r'; }
link() {
    printf '%s\n' "$(regDefault "$CLASSES\\.bms")" "$(regDefault "$CLASSES\\KZ Mapfile")" \
        "$(regDefault "$CLASSES\\KZ Mapfile\\DefaultIcon")" "$(regDefault "$CLASSES\\KZ Mapfile\\Shell\\Open\\Command")"
}
before=$(classes)

wine "$PROGRAM/vellumar.exe" >>"$T/editor.log" 2>&1 &
pid=$!
main=$(visibleWindow 60 '^Vellumar \(')
[ -n "$main" ] || fail "the main window did not show ($(tail -n 5 "$T/editor.log"))"
sleep 2
xdotool mousemove --window "$main" 105 11 click 1 # "Setup"
setup=$(visibleWindow 30 '^Setup$')
[ -n "$setup" ] || fail "the Setup dialog did not show"
sleep 1
# Wine draws the frame of this tool window itself, inside its X window: the
# client area (563 by 307) lies within an even border under the caption.
eval "$(xdotool getwindowgeometry --shell "$setup")"
border=$(( (WIDTH - 563) / 2 ))
top=$(( HEIGHT - 307 - border ))
click() { xdotool mousemove --window "$setup" $(($1 + border)) $(($2 + top)) click 1; sleep 2; }

click 72 236 # "Associate *.BMS Files "
expected=$(printf '%s\n' "KZ Mapfile" "Kozarak Map File" "$exe,0" "\"$exe\" \"%1\"")
[ "$(link)" = "$expected" ] || fail "after Associate the registry holds:
$(link)
expected:
$expected"
once=$(classes)
click 72 236
[ "$(classes)" = "$once" ] || fail "associating twice differs from once"

click 192 236 # "Remove Association "
regHas "$CLASSES\\.bms" && fail ".bms is still there after Remove Association"
regHas "$CLASSES\\KZ Mapfile" && fail "KZ Mapfile is still there after Remove Association"
[ "$(classes)" = "$before" ] || fail "the user's classes differ from before Associate"
click 192 236 # removing what is not there changes nothing
[ "$(classes)" = "$before" ] || fail "a second Remove Association changed the classes"

click 157 284 # "Cancel"
wine taskkill /im vellumar.exe >/dev/null 2>&1
waitFor 30 eval '! kill -0 $pid 2>/dev/null' || fail "the editor did not end"
echo "Setup's Associate and Remove Association: the registry keys come and go"
