#!/usr/bin/env bash
# The Debian packages the project needs, and the one function that installs
# whichever of them are missing. Sourced by the other scripts.

# Building and running the program: Qt's Linguist tools compile the
# translations, and Qt's own translations put its texts in the user's
# language too.
build_packages=(cmake ninja-build g++ qt6-base-dev qt6-svg-dev libgl-dev librsvg2-bin
    qt6-tools-dev qt6-l10n-tools qt6-translations-l10n fonts-liberation2)
# Building the Debian package: CPack runs file to find the programs, and
# dpkg-shlibdeps to find the packages of the libraries they link.
package_packages=(dpkg-dev file)
# Running the tests: the validators; for the accessibility tests a virtual
# X server, a D-Bus session with the AT-SPI bus, an AT-SPI client, and the
# Orca screen reader with a window manager and a key presser; lintian for the
# Debian package; Qt's window-system interface, through which a test moves
# the window to another screen as the X11 platform reports such a move.
test_packages=(desktop-file-utils appstream xvfb xauth dbus at-spi2-core
    python3-pyatspi gir1.2-atspi-2.0 python3-xlib orca openbox xdotool lintian
    qt6-base-private-dev)

# Installs the named packages that are not installed yet, with apt-get
# (through sudo when not root); does nothing when all are there.
ensure_packages() {
    local missing=() p sudo=""
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -gt 0 ] || return 0
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
