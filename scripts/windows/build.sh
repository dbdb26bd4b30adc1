#!/bin/bash
# build.sh [BUILD_DIR]: the Windows edition (make windows).
#   1. Qt and libjpeg-turbo for Windows from the cache, built first when the
#      cache has none for this machine's versions and our options;
#   2. vellumar.exe and vellumar-cli.exe from our sources in BUILD_DIR
#      (default build-windows/), with cmake/mingw-w64-x86_64.cmake;
#   3. the portable zip and the installer in BUILD_DIR (package.sh).
# Each step says how long it took.
. "$(dirname "$0")/common.sh"

build=${1:-$VELLUMAR_SOURCE/build-windows}
mkdir -p "$build"
build=$(cd "$build" && pwd)

step_started=$SECONDS
step_done() {
    say "$1: $(( (SECONDS - step_started) / 60 )) min $(( (SECONDS - step_started) % 60 )) s"
    step_started=$SECONDS
}

qt=$("$(dirname "$0")/build-qt.sh")
step_done "Qt for Windows ready ($qt)"
jpeg=$("$(dirname "$0")/build-jpeg.sh")
step_done "libjpeg-turbo for Windows ready ($jpeg)"

# A build folder configured with other libraries starts afresh.
prefixes="$qt;$jpeg"
if [ -f "$build/CMakeCache.txt" ] &&
    ! grep -qxF "VELLUMAR_WINDOWS_PREFIXES:STRING=$prefixes" "$build/CMakeCache.txt"; then
    say "the Windows libraries changed: configuring $build afresh"
    rm -rf "$build"
    mkdir -p "$build"
fi
if [ ! -f "$build/build.ninja" ]; then
    launcher=()
    command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    # Optimised as the Linux build is, without its debugging information,
    # which the packages strip anyway and which makes the mingw build and
    # link much slower.
    cmake -S "$VELLUMAR_SOURCE" -B "$build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$WINDOWS_TOOLCHAIN" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
        -DVELLUMAR_WINDOWS_PREFIXES:STRING="$prefixes" \
        -DQT_HOST_PATH=/usr \
        -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        "${launcher[@]}" >&2
fi
cmake --build "$build" --target vellumar vellumar-cli >&2
step_done "vellumar.exe and vellumar-cli.exe built in $build"

"$(dirname "$0")/package.sh" "$build" "$qt" "$jpeg"
step_done "zip and installer made"
