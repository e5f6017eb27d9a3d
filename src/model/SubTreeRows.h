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

    bool Has(const QString& subTestId) const { return m_read.contains(Key(subTestId)); }
    QList<LinkRow> Children(const QString& subTestId) const { return m_children.value(Key(subTestId)); }
    QList<LinkRow> Procedures(const QString& subTestId) const { return m_procedures.value(Key(subTestId)); }
    // The children of the sub-test `name` shown at image `level`. Children that would pass the
    // deepest sub-test level (only a cycle or foreign data nests them so deep) are refused: none
    // are given, and the first refusal of this object is logged.
    QList<LinkRow> ChildrenAt(const QString& subTestId, int level, const QString& name);
    // The label of that log entry; the explorer's by default.
    void SetRefusalLabel(const QString& label) { m_refusalLabel = label; }
    // Every sub-test read or met as a child, and every procedure met, each once.
    QStringList SubTestIds() const;
    QStringList ProcedureIds() const;

private:
    // Ids as numbers: a subtree's rows are filed without a string per row. -1 for a text that
    // names no id.
    static qint64 Key(const QString& id);

    QSet<qint64> m_read;
    bool m_refusalLogged = false;
    QString m_refusalLabel = QStringLiteral("Error_tvTestPlan_AddSubTest : ");
    QHash<qint64, QList<LinkRow>> m_children;
    QHash<qint64, QList<LinkRow>> m_procedures;
};
