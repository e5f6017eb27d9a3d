#pragma once

#include <QString>

#include <functional>

// Page heads of every generated page and the cleaning of description bodies.

// Supplies the shared style sheet (template 17); the template store installs itself at start-up.
// A loader that cannot read the style sheet raises rather than return an empty one.
using StyleSheetLoader = std::function<QString()>;
void SetStyleSheetLoader(StyleSheetLoader loader);

// The opening of a page up to and including "<BODY>". Raises KvlError when no style sheet
// source is installed or it fails.
QString HtmlHead(int documentType);

// The inner HTML of the page's BODY; the whole text when it has no BODY tag; "" when the BODY
// is not closed.
QString ExtractBody(const QString& html);

// Cleans a body before it is stored: drops the field placeholders that the document type does
// not allow and reduces placeholders that point into a folder to their bare name.
QString ClearTags(int documentType, const QString& text);

// Pushes the current style sheet into the editors of every open description window: 0 done,
// 1 failed.
long RefreshStyle();
