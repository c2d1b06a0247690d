#!/usr/bin/env bash
# Runs the test command (scripts/test.sh) on a fresh Debian 13: makes a
# minimal Debian 13 root with mmdebstrap from the mirror this machine's apt
# sources name, copies the source tree into it (without build folders), and
# runs the command there in a chroot with /proc, /dev and /sys mounted. With
# --windows it then builds and tests the Windows program there too
# (scripts/build-windows.sh), with its cache of Qt for Windows kept on this
# machine in /var/cache/isd5116-config, so that the next run reuses it. On
# exit, even after a failure, it ends what is left running in the root,
# unmounts everything and removes the root. Needs root, and mmdebstrap,
# which it installs when missing. Its exit status is the commands'.
#
#   sudo bash scripts/test-debian13.sh [--windows]
set -euo pipefail
source_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$source_dir/scripts/packages.sh"
[ "$(id -u)" -eq 0 ] || { echo "test-debian13.sh: run it as root (chroot and mount need it)" >&2; exit 1; }
commands="bash /src/scripts/test.sh"
if [ "${1:-}" = "--windows" ]; then
    commands+=" && ISD5116_CACHE=/cache bash /src/scripts/build-windows.sh"
    cache=/var/cache/isd5116-config
    mkdir -p "$cache"
fi
ensure_packages mmdebstrap debian-archive-keyring

# The first Debian mirror apt uses here, in either format of its sources.
mirror="$(apt-get indextargets --format '$(REPO_URI)' 'Created-By: Packages' | grep -m1 '/debian/$' || true)"
mirror="${mirror:-http://deb.debian.org/debian/}"

root="$(mktemp -d /var/tmp/debian13.XXXXXX)"
cleanup() {
    # Whatever still runs with its root inside the chroot (an X server, a
    # D-Bus daemon left by a failed test) is ended before the unmount.
    local pid
    for pid in $(ls /proc | grep -E '^[0-9]+$'); do
        [ "$(readlink "/proc/$pid/root" 2>/dev/null)" = "$root" ] && kill -9 "$pid" 2>/dev/null || true
    done
    for mount in cache dev sys proc; do
        if mountpoint -q "$root/$mount"; then
            umount --recursive "$root/$mount" || umount --recursive --lazy "$root/$mount"
        fi
    done
    # The cache is bound from this machine's disk: removing the root while
    # it is still there would remove the cache's files too.
    if mountpoint -q "$root/cache"; then
        echo "test-debian13.sh: $root/cache is still mounted; the root is left in place" >&2
        return
    fi
    rm -rf --one-file-system "$root"
}
trap cleanup EXIT

mmdebstrap --variant=minbase --quiet trixie "$root" "$mirror"
mount -t proc proc "$root/proc"
mount --rbind /sys "$root/sys" && mount --make-rslave "$root/sys"
mount --rbind /dev "$root/dev" && mount --make-rslave "$root/dev"
if [ -n "${cache:-}" ]; then
    mkdir "$root/cache"
    mount --bind "$cache" "$root/cache"
fi
mkdir "$root/src"
tar -C "$source_dir" --exclude='./build*' --exclude='./.git' -cf - . | tar -C "$root/src" -xf -
chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 \
    bash -c "$commands"
