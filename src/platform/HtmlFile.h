#pragma once

#include <QString>

// Pages written to disk in the charset their META line declares, as a browser reading the file
// will decode it.

enum class HtmlWriteMode {
    // The file is replaced whole or not at all: a failed write leaves the old file as it was.
    Replace,
    // The file is created or emptied and written in place, for the thousands of pages of a site,
    // where a sync and a rename per page would cost seconds. A failed write may leave part of it.
    Plain,
};

// The charset the META line of the page's head declares ("charset" attribute, or the charset of
// a Content-Type http-equiv); "" when it declares none. Only the head is read, as a browser does.
QString DeclaredCharset(const QString& html);

// Writes the page to `path` in the charset its META line declares; a character that charset lacks
// is written as a numeric character reference. A page without META line is written in
// `undeclaredCharset` ("" reads as UTF-8), with a byte-order mark where a browser could not read
// the bytes as ASCII otherwise (UTF-8 with a character beyond ASCII, UTF-16, UTF-32). A charset
// no converter knows gives UTF-8, the META line rewritten to say so and one error-log entry.
// An existing read-only file is made writable first; line ends are written as given. Raises
// KvlError when the file cannot be written.
void WriteHtmlFile(const QString& path, const QString& html, HtmlWriteMode mode = HtmlWriteMode::Replace,
                   const QString& undeclaredCharset = QString());
