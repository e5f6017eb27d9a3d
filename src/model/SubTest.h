#pragma once

#include "core/DataCollection.h"
#include "model/ItemRecord.h"
#include "model/LinkRow.h"

class ExplorerNode;
class Procedure;
class SubTreeRows;
class TestPlan;

// One occurrence of a SUBTEST row at one place of the test-plan tree. Occurrences of the same
// row share the row's fields and differ in key, order, level, chapter number and path.
class SubTest : public ItemRecord
{
public:
    SubTest();

    // Property rows: writes this item's rows into the property grid, decides the editor of a
    // value cell (true refuses the edit) and stores an edited value. Each call expects an object
    // freshly found from its row.
    // Properties: 0 filled, 1 failed (logged).
    int Properties();
    bool BeforeEditProperty(int intRow);
    void AfterEditProperty(int Row, int Col);

    // Stores the id of the last writer; the getter Author() gives the user's name.
    void SetAuthor(const QString& idAuthor) { SetIdAuthorValue(idAuthor); }
    void SetDateCreation(const QDate& date) { SetDateCreationValue(date); }
    void SetDateUpdate(const QDate& date) { SetDateUpdateValue(date); }

    QString IdParent() const { return m_idParent; }
    void SetIdParent(const QString& id) { m_idParent = id; }
    QString Key() const { return m_key; }
    void SetKey(const QString& key) { m_key = key; }
    QString FullPath() const { return m_fullPath; }
    void SetFullPath(const QString& path) { m_fullPath = path; }
    int Level() const { return m_level; }
    void SetLevel(int level) { m_level = level; }
    int Order() const { return m_order; }
    void SetOrder(int order) { m_order = order; }
    QString TitleOrder() const { return m_titleOrder; }
    void SetTitleOrder(const QString& titleOrder) { m_titleOrder = titleOrder; }

    bool HasTestPlans() const { return m_hasTestPlans; }
    bool HasProcedures() const { return m_hasProcedures; }
    bool HasSubTestParents() const { return m_hasSubTestParents; }
    bool HasSubTestChildren() const { return m_hasSubTestChildren; }

    DataCollection<Procedure> Procedures() const { return m_procedures; }
    void SetProcedures(const DataCollection<Procedure>& procedures) { m_procedures = procedures; }
    DataCollection<TestPlan> TestPlans() const { return m_testPlans; }
    void SetTestPlans(const DataCollection<TestPlan>& testPlans) { m_testPlans = testPlans; }
    DataCollection<SubTest> SubTestChildren() const { return m_subTestChildren; }
    void SetSubTestChildren(const DataCollection<SubTest>& subTests) { m_subTestChildren = subTests; }
    DataCollection<SubTest> SubTestParents() const { return m_subTestParents; }
    void SetSubTestParents(const DataCollection<SubTest>& subTests) { m_subTestParents = subTests; }

    int Find(const QString& id);
    int Update();
    // A new row named after the prefix and its id; the caller links it under its parent.
    int Create();
    // Opens the description window, or brings the open one forward: 0 done, 1 failed. Every
    // occurrence of the row shares the window.
    int LoadDocument();

    // The work load of every procedure occurrence below this occurrence, at any depth; reloads
    // Procedures and SubTestChildren on the way. Needs Id and Key.
    float WorkLoad();
    // The work load as Find computed it.
    float HeldWorkLoad() const { return m_workLoad; }
    // Loaders: each replaces its collection with a fresh one; 0 done, 1 failed (logged).
    int LoadSubTestChildren(bool blnShowList = false);
    int LoadSubTestParents(bool blnShowList = false);
    int LoadTestPlans(bool blnShowList, bool blnWithConfiguration);
    int LoadProcedures(bool blnShowList = false);
    // The same fills from link rows read beforehand (a whole subtree at once).
    int FillSubTestChildren(const QList<LinkRow>& rows, bool showList);
    int FillProcedures(const QList<LinkRow>& rows, bool showList);

    // Links the sub-test under the test plan or sub-test that `nodParent` shows, at the next
    // order or at `strOrder` when that order is free, and shows the new occurrence, with its
    // subtree, at its place under every occurrence of the parent.
    // A link that would make the sub-test its own ancestor or nest sub-tests deeper than ten
    // levels is refused. 0 done (also for a link that already existed), 1 failed.
    int Link(ExplorerNode* nodParent, const QString& strOrder = QString());
    // Swaps the occurrence that `nodSubTest` shows with its neighbour, moves their results along and
    // redraws the parent's occurrences; Key must hold the occurrence's key and follows it.
    int Move(ExplorerNode* nodSubTest, bool blnUp);
    // Removes the occurrence with its results, renumbers the rest, and deletes the sub-test once no
    // link of either kind is left. 0 done, 1 failed (nothing changed).
    int UnLink(ExplorerNode* nodSubTest);
    // Deletes the sub-test passed, with its links and the children and procedures nothing else holds.
    int DeleteSubTest(SubTest& objSubTestParent);

private:
    friend class Procedure;  // redraws its sub-test's occurrences after a move or an unlink
    float SumWorkLoad(const SubTreeRows& rows, int depth);
    void RefreshExplorerNodes(const QString& parentId, int parentImage);
    // Adds the node of this sub-test's new link at `order` under every node showing the parent.
    void ShowNewOccurrences(const QString& parentId, int parentImage, int order);

    float m_workLoad = 0;
    QString m_idParent;
    QString m_key;
    QString m_fullPath;
    QString m_titleOrder;
    int m_level = 0;
    int m_order = 0;
    bool m_hasTestPlans = false;
    bool m_hasProcedures = false;
    bool m_hasSubTestParents = false;
    bool m_hasSubTestChildren = false;
    DataCollection<Procedure> m_procedures;
    DataCollection<TestPlan> m_testPlans;
    DataCollection<SubTest> m_subTestChildren;
    DataCollection<SubTest> m_subTestParents;
};
