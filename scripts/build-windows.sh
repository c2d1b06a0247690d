#!/usr/bin/env bash
# Builds the Windows program on Debian 13 or 12, tests it under Wine and
# makes its installer:
#
#   bash scripts/build-windows.sh
#
# Installs what it needs with apt-get; builds Qt's base module for 64-bit
# Windows (static, MinGW-w64) from Debian's own qt6-base source of the
# release's Qt version, into a cache folder outside the checkout that later
# runs reuse while Qt's version, the way it is built here (its configure
# options among it) and the toolchain stay the same, and links it there as
# qt-windows; then cross-builds the program, its tests and its installer
# into build-windows/ (the "windows" preset) and runs the tests, which run
# under Wine on a virtual desktop of their own. It writes the program
# build-windows/isd5116-config.exe, the licences beside it
# (build-windows/licenses/), the installer
# build-windows/isd5116-config-<version>-win64.exe and the portable program
# build-windows/isd5116-config-<version>-win64.zip, all of them the same
# bytes whenever and wherever the same commit is built.
#
# The cache is ISD5116_CACHE, by default ~/.cache/isd5116-config, where the
# preset finds qt-windows. Qt's build takes half an hour on 2 cores and 3 GB
# of disk while it runs; what stays is Qt, about 100 MB.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$root/scripts/packages.sh"
ensure_packages "${build_packages[@]}" "${windows_packages[@]}"

cache="${ISD5116_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/isd5116-config}"
toolchain="$root/packaging/windows/mingw-w64.cmake"

# --- Qt for Windows -----------------------------------------------------------
# Core, Gui, Widgets and Test, with the windows, offscreen and minimal
# platforms and Qt's own copies of zlib, libpng, FreeType, HarfBuzz and PCRE2
# built in. Debian's source leaves out the Wintab header that tablet events
# need; Qt's other modules are not needed.
qt_options=(-release -static -static-runtime -nomake examples -nomake tests
    -no-feature-tabletevent -no-opengl -no-dbus -no-icu -no-libjpeg
    -qt-zlib -qt-libpng -qt-freetype -qt-harfbuzz -qt-pcre
    -no-feature-sql -no-feature-network -no-feature-printsupport -no-feature-concurrent
    -no-feature-xml)
# Where Qt believes it is installed, compiled into every program built with
# it: no folder of the machine that built it.
qt_neutral_prefix=/isd5116-config-qt

# Debian's source package, through a sources list and package lists of its
# own: the deb-src entries of the Debian mirrors apt already takes packages
# from, as its configuration names them.
fetch_qt_source() {   # folder
    local apt="$1/apt"
    mkdir -p "$apt/lists/partial" "$apt/cache"
    apt-get indextargets --no-release-info --format '$(REPO_URI) $(RELEASE) $(COMPONENT)' 'Created-By: Packages' |
        grep -E '/debian(-security)?/ ' | sort -u | sed 's/^/deb-src /' >"$apt/sources.list"
    local private=(-o "Dir::Etc::SourceList=$apt/sources.list" -o Dir::Etc::SourceParts=/nonexistent
                   -o "Dir::State::Lists=$apt/lists" -o "Dir::Cache=$apt/cache")
    apt-get "${private[@]}" update -qq
    (cd "$1" && apt-get "${private[@]}" source -qq "qt6-base=$qt_source_version")
}

build_qt() {
    local work="$cache/work-$qt_key" src
    # What an earlier build of this Qt version left, built another way or
    # unfinished, is of no more use.
    rm -rf "$cache"/work-* "$cache/qt-${qt_source_version%%+*}-mingw-"*
    mkdir -p "$work"
    echo "Building Qt $qt_source_version for Windows into $qt (once; half an hour on 2 cores) ..."
    fetch_qt_source "$work"
    src="$(echo "$work"/qt6-base-*/)"
    mkdir "$work/build"
    # Built the same wherever the cache is: the prefix compiled into Qt is
    # a neutral one (Qt is installed into the cache all the same), the
    # compiler writes the work folder's path as /qt-build, and what Qt's
    # own resources record as their files' times is the source's date.
    local flags="-ffile-prefix-map=$work=/qt-build"
    (cd "$work/build" &&
     export SOURCE_DATE_EPOCH="$(dpkg-parsechangelog -l "$src/debian/changelog" -S Timestamp)" &&
     "$src/configure" "${qt_options[@]}" -prefix "$qt_neutral_prefix" -extprefix "$qt" -- -G Ninja \
         -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" \
         >"$work/configure.log" 2>&1 &&
     cmake --build . --parallel "$(nproc)" >"$work/build.log" 2>&1 &&
     cmake --install . >"$work/install.log" 2>&1) || {
        tail -n 40 "$work"/*.log
        echo "build-windows.sh: Qt's build failed; its logs are in $work" >&2
        exit 1
    }
    # The licences of Qt and of the libraries built into it, beside it:
    # Debian's account of every file of the source and its licence, and the
    # texts of the licences it names from Debian's common licences.
    mkdir "$qt/licenses"
    echo "qt6-base $qt_source_version" >"$qt/SOURCE"
    cp "$src/debian/copyright" "$qt/licenses/Qt-copyright.txt"
    cp "$src"/LICENSES/{LGPL-3.0-only,GPL-3.0-only,GPL-2.0-only,Apache-2.0}.txt "$qt/licenses/"
    touch "$qt/.complete"
    rm -rf "$work"
}

qt_source_version="$(dpkg-query -W -f='${source:Version}' qt6-base-dev)"
qt_key="$( { echo "$qt_source_version"; declare -f fetch_qt_source build_qt; printf '%s\n' "${qt_options[@]}" "$qt_neutral_prefix"
             cat "$toolchain"; x86_64-w64-mingw32-g++-posix -dumpfullversion; } | sha256sum | cut -c 1-12)"
qt="$cache/qt-${qt_source_version%%+*}-mingw-$qt_key"
[ -e "$qt/.complete" ] || build_qt
echo "Qt for Windows: $qt"

# The Qt just built or found, by the name the "windows" preset looks for.
ln -sfn "$(basename "$qt")" "$cache/qt-windows"

# --- the program, its tests and the installer ----------------------------------
# The times the build records are the commit's: the same commit builds the
# same program, zip and installer.
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    SOURCE_DATE_EPOCH="$(git -C "$root" log -1 --format=%ct 2>/dev/null || date +%s)"
fi
export SOURCE_DATE_EPOCH
cd "$root"
cmake --preset windows -DCMAKE_PREFIX_PATH="$cache/qt-windows"
cmake --build --preset windows
ctest --preset windows
echo "build-windows.sh: the Windows program passed its tests under Wine:"
echo "  build-windows/isd5116-config.exe, with its licences in build-windows/licenses/"
echo "  build-windows/$(cd build-windows && ls isd5116-config-*-win64.exe) (the installer)"
echo "  build-windows/$(cd build-windows && ls isd5116-config-*-win64.zip) (the portable program)"
