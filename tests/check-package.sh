#!/usr/bin/env bash
# Checks the Debian package that `cmake --workflow --preset package` writes:
# lintian finds no error and no warning but those the README accepts; it holds
# exactly the program, menu entry, metainfo, icons and doc files; it depends
# on the Qt 6 libraries the program links, on the package of Qt's SVG icon
# engine, and on nothing it should not; apt can install it here. Then it
# installs it with dpkg into a temporary root, checks the program's hardening
# and validates what is there, removes it and checks nothing is left; then
# the same after an upgrade over an older version.
#
#   bash tests/check-package.sh BUILD_DIR
set -euo pipefail

build="$(cd "${1:?usage: check-package.sh BUILD_DIR}" && pwd)"
source_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cache() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }
id="$(cache ISD5116_APP_ID)"
deb="$build/isd5116-config_$(cache ISD5116_DEBIAN_VERSION)_$(dpkg --print-architecture).deb"
root="$(mktemp -d)"
trap 'rm -rf "$root" "$root.older" "$root.older.deb"' EXIT
fail() { echo "check-package: FAIL: $*" >&2; exit 1; }

# Lintian validates the metainfo without the build's named override of
# AppStream's homepage check; it is validated below with the build's options.
suppressed=no-manual-page
if lintian-explain-tags appstream-metadata-validation-failed >/dev/null 2>&1; then
    suppressed+=,appstream-metadata-validation-failed
fi
report="$(lintian --display-info --fail-on error,warning --suppress-tags "$suppressed" "$deb")" \
    || fail "lintian: $report"
[ -z "$report" ] || echo "$report"
# Lintian's hardening checks, fortified libc calls among them, must all hold.
! grep -q 'hardening-' <<<"$report" || fail "lintian finds the program's hardening incomplete"

expected="$( {
    printf '%s\n' ./usr/bin/isd5116-config "./usr/share/applications/$id.desktop" \
        "./usr/share/metainfo/$id.metainfo.xml" "./usr/share/icons/hicolor/scalable/apps/$id.svg" \
        ./usr/share/doc/isd5116-config/copyright ./usr/share/doc/isd5116-config/changelog.gz
    for size in 16 24 32 48 64 128 256; do echo "./usr/share/icons/hicolor/${size}x$size/apps/$id.png"; done
} | sort)"
files="$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sort)"
[ "$files" = "$expected" ] || fail "the package's files differ from the expected ones:
$(diff <(echo "$expected") <(echo "$files") || true)"

# The icon engine is a plugin: its package is the one that holds it here.
icon_engine="$(dpkg-query --search '*/qt6/plugins/iconengines/libqsvgicon.so' | sed 's/[:,].*//')"
depends="$(dpkg-deb -f "$deb" Depends | sed 's/ *([^)]*)//g; s/t64\b//g; s/, */\n/g' | sort -u)"
[ "$depends" = "$(printf '%s\n' libc6 libgcc-s1 libqt6core6 libqt6gui6 libqt6svg6 libqt6widgets6 'libstdc++6' "$icon_engine" | sort -u)" ] \
    || fail "the package depends on: ${depends//$'\n'/, }"
apt-get install --simulate --quiet "$deb" >/dev/null || fail "apt cannot install $deb"

mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
touch "$root/var/lib/dpkg/status"
dpkg=(dpkg --root="$root" --log=/dev/null --force-depends --force-not-root)
out="$("${dpkg[@]}" --install "$deb" 2>&1)" || fail "dpkg --install: $out"
[ "$(cd "$root" && find usr -type f | sed 's|^|./|' | sort)" = "$expected" ] \
    || fail "dpkg did not install every file of the package"
# The hardening that Debian's build flags ask for, on the installed program:
# a position-independent executable, its relocations read-only and bound at
# start (full RELRO), the stack protector, and where the release's flags ask
# for it, control-flow protection (Intel CET).
program="$root/usr/bin/isd5116-config"
elf() { readelf -W "$@" "$program"; }
grep -q 'Type: *DYN' <<<"$(elf -h)" && grep -q 'FLAGS_1.*PIE' <<<"$(elf -d)" \
    || fail "the program is not a position-independent executable"
grep -q GNU_RELRO <<<"$(elf -l)" || fail "the program has no RELRO segment"
grep -Eq '\(FLAGS\).*BIND_NOW|FLAGS_1.* NOW' <<<"$(elf -d)" || fail "the program is not bound now"
grep -q ' __stack_chk_fail@' <<<"$(elf --dyn-syms)" || fail "the program has no stack protector"
# Control-flow protection shows as the end-branch marks that begin each of
# the program's functions; the C runtime's own objects bring a handful. (The
# ELF note that would declare it is dropped: Debian's crt1.o and crti.o carry
# none.)
if grep -q -- -fcf-protection <<<"$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get CXXFLAGS)"; then
    [ "$(objdump -d --no-show-raw-insn "$program" | grep -c endbr64)" -ge 100 ] \
        || fail "the program has no control-flow protection"
fi
IFS=';' read -ra validate <<<"$(cache ISD5116_APPSTREAM_VALIDATE)"
appstreamcli validate "${validate[@]}" "$root/usr/share/metainfo/$id.metainfo.xml" >/dev/null \
    || fail "appstreamcli validate $(appstreamcli validate "${validate[@]}" "$root/usr/share/metainfo/$id.metainfo.xml")"
validation="$(desktop-file-validate "$root/usr/share/applications/$id.desktop" 2>&1)" \
    && [ -z "$validation" ] || fail "desktop-file-validate: $validation"
bash "$source_dir/tests/check-no-build-paths.sh" "$root/usr" -- "$source_dir" "$build" \
    || fail "installed files name the source or build folder"

removed_cleanly() {
    out="$("${dpkg[@]}" --remove isd5116-config 2>&1)" || fail "dpkg --remove: $out"
    left="$(cd "$root" && find . -mindepth 1 -not -path './var*'; find var/lib/dpkg/info -name 'isd5116-config.*')"
    [ -z "$left" ] || fail "left after removal: $left"
}
removed_cleanly

# An upgrade: the package as an older version that had a file this one no
# longer has, installed first; installing this one over it leaves this
# version with exactly its files, and removing it then leaves nothing.
version="$(dpkg-deb -f "$deb" Version)"
dpkg-deb -R "$deb" "$root.older"
sed -i 's/^Version: .*/Version: 0.9.0/' "$root.older/DEBIAN/control"
echo "a file of the older version" >"$root.older/usr/share/doc/isd5116-config/NEWS"
dpkg-deb --root-owner-group -b "$root.older" "$root.older.deb" >/dev/null
out="$("${dpkg[@]}" --install "$root.older.deb" 2>&1)" || fail "dpkg --install (older): $out"
out="$("${dpkg[@]}" --install "$deb" 2>&1)" || fail "dpkg --install over 0.9.0: $out"
installed="$(dpkg-query --admindir="$root/var/lib/dpkg" -W -f '${Version}' isd5116-config)"
[ "$installed" = "$version" ] || fail "after the upgrade dpkg knows version $installed, not $version"
[ "$(cd "$root" && find usr -type f | sed 's|^|./|' | sort)" = "$expected" ] \
    || fail "the upgrade did not leave exactly the package's files"
removed_cleanly
echo "check-package: $(basename "$deb") is clean under lintian, installs, upgrades 0.9.0 and removes cleanly"
