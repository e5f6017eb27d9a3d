#include "TreeFixture.h"

#include "ModelFixture.h"

#include "core/db/AdoConnection.h"
#include "core/NodeKey.h"
#include "core/services/ExplorerNodes.h"
#include "model/ExplorerFill.h"
#include "model/TestPlan.h"

#include <QtTest>

namespace TreeFixture {

void MakeSchema()
{
    ModelFixture::AddSchema();
}

void Insert(const QString& sql, const QVariantList& values)
{
    ModelFixture::Run(sql, values);
}

void Build()
{
    const QDate day(2024, 3, 5);
    Insert(
        "INSERT INTO CONFIGURATION (ID, NAME, TITLE, EQUIPMENT1, DATE_CREATION, DATE_UPDATE) VALUES (?, ?, ?, ?, ?, ?)",
        {1, "Bench", "Bench", "Scope", day, day});
    for (const auto& [id, name] : {std::pair{10, "Plan A"}, std::pair{11, "Plan B"}}) {
        Insert(
            "INSERT INTO TESTPLAN (ID, NAME, TITLE, ID_CONFIGURATION, DATE_CREATION, DATE_UPDATE) "
            "VALUES (?, ?, ?, 1, ?, ?)",
            {id, name, name, day, day});
        Insert("INSERT INTO CONFIGURATION_LINKS (ID_TESTPLAN, ID_CONFIGURATION) VALUES (?, 1)", {id});
    }
    for (const auto& [id, name] : {std::pair{20, "Shared"}, std::pair{21, "Twice"}, std::pair{22, "Other"}})
        Insert("INSERT INTO SUBTEST (ID, NAME, TITLE, DATE_CREATION, DATE_UPDATE) VALUES (?, ?, ?, ?, ?)",
               {id, name, QString(name) + " title", day, day});
    for (const auto& [id, name, load] :
         {std::tuple{30, "Power", 2.0}, std::tuple{31, "Boot", 1.5}, std::tuple{32, "Reset", 0.5}})
        Insert(
            "INSERT INTO PROCEDURES (ID, NAME, TITLE, WORKLOAD, DATE_CREATION, DATE_UPDATE) VALUES (?, ?, ?, ?, ?, ?)",
            {id, name, name, load, day, day});
    Insert("INSERT INTO TESTPLAN_LINKS (ID_TESTPLAN, ID_SUBTEST, ORDER_SUBTEST) VALUES (?, ?, ?)", {10, 20, 1});
    Insert("INSERT INTO TESTPLAN_LINKS (ID_TESTPLAN, ID_SUBTEST, ORDER_SUBTEST) VALUES (?, ?, ?)", {10, 22, 2});
    Insert("INSERT INTO TESTPLAN_LINKS (ID_TESTPLAN, ID_SUBTEST, ORDER_SUBTEST) VALUES (?, ?, ?)", {11, 20, 1});
    Insert("INSERT INTO SUBTEST_LINKS (ID_SUBTEST_PARENT, ID_SUBTEST_CHILD, ORDER_SUBTEST) VALUES (?, ?, ?)",
           {20, 21, 1});
    Insert("INSERT INTO SUBTEST_LINKS (ID_SUBTEST_PARENT, ID_SUBTEST_CHILD, ORDER_SUBTEST) VALUES (?, ?, ?)",
           {20, 21, 2});
    for (const auto& [subTest, procedure, order] :
         {std::tuple{20, 30, 1}, std::tuple{21, 31, 1}, std::tuple{21, 32, 2}, std::tuple{22, 32, 1}})
        Insert("INSERT INTO PROCEDURE_LINKS (ID_SUBTEST, ID_PROCEDURE, ORDER_PROCEDURE) VALUES (?, ?, ?)",
               {subTest, procedure, order});
}

void FillPlans(const QList<QPair<QString, QString>>& plans)
{
    ExplorerNodes& tree = gExplorerNodes();
    tree.Clear();
    tree.Add({}, "Root", "Database", 1);
    tree.Add("Root", "Eqpt1", "Bench", 2)->SetTag("1");
    for (const auto& [id, name] : plans) {
        const QString key = K(QString("Eqpt1~") + id);
        tree.Add("Eqpt1", key, name, 3)->SetTag(id);
        TestPlan plan;
        plan.SetId(id);
        ExplorerFill::AddTestPlanSubTests(key, plan);
    }
}

void FillExplorer()
{
    FillPlans({{"10", "Plan A"}, {"11", "Plan B"}});
}

QString K(const QString& text)
{
    QString key = text;
    return key.replace('~', NodeKey::kSeparator);
}

namespace {
void DumpInto(const ExplorerNode* node, QStringList& lines)
{
    for (const ExplorerNode* child : node->ChildNodes()) {
        QString key = child->Key();
        lines << QString("%1 %2 %3 %4")
                     .arg(key.replace(NodeKey::kSeparator, '~'), child->Tag(), child->Text())
                     .arg(child->Image());
        DumpInto(child, lines);
    }
}
}  // namespace

QStringList Dump(const QString& key)
{
    QStringList lines;
    if (const ExplorerNode* node = gExplorerNodes().Find(K(key)))
        DumpInto(node, lines);
    return lines;
}

}  // namespace TreeFixture
