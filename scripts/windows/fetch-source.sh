#!/bin/bash
# fetch-source.sh PACKAGE VERSION DIR
#
# Unpacks Debian's source package PACKAGE at VERSION (with Debian's patches
# applied) into DIR, downloading it with apt-get into the cache first.
# apt runs with a configuration of its own (a deb-src list and package
# lists in the cache): the machine's apt sources are never changed. The
# mirror and the release are those this machine already uses.
. "$(dirname "$0")/common.sh"

[ $# = 3 ] || die "usage: fetch-source.sh PACKAGE VERSION DIR"
package=$1 version=$2 dest=$3

apt_dir=$VELLUMAR_CACHE/apt
downloads=$VELLUMAR_CACHE/sources/$package-${version#*:}
mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$downloads"

# The machine's Debian mirrors and releases, from its deb822 .sources files
# or its one-line lists, written as deb-src lines.
machine_sources() {
    local f
    for f in /etc/apt/sources.list.d/*.sources; do
        [ -f "$f" ] || continue
        awk '
            function flush() {
                if (types ~ /(^| )deb( |$)/ && uris != "")
                    print uris "\t" suites "\t" comps "\t" signed
                types = uris = suites = comps = signed = ""
            }
            /^[ \t]*$/ { flush(); next }
            /^[ \t]*#/ { next }
            tolower($1) == "types:" { $1 = ""; types = $0 }
            tolower($1) == "uris:" { uris = $2 }
            tolower($1) == "suites:" { $1 = ""; suites = $0 }
            tolower($1) == "components:" { $1 = ""; comps = $0 }
            tolower($1) == "signed-by:" { signed = $2 }
            END { flush() }
        ' "$f" | while IFS=$'\t' read -r uri suites comps signed; do
            for s in $suites; do
                printf 'deb-src [signed-by=%s] %s %s%s\n' \
                    "${signed:-/usr/share/keyrings/debian-archive-keyring.gpg}" "$uri" "$s" "$comps"
            done
        done
    done
    for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [ -f "$f" ] || continue
        sed -n 's/^[ \t]*deb[ \t]\+/deb-src /p' "$f"
    done
}

apt_options=(
    -o "Dir::Etc::SourceList=$apt_dir/sources.list"
    -o "Dir::Etc::SourceParts=/dev/null"
    -o "Dir::State::Lists=$apt_dir/lists"
    -o "Dir::Cache=$apt_dir/cache"
    -o "APT::Sandbox::User=root"
)

archive=$(ls "$downloads"/*.dsc 2>/dev/null | head -n1 || true)
if [ -z "$archive" ]; then
    machine_sources | sort -u > "$apt_dir/sources.list"
    [ -s "$apt_dir/sources.list" ] || die "no Debian mirror found in /etc/apt"
    say "source lists of: $(awk '{print $3, $4}' "$apt_dir/sources.list" | tr '\n' ' ')"
    apt-get "${apt_options[@]}" -q update >&2
    say "downloading the source package $package $version"
    (cd "$downloads" && apt-get "${apt_options[@]}" -q source --download-only "$package=$version" >&2)
    archive=$(ls "$downloads"/*.dsc | head -n1)
fi

rm -rf "$dest"
mkdir -p "$(dirname "$dest")"
say "unpacking $(basename "$archive")"
dpkg-source -x "$archive" "$dest" >&2
