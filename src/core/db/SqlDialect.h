#pragma once

#include <QString>

class QSqlDatabase;

// What differs between the engines behind the connection: column types, identifier quoting and
// what ALTER TABLE can do. Chosen from the driver when the connection opens.
class SqlDialect
{
public:
    enum class Engine { SQLite, PostgreSQL, Other };

    SqlDialect() = default;
    explicit SqlDialect(Engine engine) : m_engine(engine) {}
    static SqlDialect ForDatabase(const QSqlDatabase& db);

    Engine engine() const { return m_engine; }
    bool IsSQLite() const { return m_engine == Engine::SQLite; }
    bool IsPostgreSQL() const { return m_engine == Engine::PostgreSQL; }

    // Column types for the schema's logical types.
    QString IntegerType() const { return QStringLiteral("INTEGER"); }
    QString RealType() const;           // single precision where the engine has it
    QString TextType(int width) const;  // VARCHAR(n)
    QString MemoType() const;           // long text: HTML documents
    QString DateType() const;           // a date: ISO text in SQLite, DATE elsewhere
    QString BlobType() const;           // raw bytes: pictures, word templates

    // Quotes an identifier that is also a keyword (LEVEL, FILE).
    QString Quote(const QString& identifier) const;

    // SQLite cannot add a constraint to an existing table: foreign keys are declared inline.
    bool CanAddConstraint() const { return m_engine != Engine::SQLite; }
    bool CanDropColumn() const { return true; }

    // A text search that matches ASCII letters without case and every other character exactly,
    // whatever the server's locale: `column` LIKE ? ESCAPE '\' (ILIKE on PostgreSQL), bound with
    // LikePattern(text).
    QString ContainsCondition(const QString& column) const;
    // "%text%" with "\", "%" and "_" escaped, so they stand for themselves; ASCII letters lowered
    // where the condition lowers the column.
    QString LikePattern(const QString& text) const;

private:
    Engine m_engine = Engine::Other;
};
