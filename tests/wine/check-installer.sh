#!/usr/bin/env bash
# The installer under Wine, in a Wine prefix of its own (on an X server:
# the installed program is opened):
# - its welcome and header pictures are those the build made from the icon;
# - a silent install (/S) puts the program and its licences in the user's
#   programs folder, a Start menu entry and the uninstaller's registration;
#   the installed program opens its window; a silent uninstall removes
#   every file the install put there, the entry and the registration;
# - installed over an older version (this build repacked by CPack as 0.9.0,
#   with a file this version no longer has and another program), it leaves
#   one registration of this version, this build's files and none of the
#   older one's, and one Start menu entry;
# - while the installed program runs, a silent install and a silent
#   uninstall each exit with status 2 and change nothing;
#   interactively the uninstaller asks to close it and waits, and goes on
#   once it is closed, leaving no trace.
#
#   check-installer.sh <installer.exe> <wine.sh> <build folder>
set -euo pipefail
installer="$1"
wine="$2"
build="$3"
export WINEPREFIX
WINEPREFIX="$(mktemp -d)"
older="$(mktemp -d)"
trap 'wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX" "$older"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
[ -f "$installer" ] || fail "no installer $installer: the build makes it (cmake --build --preset windows)"
version="$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")"

"$wine" wineboot --init
user="$WINEPREFIX/drive_c/users/$(id -un)"
folder="$user/AppData/Local/Programs/isd5116-config"
menu="$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs"
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\isd5116-config'
files() { (cd "$WINEPREFIX/drive_c" && find . -type f ! -path './windows/*' ! -path '*/Temp/*' | sort); }
# Every file with its checksum, and the registration.
state() {
    files | (cd "$WINEPREFIX/drive_c" && xargs -r -d '\n' sha256sum)
    "$wine" reg query "$key" 2>/dev/null | tr -d '\r' || true
}
unchanged() { [ "$(state)" = "$running" ] || fail "$1 changed: $(diff <(echo "$running") <(state))"; }
gone() { for _ in $(seq 60); do [ -e "$folder" ] || break; sleep 0.5; done; }
no_trace() {
    left="$(comm -12 <(echo "$installed") <(files))"
    [ -z "$left" ] && [ ! -e "$folder" ] || fail "$1 left: $left $folder"
    if "$wine" reg query "$key" >/dev/null 2>&1; then fail "$1 left its registration"; fi
}
registered() { "$wine" reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$1 *REG_SZ *//p"; }
open_program() {
    "$wine" "$folder/isd5116-config.exe" &
    program=$!
    timeout 60 xdotool search --sync --onlyvisible --name ISD5116 >/dev/null ||
        fail "the installed program opened no window"
}
# The uninstaller's windows, its message boxes among them.
uninstaller_window() {
    timeout 60 bash -c 'until xdotool search --onlyvisible --name "Bits Uninstall" | grep -vx "${1:-none}"; do sleep 0.5; done' \
        _ "${1:-}" | head -n 1
}

# --- the installer's pictures: the program's, as the build made them ----------
for picture in modern-wizard:icon-welcome modern-header:icon-header; do
    7z e -so "$installer" "\$PLUGINSDIR/${picture%%:*}.bmp" 2>/dev/null | cmp -s - "$build/windows/${picture#*:}.bmp" ||
        fail "the installer's ${picture%%:*}.bmp is not the build's ${picture#*:}.bmp"
done

# --- a fresh install, the program opened, the uninstall ------------------------
before="$(files)"
"$wine" "$installer" /S
[ -f "$folder/isd5116-config.exe" ] || fail "no program in $folder"
[ -f "$folder/licenses/LICENSES.txt" ] || fail "no licences beside the program"
[ -f "$menu/ISD5116 Configuration Bits.lnk" ] || fail "no Start menu entry"
registered UninstallString | grep -q 'Uninstall.exe' || fail "the uninstaller is not registered"
installed="$(comm -13 <(echo "$before") <(files))"
echo "Installed:"; echo "$installed"
open_program
wineserver -k
# The uninstaller runs on from a copy of itself and returns at once.
"$wine" "$folder/Uninstall.exe" /S
gone
no_trace "the uninstall"
echo "PASS: installed, opened and uninstalled without a trace"

# --- an upgrade from an older version --------------------------------------------
cmake --install "$build" --prefix "$older/files" >/dev/null
echo "a file of the older version" >"$older/files/NEWS.txt"
printf 'older' >>"$older/files/isd5116-config.exe"
cpack --config "$build/CPackConfig.cmake" -B "$older" -D CPACK_PACKAGE_VERSION=0.9.0 \
    -D CPACK_PACKAGE_FILE_NAME=older -D CPACK_INSTALL_CMAKE_PROJECTS= \
    -D "CPACK_INSTALLED_DIRECTORIES=$older/files;." >/dev/null
"$wine" "$older/older.exe" /S
[ "$(registered DisplayVersion)" = 0.9.0 ] && [ -f "$folder/NEWS.txt" ] ||
    fail "the older version did not install"
"$wine" "$installer" /S || fail "installing $version over 0.9.0 exited with status $?"
[ "$(registered DisplayVersion)" = "$version" ] ||
    fail "after the upgrade the registration says version $(registered DisplayVersion)"
[ "$(files)" = "$(sort <(echo "$before") <(echo "$installed"))" ] ||
    fail "the upgrade did not leave exactly this version's files: $(diff <(sort <(echo "$before") <(echo "$installed")) <(files))"
cmp -s "$folder/isd5116-config.exe" "$build/isd5116-config.exe" || fail "the upgrade did not replace the program"
[ "$("$wine" reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall' | grep -ci isd5116)" = 1 ] ||
    fail "more than one registration after the upgrade"
echo "PASS: $version installed over 0.9.0 replaced it"

# --- nothing replaced or removed while the program runs -------------------------
open_program
running="$(state)"
status=0; "$wine" "$installer" /S || status=$?
[ "$status" = 2 ] || fail "a silent install over the running program exited with status $status, not 2"
unchanged "a silent install over the running program"
status=0; "$wine" "$folder/Uninstall.exe" /S "_?=$(winepath -w "$folder")" || status=$?
[ "$status" = 2 ] || fail "a silent uninstall of the running program exited with status $status, not 2"
unchanged "a silent uninstall of the running program"
# As the registration's QuietUninstallString runs it: its status is not
# known, and its copy must change nothing either.
"$wine" "$folder/Uninstall.exe" /S
for _ in $(seq 60); do pgrep -f 'Au_\.exe' >/dev/null || break; sleep 0.5; done
unchanged "Uninstall.exe /S with the program running"
echo "PASS: while the program ran, a silent install and uninstall failed and changed nothing"

# Interactively the uninstaller asks to close the program and waits; closed,
# and asked to retry, it goes on to uninstall.
"$wine" "$folder/Uninstall.exe" &
asking="$(uninstaller_window)"
[ -n "$asking" ] || fail "the uninstaller did not ask to close the running program"
sleep 2
unchanged "the uninstaller, while it asked,"
kill "$program"
wait "$program" || true
xdotool windowactivate --sync "$asking" key Return   # Retry
confirm="$(uninstaller_window "$asking")"
[ -n "$confirm" ] || fail "asked to retry with the program closed, the uninstaller did not go on"
xdotool windowactivate --sync "$confirm" key Return   # Uninstall
gone
wineserver -k
no_trace "the uninstall after the upgrade"
echo "PASS: the uninstaller asked to close the running program, waited, went on when it was closed, and left no trace"
