#pragma once

#include "core/AdoConnection.h"

#include <QDir>
#include <QFile>
#include <QString>

// A fresh SQLite database in the test's folder holding the two tables that templates and
// pictures live in, opened as the shared connection.
inline bool OpenPublishingDatabase(const QString& folder)
{
    const QString path = QDir(folder).filePath(QStringLiteral("publishing.db"));
    QFile::remove(path);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.close();
    AdoConnection& db = gConnection();
    if (!db.OpenAccess(path))
        return false;
    const SqlDialect& d = db.Dialect();
    return db.Execute(QStringLiteral("CREATE TABLE HTML_TEMPLATES ( ID INTEGER not null, HTML_TEMPLATE ") +
                      d.MemoType() + QStringLiteral(" null, constraint PK_HTML_TEMPLATES primary key (ID))")) &&
           db.Execute(QStringLiteral("CREATE TABLE IMAGEFILE ( ID INTEGER not null, ITEM INTEGER null, ID_ITEM ") +
                      d.TextType(50) + QStringLiteral(" null, ") + d.Quote(QStringLiteral("FILE")) + QLatin1Char(' ') +
                      d.BlobType() + QStringLiteral(" null, FILETYPE ") + d.TextType(3) +
                      QStringLiteral(" null, constraint PK_IMAGE_FILE primary key (ID))"));
}
