#!/usr/bin/env bash
# Installs a build into a temporary prefix, lists every installed file, checks
# that each file a desktop needs is there (the program, the menu entry, the
# metainfo, the licence, the icon as SVG and as PNG in every size, each PNG
# of its size) and validates the installed tree with appstreamcli, with the
# build's validation options. Any missing file or validator complaint fails.
# Run by CTest (label "install"):
#
#   bash tests/check-install.sh BUILD_DIR
set -euo pipefail

build="${1:?usage: check-install.sh BUILD_DIR}"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

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
[ -f "$prefix/share/applications/$id.desktop" ] || fail "share/applications/$id.desktop is missing"
[ -f "$prefix/share/metainfo/$id.metainfo.xml" ] || fail "share/metainfo/$id.metainfo.xml is missing"
cmp -s "$prefix/share/doc/isd5116-config/LICENSE" "$root/LICENSE" || fail "share/doc/isd5116-config/LICENSE is not LICENSE"
svg="$prefix/share/icons/hicolor/scalable/apps/$id.svg"
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

IFS=';' read -ra validate <<<"$(sed -n 's/^ISD5116_APPSTREAM_VALIDATE:INTERNAL=//p' "$build/CMakeCache.txt")"
echo "appstreamcli validate-tree ${validate[*]} (installed tree):"
appstreamcli validate-tree "${validate[@]}" "$prefix" || fail "appstreamcli validate-tree"

if [ "$failures" -ne 0 ]; then
    echo "check-install: $failures failure(s)" >&2
    exit 1
fi
echo "check-install: every file installed and valid"
