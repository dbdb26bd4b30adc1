#!/bin/bash
# What Windows reads from the zip's programs before they run: the editor is a
# windowed program (no console window beside it), the command-line tool a
# console one; both carry the icon, the version information of the file
# properties with the project's version, and a manifest; the editor's
# declares it aware of each monitor's scale. Nothing of the Linux program's
# platform layer is inside: no Wine calls, no freedesktop association.
#   program-properties.sh ZIP VERSION
ZIP=$1 VERSION=$2
fail() { printf 'FAIL: %s\n' "$*" >&2; exit 1; }
[ -f "$ZIP" ] || fail "$ZIP is missing: run make windows"
T=$(mktemp -d "${TMPDIR:-/tmp}/vellumar-wintest.XXXXXX")
trap 'rm -rf "$T"' EXIT
unzip -q "$ZIP" -d "$T" || fail "cannot unpack $ZIP"
PROGRAM=$(echo "$T"/Vellumar-*-windows-x64)
objdump=x86_64-w64-mingw32-objdump
command -v $objdump >/dev/null || fail "needs $objdump: run make test-windows"

subsystem() { $objdump -p "$1" | sed -n 's/^Subsystem[[:space:]]*[0-9a-f]*[[:space:]]*//p'; }
# The resource types of the file: the entries of the first level.
resourceTypes() { $objdump -p "$1" | sed -n 's/^[0-9a-f]\{3\}   Entry: ID: 0x0*\([0-9a-f]*\),.*/\1/p' | tr '\n' ' '; }
# The manifest, as the resource holds it.
manifest() { strings "$1" | sed -n '/<assembly/,/<\/assembly>/p'; }

for program in vellumar vellumar-cli; do
    exe=$PROGRAM/$program.exe
    # 3 icon, e icon group, 10 version information, 18 manifest
    types=$(resourceTypes "$exe")
    for t in 3 e 10 18; do
        case " $types" in *" $t "*) ;; *) fail "$program.exe lacks the resource type 0x$t (has: $types)" ;; esac
    done
    strings -el "$exe" | grep -qx "$VERSION" || fail "$program.exe's version information does not name $VERSION"
    manifest "$exe" | grep -q 'level="asInvoker"' || fail "$program.exe's manifest does not run it as the user"
    linux=$(strings -a "$exe" | grep -E -i 'winepath|wine cmd|mimeapps|x-kz-mapfile|\.desktop|xdg' | head -n 3)
    [ -z "$linux" ] || fail "$program.exe holds pieces of the Linux platform layer: $linux"
done
[ "$(subsystem "$PROGRAM/vellumar.exe")" = "(Windows GUI)" ] || fail "vellumar.exe is no windowed program"
[ "$(subsystem "$PROGRAM/vellumar-cli.exe")" = "(Windows CUI)" ] || fail "vellumar-cli.exe is no console program"
manifest "$PROGRAM/vellumar.exe" | grep -q 'PerMonitorV2' || fail "the editor's manifest declares no per-monitor scale"
echo "the programs' subsystems, icons, version information and manifests are as Windows needs them"
