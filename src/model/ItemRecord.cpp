#include "model/ItemRecord.h"

#include "core/db/AdoConnection.h"
#include "core/db/BoundLists.h"
#include "core/db/DbHelpers.h"
#include "core/OptionDefaults.h"
#include "model/DbValues.h"
#include "platform/BugLog.h"
#include "platform/Globals.h"
#include "platform/KvlError.h"

#include <QSqlQuery>

QString ItemRecord::Author() const
{
    return UserName(m_idAuthor);
}

DescriptionDocument ItemRecord::Document(const QString& fileName) const
{
    DescriptionDocument document;
    document.kind = m_table.className;
    document.table = m_table.name;
    document.fileName = fileName;
    document.id = m_id;
    document.name = m_name;
    return document;
}

QString ItemRecord::Label(const QString& method) const
{
    return QStringLiteral("Error_%1 %2 : ").arg(method, m_table.className);
}

QString ItemRecord::NamingPrefix() const
{
    return OptionDefaults::Get(m_table.prefixKey);
}

ItemRecord::Columns ItemRecord::Stamp(const QDate& today, bool created)
{
    Columns columns;
    if (created)
        columns.append({QStringLiteral("DATE_CREATION"), DbValues::Date(today)});
    columns.append({QStringLiteral("DATE_UPDATE"), DbValues::Date(today)});
    if (gUserManagement)
        columns.append({QStringLiteral("ID_USER"), DbValues::Id(gUserId)});
    return columns;
}

int ItemRecord::FindRow(const QString& id)
{
    if (id.isEmpty())
        return 0;
    try {
        m_id = id;
        QStringList columns{QStringLiteral("NAME"), QStringLiteral("TITLE"), QStringLiteral("DATE_CREATION"),
                            QStringLiteral("DATE_UPDATE"),
                            QStringLiteral("CASE WHEN DESCRIPTION IS NULL THEN 0 ELSE 1 END AS HAS_DESCRIPTION")};
        columns << FindColumns();
        // Databases made before user management have no ID_USER column.
        const bool withAuthor = gUserManagement;
        if (withAuthor)
            columns << QStringLiteral("ID_USER");
        bool found = false;
        // A kept statement: the item's row is read on every selection and every save.
        gConnection().ForEachRow(
            QStringLiteral("SELECT %1 FROM %2 WHERE ID = ?").arg(columns.join(QStringLiteral(", ")), m_table.name),
            {DbValues::Id(id)}, [&](const QSqlQuery& row) {
                if (!found)
                    ReadRow(row, withAuthor);
                found = true;
            });
        return found ? 0 : 1;
    } catch (const std::exception& error) {
        LogError(Label(QStringLiteral("Find")), error);
        return 1;
    }
}

void ItemRecord::ReadRow(const QSqlQuery& row, bool withAuthor)
{
    if (!row.isNull(QStringLiteral("NAME")))
        m_name = row.value(QStringLiteral("NAME")).toString();
    if (!row.isNull(QStringLiteral("TITLE")))
        m_title = row.value(QStringLiteral("TITLE")).toString();
    if (row.value(QStringLiteral("HAS_DESCRIPTION")).toInt() != 0)
        m_hasDescription = true;
    // A Null date means no date; it must not stop the rest of the row.
    m_dateCreation = DbValues::ReadDate(row.value(QStringLiteral("DATE_CREATION")));
    m_dateUpdate = DbValues::ReadDate(row.value(QStringLiteral("DATE_UPDATE")));
    ReadColumns(row);
    if (withAuthor) {
        const QVariant author = row.value(QStringLiteral("ID_USER"));
        m_idAuthor = author.isNull() ? QStringLiteral("0") : DbValues::IdText(author);
    }
}

int ItemRecord::UpdateRow(const Columns& extra)
{
    if (m_id.isEmpty())
        return 0;
    try {
        const QDate today = QDate::currentDate();
        const bool withAuthor = gUserManagement;
        Columns columns{{QStringLiteral("NAME"), m_name}, {QStringLiteral("TITLE"), m_title}};
        columns << Stamp(today, false) << extra;
        QStringList assignments;
        QVariantList values;
        for (const auto& [column, value] : columns) {
            assignments << column + QStringLiteral(" = ?");
            values << value;
        }
        values << DbValues::Id(m_id);
        const qint64 changed = gConnection().Change(
            QStringLiteral("UPDATE %1 SET %2 WHERE ID = ?").arg(m_table.name, assignments.join(QStringLiteral(", "))),
            values);
        // The row went while the object was held: what the user changed cannot be stored.
        if (changed == 0)
            throw KvlError(kRowNotFound, QStringLiteral("Row cannot be located for updating. Some values may "
                                                        "have been changed since it was last read."));
        m_dateUpdate = today;
        m_idAuthor = withAuthor ? gUserId : QStringLiteral("0");
        return 0;
    } catch (const std::exception& error) {
        LogError(Label(QStringLiteral("Update")), error);
        return 1;
    }
}

QString ItemRecord::InsertWithNewId(const std::function<Columns(const QString& id)>& columns) const
{
    AdoConnection& connection = gConnection();
    DbTransaction transaction(connection);
    const QString id = QString::number(NewId(m_table.idTable));
    QStringList names{QStringLiteral("ID")};
    QVariantList values{DbValues::Id(id)};
    for (const auto& [column, value] : columns(id)) {
        names << column;
        values << value;
    }
    connection.Run(
        QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
            .arg(m_table.name, names.join(QStringLiteral(", ")), BoundLists::Marks(values.size(), QStringLiteral("?"))),
        values);
    if (!transaction.Commit())
        throw KvlError(3251, QStringLiteral("The new row could not be committed."));
    return id;
}

QString ItemRecord::InsertNamedWithNewId(const QString& prefix, const Columns& others) const
{
    // The three look-ups of the highest id read one snapshot, so they agree.
    const QString next = QStringLiteral("(SELECT COALESCE(MAX(ID), 0) + 1 FROM %1)").arg(m_table.idTable);
    const QString named = QStringLiteral("COALESCE(CAST(? AS TEXT), '') || CAST(%1 AS TEXT)").arg(next);
    QStringList names{QStringLiteral("ID"), QStringLiteral("NAME"), QStringLiteral("TITLE")};
    QStringList expressions{next, named, named};
    QVariantList values{prefix, prefix};
    for (const auto& [column, value] : others) {
        names << column;
        expressions << QStringLiteral("?");
        values << value;
    }
    AdoConnection& connection = gConnection();
    DbTransaction transaction(connection);
    LockAllocation(m_table.idTable);
    const QVariant id = connection.Scalar(
        QStringLiteral("INSERT INTO %1 (%2) VALUES (%3) RETURNING ID")
            .arg(m_table.name, names.join(QStringLiteral(", ")), expressions.join(QStringLiteral(", "))),
        values);
    if (!transaction.Commit())
        throw KvlError(3251, QStringLiteral("The new row could not be committed."));
    return DbValues::IdText(id);
}

int ItemRecord::CreateRow(const Columns& extra)
{
    try {
        const QDate today = QDate::currentDate();
        const QString prefix = NamingPrefix();
        const bool withAuthor = gUserManagement;
        Columns others = Stamp(today, true);
        others << extra;
        // On PostgreSQL one statement takes the id and writes the row: one round trip to the
        // server instead of four, for the same row.
        const QString id = gConnection().Dialect().IsPostgreSQL()
                               ? InsertNamedWithNewId(prefix, others)
                               : InsertWithNewId([&](const QString& newId) {
                                     return Columns{{QStringLiteral("NAME"), prefix + newId},
                                                    {QStringLiteral("TITLE"), prefix + newId}}
                                            << others;
                                 });
        m_id = id;
        m_name = prefix + id;
        m_title = prefix + id;
        m_dateCreation = today;
        m_dateUpdate = today;
        if (withAuthor)
            m_idAuthor = gUserId;
        return 0;
    } catch (const std::exception& error) {
        LogError(Label(QStringLiteral("Create")), error);
        return 1;
    }
}
