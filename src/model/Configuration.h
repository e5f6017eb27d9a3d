#pragma once

#include "core/DataCollection.h"
#include "model/ItemRecord.h"

class ExplorerNode;
class TestPlan;

// One system under test: a row of CONFIGURATION with three equipment fields.
class Configuration : public ItemRecord
{
public:
    Configuration();

    // Property rows: writes this item's rows into the property grid, decides the editor of a
    // value cell (true refuses the edit) and stores an edited value. Each call expects an object
    // freshly found from its row.
    void Properties();
    bool BeforeEditProperty(int intRow);
    void AfterEditProperty(int Row, int Col);

    QString Equipment1() const { return m_equipment1; }
    void SetEquipment1(const QString& equipment) { m_equipment1 = equipment; }
    QString Equipment2() const { return m_equipment2; }
    void SetEquipment2(const QString& equipment) { m_equipment2 = equipment; }
    QString Equipment3() const { return m_equipment3; }
    void SetEquipment3(const QString& equipment) { m_equipment3 = equipment; }
    bool HasTestPlans() const { return m_hasTestPlans; }
    DataCollection<TestPlan> TestPlans() const { return m_testPlans; }
    void SetTestPlans(const DataCollection<TestPlan>& testPlans) { m_testPlans = testPlans; }

    // The tree node key of a configuration: "Eqpt" & id.
    static QString NodeKeyOf(const QString& id);

    // The test plans linked to this configuration; 0 done, 1 failed (logged).
    int LoadTestPlans(bool blnShowList = false);

    int Find(const QString& id);
    int Update();
    // A new row named after the prefix and its id, and its node under "Root".
    int Create();
    // A copy of the row held (equipment and title; no description, links or pictures) under a new
    // id, with its node under "Root"; the object then stands for the copy.
    int Clone();
    // Deletes the configuration that `nodConfiguration` shows: its plans are unlinked (and deleted
    // with their last link), its pictures, row and node go.
    int Delete(ExplorerNode* nodConfiguration);
    // Opens the description window, or brings the open one forward: 0 done, 1 failed.
    int LoadDocument();

protected:
    QStringList FindColumns() const override;
    void ReadColumns(const QSqlQuery& row) override;

private:
    int AddNode(const QString& method);

    QString m_equipment1;
    QString m_equipment2;
    QString m_equipment3;
    bool m_hasTestPlans = false;
    DataCollection<TestPlan> m_testPlans;
};
