#!/bin/sh
# Installs the Debian packages the build, the tests and `make run` need.
# Runs as root without prompts and does nothing when everything is present.
set -e

PACKAGES="cmake ninja-build ccache g++ make pkg-config \
qt6-base-dev qt6-base-dev-tools libgl-dev libjpeg62-turbo-dev \
netpbm libjpeg-turbo-progs python3-pil xvfb xauth"

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
