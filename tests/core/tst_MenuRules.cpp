#include "core/MenuRules.h"
#include "core/services/CommandStates.h"
#include "core/services/ExplorerNodes.h"
#include "core/services/SelectedNode.h"
#include "platform/Globals.h"

#include <QtTest>

namespace {

const QString kSep(QChar(0x00A4));

// root
//   configuration
//     plan 1: sub-test "Alpha" (holding "Only"), sub-test "Beta", procedures "Proc one", "Proc two"
//     plan 2: sub-tests "Same", "Same", procedures "Twin", "Twin"
void BuildTree()
{
    ExplorerNodes& nodes = gExplorerNodes();
    nodes.Clear();
    nodes.Add({}, "R", "Database", 1);
    nodes.Add("R", "C", "Bench", 2);
    nodes.Add("C", "T1", "Plan 1", 3);
    nodes.Add("T1", "S1", "Alpha", 4);
    nodes.Add("S1", "S1a", "Only", 5);
    nodes.Add("T1", "S2", "Beta", 4);
    nodes.Add("T1", "P1", "Proc one", 14);
    nodes.Add("T1", "P2", "Proc two", 14);
    nodes.Add("C", "T2", "Plan 2", 3);
    nodes.Add("T2", "S3", "Same", 4);
    nodes.Add("T2", "S4", "Same", 4);
    nodes.Add("T2", "P3", "Twin", 14);
    nodes.Add("T2", "P4", "Twin", 14);
}

const QStringList kItemCommands = {"mnuItemUp",    "mnuItemDown",   "mnuItemCopy",
                                   "mnuItemPaste", "mnuItemDelete", "mnuItemEdit"};
const QStringList kAddCommands = {"mnuAddConfiguration", "mnuAddTestPlan", "mnuAddSubtest", "mnuAddProcedure"};
const QStringList kToolCommands = {"mnuToolsHTML", "mnuToolsUsers",    "mnuToolDatabase",
                                   "mnuToolsCSS",  "mnuToolTemplates", "mnuToolsOptions"};

// Every command starts enabled, as the menus are built.
std::unique_ptr<CommandStates> States()
{
    auto states = std::make_unique<CommandStates>();
    for (const QStringList& names : {kItemCommands, kAddCommands, kToolCommands})
        for (const QString& name : names)
            states->Add(name);
    states->Add("mnuFileImport");
    states->Add("mnuExportXML");
    return states;
}

// The enabled ones among `names`, in their order.
QStringList Enabled(const CommandStates& states, const QStringList& names)
{
    QStringList on;
    for (const QString& name : names)
        if (states.Enabled(name))
            on << name;
    return on;
}

void SetUser(bool management, int category)
{
    gUserManagement = management;
    gUserCategory = category;
}

}  // namespace

class tst_MenuRules : public QObject
{
    Q_OBJECT

private slots:
    void init() { BuildTree(); }
    void cleanup()
    {
        SetSelectedNode({});
        gExplorerNodes().Clear();
        SetUser(false, 1);
    }

    void testPlanMenu_data()
    {
        QTest::addColumn<QString>("node");
        QTest::addColumn<bool>("management");
        QTest::addColumn<int>("category");
        QTest::addColumn<QStringList>("enabled");
        const QStringList rights = {"mnuItemCopy", "mnuItemPaste", "mnuItemDelete", "mnuItemEdit"};
        QTest::newRow("no node") << "" << false << 1 << QStringList();
        QTest::newRow("removed node") << "gone" << false << 1 << QStringList();
        QTest::newRow("root") << "R" << false << 1 << QStringList();
        QTest::newRow("configuration") << "C" << false << 1 << rights;
        QTest::newRow("test plan") << "T1" << false << 1 << rights;
        QTest::newRow("only child") << "S1a" << false << 1 << rights;
        QTest::newRow("first of several") << "S1" << false << 1 << (QStringList{"mnuItemDown"} + rights);
        QTest::newRow("last sub-test before a procedure") << "S2" << false << 1 << (QStringList{"mnuItemUp"} + rights);
        QTest::newRow("first procedure after a sub-test")
            << "P1" << false << 1 << (QStringList{"mnuItemDown"} + rights);
        QTest::newRow("last procedure") << "P2" << false << 1 << (QStringList{"mnuItemUp"} + rights);
        QTest::newRow("sub-test before its twin") << "S3" << false << 1 << rights;
        QTest::newRow("sub-test after its twin, before a procedure") << "S4" << false << 1 << rights;
        QTest::newRow("procedure before its twin") << "P3" << false << 1 << rights;
        QTest::newRow("procedure after its twin") << "P4" << false << 1 << rights;
        QTest::newRow("author") << "S1" << true << 3 << (QStringList{"mnuItemDown"} + rights);
        QTest::newRow("administrator") << "P2" << true << 4 << (QStringList{"mnuItemUp"} + rights);
        QTest::newRow("tester on a sub-test") << "S1" << true << 2 << QStringList();
        QTest::newRow("tester on a test plan") << "T1" << true << 2 << QStringList();
    }

    void testPlanMenu()
    {
        QFETCH(QString, node);
        QFETCH(bool, management);
        QFETCH(int, category);
        QFETCH(QStringList, enabled);
        SetUser(management, category);
        SetSelectedNode(node);
        const auto states = States();
        mnuTestPlan_Click(*states);
        QCOMPARE(Enabled(*states, kItemCommands), InOrder(enabled, kItemCommands));
        // The rule leaves the other entries of the menu alone.
        QCOMPARE(Enabled(*states, kAddCommands), kAddCommands);
    }

    void itemMenu_data()
    {
        QTest::addColumn<QString>("node");
        QTest::addColumn<QStringList>("enabled");
        QTest::newRow("no node") << "" << QStringList();
        QTest::newRow("root") << "R" << QStringList{"mnuAddConfiguration"};
        QTest::newRow("configuration") << "C" << QStringList{"mnuAddTestPlan"};
        QTest::newRow("test plan") << "T1" << QStringList{"mnuAddSubtest"};
        QTest::newRow("sub-test") << "S1" << QStringList{"mnuAddSubtest", "mnuAddProcedure"};
        QTest::newRow("nested sub-test") << "S1a" << QStringList{"mnuAddSubtest", "mnuAddProcedure"};
        QTest::newRow("procedure") << "P1" << QStringList();
    }

    void itemMenu()
    {
        QFETCH(QString, node);
        QFETCH(QStringList, enabled);
        SetSelectedNode(node);
        const auto states = States();
        mnuItem_Click(*states);
        QCOMPARE(Enabled(*states, kAddCommands), enabled);
        QCOMPARE(Enabled(*states, kItemCommands), kItemCommands);
    }

    void fileMenu_data()
    {
        QTest::addColumn<bool>("management");
        QTest::addColumn<int>("category");
        QTest::addColumn<bool>("exchange");
        QTest::newRow("no user management") << false << 2 << true;
        QTest::newRow("administrator") << true << 4 << true;
        QTest::newRow("author") << true << 3 << false;
        QTest::newRow("tester") << true << 2 << false;
    }

    void fileMenu()
    {
        QFETCH(bool, management);
        QFETCH(int, category);
        QFETCH(bool, exchange);
        SetUser(management, category);
        const auto states = States();
        states->SetEnabled("mnuFileImport", !exchange);
        states->SetEnabled("mnuExportXML", !exchange);
        mnuFile_Click(*states);
        QCOMPARE(states->Enabled("mnuFileImport"), exchange);
        QCOMPARE(states->Enabled("mnuExportXML"), exchange);
    }

    void toolsMenu_data()
    {
        QTest::addColumn<bool>("management");
        QTest::addColumn<int>("category");
        QTest::addColumn<bool>("child");
        QTest::addColumn<QStringList>("enabled");
        const QStringList editing = {"mnuToolDatabase", "mnuToolsCSS", "mnuToolTemplates"};
        QTest::newRow("no user management, no window") << false << 1 << false << editing;
        QTest::newRow("no user management, a window") << false << 1 << true << (QStringList{"mnuToolsHTML"} + editing);
        QTest::newRow("administrator") << true << 4 << false << (QStringList{"mnuToolsUsers"} + editing);
        QTest::newRow("author") << true << 3 << true << (QStringList{"mnuToolsHTML"} + editing);
        QTest::newRow("tester") << true << 2 << false << QStringList();
    }

    void toolsMenu()
    {
        QFETCH(bool, management);
        QFETCH(int, category);
        QFETCH(bool, child);
        QFETCH(QStringList, enabled);
        SetUser(management, category);
        const auto states = States();
        // Options is never touched by the rule.
        states->SetEnabled("mnuToolsOptions", false);
        mnuTools_Click(*states, child);
        QCOMPARE(Enabled(*states, kToolCommands), InOrder(enabled, kToolCommands));
    }

    void unknownCommandRaises()
    {
        CommandStates states;
        QVERIFY(!states.Enabled("mnuMissing"));
        QVERIFY_THROWS_EXCEPTION(std::exception, states.SetEnabled("mnuMissing", true));
    }

private:
    static QStringList InOrder(const QStringList& names, const QStringList& order)
    {
        QStringList sorted;
        for (const QString& name : order)
            if (names.contains(name))
                sorted << name;
        return sorted;
    }
};

QTEST_MAIN(tst_MenuRules)
#include "tst_MenuRules.moc"
