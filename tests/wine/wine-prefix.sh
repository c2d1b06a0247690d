#!/usr/bin/env bash
# The Windows tests' Wine prefix (WINEPREFIX), made on the virtual desktop
# before the first Windows test; after the last, whatever still runs in it
# ends (the fixture "wine"). Its making is logged beside it: Wine's helper
# processes outlive it, and CTest would wait for any that holds its output.
#
#   wine-prefix.sh start <wine.sh>
#   wine-prefix.sh stop
set -euo pipefail
: "${WINEPREFIX:?wine-prefix.sh: WINEPREFIX names the prefix}"
case "$1" in
start)
    wineserver -k 2>/dev/null || true   # what an interrupted run left
    "$2" wineboot --init </dev/null >"$WINEPREFIX.log" 2>&1 || { cat "$WINEPREFIX.log" >&2; exit 1; }
    wineserver --wait
    ;;
stop)
    wineserver -k 2>/dev/null || true
    ;;
esac
