#include "publishing/PageFiles.h"

#include <QDir>

namespace PageFiles {

namespace {

QString Page(const char* kind, const QString& id)
{
    return QLatin1String(kind) + id + QStringLiteral(".htm");
}

}  // namespace

QString MainTestPlan(const QString& planId)
{
    return Page("MainTestPlan", planId);
}

QString TestPlan(const QString& planId)
{
    return Page("TestPlan", planId);
}

QString SubTest(const QString& subTestId)
{
    return Page("SubTest", subTestId);
}

QString Configuration(const QString& configurationId)
{
    return Page("Configuration", configurationId);
}

QString Procedure(const QString& procedureId)
{
    return Page("Procedure", procedureId);
}

QString Procedure(const QString& procedureId, const QString& subTestId)
{
    return Page("Procedure", procedureId + QLatin1Char('_') + subTestId);
}

QString Explorer()
{
    return QStringLiteral("Explorer.htm");
}

QString InFolder(const QString& folder, const QString& name)
{
    return QDir(folder).filePath(name);
}

}  // namespace PageFiles
