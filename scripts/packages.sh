#!/usr/bin/env bash
# The Debian packages the project needs, and the one function that installs
# whichever of them are missing. Sourced by the other scripts. A name ending
# in "?" is installed where the release has that package, as apt knows it.

# Building and running the program: Qt's Linguist tools compile the
# translations, and Qt's own translations put its texts in the user's
# language too. Qt's SVG icon engine draws the window's icon: part of
# libqt6svg6 up to Qt 6.4 (Debian 12), its own package from Qt 6.8 on.
build_packages=(cmake ninja-build g++ qt6-base-dev qt6-svg-dev 'qt6-svg-plugins?' libgl-dev
    librsvg2-bin qt6-tools-dev qt6-l10n-tools qt6-translations-l10n fonts-liberation2)
# Building the Debian package: CPack runs file to find the programs, and
# dpkg-shlibdeps to find the packages of the libraries they link.
package_packages=(dpkg-dev file)
# Running the tests: the validators; for the accessibility tests a virtual
# X server, a D-Bus session with the AT-SPI bus, pytest with dogtail (an
# AT-SPI client), and the Orca screen reader with a window manager and a key
# presser; lintian for the Debian package; Qt's window-system interface,
# through which a test moves the window to another screen as the X11
# platform reports such a move.
test_packages=(desktop-file-utils appstream xvfb xauth dbus at-spi2-core
    python3-pytest python3-dogtail python3-pyatspi gir1.2-atspi-2.0 python3-xlib
    orca openbox xdotool lintian qt6-base-private-dev)

# Building the Windows program (scripts/build-windows.sh): the MinGW-w64
# cross compilers; dpkg-dev to unpack Debian's source of Qt's base module,
# which is built for Windows; icoutils for the program's .ico; NSIS for the
# installer, and netpbm for its pictures, which NSIS takes in BMP; zip for
# the portable program; and for its tests Wine on a virtual X server, with
# a window manager, a key presser and Python's imaging to judge what the
# window shows, and 7-Zip to look into the installer.
windows_packages=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-tools dpkg-dev
    icoutils netpbm nsis zip wine wine64 xvfb xauth openbox xdotool python3-xlib python3-pil 7zip)

# Installs the named packages that are not installed yet, with apt-get
# (through sudo when not root); does nothing when all are there. apt's lists
# are refreshed first when something is to be installed, or when there are
# none to tell whether a "?" package exists.
ensure_packages() {
    local missing=() optional=() p name sudo=""
    for p in "$@"; do
        name="${p%\?}"
        dpkg-query -W -f='${Status}' "$name" 2>/dev/null | grep -q "install ok installed" && continue
        if [ "$name" = "$p" ]; then missing+=("$name"); else optional+=("$name"); fi
    done
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    if [ ${#missing[@]} -gt 0 ] || { [ ${#optional[@]} -gt 0 ] && ! compgen -G '/var/lib/apt/lists/*_Packages*' >/dev/null; }; then
        $sudo apt-get update -qq
    fi
    for name in "${optional[@]}"; do
        apt-cache show "$name" >/dev/null 2>&1 && missing+=("$name")
    done
    [ ${#missing[@]} -gt 0 ] || return 0
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
