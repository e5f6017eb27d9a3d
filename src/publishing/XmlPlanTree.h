#pragma once

#include "publishing/XmlPlan.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>

// The rows of one table that an import inserts, in the order of `columns`.
struct TableRows
{
    QString table;
    QStringList columns;
    QList<QVariantList> rows;
};

// The rows that store a plan's sub-test tree as new items: ids taken in sequence from the first
// free one of each table, the names, dates and author a created item gets, links ordered by
// LinkPlacement's rule, and one result per procedure occurrence under the key the explorer gives
// it. Built in memory, so that each table can then be written in a few statements.
class XmlPlanTree
{
public:
    struct Place
    {
        QString configurationId;
        QString testPlanId;
        bool keepName = false;
        int firstSubTestId = 1;
        int firstProcedureId = 1;
        QDate today;
    };

    explicit XmlPlanTree(const Place& place);

    // Adds the plan's first-level sub-tests with everything below them. Raises KvlError, naming
    // the element's line, on a first-level sub-test without its title (or without its name when
    // names are kept), an order below 1, sub-tests nested too deep or a status no result has.
    void Add(const QList<XmlPlan::SubTest>& subTests);

    TableRows subTests;
    TableRows procedures;
    TableRows testPlanLinks;
    TableRows subTestLinks;
    TableRows procedureLinks;
    TableRows results;

private:
    // Adds the row of the sub-test `id` at `level` and everything below it.
    void AddSubTest(const XmlPlan::SubTest& subTest, int id, const QString& key, int level);
    int AddProcedure(const XmlPlan::Procedure& procedure);
    void AddResult(const XmlPlan::Procedure& procedure, const QString& key);
    static int NextId(int& next);

    Place m_place;
    QString m_subTestPrefix;
    QString m_procedurePrefix;
    QStringList m_stampColumns;
    QVariantList m_stamp;
    bool m_withTester = false;
    int m_nextSubTestId;
    int m_nextProcedureId;
};

// The stored value of an unwrapped description: Null when the file had none, the empty text for
// an empty or blank one, else the text itself.
QVariant DescriptionValue(const std::optional<QString>& text);
