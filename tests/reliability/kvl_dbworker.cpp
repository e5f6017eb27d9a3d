// A client of the database for the reliability tests: one process, one connection, running a
// seeded sequence of item commands through the object model and saying on stdout what it does.
//
//   kvl_dbworker init <file|pg>                 schema and a small tree
//   kvl_dbworker run <file> <seed> <ops>        "start k kind" before and "done k rc" after each command
//   kvl_dbworker reference <file> <seed> <ops>  the same, with "state k hash" after each command (k = 0 first)
//   kvl_dbworker hash <file>                    "state hash" of the stored data
//   kvl_dbworker client <name> <seed> <ms>      on the test server: create, link and play results for <ms>

#include "TestDatabase.h"

#include "core/db/AdoConnection.h"
#include "core/db/kvlDatabase.h"
#include "core/KeyHelpers.h"
#include "core/NodeKey.h"
#include "core/services/ExplorerNodes.h"
#include "model/ExplorerFill.h"
#include "model/Procedure.h"
#include "model/Result.h"
#include "model/TestPlan.h"
#include "platform/Globals.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDate>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <cstdio>

namespace {

const QString kPlanKey = QStringLiteral("Eqpt1") + NodeKey::kSeparator + QStringLiteral("10");

void Say(const QString& line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

bool Open(const QString& target)
{
    AdoConnection& connection = gConnection();
    if (target == QLatin1String("pg")) {
        const std::optional<PgServer> server = TestDatabase::Server();
        return server &&
               connection.OpenSQLServer(server->DataSource(), server->database, server->user, server->password);
    }
    return connection.OpenAccess(target);
}

void Run(const QString& sql, const QVariantList& values = {})
{
    if (!gConnection().Execute(sql, values))
        throw KvlError(gConnection().LastErrorText());
}

// Configuration 1, plan 10; sub-test 20 under the plan holds sub-test 21 and procedures 30-34,
// sub-test 21 holds procedures 35-39.
void Init()
{
    if (kvlDatabase().AddTables(gConnection()) != 0 || kvlDatabase().AddConstraints(gConnection()) != 0)
        throw KvlError(QStringLiteral("schema"));
    const QDate day(2024, 3, 5);
    DbTransaction transaction(gConnection());
    Run("INSERT INTO CONFIGURATION (ID, NAME, TITLE, DATE_CREATION, DATE_UPDATE) VALUES (1, 'Bench', 'Bench', ?, ?)",
        {day, day});
    Run("INSERT INTO TESTPLAN (ID, NAME, TITLE, ID_CONFIGURATION, DATE_CREATION, DATE_UPDATE) "
        "VALUES (10, 'Plan', 'Plan', 1, ?, ?)",
        {day, day});
    Run("INSERT INTO CONFIGURATION_LINKS (ID_TESTPLAN, ID_CONFIGURATION) VALUES (10, 1)");
    for (int id : {20, 21})
        Run("INSERT INTO SUBTEST (ID, NAME, TITLE, DATE_CREATION, DATE_UPDATE) VALUES (?, ?, ?, ?, ?)",
            {id, QString::number(id), QString::number(id), day, day});
    Run("INSERT INTO TESTPLAN_LINKS (ID_TESTPLAN, ID_SUBTEST, ORDER_SUBTEST) VALUES (10, 20, 1)");
    Run("INSERT INTO SUBTEST_LINKS (ID_SUBTEST_PARENT, ID_SUBTEST_CHILD, ORDER_SUBTEST) VALUES (20, 21, 1)");
    for (int id = 30; id < 40; ++id) {
        Run("INSERT INTO PROCEDURES (ID, NAME, TITLE, WORKLOAD, DATE_CREATION, DATE_UPDATE) VALUES (?, ?, ?, 1, ?, ?)",
            {id, QString::number(id), QString::number(id), day, day});
        Run("INSERT INTO PROCEDURE_LINKS (ID_SUBTEST, ID_PROCEDURE, ORDER_PROCEDURE) VALUES (?, ?, ?)",
            {id < 35 ? 20 : 21, id, id < 35 ? id - 29 : id - 34});
    }
    if (!transaction.Commit())
        throw KvlError(QStringLiteral("commit"));
}

// The tree as stored, read anew before each command: commands act on what the database holds.
void LoadExplorer()
{
    ExplorerNodes& tree = gExplorerNodes();
    tree.Clear();
    tree.Add({}, QStringLiteral("Root"), QStringLiteral("Database"), kImageRoot);
    tree.Add(QStringLiteral("Root"), QStringLiteral("Eqpt1"), QStringLiteral("Bench"), kImageConfiguration)
        ->SetTag(QStringLiteral("1"));
    tree.Add(QStringLiteral("Eqpt1"), kPlanKey, QStringLiteral("Plan"), kImageTestPlan)->SetTag(QStringLiteral("10"));
    TestPlan plan;
    plan.SetId(QStringLiteral("10"));
    ExplorerFill::AddTestPlanSubTests(kPlanKey, plan);
}

QList<ExplorerNode*> Nodes(bool procedures)
{
    QList<ExplorerNode*> nodes;
    ExplorerNodes& tree = gExplorerNodes();
    for (int i = 1; i <= tree.Count(); ++i) {
        ExplorerNode* node = tree.Item(i);
        const int image = node->Image();
        if (procedures ? image == kImageProcedure : (image >= kImageSubTestFirst && image <= kImageSubTestLast))
            nodes.append(node);
    }
    return nodes;
}

// Everything a command may change, dates left out, in a fixed order.
QString StateHash()
{
    const QStringList queries{
        "SELECT ID, NAME FROM PROCEDURES ORDER BY ID",
        "SELECT ID, NAME FROM SUBTEST ORDER BY ID",
        "SELECT ID_SUBTEST, ID_PROCEDURE, ORDER_PROCEDURE FROM PROCEDURE_LINKS ORDER BY 1, 2, 3",
        "SELECT ID_SUBTEST_PARENT, ID_SUBTEST_CHILD, ORDER_SUBTEST FROM SUBTEST_LINKS ORDER BY 1, 2, 3",
        "SELECT ID_TESTPLAN, ID_SUBTEST, ORDER_SUBTEST FROM TESTPLAN_LINKS ORDER BY 1, 2, 3",
        "SELECT KEY_NODE, ID_TESTPLAN, ID_PROCEDURE, STATUS, ITERATION FROM RESULT ORDER BY 1",
        "SELECT ID_TESTPLAN, ID_CONFIGURATION, COUNT_PASSED, COUNT_FAILED, COUNT_CANCELED, COUNT_WARNING "
        "FROM HISTORY ORDER BY 1, 2, DATE_UPDATE",
    };
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (const QString& sql : queries) {
        QSqlQuery query = gConnection().Query(sql);
        while (query.next()) {
            QStringList fields;
            for (int i = 0; i < query.record().count(); ++i)
                fields << query.value(i).toString();
            hash.addData(fields.join(QLatin1Char('|')).toUtf8() + '\n');
        }
        hash.addData(QByteArrayLiteral("--\n"));
    }
    return QString::fromLatin1(hash.result().toHex());
}

// Commands that the program runs as one unit: create and link, or a result read and written.
int InOneTransaction(const std::function<bool()>& work)
{
    AdoConnection& connection = gConnection();
    if (!connection.BeginTrans())
        return 1;
    if (!work()) {
        connection.RollbackTrans();
        return 1;
    }
    return connection.CommitTrans() ? 0 : 1;
}

int CreateAndLink(ExplorerNode* parent, Procedure& procedure)
{
    return InOneTransaction([&] { return procedure.Create() == 0 && procedure.Link(parent) == 0; });
}

int Play(const QString& key, int status)
{
    return InOneTransaction([&] {
        Procedure occurrence;
        occurrence.SetId(KeyId(gExplorerNodes().Find(key)->Tag()));
        occurrence.SetKey(key);
        std::shared_ptr<Result> result = occurrence.Result();
        if (!result)
            return false;
        result->SetStatus(status);
        result->SetIteration(result->Iteration() + 1);
        return result->Update() == 0;
    });
}

int Command(QRandomGenerator& random, QString& kind)
{
    LoadExplorer();
    const QList<ExplorerNode*> procedures = Nodes(true);
    const QList<ExplorerNode*> subTests = Nodes(false);
    const int choice = static_cast<int>(random.bounded(10));
    ExplorerNode* procedureNode = procedures.isEmpty() ? nullptr : procedures[random.bounded(procedures.size())];
    if (choice < 3 || !procedureNode) {
        kind = QStringLiteral("create");
        Procedure procedure;
        return CreateAndLink(subTests[random.bounded(subTests.size())], procedure);
    }
    Procedure procedure;
    procedure.SetId(KeyId(procedureNode->Tag()));
    procedure.SetKey(procedureNode->Key());
    if (choice < 5) {
        kind = QStringLiteral("move");
        return procedure.Move(procedureNode, random.bounded(2) == 0);
    }
    if (choice < 7) {
        kind = QStringLiteral("unlink");
        return procedure.UnLink(procedureNode);
    }
    if (choice < 8) {
        kind = QStringLiteral("repair");
        return kvlDatabase().Repair();
    }
    kind = QStringLiteral("result");
    return Play(procedureNode->Key(), static_cast<int>(random.bounded(4)));
}

int Sequence(quint32 seed, int count, bool reference)
{
    QRandomGenerator random(seed);
    if (reference)
        Say(QStringLiteral("state 0 %1").arg(StateHash()));
    for (int k = 1; k <= count; ++k) {
        // Which command comes next is drawn before it runs, so both modes draw alike.
        QRandomGenerator step(random.generate());
        QString kind;
        Say(QStringLiteral("start %1").arg(k));
        const int rc = Command(step, kind);
        Say(QStringLiteral("done %1 %2 %3").arg(k).arg(kind).arg(rc));
        if (reference)
            Say(QStringLiteral("state %1 %2").arg(k).arg(StateHash()));
    }
    return 0;
}

// Creates, links and plays its own procedures under sub-test 20 for `ms` milliseconds; says
// what it stored so the test can look for it.
int Client(quint32 seed, int ms)
{
    QRandomGenerator random(seed);
    QElapsedTimer clock;
    clock.start();
    QStringList played;
    while (clock.elapsed() < ms) {
        LoadExplorer();
        ExplorerNode* parent = gExplorerNodes().Find(kPlanKey + NodeKey::kSeparator + QStringLiteral("10|20|1"));
        if (played.isEmpty() || random.bounded(2) == 0) {
            Procedure procedure;
            if (CreateAndLink(parent, procedure) == 0) {
                Say(QStringLiteral("created %1 %2").arg(procedure.Id()).arg(procedure.Order()));
                played << procedure.Key();
            } else {
                Say(QStringLiteral("failed create"));
            }
            continue;
        }
        const QString key = played[random.bounded(played.size())];
        LoadExplorer();
        if (!gExplorerNodes().Find(key)) {
            Say(QStringLiteral("failed find"));
            continue;
        }
        const int status = static_cast<int>(random.bounded(4));
        if (Play(key, status) == 0)
            Say(QStringLiteral("played %1 %2").arg(status).arg(key.toUtf8().toBase64()));
        else
            Say(QStringLiteral("failed play"));
    }
    return 0;
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    QTemporaryDir temp;
    gTempPath = temp.path();
    if (args.size() < 2)
        return 2;
    const QString mode = args[0];
    const bool client = mode == QLatin1String("client");
    if (!Open(client ? QStringLiteral("pg") : args[1])) {
        std::fprintf(stderr, "cannot open: %s\n", qPrintable(gConnection().LastOpenError()));
        return 3;
    }
    try {
        if (mode == QLatin1String("init")) {
            Init();
            Say(QStringLiteral("ready"));
        } else if (mode == QLatin1String("hash"))
            Say(QStringLiteral("state %1").arg(StateHash()));
        else if ((mode == QLatin1String("run") || mode == QLatin1String("reference")) && args.size() == 4)
            Sequence(args[2].toUInt(), args[3].toInt(), mode == QLatin1String("reference"));
        else if (client && args.size() == 4)
            Client(args[2].toUInt(), args[3].toInt());
        else
            return 2;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    gConnection().Close();
    return 0;
}
