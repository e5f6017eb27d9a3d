#pragma once

#include "model/LinkRow.h"

#include <QHash>
#include <QSet>

// The sub-test and procedure links below some sub-tests, read level by level with one query per
// level for both link tables. Filling or summing a subtree from here costs a query per depth instead of
// two per occurrence; a sub-test met twice is read once.
class SubTreeRows
{
public:
    // Reads the links below `rootIds` down to `levels` levels of sub-tests. Raises KvlError when a
    // query fails.
    void Load(const QStringList& rootIds, int levels);

    bool Has(const QString& subTestId) const { return m_read.contains(subTestId); }
    QList<LinkRow> Children(const QString& subTestId) const { return m_children.value(subTestId); }
    QList<LinkRow> Procedures(const QString& subTestId) const { return m_procedures.value(subTestId); }

private:
    QSet<QString> m_read;
    QHash<QString, QList<LinkRow>> m_children;
    QHash<QString, QList<LinkRow>> m_procedures;
};
