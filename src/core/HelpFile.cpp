#include "core/HelpFile.h"

namespace {
QString gHelpFile;
}

QString HelpFile()
{
    return gHelpFile;
}

void SetHelpFile(const QString& path)
{
    gHelpFile = path;
}
