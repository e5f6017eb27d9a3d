// Figure X25: the big plan's exchange file imported as a new test plan, shown in the explorer.
// The floor inserts the same rows with batched statements in one transaction. Each run's plan is
// removed before the next, so the figures after this one meet the database the generator wrote.
#include "BenchClock.h"
#include "BenchRun.h"

#include "core/db/AdoConnection.h"
#include "core/db/BatchInsert.h"
#include "core/services/ExplorerNodes.h"
#include "model/Configuration.h"
#include "model/TestPlan.h"
#include "platform/KvlError.h"
#include "publishing/XMLFile.h"

#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>

namespace {

// The big plan is the first plan of the first configuration.
const QString kConfiguration = QStringLiteral("1");

int Highest(const QString& table)
{
    return gConnection().Scalar(QStringLiteral("SELECT COALESCE(MAX(ID), 0) FROM ") + table).toInt();
}

// The rows of one table that an import adds: those above the highest ids held before it.
struct ImportedRows
{
    QString table;
    QString added;  // condition with one bound id
    QVariant mark;
    QStringList columns;
    QList<QVariantList> rows;
};

// Every table an import writes, parents first.
QList<ImportedRows> ImportedTables()
{
    const QVariant configuration = Highest(QStringLiteral("CONFIGURATION"));
    const QVariant plan = Highest(QStringLiteral("TESTPLAN"));
    const QVariant subTest = Highest(QStringLiteral("SUBTEST"));
    const QVariant procedure = Highest(QStringLiteral("PROCEDURES"));
    const QString planAbove = QStringLiteral("ID_TESTPLAN > ?");
    return {{QStringLiteral("CONFIGURATION"), QStringLiteral("ID > ?"), configuration, {}, {}},
            {QStringLiteral("TESTPLAN"), QStringLiteral("ID > ?"), plan, {}, {}},
            {QStringLiteral("CONFIGURATION_LINKS"), planAbove, plan, {}, {}},
            {QStringLiteral("SUBTEST"), QStringLiteral("ID > ?"), subTest, {}, {}},
            {QStringLiteral("PROCEDURES"), QStringLiteral("ID > ?"), procedure, {}, {}},
            {QStringLiteral("TESTPLAN_LINKS"), planAbove, plan, {}, {}},
            {QStringLiteral("SUBTEST_LINKS"), QStringLiteral("ID_SUBTEST_PARENT > ?"), subTest, {}, {}},
            {QStringLiteral("PROCEDURE_LINKS"), QStringLiteral("ID_SUBTEST > ?"), subTest, {}, {}},
            {QStringLiteral("RESULT"), planAbove, plan, {}, {}},
            {QStringLiteral("HISTORY"), planAbove, plan, {}, {}}};
}

void ReadRows(ImportedRows& table)
{
    QSqlQuery query =
        gConnection().Query(QStringLiteral("SELECT * FROM %1 WHERE %2").arg(table.table, table.added), {table.mark});
    const QSqlRecord record = query.record();
    table.columns.clear();
    for (int i = 0; i < record.count(); ++i)
        table.columns << QLatin1Char('"') + record.fieldName(i) + QLatin1Char('"');
    table.rows.clear();
    while (query.next()) {
        QVariantList row;
        for (int i = 0; i < record.count(); ++i)
            row << query.value(i);
        table.rows << row;
    }
}

// Deletes what the import added, children first, with the explorer nodes of its configurations.
void RemoveImported(const QList<ImportedRows>& tables)
{
    AdoConnection& connection = gConnection();
    for (auto table = tables.crbegin(); table != tables.crend(); ++table)
        connection.Run(QStringLiteral("DELETE FROM %1 WHERE %2").arg(table->table, table->added), {table->mark});
    ExplorerNodes& tree = gExplorerNodes();
    for (int id = tables.first().mark.toInt() + 1;; ++id) {
        const QString key = Configuration::NodeKeyOf(QString::number(id));
        if (!tree.Exist(key))
            break;
        tree.Remove(key);
    }
}

qsizetype RowsOf(const QList<ImportedRows>& tables, const QString& name)
{
    for (const ImportedRows& table : tables)
        if (table.table == name)
            return table.rows.size();
    return -1;
}

}  // namespace

BenchFigure BenchRun::ImportFigure()
{
    BenchFigure figure{QStringLiteral("X25"),
                       QStringLiteral("big plan imported from XML (floor: its rows inserted in batches)"),
                       QStringLiteral("2000 ms")};
    try {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("plan.xml"));
        TestPlan plan;
        bool done = plan.Find(m_bigPlanId) == 0;
        plan.SetIdConfiguration(kConfiguration);
        XMLFile exported;
        exported.SetFileName(path);
        done = exported.Export(plan) == 0 && done;
        QFile written(path);
        const QByteArray bytes = written.open(QIODevice::ReadOnly) ? written.readAll() : QByteArray();

        QList<ImportedRows> tables = ImportedTables();
        bool first = true;
        figure.value = BenchClock::MedianMs(
            m_runs,
            [&] {
                if (!first)
                    RemoveImported(tables);
                first = false;
            },
            [&] {
                XMLFile file;
                file.SetFileName(path);
                file.SetKeepName(true);
                done = file.Import() == 0 && done;
            });
        // The last run's rows stay for the floor to insert again.
        for (ImportedRows& table : tables)
            ReadRows(table);
        figure.floor = BenchClock::MedianMs(
            m_runs, [&] { RemoveImported(tables); },
            [&] {
                AdoConnection& connection = gConnection();
                DbTransaction transaction(connection);
                for (const ImportedRows& table : tables) {
                    BatchInsert insert(connection,
                                       QStringLiteral("INSERT INTO %1 (%2) VALUES ")
                                           .arg(table.table, table.columns.join(QStringLiteral(", "))),
                                       static_cast<int>(table.columns.size()));
                    for (const QVariantList& row : table.rows)
                        insert.Add(row);
                    insert.Flush();
                }
                if (!transaction.Commit())
                    throw KvlError(QStringLiteral("the floor's rows could not be committed"));
            });
        RemoveImported(tables);

        const qsizetype procedures = bytes.count("<procedure>");
        const qsizetype subTests = bytes.count("<subtest");
        const qsizetype history = bytes.count("<history>");
        const qsizetype links = RowsOf(tables, QStringLiteral("PROCEDURE_LINKS"));
        const qsizetype results = RowsOf(tables, QStringLiteral("RESULT"));
        const qsizetype storedSubTests = RowsOf(tables, QStringLiteral("SUBTEST"));
        const qsizetype storedHistory = RowsOf(tables, QStringLiteral("HISTORY"));
        const bool left = Highest(QStringLiteral("TESTPLAN")) == tables[1].mark.toInt();
        // Today's row is recomputed from the results whether or not the file has one.
        Expect(done && left && procedures == m_shape.BigPlanOccurrences() && links == procedures &&
                   results == procedures && storedSubTests == subTests && storedHistory >= history &&
                   storedHistory <= history + 1 && RowsOf(tables, QStringLiteral("TESTPLAN")) == 1,
               QStringLiteral("figure X25: %1 procedure links, %2 results, %3 sub-tests and %4 history rows stored "
                              "for %5 procedures, %6 sub-tests and %7 history rows in the file%8")
                   .arg(links)
                   .arg(results)
                   .arg(storedSubTests)
                   .arg(storedHistory)
                   .arg(procedures)
                   .arg(subTests)
                   .arg(history)
                   .arg(done ? (left ? QString() : QStringLiteral(", an imported plan left behind"))
                             : QStringLiteral(", the export or an import failed")));
    } catch (const std::exception& error) {
        Expect(false, QStringLiteral("figure X25: %1").arg(QString::fromUtf8(error.what())));
    }
    return figure;
}
