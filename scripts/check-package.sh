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
BUILD=$(realpath "${1:-build}")
ID=org.vellumar.Vellumar
MAP=$PWD/samples/kzbase/vlmrtest.bms
export DEBIAN_FRONTEND=noninteractive

fail() { echo "check-package: $*" >&2; exit 1; }
step() { echo "== $*"; }

# Whether dpkg knows the package in any state (installed, half-installed or
# only its configuration left).
known() {
    local state
    state=$(dpkg-query -W -f='${db:Status-Status}' vellumar 2>/dev/null) || return 1
    [ -n "$state" ] && [ "$state" != not-installed ]
}
purge() {
    apt-get remove --purge -y -q vellumar >/dev/null 2>&1 || dpkg --purge vellumar >/dev/null
}

tmp=$(mktemp -d)
installed=""
gui=""
cleanup() {
    local status=$?
    if [ -n "$gui" ] && kill -0 "$gui" 2>/dev/null; then
        kill -KILL "$gui"
        wait "$gui" 2>/dev/null || true
    fi
    if known; then
        purge || { echo "check-package: could not remove the package" >&2; status=1; }
    fi
    rm -rf "$tmp"
    exit $status
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# A package left by an interrupted run would hide what this one installs.
if known; then
    purge
fi

step "building the package"
rm -f "$BUILD"/vellumar_*.deb
cmake --build "$BUILD" --target deb-package >"$tmp/cpack.log" || { cat "$tmp/cpack.log"; fail "make package failed"; }
deb=$(ls "$BUILD"/vellumar_*.deb)
deb=$(realpath "$deb")

step "lintian $(basename "$deb")"
lintian --fail-on error --tag-display-limit 0 "$deb" | tee "$tmp/lintian.txt" || fail "lintian reports errors"
echo "lintian: $(grep -c '^E:' "$tmp/lintian.txt" || true) errors, $(grep -c '^W:' "$tmp/lintian.txt" || true) warnings"

step "installing it"
apt-get install -y -q --no-install-recommends "$deb" >"$tmp/apt.log" || { cat "$tmp/apt.log"; fail "apt-get install failed"; }
installed=$(dpkg-query -L vellumar)
dpkg-query -W -f='${Depends}\n' vellumar | grep -q fonts-liberation || fail "fonts-liberation is no dependency"
dpkg-query -W -f='${Recommends}\n' vellumar | grep -qw wine || fail "wine is not recommended"
dpkg-query -W -f='${Description}\n' vellumar | grep -q 'Wine is recommended: .*"Auto repack"' \
    || fail "the description does not give Wine's reason"

step "the installed files"
for f in /usr/bin/vellumar /usr/bin/vellumar-cli /usr/share/applications/$ID.desktop \
         /usr/share/mime/packages/$ID.xml /usr/share/metainfo/$ID.metainfo.xml \
         /usr/share/icons/hicolor/scalable/apps/$ID.svg /usr/share/vellumar/item.ini \
         /usr/share/vellumar/kzmap.dat /usr/share/doc/vellumar/copyright \
         /usr/share/man/man1/vellumar.1.gz /usr/share/man/man1/vellumar-cli.1.gz; do
    [ -f "$f" ] || fail "$f is not installed"
done
cmp -s /usr/share/vellumar/item.ini samples/item.ini || fail "the bundled item.ini differs from samples/item.ini"
cmp -s /usr/share/vellumar/kzmap.dat samples/kzmap.dat || fail "the bundled kzmap.dat differs from samples/kzmap.dat"
desktop-file-validate /usr/share/applications/$ID.desktop
appstreamcli validate --no-net /usr/share/metainfo/$ID.metainfo.xml
for size in 48 256; do
    png=/usr/share/icons/hicolor/${size}x${size}/apps/$ID.png
    got=$(/usr/bin/python3 -c 'import sys; from PIL import Image; print("%dx%d" % Image.open(sys.argv[1]).size)' "$png")
    [ "$got" = "${size}x${size}" ] || fail "$png is $got"
done

# The installed programs run with a home of their own, so nothing of this
# machine's user changes.
home=$tmp/home
mkdir -p "$home"
mkdir -m 700 "$home/runtime"
homeenv=(HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" XDG_CACHE_HOME="$home/cache"
         XDG_RUNTIME_DIR="$home/runtime")
inhome() { env "${homeenv[@]}" "$@"; }

step "vellumar-cli on the sample map"
S=$PWD/samples
cd "$tmp"
inhome vellumar-cli info "$MAP" >info.txt || fail "vellumar-cli info failed"
[ -s info.txt ] || fail "vellumar-cli info printed nothing"
"$BUILD/bin/vellumar-cli" info "$MAP" | cmp -s - info.txt || fail "the installed vellumar-cli reads the map unlike the built one"
# Without --trailer the installed tool takes the bundled kzmap.dat of
# /usr/share/vellumar/, and writes what the built one writes with it.
inhome vellumar-cli resave "$MAP" -o resaved.bms || fail "vellumar-cli resave failed"
"$BUILD/bin/vellumar-cli" resave "$MAP" -o expected.bms --trailer /usr/share/vellumar/kzmap.dat
cmp -s resaved.bms expected.bms || fail "the installed vellumar-cli resaves the map unlike the built one"
# A kzmap.dat in the user's data folder comes before the bundled one.
mkdir -p "$home/data/Vellumar"
{ head -c -1 "$S/kzmap.dat"; printf 'U'; } >"$home/data/Vellumar/kzmap.dat"
inhome vellumar-cli resave "$MAP" -o own.bms || fail "vellumar-cli resave with the user's kzmap.dat failed"
inhome vellumar-cli extract-trailer own.bms -o own.dat
cmp -s own.dat "$home/data/Vellumar/kzmap.dat" || fail "vellumar-cli did not take the user's kzmap.dat"
rm -r "$home/data/Vellumar"
[ ! -e "$home/config/Vellumar" ] || fail "vellumar-cli made a settings folder"
cd - >/dev/null

step "vellumar offscreen with a temporary home"
# Starts the installed editor offscreen with ARGS, ends it by SIGTERM (which
# closes it as its close box does) after SECONDS and checks it ended well.
run_editor() {
    local seconds=$1 status=0
    shift
    # env execs the program, so $! is the editor itself.
    env "${homeenv[@]}" QT_QPA_PLATFORM=offscreen vellumar "$@" >"$tmp/gui.log" 2>&1 &
    gui=$!
    sleep "$seconds"
    kill -0 $gui 2>/dev/null || { cat "$tmp/gui.log"; fail "vellumar${*:+ $*} ended before it was asked to"; }
    kill -TERM $gui
    for _ in $(seq 50); do kill -0 $gui 2>/dev/null || break; sleep 0.2; done
    kill -0 $gui 2>/dev/null && fail "vellumar${*:+ $*} did not end on SIGTERM"
    wait $gui || status=$?
    gui=""
    [ $status = 0 ] || { cat "$tmp/gui.log"; fail "vellumar${*:+ $*} exited with status $status"; }
}
settings=$home/config/Vellumar/kzmap.ini
# The first start of a fresh install makes the settings' folder and writes
# the settings there at exit.
run_editor 3
[ -f "$settings" ] && [ "$(wc -l <"$settings")" = 7 ] || fail "the first start wrote no settings to $settings"
# Settings beside the sample data, with a line after the seven that the
# program does not keep: the seven alone written back show the exit wrote them.
printf '%s\r\n' "$S/kz/" "$S/kzbase/" "$S/game/" "$S/work/" "$S/images/" 59 00 >"$tmp/seven.ini"
{ cat "$tmp/seven.ini"; printf 'old\r\n'; } >"$settings"
run_editor 5 "$MAP"
cmp -s "$settings" "$tmp/seven.ini" || fail "the settings were not written back at exit"
[ ! -e /usr/bin/kzmap.ini ] || fail "the installed program wrote /usr/bin/kzmap.ini"

step "the desktop's default for the .bms type"
query() { inhome xdg-mime query "$@"; }
cp "$MAP" "$tmp/UPPER.BMS"
[ "$(query filetype "$tmp/UPPER.BMS")" = application/x-kz-mapfile ] || fail "*.BMS is no application/x-kz-mapfile"
# The package's triggers (desktop-file-utils, shared-mime-info) update the
# databases these answers come from.
default=$(query default application/x-kz-mapfile)
[ "$default" = "$ID.desktop" ] || fail "the default for application/x-kz-mapfile is '$default'"

step "removing it"
apt-get remove --purge -y -q vellumar >"$tmp/apt.log" || { cat "$tmp/apt.log"; fail "apt-get remove failed"; }
while IFS= read -r f; do
    if [ -f "$f" ] || [ -L "$f" ]; then fail "$f is left after the purge"; fi
done <<<"$installed"
for d in /usr/share/vellumar /usr/share/doc/vellumar; do
    [ ! -e "$d" ] || fail "$d is left after the purge"
done
[ ! -e /usr/share/mime/application/x-kz-mapfile.xml ] || fail "the MIME database still holds the type"
if grep -qs x-kz-mapfile /usr/share/applications/mimeinfo.cache; then
    fail "the desktop database still names the package's entry"
fi
echo "check-package: all checks passed"
