// Figure X24: the big plan exported as an exchange file, with the generator's descriptions,
// results and history. The floor reads the same rows with one plain query per table and saves
// as many bytes the same way.
#include "BenchClock.h"
#include "BenchRun.h"

#include "core/db/AdoConnection.h"
#include "model/TestPlan.h"
#include "platform/KvlError.h"
#include "publishing/XMLFile.h"

#include <QFile>
#include <QSaveFile>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>

namespace {

// The big plan is the first plan of the first configuration.
const QString kConfiguration = QStringLiteral("1");

// The sub-test occurrences below the plan, one row each, ten levels at most.
const QString kOccurrences = QStringLiteral(
    "WITH RECURSIVE OCC(ID, DEPTH) AS (SELECT ID_SUBTEST, 1 FROM TESTPLAN_LINKS WHERE ID_TESTPLAN = ? UNION ALL "
    "SELECT L.ID_SUBTEST_CHILD, O.DEPTH + 1 FROM SUBTEST_LINKS L JOIN OCC O ON L.ID_SUBTEST_PARENT = O.ID "
    "WHERE O.DEPTH < 10) ");

// Every column of every row; the number of rows.
qint64 ReadAll(const QString& statement, const QVariantList& values)
{
    QSqlQuery query = gConnection().Query(statement, values);
    const int columns = query.record().count();
    qint64 rows = 0;
    for (; query.next(); ++rows) {
        for (int i = 0; i < columns; ++i)
            const QVariant value = query.value(i);
    }
    return rows;
}

struct ExportRows
{
    qint64 subTestOccurrences = 0;
    qint64 procedureOccurrences = 0;
    qint64 results = 0;
    qint64 history = 0;
};

// What the export reads, one query per table: the plan, its configuration, the style sheet, the
// history, the links of the subtree, the sub-tests' and procedures' rows with their
// descriptions, the results.
ExportRows ReadExportRows(const QString& planId)
{
    ExportRows read;
    const QVariantList plan{planId.toInt()};
    ReadAll(QStringLiteral("SELECT * FROM TESTPLAN WHERE ID = ?"), plan);
    ReadAll(QStringLiteral("SELECT * FROM CONFIGURATION WHERE ID = ?"), {kConfiguration.toInt()});
    ReadAll(QStringLiteral("SELECT * FROM HTML_TEMPLATES WHERE ID = 17"), {});
    read.history = ReadAll(QStringLiteral("SELECT * FROM HISTORY WHERE ID_TESTPLAN = ? AND ID_CONFIGURATION = ?"),
                           {planId.toInt(), kConfiguration.toInt()});
    read.subTestOccurrences = ReadAll(kOccurrences + QStringLiteral("SELECT ID FROM OCC"), plan);
    read.procedureOccurrences = ReadAll(
        kOccurrences + QStringLiteral("SELECT L.* FROM OCC O JOIN PROCEDURE_LINKS L ON L.ID_SUBTEST = O.ID"), plan);
    ReadAll(kOccurrences + QStringLiteral("SELECT ID, NAME, TITLE, DESCRIPTION FROM SUBTEST WHERE ID IN "
                                          "(SELECT ID FROM OCC)"),
            plan);
    ReadAll(kOccurrences + QStringLiteral("SELECT ID, NAME, TITLE, WORKLOAD, DESCRIPTION, RESULT FROM PROCEDURES "
                                          "WHERE ID IN (SELECT L.ID_PROCEDURE FROM OCC O JOIN PROCEDURE_LINKS L ON "
                                          "L.ID_SUBTEST = O.ID)"),
            plan);
    read.results = ReadAll(QStringLiteral("SELECT * FROM RESULT WHERE ID_TESTPLAN = ?"), plan);
    return read;
}

// The plan, its configuration and the sub-test and procedure occurrences whose description is
// not Null: the descriptions the file must show with their text.
qint64 FilledDescriptions(const QString& planId)
{
    const QVariantList plan{planId.toInt()};
    const auto count = [](const QString& statement, const QVariantList& values) {
        return gConnection().Scalar(statement, values).toLongLong();
    };
    return count(kOccurrences + QStringLiteral("SELECT COUNT(*) FROM OCC O JOIN SUBTEST S ON S.ID = O.ID "
                                               "WHERE S.DESCRIPTION IS NOT NULL"),
                 plan) +
           count(kOccurrences + QStringLiteral("SELECT COUNT(*) FROM OCC O JOIN PROCEDURE_LINKS L ON L.ID_SUBTEST = "
                                               "O.ID JOIN PROCEDURES P ON P.ID = L.ID_PROCEDURE WHERE P.DESCRIPTION "
                                               "IS NOT NULL"),
                 plan) +
           count(QStringLiteral("SELECT COUNT(*) FROM TESTPLAN WHERE ID = ? AND DESCRIPTION IS NOT NULL"), plan) +
           count(QStringLiteral("SELECT COUNT(*) FROM CONFIGURATION WHERE ID = ? AND DESCRIPTION IS NOT NULL"),
                 {kConfiguration.toInt()});
}

void Save(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw KvlError(QStringLiteral("%1 could not be written").arg(path));
}

qsizetype Count(const QByteArray& file, const char* text)
{
    return file.count(text);
}

}  // namespace

BenchFigure BenchRun::ExportFigure()
{
    BenchFigure figure{QStringLiteral("X24"), QStringLiteral("big plan exported as XML (floor: reads, its bytes)"),
                       QStringLiteral("1000 ms")};
    try {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("plan.xml"));
        const QVariant resultsBefore = gConnection().Scalar(QStringLiteral("SELECT COUNT(*) FROM RESULT"));
        bool done = true;
        figure.value = BenchClock::MedianMs(m_runs, [&] {
            TestPlan plan;
            done = plan.Find(m_bigPlanId) == 0 && done;
            plan.SetIdConfiguration(kConfiguration);
            XMLFile file;
            file.SetFileName(path);
            done = file.Export(plan) == 0 && done;
        });
        QFile written(path);
        const QByteArray bytes = written.open(QIODevice::ReadOnly) ? written.readAll() : QByteArray();
        ExportRows rows;
        const QString copy = folder.filePath(QStringLiteral("floor.xml"));
        figure.floor = BenchClock::MedianMs(m_runs, [&] {
            rows = ReadExportRows(m_bigPlanId);
            Save(copy, bytes);
        });
        const qsizetype procedures = Count(bytes, "<procedure>");
        const qsizetype subTests = Count(bytes, "<subtest");
        const qsizetype played = procedures - Count(bytes, "<datefirstplayed>Unplayed</datefirstplayed>");
        const qsizetype history = Count(bytes, "<history>");
        const bool unchanged = gConnection().Scalar(QStringLiteral("SELECT COUNT(*) FROM RESULT")) == resultsBefore;
        const qsizetype descriptions = Count(bytes, "<description>");
        const qsizetype shown = descriptions - Count(bytes, "<description>&lt;![CDATA[]]&gt;</description>");
        Expect(done && unchanged && procedures == rows.procedureOccurrences &&
                   procedures == m_shape.BigPlanOccurrences() && subTests == rows.subTestOccurrences &&
                   rows.results > 0 && played == rows.results && Count(bytes, "<comment>Played</comment>") == played &&
                   history == rows.history && descriptions == subTests + procedures + 2 &&
                   shown == FilledDescriptions(m_bigPlanId) && Count(bytes, "<expected_result>") == procedures,
               QStringLiteral("figure X24: %1 procedures, %2 sub-tests, %3 played, %4 history rows and %5 "
                              "descriptions written for %6, %7, %8 results, %9 history rows and %10 descriptions "
                              "read%11")
                   .arg(procedures)
                   .arg(subTests)
                   .arg(played)
                   .arg(history)
                   .arg(shown)
                   .arg(rows.procedureOccurrences)
                   .arg(rows.subTestOccurrences)
                   .arg(rows.results)
                   .arg(rows.history)
                   .arg(FilledDescriptions(m_bigPlanId))
                   .arg(done ? (unchanged ? QString() : QStringLiteral(", results inserted"))
                             : QStringLiteral(", the export failed")));
    } catch (const std::exception& error) {
        Expect(false, QStringLiteral("figure X24: %1").arg(QString::fromUtf8(error.what())));
    }
    return figure;
}
