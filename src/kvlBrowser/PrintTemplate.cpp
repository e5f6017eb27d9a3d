#include "kvlBrowser/PrintTemplate.h"

#include "platform/AppFolders.h"
#include "platform/HtmlDocument.h"
#include "platform/JsonText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <cmath>
#include <limits>

namespace {

const QString kFileName = QStringLiteral("PrintTemplate.tmp");

// A piece of the template being filled: its own text, or a value put in, never searched again.
struct Piece
{
    QString text;
    bool value = false;
};

// Replaces every occurrence of a marker in the template's own text.
void Replace(QList<Piece>& pieces, const QString& marker, const QString& value)
{
    QList<Piece> out;
    for (const Piece& piece : pieces) {
        if (piece.value) {
            out.append(piece);
            continue;
        }
        qsizetype from = 0;
        for (qsizetype at = piece.text.indexOf(marker); at >= 0; at = piece.text.indexOf(marker, from)) {
            out.append({piece.text.mid(from, at - from), false});
            out.append({value, true});
            from = at + marker.size();
        }
        out.append({piece.text.mid(from), false});
    }
    pieces = out;
}

// A header or footer as the script takes it: the host's JSON string, or an empty one.
QString Expression(const QString& text)
{
    return text.isEmpty() ? JsonText::Quoted(u"") : text;
}

QString Filled(const QString& source, const PrintSettings& settings)
{
    QList<Piece> pieces{{source, false}};
    // The height markers go first: "kvlHeader" and "kvlFooter" are their prefixes.
    const QList<std::pair<const char*, QString>> values{
        {"kvlHeaderHeight", QString::number(settings.HeaderHeight)},
        {"kvlFooterHeight", QString::number(settings.FooterHeight)},
        {"kvlMarginBottom", QString::number(settings.MarginBottom)},
        {"kvlMarginTop", QString::number(settings.MarginTop)},
        {"kvlMarginLeft", QString::number(settings.MarginLeft)},
        {"kvlMarginRight", QString::number(settings.MarginRight)},
        {"kvlPageWidth", QString::number(settings.PageWidth)},
        {"kvlPageHeight", QString::number(settings.PageHeight)},
        // Written between the template's quotes.
        {"kvlOrientation", JsonText::Escaped(settings.Orientation)},
        {"kvlHeader", Expression(settings.HTMLHeader)},
        {"kvlFooter", Expression(settings.HTMLFooter)},
    };
    for (const auto& [marker, value] : values)
        Replace(pieces, QLatin1String(marker), value);
    QString text;
    for (const Piece& piece : pieces)
        text += piece.text;
    return text;
}

bool ReadLength(const QJsonObject& settings, const char* key, qint32& length)
{
    const QJsonValue value = settings.value(QLatin1String(key));
    if (!value.isDouble())
        return false;
    const double number = value.toDouble();
    if (number != std::trunc(number) || number < std::numeric_limits<qint32>::min() ||
        number > std::numeric_limits<qint32>::max())
        return false;
    length = static_cast<qint32>(number);
    return true;
}

bool ReadText(const QJsonObject& settings, const char* key, QString& text)
{
    const QJsonValue value = settings.value(QLatin1String(key));
    if (!value.isString())
        return false;
    text = value.toString();
    return true;
}

}  // namespace

QString PrintTemplatePath()
{
    const QString temp = qEnvironmentVariable("TEMP");
    return QDir(temp.isEmpty() ? AppFolders::DefaultTempPath() : temp).filePath(kFileName);
}

int ReadPrintTemplateText(const QString& html, PrintTemplateValues& values)
{
    const HtmlDocument document(html);
    for (const HtmlElement& script : document.ElementsByTag(QStringLiteral("script"))) {
        if (script.Attribute(QStringLiteral("type")).compare(QLatin1String("application/json"), Qt::CaseInsensitive))
            continue;
        QJsonParseError error;
        const QJsonDocument json = QJsonDocument::fromJson(document.InnerHtml(script).toUtf8(), &error);
        if (error.error != QJsonParseError::NoError || !json.isObject())
            return 1;
        const QJsonObject settings = json.object();
        PrintTemplateValues read;
        const bool complete =
            ReadLength(settings, "headerHeight", read.HeaderHeight) &&
            ReadLength(settings, "footerHeight", read.FooterHeight) &&
            ReadLength(settings, "marginBottom", read.MarginBottom) &&
            ReadLength(settings, "marginTop", read.MarginTop) && ReadLength(settings, "marginLeft", read.MarginLeft) &&
            ReadLength(settings, "marginRight", read.MarginRight) &&
            ReadLength(settings, "pageWidth", read.PageWidth) && ReadLength(settings, "pageHeight", read.PageHeight) &&
            ReadText(settings, "orientation", read.Orientation) && ReadText(settings, "header", read.header) &&
            ReadText(settings, "footer", read.footer);
        if (!complete)
            return 1;
        values = read;
        return 0;
    }
    return 1;
}

int ReadPrintTemplate(const QString& path, PrintTemplateValues& values)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 1;
    return ReadPrintTemplateText(QString::fromUtf8(file.readAll()), values);
}

int BuildPrintTemplate(const PrintSettings& settings)
{
    QFile resource(QStringLiteral(":/kvlBrowser/PrintTemplate.htm"));
    if (!resource.open(QIODevice::ReadOnly)) {
        qWarning("The print template resource is missing.");
        return 1;
    }
    const QByteArray text = Filled(QString::fromUtf8(resource.readAll()), settings).toUtf8();
    PrintTemplateValues check;
    if (ReadPrintTemplateText(QString::fromUtf8(text), check) != 0) {
        qWarning("The print template cannot hold this header or footer.");
        return 1;
    }
    const QString path = PrintTemplatePath();
    if (qEnvironmentVariableIsEmpty("TEMP"))
        QDir().mkpath(QFileInfo(path).absolutePath());
    // QSaveFile would write through a link planted under this well-known name.
    if (QFileInfo(path).isSymLink() && !QFile::remove(path)) {
        qWarning("The print template cannot replace the link %s.", qPrintable(path));
        return 1;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        qWarning("The print template cannot be written to %s.", qPrintable(path));
        return 1;
    }
    return 0;
}
