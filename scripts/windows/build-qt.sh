#!/bin/bash
# build-qt.sh: prints the install prefix of a minimal Qt for 64-bit Windows
# (shared libraries: Core, Gui, Widgets, Test; the windows and offscreen
# platform plugins), building it first when the cache has none.
#
# Built from Debian's source package qt6-base, the version of this
# machine's Qt (whose moc, rcc and uic the cross build uses as host tools).
# The cache entry's name holds that version and a digest of the options
# below, the toolchain file and the cross compiler's version, so any change
# of them builds a new entry; an unchanged one is reused as it is.
. "$(dirname "$0")/common.sh"

version=$(installed_version qt6-base-dev)
[ -n "$version" ] || die "qt6-base-dev is not installed (make windows installs it)"
[ -x /usr/lib/qt6/libexec/moc ] || die "the host Qt tools are missing: install qt6-base-dev-tools"

# What is built. Everything the editor, the command-line tool and the test
# programs do not use is off; the third-party libraries Qt needs are its
# bundled copies, so the DLLs need nothing but Windows and the mingw runtime.
QT_OPTIONS=(
    -DCMAKE_BUILD_TYPE=Release
    -DBUILD_SHARED_LIBS=ON
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
    -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF
    -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF
    -DINPUT_opengl=no -DFEATURE_opengl=OFF -DFEATURE_vulkan=OFF
    -DFEATURE_zstd=OFF -DFEATURE_icu=OFF -DFEATURE_pkg_config=OFF
    -DFEATURE_jpeg=OFF
    -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_pcre2=OFF
    -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF
    -DFEATURE_system_doubleconversion=OFF
    -DFEATURE_freetype=ON
    # Debian's source removes the tablet library the Windows platform
    # plugin would include.
    -DFEATURE_tabletevent=OFF
)

key=$( { printf '%s\n' "${QT_OPTIONS[@]}"; compiler_identity; } | digest)
prefix=$VELLUMAR_CACHE/qt6-base-${version#*:}-$MINGW-$key

if [ ! -f "$prefix/.complete" ]; then
    lock_cache "qt6-base-$key"
fi
if [ -f "$prefix/.complete" ]; then
    echo "$prefix"
    exit 0
fi

work=$VELLUMAR_CACHE/work/qt6-base-$key
rm -rf "$work" "$prefix"
"$(dirname "$0")/fetch-source.sh" qt6-base "$version" "$work/src"

use_ccache "$work"
say "configuring Qt $version for $MINGW into $prefix"
started=$SECONDS
cmake -S "$work/src" -B "$work/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$WINDOWS_TOOLCHAIN" \
    -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DQT_HOST_PATH=/usr \
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    "${CCACHE_LAUNCHER[@]}" \
    "${QT_OPTIONS[@]}" >&2
say "building Qt (about 40 minutes on 2 cores)"
cmake --build "$work/build" >&2
cmake --install "$work/build" >&2
{ printf '%s\n' "qt6-base $version" "${QT_OPTIONS[@]}"; compiler_identity; } > "$prefix/.options"
touch "$prefix/.complete"
rm -rf "$work"
say "Qt built in $(( (SECONDS - started) / 60 )) min $(( (SECONDS - started) % 60 )) s"
echo "$prefix"
