#include "editor/StyleSheetFont.h"

#include "core/DecmdCommands.h"
#include "core/HtmlEditor.h"
#include "editor/StyleSheet.h"
#include "platform/KvlError.h"

#include <QStringList>

namespace {

// The point size of each HTML size 1 to 7.
const QStringList kSizes = {QStringLiteral("8pt"),  QStringLiteral("10pt"), QStringLiteral("12pt"),
                            QStringLiteral("14pt"), QStringLiteral("18pt"), QStringLiteral("24pt"),
                            QStringLiteral("36pt")};

bool Known(int status)
{
    return status == Decmd::ENABLED || status == Decmd::LATCHED;
}

// A value as a declaration holds it: one that would end the declaration, the rule or the page
// head's STYLE element cannot be stored.
QString DeclarationValue(const QVariant& value)
{
    const QString text = value.toString();
    for (const QChar c : {QLatin1Char(';'), QLatin1Char('{'), QLatin1Char('}'), QLatin1Char('<')}) {
        if (text.contains(c))
            throw KvlError(KvlError::kGeneric, QStringLiteral("The font value '%1' cannot be stored.").arg(text));
    }
    return text;
}

}  // namespace

QString FontPreview(const QString& shown, const QString& declarations)
{
    QString prefix = QStringLiteral("<HTML><BODY>");
    QString suffix = QStringLiteral("</BODY></HTML>");
    const std::pair<QLatin1String, QLatin1String> styles[] = {{QLatin1String("underline"), QLatin1String("U")},
                                                              {QLatin1String("italic"), QLatin1String("EM")},
                                                              {QLatin1String("bold"), QLatin1String("STRONG")}};
    for (const auto& [word, tag] : styles) {
        if (shown.contains(word)) {
            prefix += QLatin1Char('<') + tag + QLatin1Char('>');
            suffix.prepend(QLatin1String("</") + tag + QLatin1Char('>'));
        }
    }
    QString attributes;
    QString family = StyleSheet::Value(declarations, QStringLiteral("font-family")).trimmed();
    // A quoted family name ("Times New Roman") is one name to the FONT tag.
    if (family.size() >= 2 && (family.front() == QLatin1Char('"') || family.front() == QLatin1Char('\'')) &&
        family.back() == family.front())
        family = family.mid(1, family.size() - 2);
    if (!family.isEmpty())
        attributes += QStringLiteral(" face=\"") + family.toHtmlEscaped() + QLatin1Char('"');
    const qsizetype size = kSizes.indexOf(StyleSheet::Value(declarations, QStringLiteral("font-size")));
    if (size >= 0)
        attributes += QStringLiteral(" size=") + QString::number(size + 1);
    const QString colour = StyleSheet::Value(declarations, QStringLiteral("color"));
    if (!colour.isEmpty())
        attributes += QStringLiteral(" color=\"") + colour.toHtmlEscaped() + QLatin1Char('"');
    if (attributes.isEmpty())
        return prefix + QStringLiteral("Style example") + suffix;
    return prefix + QStringLiteral("<FONT ") + attributes + QStringLiteral("> Style example</FONT>") + suffix;
}

QString FontRule(HtmlEditor& preview, const QString& alignment, int pageBreak)
{
    QString rule;
    if (preview.QueryStatus(Decmd::BOLD) == Decmd::LATCHED)
        rule += QStringLiteral("font-weight:bold;\n");
    if (Known(preview.QueryStatus(Decmd::GETFONTNAME)))
        rule += QStringLiteral("font-family:") + DeclarationValue(preview.ExecCommand(Decmd::GETFONTNAME)) +
                QStringLiteral(";\n");
    if (Known(preview.QueryStatus(Decmd::GETFONTSIZE))) {
        const int size = preview.ExecCommand(Decmd::GETFONTSIZE).toInt();
        if (size >= 1 && size <= kSizes.size())
            rule += QStringLiteral("font-size:") + kSizes.at(size - 1) + QStringLiteral(";\n");
    }
    if (preview.QueryStatus(Decmd::UNDERLINE) == Decmd::LATCHED)
        rule += QStringLiteral("text-decoration:underline;\n");
    if (preview.QueryStatus(Decmd::ITALIC) == Decmd::LATCHED)
        rule += QStringLiteral("font-style:italic;\n");
    if (Known(preview.QueryStatus(Decmd::GETFORECOLOR)))
        rule += QStringLiteral("color:") + DeclarationValue(preview.ExecCommand(Decmd::GETFORECOLOR)) +
                QStringLiteral(";\n");
    if (!alignment.isEmpty())
        rule += QStringLiteral("text-align:") + alignment + QStringLiteral(";\n");
    if (pageBreak == 2)
        rule += QStringLiteral("page-break-after:always;\n");
    else if (pageBreak == 1)
        rule += QStringLiteral("page-break-before:always;\n");
    return rule;
}
