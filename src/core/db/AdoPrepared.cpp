#include "core/db/AdoConnection.h"

#include "platform/KvlError.h"

#include <algorithm>

namespace {

// Statements that bind lists come in a few lengths each; past this many kept statements the
// older half goes.
constexpr qsizetype kMaxPrepared = 256;

}  // namespace

struct AdoConnection::Prepared
{
    QSqlQuery query;
    bool busy = false;
    quint64 lastUse = 0;
};

void AdoConnection::DropOldPrepared() const
{
    QList<quint64> uses;
    for (const std::shared_ptr<Prepared>& kept : std::as_const(m_prepared))
        uses.append(kept->lastUse);
    std::nth_element(uses.begin(), uses.begin() + uses.size() / 2, uses.end());
    const quint64 median = uses[uses.size() / 2];
    m_prepared.removeIf([median](const auto& entry) { return entry.value()->lastUse < median; });
}

void AdoConnection::DropPrepared() const
{
    m_prepared.clear();
}

void AdoConnection::RunPrepared(const QString& statement, const QVariantList& values,
                                const std::function<void(QSqlQuery&)>& read) const
{
    RefuseInsideReader();
    const QStringView text = QStringView(statement).trimmed();
    const auto startsWith = [&](const char* word) { return text.startsWith(QLatin1String(word), Qt::CaseInsensitive); };
    if (values.isEmpty() && !startsWith("SELECT")) {
        // A schema change would leave kept plans behind on some engines; other unbound
        // statements (savepoints, pragmas) cannot be prepared everywhere.
        if (startsWith("CREATE") || startsWith("ALTER") || startsWith("DROP"))
            DropPrepared();
        QSqlQuery query = Query(statement, values);
        if (read)
            read(query);
        return;
    }
    QSqlDatabase db = Connection();
    if (!db.isOpen())
        throw KvlError(3704, QStringLiteral("Operation is not allowed when the object is closed."));
    std::shared_ptr<Prepared> kept = m_prepared.value(statement);
    if (!kept || kept->busy) {
        // A statement met again while its kept query is still being read gets one of its own.
        const bool keep = !kept;
        kept = std::make_shared<Prepared>();
        kept->query = QSqlQuery(db);
        kept->query.setForwardOnly(true);
        if (!kept->query.prepare(statement))
            Raise(kept->query);
        if (keep) {
            if (m_prepared.size() >= kMaxPrepared)
                DropOldPrepared();
            m_prepared.insert(statement, kept);
        }
    }
    kept->lastUse = ++m_preparedUses;
    QSqlQuery& query = kept->query;
    for (qsizetype i = 0; i < values.size(); ++i)
        query.bindValue(static_cast<int>(i), values[i]);
    if (!query.exec())
        Raise(query);
    kept->busy = true;
    try {
        if (read)
            read(query);
    } catch (...) {
        kept->busy = false;
        query.finish();
        throw;
    }
    kept->busy = false;
    // Ends the engine's hold on the rows, so the statement does not keep a read open.
    query.finish();
}
