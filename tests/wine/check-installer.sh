#!/usr/bin/env bash
# The installer under Wine, in a Wine prefix of its own (on an X server:
# the installed program is opened): a silent install (/S) puts the program
# and its licences in the user's programs folder, a Start menu entry for it
# and its uninstaller's registration in place; the installed program opens
# its window; a silent uninstall removes every file the install put there,
# the Start menu entry and the registration.
#
#   check-installer.sh <installer.exe> <wine.sh>
set -euo pipefail
installer="$1"
wine="$2"
export WINEPREFIX
WINEPREFIX="$(mktemp -d)"
trap 'wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
[ -f "$installer" ] || fail "no installer $installer: the build makes it (cmake --build --preset windows)"

"$wine" wineboot --init
files() { (cd "$WINEPREFIX/drive_c" && find . -type f ! -path './windows/*' ! -path '*/Temp/*' | sort); }
before="$(files)"

"$wine" "$installer" /S
user="$WINEPREFIX/drive_c/users/$(id -un)"
folder="$user/AppData/Local/Programs/isd5116-config"
[ -f "$folder/isd5116-config.exe" ] || fail "no program in $folder"
[ -f "$folder/licenses/LICENSES.txt" ] || fail "no licences beside the program"
[ -f "$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/ISD5116 Configuration Bits.lnk" ] ||
    fail "no Start menu entry"
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\isd5116-config'
"$wine" reg query "$key" /v UninstallString | grep -q 'Uninstall.exe' || fail "the uninstaller is not registered"
installed="$(comm -13 <(echo "$before") <(files))"
echo "Installed:"; echo "$installed"

"$wine" "$folder/isd5116-config.exe" &
timeout 60 xdotool search --sync --onlyvisible --name ISD5116 >/dev/null ||
    fail "the installed program opened no window"
wineserver -k

# The uninstaller runs on from a copy of itself and returns at once.
"$wine" "$folder/Uninstall.exe" /S
for _ in $(seq 60); do [ -e "$folder" ] || break; sleep 0.5; done
left="$(comm -12 <(echo "$installed") <(files))"
[ -z "$left" ] || fail "the uninstall left: $left"
[ ! -e "$folder" ] || fail "the uninstall left $folder"
if "$wine" reg query "$key" >/dev/null 2>&1; then fail "the uninstall left its registration"; fi
echo "PASS: installed, opened and uninstalled without a trace"
