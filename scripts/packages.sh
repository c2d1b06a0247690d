#!/usr/bin/env bash
# The Debian packages that building and testing need, and the one function
# that installs whichever of them are missing. Sourced by the other scripts.

project_packages=(cmake g++ make qt6-base-dev qt6-svg-dev libgl-dev fonts-liberation2
    # the accessibility test: X server, D-Bus session, AT-SPI bus and client
    xvfb dbus at-spi2-core python3-pyatspi gir1.2-atspi-2.0)

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
