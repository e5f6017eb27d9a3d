#include "platform/HtmlFile.h"

#include "platform/BugLog.h"
#include "platform/HtmlDocument.h"
#include "platform/KvlError.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringEncoder>

#include <functional>
#include <optional>
#include <vector>

namespace {

// How far into a page its META line is looked for: the head of a generated page is far shorter,
// and a page of many megabytes is not parsed whole to be written.
constexpr qsizetype kHeadLength = 64 * 1024;

const QString kUtf8 = QStringLiteral("UTF-8");

// Where a page names its charset: the attribute value (quotes included) and that value written
// again with another charset in its place.
struct CharsetDeclaration
{
    QString charset;
    qsizetype valueStart = -1;
    qsizetype valueLength = 0;
    std::function<QString(const QString&)> Naming;
};

std::optional<CharsetDeclaration> FindDeclaration(const QString& html)
{
    static const QRegularExpression inContent(QStringLiteral("charset\\s*=\\s*[\"']?([^\\s\"';]+)"),
                                              QRegularExpression::CaseInsensitiveOption);
    QStringView head = QStringView(html).left(kHeadLength);
    const qsizetype body = head.indexOf(QLatin1String("<body"), 0, Qt::CaseInsensitive);
    if (body >= 0)
        head = head.left(body);
    const auto quoted = [](const QString& value) {
        return QLatin1Char('"') + value.toHtmlEscaped() + QLatin1Char('"');
    };
    for (const HtmlElement& meta : HtmlDocument(head.toString()).ElementsByTag(QStringLiteral("meta"))) {
        if (const HtmlAttribute* attribute = meta.FindAttribute(QStringLiteral("charset"))) {
            if (!attribute->value.trimmed().isEmpty())
                return CharsetDeclaration{attribute->value.trimmed(), attribute->valueStart, attribute->valueLength,
                                          quoted};
        }
        if (meta.Attribute(QStringLiteral("http-equiv"))
                .trimmed()
                .compare(QLatin1String("content-type"), Qt::CaseInsensitive) != 0)
            continue;
        const HtmlAttribute* content = meta.FindAttribute(QStringLiteral("content"));
        const QRegularExpressionMatch match = content ? inContent.match(content->value) : QRegularExpressionMatch();
        if (match.hasMatch()) {
            const QString value = content->value;
            const auto naming = [=](const QString& charset) {
                return quoted(QString(value).replace(match.capturedStart(1), match.capturedLength(1), charset));
            };
            return CharsetDeclaration{match.captured(1), content->valueStart, content->valueLength, naming};
        }
    }
    return std::nullopt;
}

// The page with every character that `charset` lacks written as a numeric character reference,
// which any charset carries, where the converter would put a '?'.
QString WithReferences(const QString& html, const QByteArray& charset)
{
    std::vector<signed char> basic(0x10000, -1);  // per character of the basic plane: unknown, no, yes
    QHash<char32_t, bool> supplementary;
    const auto encodable = [&](char32_t code, QStringView text) {
        // A fresh converter per character: a reset one may still report the last one's error.
        const auto test = [&] {
            QStringEncoder probe(charset.constData());
            const QByteArray encoded = probe.encode(text);
            return !probe.hasError();
        };
        if (code < 0x10000) {
            signed char& known = basic[code];
            if (known < 0)
                known = test() ? 1 : 0;
            return known == 1;
        }
        const auto found = supplementary.constFind(code);
        return found != supplementary.cend() ? *found : *supplementary.insert(code, test());
    };
    QString result;
    result.reserve(html.size() + 64);
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < html.size();) {
        char32_t code = html.at(i).unicode();
        qsizetype length = 1;
        if (QChar::isHighSurrogate(code) && i + 1 < html.size() && html.at(i + 1).isLowSurrogate()) {
            code = QChar::surrogateToUcs4(html.at(i), html.at(i + 1));
            length = 2;
        }
        if (!encodable(code, QStringView(html).mid(i, length))) {
            result.append(QStringView(html).mid(runStart, i - runStart));
            result += QStringLiteral("&#") + QString::number(code) + QLatin1Char(';');
            runStart = i + length;
        }
        i += length;
    }
    result.append(QStringView(html).mid(runStart));
    return result;
}

QByteArray Encode(const QString& html, const QByteArray& charset, bool declared)
{
    const std::optional<QStringConverter::Encoding> builtIn = QStringConverter::encodingForName(charset.constData());
    const bool unicode = builtIn && *builtIn != QStringConverter::Latin1 && *builtIn != QStringConverter::System;
    // Without a META line only a byte-order mark tells a browser the page is Unicode; pure ASCII
    // in UTF-8 reads the same in any charset and needs none.
    const bool mark = !declared && unicode;
    const bool utf8 = builtIn == QStringConverter::Utf8;
    const auto flags = mark && !utf8 ? QStringConverter::Flag::WriteBom : QStringConverter::Flag::Default;
    QStringEncoder encoder(charset.constData(), flags);
    QByteArray bytes = encoder.encode(html);
    if (encoder.hasError() && !unicode)
        bytes = QStringEncoder(charset.constData()).encode(WithReferences(html, charset));
    if (mark && utf8 && bytes.size() != html.size())
        bytes.prepend("\xEF\xBB\xBF");
    return bytes;
}

[[noreturn]] void Fail(const QString& path, const QString& reason)
{
    throw KvlError(75, QStringLiteral("Path/File access error: %1: %2").arg(path, reason));
}

void WriteBytes(const QString& path, const QByteArray& bytes, HtmlWriteMode mode)
{
    // An existing page is overwritten even when it was left read-only.
    const QFileInfo existing(path);
    if (existing.exists() && !existing.isDir() && !(existing.permissions() & QFileDevice::WriteOwner))
        QFile::setPermissions(path, existing.permissions() | QFileDevice::WriteOwner);
    if (mode == HtmlWriteMode::Replace) {
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || file.write(bytes) != bytes.size() ||
            !file.commit())
            Fail(path, file.errorString());
        return;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered) ||
        file.write(bytes) != bytes.size())
        Fail(path, file.errorString());
    file.close();
    if (file.error() != QFileDevice::NoError)
        Fail(path, file.errorString());
}

}  // namespace

QString DeclaredCharset(const QString& html)
{
    const std::optional<CharsetDeclaration> declaration = FindDeclaration(html);
    return declaration ? declaration->charset : QString();
}

void WriteHtmlFile(const QString& path, const QString& html, HtmlWriteMode mode, const QString& undeclaredCharset)
{
    const std::optional<CharsetDeclaration> declaration = FindDeclaration(html);
    QString charset = declaration ? declaration->charset : undeclaredCharset.trimmed();
    if (charset.isEmpty())
        charset = kUtf8;
    if (QStringEncoder(charset.toLatin1().constData()).isValid())
        return WriteBytes(path, Encode(html, charset.toLatin1(), declaration.has_value()), mode);
    LogError(QStringLiteral("Error_WriteHtmlFile : "), KvlError::kGeneric,
             QStringLiteral("Unknown character set \"%1\": %2 is written in UTF-8").arg(charset, path));
    if (!declaration)
        return WriteBytes(path, Encode(html, kUtf8.toLatin1(), false), mode);
    // The page must not claim the charset it is not written in.
    QString page = html;
    page.replace(declaration->valueStart, declaration->valueLength, declaration->Naming(kUtf8));
    WriteBytes(path, Encode(page, kUtf8.toLatin1(), true), mode);
}
