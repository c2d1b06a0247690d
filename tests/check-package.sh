#!/usr/bin/env bash
# Checks the Debian package that `cmake --workflow --preset package` writes:
# lintian finds no error and no warning but those the README accepts; it holds
# exactly the program, menu entry, metainfo, icons and doc files; it depends
# on the Qt 6 libraries the program links and on nothing it should not; apt
# can install it here. Then it installs it with dpkg into a temporary root,
# checks and validates what is there, removes it and checks nothing is left.
#
#   bash tests/check-package.sh BUILD_DIR
set -euo pipefail

build="$(cd "${1:?usage: check-package.sh BUILD_DIR}" && pwd)"
source_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cache() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }
id="$(cache ISD5116_APP_ID)"
deb="$build/isd5116-config_$(cache CMAKE_PROJECT_VERSION)_$(dpkg --print-architecture).deb"
root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT
fail() { echo "check-package: FAIL: $*" >&2; exit 1; }

lintian --display-info --fail-on error,warning --suppress-tags no-manual-page "$deb" \
    || fail "lintian"

expected="$( {
    printf '%s\n' ./usr/bin/isd5116-config "./usr/share/applications/$id.desktop" \
        "./usr/share/metainfo/$id.metainfo.xml" "./usr/share/icons/hicolor/scalable/apps/$id.svg" \
        ./usr/share/doc/isd5116-config/copyright ./usr/share/doc/isd5116-config/changelog.gz
    for size in 16 24 32 48 64 128 256; do echo "./usr/share/icons/hicolor/${size}x$size/apps/$id.png"; done
} | sort)"
files="$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sort)"
[ "$files" = "$expected" ] || fail "the package's files differ from the expected ones:
$(diff <(echo "$expected") <(echo "$files") || true)"

depends="$(dpkg-deb -f "$deb" Depends | sed 's/ *([^)]*)//g; s/t64\b//g; s/, */\n/g' | sort)"
[ "$depends" = "$(printf '%s\n' libc6 libgcc-s1 libqt6core6 libqt6gui6 libqt6svg6 libqt6widgets6 'libstdc++6')" ] \
    || fail "the package depends on: ${depends//$'\n'/, }"
apt-get install --simulate --quiet "$deb" >/dev/null || fail "apt cannot install $deb"

mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
touch "$root/var/lib/dpkg/status"
dpkg=(dpkg --root="$root" --log=/dev/null --force-depends --force-not-root)
out="$("${dpkg[@]}" --install "$deb" 2>&1)" || fail "dpkg --install: $out"
[ "$(cd "$root" && find usr -type f | sed 's|^|./|' | sort)" = "$expected" ] \
    || fail "dpkg did not install every file of the package"
validation="$(desktop-file-validate "$root/usr/share/applications/$id.desktop" 2>&1)" \
    && [ -z "$validation" ] || fail "desktop-file-validate: $validation"
! grep -rlF "$source_dir" "$root/usr" || fail "installed files name the source or build folder"

out="$("${dpkg[@]}" --remove isd5116-config 2>&1)" || fail "dpkg --remove: $out"
left="$(cd "$root" && find . -mindepth 1 -not -path './var*'; find var/lib/dpkg/info -name 'isd5116-config.*')"
[ -z "$left" ] || fail "left after removal: $left"
echo "check-package: $(basename "$deb") is clean under lintian, installs and removes cleanly"
