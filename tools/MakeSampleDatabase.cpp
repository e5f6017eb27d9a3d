// Builds the sample database shipped beside the program: a database file with the program's own
// schema, made by the schema code that creates every new database, holding a small
// demonstration plan written through the item classes.

#include "core/db/AdoConnection.h"
#include "core/db/kvlDatabase.h"
#include "model/DemonstrationPlan.h"
#include "platform/Globals.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

namespace {

int Fail(const QString& why)
{
    std::fprintf(stderr, "kvl_make_sample: %s\n", qPrintable(why));
    QFile log(QDir(gTempPath).filePath(QStringLiteral("BugLog.txt")));
    if (log.open(QIODevice::ReadOnly))
        std::fprintf(stderr, "%s\n", log.readAll().constData());
    return 1;
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: kvl_make_sample <database file>\n");
        return 2;
    }
    const QString target = QFile::decodeName(argv[1]);
    // Statements log their failures; keep the log apart from any user's.
    QTemporaryDir work;
    gTempPath = work.path();

    // Built under another name, so that a failed run never leaves a half-made sample in place.
    const QString building = target + QStringLiteral(".building");
    QFile::remove(building);
    {
        QFile file(building);
        if (!file.open(QIODevice::WriteOnly))
            return Fail(QStringLiteral("cannot create ") + building);
    }
    int status = 1;
    {
        // The item classes work on the shared connection.
        AdoConnection& connection = gConnection();
        if (!connection.OpenAccess(building))
            return Fail(connection.LastOpenError());
        kvlDatabase schema;
        status = schema.AddTables(connection);
        if (status == 0)
            status = schema.AddConstraints(connection);
        if (status == 0)
            status = BuildDemonstrationPlan();
        connection.Close();
    }
    if (status != 0) {
        QFile::remove(building);
        return Fail(QStringLiteral("the schema or the demonstration plan could not be created"));
    }
    QFile::remove(target);
    if (!QFile::rename(building, target))
        return Fail(QStringLiteral("cannot write ") + target);
    return 0;
}
