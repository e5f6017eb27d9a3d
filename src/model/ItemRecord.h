#pragma once

#include "model/DescriptionDocument.h"

#include <QDate>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>

class QSqlQuery;

// What the four item classes share: the columns every item table has (id, name, title, dates,
// description, author) and the rules by which an item finds, updates and creates its row.
// The classes add their own columns through the hooks.
class ItemRecord
{
public:
    // The error of an update whose row went while the object was held.
    static constexpr long kRowNotFound = -2147217864L;

    virtual ~ItemRecord() = default;

    QString Id() const { return m_id; }
    void SetId(const QString& id) { m_id = id; }
    QString Name() const { return m_name; }
    void SetName(const QString& name) { m_name = name; }
    QString Title() const { return m_title; }
    void SetTitle(const QString& title) { m_title = title; }
    QDate DateCreation() const { return m_dateCreation; }
    QDate DateUpdate() const { return m_dateUpdate; }
    bool HasDescription() const { return m_hasDescription; }
    // USERS.ID of the user who created or last updated the row, "0" when there is none.
    QString IdAuthor() const { return m_idAuthor; }
    // The name of that user, "Undefined" when there is none.
    QString Author() const;

    using Columns = QList<QPair<QString, QVariant>>;

    struct Table
    {
        QString name;       // the table
        QString className;  // for the log labels
        QString prefixKey;  // settings key of the naming prefix in section Options; also its default
        QString idTable;    // table name given to NewId
    };
    const Table& TableInfo() const { return m_table; }
    // A new row is named and titled with this prefix followed by its id.
    QString NamingPrefix() const;
    // The dates and author a written row carries: DATE_UPDATE `today` and, under user management,
    // ID_USER the logged user; a new row (`created`) also DATE_CREATION `today`.
    static Columns Stamp(const QDate& today, bool created);

protected:
    explicit ItemRecord(const Table& table) : m_table(table) {}

    // Find: 0 found (also for an empty id, which sends nothing), 1 missing row or failure.
    int FindRow(const QString& id);
    // Update: writes name, title, today's date, the author and `extra`; 0 done (also for an
    // empty id), 1 failure or a row that no longer exists.
    int UpdateRow(const Columns& extra);
    // Create: a new row named after the prefix and the new id, dated today; 0 done, 1 failure.
    int CreateRow(const Columns& extra);
    // Inserts a row under a new id inside one transaction; `columns` receives the new id and
    // gives every other column. Returns the new id. Raises.
    QString InsertWithNewId(const std::function<Columns(const QString& id)>& columns) const;
    // The same for a row whose name and title are `prefix` and the new id, in one statement
    // (PostgreSQL). Raises.
    QString InsertNamedWithNewId(const QString& prefix, const Columns& others) const;

    // Further select expressions of Find and their reading.
    virtual QStringList FindColumns() const { return {}; }
    virtual void ReadColumns(const QSqlQuery& /*row*/) {}

    // The item's description window, named after `fileName` and the id.
    DescriptionDocument Document(const QString& fileName) const;

    QString Label(const QString& method) const;

    void SetDateCreationValue(const QDate& date) { m_dateCreation = date; }
    void SetDateUpdateValue(const QDate& date) { m_dateUpdate = date; }
    void SetIdAuthorValue(const QString& id) { m_idAuthor = id; }

private:
    // The columns of a found row; runs no statement.
    void ReadRow(const QSqlQuery& row, bool withAuthor);

    Table m_table;
    QString m_id;
    QString m_name;
    QString m_title;
    QDate m_dateCreation;
    QDate m_dateUpdate;
    bool m_hasDescription = false;
    QString m_idAuthor;
};
