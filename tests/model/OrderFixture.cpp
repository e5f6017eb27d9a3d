#include "OrderFixture.h"
#include "TreeFixture.h"

#include "ModelFixture.h"

#include "core/db/AdoConnection.h"
#include "core/NodeKey.h"
#include "core/services/ExplorerNodes.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace OrderFixture {

using ModelFixture::Run;

void Build()
{
    ModelFixture::AddSchema();
    const QDate day(2024, 3, 5);
    Run("INSERT INTO CONFIGURATION (ID, NAME, TITLE, DATE_CREATION, DATE_UPDATE) VALUES (1, 'Bench', 'Bench', ?, ?)",
        {day, day});
    for (const auto& [id, name] : {std::pair{10, "Plan"}, std::pair{20, "Twin"}}) {
        Run("INSERT INTO TESTPLAN (ID, NAME, TITLE, ID_CONFIGURATION, DATE_CREATION, DATE_UPDATE) "
            "VALUES (?, ?, ?, 1, ?, ?)",
            {id, name, name, day, day});
        Run("INSERT INTO CONFIGURATION_LINKS (ID_TESTPLAN, ID_CONFIGURATION) VALUES (?, 1)", {id});
    }
    for (const auto& [id, name] : {std::pair{20, "Parent"}, std::pair{21, "A"}, std::pair{22, "B"}, std::pair{23, "C"},
                                   std::pair{24, "Deep"}, std::pair{25, "Own"}})
        Run("INSERT INTO SUBTEST (ID, NAME, TITLE, DATE_CREATION, DATE_UPDATE) VALUES (?, ?, ?, ?, ?)",
            {id, name, name, day, day});
    for (int id = 31; id <= 36; ++id)
        Run("INSERT INTO PROCEDURES (ID, NAME, TITLE, WORKLOAD, DATE_CREATION, DATE_UPDATE) VALUES (?, ?, ?, 1, ?, ?)",
            {id, QString("P%1").arg(id), QString("P%1").arg(id), day, day});
    for (const auto& [plan, subTest, order] :
         {std::tuple{10, 20, 1}, std::tuple{20, 21, 1}, std::tuple{20, 22, 2}, std::tuple{20, 25, 3}})
        Run("INSERT INTO TESTPLAN_LINKS (ID_TESTPLAN, ID_SUBTEST, ORDER_SUBTEST) VALUES (?, ?, ?)",
            {plan, subTest, order});
    for (const auto& [parent, child, order] :
         {std::tuple{20, 21, 1}, std::tuple{20, 22, 2}, std::tuple{20, 23, 3}, std::tuple{23, 24, 1}})
        Run("INSERT INTO SUBTEST_LINKS (ID_SUBTEST_PARENT, ID_SUBTEST_CHILD, ORDER_SUBTEST) VALUES (?, ?, ?)",
            {parent, child, order});
    for (const auto& [subTest, procedure, order] :
         {std::tuple{21, 31, 1}, std::tuple{21, 35, 2}, std::tuple{21, 31, 3}, std::tuple{22, 32, 1},
          std::tuple{23, 33, 1}, std::tuple{23, 35, 2}, std::tuple{24, 34, 1}, std::tuple{25, 36, 1}})
        Run("INSERT INTO PROCEDURE_LINKS (ID_SUBTEST, ID_PROCEDURE, ORDER_PROCEDURE) VALUES (?, ?, ?)",
            {subTest, procedure, order});
    for (const QString key :
         {"Eqpt1~10~10|20|1~20|21|1~21|31|1$", "Eqpt1~10~10|20|1~20|21|1~21|35|2$", "Eqpt1~10~10|20|1~20|21|1~21|31|3$",
          "Eqpt1~10~10|20|1~20|22|2~22|32|1$", "Eqpt1~10~10|20|1~20|23|3~23|33|1$", "Eqpt1~10~10|20|1~20|23|3~23|35|2$",
          "Eqpt1~10~10|20|1~20|23|3~23|24|1~24|34|1$", "Eqpt1~20~20|21|1~21|31|1$", "Eqpt1~20~20|22|2~22|32|1$",
          "Eqpt1~20~20|25|3~25|36|1$"}) {
        const NodeKey parsed = NodeKey::Parse(K(key));
        const QString procedure = NodeKey::ParseLink(parsed.Segment(parsed.Count() - 1)).id;
        Run("INSERT INTO RESULT (ID_PROCEDURE, KEY_NODE, STATUS, ID_TESTPLAN, ITERATION) VALUES (?, ?, 0, ?, 1)",
            {procedure.toInt(), K(key), parsed.TestPlanId().toInt()});
    }
    int picture = 0;
    for (const auto& [kind, owner] :
         {std::pair{4, "21"}, std::pair{4, "23"}, std::pair{4, "24"}, std::pair{14, "33"}, std::pair{14, "34"},
          std::pair{114, "34"}, std::pair{14, "35"}, std::pair{3, "10"}, std::pair{3, "20"}, std::pair{2, "1"}})
        Run("INSERT INTO IMAGEFILE (ID, ITEM, ID_ITEM, FILETYPE) VALUES (?, ?, ?, 'gif')", {++picture, kind, owner});
    for (const auto& [plan, date] :
         {std::pair{10, "2024-03-05"}, std::pair{20, "2024-03-05"}, std::pair{20, "2024-03-06"}})
        Run("INSERT INTO HISTORY (ID_TESTPLAN, ID_CONFIGURATION, ADVANCEMENT, WORKLOAD, DATE_UPDATE, COUNT_PASSED, "
            "COUNT_FAILED, COUNT_CANCELED, COUNT_WARNING) VALUES (?, 1, 0, 0, ?, 0, 0, 0, 0)",
            {plan, date});
}

void FillExplorer()
{
    TreeFixture::FillPlans({{"10", "Plan"}, {"20", "Twin"}});
}

QString Readable(QString key)
{
    return key.replace(NodeKey::kSeparator, '~');
}

QStringList Rows(const QString& sql)
{
    QStringList lines;
    QSqlQuery query = gConnection().Query(sql);
    while (query.next()) {
        QStringList values;
        for (int i = 0; i < query.record().count(); ++i)
            values << Readable(query.value(i).toString());
        lines << values.join(' ');
    }
    lines.sort();
    return lines;
}

QStringList Links(const QString& table)
{
    const QString columns = table == "TESTPLAN_LINKS"  ? "ID_TESTPLAN, ID_SUBTEST, ORDER_SUBTEST"
                            : table == "SUBTEST_LINKS" ? "ID_SUBTEST_PARENT, ID_SUBTEST_CHILD, ORDER_SUBTEST"
                                                       : "ID_SUBTEST, ID_PROCEDURE, ORDER_PROCEDURE";
    QStringList links = Rows("SELECT " + columns + " FROM " + table);
    for (QString& link : links)
        link.replace(' ', '|');
    return links;
}

QStringList Keys()
{
    return Rows("SELECT KEY_NODE FROM RESULT");
}

QStringList Ids(const QString& table)
{
    QStringList ids = Rows("SELECT ID FROM " + table);
    std::sort(ids.begin(), ids.end(), [](const QString& a, const QString& b) { return a.toInt() < b.toInt(); });
    return ids;
}

QStringList Snapshot()
{
    QStringList lines;
    for (const QString table : {"CONFIGURATION", "TESTPLAN", "SUBTEST", "PROCEDURES"})
        lines << table + ": " + Ids(table).join(',');
    for (const QString table : {"TESTPLAN_LINKS", "SUBTEST_LINKS", "PROCEDURE_LINKS"})
        lines << table + ": " + Links(table).join(',');
    lines << "CONFIGURATION_LINKS: " + Rows("SELECT ID_TESTPLAN, ID_CONFIGURATION FROM CONFIGURATION_LINKS").join(',');
    lines << "RESULT: " + Rows("SELECT KEY_NODE, ID_PROCEDURE, STATUS FROM RESULT").join(',');
    lines << "IMAGEFILE: " + Rows("SELECT ID, ITEM, ID_ITEM FROM IMAGEFILE").join(',');
    lines << "HISTORY: " + Rows("SELECT ID_TESTPLAN, ID_CONFIGURATION, DATE_UPDATE FROM HISTORY").join(',');
    return lines;
}

namespace {
void TreeInto(const ExplorerNode* node, QStringList& lines)
{
    for (const ExplorerNode* child : node->ChildNodes()) {
        lines << Readable(child->Key()) + " " + child->Tag();
        TreeInto(child, lines);
    }
}
}  // namespace

QStringList Tree(const QString& key)
{
    QStringList lines;
    if (const ExplorerNode* node = gExplorerNodes().Find(K(key)))
        TreeInto(node, lines);
    return lines;
}

void InjectFailure(const QString& table, const QString& event, bool postgres)
{
    if (postgres) {
        Run("CREATE OR REPLACE FUNCTION KVL_FAIL() RETURNS trigger AS $$ BEGIN RAISE EXCEPTION 'injected failure'; "
            "END $$ LANGUAGE plpgsql");
        Run(QString("CREATE TRIGGER KVL_FAIL BEFORE %1 ON %2 FOR EACH ROW EXECUTE FUNCTION KVL_FAIL()")
                .arg(event, table));
    } else {
        Run(QString("CREATE TRIGGER KVL_FAIL BEFORE %1 ON %2 BEGIN SELECT RAISE(ABORT, 'injected failure'); END")
                .arg(event, table));
    }
}

}  // namespace OrderFixture
