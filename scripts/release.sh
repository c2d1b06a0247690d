#!/usr/bin/env bash
# Makes a release of the commit checked out, every file a user downloads,
# into release/<version>/ (the version of project() in CMakeLists.txt):
#
#   isd5116-config-<version>.tar.gz             the source: git archive of the commit
#   isd5116-config_<version>~deb12_amd64.deb    the Debian 12 package
#   isd5116-config_<version>~deb13_amd64.deb    the Debian 13 package
#   isd5116-config-<version>-win64.exe          the Windows installer
#   isd5116-config-<version>-win64.zip          the portable Windows program
#   BUILDINFO.txt                               the commit, and what built each file
#   SHA256SUMS                                  the checksums of all of them
#
# Each Debian package is built and checked in a fresh root of its release,
# the Windows program built and tested under Wine in Debian 13's, all from
# the source archive. Everything is built reproducibly: the same commit
# gives the same files, whoever builds it, so that anyone can rebuild a
# release and compare its SHA256SUMS. Refuses a tree with uncommitted
# changes. Needs root, as scripts/in-fresh-root.sh does:
#
#   sudo bash scripts/release.sh
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
fail() { echo "release.sh: $*" >&2; exit 1; }
git() { command git -c safe.directory="$root" "$@"; }
[ "$(id -u)" -eq 0 ] || fail "run it as root (scripts/in-fresh-root.sh needs it)"
[ -z "$(git status --porcelain)" ] || fail "the tree has uncommitted changes; a release is made from a commit:
$(git status --short)"

commit="$(git rev-parse HEAD)"
version="$(sed -n 's/^project(isd5116-config VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)"
[ -n "$version" ] || fail "CMakeLists.txt's project() names no version"
export SOURCE_DATE_EPOCH
SOURCE_DATE_EPOCH="$(git log -1 --format=%ct)"
out="$root/release/$version"
rm -rf "$out"
mkdir -p "$out"
work="$(mktemp -d /var/tmp/isd5116-release.XXXXXX)"
trap 'rm -rf "$work"' EXIT

echo "release.sh: $version from commit $commit"
source_archive="isd5116-config-$version.tar.gz"
git archive --format=tar.gz --prefix="isd5116-config-$version/" -o "$out/$source_archive" "$commit"
tar -C "$work" -xzf "$out/$source_archive"
src="$work/isd5116-config-$version"

# What each root builds, and the versions of the tools it built with.
tools() { echo "dpkg-query -W -f '\${Package} \${Version}\n' $* >/output/tools-\$(. /etc/os-release; echo \$VERSION_ID).txt"; }
deb='source scripts/packages.sh && ensure_packages "${build_packages[@]}" "${package_packages[@]}" lintian desktop-file-utils appstream &&
     cmake --workflow --preset package && bash tests/check-package.sh build-package && cp build-package/*.deb /output/'
windows='bash scripts/build-windows.sh && cp build-windows/isd5116-config-*-win64.exe build-windows/isd5116-config-*-win64.zip /output/ &&
     cp /cache/qt-windows/SOURCE /output/qt-source.txt'
bash "$src/scripts/in-fresh-root.sh" --output "$out" bookworm "$deb && $(tools g++ qt6-base-dev cmake)"
bash "$src/scripts/in-fresh-root.sh" --output "$out" trixie \
    "$deb && $windows && $(tools g++ qt6-base-dev cmake g++-mingw-w64-x86-64-posix nsis)"

cd "$out"
{
    echo "isd5116-config $version, built from commit $commit"
    echo "($(git log -1 --format=%cI "$commit"), SOURCE_DATE_EPOCH=$SOURCE_DATE_EPOCH) by scripts/release.sh:"
    echo
    echo "$source_archive: git archive of the commit"
    for file in *.deb; do
        echo "$file: built and checked in a fresh Debian $(dpkg-deb -f "$file" Version | sed 's/.*~deb//') root"
    done
    for file in *-win64.exe *-win64.zip; do
        echo "$file: built and tested under Wine in a fresh Debian 13 root, with Qt for Windows built from $(cat qt-source.txt)"
    done
    for tools in tools-*.txt; do
        name="${tools#tools-}"
        echo
        echo "Tools in the Debian ${name%.txt} root:"
        sed 's/^/  /' "$tools"
    done
} >BUILDINFO.txt
rm tools-*.txt qt-source.txt
sha256sum -- * >SHA256SUMS
echo "release.sh: release/$version/, every file from commit $commit:"
cat SHA256SUMS
