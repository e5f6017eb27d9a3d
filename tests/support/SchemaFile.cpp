#include "SchemaFile.h"

#include "core/db/AdoConnection.h"
#include "core/db/kvlDatabase.h"

#include <QFile>

QString MakeSchemaFile(const QString& path, const QStringList& statements)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.close();
    AdoConnection connection;
    bool made = connection.OpenAccess(path) && kvlDatabase().AddTables(connection) == 0;
    for (const QString& statement : statements)
        made = made && connection.Execute(statement);
    connection.Close();
    return made ? path : QString();
}
