#pragma once

#include "core/db/DbHelpers.h"
#include "model/Configuration.h"
#include "model/PlanResults.h"
#include "model/SubTest.h"
#include "model/SubTreeRows.h"
#include "model/TestPlan.h"
#include "publishing/HTMLTemplate.h"
#include "publishing/Publication.h"
#include "publishing/StoredColumns.h"

#include <QHash>
#include <memory>

// Line ends of every generated page.
inline const QString kPageLine = QStringLiteral("\r\n");

// What one generation reads once for all its pages: the templates and options, the items whose
// fields fill the sections, the subtree's links, the description columns, the results and the
// pictures written out.
struct Publication::Generation : DescriptionColumns
{
    Generation();

    // A template's text; raises KvlError when it cannot be read.
    QString Template(int id);
    // The head that opens every page, with its line end: made once for all the pages, whose
    // style sheet and charset do not change while they are written. Raises KvlError.
    const QString& PageHead();
    // The test plan or configuration of an id, found once; an id without a row gives an empty
    // object, whose fields fill nothing but dates and blanks, as the item found by a failed
    // search would.
    const TestPlan& Plan(const QString& id);
    // nullptr when the configuration does not exist.
    const Configuration* FindConfiguration(const QString& id);
    const SubTest& SubTestById(const QString& id);
    // The occurrence's stored result, or what a new row would hold; nothing is inserted.
    Result ResultOf(const QString& key);
    // Reads the links below the sub-tests not read yet, and their description columns.
    void ReadSubTrees(const QStringList& subTestIds, int levels);

    bool storeImage;
    bool procedurePageBreak;
    bool subTestTemplate;
    // The page being built.
    QString page;
    // The navigation page of a site.
    QString explorer;
    QString folder;
    // The sub-test whose procedures are being written.
    const SubTest* parent = nullptr;
    // A site writes a procedure occurrence's section again on the page of each sub-test above
    // it: while set, the sections written are kept by occurrence key and written again as kept.
    bool keepSections = false;
    QHash<QString, QString> sections;

    SubTreeRows rows;
    // Picture number -> file written, "" when not stored.
    QHash<int, QString> pictures;

private:
    HTMLTemplate m_store;
    QString m_pageHead;
    QHash<int, QString> m_templates;
    QHash<QString, std::shared_ptr<TestPlan>> m_plans;
    QHash<QString, std::shared_ptr<Configuration>> m_configurations;
    QHash<QString, std::shared_ptr<SubTest>> m_subTests;
    PlanResults m_results;
    QString m_resultsPlan;
    QString m_resultsConfiguration;
    bool m_resultsRead = false;
    UserNameCache m_users;
};

// Makes the generation of the outermost public call and drops it when that call ends.
class Publication::GenerationScope
{
public:
    GenerationScope(Publication& publication, const QString& label);
    ~GenerationScope();
    GenerationScope(const GenerationScope&) = delete;
    GenerationScope& operator=(const GenerationScope&) = delete;

private:
    Publication& m_publication;
    bool m_owner;
};
