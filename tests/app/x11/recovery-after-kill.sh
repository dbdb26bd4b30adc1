#!/bin/sh
# The real editor, driven through its window on an X server: edits made in
# the table, the program killed with SIGKILL once its recovery copy holds
# them, started again and "Restore" answered; a quick save then writes the
# same map and name list, byte for byte, as the save of the same edits made
# without the kill. A second program started meanwhile neither offers nor
# touches the first one's copy.
#
# With "logout", the second run is a client of a real X session manager
# (xsm), and the session ends the way xsm ends it on SIGTERM: a save of the
# session that allows no question, then its end. The program ends by itself,
# and its copy holds the edits at once.
# With "logout-ask" (under a window manager), xsm's own Shutdown lets the
# program ask: Cancel keeps it and the session, Discard ends both.
# recovery-after-kill.sh VELLUMAR SAMPLES [kill|logout|logout-ask] (run by run-under-x.sh)
set -u
VELLUMAR=$1
SAMPLES=$2
MODE=${3:-kill}
TOOLS=""
[ "$MODE" != kill ] && TOOLS="xsm iceauth pgrep"
. "$(dirname "$0")/realprogram.sh"

# A table cell by its window position: the grid's design place, its 18-pixel
# rows under the title row, the Z-Axis and X-Axis columns.
cellClick() { xdotool mousemove --window "$1" "$2" "$3" click 1; sleep 0.3; }
edits() {
    w=$(mainWindow)
    [ -n "$w" ] || fail "the main window did not show"
    cellClick "$w" 866 50
    xdotool type 7
    sleep 0.3
    cellClick "$w" 738 68
    xdotool type 5
    sleep 0.3
    cellClick "$w" 866 86
}
copies() { ls "$RECOVERY"/*.state 2>/dev/null; }
noCopy() { [ -z "$(copies)" ]; }
someCopy() { [ -n "$(copies)" ]; }
saveTo() { # saveTo PATH: a quick save of the map into PATH
    quickSave "$(mainWindow)" "$1"
    waitFor 20 test -s "$1" || fail "the save did not write $1"
    sleep 0.5
}

startSession() { # the program started by a session of xsm: their pids in $xsmPid and $pid
    mkdir -p "$T/home"
    echo "$T/prog/vellumar $MAP" > "$T/home/.xsmstartup"
    HOME="$T/home" SM_SAVE_DIR="$T/home" xsm -session vellumar >>"$T/log" 2>&1 &
    xsmPid=$!
    pids="$pids $xsmPid"
    waitFor 20 pgrep -f "$T/prog/vellumar" >/dev/null || fail "the session did not start the program"
    pid=$(pgrep -f "$T/prog/vellumar" | head -n 1)
    pids="$pids $pid"
}
ended() { ! kill -0 "$pid" 2>/dev/null; }
shutDownAsking() { # xsm's Shutdown With Checkpoint, questions allowed: the program's question in $question
    x=$(xdotool search --onlyvisible --name '^xsm: ' | head -n 1)
    xdotool windowactivate --sync "$x" 2>/dev/null
    xdotool mousemove --window "$x" 140 48 mousedown 1
    sleep 0.7
    xdotool mousemove --window "$x" 160 76
    sleep 0.3
    xdotool mouseup 1
    s=$(timeout 10 xdotool search --sync --onlyvisible --name '^Shutdown$' | head -n 1)
    [ -n "$s" ] || fail "xsm showed no Shutdown dialog"
    xdotool windowactivate --sync "$s" 2>/dev/null
    # A session name, then "Shutdown"; save type Both and interaction Any are its defaults.
    xdotool mousemove --window "$s" 174 18 click 1
    sleep 0.3
    xdotool type --window "$s" vellumar
    sleep 0.3
    xdotool mousemove --window "$s" 48 137 click 1
    question=$(timeout 10 xdotool search --sync --onlyvisible --name '^Vellumar$' | head -n 1)
    [ -n "$question" ] || fail "the logout did not ask about the unsaved changes"
    xdotool windowactivate --sync "$question" 2>/dev/null
}

if [ "$MODE" = logout-ask ]; then
    # A logout that lets the program ask: Cancel keeps the program and its
    # session; Discard ends both, leaves no copy and writes no map.
    startSession
    edits
    shutDownAsking
    xdotool key Escape
    sleep 2
    kill -0 "$pid" 2>/dev/null || fail "Cancel did not keep the program"
    kill -0 "$xsmPid" 2>/dev/null || fail "Cancel did not keep the session"
    # xsm tells that a program did not save: its report is closed with "OK".
    report=$(timeout 10 xdotool search --sync --onlyvisible --name '^Save Failure$' | head -n 1)
    [ -n "$report" ] || fail "the session manager was not told of the cancel"
    xdotool windowactivate --sync "$report" 2>/dev/null
    xdotool mousemove --window "$report" 30 102 click 1
    sleep 0.5
    case "$(xdotool getwindowname "$(mainWindow)")" in *' *') ;; *) fail "Cancel lost the unsaved changes" ;; esac
    someCopy || fail "Cancel left no recovery copy"
    shutDownAsking
    xdotool key shift+Tab space # "Discard", left of the default "Cancel"
    waitFor 15 ended || fail "Discard did not end the program with its session"
    noCopy || fail "Discard left a recovery copy"
    cmp "$MAP" "$SAMPLES/kzbase/vlmrtest.bms" || fail "Discard wrote the map"
    echo "logout with questions: Cancel keeps the program and its changes, Discard ends it"
    exit 0
fi

# The edits saved without a kill.
start "$MAP"
edits
saveTo "$T/work/reference.bms"
cp "$T/base/kzmpname.bin" "$T/work/reference-names.bin"
kill -9 "$pid"
noCopy || fail "a save left its recovery copy"
cp "$SAMPLES/kzbase/kzmpname.bin" "$T/base/"

if [ "$MODE" = logout ]; then
    # The same edits in a session of xsm, which starts the program; the
    # session ends at once after the last of them, before the copy's second
    # is up: its end writes them.
    startSession
    edits
    kill -TERM "$xsmPid"
    waitFor 15 ended || fail "the program did not end with its session"
    someCopy || fail "the session's end left no recovery copy"
else
    # The same edits, killed a second after the last of them: every change
    # is in the copy within a second.
    start "$MAP"
    edits
    sleep 1
    kill -9 "$pid"
    wait "$pid" 2>/dev/null
fi

# Started again: the question comes before any other window.
start
question=$(timeout 20 xdotool search --sync --onlyvisible --name '^Vellumar$' | head -n 1)
[ -n "$question" ] || fail "no question at the start after the kill"
[ -z "$(xdotool search --onlyvisible --name 'Rev\.:482' 2>/dev/null)" ] || fail "a window showed before the question"
xdotool windowfocus --sync "$question" 2>/dev/null
xdotool key Return # "Restore", the default
w=$(mainWindow)
[ -n "$w" ] || fail "the restored map did not load"
# The window shows with the loaded map; the restored state follows it.
markedUnsaved() { case "$(xdotool getwindowname "$w")" in *' *') return 0 ;; *) return 1 ;; esac; }
waitFor 10 markedUnsaved || fail "the restored changes are not marked unsaved: $(xdotool getwindowname "$w")"
restored=$pid

# A second program meanwhile asks nothing and leaves the first one's copy.
start
sleep 3
[ -z "$(xdotool search --onlyvisible --name '^Vellumar$' 2>/dev/null)" ] || fail "a second program offered a copy in use"
kill -9 "$pid"
pid=$restored

saveTo "$T/work/restored.bms"
cmp "$T/work/reference.bms" "$T/work/restored.bms" || fail "the restored map differs from the one saved without the kill"
cmp "$T/work/reference-names.bin" "$T/base/kzmpname.bin" || fail "the restored name list differs"
waitFor 5 noCopy || fail "the save after the restore left a recovery copy"
echo "recovery after a $MODE: restored map and name list equal the saves made without it"
