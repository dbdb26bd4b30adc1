# Sourced by the tests that drive the real editor on an X server, after
# VELLUMAR and SAMPLES are set (TOOLS may name more tools they need). Gives
# them a program folder of their own in $T (settings beside the program, the
# sample game data, a base folder the saves may write, a user data folder),
# removed at the end with every program started by `start` killed.
for tool in xdotool awk ${TOOLS:-}; do
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
# The main window whose caption names the file NAME.
mainWindow() { timeout 20 xdotool search --sync --onlyvisible --name "${1:-vlmrtest.bms}\"" | head -n 1; }
question() { timeout 10 xdotool search --sync --onlyvisible --name '^Vellumar$' | head -n 1; }
answer() { # answer KEY MESSAGE: KEY pressed in the question that shows, else MESSAGE fails
    q=$(question)
    [ -n "$q" ] || fail "$2"
    xdotool windowfocus --sync "$q" 2>/dev/null
    xdotool key "$1"
    sleep 0.5
}
# quickSave WINDOW [PATH]: Ctrl+S; with a path, that path typed over the
# file dialog's proposal.
quickSave() {
    xdotool windowfocus --sync "$1" 2>/dev/null
    xdotool key ctrl+s
    sleep 1.5
    if [ $# -gt 1 ]; then
        xdotool key ctrl+a
        xdotool type "$2"
    fi
    xdotool key Return
    # The sample map has two objects without a category: the save names them
    # and asks first; Enter is "Save".
    answer Return "the save did not ask about the objects it leaves out"
}
