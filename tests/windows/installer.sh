#!/bin/bash
# The installer under Wine, silent (/S), as a user runs it:
#  - for the user (the default): the files under
#    %LOCALAPPDATA%\Programs\Vellumar, the Start menu entry, the .bms
#    association under HKCU\Software\Classes, the entry in Add/Remove
#    Programs; the association's command line, run as Windows runs it for a
#    double-clicked .bms, opens that map in the installed editor, which keeps
#    its settings in the user's folder; the uninstaller (/S) then removes
#    exactly what the installer wrote, files and keys;
#  - installed again, with the file class since taken by another copy of
#    the editor: the uninstaller leaves the association alone;
#  - for all users (/AllUsers): Program Files and HKLM, and a .bms opened
#    with `wine start` starts the editor; another program that has taken
#    .bms since keeps it after the uninstall.
#   installer.sh SETUP SAMPLES   (run by run-under-x.sh)
SETUP=$1 SAMPLES=$2
. "$(dirname "$0")/common.sh"
command -v xdotool >/dev/null || fail "needs xdotool: run make test-windows"
[ -n "${DISPLAY:-}" ] || fail "no X display: run me through tests/app/x11/run-under-x.sh"
[ -f "$SETUP" ] || fail "$SETUP is missing: run make windows"

profile=$WINEPREFIX/drive_c/users/$(id -un)
[ -d "$profile" ] || fail "no Wine profile folder $profile"
CLASSES='HKCU\Software\Classes'
MACHINE_CLASSES='HKLM\Software\Classes'
UNINSTALL='Software\Microsoft\Windows\CurrentVersion\Uninstall\Vellumar'

# Everything of the prefix an install could touch: its files (but Windows'
# temporary folders, where the uninstaller runs from a copy of itself) and
# the keys of the classes and of Add/Remove Programs.
snapshot() {
    (cd "$WINEPREFIX/drive_c" &&
        find . \( -path './users/*/AppData/Local/Temp' -o -path './users/*/Temp' -o -path './windows/temp' \) -prune \
            -o -print | LC_ALL=C sort)
    local k
    for k in "$CLASSES" "$MACHINE_CLASSES" 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall' \
        'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'; do
        wine reg query "$k" 2>/dev/null | tr -d '\r'
    done
}

# The game data and the user's settings the installed editor reads.
mkdir -p "$T/game"/{kz,kzbase,main,work}
cp "$SAMPLES"/kz/* "$T/game/kz/"
cp "$SAMPLES"/kzbase/* "$T/game/kzbase/"
cp "$SAMPLES/kzbase/vlmrtest.bms" "$T/game/kzbase/opened by shell.bms"
userSettings() {
    mkdir -p "$profile/AppData/Local/Vellumar"
    local d
    for d in kz kzbase main work; do printf '%s\r\n' "$(winpath "$T/game/$d/")"; done > "$profile/AppData/Local/Vellumar/kzmap.ini"
    printf '%s\r\n' "" 59 00 >> "$profile/AppData/Local/Vellumar/kzmap.ini"
}
editorShows() { # editorShows NAME: the editor's main window with that map, then closed
    local w
    w=$(visibleWindow 60 "$1\"")
    [ -n "$w" ] || fail "the editor did not show $1"
    wine taskkill /im vellumar.exe >/dev/null 2>&1
    wineserver -w
}
install() { # install [/AllUsers]
    wine "$SETUP" /S "$@" || fail "the installer failed ($*)"
    wineserver -w
}
uninstall() { # uninstall FOLDER [/AllUsers]: runs the uninstaller as Add/Remove Programs would
    local folder=$1
    shift
    [ -f "$folder/uninstall.exe" ] || fail "no uninstall.exe in $folder"
    wine "$folder/uninstall.exe" /S "$@"
    wineserver -w
}

# --- For the user.
before=$(snapshot)
install
inst=$profile/AppData/Local/Programs/Vellumar
exe='C:\users\'"$(id -un)"'\AppData\Local\Programs\Vellumar\bin\vellumar.exe'
for f in bin/vellumar.exe bin/vellumar-cli.exe bin/Qt6Core.dll bin/platforms/qwindows.dll bin/fonts \
    share/vellumar/item.ini share/vellumar/kzmap.dat README.txt uninstall.exe; do
    [ -e "$inst/$f" ] || fail "the installer put no $f into $inst"
done
[ -f "$profile/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Vellumar.lnk" ] || fail "no Start menu entry"
[ "$(regDefault "$CLASSES\\.bms")" = "KZ Mapfile" ] || fail ".bms is not linked to KZ Mapfile"
[ "$(regDefault "$CLASSES\\KZ Mapfile")" = "Kozarak Map File" ] || fail "KZ Mapfile has no display name"
[ "$(regDefault "$CLASSES\\KZ Mapfile\\DefaultIcon")" = "$exe,0" ] || fail "the icon entry is not the editor's"
command=$(regDefault "$CLASSES\\KZ Mapfile\\Shell\\Open\\Command")
[ "$command" = "\"$exe\" \"%1\"" ] || fail "the open command is '$command'"
regHas "$MACHINE_CLASSES\\KZ Mapfile" && fail "a per-user install wrote the machine's classes"
[ "$(regValue "HKCU\\$UNINSTALL" DisplayName)" = Vellumar ] || fail "no Add/Remove Programs entry"
[ "$(regValue "HKCU\\$UNINSTALL" UninstallString)" = "\"${exe%\\bin\\vellumar.exe}\\uninstall.exe\" /CurrentUser" ] ||
    fail "the uninstall command is '$(regValue "HKCU\\$UNINSTALL" UninstallString)'"

# The association's command line with the file in place of %1, started as
# Windows starts it: the installed editor opens the map, reading the
# settings of the user's folder.
userSettings
map=$(winpath "$T/game/kzbase/opened by shell.bms")
program=$(printf '%s' "$command" | sed -n 's/^"\([^"]*\)" "%1"$/\1/p')
wine "$program" "$map" >>"$T/editor.log" 2>&1 &
editorShows 'opened by shell.bms'
[ -f "$profile/AppData/Local/Vellumar/kzmap.ini" ] || fail "the installed editor left no settings in the user's folder"
[ -e "$inst/bin/kzmap.ini" ] && fail "the installed editor wrote kzmap.ini beside itself"

uninstall "$inst" /CurrentUser
# Left: only the user's own settings, which the uninstaller does not touch.
rm -rf "$profile/AppData/Local/Vellumar" "$profile/AppData/Roaming/Vellumar"
[ "$(snapshot)" = "$before" ] || fail "the uninstall left other files or keys than before the install:
$(diff <(echo "$before") <(snapshot))"

# --- Installed again; another copy of the editor (a portable one, through
# its Setup dialog) has taken the file class since.
install
wine reg add "$CLASSES\\KZ Mapfile\\Shell\\Open\\Command" /ve /d '"D:\Tools\Vellumar\vellumar.exe" "%1"' /f >/dev/null 2>&1
uninstall "$inst" /CurrentUser
[ -e "$inst" ] && fail "the second uninstall left $inst"
[ "$(regDefault "$CLASSES\\.bms")" = "KZ Mapfile" ] || fail "the uninstall took .bms from the other copy"
[ "$(regDefault "$CLASSES\\KZ Mapfile\\Shell\\Open\\Command")" = '"D:\Tools\Vellumar\vellumar.exe" "%1"' ] ||
    fail "the uninstall took the file class from the other copy"
wine reg delete "$CLASSES\\.bms" /f >/dev/null 2>&1
wine reg delete "$CLASSES\\KZ Mapfile" /f >/dev/null 2>&1

# --- For all users: Program Files, HKLM; Wine opens a .bms through the
# machine's classes.
before=$(snapshot)
install /AllUsers
inst=$WINEPREFIX/drive_c/Program\ Files/Vellumar
machineExe='C:\Program Files\Vellumar\bin\vellumar.exe'
[ -f "$inst/bin/vellumar.exe" ] || fail "/AllUsers put nothing into Program Files"
[ -f "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Vellumar.lnk" ] ||
    fail "/AllUsers made no Start menu entry for all users"
[ "$(regDefault "$MACHINE_CLASSES\\KZ Mapfile\\Shell\\Open\\Command")" = "\"$machineExe\" \"%1\"" ] ||
    fail "/AllUsers wrote no open command into the machine's classes"
regHas "$CLASSES\\KZ Mapfile" && fail "/AllUsers wrote the user's classes"
[ "$(regValue "HKLM\\$UNINSTALL" DisplayName)" = Vellumar ] || fail "/AllUsers made no Add/Remove Programs entry"
userSettings
wine start /unix "$T/game/kzbase/opened by shell.bms" >>"$T/editor.log" 2>&1
editorShows 'opened by shell.bms'

# Another program takes .bms; the uninstall leaves it that program's.
wine reg add "$MACHINE_CLASSES\\.bms" /ve /d 'Other.Mapfile' /f >/dev/null 2>&1
uninstall "$inst" /AllUsers
[ "$(regDefault "$MACHINE_CLASSES\\.bms")" = "Other.Mapfile" ] || fail "the uninstall took .bms from the other program"
regHas "$MACHINE_CLASSES\\KZ Mapfile" && fail "the uninstall left its own file class"
wine reg delete "$MACHINE_CLASSES\\.bms" /f >/dev/null 2>&1
rm -rf "$profile/AppData/Local/Vellumar" "$profile/AppData/Roaming/Vellumar"
[ "$(snapshot)" = "$before" ] || fail "the machine-wide uninstall left other files or keys than before:
$(diff <(echo "$before") <(snapshot))"
echo "the installer: per user and for all users, the association opens maps, the uninstaller removes its own"
