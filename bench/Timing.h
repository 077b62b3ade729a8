#pragma once

// Timing and reporting helpers of the benchmark: each operation is run a
// number of times, and its median, minimum and maximum are set against the
// median of the same work done through the engine's C API.

#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <algorithm>
#include <sys/resource.h>
#include <vector>

namespace bench {

struct Samples {
    std::vector<double> ms;

    void add(double v) { ms.push_back(v); }
    bool empty() const { return ms.empty(); }
    double median() const
    {
        if (ms.empty())
            return 0;
        std::vector<double> v = ms;
        std::sort(v.begin(), v.end());
        const size_t n = v.size();
        return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
    }
    double min() const { return ms.empty() ? 0 : *std::min_element(ms.begin(), ms.end()); }
    double max() const { return ms.empty() ? 0 : *std::max_element(ms.begin(), ms.end()); }
};

// Milliseconds taken by one call of f.
template <class F> double timeOnce(F&& f)
{
    QElapsedTimer t;
    t.start();
    f();
    return double(t.nsecsElapsed()) / 1e6;
}

// One line of the report.
struct Line {
    QString operation;
    Samples layer; // the operation as the user waits for it
    Samples work;  // window operations: the same without the repaint
    Samples raw;   // the same query work through the C API (may be empty)
    double targetMs = 100;
    // Query-bound operations must stay within 1.5 times their baseline.
    bool ratioTarget = true;
    QString note;
    // Part of the work left out of the ratio (milliseconds): building a
    // window, which has no counterpart in the C API; shown in the note.
    double excludedMs = 0;
    // Set when the operation did not do its work (a save not stored, a
    // typed text not taken): its figures then mean nothing.
    QString failure;

    // The ratio is taken on the work without the repaint, which has no
    // counterpart in the C API.
    const Samples& measured() const { return work.empty() ? layer : work; }
    double paintMs() const { return work.empty() ? 0 : layer.median() - work.median(); }
    double ratio() const
    {
        return raw.empty() || raw.median() <= 0 ? 0 : queryWorkMs() / raw.median();
    }
    double queryWorkMs() const { return std::max(0.0, measured().median() - excludedMs); }
    bool timeMissed() const { return targetMs > 0 && layer.median() > targetMs; }
    // Below a millisecond of excess over 1.5 times the baseline the ratio
    // only measures the fixed cost of handling an event.
    bool ratioMissed() const
    {
        return ratioTarget && !raw.empty() && ratio() > 1.5 &&
               queryWorkMs() - 1.5 * raw.median() > 1.0;
    }
};

inline double PeakMemoryMb()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_maxrss) / 1024.0; // kilobytes on Linux
}

inline QString FormatMs(double ms)
{
    if (ms >= 100)
        return QString::number(ms, 'f', 1);
    if (ms >= 1)
        return QString::number(ms, 'f', 2);
    return QString::number(ms, 'f', 3);
}

inline void PrintHeader(QTextStream& out)
{
    out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7  %8\n")
               .arg(QStringLiteral("operation (ms)"), -48)
               .arg(QStringLiteral("median"), 9)
               .arg(QStringLiteral("min"), 9)
               .arg(QStringLiteral("max"), 9)
               .arg(QStringLiteral("paint"), 7)
               .arg(QStringLiteral("raw med"), 9)
               .arg(QStringLiteral("ratio"), 6)
               .arg(QStringLiteral("target"));
    out.flush();
}

inline void PrintLine(QTextStream& out, const Line& l)
{
    QString target =
        l.targetMs > 0 ? QStringLiteral("<%1 ms").arg(l.targetMs) : QStringLiteral("-");
    if (l.ratioTarget && !l.raw.empty())
        target += QStringLiteral(", x1.5");
    QStringList missed;
    if (l.timeMissed())
        missed << QStringLiteral("time");
    if (l.ratioMissed())
        missed << QStringLiteral("ratio");
    if (!missed.isEmpty())
        target +=
            QStringLiteral("  MISSED (") + missed.join(QStringLiteral(", ")) + QLatin1Char(')');
    out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7  %8")
               .arg(l.operation.left(48), -48)
               .arg(FormatMs(l.layer.median()), 9)
               .arg(FormatMs(l.layer.min()), 9)
               .arg(FormatMs(l.layer.max()), 9)
               .arg(l.work.empty() ? QStringLiteral("-") : FormatMs(l.paintMs()), 7)
               .arg(l.raw.empty() ? QStringLiteral("-") : FormatMs(l.raw.median()), 9)
               .arg(l.raw.empty() ? QStringLiteral("-") : QString::number(l.ratio(), 'f', 2), 6)
               .arg(target);
    if (!l.note.isEmpty())
        out << QStringLiteral("  [") << l.note << QLatin1Char(']');
    if (!l.failure.isEmpty())
        out << QStringLiteral("  FAILED: ") << l.failure;
    out << '\n';
    out.flush();
}

} // namespace bench
