#include "core/AdoConnection.h"

#include "core/KvlError.h"

namespace {

// Statements that read by lists of ids come in many lengths; past this many the kept ones go.
constexpr qsizetype kMaxPrepared = 64;

}  // namespace

struct AdoConnection::Prepared
{
    QSqlQuery query;
    bool busy = false;
};

void AdoConnection::DropPrepared() const
{
    m_prepared.clear();
}

void AdoConnection::RunPrepared(const QString& statement, const QVariantList& values,
                                const std::function<void(QSqlQuery&)>& read) const
{
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
                DropPrepared();
            m_prepared.insert(statement, kept);
        }
    }
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
