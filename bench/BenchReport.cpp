#include "BenchReport.h"

#include <cstdio>

namespace {

QString Amount(double value, const QString& unit)
{
    return value < 0 ? QStringLiteral("-") : QStringLiteral("%1 %2").arg(value, 0, 'f', value < 10 ? 2 : 1).arg(unit);
}

}  // namespace

void BenchReport::PrintHeader() const
{
    std::printf(
        "Koravel benchmark, %s database: %lld procedure occurrences, %lld in the big test plan; "
        "median of %d runs (figure 4: at most 3)\n",
        qPrintable(m_shape.name), static_cast<long long>(m_shape.Occurrences()),
        static_cast<long long>(m_shape.BigPlanOccurrences()), m_runs);
    std::printf("%-9s %-3s %-52s %12s %12s %8s  %s\n", "engine", "#", "figure", "value", "floor", "ratio", "goal");
    std::fflush(stdout);
}

void BenchReport::Add(const QString& engine, const QList<BenchFigure>& figures)
{
    m_engines << engine;
    m_figures.insert(engine, figures);
    for (const BenchFigure& figure : figures) {
        if (!figure.missing.isEmpty()) {
            std::printf("%-9s %-3s %-52s %s\n", qPrintable(engine), qPrintable(figure.number), qPrintable(figure.label),
                        qPrintable(figure.missing));
            continue;
        }
        const QString ratio =
            figure.floor > 0 ? QString::number(figure.value / figure.floor, 'f', 1) : QStringLiteral("-");
        std::printf("%-9s %-3s %-52s %12s %12s %8s  %s\n", qPrintable(engine), qPrintable(figure.number),
                    qPrintable(figure.label), qPrintable(Amount(figure.value, figure.unit)),
                    qPrintable(Amount(figure.floor, figure.unit)), qPrintable(ratio), qPrintable(figure.goal));
    }
    std::fflush(stdout);
}

void BenchReport::Fail(const QString& engine, const QString& why)
{
    ++m_failures;
    std::fprintf(stderr, "%s: FAILED: %s\n", qPrintable(engine), qPrintable(why));
}

void BenchReport::PrintComparison() const
{
    const QList<BenchFigure> base = m_figures.value(QStringLiteral("sqlite"));
    for (const QString& engine : m_engines) {
        if (engine == QLatin1String("sqlite") || base.isEmpty())
            continue;
        std::printf("%s against sqlite (goal: within x3)\n", qPrintable(engine));
        const QList<BenchFigure> figures = m_figures.value(engine);
        for (qsizetype i = 0; i < figures.size() && i < base.size(); ++i) {
            if (figures[i].value < 0 || base[i].value <= 0)
                continue;
            std::printf("  %-3s %-52s %8.1f\n", qPrintable(figures[i].number), qPrintable(figures[i].label),
                        figures[i].value / base[i].value);
        }
    }
}
