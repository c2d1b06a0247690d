#!/usr/bin/env bash
# Builds the start-up benchmark in Release into build-bench/ and compares the
# window with an empty window of the same size: time from process start to
# first paint, peak memory and idle CPU, as medians over several runs, under
# a virtual X server. A report: a missed goal does not change the exit code.
#
#   RUNS=5 bash scripts/benchmark.sh
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build-bench"
runs="${RUNS:-5}"

# --- what the build and the X server need -----------------------------------
source "$root/scripts/packages.sh"
ensure_packages "${project_packages[@]}" xvfb

tmp="$(mktemp -d)"
xvfb_pid=""
cleanup() {
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    rm -rf "$tmp"
}
trap cleanup EXIT

# --- build ------------------------------------------------------------------
echo "Building (Release) into $build ..."
if ! { cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DISD5116_BENCHMARK=ON &&
       cmake --build "$build" --parallel "$(nproc)" --target bench-window bench-empty; } >"$tmp/build.log" 2>&1; then
    tail -n 40 "$tmp/build.log"
    echo "The build failed." >&2
    exit 1
fi

# --- display: Xvfb with xcb, offscreen only if Xvfb cannot start ------------
unset WAYLAND_DISPLAY QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_AUTO_SCREEN_SCALE_FACTOR QT_FONT_DPI
display_note="Xvfb, xcb platform"
if command -v Xvfb >/dev/null 2>&1; then
    # -displayfd picks a free display and writes its number once it accepts
    # clients.
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -dpi 96 -nolisten tcp 3>"$tmp/display" 2>"$tmp/xvfb.log" &
    xvfb_pid=$!
    for _ in $(seq 100); do
        [ -s "$tmp/display" ] && break
        kill -0 "$xvfb_pid" 2>/dev/null || break
        sleep 0.1
    done
fi
if [ -s "$tmp/display" ]; then
    DISPLAY=":$(head -n 1 "$tmp/display")"
    export DISPLAY
    export QT_QPA_PLATFORM=xcb
else
    export QT_QPA_PLATFORM=offscreen
    display_note="OFFSCREEN platform: Xvfb could not start, so no X server draws the window"
    echo "WARNING: Xvfb could not start; falling back to QT_QPA_PLATFORM=offscreen." >&2
    [ -s "$tmp/xvfb.log" ] && tail -n 5 "$tmp/xvfb.log" >&2
fi

# --- runs -------------------------------------------------------------------
# The launch time is taken in the forked shell that then execs the program,
# so the start-up time includes loading the program and its libraries, and
# the program's CPU time starts from that fork. A window that does not paint
# within 30 s ends its program with an error.
run_one() {   # name -> the probe's line
    local name="$1" out
    out="$(export ISD5116_BENCH_LAUNCH_US="${EPOCHREALTIME//[.,]/}"
           exec "$build/bench/bench-$name" 2>"$tmp/$name.err")" || true
    out="$(grep '^isd5116-bench ' <<<"$out" || true)"
    if [ -z "$out" ]; then
        echo "bench-$name printed no result:" >&2
        tail -n 20 "$tmp/$name.err" >&2
        exit 1
    fi
    echo "$out"
}
field() {   # line key -> value
    tr ' ' '\n' <<<"$1" | sed -n "s/^$2=//p"
}
median() {   # one value a line on stdin
    sort -g | awk 'NF { v[++n] = $1 } END { if (n % 2) print v[(n + 1) / 2]; else print (v[n / 2] + v[n / 2 + 1]) / 2 }'
}

declare -A startup startcpu memory cpu
for name in empty window; do startup[$name]=""; startcpu[$name]=""; memory[$name]=""; cpu[$name]=""; done

echo "Warm-up run of each (not counted) ..."
first_empty="$(run_one empty)"
first_window="$(run_one window)"

load_before="$(cut -d ' ' -f 1 /proc/loadavg)"
echo "Measuring: $runs runs of each, alternating; each run lasts about 6.5 s."
row='%-4s %-7s %11s %15s %9s %11s\n'
# shellcheck disable=SC2059   # the format is the one above
printf "$row" run name "start-up ms" "(CPU time ms)" "peak MiB" "idle CPU %"
for i in $(seq "$runs"); do
    for name in empty window; do
        line="$(run_one "$name")"
        s="$(field "$line" startup_ms)"
        sc="$(field "$line" startup_cpu_ms)"
        m="$(awk -v k="$(field "$line" vmhwm_kib)" 'BEGIN { printf "%.1f", k / 1024 }')"
        c="$(field "$line" idle_cpu_pct)"
        startup[$name]+="$s"$'\n'
        startcpu[$name]+="$sc"$'\n'
        memory[$name]+="$m"$'\n'
        cpu[$name]+="$c"$'\n'
        # shellcheck disable=SC2059
        printf "$row" "$i" "$name" "$s" "($sc)" "$m" "$c"
    done
done

load_after="$(cut -d ' ' -f 1 /proc/loadavg)"

# --- report -----------------------------------------------------------------
s_win="$(median <<<"${startup[window]}")"; s_emp="$(median <<<"${startup[empty]}")"
t_win="$(median <<<"${startcpu[window]}")"; t_emp="$(median <<<"${startcpu[empty]}")"
m_win="$(median <<<"${memory[window]}")";  m_emp="$(median <<<"${memory[empty]}")"
c_win="$(median <<<"${cpu[window]}")";     c_emp="$(median <<<"${cpu[empty]}")"

echo
echo "Machine:  $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)"
echo "Qt:       $(field "$first_window" qt), platform $(field "$first_window" platform) ($display_note)"
echo "Window:   $(field "$first_window" size), empty window: $(field "$first_empty" size)"
if [ "$(field "$first_window" size)" != "$(field "$first_empty" size)" ]; then
    echo "WARNING: the two windows differ in size; the comparison is not like for like."
fi
echo "Start:    process start taken from: $(field "$first_window" start)" \
     "(env = launch time passed by this script, proc = kernel start time)"
echo "Load:     1-minute load average $load_before before the runs, $load_after after"
if awk -v a="$load_before" -v b="$load_after" -v n="$(nproc)" 'BEGIN { exit !(a > n / 2 || b > n / 2) }'; then
    echo "WARNING: other work kept the machine busy; the start-up figures are noisy."
fi
echo "Date:     $(date '+%Y-%m-%d %H:%M %Z')"
echo
echo "Medians over $runs runs:"
awk -v sw="$s_win" -v se="$s_emp" -v tw="$t_win" -v te="$t_emp" -v mw="$m_win" -v me="$m_emp" -v cw="$c_win" -v ce="$c_emp" '
    function ratio(a, b) { return b > 0 ? sprintf("%.2f", a / b) : "-" }
    function verdict(ok) { return ok ? "PASS" : "MISS" }
    BEGIN {
        fmt = "%-20s %10s %10s %13s   %-18s %s\n"
        printf fmt, "", "window", "empty", "window/empty", "goal", "result"
        printf fmt, "start-up (ms)", sprintf("%.1f", sw), sprintf("%.1f", se), ratio(sw, se),
               "<= 1.5 x empty", verdict(se > 0 && sw <= 1.5 * se)
        printf fmt, "  its CPU time (ms)", sprintf("%.1f", tw), sprintf("%.1f", te), ratio(tw, te),
               "(for reference)", "-"
        printf fmt, "peak memory (MiB)", sprintf("%.1f", mw), sprintf("%.1f", me), ratio(mw, me),
               "<= 1.3 x empty", verdict(me > 0 && mw <= 1.3 * me)
        printf fmt, "idle CPU (% core)", sprintf("%.4f", cw), sprintf("%.4f", ce), ratio(cw, ce),
               "<= 0.1 %", verdict(cw <= 0.1)
    }'
