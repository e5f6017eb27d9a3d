#pragma once

#include "core/DataCollection.h"
#include "model/ItemRecord.h"

#include <memory>

class ExplorerNode;
class Result;
class SubTest;

// One occurrence of a PROCEDURES row under one sub-test occurrence, with the result of that
// occurrence.
class Procedure : public ItemRecord
{
public:
    Procedure();
    ~Procedure() override;

    // Property rows: writes this item's rows into the property grid, decides the editor of a
    // value cell (true refuses the edit) and stores an edited value. Each call expects an object
    // freshly found from its row.
    void Properties();
    bool BeforeEditProperty(int intRow);
    void AfterEditProperty(int Row, int Col);

    // Stores the id of the last writer; the getter Author() gives the user's name.
    void SetAuthor(const QString& idAuthor) { SetIdAuthorValue(idAuthor); }
    void SetDateCreation(const QDate& date) { SetDateCreationValue(date); }
    void SetDateUpdate(const QDate& date) { SetDateUpdateValue(date); }

    QString Key() const { return m_key; }
    void SetKey(const QString& key) { m_key = key; }
    int Order() const { return m_order; }
    void SetOrder(int order) { m_order = order; }
    float WorkLoad() const { return m_workLoad; }
    void SetWorkLoad(float workLoad) { m_workLoad = workLoad; }
    bool HasExpectedResult() const { return m_hasExpectedResult; }
    bool HasSubTests() const { return m_hasSubTests; }
    DataCollection<SubTest> SubTests() const { return m_subTests; }
    void SetSubTests(const DataCollection<SubTest>& subTests) { m_subTests = subTests; }

    // The result of this occurrence, found by Key on the first read and created (status failed)
    // when it has no row yet; later reads give the same object without touching the database.
    // Key must be set before the first read.
    std::shared_ptr<::Result> Result();
    // Replaces the held result.
    void SetResult(std::shared_ptr<::Result> result) { m_result = std::move(result); }

    int Find(const QString& id);
    int Update();
    // A new row named after the prefix and its id, with a work load of 1 in the row; the
    // object's WorkLoad is left as it was.
    int Create();
    // Opens the description and expected-result window, or brings the open one forward: 0 done,
    // 1 failed. `intRow` is what the explorer passes; it changes nothing.
    int LoadDocument(int intRow = 3);

    // The sub-tests that hold this procedure, one entry per link; 0 done, 1 failed (logged).
    int LoadSubTests(bool blnShowList = false);
    // Links the procedure under the sub-test that `nodParent` shows, at the next order or at
    // `strOrder` when that order is free, and adds its node at its place under every occurrence
    // of the sub-test. 0 done (also for a link that already existed), 1 failed.
    int Link(ExplorerNode* nodParent, const QString& strOrder = QString());
    // Swaps the occurrence that `nodProcedure` shows with its neighbour and moves their results
    // along; Key must hold the occurrence's key and follows it.
    int Move(ExplorerNode* nodProcedure, bool blnUp);
    // Removes the occurrence with its results, renumbers the rest, and deletes the procedure with
    // its last link. 0 done, 1 failed (nothing changed).
    int UnLink(ExplorerNode* nodProcedure);

protected:
    QStringList FindColumns() const override;
    void ReadColumns(const QSqlQuery& row) override;

private:
    std::shared_ptr<::Result> m_result;
    float m_workLoad = 0;
    QString m_key;
    int m_order = 0;
    bool m_hasExpectedResult = false;
    bool m_hasSubTests = false;
    DataCollection<SubTest> m_subTests;
};
