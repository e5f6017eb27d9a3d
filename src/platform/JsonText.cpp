#include "platform/JsonText.h"

namespace JsonText {
namespace {

QString UnicodeEscape(char16_t unit)
{
    return QStringLiteral("\\u%1").arg(static_cast<uint>(unit), 4, 16, QLatin1Char('0'));
}

bool StartsAt(QStringView text, qsizetype at, QLatin1String word)
{
    return text.sliced(at).startsWith(word, Qt::CaseInsensitive);
}

}  // namespace

QString Escaped(QStringView text)
{
    QString out;
    out.reserve(text.size() + text.size() / 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        switch (unit) {
            case u'"':
                out += QLatin1String("\\\"");
                break;
            case u'\\':
                out += QLatin1String("\\\\");
                break;
            case u'\b':
                out += QLatin1String("\\b");
                break;
            case u'\f':
                out += QLatin1String("\\f");
                break;
            case u'\n':
                out += QLatin1String("\\n");
                break;
            case u'\r':
                out += QLatin1String("\\r");
                break;
            case u'\t':
                out += QLatin1String("\\t");
                break;
            case u'\u2028':
            case u'\u2029':
                out += UnicodeEscape(unit);
                break;
            case u'<':
                if (StartsAt(text, i, QLatin1String("</script"))) {
                    out += QLatin1String("<\\/");
                    ++i;  // the slash is written escaped
                } else if (StartsAt(text, i, QLatin1String("<!--"))) {
                    out += UnicodeEscape(unit);
                } else {
                    out += QLatin1Char('<');
                }
                break;
            default:
                if (unit < 0x20)
                    out += UnicodeEscape(unit);
                else
                    out += QChar(unit);
        }
    }
    return out;
}

QString Quoted(QStringView text)
{
    return QLatin1Char('"') + Escaped(text) + QLatin1Char('"');
}

}  // namespace JsonText
