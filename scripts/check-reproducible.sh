#!/usr/bin/env bash
# Checks that the Windows program, its portable zip and its installer are
# reproducible: builds them a second time, now, from a copy of the source in
# another folder, with the same Qt for Windows, and compares them byte for
# byte with those scripts/build-windows.sh made in build-windows/. On a
# difference diffoscope shows where it lies, and the check fails.
#
#   bash scripts/check-reproducible.sh     (after scripts/build-windows.sh)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$root/scripts/packages.sh"
cache="${ISD5116_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/isd5116-config}"
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    SOURCE_DATE_EPOCH="$(git -C "$root" log -1 --format=%ct)"
fi
export SOURCE_DATE_EPOCH
first="$root/build-windows"
names=(isd5116-config.exe $(cd "$first" && ls isd5116-config-*-win64.zip isd5116-config-*-win64.exe))

again="$(mktemp -d /var/tmp/isd5116-again.XXXXXX)"
trap 'rm -rf "$again"' EXIT
mkdir "$again/elsewhere"
tar -C "$root" --exclude='./build*' -cf - . | tar -C "$again/elsewhere" -xf -
cd "$again/elsewhere"
cmake --preset windows -DCMAKE_PREFIX_PATH="$cache/qt-windows" -DBUILD_TESTING=OFF >/dev/null
cmake --build --preset windows >/dev/null

status=0
for name in "${names[@]}"; do
    if cmp -s "$first/$name" "build-windows/$name"; then
        echo "reproducible: $name ($(sha256sum <"$first/$name" | cut -c 1-16)…)"
    else
        echo "check-reproducible: FAIL: $name differs when built again elsewhere:" >&2
        ensure_packages diffoscope
        timeout 600 diffoscope --text - "$first/$name" "build-windows/$name" | head -n 200 >&2 || true
        status=1
    fi
done
exit "$status"
