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
    local name pid
    for name in openbox xvfb; do
        [ -f "$state/$name.pid" ] || continue
        pid="$(cat "$state/$name.pid")"
        kill "$pid" 2>/dev/null || true
        # Gone, or a zombie that nobody here may reap.
        for _ in $(seq 50); do
            case "$(ps -o stat= -p "$pid" 2>/dev/null)" in "" | Z*) break ;; esac
            sleep 0.1
        done
        rm -f "$state/$name.pid"
    done
    rm -f "$state/display"
}

# The display's number once the server has written it, or nothing.
display_number() {
    [ -s "$state/display" ] && head -n 1 "$state/display"
}

case "$action" in
start)
    mkdir -p "$state"
    stop   # what an interrupted run left
    # Both outlive this script, in sessions of their own, their output in
    # the state folder: CTest waits for every process that holds a test's
    # output.
    setsid Xvfb -displayfd 3 -screen 0 1920x1200x24 -dpi 96 -nolisten tcp -noreset \
        3>"$state/display" </dev/null >"$state/xvfb.log" 2>&1 &
    echo $! >"$state/xvfb.pid"
    for _ in $(seq 300); do display_number >/dev/null && break; sleep 0.1; done
    number="$(display_number)" || { cat "$state/xvfb.log" >&2; echo "virtual-desktop.sh: Xvfb did not start" >&2; exit 1; }
    DISPLAY=":$number" setsid openbox --sm-disable </dev/null >"$state/openbox.log" 2>&1 &
    echo $! >"$state/openbox.pid"
    # Ready once openbox has said it manages the screen, within 30 s.
    DISPLAY=":$number" /usr/bin/python3 - <<'PYTHON' && { echo "virtual desktop :$number"; exit 0; }
import sys, time, Xlib.display
x = Xlib.display.Display()
root, check = x.screen().root, x.intern_atom("_NET_SUPPORTING_WM_CHECK")
deadline = time.monotonic() + 30
while root.get_full_property(check, 0) is None:
    if time.monotonic() > deadline:
        sys.exit(1)
    time.sleep(0.1)
PYTHON
    cat "$state/openbox.log" >&2
    echo "virtual-desktop.sh: openbox did not start" >&2
    exit 1
    ;;
run)
    number="$(display_number)" || {
        echo "virtual-desktop.sh: no virtual desktop in $state; CTest starts it for the tests that need it (fixture desktop)" >&2
        exit 1
    }
    DISPLAY=":$number" exec "$@"
    ;;
stop)
    stop
    ;;
*)
    echo "usage: virtual-desktop.sh start|run|stop <folder> [command...]" >&2
    exit 2
    ;;
esac
