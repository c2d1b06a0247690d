#!/usr/bin/env bash
# Opens the window as a desktop would for a screen reader and drives it
# through the Linux accessibility stack with test_window.py: a virtual X
# server (Xvfb, Qt's xcb platform), a private D-Bus session, the AT-SPI bus
# and registry, and an AT-SPI client. Every process started here is stopped
# on exit, on failure too. Exits non-zero on any failed case, and when any
# part of the stack cannot start: a missing tool is a failure, not a skip.
#
#   bash tests/accessibility/run.sh path/to/isd5116-config
# shellcheck disable=SC2317  # stop_all, sweep and cleanup run from traps
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
python=/usr/bin/python3   # Debian's, which has pyatspi; not one found on PATH
launcher=/usr/libexec/at-spi-bus-launcher

fail() {
    echo "accessibility: $*" >&2
    exit 1
}

# Waits up to $1 tenths of a second for the command that follows to succeed.
wait_for() {
    local tenths="$1"
    shift
    for _ in $(seq "$tenths"); do
        "$@" && return 0
        sleep 0.1
    done
    "$@"
}

# --- inside the private D-Bus session (see the end of this file) -------------
if [ "${1:-}" = "--in-session" ]; then
    shift
    program="$1"
    pids=()
    # Stops each started process group: TERM, then KILL after 5 s.
    stop_all() {
        local pid
        for pid in "${pids[@]}"; do
            kill -TERM -- "-$pid" 2>/dev/null || true
        done
        for pid in "${pids[@]}"; do
            wait_for 50 eval "! kill -0 -- -$pid 2>/dev/null" || kill -KILL -- "-$pid" 2>/dev/null || true
            wait "$pid" 2>/dev/null || true
        done
    }
    trap stop_all EXIT

    # The accessibility bus, each started process in a process group of its own.
    setsid "$launcher" --launch-immediately >"$ISD5116_A11Y_RUN/bus.log" 2>&1 &
    pids+=($!)
    # Asks the session bus whether the name is taken, without activating it.
    bus_is_up() {
        dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
            org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null | grep -q 'boolean true'
    }
    if ! wait_for 100 bus_is_up; then
        cat "$ISD5116_A11Y_RUN/bus.log" >&2
        fail "the accessibility bus (at-spi-bus-launcher) did not start"
    fi

    QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \
        setsid "$program" >"$ISD5116_A11Y_RUN/program.log" 2>&1 &
    program_pid=$!
    pids+=("$program_pid")

    status=0
    timeout 180 "$python" "$here/test_window.py" --pid "$program_pid" || status=$?
    if ! kill -0 "$program_pid" 2>/dev/null; then
        echo "accessibility: the program is no longer running" >&2
        status=1
    fi
    if [ "$status" -ne 0 ] && [ -s "$ISD5116_A11Y_RUN/program.log" ]; then
        echo "--- program output ---" >&2
        cat "$ISD5116_A11Y_RUN/program.log" >&2
    fi
    exit "$status"
fi

# --- outside: checks, the X server, then this script again in the session ---
program="${1:-}"
[ -n "$program" ] || fail "usage: run.sh path/to/isd5116-config"
[ -x "$program" ] || fail "$program is not an executable program"
for tool in Xvfb dbus-run-session dbus-send setsid timeout "$launcher" "$python"; do
    command -v "$tool" >/dev/null 2>&1 || fail "$tool is missing (bash scripts/setup.sh installs it)"
done
"$python" -c 'import pyatspi' 2>/dev/null ||
    fail "$python cannot import pyatspi (Debian packages python3-pyatspi, gir1.2-atspi-2.0)"

tmp="$(mktemp -d)"
chmod 700 "$tmp"
# Every process started from here on carries this variable; the sweep on exit
# stops any of them still running, whoever its parent.
export ISD5116_A11Y_RUN="$tmp"
xvfb_pid=""
session_pid=""

# Sends signal $1 to every process that carries this run's variable.
sweep() {
    local environ pid vars
    for environ in /proc/[0-9]*/environ; do
        pid="${environ#/proc/}"
        pid="${pid%/environ}"
        [ "$pid" != "$$" ] || continue
        mapfile -d "" vars 2>/dev/null <"$environ" || continue
        local v
        for v in "${vars[@]}"; do
            if [ "$v" = "ISD5116_A11Y_RUN=$tmp" ]; then
                kill "-$1" "$pid" 2>/dev/null || true
                break
            fi
        done
    done
}
cleanup() {
    local status=$?
    trap - EXIT INT TERM
    if [ -n "$session_pid" ]; then
        kill -TERM "$session_pid" 2>/dev/null || true
        wait "$session_pid" 2>/dev/null || true
    fi
    sweep TERM
    if [ -n "$xvfb_pid" ]; then
        kill -TERM "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    # Whatever ignored the request is killed.
    sleep 0.2
    sweep KILL
    rm -rf "$tmp"
    exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# A display of its own: -displayfd picks a free number and writes it once the
# server accepts clients.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -dpi 96 -nolisten tcp 3>"$tmp/display" 2>"$tmp/xvfb.log" &
xvfb_pid=$!
if ! wait_for 100 test -s "$tmp/display"; then
    tail -n 20 "$tmp/xvfb.log" >&2
    fail "Xvfb did not start"
fi

# A clean environment for the stack: nothing of the caller's desktop, test
# platform or accessibility settings comes through.
unset XAUTHORITY WAYLAND_DISPLAY QT_QPA_PLATFORM QT_ACCESSIBILITY NO_AT_BRIDGE AT_SPI_BUS_ADDRESS \
    DBUS_SESSION_BUS_ADDRESS QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_FONT_DPI
DISPLAY=":$(head -n 1 "$tmp/display")"
export DISPLAY
# The bus sockets and Qt's runtime files go into this run's own folder.
mkdir -m 700 "$tmp/runtime"
export XDG_RUNTIME_DIR="$tmp/runtime"
export PYTHONUTF8=1

dbus-run-session -- bash "${BASH_SOURCE[0]}" --in-session "$program" &
session_pid=$!
status=0
wait "$session_pid" || status=$?
session_pid=""
exit "$status"
