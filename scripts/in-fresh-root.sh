#!/usr/bin/env bash
# Runs a command on a fresh Debian of the release named (trixie for
# Debian 13, bookworm for Debian 12): makes a minimal root of it with
# mmdebstrap from the mirror this machine's apt sources name, copies the
# source tree into it (without build folders) at /src, and runs the command
# there in a chroot with /proc, /dev and /sys mounted. The project's cache
# on this machine, /var/cache/isd5116-config, is bound into the root as its
# ISD5116_CACHE, so that Qt for Windows built there is kept for the next
# run. On exit, even after a failure, it ends what is left running in the
# root, unmounts everything and removes the root. Needs root, and
# mmdebstrap, which it installs when missing. Its exit status is the
# command's. With --output, the folder named is bound into the root at
# /output, for what the command makes to outlive the root.
#
#   sudo bash scripts/in-fresh-root.sh trixie 'bash scripts/test.sh && bash scripts/build-windows.sh'
#   sudo bash scripts/in-fresh-root.sh --output out bookworm 'cmake --workflow --preset package && cp build-package/*.deb /output/'
set -euo pipefail
source_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$source_dir/scripts/packages.sh"
[ "$(id -u)" -eq 0 ] || { echo "in-fresh-root.sh: run it as root (chroot and mount need it)" >&2; exit 1; }
output=""
if [ "${1:-}" = --output ]; then output="$(realpath "$2")"; shift 2; fi
[ $# -eq 2 ] || { echo "usage: in-fresh-root.sh [--output <folder>] <release> <command>" >&2; exit 2; }
release="$1"
command="$2"
cache=/var/cache/isd5116-config
mkdir -p "$cache"
ensure_packages mmdebstrap debian-archive-keyring

# The first Debian mirror apt uses here, in either format of its sources.
mirror="$(apt-get indextargets --format '$(REPO_URI)' 'Created-By: Packages' | grep -m1 '/debian/$' || true)"
mirror="${mirror:-http://deb.debian.org/debian/}"

root="$(mktemp -d "/var/tmp/$release.XXXXXX")"
cleanup() {
    # Whatever still runs with its root inside the chroot (an X server, a
    # D-Bus daemon left by a failed test) is ended before the unmount.
    local pid
    for pid in $(ls /proc | grep -E '^[0-9]+$'); do
        [ "$(readlink "/proc/$pid/root" 2>/dev/null)" = "$root" ] && kill -9 "$pid" 2>/dev/null || true
    done
    for mount in output cache dev sys proc; do
        if mountpoint -q "$root/$mount"; then
            umount --recursive "$root/$mount" || umount --recursive --lazy "$root/$mount"
        fi
    done
    # The cache is bound from this machine's disk: removing the root while
    # it is still there would remove the cache's files too.
    if mountpoint -q "$root/cache" || mountpoint -q "$root/output"; then
        echo "in-fresh-root.sh: a folder of this machine is still mounted in $root; the root is left in place" >&2
        return
    fi
    rm -rf --one-file-system "$root"
}
trap cleanup EXIT

mmdebstrap --variant=minbase --quiet "$release" "$root" "$mirror"
mount -t proc proc "$root/proc"
mount --rbind /sys "$root/sys" && mount --make-rslave "$root/sys"
mount --rbind /dev "$root/dev" && mount --make-rslave "$root/dev"
mkdir "$root/cache"
mount --bind "$cache" "$root/cache"
if [ -n "$output" ]; then
    mkdir "$root/output"
    mount --bind "$output" "$root/output"
fi
mkdir "$root/src"
tar -C "$source_dir" --exclude='./build*' --exclude='./.git' --exclude='./release' -cf - . | tar -C "$root/src" -xf -
# The root has no .git: the times a build records are given as the commit's
# (now, for a source tree that is no checkout, such as a release's archive).
epoch="${SOURCE_DATE_EPOCH:-$(git -c safe.directory="$source_dir" -C "$source_dir" log -1 --format=%ct 2>/dev/null || date +%s)}"
chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 \
    ISD5116_CACHE=/cache SOURCE_DATE_EPOCH="$epoch" bash -c "cd /src && $command"
