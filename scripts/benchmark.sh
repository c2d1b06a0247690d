#!/usr/bin/env bash
# Builds the start-up benchmark with the "benchmark" preset (Release, into
# build-bench/) and compares the window with the same window built the plain
# way from stock widgets (bench-plain), with an empty window of the same size
# as a second reference, and with the window linked to bind every symbol at
# start (BIND_NOW, as the Debian package links it): time from process start
# to first paint, peak memory and idle CPU, as medians over several runs,
# under a virtual X server. The goals judge the window against the plain
# window; bench/README.md explains them. A report: a missed goal does not
# change the exit code.
#
#   RUNS=5 bash scripts/benchmark.sh
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build-bench"   # the benchmark preset's binary directory
runs="${RUNS:-5}"
names=(window plain empty window-now)

# --- what the build and the X server need -----------------------------------
source "$root/scripts/packages.sh"
ensure_packages "${build_packages[@]}" xvfb xauth

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
echo "Building (preset benchmark: Release) into $build ..."
if ! ( cd "$root" &&
       cmake --preset benchmark &&
       cmake --build --preset benchmark --target bench-window bench-plain bench-empty bench-window-now ) >"$tmp/build.log" 2>&1; then
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

declare -A startup startcpu memory cpu first
for name in "${names[@]}"; do startup[$name]=""; startcpu[$name]=""; memory[$name]=""; cpu[$name]=""; done

echo "Warm-up run of each (not counted) ..."
for name in "${names[@]}"; do first[$name]="$(run_one "$name")"; done

load_before="$(cut -d ' ' -f 1 /proc/loadavg)"
echo "Measuring: $runs runs of each, alternating; each run lasts about 6.5 s."
row='%-4s %-7s %11s %15s %9s %11s\n'
# shellcheck disable=SC2059   # the format is the one above
printf "$row" run name "start-up ms" "(CPU time ms)" "peak MiB" "idle CPU %"
for i in $(seq "$runs"); do
    # Each round starts with the next program, so that none always runs
    # right after the same other one.
    for k in "${!names[@]}"; do
        name="${names[$(( (i - 1 + k) % ${#names[@]} ))]}"
        line="$(run_one "$name")"
        s="$(field "$line" startup_ms)"
        sc="$(field "$line" startup_cpu_ms)"
        m="$(awk -v k="$(field "$line" vmhwm_kib)" 'BEGIN { printf "%.2f", k / 1024 }')"
        c="$(field "$line" idle_cpu_pct)"
        startup[$name]+="$s"$'\n'
        startcpu[$name]+="$sc"$'\n'
        memory[$name]+="$m"$'\n'
        cpu[$name]+="$c"$'\n'
        # shellcheck disable=SC2059
        printf "$row" "$i" "$name" "$s" "($sc)" "$(printf '%.1f' "$m")" "$c"
    done
done

load_after="$(cut -d ' ' -f 1 /proc/loadavg)"

# --- report -----------------------------------------------------------------
medians=()
for name in "${names[@]}"; do
    medians+=("$(median <<<"${startup[$name]}")" "$(median <<<"${startcpu[$name]}")"
              "$(median <<<"${memory[$name]}")" "$(median <<<"${cpu[$name]}")")
done

echo
echo "Machine:  $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)"
echo "Qt:       $(field "${first[window]}" qt), platform $(field "${first[window]}" platform) ($display_note)"
echo "Windows:  window $(field "${first[window]}" size), plain $(field "${first[plain]}" size)," \
     "empty $(field "${first[empty]}" size)"
for name in plain empty; do
    if [ "$(field "${first[window]}" size)" != "$(field "${first[$name]}" size)" ]; then
        echo "WARNING: the window and the $name window differ in size; the comparison is not like for like."
    fi
done
echo "Start:    process start taken from: $(field "${first[window]}" start)" \
     "(env = launch time passed by this script, proc = kernel start time)"
echo "Load:     1-minute load average $load_before before the runs, $load_after after"
if awk -v a="$load_before" -v b="$load_after" -v n="$(nproc)" 'BEGIN { exit !(a > n / 2 || b > n / 2) }'; then
    echo "WARNING: other work kept the machine busy; the start-up figures are noisy."
fi
echo "Date:     $(date '+%Y-%m-%d %H:%M %Z')"
echo
echo "Medians over $runs runs; the goals judge the window against the plain window"
echo "(stock widgets, same controls, diagram as one pixmap); the empty window is for scale."
awk -v m="${medians[*]}" '
    function ratio(a, b) { return b > 0 ? sprintf("%.2f", a / b) : "-" }
    function verdict(ok) { return ok ? "PASS" : "MISS" }
    BEGIN {
        # window, plain, empty; each: start-up, its CPU time, memory, idle CPU
        split(m, v, " ")
        for (k = 1; k <= 4; k++) { w[k] = v[k]; p[k] = v[4 + k]; e[k] = v[8 + k] }
        fmt = "%-19s %9s %9s %9s %13s %13s   %-20s %s\n"
        printf fmt, "", "window", "plain", "empty", "window/plain", "window/empty", "goal", "result"
        printf fmt, "start-up (ms)", sprintf("%.1f", w[1]), sprintf("%.1f", p[1]), sprintf("%.1f", e[1]),
               ratio(w[1], p[1]), ratio(w[1], e[1]), "<= 1.0 x plain", verdict(p[1] > 0 && w[1] <= p[1])
        printf fmt, "  its CPU time (ms)", sprintf("%.1f", w[2]), sprintf("%.1f", p[2]), sprintf("%.1f", e[2]),
               ratio(w[2], p[2]), ratio(w[2], e[2]), "(for reference)", "-"
        printf fmt, "peak memory (MiB)", sprintf("%.1f", w[3]), sprintf("%.1f", p[3]), sprintf("%.1f", e[3]),
               ratio(w[3], p[3]), ratio(w[3], e[3]), "<= 1.05 x plain", verdict(p[3] > 0 && w[3] <= 1.05 * p[3])
        printf fmt, "idle CPU (% core)", sprintf("%.4f", w[4]), sprintf("%.4f", p[4]), sprintf("%.4f", e[4]),
               ratio(w[4], p[4]), ratio(w[4], e[4]), "<= 0.1 % of a core", verdict(w[4] <= 0.1)
    }'
echo
awk -v w="${medians[0]}" -v wc="${medians[1]}" -v n="${medians[12]}" -v nc="${medians[13]}" 'BEGIN {
    printf "BIND_NOW: start-up %.1f ms (CPU %.1f ms) bound at start, %.1f ms (CPU %.1f ms) bound lazily: %+.1f ms (%.2f x)\n",
           n, nc, w, wc, n - w, (w > 0 ? n / w : 0) }'
