#!/usr/bin/env bash
# The tests' virtual desktop: an X server in memory (Xvfb) with a screen of
# 1920x1200 at 96 dpi and the openbox window manager, as users' desktops
# have one. CTest starts it before the first test that needs it and ends it
# after the last (the fixture "desktop"); a test runs on it through "run".
# The server does not reset when its last client leaves: the AT-SPI bus
# launcher comes and goes while a program connects.
#
#   virtual-desktop.sh start <folder>             the desktop, its state in <folder>
#   virtual-desktop.sh run <folder> <command...>  the command on its display
#   virtual-desktop.sh stop <folder>              ends what start started
set -euo pipefail
action="$1"
state="$2"
shift 2

stop() {
    local pid
    for pid in "$state"/*.pid; do
        [ -f "$pid" ] && kill "$(cat "$pid")" 2>/dev/null || true
    done
    rm -f "$state"/*.pid "$state/display" "$state/ready"
}

# Waits up to 30 s for a file to be written.
await() {
    for _ in $(seq 300); do [ -s "$1" ] && return; sleep 0.1; done
    cat "$state"/*.log >&2
    echo "virtual-desktop.sh: $2 did not start" >&2
    exit 1
}

case "$action" in
start)
    mkdir -p "$state"
    stop   # what an interrupted run left
    # Both outlive this script, in sessions of their own, their output in
    # the state folder: CTest waits for every process that holds a test's
    # output. The server writes its display's number once it is ready, and
    # openbox runs its start-up command once it manages the screen.
    setsid Xvfb -displayfd 3 -screen 0 1920x1200x24 -dpi 96 -nolisten tcp -noreset \
        3>"$state/display" </dev/null >"$state/xvfb.log" 2>&1 &
    echo $! >"$state/xvfb.pid"
    await "$state/display" Xvfb
    DISPLAY=":$(cat "$state/display")" setsid openbox --sm-disable --startup "sh -c \"echo ready >'$state/ready'\"" \
        </dev/null >"$state/openbox.log" 2>&1 &
    echo $! >"$state/openbox.pid"
    await "$state/ready" openbox
    echo "virtual desktop :$(cat "$state/display")"
    ;;
run)
    [ -s "$state/display" ] || {
        echo "virtual-desktop.sh: no virtual desktop in $state; CTest starts it for the tests that need it (fixture desktop)" >&2
        exit 1
    }
    DISPLAY=":$(cat "$state/display")" exec "$@"
    ;;
stop)
    stop
    ;;
*)
    echo "usage: virtual-desktop.sh start|run|stop <folder> [command...]" >&2
    exit 2
    ;;
esac
