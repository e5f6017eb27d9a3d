// The benchmark of the object model on a generated database: one line per figure, its floor
// (the engine reading the same rows in one plain query) and their ratio, for each engine.
#include "editor/WebEngineSanitizerOptions.h"
#include "BenchDatabase.h"
#include "BenchFloors.h"
#include "BenchGenerator.h"
#include "BenchReport.h"
#include "BenchRun.h"

#include "TestEnvironment.h"

#include "core/db/AdoConnection.h"
#include "model/History.h"

#include <QCommandLineParser>
#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>

namespace {

// What the database holds against what the generator says it wrote: the marked descriptions as
// the search's LIKE finds them, and the last day of each plan's history as the history writer
// computes it from the results.
QStringList GeneratedFaults(const BenchGenerator& generator, const BenchShape& shape)
{
    QStringList faults;
    AdoConnection& connection = gConnection();
    const QString pattern = QLatin1Char('%') + QLatin1String(BenchGenerator::kSearchWord) + QLatin1Char('%');
    const BenchGenerator::Counts& marked = generator.MarkedDescriptions();
    const qint64 found = BenchFloors::DescriptionMatches(pattern);
    if (found != marked.Total())
        faults << QStringLiteral("%1 descriptions match, %2 were marked").arg(found).arg(marked.Total());
    const QList<QPair<QString, qint64>> kinds{{QStringLiteral("CONFIGURATION"), marked.configurations},
                                              {QStringLiteral("TESTPLAN"), marked.testPlans},
                                              {QStringLiteral("SUBTEST"), marked.subTests},
                                              {QStringLiteral("PROCEDURES"), marked.procedures}};
    for (const auto& [table, count] : kinds) {
        const qint64 rows =
            connection
                .Scalar(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE DESCRIPTION LIKE ? ESCAPE '\\'").arg(table),
                        {pattern})
                .toLongLong();
        if (rows != count)
            faults << QStringLiteral("%1: %2 descriptions match, %3 were marked").arg(table).arg(rows).arg(count);
    }

    const qint64 plans = qint64(shape.configurations) * shape.plansPerConfiguration + 1;
    const qint64 locations = BenchFloors::SearchLocations();
    if (locations != shape.configurations + plans * (1 + shape.fanOut))
        faults << QStringLiteral("%1 search locations read").arg(locations);

    const qint64 historyRows = connection.Scalar(QStringLiteral("SELECT COUNT(*) FROM HISTORY")).toLongLong();
    if (historyRows != generator.HistoryRows())
        faults << QStringLiteral("%1 history rows, %2 written").arg(historyRows).arg(generator.HistoryRows());
    const QString columns = QStringLiteral(
        "SELECT ID_TESTPLAN, ID_CONFIGURATION, ADVANCEMENT, WORKLOAD, COUNT_PASSED, COUNT_FAILED, COUNT_CANCELED, "
        "COUNT_WARNING FROM HISTORY WHERE DATE_UPDATE = ?");
    QList<QVariantList> lastDays;
    QSqlQuery last = connection.Query(columns + QStringLiteral(" ORDER BY ID_TESTPLAN"),
                                      {BenchGenerator::LastHistoryDay().toString(Qt::ISODate)});
    while (last.next()) {
        QVariantList row;
        for (int i = 0; i < 8; ++i)
            row << last.value(i);
        lastDays << row;
    }
    if (lastDays.size() != std::min(BenchGenerator::kHistoryPlans, shape.configurations))
        faults << QStringLiteral("%1 plans have history on the last day").arg(lastDays.size());
    for (const QVariantList& row : lastDays) {
        // Today's row, written by the history writer and taken back with the transaction.
        DbTransaction transaction(connection);
        UpdateHistory(row[0].toString(), row[1].toString());
        QSqlQuery today = connection.Query(columns + QStringLiteral(" AND ID_TESTPLAN = ?"),
                                           {QDate::currentDate().toString(Qt::ISODate), row[0]});
        bool same = today.next();
        for (int i = 2; same && i < 8; ++i)
            same = std::abs(today.value(i).toDouble() - row[i].toDouble()) < 1e-6;
        if (!same)
            faults << QStringLiteral(
                          "test plan %1: the last day of its history is not what the history writer "
                          "computes")
                          .arg(row[0].toString());
    }
    return faults;
}

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
    const double seconds = timer.elapsed() / 1000.0;
    std::printf(
        "%-9s %s database written in %.1f s: %lld procedure occurrences, %lld in test plan %s, %lld results, "
        "%lld history rows\n",
        qPrintable(engine), qPrintable(shape.name), seconds, static_cast<long long>(shape.Occurrences()),
        static_cast<long long>(shape.BigPlanOccurrences()), qPrintable(generator.BigPlanId()),
        static_cast<long long>(generator.ResultRows()), static_cast<long long>(generator.HistoryRows()));
    const auto print = [&](const char* what, const BenchGenerator::Counts& counts) {
        std::printf("%-9s \"%s\" %s: %lld configurations, %lld test plans, %lld sub-tests, %lld procedures\n",
                    qPrintable(engine), BenchGenerator::kSearchWord, what,
                    static_cast<long long>(counts.configurations), static_cast<long long>(counts.testPlans),
                    static_cast<long long>(counts.subTests), static_cast<long long>(counts.procedures));
    };
    print("in the descriptions of", generator.MarkedDescriptions());
    print("occurs as", generator.MarkedOccurrences());
    print("occurs in the big plan as", generator.BigPlanMarkedOccurrences());
    std::fflush(stdout);
    try {
        const QStringList faults = GeneratedFaults(generator, shape);
        for (const QString& fault : faults)
            std::fprintf(stderr, "%s: the generated database is wrong: %s\n", qPrintable(engine), qPrintable(fault));
        return faults.isEmpty() ? 0 : 1;
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "%s: the generated database could not be checked: %s\n", qPrintable(engine),
                     failure.what());
        return 1;
    }
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
    // Figures 20 and 21 run the description editor's web view.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
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
                      QStringLiteral("Comma-separated figures to measure, e.g. 4,R19 (1, 2 and 7 always)."),
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
