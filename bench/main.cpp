// The benchmark of the object model on a generated database: one line per figure, its floor
// (the engine reading the same rows in one plain query) and their ratio, for each engine.
#include "BenchDatabase.h"
#include "BenchGenerator.h"
#include "BenchReport.h"
#include "BenchRun.h"

#include "TestEnvironment.h"

#include "core/db/AdoConnection.h"

#include <QCommandLineParser>
#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

namespace {

// Runs in a process of its own, so that the generator's memory stays out of figure 7.
int Generate(const BenchShape& shape, const QString& engine, const QString& file)
{
    QString error;
    if (!BenchDatabase::Open(engine, file, false, error)) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(engine), qPrintable(error));
        return 1;
    }
    QElapsedTimer timer;
    timer.start();
    BenchGenerator generator(shape);
    try {
        generator.Write();
        // The server's statistics, as its autovacuum would gather them on a database in use.
        if (engine == QLatin1String("postgres"))
            gConnection().Query(QStringLiteral("ANALYZE"));
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "%s: the generator failed: %s\n", qPrintable(engine), failure.what());
        return 1;
    }
    std::printf("%-9s %s database written in %.1f s: %lld procedure occurrences, %lld in test plan %s, %lld results\n",
                qPrintable(engine), qPrintable(shape.name), timer.elapsed() / 1000.0,
                static_cast<long long>(shape.Occurrences()), static_cast<long long>(shape.BigPlanOccurrences()),
                qPrintable(generator.BigPlanId()), static_cast<long long>(generator.ResultRows()));
    std::fflush(stdout);
    return 0;
}

bool RunEngine(const BenchShape& shape, const QString& engine, int runs, const QStringList& only, BenchReport& report)
{
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("bench.db"));
    QString error;
    if (!BenchDatabase::Open(engine, file, true, error)) {
        report.Fail(engine, error);
        return false;
    }
    gConnection().Close();
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--generate"), QStringLiteral("--size"), shape.name, QStringLiteral("--engines"),
                 engine, QStringLiteral("--database"), file});
    if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0) {
        report.Fail(engine, QStringLiteral("the database could not be generated"));
        return false;
    }
    if (!BenchDatabase::Open(engine, file, false, error)) {
        report.Fail(engine, error);
        return false;
    }
    BenchRun run(shape, BenchGenerator::BigPlanId(), runs, only);
    report.Add(engine, run.Figures());
    for (const QString& failure : run.Failures())
        report.Fail(engine, failure);
    gConnection().Close();
    return run.Failures().isEmpty();
}

}  // namespace

int main(int argc, char* argv[])
{
    // Figures 8 and 9 build the explorer window; without a display it is drawn offscreen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption(
        {QStringLiteral("size"), QStringLiteral("large or small."), QStringLiteral("size"), QStringLiteral("large")});
    parser.addOption({QStringLiteral("engines"), QStringLiteral("Comma-separated: sqlite, postgres."),
                      QStringLiteral("engines"), QStringLiteral("sqlite,postgres")});
    parser.addOption({QStringLiteral("runs"), QStringLiteral("Runs per figure; the median is printed."),
                      QStringLiteral("runs"), QStringLiteral("5")});
    parser.addOption({QStringLiteral("figures"),
                      QStringLiteral("Comma-separated figures to measure (1, 2 and 7 always)."),
                      QStringLiteral("figures")});
    parser.addOption({QStringLiteral("generate"), QStringLiteral("Only write the database (used internally).")});
    parser.addOption({QStringLiteral("database"), QStringLiteral("The SQLite file to write."), QStringLiteral("file")});
    parser.process(app);

    BenchShape shape;
    if (!BenchShape::Named(parser.value(QStringLiteral("size")), shape)) {
        std::fprintf(stderr, "Unknown size %s: large or small.\n", qPrintable(parser.value(QStringLiteral("size"))));
        return 2;
    }
    const QStringList engines = parser.value(QStringLiteral("engines")).split(QLatin1Char(','), Qt::SkipEmptyParts);
    // Settings and the error log stay in a world of their own, as in the tests.
    TestEnvironment environment;
    if (parser.isSet(QStringLiteral("generate")))
        return Generate(shape, engines.value(0), parser.value(QStringLiteral("database")));

    const int runs = std::max(1, parser.value(QStringLiteral("runs")).toInt());
    const QStringList only = parser.value(QStringLiteral("figures")).split(QLatin1Char(','), Qt::SkipEmptyParts);
    BenchReport report(shape, runs);
    report.PrintHeader();
    bool ok = true;
    for (const QString& engine : engines)
        ok = RunEngine(shape, engine, runs, only, report) && ok;
    report.PrintComparison();
    if (environment.BugLogEntries() > 0) {
        std::fprintf(stderr, "The error log has entries:\n%s\n", qPrintable(environment.BugLog()));
        ok = false;
    }
    return ok && report.Failures() == 0 ? 0 : 1;
}
