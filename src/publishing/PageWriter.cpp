#include "publishing/PageWriter.h"

#include "core/OptionDefaults.h"

void WritePage(const QString& path, const QString& html, HtmlWriteMode mode)
{
    WriteHtmlFile(path, html, mode, OptionDefaults::Get(QStringLiteral("Charset")));
}
