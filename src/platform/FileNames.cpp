#include "platform/FileNames.h"

#include <algorithm>

namespace FileNames {

QString LastPart(const QString& path)
{
    const qsizetype separator = std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')));
    return path.mid(separator + 1);
}

}  // namespace FileNames
