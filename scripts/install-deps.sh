#!/bin/sh
# Installs the Debian packages the project needs. Runs as root without
# prompts and does nothing when everything is present.
#
#   install-deps.sh run    what building, running and packaging the editor
#                          needs (with the narrow face the windows are laid
#                          out for, rsvg-convert for the icon, dpkg-dev and
#                          file for the package's library dependencies)
#   install-deps.sh test   that, and the tools the test suite runs: Wine and
#                          mingw-w64 for the Windows parts, the freedesktop
#                          file-type tools (and gio, which opens a file
#                          with its default program), clang for the fuzz harnesses,
#                          netpbm and libjpeg's tools for the test pictures, a
#                          virtual X server and a window manager (openbox) for
#                          the tests of which window lies on top, xdotool to
#                          drive the real editor through its window, strace
#                          for the disk flushes of a save
#   install-deps.sh windows  what building the editor needs, and what the
#                          Windows edition adds (make windows, make
#                          test-windows): mingw-w64 with posix threads, nasm
#                          and the host Qt's tools to cross-build Qt and
#                          libjpeg-turbo from Debian's source packages
#                          (dpkg-dev unpacks them), NSIS and zip for the
#                          installer and the zip, ImageMagick for the icon,
#                          Wine with its fonts, a virtual X server and
#                          xdotool for the tests of the real window, the
#                          locale sources for tests under other code pages
set -e

RUN_PACKAGES="cmake ninja-build ccache g++ make pkg-config \
qt6-base-dev qt6-base-dev-tools libgl-dev libjpeg62-turbo-dev \
librsvg2-bin dpkg-dev file fonts-liberation"

TEST_PACKAGES="netpbm libjpeg-turbo-progs python3-pil xvfb xauth openbox xdotool strace \
x11-session-utils x11-xserver-utils procps \
wine wine64 g++-mingw-w64-x86-64 \
xdg-utils shared-mime-info libfile-mimeinfo-perl libglib2.0-bin \
clang libclang-rt-14-dev \
desktop-file-utils appstream lintian"

WINDOWS_PACKAGES="g++-mingw-w64-x86-64-posix mingw-w64-tools nasm \
dpkg-dev debian-archive-keyring nsis zip unzip imagemagick locales \
wine wine64 fonts-wine xvfb xauth xdotool"

case "${1:-test}" in
run) PACKAGES="$RUN_PACKAGES" ;;
test) PACKAGES="$RUN_PACKAGES $TEST_PACKAGES" ;;
windows) PACKAGES="$RUN_PACKAGES $WINDOWS_PACKAGES" ;;
*) echo "usage: $0 run|test|windows" >&2; exit 2 ;;
esac

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done

[ -z "$missing" ] && exit 0

SUDO=""
if [ "$(id -u)" != 0 ]; then
    SUDO="sudo"
fi
echo "Installing:$missing"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends $missing
