#pragma once

#include <QString>

namespace FileNames {

// The part of a path or picture reference after its last folder separator, "/" or "\": pages
// written on Windows name their pictures with either.
QString LastPart(const QString& path);

}  // namespace FileNames
