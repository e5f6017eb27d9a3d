#include "TestDatabase.h"
#include "TestEnvironment.h"

#include "core/db/AdoConnection.h"

#include <QDate>
#include <QProcess>
#include <QSqlQuery>
#include <QtTest>

// Two testers on one server create, link and play results on the same plan at once: no id or
// order is taken twice, whatever a client was told it stored is there, and the day's history
// counts the plan's results.
class tst_TwoClients : public QObject
{
    Q_OBJECT

private slots:
    void clientsOnOnePlan();

private:
    static int Count(const QString& sql, const QVariantList& values = {})
    {
        return gConnection().Scalar(sql, values).toInt();
    }
};

void tst_TwoClients::clientsOnOnePlan()
{
    TestEnvironment env;
    TestDatabase db(QStringLiteral("postgres"));
    KORAVEL_REQUIRE_BACKEND(db);
    gConnection().Close();
    QProcess init;
    init.start(QStringLiteral(KORAVEL_DBWORKER), {"init", "pg"});
    QVERIFY(init.waitForFinished(60000));
    QCOMPARE(init.readAllStandardOutput().trimmed(), QByteArray("ready"));

    QList<QProcess*> clients;
    for (const QString name : {"1", "2"}) {
        auto* client = new QProcess(this);
        client->start(QStringLiteral(KORAVEL_DBWORKER), {"client", name, QString::number(100 + name.toInt()), "3000"});
        clients << client;
    }
    QList<QByteArray> lines;
    for (QProcess* client : clients) {
        QVERIFY(client->waitForFinished(120000));
        QCOMPARE(client->exitCode(), 0);
        const QList<QByteArray> own = client->readAllStandardOutput().split('\n');
        int created = 0, played = 0, failed = 0;
        for (const QByteArray& line : own) {
            created += line.startsWith("created ") ? 1 : 0;
            played += line.startsWith("played ") ? 1 : 0;
            failed += line.startsWith("failed ") ? 1 : 0;
        }
        qInfo("client: %d created and linked, %d results played, %d failed", created, played, failed);
        QVERIFY(created > 0);
        // Ids, orders and the day's history row are taken in turn: two clients never clash.
        QCOMPARE(failed, 0);
        lines += own;
    }
    const std::optional<PgServer> server = TestDatabase::Server();
    QVERIFY(gConnection().OpenSQLServer(server->DataSource(), server->database, server->user, server->password));

    // No order twice under one parent, no id twice.
    QCOMPARE(Count("SELECT COUNT(*) FROM (SELECT ID_SUBTEST, ORDER_PROCEDURE FROM PROCEDURE_LINKS "
                   "GROUP BY ID_SUBTEST, ORDER_PROCEDURE HAVING COUNT(*) > 1) D"),
             0);
    QCOMPARE(Count("SELECT COUNT(*) FROM (SELECT ID FROM PROCEDURES GROUP BY ID HAVING COUNT(*) > 1) D"), 0);
    // What each client was told it stored is there; the last result it played on its own
    // procedure holds.
    QHash<QString, int> lastPlayed;
    for (const QByteArray& line : lines) {
        const QList<QByteArray> parts = line.split(' ');
        if (parts.value(0) == "created") {
            QCOMPARE(Count("SELECT COUNT(*) FROM PROCEDURE_LINKS WHERE ID_SUBTEST = 20 AND ID_PROCEDURE = ? AND "
                           "ORDER_PROCEDURE = ?",
                           {parts[1].toInt(), parts[2].toInt()}),
                     1);
        } else if (parts.value(0) == "played") {
            lastPlayed.insert(QString::fromUtf8(QByteArray::fromBase64(parts[2])), parts[1].toInt());
        }
    }
    for (auto it = lastPlayed.cbegin(); it != lastPlayed.cend(); ++it)
        QCOMPARE(Count("SELECT STATUS FROM RESULT WHERE KEY_NODE = ?", {it.key()}), it.value());
    // The day's history holds the count of every result of the plan, by status.
    const QString today = QDate::currentDate().toString(Qt::ISODate);
    const QString yesterday = QDate::currentDate().addDays(-1).toString(Qt::ISODate);
    QSqlQuery history = gConnection().Query(
        "SELECT COUNT_PASSED, COUNT_FAILED, COUNT_CANCELED, COUNT_WARNING FROM HISTORY WHERE ID_TESTPLAN = 10 "
        "AND DATE_UPDATE IN (?, ?) ORDER BY DATE_UPDATE DESC",
        {today, yesterday});
    QVERIFY(history.next());
    for (int status = 0; status < 4; ++status)
        QCOMPARE(history.value(status).toInt(),
                 Count("SELECT COUNT(*) FROM RESULT WHERE ID_TESTPLAN = 10 AND STATUS = ?", {status}));
}

QTEST_GUILESS_MAIN(tst_TwoClients)
#include "tst_TwoClients.moc"
