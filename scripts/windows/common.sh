# Shared by the Windows build scripts (sourced, bash).
#
# VELLUMAR_CACHE     the cache folder outside the clone, where the Windows
#                    builds of Qt and libjpeg-turbo and the source packages
#                    they come from are kept between runs
#                    (default ${XDG_CACHE_HOME:-~/.cache}/vellumar)
# The builds of our own code go to build-windows/ in the clone.

set -euo pipefail

VELLUMAR_SOURCE=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
VELLUMAR_CACHE=${VELLUMAR_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/vellumar}
WINDOWS_TOOLCHAIN=$VELLUMAR_SOURCE/cmake/mingw-w64-x86_64.cmake
MINGW=x86_64-w64-mingw32

say() { printf '%s\n' "== $*" >&2; }
die() { printf '%s\n' "windows build: $*" >&2; exit 1; }

# The version of an installed Debian package, or nothing.
installed_version() {
    dpkg-query -W -f='${Version}' "$1" 2>/dev/null || true
}

# A short digest of everything given on standard input.
digest() {
    sha256sum | cut -c1-12
}

# What the cross compiler is, for the cache keys: a new compiler package
# means a new build.
compiler_identity() {
    printf 'gcc-mingw-w64 %s\n' "$(installed_version gcc-mingw-w64-x86-64-posix)"
    printf 'g++-mingw-w64 %s\n' "$(installed_version g++-mingw-w64-x86-64-posix)"
    printf 'mingw-w64-headers %s\n' "$(installed_version mingw-w64-x86-64-dev)"
    cat "$WINDOWS_TOOLCHAIN"
}

# Runs the rest of the calling script under an exclusive lock of NAME in
# the cache, so two builds never fill one cache entry at once.
lock_cache() {
    mkdir -p "$VELLUMAR_CACHE"
    exec 9>"$VELLUMAR_CACHE/.$1.lock"
    if ! flock -n 9; then
        say "waiting for another build of $1 in $VELLUMAR_CACHE"
        flock 9
    fi
}

# ccache for the big builds, shared by every build folder.
use_ccache() {
    if command -v ccache >/dev/null; then
        export CCACHE_BASEDIR=$1
        export CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
        export CCACHE_NOHASHDIR=true
        CCACHE_LAUNCHER=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    else
        CCACHE_LAUNCHER=()
    fi
}
