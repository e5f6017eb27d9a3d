#include "BenchClock.h"

#include <QElapsedTimer>
#include <QFile>
#include <QList>
#include <algorithm>
#include <malloc.h>

namespace BenchClock {

double MedianMs(int runs, const std::function<void()>& prepare, const std::function<void()>& body)
{
    QList<double> times;
    for (int i = 0; i < std::max(runs, 1); ++i) {
        if (prepare)
            prepare();
        QElapsedTimer timer;
        timer.start();
        body();
        times << timer.nsecsElapsed() / 1e6;
    }
    std::sort(times.begin(), times.end());
    const qsizetype middle = times.size() / 2;
    return times.size() % 2 ? times[middle] : (times[middle - 1] + times[middle]) / 2;
}

double MedianMs(int runs, const std::function<void()>& body)
{
    return MedianMs(runs, {}, body);
}

double PeakMemoryMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return 0;
}

}  // namespace BenchClock

void BenchClock::ResetPeakMemory()
{
    // What the engine before left free goes back first, or it would count as this one's.
    malloc_trim(0);
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}
