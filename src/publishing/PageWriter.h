#pragma once

#include "platform/HtmlFile.h"

#include <QString>

// Writes a generated page: in the charset its META line declares, a page without one in the
// charset of the options (Options/Charset). Every generator writes its pages through here.
// Raises KvlError when the file cannot be written.
void WritePage(const QString& path, const QString& html, HtmlWriteMode mode);
