#!/bin/bash
# vellumar-cli.exe of the zip writes the same bytes as the Linux vellumar-cli
# for the sample map and pictures: resave, export (also with a tab as the
# separator), info, names and pcx2bmp, and both end with status 0.
#   cli-bytes.sh ZIP LINUX_CLI SAMPLES
ZIP=$1 LINUX_CLI=$2 SAMPLES=$3
. "$(dirname "$0")/common.sh"
[ -x "$LINUX_CLI" ] || fail "the Linux vellumar-cli ($LINUX_CLI) is missing: run make build-programs"
[ -f "$ZIP" ] || fail "$ZIP is missing: run make windows"
unpackZip "$ZIP"
mkdir -p "$T/linux" "$T/windows"

# same NAME ARGS...: the command's standard output and any file it writes
# (the argument after -o, a name below $T/OUT) compared byte for byte.
same() {
    local name=$1
    shift
    local linuxArgs=() windowsArgs=()
    for a in "$@"; do
        case "$a" in
        OUT/*) linuxArgs+=("$T/linux/${a#OUT/}"); windowsArgs+=("$(winpath "$T/windows/${a#OUT/}")") ;;
        /*) linuxArgs+=("$a"); windowsArgs+=("$(winpath "$a")") ;;
        *) linuxArgs+=("$a"); windowsArgs+=("$a") ;;
        esac
    done
    "$LINUX_CLI" "${linuxArgs[@]}" > "$T/linux/$name.out" || fail "$name: the Linux tool failed"
    wine "$PROGRAM/vellumar-cli.exe" "${windowsArgs[@]}" > "$T/windows/$name.out" ||
        fail "$name: vellumar-cli.exe failed (status $?)"
    cmp "$T/linux/$name.out" "$T/windows/$name.out" || fail "$name: standard output differs"
}

map=$SAMPLES/kzbase/vlmrtest.bms
same resave resave "$map" -o OUT/resaved.bms
cmp "$T/linux/resaved.bms" "$T/windows/resaved.bms" || fail "resave: the maps differ"
same export export "$map"
grep -q $'\r$' "$T/windows/export.out" || fail "export wrote no CR LF lines"
grep -q $'\r\r' "$T/windows/export.out" && fail "export wrote CR CR LF"
same export-tab export "$map" --separator 9
same info info "$map"
same names names "$SAMPLES/kzbase/kzmpname.bin"
for pcx in vlmrc vlmre vlmrd vlmrs; do
    same "pcx2bmp-$pcx" pcx2bmp "$SAMPLES/kz/$pcx.pcx" -o "OUT/$pcx.bmp"
    cmp "$T/linux/$pcx.bmp" "$T/windows/$pcx.bmp" || fail "pcx2bmp $pcx: the pictures differ"
done
echo "vellumar-cli.exe: resave, export, info, names and pcx2bmp give the Linux tool's bytes"
