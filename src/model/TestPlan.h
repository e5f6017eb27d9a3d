#pragma once

#include "core/DataCollection.h"
#include "model/ItemRecord.h"

class Configuration;
class ExplorerNode;
class SubTest;

// A row of TESTPLAN as reached through one configuration: the occurrence's key and
// configuration travel with the row's fields.
class TestPlan : public ItemRecord
{
public:
    TestPlan();

    // Property rows: writes this item's rows into the property grid, decides the editor of a
    // value cell (true refuses the edit) and stores an edited value. Each call expects an object
    // freshly found from its row.
    void Properties();
    bool BeforeEditProperty(int intRow);
    void AfterEditProperty(int Row, int Col);

    QString Key() const { return m_key; }
    // Stores the key and takes the configuration id from it (the text between "Eqpt" and the
    // first "¤"); a key without "¤" leaves the configuration id as it was.
    void SetKey(const QString& key);
    QString IdConfiguration() const { return m_idConfiguration; }
    void SetIdConfiguration(const QString& id) { m_idConfiguration = id; }
    bool WordTemplate() const { return m_wordTemplate; }
    void SetWordTemplate(bool stored) { m_wordTemplate = stored; }
    bool HasSubTests1() const { return m_hasSubTests1; }
    DataCollection<SubTest> SubTests1() const { return m_subTests1; }
    void SetSubTests1(const DataCollection<SubTest>& subTests) { m_subTests1 = subTests; }
    DataCollection<Configuration> LinkedConfigurations() const { return m_linkedConfigurations; }

    // Stores the bytes of a Word template file as the plan's template; no bytes remove it. Raises
    // KvlError when the statement fails or the plan's row is gone.
    void StoreWordTemplate(const QByteArray& bytes);

    int Find(const QString& id);
    int Update();
    // A new row under `idConfiguration`; the caller links it to the configuration's node.
    int Create(const QString& idConfiguration);
    // Opens the description window, or brings the open one forward: 0 done, 1 failed.
    int LoadDocument();

    // Loaders: each replaces its collection with a fresh one; 0 done, 1 failed (logged).
    // LoadSubTests1 needs the plan's Key.
    int LoadConfiguration(bool blnShowList = false);
    int LoadSubTests1(bool blnShowList = false);
    // Links the plan under the configuration that `nodParent` shows and adds its node with the
    // whole subtree. 0 done (also when already linked, which adds nothing), 1 failed.
    int Link(ExplorerNode* nodParent);
    // Unlinks the plan from the configuration above `nodTestPlan` with the results there; with its
    // last configuration the plan goes. `blnConfiguration` leaves the explorer alone.
    int UnLink(ExplorerNode* nodTestPlan, bool blnConfiguration = false);

protected:
    QStringList FindColumns() const override;
    void ReadColumns(const QSqlQuery& row) override;

private:
    QString m_key;
    QString m_idConfiguration;
    bool m_wordTemplate = false;
    bool m_hasSubTests1 = false;
    DataCollection<SubTest> m_subTests1;
    DataCollection<Configuration> m_linkedConfigurations;
};
