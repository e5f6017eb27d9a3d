#include "core/db/SchemaDefinition.h"

#include "platform/KvlError.h"

namespace {

using Type = SchemaDefinition::Type;
using Column = SchemaDefinition::Column;

Column Int(const char* name, bool notNull = false)
{
    return {QString::fromLatin1(name), Type::Integer, 0, notNull};
}
Column Real(const char* name, bool notNull = false)
{
    return {QString::fromLatin1(name), Type::Real, 0, notNull};
}
Column Varchar(const char* name, int width, bool notNull = false)
{
    return {QString::fromLatin1(name), Type::Varchar, width, notNull};
}
Column Memo(const char* name)
{
    return {QString::fromLatin1(name), Type::Memo, 0, false};
}
Column Date(const char* name)
{
    return {QString::fromLatin1(name), Type::Date, 0, false};
}
Column Blob(const char* name)
{
    return {QString::fromLatin1(name), Type::Blob, 0, false};
}

// The columns every item table starts with.
QList<Column> ItemColumns()
{
    return {Int("ID", true),     Varchar("NAME", 50), Varchar("TITLE", 50),
            Memo("DESCRIPTION"), Date("DATE_UPDATE"), Date("DATE_CREATION")};
}

QList<SchemaDefinition::Table> MakeTables()
{
    const QStringList id{QStringLiteral("ID")};
    return {
        {"CONFIGURATION",
         ItemColumns() + QList<Column>{Varchar("EQUIPMENT1", 50), Varchar("EQUIPMENT2", 50), Varchar("EQUIPMENT3", 50),
                                       Int("ID_USER")},
         "PK_CONFIGURATION", id},
        {"TESTPLAN", ItemColumns() + QList<Column>{Int("ID_CONFIGURATION", true), Blob("WORDTEMPLATE"), Int("ID_USER")},
         "PK_TESTPLAN", id},
        {"SUBTEST", ItemColumns() + QList<Column>{Int("LEVEL"), Int("ID_USER")}, "PK_SUBTEST", id},
        {"PROCEDURES", ItemColumns() + QList<Column>{Memo("RESULT"), Real("WORKLOAD"), Int("ID_USER")}, "PK_PROCEDURES",
         id},
        {"PROCEDURE_LINKS",
         {Int("ID_PROCEDURE", true), Int("ID_SUBTEST", true), Int("ORDER_PROCEDURE", true)},
         "PK_PROCEDURE_LINKS",
         {"ID_PROCEDURE", "ID_SUBTEST", "ORDER_PROCEDURE"}},
        {"CONFIGURATION_LINKS",
         {Int("ID_TESTPLAN", true), Int("ID_CONFIGURATION", true)},
         "PK_CONFIGURATION_LINKS",
         {"ID_TESTPLAN", "ID_CONFIGURATION"}},
        {"SUBTEST_LINKS",
         {Int("ID_SUBTEST_PARENT", true), Int("ID_SUBTEST_CHILD", true), Int("ORDER_SUBTEST", true)},
         "PK_SUBTEST_LINKS",
         {"ID_SUBTEST_PARENT", "ID_SUBTEST_CHILD", "ORDER_SUBTEST"}},
        {"TESTPLAN_LINKS",
         {Int("ID_TESTPLAN", true), Int("ID_SUBTEST", true), Int("ORDER_SUBTEST", true)},
         "PK_TESTPLAN_LINKS",
         {"ID_TESTPLAN", "ID_SUBTEST", "ORDER_SUBTEST"}},
        {"RESULT",
         {Int("ID_PROCEDURE", true), Varchar("KEY_NODE", 255, true), Int("STATUS", true), Int("ID_TESTPLAN"),
          Date("DATE_UPDATE"), Date("DATE_CREATION"), Varchar("COMMENT", 100), Int("ITERATION"), Int("ID_USER")},
         "PK_RESULT",
         {"KEY_NODE"}},
        {"HTML_TEMPLATES", {Int("ID", true), Memo("HTML_TEMPLATE")}, "PK_HTML_TEMPLATES", id},
        {"INFORMATION", {Varchar("VERSION", 12, true), Varchar("COMMENT", 255)}, "PK_INFORMATION", {"VERSION"}},
        {"IMAGEFILE",
         {Int("ID", true), Int("ITEM"), Varchar("ID_ITEM", 50), Blob("FILE"), Varchar("FILETYPE", 3)},
         "PK_IMAGE_FILE",
         id},
        {"USERS",
         {Int("ID", true), Varchar("NAME", 50), Varchar("PWD", 50), Varchar("DESCRIPTION", 50), Int("CATEGORY", true)},
         "PK_USERS",
         id},
        {"HISTORY",
         {Int("ID_TESTPLAN", true), Int("ID_CONFIGURATION", true), Real("ADVANCEMENT", true), Real("WORKLOAD", true),
          Varchar("DATE_UPDATE", 12, true), Real("COUNT_PASSED", true), Real("COUNT_FAILED", true),
          Real("COUNT_CANCELED", true), Real("COUNT_WARNING", true)},
         "PK_HISTORY",
         {"ID_TESTPLAN", "ID_CONFIGURATION", "DATE_UPDATE"}},
    };
}

}  // namespace

const QList<SchemaDefinition::Table>& SchemaDefinition::Tables()
{
    static const QList<Table> tables = MakeTables();
    return tables;
}

const SchemaDefinition::Table& SchemaDefinition::TableNamed(const QString& name)
{
    for (const Table& table : Tables()) {
        if (table.name.compare(name, Qt::CaseInsensitive) == 0)
            return table;
    }
    throw KvlError(QStringLiteral("Unknown table ") + name);
}

const QList<SchemaDefinition::ForeignKey>& SchemaDefinition::ForeignKeys()
{
    static const QList<ForeignKey> keys{
        {"FK_USER_TESTPLAN1", "TESTPLAN", "ID_USER", "USERS"},
        {"FK_USER_SUBTEST1", "SUBTEST", "ID_USER", "USERS"},
        {"FK_USER_PROCEDURE1", "PROCEDURES", "ID_USER", "USERS"},
        {"FK_USER_CONFIGURATION1", "CONFIGURATION", "ID_USER", "USERS"},
        {"FK_USER_TESTPLANLINKS1", "TESTPLAN_LINKS", "ID_TESTPLAN", "TESTPLAN"},
        {"FK_USER_TESTPLANLINKS2", "TESTPLAN_LINKS", "ID_SUBTEST", "SUBTEST"},
        {"FK_USER_CONFIGURATIONLINKS1", "CONFIGURATION_LINKS", "ID_TESTPLAN", "TESTPLAN"},
        {"FK_USER_CONFIGURATIONLINKS2", "CONFIGURATION_LINKS", "ID_CONFIGURATION", "CONFIGURATION"},
        {"FK_USER_PROCEDURELINKS1", "PROCEDURE_LINKS", "ID_SUBTEST", "SUBTEST"},
        {"FK_USER_PROCEDURELINKS2", "PROCEDURE_LINKS", "ID_PROCEDURE", "PROCEDURES"},
        {"FK_USER_SUBTESTLINKS1", "SUBTEST_LINKS", "ID_SUBTEST_CHILD", "SUBTEST"},
        {"FK_USER_SUBTESTLINKS2", "SUBTEST_LINKS", "ID_SUBTEST_PARENT", "SUBTEST"},
        {"FK_USER_RESULT1", "RESULT", "ID_USER", "USERS"},
        {"FK_USER_RESULT2", "RESULT", "ID_TESTPLAN", "TESTPLAN"},
        {"FK_USER_RESULT3", "RESULT", "ID_PROCEDURE", "PROCEDURES"},
        {"FK_HISTORY_LINKS1", "HISTORY", "ID_TESTPLAN", "TESTPLAN"},
    };
    return keys;
}

QList<SchemaDefinition::ForeignKey> SchemaDefinition::ForeignKeysOf(const QString& table)
{
    QList<ForeignKey> keys;
    for (const ForeignKey& key : ForeignKeys()) {
        if (key.table == table)
            keys.append(key);
    }
    return keys;
}

const QList<SchemaDefinition::Index>& SchemaDefinition::Indexes()
{
    static const QList<Index> indexes{
        {"IDX_PROCEDURE_LINKS_SUBTEST", "PROCEDURE_LINKS", {"ID_SUBTEST", "ORDER_PROCEDURE"}},
        {"IDX_SUBTEST_LINKS_PARENT", "SUBTEST_LINKS", {"ID_SUBTEST_PARENT", "ORDER_SUBTEST"}},
        {"IDX_SUBTEST_LINKS_CHILD", "SUBTEST_LINKS", {"ID_SUBTEST_CHILD"}},
        {"IDX_TESTPLAN_LINKS_SUBTEST", "TESTPLAN_LINKS", {"ID_SUBTEST"}},
        {"IDX_CONFIGURATION_LINKS_CONFIGURATION", "CONFIGURATION_LINKS", {"ID_CONFIGURATION"}},
        {"IDX_RESULT_PROCEDURE", "RESULT", {"ID_PROCEDURE"}},
        {"IDX_RESULT_TESTPLAN", "RESULT", {"ID_TESTPLAN"}},
    };
    return indexes;
}

QString SchemaDefinition::CreateIndexSql(const Index& index)
{
    return QStringLiteral("CREATE INDEX %1 ON %2 (%3)").arg(index.name, index.table, index.columns.join(", "));
}

const QStringList& SchemaDefinition::UserColumnTables()
{
    static const QStringList tables{"PROCEDURES", "TESTPLAN", "CONFIGURATION", "RESULT", "SUBTEST"};
    return tables;
}

QString SchemaDefinition::ColumnName(const SqlDialect& dialect, const QString& name)
{
    // Keywords on some engines.
    if (name == QLatin1String("LEVEL") || name == QLatin1String("FILE"))
        return dialect.Quote(name);
    return name;
}

QString SchemaDefinition::ColumnSql(const SqlDialect& dialect, const Column& column)
{
    QString type;
    switch (column.type) {
        case Type::Integer:
            type = dialect.IntegerType();
            break;
        case Type::Real:
            type = dialect.RealType();
            break;
        case Type::Varchar:
            type = dialect.TextType(column.width);
            break;
        case Type::Memo:
            type = dialect.MemoType();
            break;
        case Type::Date:
            type = dialect.DateType();
            break;
        case Type::Blob:
            type = dialect.BlobType();
            break;
    }
    return ColumnName(dialect, column.name) + QLatin1Char(' ') + type +
           (column.notNull ? QStringLiteral(" NOT NULL") : QStringLiteral(" NULL"));
}

QString SchemaDefinition::CreateTableSql(const SqlDialect& dialect, const Table& table,
                                         const QList<ForeignKey>& inlineKeys)
{
    QStringList parts;
    for (const Column& column : table.columns)
        parts.append(ColumnSql(dialect, column));
    parts.append(QStringLiteral("CONSTRAINT %1 PRIMARY KEY (%2)").arg(table.primaryKey, table.keyColumns.join(", ")));
    for (const ForeignKey& key : inlineKeys)
        parts.append(ConstraintSql(key));
    return QStringLiteral("CREATE TABLE %1 ( %2)").arg(table.name, parts.join(", "));
}

QString SchemaDefinition::ConstraintSql(const ForeignKey& key)
{
    return QStringLiteral("CONSTRAINT %1 FOREIGN KEY (%2) REFERENCES %3(ID)").arg(key.name, key.column, key.references);
}

QString SchemaDefinition::AddConstraintSql(const ForeignKey& key)
{
    return QStringLiteral("ALTER TABLE %1 ADD ").arg(key.table) + ConstraintSql(key);
}
