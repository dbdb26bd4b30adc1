#!/bin/sh
# The .bms link in the Windows registry, under Wine, in a prefix of its own:
# shellext_wine.exe registers or removes the link for itself, `reg query`
# shows what the user's classes (HKCU\Software\Classes, the part of
# HKEY_CLASSES_ROOT every user may write) then hold.
#   shellext-registry.sh path/to/shellext_wine.exe
exe=$1
prefix=$(mktemp -d "${TMPDIR:-/tmp}/vellumar-wine.XXXXXX")
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap 'wineserver -k 2>/dev/null; rm -rf "$prefix"' EXIT

fail() { printf 'FAIL: %s\n' "$*" >&2; exit 1; }
link() { wine "$1" "$2" | tr -d '\r'; }
# Every value of a key and its subkeys, or nothing when the key is missing.
CLASSES='HKCU\Software\Classes'
dump() { out=$(wine reg query "$CLASSES\\$1" /s 2>/dev/null) && printf '%s\n' "$out" | tr -d '\r'; }
# The unnamed default value of a key.
default_of() { wine reg query "$CLASSES\\$1" /ve 2>/dev/null | tr -d '\r' | sed -n 's/^ *(Default) *REG_SZ *//p'; }
expect() { [ "$(default_of "$1")" = "$2" ] || fail "$CLASSES\\$1 holds '$(default_of "$1")', expected '$2'"; }

wineboot -i >/dev/null 2>&1
# A new Wine prefix has no user classes key yet; Windows always has one.
wine reg add "$CLASSES" /f >/dev/null 2>&1
# The user's classes, and the machine's, which the link never writes.
classes() {
    wine reg query "$CLASSES" 2>/dev/null | tr -d '\r'
    wine reg query 'HKLM\Software\Classes' 2>/dev/null | tr -d '\r'
}
top=$(classes)

# Removing a link that does not exist succeeds and changes nothing.
[ "$(link "$exe" unregister)" = "unregister: true" ] || fail "unregister without a link"
[ "$(classes)" = "$top" ] || fail "unregister without a link changed the classes"

# A value of our own under .bms outlives the link's writing.
wine reg add "$CLASSES\\.bms" /v "Content Type" /d "application/x-kz" /f >/dev/null 2>&1

[ "$(link "$exe" register)" = "register: true" ] || fail "register"
program=$(winepath -w "$exe" 2>/dev/null | tr -d '\r')
expect '.bms' 'KZ Mapfile'
expect 'KZ Mapfile' 'Kozarak Map File'
expect 'KZ Mapfile\DefaultIcon' "$program,0"
expect 'KZ Mapfile\Shell\Open\Command' "\"$program\" \"%1\""
dump '.bms' | grep -q 'Content Type *REG_SZ *application/x-kz' || fail "the other value under .bms was lost"

# Twice leaves the registry as once.
once=$(dump '.bms'; dump 'KZ Mapfile')
[ "$(link "$exe" register)" = "register: true" ] || fail "register again"
[ "$(dump '.bms'; dump 'KZ Mapfile')" = "$once" ] || fail "registering twice differs from once"

# A moved program rewrites both paths.
mkdir -p "$prefix/drive_c/Moved Editor"
cp "$exe" "$prefix/drive_c/Moved Editor/vellumar.exe"
[ "$(link 'C:\Moved Editor\vellumar.exe' register)" = "register: true" ] || fail "register from the moved program"
expect 'KZ Mapfile\DefaultIcon' 'C:\Moved Editor\vellumar.exe,0'
expect 'KZ Mapfile\Shell\Open\Command' '"C:\Moved Editor\vellumar.exe" "%1"'

# Removing takes both keys with all their subkeys.
[ "$(link "$exe" unregister)" = "unregister: true" ] || fail "unregister"
[ -z "$(dump '.bms')" ] || fail ".bms is still there"
[ -z "$(dump 'KZ Mapfile')" ] || fail "KZ Mapfile is still there"
[ "$(classes)" = "$top" ] || fail "the classes differ from before the first link"
echo "the registry link: all checks passed"
