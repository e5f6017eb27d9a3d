#include "platform/HtmlFile.h"

#include "platform/HtmlDocument.h"
#include "platform/KvlError.h"

#include <QRegularExpression>
#include <QSaveFile>
#include <QStringEncoder>

QString DeclaredCharset(const QString& html)
{
    static const QRegularExpression inContent(QStringLiteral("charset\\s*=\\s*[\"']?([^\\s\"';]+)"),
                                              QRegularExpression::CaseInsensitiveOption);
    for (const HtmlElement& meta : HtmlDocument(html).ElementsByTag(QStringLiteral("meta"))) {
        const QString charset = meta.Attribute(QStringLiteral("charset")).trimmed();
        if (!charset.isEmpty())
            return charset;
        if (meta.Attribute(QStringLiteral("http-equiv"))
                .trimmed()
                .compare(QLatin1String("content-type"), Qt::CaseInsensitive) != 0)
            continue;
        const QRegularExpressionMatch match = inContent.match(meta.Attribute(QStringLiteral("content")));
        if (match.hasMatch())
            return match.captured(1);
    }
    return {};
}

void WriteHtmlFile(const QString& path, const QString& html)
{
    QStringEncoder encoder(DeclaredCharset(html).toLatin1().constData());
    if (!encoder.isValid())
        encoder = QStringEncoder(QStringEncoder::Utf8);
    const QByteArray bytes = encoder.encode(html);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw KvlError(75, QStringLiteral("Path/File access error: %1: %2").arg(path, file.errorString()));
}
