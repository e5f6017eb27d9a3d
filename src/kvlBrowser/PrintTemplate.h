#pragma once

#include "kvlBrowser/PrintSettings.h"

#include <QString>

// The print template: an HTML page whose JSON script element carries the page fields and the
// header and footer of a print or preview. It is written anew for every print and preview as
// "PrintTemplate.tmp" in the folder that TEMP names, else in the program's default temp folder.

// The values of a written template as the page drawing takes them.
struct PrintTemplateValues : PageFields
{
    QString header;  // the header's HTML, "" for none
    QString footer;
};

QString PrintTemplatePath();

// Writes the template for these settings: 0 done, 1 failed (nothing written). A header or footer
// that is not a JSON string fails the build, so that the caller falls back to the browser's own
// print rather than hand over a template that cannot run.
int BuildPrintTemplate(const PrintSettings& settings);

// Reads the values of a template's text or file: 0 done, 1 when it holds no complete set.
int ReadPrintTemplateText(const QString& html, PrintTemplateValues& values);
int ReadPrintTemplate(const QString& path, PrintTemplateValues& values);
