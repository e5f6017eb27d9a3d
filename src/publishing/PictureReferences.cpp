#include "publishing/PictureReferences.h"

#include "platform/FileNames.h"
#include "platform/HtmlDocument.h"

#include <QUrl>

#include <algorithm>

PictureReferences::PictureReferences(const QString& html) : m_html(html)
{
    if (!HtmlDocument::MayHoldImages(html))
        return;
    const HtmlDocument document(html);
    for (const HtmlElement& image : document.ElementsByTag(QStringLiteral("img"))) {
        const HtmlAttribute* source = image.FindAttribute(QStringLiteral("src"));
        if (!source || source->valueStart < 0 || source->value.isEmpty())
            continue;
        m_references.append(Reference{source->value, source->valueStart, source->valueLength});
    }
}

void PictureReferences::Replace(const Reference& reference, const QString& newSource)
{
    m_replacements.append({reference, newSource});
}

QString PictureReferences::Rewritten() const
{
    auto replacements = m_replacements;
    // From the end, so that earlier positions stay valid.
    std::sort(replacements.begin(), replacements.end(),
              [](const auto& a, const auto& b) { return a.first.valueStart > b.first.valueStart; });
    QString html = m_html;
    for (const auto& [reference, newSource] : replacements) {
        html.replace(reference.valueStart, reference.valueLength,
                     QLatin1Char('"') + newSource.toHtmlEscaped() + QLatin1Char('"'));
    }
    return html;
}

QString PictureReferences::FileName(const QString& source)
{
    return FileNames::LastPart(source);
}

QString PictureReferences::LocalFile(const QString& source)
{
    if (source.startsWith(QLatin1String("file:"), Qt::CaseInsensitive))
        return QUrl(source).toLocalFile();
    return source;
}

QString PictureReferences::ReferenceTo(const QString& localFile)
{
    return QUrl::fromLocalFile(localFile).toString(QUrl::FullyEncoded);
}

bool PictureReferences::PictureNumber(const QString& fileName, int& number)
{
    const qsizetype dot = fileName.indexOf(QLatin1Char('.'));
    if (dot <= 0)
        return false;
    const QString base = fileName.left(dot);
    for (const QChar c : base) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    bool ok = false;
    number = base.toInt(&ok);
    return ok;
}
