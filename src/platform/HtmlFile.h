#pragma once

#include <QString>

// Pages written to disk in the charset their META line declares, as a browser reading the file
// will decode it.

// The charset a page's META line declares ("charset" attribute, or the charset of a
// Content-Type http-equiv); "" when it declares none.
QString DeclaredCharset(const QString& html);

// Writes the page to `path`, replacing the file whole or not at all. A page that declares no
// charset, or one this system cannot encode, is written in UTF-8. Raises KvlError when the file
// cannot be written.
void WriteHtmlFile(const QString& path, const QString& html);
