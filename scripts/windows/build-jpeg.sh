#!/bin/bash
# build-jpeg.sh: prints the install prefix of libjpeg-turbo for 64-bit
# Windows (the libjpeg 6.2 interface as libjpeg-62.dll, with its SIMD code),
# building it first when the cache has none.
#
# Built from Debian's source package libjpeg-turbo, the version of this
# machine's libjpeg62-turbo-dev; the cache entry is keyed as Qt's is.
. "$(dirname "$0")/common.sh"

version=$(installed_version libjpeg62-turbo-dev)
[ -n "$version" ] || die "libjpeg62-turbo-dev is not installed (make windows installs it)"
command -v nasm >/dev/null || die "nasm is missing (make windows installs it)"

JPEG_OPTIONS=(
    -DCMAKE_BUILD_TYPE=Release
    -DENABLE_SHARED=ON -DENABLE_STATIC=OFF
    -DWITH_TURBOJPEG=OFF -DWITH_JAVA=OFF
    -DREQUIRE_SIMD=ON
)

key=$( { printf '%s\n' "${JPEG_OPTIONS[@]}"; compiler_identity; nasm -v; } | digest)
prefix=$VELLUMAR_CACHE/libjpeg-turbo-${version#*:}-$MINGW-$key

if [ ! -f "$prefix/.complete" ]; then
    lock_cache "libjpeg-turbo-$key"
fi
if [ -f "$prefix/.complete" ]; then
    echo "$prefix"
    exit 0
fi

work=$VELLUMAR_CACHE/work/libjpeg-turbo-$key
rm -rf "$work" "$prefix"
"$(dirname "$0")/fetch-source.sh" libjpeg-turbo "$version" "$work/src"

started=$SECONDS
say "building libjpeg-turbo $version for $MINGW into $prefix"
cmake -S "$work/src" -B "$work/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$WINDOWS_TOOLCHAIN" \
    -DCMAKE_INSTALL_PREFIX="$prefix" \
    "${JPEG_OPTIONS[@]}" >&2
cmake --build "$work/build" >&2
cmake --install "$work/build" >&2
{ printf '%s\n' "libjpeg-turbo $version" "${JPEG_OPTIONS[@]}"; compiler_identity; } > "$prefix/.options"
touch "$prefix/.complete"
rm -rf "$work"
say "libjpeg-turbo built in $(( SECONDS - started )) s"
echo "$prefix"
