#!/bin/bash
# Builds the Debian package, installs it on this machine (as root), checks
# what it installed and how the installed programs behave, and removes it
# again, also when a check fails, so the machine is as before:
#   lintian on the package; desktop-file-validate and appstreamcli on the
#   installed entry and metadata; the icons' sizes; the bundled files;
#   vellumar-cli on the sample map; vellumar started offscreen on the sample
#   map with a temporary home, its settings written there; the desktop's
#   default for the .bms type; after the purge, nothing of it left.
#
#   check-package.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build}
ID=org.vellumar.Vellumar
MAP=$PWD/samples/kzbase/vlmrtest.bms
export DEBIAN_FRONTEND=noninteractive

fail() { echo "check-package: $*" >&2; exit 1; }
step() { echo "== $*"; }

tmp=$(mktemp -d)
installed=""
cleanup() {
    local status=$?
    if dpkg-query -W -f='${Status}' vellumar 2>/dev/null | grep -q "ok installed"; then
        apt-get remove --purge -y -q vellumar >/dev/null || status=1
    fi
    rm -rf "$tmp"
    exit $status
}
trap cleanup EXIT

# A package left by an interrupted run would hide what this one installs.
if dpkg-query -W -f='${Status}' vellumar 2>/dev/null | grep -q "ok installed"; then
    apt-get remove --purge -y -q vellumar >/dev/null
fi

step "building the package"
rm -f "$BUILD"/vellumar_*.deb
cmake --build "$BUILD" --target package >"$tmp/cpack.log" || { cat "$tmp/cpack.log"; fail "make package failed"; }
deb=$(ls "$BUILD"/vellumar_*.deb)
deb=$(realpath "$deb")

step "lintian $(basename "$deb")"
lintian --fail-on error --no-tag-display-limit "$deb" | tee "$tmp/lintian.txt" || fail "lintian reports errors"
echo "lintian: $(grep -c '^E:' "$tmp/lintian.txt" || true) errors, $(grep -c '^W:' "$tmp/lintian.txt" || true) warnings"

step "installing it"
apt-get install -y -q --no-install-recommends "$deb" >"$tmp/apt.log" || { cat "$tmp/apt.log"; fail "apt-get install failed"; }
installed=$(dpkg-query -L vellumar)
dpkg-query -W -f='${Depends}\n' vellumar | grep -q fonts-liberation || fail "fonts-liberation is no dependency"
dpkg-query -W -f='${Recommends}\n' vellumar | grep -qw wine || fail "wine is not recommended"

step "the installed files"
for f in /usr/bin/vellumar /usr/bin/vellumar-cli /usr/share/applications/$ID.desktop \
         /usr/share/mime/packages/$ID.xml /usr/share/metainfo/$ID.metainfo.xml \
         /usr/share/icons/hicolor/scalable/apps/$ID.svg /usr/share/vellumar/item.ini \
         /usr/share/vellumar/kzmap.dat /usr/share/doc/vellumar/copyright; do
    [ -f "$f" ] || fail "$f is not installed"
done
cmp -s /usr/share/vellumar/item.ini samples/item.ini || fail "the bundled item.ini differs from samples/item.ini"
cmp -s /usr/share/vellumar/kzmap.dat samples/kzmap.dat || fail "the bundled kzmap.dat differs from samples/kzmap.dat"
desktop-file-validate /usr/share/applications/$ID.desktop
appstreamcli validate --no-net /usr/share/metainfo/$ID.metainfo.xml
for size in 48 256; do
    png=/usr/share/icons/hicolor/${size}x${size}/apps/$ID.png
    got=$(python3 -c 'import sys; from PIL import Image; print("%dx%d" % Image.open(sys.argv[1]).size)' "$png")
    [ "$got" = "${size}x${size}" ] || fail "$png is $got"
done

step "vellumar-cli on the sample map"
cd "$tmp"
vellumar-cli info "$MAP" >info.txt || fail "vellumar-cli info failed"
[ -s info.txt ] || fail "vellumar-cli info printed nothing"
# The trailer comes from the bundled kzmap.dat of /usr/share/vellumar/.
vellumar-cli resave "$MAP" -o resaved.bms || fail "vellumar-cli resave failed"
vellumar-cli info resaved.bms | cmp -s - info.txt || fail "the resaved map reads differently"
cd - >/dev/null

step "vellumar offscreen with a temporary home"
home=$tmp/home
mkdir -p "$home"
mkdir -m 700 "$home/runtime"
# Settings beside the sample data, with a line after the seven that the
# program does not keep: the rewritten file shows the exit wrote it.
mkdir -p "$home/config/Vellumar"
S=$PWD/samples
printf '%s\r\n' "$S/kz/" "$S/kzbase/" "$S/game/" "$S/work/" "$S/images/" 59 00 old >"$home/config/Vellumar/kzmap.ini"
HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data XDG_CACHE_HOME=$home/cache \
    XDG_RUNTIME_DIR=$home/runtime QT_QPA_PLATFORM=offscreen vellumar "$MAP" >"$tmp/gui.log" 2>&1 &
pid=$!
sleep 5
kill -0 $pid 2>/dev/null || { cat "$tmp/gui.log"; fail "vellumar ended before it was asked to"; }
kill -TERM $pid
for _ in $(seq 50); do kill -0 $pid 2>/dev/null || break; sleep 0.2; done
if kill -0 $pid 2>/dev/null; then kill -KILL $pid; fail "vellumar did not end on SIGTERM"; fi
wait $pid || { cat "$tmp/gui.log"; fail "vellumar exited with an error"; }
[ "$(wc -l <"$home/config/Vellumar/kzmap.ini")" = 7 ] || fail "the settings were not written at exit"
[ ! -e /usr/bin/kzmap.ini ] || fail "the installed program wrote /usr/bin/kzmap.ini"

step "the desktop's default for the .bms type"
query() { HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data xdg-mime query "$@"; }
cp "$MAP" "$tmp/UPPER.BMS"
[ "$(query filetype "$tmp/UPPER.BMS")" = application/x-kz-mapfile ] || fail "*.BMS is no application/x-kz-mapfile"
default=$(query default application/x-kz-mapfile)
if [ "$default" != "$ID.desktop" ]; then
    echo "the package's triggers left no default ('$default'): updating the desktop database"
    update-desktop-database -q /usr/share/applications
    default=$(query default application/x-kz-mapfile)
fi
[ "$default" = "$ID.desktop" ] || fail "the default for application/x-kz-mapfile is '$default'"

step "removing it"
apt-get remove --purge -y -q vellumar >"$tmp/apt.log" || { cat "$tmp/apt.log"; fail "apt-get remove failed"; }
while IFS= read -r f; do
    if [ -f "$f" ] || [ -L "$f" ]; then fail "$f is left after the purge"; fi
done <<<"$installed"
[ ! -e /usr/share/mime/application/x-kz-mapfile.xml ] || fail "the MIME database still holds the type"
if grep -qs x-kz-mapfile /usr/share/applications/mimeinfo.cache; then
    fail "the desktop database still names the package's entry"
fi
echo "check-package: all checks passed"
