#include "probe.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <sys/resource.h>
#include <unistd.h>

namespace isdbench {

namespace {

constexpr int kSettleMs = 1000;
constexpr int kIdleMs = 5000;
// A window that has not painted by then never will: no display, say.
constexpr int kPaintDeadlineMs = 30000;

qint64 clockNs(clockid_t clock)
{
    timespec ts{};
    clock_gettime(clock, &ts);
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

// User plus system time of every thread of the process.
qint64 cpuNs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ns = [](const timeval &tv) { return qint64(tv.tv_sec) * 1000000000 + qint64(tv.tv_usec) * 1000; };
    return ns(usage.ru_utime) + ns(usage.ru_stime);
}

// How long ago the process started, in nanoseconds; `source` says from what.
qint64 sinceStartNs(const char **source)
{
    bool ok = false;
    const qint64 launchUs = qEnvironmentVariable("ISD5116_BENCH_LAUNCH_US").toLongLong(&ok);
    if (ok && launchUs > 0) {
        *source = "env";
        return clockNs(CLOCK_REALTIME) - launchUs * 1000;
    }
    // Field 22 of /proc/self/stat: start time in clock ticks since boot. The
    // command name (field 2) may hold spaces; count from its closing ')'.
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (stat.open(QIODevice::ReadOnly)) {
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 19) {
            const qint64 ticks = fields.at(19).toLongLong();
            *source = "proc";
            return clockNs(CLOCK_BOOTTIME) - ticks * (1000000000 / sysconf(_SC_CLK_TCK));
        }
    }
    *source = "none";
    return -1;
}

// Peak resident set size in KiB: VmHWM, or ru_maxrss where /proc is missing.
long peakKib()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith("VmHWM:"))
                return line.mid(6).trimmed().split(' ').first().toLong();
        }
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

class Probe : public QObject
{
public:
    Probe(QWidget *window, const char *name)
        : QObject(window), m_window(window), m_name(name)
    {
        window->installEventFilter(this);
        m_deadline.setSingleShot(true);
        m_deadline.callOnTimeout(this, [this] {
            std::fprintf(stderr, "isd5116-bench: %s did not paint within %d ms\n", m_name, kPaintDeadlineMs);
            QCoreApplication::exit(1);
        });
        m_deadline.start(kPaintDeadlineMs);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_window && event->type() == QEvent::Paint) {
            m_window->removeEventFilter(this);
            // The children paint and the backing store is flushed in the
            // same pass; a zero timer fires once that pass is over.
            QTimer::singleShot(0, this, [this] { painted(); });
        }
        return false;
    }

private:
    void painted()
    {
        m_deadline.stop();
        m_startupNs = sinceStartNs(&m_startSource);
        m_startupCpuNs = cpuNs();
        QTimer::singleShot(kSettleMs, Qt::PreciseTimer, this, [this] { startIdle(); });
    }

    void startIdle()
    {
        m_cpuAtIdle = cpuNs();
        m_idle.start();
        QTimer::singleShot(kIdleMs, Qt::PreciseTimer, this, [this] { finish(); });
    }

    void finish()
    {
        const qint64 cpu = cpuNs() - m_cpuAtIdle;
        const qint64 wall = m_idle.nsecsElapsed();
        std::printf("isd5116-bench name=%s platform=%s qt=%s size=%dx%d start=%s startup_ms=%.1f"
                    " startup_cpu_ms=%.1f vmhwm_kib=%ld idle_cpu_pct=%.4f idle_wall_ms=%.1f\n",
                    m_name, qPrintable(QGuiApplication::platformName()), qVersion(), m_window->width(),
                    m_window->height(), m_startSource, m_startupNs / 1e6, m_startupCpuNs / 1e6, peakKib(),
                    100.0 * double(cpu) / double(wall), wall / 1e6);
        std::fflush(stdout);
        QCoreApplication::quit();
    }

    QWidget *m_window;
    const char *m_name;
    const char *m_startSource = "none";
    qint64 m_startupNs = -1;
    qint64 m_startupCpuNs = 0;
    qint64 m_cpuAtIdle = 0;
    QElapsedTimer m_idle;
    QTimer m_deadline;
};

} // namespace

void watch(QWidget *window, const char *name)
{
    new Probe(window, name);
}

} // namespace isdbench
