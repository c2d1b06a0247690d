#pragma once

class QWidget;

namespace isdbench {

// Watches a top-level window until it has painted, lets it settle for a
// second, measures the CPU time the whole process spends over five idle
// seconds, prints one line and quits the application:
//
//   isd5116-bench name=<name> platform=<qpa> qt=<version> size=<w>x<h>
//       start=<env|proc> startup_ms=<ms> startup_cpu_ms=<ms> vmhwm_kib=<KiB>
//       idle_cpu_pct=<%> idle_wall_ms=<ms>
//
// (all on one line). The start-up time runs from the process start to the
// end of the event-loop pass that painted the window for the first time;
// startup_cpu_ms is the CPU time the process used until then, which other
// work on the machine disturbs far less than the wall-clock time. The
// process start is ISD5116_BENCH_LAUNCH_US, CLOCK_REALTIME in microseconds
// taken just before exec, when set; otherwise the kernel's start time of the
// process (10 ms steps).
//
// Call before the window is shown.
void watch(QWidget *window, const char *name);

} // namespace isdbench
