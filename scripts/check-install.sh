#!/usr/bin/env bash
# Builds (as scripts/setup.sh does), installs into a temporary prefix, lists
# every installed file, checks that each file a desktop needs is there (the
# program, the menu entry, the metainfo, the icon as SVG and as PNG in every
# size, each PNG of its size), and runs desktop-file-validate and
# appstreamcli on what was installed. Any missing file or validator
# complaint fails.
#
#   bash scripts/check-install.sh
set -euo pipefail

EXTRA_PACKAGES="desktop-file-utils appstream ${EXTRA_PACKAGES:-}"
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

echo "Installed into $prefix:"
(cd "$prefix" && find . \( -type f -o -type l \) -printf '%M %8s %P\n' | sort -k3)

id="$(sed -n 's/^ISD5116_APP_ID:STRING=//p' "$build/CMakeCache.txt")"
[ -n "$id" ] || { echo "ISD5116_APP_ID is not in $build/CMakeCache.txt" >&2; exit 1; }

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# Width and height of a PNG file, from its IHDR chunk.
png_size() {
    od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d\n", $1*16777216 + $2*65536 + $3*256 + $4, $5*16777216 + $6*65536 + $7*256 + $8 }'
}

[ -x "$prefix/bin/isd5116-config" ] || fail "bin/isd5116-config is missing or not executable"
desktop="$prefix/share/applications/$id.desktop"
metainfo="$prefix/share/metainfo/$id.metainfo.xml"
svg="$prefix/share/icons/hicolor/scalable/apps/$id.svg"
[ -f "$desktop" ] || fail "share/applications/$id.desktop is missing"
[ -f "$metainfo" ] || fail "share/metainfo/$id.metainfo.xml is missing"
if [ -f "$svg" ]; then
    cmp -s "$svg" "$root/resources/icon.svg" || fail "the scalable icon is not resources/icon.svg"
else
    fail "share/icons/hicolor/scalable/apps/$id.svg is missing"
fi
for size in 16 24 32 48 64 128 256; do
    png="$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png"
    if [ ! -f "$png" ]; then
        fail "share/icons/hicolor/${size}x${size}/apps/$id.png is missing"
    elif [ "$(head -c 8 "$png" | od -An -tx1 | tr -d ' \n')" != "89504e470d0a1a0a" ]; then
        fail "${size}x${size}/apps/$id.png is not a PNG file"
    elif [ "$(png_size "$png")" != "${size}x${size}" ]; then
        fail "${size}x${size}/apps/$id.png is $(png_size "$png")"
    fi
done

if [ -f "$desktop" ]; then
    echo "desktop-file-validate $id.desktop:"
    # Hints and warnings count as failures too: the entry should be clean.
    if ! out="$(desktop-file-validate "$desktop" 2>&1)" || [ -n "$out" ]; then
        printf '%s\n' "$out"
        fail "desktop-file-validate"
    else
        echo "  no complaints"
    fi
fi
if [ -f "$metainfo" ]; then
    echo "appstreamcli validate --no-net --pedantic $id.metainfo.xml:"
    appstreamcli validate --no-net --pedantic "$metainfo" || fail "appstreamcli validate"
    echo "appstreamcli validate-tree --no-net --pedantic (installed tree):"
    appstreamcli validate-tree --no-net --pedantic "$prefix" || fail "appstreamcli validate-tree"
fi

if [ "$failures" -ne 0 ]; then
    echo "check-install: $failures failure(s)" >&2
    exit 1
fi
echo "check-install: every file installed and valid"
