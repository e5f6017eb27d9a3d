#pragma once

#include <QString>

// The numbered HTML templates of every generated page, stored in HTML_TEMPLATES; an id without a
// row falls back to its built-in default.
class HTMLTemplate
{
public:
    // The template's body; " " for a row holding Null; "" after a failure, which is logged and
    // sets *ok to false, so that an empty template is never taken for a failed load.
    QString Load(int intTypeTemplate, bool* ok = nullptr);
    // Stores the template: 0 done, 1 failed. An empty text is stored as " ".
    long Save(int intTypeTemplate, const QString& strHTMLTemplate);

    static QString BuiltInDefault(int intTypeTemplate);
    // Makes template 17 the style sheet of every page head; start-up calls it once. A failed
    // load raises KvlError in the page head instead of giving pages an empty style sheet.
    static void InstallStyleSheetLoader();
};
