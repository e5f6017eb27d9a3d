#pragma once

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

// The places of sub-tests in the explorer tree, worked out from the link tables read once: a
// search or a list climbs from any number of sub-tests without a query per level.
class TreeLinks
{
public:
    struct Place
    {
        QString key;        // node key of the sub-test's occurrence
        QStringList names;  // its ancestors: configuration, test plan, the sub-tests down to its parent
        QList<int> rank;    // tree order: configuration, plan, then each link's order and child id
        QString path;       // the names joined by "\\", as a result row shows them
    };

    // Reads configurations, plan links and sub-test links; raises KvlError on failure.
    void Load();
    // Every place of the sub-test in tree order: each first-level place and every place reached
    // through its parent sub-tests. Raises KvlError for a sub-test under itself or too deep.
    QList<Place> Places(const QString& subTestId);

private:
    QList<Place> Climb(const QString& subTestId);

    struct PlanLink
    {
        int configurationId = 0;
        int planId = 0;
        QString configurationName;
        QString planName;
        int order = 0;
    };
    struct ParentLink
    {
        QString parentId;
        QString parentName;
        int order = 0;
    };

    QHash<QString, QList<PlanLink>> m_plans;      // by sub-test id
    QHash<QString, QList<ParentLink>> m_parents;  // by child sub-test id
    QHash<QString, QList<Place>> m_places;
    QSet<QString> m_climbing;
};
