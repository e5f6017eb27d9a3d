#pragma once

#include <QString>
#include <QStringList>

// Makes a database file at `path` with the program's schema, runs `statements` on it and closes
// it again. Returns the path, or "" when any step failed.
QString MakeSchemaFile(const QString& path, const QStringList& statements = {});
