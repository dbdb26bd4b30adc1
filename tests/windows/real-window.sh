#!/bin/bash
# The editor of the portable zip in a real window: vellumar.exe, unpacked as
# a user unpacks it, with a kzmap.ini of Windows paths (Z:\...) beside it,
# started under Wine with the sample map, shows the main window with the
# terrain and the markers exactly as the Linux editor shows them (the map
# area's pixels compared), its table exports the same text as the Linux
# command-line tool's export, and edits typed into the table and saved with
# Ctrl+S through the Windows save dialog give the same map and name list,
# byte for byte, as the Linux editor's save of the same edits. The copy
# keeps its settings beside itself and writes nothing to the user's folders.
#   real-window.sh ZIP LINUX_VELLUMAR SAMPLES   (run by run-under-x.sh)
ZIP=$1 LINUX_VELLUMAR=$2 SAMPLES=$3
. "$(dirname "$0")/common.sh"
for tool in xdotool import compare convert; do
    command -v "$tool" >/dev/null || fail "needs $tool: run make test-windows"
done
[ -n "${DISPLAY:-}" ] || fail "no X display: run me through tests/app/x11/run-under-x.sh"
[ -x "$LINUX_VELLUMAR" ] || fail "the Linux editor ($LINUX_VELLUMAR) is missing: run make build-programs"
[ -f "$ZIP" ] || fail "$ZIP is missing: run make windows"
unpackZip "$ZIP"

# The sample game data for each side, and each side's settings.
for side in linux windows; do
    mkdir -p "$T/$side"/{kz,kzbase,game,work,out}
    cp "$SAMPLES"/kz/* "$T/$side/kz/"
    cp "$SAMPLES"/kzbase/* "$T/$side/kzbase/"
done
mkdir -p "$T/linuxprog" "$T/xdg/data" "$T/xdg/config"
cp "$LINUX_VELLUMAR" "$T/linuxprog/vellumar"
cp "$PROGRAM/item.ini" "$PROGRAM/kzmap.dat" "$T/linuxprog/"
settings() { # settings ROOT IMAGES PATHMAPPER: the seven lines of kzmap.ini
    local d
    for d in kz kzbase game work; do printf '%s\r\n' "$($3 "$1/$d/")"; done
    printf '%s\r\n' "$($3 "$2/")" 59 00
}
plain() { printf '%s' "$1"; }
settings "$T/linux" "$SAMPLES/images" plain > "$T/linuxprog/kzmap.ini"
settings "$T/windows" "$SAMPLES/images" winpath > "$PROGRAM/kzmap.ini"
cp "$PROGRAM/kzmap.ini" "$T/windows-settings.ini"

mainWindow() { visibleWindow 60 'vlmrtest\.bms"'; }
# A table cell by its window position: the grid's design place, its 18-pixel
# rows under the title row, the Z-Axis and X-Axis columns.
cellClick() { xdotool mousemove --window "$1" "$2" "$3" click 1; sleep 0.5; }
run() { # run SIDE: load, look, export, edit and save through the window
    local side=$1 w pid
    if [ "$side" = linux ]; then
        XDG_DATA_HOME="$T/xdg/data" XDG_CONFIG_HOME="$T/xdg/config" \
            "$T/linuxprog/vellumar" "$T/linux/kzbase/vlmrtest.bms" >>"$T/$side.log" 2>&1 &
    else
        wine "$PROGRAM/vellumar.exe" "$(winpath "$T/windows/kzbase/vlmrtest.bms")" >>"$T/$side.log" 2>&1 &
    fi
    pid=$!
    w=$(mainWindow)
    [ -n "$w" ] || fail "$side: the main window did not show with the map ($(tail -n 5 "$T/$side.log"))"
    xdotool windowraise "$w"
    sleep 2
    # The map area, 512 by 512 at (24, 24) of the window: terrain and markers.
    import -window "$w" -crop 512x512+24+24 +repage "$T/$side-map.png" || fail "$side: no screenshot"
    # "Export": the table's rows into export.txt of the work folder.
    xdotool mousemove --window "$w" 943 549 click 1
    waitFor 20 test -s "$T/$side/work/export.txt" || fail "$side: Export wrote no export.txt"
    # Edits typed into the table, then a quick save (Ctrl+S) to a name typed
    # into the save dialog.
    cellClick "$w" 866 50
    xdotool type 7
    sleep 0.5
    cellClick "$w" 738 68
    xdotool type 5
    sleep 0.5
    cellClick "$w" 866 86
    xdotool windowactivate --sync "$w" 2>/dev/null || xdotool windowfocus --sync "$w"
    xdotool key ctrl+s
    sleep 3
    # The file name field may hold a name already: typed over as a whole.
    xdotool key ctrl+a
    if [ "$side" = linux ]; then
        xdotool type "$T/linux/out/saved.bms"
    else
        xdotool type "$(winpath "$T/windows/out/saved.bms")"
    fi
    xdotool key Return
    # The sample map has two objects without a category: the save names them
    # and asks before writing; Enter is "Save".
    q=$(visibleWindow 20 '^Vellumar$')
    [ -n "$q" ] || fail "$side: the save did not ask about the objects it leaves out"
    xdotool windowactivate --sync "$q" 2>/dev/null || xdotool windowfocus --sync "$q" 2>/dev/null
    xdotool key Return
    waitFor 30 test -s "$T/$side/out/saved.bms" || fail "$side: the quick save wrote no map"
    sleep 1
    # Closed as its close box closes it (no changes are left unsaved).
    if [ "$side" = linux ]; then
        kill -TERM "$pid"
    else
        wine taskkill /im vellumar.exe >/dev/null 2>&1
    fi
    waitFor 30 eval '! kill -0 $pid 2>/dev/null' || fail "$side: the editor did not end"
}

run linux
run windows

# The map area as the Linux editor shows it: same terrain, same markers.
[ "$(convert "$T/windows-map.png" -format %k info:)" -gt 16 ] || fail "the Windows map area shows no terrain"
differing=$(compare -metric AE "$T/linux-map.png" "$T/windows-map.png" null: 2>&1)
[ "$differing" = 0 ] || fail "the map area differs from the Linux editor's in $differing pixels"
# The table: the same rows as the command-line tool exports from the map.
"$(dirname "$LINUX_VELLUMAR")/vellumar-cli" export "$SAMPLES/kzbase/vlmrtest.bms" > "$T/cli-export.txt"
[ "$(grep -c '' "$T/windows/work/export.txt")" = 30 ] || fail "the Windows table does not hold 30 rows"
cmp "$T/cli-export.txt" "$T/windows/work/export.txt" || fail "the Windows table exports other text"
cmp "$T/linux/work/export.txt" "$T/windows/work/export.txt" || fail "the two editors export other text"
# The save.
cmp "$T/linux/out/saved.bms" "$T/windows/out/saved.bms" || fail "the saved maps differ"
cmp "$T/linux/kzbase/kzmpname.bin" "$T/windows/kzbase/kzmpname.bin" || fail "the saved name lists differ"
cmp -s "$T/windows/out/saved.bms" "$SAMPLES/kzbase/vlmrtest.bms" && fail "the edits did not reach the saved map"
# A portable copy: the settings stay beside the program (rewritten at the
# end, with the same lines), nothing in the user's folders.
cmp "$T/windows-settings.ini" "$PROGRAM/kzmap.ini" || fail "kzmap.ini beside the program changed"
user=$(ls -d "$WINEPREFIX"/drive_c/users/*/AppData/Local/Vellumar 2>/dev/null)
[ -z "$user" ] || fail "the portable copy wrote into the user's folders: $user"
echo "vellumar.exe of the zip: the map, the table and a quick save as on Linux"
