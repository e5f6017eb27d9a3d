#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

// One link row joined with the row of the item it places, as the loaders read it. Values stay
// as the database gave them, so each loader converts (and refuses) them by its own rules.
// Queries name their columns with these aliases; a column the query lacks reads as Null.
struct LinkRow
{
    QVariant parentId;         // PARENT_ID: the holder's side of the link
    QVariant id;               // ID: the item the row describes
    QVariant order;            // ORDER_NO
    QVariant name;             // NAME
    QVariant title;            // TITLE
    QVariant dateCreation;     // DATE_CREATION
    QVariant dateUpdate;       // DATE_UPDATE
    QVariant idUser;           // ID_USER
    QVariant workLoad;         // WORKLOAD
    QVariant idConfiguration;  // ID_CONFIGURATION
    QVariant kind;             // KIND: 1 a procedure link, 0 a sub-test link (SubTreeLevel)

    // Runs the query and reads every row. Raises KvlError when the query fails.
    static QList<LinkRow> Read(const QString& statement, const QVariantList& values);
    // The same, appending to `rows`.
    static void ReadInto(const QString& statement, const QVariantList& values, QList<LinkRow>& rows);

    // Runs `statement` once per batch of ids, each "%1" in it standing for the batch's "?" marks.
    static QList<LinkRow> ReadByIds(const QString& statement, const QStringList& ids);

    // Sub-test links below the given sub-tests, by parent and order; one query per batch of ids.
    static QList<LinkRow> SubTestChildren(const QStringList& parentIds);
    // Procedure links below the given sub-tests, by sub-test and order.
    static QList<LinkRow> Procedures(const QStringList& subTestIds);
    // Both kinds of links below the given sub-tests, with the columns of the two above, in one
    // query per batch, in no particular order (SubTreeRows puts each parent's in sequence).
    static QList<LinkRow> SubTreeLevel(const QStringList& subTestIds);
};
