#!/bin/bash
# package.sh BUILD_DIR QT_PREFIX JPEG_PREFIX
#
# Makes what a Windows user downloads from the Windows build in BUILD_DIR:
#   Vellumar-<version>-windows-x64/        the portable folder
#   Vellumar-<version>-windows-x64.zip     that folder, zipped
#   Vellumar-<version>-setup-x64.exe       the installer (NSIS)
# The folder holds the two programs, every DLL they load (checked: each DLL a
# program or DLL of the folder imports is in the folder or is part of
# Windows), the Qt plugins they need, the narrow fonts, our item.ini and the
# placeholder kzmap.dat, the licences and README.txt.
. "$(dirname "$0")/common.sh"

[ $# = 3 ] || die "usage: package.sh BUILD_DIR QT_PREFIX JPEG_PREFIX"
build=$(cd "$1" && pwd) qt=$2 jpeg=$3
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ -n "$version" ] || die "no project version in $build/CMakeCache.txt"
name=Vellumar-$version-windows-x64
stage=$build/$name
zip=$build/$name.zip
setup=$build/Vellumar-$version-setup-x64.exe
packaging=$VELLUMAR_SOURCE/packaging/windows

for tool in zip makensis $MINGW-objdump $MINGW-strip; do
    command -v "$tool" >/dev/null || die "$tool is missing (make windows installs it)"
done

runtime_dll() { # the mingw runtime DLL of that name the compiler links
    local f
    f=$($MINGW-g++-posix -print-file-name="$1")
    [ -f "$f" ] || die "the mingw runtime $1 is missing"
    realpath "$f"
}

# Nothing to do when both are newer than everything they are made of.
if [ -f "$zip" ] && [ -f "$setup" ]; then
    inputs=("$build/bin/vellumar.exe" "$build/bin/vellumar-cli.exe" "$build/fonts" "$build/src/windows/vellumar.ico"
        "$packaging" "$0" "$(dirname "$0")/common.sh" "$VELLUMAR_SOURCE/LICENSE"
        "$VELLUMAR_SOURCE/samples/item.ini" "$VELLUMAR_SOURCE/samples/kzmap.dat" "$qt/.complete" "$jpeg/.complete")
    if [ -z "$(find "${inputs[@]}" \( -newer "$zip" -o -newer "$setup" \) -print -quit)" ]; then
        say "$(basename "$zip") and $(basename "$setup") are up to date"
        exit 0
    fi
fi

say "staging $stage"
rm -rf "$stage" "$zip" "$setup"
mkdir -p "$stage"/{platforms,styles,fonts,licenses}
cp "$build/bin/vellumar.exe" "$build/bin/vellumar-cli.exe" "$stage/"
cp "$qt/bin/Qt6Core.dll" "$qt/bin/Qt6Gui.dll" "$qt/bin/Qt6Widgets.dll" "$stage/"
cp "$qt/plugins/platforms/qwindows.dll" "$stage/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$stage/styles/"
cp "$jpeg/bin/libjpeg-62.dll" "$stage/"
for dll in libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll; do
    cp "$(runtime_dll $dll)" "$stage/"
done
cp "$build"/fonts/*.ttf "$stage/fonts/"
cp "$VELLUMAR_SOURCE/samples/item.ini" "$VELLUMAR_SOURCE/samples/kzmap.dat" "$stage/"
$MINGW-strip --strip-unneeded "$stage"/*.exe "$stage"/*.dll "$stage"/platforms/*.dll "$stage"/styles/*.dll

# Licences: ours, and Debian's copyright statement of each package whose
# files are in the folder (Qt and libjpeg were built from the source
# packages of these very versions), with the licence texts they name.
cp "$VELLUMAR_SOURCE/LICENSE" "$stage/licenses/Vellumar-GPL-3.0.txt"
owner_copyright() { # PACKAGE NAME: /usr/share/doc/PACKAGE/copyright as NAME.txt
    [ -f "/usr/share/doc/$1/copyright" ] || die "/usr/share/doc/$1/copyright is missing"
    cp "/usr/share/doc/$1/copyright" "$stage/licenses/$2.txt"
}
owner_copyright libqt6core6 Qt-6
owner_copyright libjpeg62-turbo libjpeg-turbo
owner_copyright fonts-liberation Liberation-fonts
owner_of() { dpkg -S "$(runtime_dll "$1")" | cut -d: -f1 | head -n1; }
owner_copyright "$(owner_of libstdc++-6.dll)" GCC-runtime-libraries
owner_copyright "$(owner_of libwinpthread-1.dll)" mingw-w64-winpthreads
for text in LGPL-3 GPL-3 GPL-2; do
    cp "/usr/share/common-licenses/$text" "$stage/licenses/$text.txt"
done
sed "s/@VERSION@/$version/g" "$packaging/README.txt" | sed 's/$/\r/' > "$stage/README.txt"
# Windows text files: CR LF.
for f in "$stage"/licenses/*.txt; do
    sed -i 's/\r$//; s/$/\r/' "$f"
done

# Every DLL imported by a file of the folder is in the folder or is one of
# Windows' own: mingw-w64 ships an import library for each of those, and the
# api-ms-win-* names are Windows' API sets, which its loader resolves.
say "checking the DLLs the programs load"
missing=""
for pe in "$stage"/*.exe "$stage"/*.dll "$stage"/platforms/*.dll "$stage"/styles/*.dll; do
    for dll in $($MINGW-objdump -p "$pe" | sed -n 's/^\s*DLL Name: //p'); do
        lower=$(printf '%s' "$dll" | tr 'A-Z' 'a-z')
        [ -f "$stage/$dll" ] && continue
        case "$lower" in api-ms-win-*) continue ;; esac
        [ -f "/usr/$MINGW/lib/lib${lower%.dll}.a" ] && continue
        missing="$missing $(basename "$pe"):$dll"
    done
done
[ -z "$missing" ] || die "DLLs neither in the folder nor part of Windows:$missing"

say "zipping $zip"
(cd "$build" && zip -q -r -9 -X "$zip" "$name")

# The installer's file lists: what goes where, and the same in reverse for
# the uninstaller, which removes exactly these files and then each folder
# that is left empty.
say "making the installer $setup"
lists=$build/installer
rm -rf "$lists"
mkdir -p "$lists"
target_of() { # the place below the install folder of a file of the stage
    case "$1" in
    item.ini | kzmap.dat) echo "share\\vellumar\\$1" ;;
    README.txt | licenses/*) echo "${1//\//\\}" ;;
    *) echo "bin\\${1//\//\\}" ;;
    esac
}
(cd "$stage" && find . -type f | sed 's|^\./||' | LC_ALL=C sort) > "$lists/files"
: > "$lists/install.nsh"
: > "$lists/uninstall.nsh"
declare -A dirs=()
while read -r f; do
    t=$(target_of "$f")
    d=${t%\\*}
    [ "$d" = "$t" ] && d=""
    printf 'SetOutPath "$INSTDIR%s"\nFile "%s"\n' "${d:+\\$d}" "$stage/$f" >> "$lists/install.nsh"
    printf 'Delete "$INSTDIR\\%s"\n' "$t" >> "$lists/uninstall.nsh"
    while [ -n "$d" ]; do
        dirs[$d]=1
        [ "${d%\\*}" = "$d" ] && break
        d=${d%\\*}
    done
done < "$lists/files"
# Deepest folders first.
for d in "${!dirs[@]}"; do
    printf '%s\t%s\n' "$(tr -cd '\\' <<<"$d" | wc -c)" "$d"
done | LC_ALL=C sort -rn | cut -f2 | while read -r d; do
    printf 'RMDir "$INSTDIR\\%s"\n' "$d" >> "$lists/uninstall.nsh"
done
size_kb=$(du -sk "$stage" | cut -f1)
makensis -V2 -NOCD \
    -DVERSION="$version" \
    -DVERSION4="$version.0" \
    -DOUTFILE="$setup" \
    -DLISTS="$lists" \
    -DICON="$build/src/windows/vellumar.ico" \
    -DLICENSE_FILE="$VELLUMAR_SOURCE/LICENSE" \
    -DSIZE_KB="$size_kb" \
    "$packaging/installer.nsi" >&2

say "made $(basename "$zip") ($(du -h "$zip" | cut -f1)) and $(basename "$setup") ($(du -h "$setup" | cut -f1))"
