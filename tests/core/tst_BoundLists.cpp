#include "TestDatabase.h"
#include "TestEnvironment.h"

#include "core/db/AdoConnection.h"
#include "core/db/BatchInsert.h"
#include "core/db/BoundLists.h"

#include <QtTest>

// The lengths that bound lists are cut into, and multi-row inserts through them on each engine.
class tst_BoundLists : public QObject
{
    Q_OBJECT

private slots:
    void chunks_data();
    void chunks();
    void padded_data();
    void padded();
    void batchInsert_data();
    void batchInsert();
};

void tst_BoundLists::chunks_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("max");
    QTest::addColumn<QList<qsizetype>>("expected");
    QTest::newRow("none") << 0 << 256 << QList<qsizetype>{};
    QTest::newRow("one") << 1 << 256 << QList<qsizetype>{1};
    QTest::newRow("exactly max") << 256 << 256 << QList<qsizetype>{256};
    QTest::newRow("two full") << 512 << 256 << QList<qsizetype>{256, 256};
    QTest::newRow("rest in powers of two") << 500 << 256 << QList<qsizetype>{256, 128, 64, 32, 16, 4};
    QTest::newRow("full then rest") << 263 << 256 << QList<qsizetype>{256, 4, 2, 1};
}

void tst_BoundLists::chunks()
{
    QFETCH(int, count);
    QFETCH(int, max);
    QFETCH(QList<qsizetype>, expected);
    QCOMPARE(BoundLists::Chunks(count, max), expected);
}

void tst_BoundLists::padded_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("expected");
    QTest::newRow("one") << 1 << 1;
    QTest::newRow("three") << 3 << 3;
    QTest::newRow("five") << 5 << 6;
    QTest::newRow("power of two") << 64 << 64;
    QTest::newRow("between powers") << 65 << 96;
    QTest::newRow("half again") << 300 << 384;
    QTest::newRow("up to max") << 400 << 512;
    QTest::newRow("never past max") << 600 << 512;
}

void tst_BoundLists::padded()
{
    QFETCH(int, count);
    QFETCH(int, expected);
    QCOMPARE(BoundLists::Padded(count, 512), qsizetype(expected));
    QVariantList values;
    for (int i = 1; i <= count; ++i)
        values << i;
    BoundLists::PadWithLast(values, 512);
    QCOMPARE(values.size(), qsizetype(std::max(count, expected)));
    QCOMPARE(values.value(count - 1).toInt(), count);
    QCOMPARE(values.last().toInt(), count);
}

void tst_BoundLists::batchInsert_data()
{
    QTest::addColumn<QString>("backend");
    QTest::addColumn<int>("rows");
    for (const QString& backend : TestDatabase::Backends()) {
        for (int rows : {0, 1, 255, 256, 257, 700})
            QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(backend).arg(rows))) << backend << rows;
    }
}

// Every row lands once with its own values, whatever the cut, and the same insert runs again on
// the statements kept from the first time.
void tst_BoundLists::batchInsert()
{
    QFETCH(QString, backend);
    QFETCH(int, rows);
    TestEnvironment env;
    TestDatabase db(backend);
    KORAVEL_REQUIRE_BACKEND(db);
    AdoConnection& connection = gConnection();
    connection.Run(QStringLiteral("CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY, NAME VARCHAR(20), RUN INTEGER)"));
    for (int run = 1; run <= 2; ++run) {
        BatchInsert insert(connection, QStringLiteral("INSERT INTO T (ID, NAME, RUN) VALUES "), 3);
        for (int i = 0; i < rows; ++i)
            insert.Add({run * 1000 + i, QStringLiteral("n%1").arg(i), run});
        insert.Flush();
        QCOMPARE(connection.Scalar(QStringLiteral("SELECT COUNT(*) FROM T WHERE RUN = ?"), {run}).toInt(), rows);
        if (rows > 0) {
            QCOMPARE(connection.Scalar(QStringLiteral("SELECT SUM(ID) FROM T WHERE RUN = ?"), {run}).toLongLong(),
                     qint64(rows) * run * 1000 + qint64(rows) * (rows - 1) / 2);
            QCOMPARE(connection.Scalar(QStringLiteral("SELECT NAME FROM T WHERE ID = ?"), {run * 1000 + rows - 1})
                         .toString(),
                     QStringLiteral("n%1").arg(rows - 1));
        }
    }
    // A row that breaks the key raises and leaves the rows of its statement out.
    BatchInsert clash(connection, QStringLiteral("INSERT INTO T (ID, NAME, RUN) VALUES "), 3);
    clash.Add({5, QStringLiteral("new"), 3});
    clash.Add({5, QStringLiteral("again"), 3});
    QVERIFY_THROWS_EXCEPTION(std::exception, clash.Flush());
    QCOMPARE(connection.Scalar(QStringLiteral("SELECT COUNT(*) FROM T WHERE RUN = 3")).toInt(), 0);
}

QTEST_GUILESS_MAIN(tst_BoundLists)
#include "tst_BoundLists.moc"
