#include "core/db/AdoConnection.h"
#include "core/db/BatchInsert.h"
#include "core/db/BoundLists.h"
#include "core/NodeKey.h"
#include "model/ResultKeyRewriter.h"

#include <QSet>
#include <QSqlQuery>
#include <algorithm>

namespace {

// Beyond this many parents one pass over the whole table is cheaper than the patterns.
constexpr int kMaxPatterns = 16;

struct Entry
{
    QString oldKey;
    QString newKey;  // null: the result goes
};

// Temporary keys that no stored key can hold (stored keys start with the configuration prefix).
QString TemporaryKey(int i)
{
    return QStringLiteral("~kvl~%1").arg(i);
}

void FillKeyMap(AdoConnection& connection, const QList<Entry>& entries)
{
    connection.Query(
        QStringLiteral("CREATE TEMPORARY TABLE IF NOT EXISTS KVL_KEY_MAP (OLD_KEY VARCHAR(255) NOT NULL "
                       "PRIMARY KEY, TMP_KEY VARCHAR(40) NOT NULL UNIQUE, NEW_KEY VARCHAR(255))"));
    connection.Run(QStringLiteral("DELETE FROM KVL_KEY_MAP"));
    BatchInsert insert(connection, QStringLiteral("INSERT INTO KVL_KEY_MAP (OLD_KEY, TMP_KEY, NEW_KEY) VALUES "), 3);
    for (qsizetype i = 0; i < entries.size(); ++i)
        insert.Add(
            {entries[i].oldKey, TemporaryKey(static_cast<int>(i)),
             entries[i].newKey.isNull() ? QVariant(QMetaType::fromType<QString>()) : QVariant(entries[i].newKey)});
    insert.Flush();
}

// Through temporary keys, so that no rewritten key meets another one on its way.
void ApplyKeyMap(AdoConnection& connection)
{
    connection.Run(
        QStringLiteral("DELETE FROM RESULT WHERE KEY_NODE IN (SELECT OLD_KEY FROM KVL_KEY_MAP WHERE NEW_KEY IS NULL)"));
    // Both engines we know join in an UPDATE, which spares a look-up per row.
    const bool join = connection.Dialect().IsSQLite() || connection.Dialect().IsPostgreSQL();
    if (connection.Dialect().IsPostgreSQL())
        connection.Run(QStringLiteral("ANALYZE KVL_KEY_MAP"));
    connection.Run(
        join ? QStringLiteral("UPDATE RESULT SET KEY_NODE = M.TMP_KEY FROM KVL_KEY_MAP M WHERE M.OLD_KEY = "
                              "RESULT.KEY_NODE AND M.NEW_KEY IS NOT NULL")
             : QStringLiteral("UPDATE RESULT SET KEY_NODE = (SELECT M.TMP_KEY FROM KVL_KEY_MAP M WHERE M.OLD_KEY = "
                              "RESULT.KEY_NODE) "
                              "WHERE KEY_NODE IN (SELECT OLD_KEY FROM KVL_KEY_MAP WHERE NEW_KEY IS NOT NULL)"));
    // A result still standing on a place that a renumbered occurrence now takes belongs to no
    // link; it would block the rewrite.
    connection.Run(QStringLiteral(
        "DELETE FROM RESULT WHERE KEY_NODE IN (SELECT NEW_KEY FROM KVL_KEY_MAP WHERE NEW_KEY IS NOT NULL)"));
    connection.Run(join ? QStringLiteral("UPDATE RESULT SET KEY_NODE = M.NEW_KEY FROM KVL_KEY_MAP M WHERE M.TMP_KEY = "
                                         "RESULT.KEY_NODE")
                        : QStringLiteral("UPDATE RESULT SET KEY_NODE = (SELECT M.NEW_KEY FROM KVL_KEY_MAP M WHERE "
                                         "M.TMP_KEY = RESULT.KEY_NODE) "
                                         "WHERE KEY_NODE IN (SELECT TMP_KEY FROM KVL_KEY_MAP)"));
    connection.Run(QStringLiteral("DELETE FROM KVL_KEY_MAP"));
}

// Keys per statement: a power of two, under every engine's limit on bound values (SQLite's
// older one is 999).
constexpr qsizetype kKeysPerStatement = 256;
// Up to this many changed keys go through statements that bind them, without the key map.
constexpr qsizetype kMaxListedKeys = 900;

void DeleteKeys(AdoConnection& connection, const QStringList& keys)
{
    for (qsizetype start = 0; start < keys.size(); start += kKeysPerStatement) {
        const QStringList batch = keys.mid(start, kKeysPerStatement);
        QVariantList values(batch.cbegin(), batch.cend());
        // Padded, so that the statement has a length met again.
        BoundLists::PadWithLast(values, kKeysPerStatement);
        connection.Run(QStringLiteral("DELETE FROM RESULT WHERE KEY_NODE IN (%1)")
                           .arg(BoundLists::Marks(values.size(), QStringLiteral("?"))),
                       values);
    }
}

// Each pair's first key becomes its second, joined through a list of values.
void UpdateKeys(AdoConnection& connection, const QList<std::pair<QString, QString>>& pairs)
{
    qsizetype start = 0;
    for (qsizetype count : BoundLists::Chunks(pairs.size(), kKeysPerStatement)) {
        QVariantList values;
        for (qsizetype i = start; i < start + count; ++i)
            values << pairs[i].first << pairs[i].second;
        start += count;
        connection.Run(QStringLiteral("UPDATE RESULT SET KEY_NODE = M.column2 FROM (VALUES %1) AS M WHERE "
                                      "RESULT.KEY_NODE = M.column1")
                           .arg(BoundLists::Marks(count, QStringLiteral("(?, ?)"))),
                       values);
    }
}

// The same steps as through the key map, with the keys bound in the statements: for a few
// hundred keys this spares the temporary table and its statements. When no new key can meet a
// stored one, the keys go straight to their new values.
void ApplyKeyList(AdoConnection& connection, const QList<Entry>& entries, bool direct)
{
    QStringList removed;
    QStringList arrivals;
    QList<std::pair<QString, QString>> away;
    QList<std::pair<QString, QString>> back;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (entries[i].newKey.isNull()) {
            removed << entries[i].oldKey;
            continue;
        }
        if (direct) {
            away.append({entries[i].oldKey, entries[i].newKey});
            continue;
        }
        const QString temporary = TemporaryKey(static_cast<int>(i));
        away.append({entries[i].oldKey, temporary});
        back.append({temporary, entries[i].newKey});
        arrivals << entries[i].newKey;
    }
    DeleteKeys(connection, removed);
    UpdateKeys(connection, away);
    DeleteKeys(connection, arrivals);
    UpdateKeys(connection, back);
}

}  // namespace

ResultKeyRewriter::Outcome ResultKeyRewriter::Run(AdoConnection& connection, const Check& check) const
{
    Outcome outcome;
    if (IsEmpty() && !check)
        return outcome;
    const QStringList patterns = check ? QStringList{} : CandidatePatterns();
    QString sql = QStringLiteral("SELECT KEY_NODE FROM RESULT");
    QVariantList values;
    if (!check && patterns.size() <= kMaxPatterns) {
        QStringList tests;
        for (const QString& pattern : patterns) {
            tests << QStringLiteral("KEY_NODE LIKE ?");
            values << pattern;
        }
        sql += QStringLiteral(" WHERE ") + tests.join(QStringLiteral(" OR "));
    }

    QList<Entry> entries;
    // Every key that stays in RESULT until the rewrite, by hash: a new key whose hash is not
    // among them cannot meet a stored key, as the read covers every key that a new key's
    // segments can match.
    QSet<size_t> staying;
    connection.ForEachRow(sql, values, [&](const QSqlQuery& keys) {
        const QString key = keys.value(0).toString();
        QString rewritten;
        Fate fate = Apply(key, &rewritten);
        if (fate != Fate::Remove && check && !check(NodeKey::Parse(fate == Fate::Rewrite ? rewritten : key)))
            fate = Fate::Remove;
        if (fate != Fate::Remove)
            staying.insert(qHash(key));
        if (fate == Fate::Keep)
            return;
        if (fate == Fate::Remove) {
            const NodeKey parsed = NodeKey::Parse(key);
            outcome.places.insert({parsed.ConfigurationId(), parsed.TestPlanId()});
            entries.append({key, QString()});
            ++outcome.removed;
        } else {
            entries.append({key, rewritten});
            ++outcome.rewritten;
        }
    });
    if (entries.isEmpty())
        return outcome;
    // Both engines we know join in an UPDATE; a list that fits in one statement per step needs
    // no key map.
    if (entries.size() <= kMaxListedKeys && (connection.Dialect().IsSQLite() || connection.Dialect().IsPostgreSQL())) {
        const bool direct = std::none_of(entries.cbegin(), entries.cend(), [&](const Entry& entry) {
            return !entry.newKey.isNull() && staying.contains(qHash(entry.newKey));
        });
        ApplyKeyList(connection, entries, direct);
        return outcome;
    }
    FillKeyMap(connection, entries);
    ApplyKeyMap(connection);
    return outcome;
}
