#include "editor/StyleSheet.h"

#include <QRegularExpression>

namespace {

const QString kAlign = QStringLiteral("text-align:");

bool CommentAt(const QString& text, qsizetype i, qsizetype end)
{
    return i + 1 < end && text[i] == QLatin1Char('/') && text[i + 1] == QLatin1Char('*');
}

// Where the comment opened at `i` ends (just past "*/"); -1 when it is not closed before `end`.
qsizetype CommentEnd(const QString& text, qsizetype i, qsizetype end)
{
    const qsizetype close = text.indexOf(QLatin1String("*/"), i + 2);
    return close < 0 || close + 2 > end ? -1 : close + 2;
}

// The first `c` in [from, end) outside comments; -1 when there is none. Text after a comment that
// is never closed is all comment.
qsizetype FindOutsideComments(const QString& text, QChar c, qsizetype from, qsizetype end = -1)
{
    if (end < 0)
        end = text.size();
    for (qsizetype i = from; i < end; ++i) {
        if (CommentAt(text, i, end)) {
            i = CommentEnd(text, i, end);
            if (i < 0)
                return -1;
            --i;
        } else if (text[i] == c) {
            return i;
        }
    }
    return -1;
}

// The length of the comments, with the blanks around them, that open the text before a "{".
qsizetype LeadLength(const QString& text, qsizetype from, qsizetype end)
{
    qsizetype lead = from;
    qsizetype i = from;
    for (;;) {
        while (i < end && text[i].isSpace())
            ++i;
        if (!CommentAt(text, i, end) || CommentEnd(text, i, end) < 0)
            break;
        i = CommentEnd(text, i, end);
        while (i < end && text[i].isSpace())
            ++i;
        lead = i;
    }
    return lead - from;
}

// Past the one line end that separates two rules.
qsizetype SkipLineEnd(const QString& text, qsizetype pos)
{
    if (QStringView(text).mid(pos, 2) == QLatin1String("\r\n"))
        return pos + 2;
    if (pos < text.size() && text[pos] == QLatin1Char('\n'))
        return pos + 1;
    return pos;
}

}  // namespace

StyleSheet StyleSheet::Parse(const QString& text)
{
    StyleSheet sheet;
    qsizetype pos = 0;
    while (pos < text.size()) {
        const qsizetype open = FindOutsideComments(text, QLatin1Char('{'), pos);
        if (open < 0) {
            if (!QStringView(text).mid(pos).trimmed().isEmpty())
                sheet.unplaced += text.mid(pos);
            break;
        }
        const qsizetype close = FindOutsideComments(text, QLatin1Char('}'), open + 1);
        const qsizetype nested = FindOutsideComments(text, QLatin1Char('{'), open + 1);
        const bool stray = FindOutsideComments(text, QLatin1Char('}'), pos, open) >= 0;
        if (close < 0 || stray || (nested >= 0 && nested < close)) {
            sheet.unplaced += text.mid(pos);
            break;
        }
        const qsizetype lead = LeadLength(text, pos, open);
        StyleRule rule{text.mid(pos, lead), text.mid(pos + lead, open - pos - lead).trimmed(),
                       text.mid(open + 1, close - open - 1)};
        if (rule.selector.isEmpty())
            sheet.unplaced += text.mid(pos, close + 1 - pos) + QLatin1Char('\n');
        else
            sheet.rules.append(rule);
        pos = SkipLineEnd(text, close + 1);
    }
    return sheet;
}

QString StyleSheet::Text() const
{
    QString text;
    for (const StyleRule& rule : rules)
        text += rule.lead + rule.selector + QLatin1Char('{') + rule.declarations + QLatin1String("}\n");
    return text + unplaced;
}

namespace {

// Where `property` starts a declaration: "color:" inside "background-color:" is not "color".
qsizetype PropertyAt(const QString& declarations, const QString& key)
{
    for (qsizetype at = declarations.indexOf(key); at >= 0; at = declarations.indexOf(key, at + 1)) {
        const QChar before = at > 0 ? declarations.at(at - 1) : QChar(u';');
        if (before == u';' || before == u'{' || before.isSpace())
            return at;
    }
    return -1;
}

// The declarations with their last one closed by ";", so that another can follow it.
QString Terminated(const QString& declarations)
{
    qsizetype last = declarations.size() - 1;
    while (last >= 0 && declarations.at(last).isSpace())
        --last;
    if (last < 0 || declarations.at(last) == u';')
        return declarations;
    return declarations.left(last + 1) + QLatin1Char(';') + declarations.mid(last + 1);
}

}  // namespace

QString StyleSheet::Value(const QString& declarations, const QString& property)
{
    const QString key = property + QLatin1Char(':');
    const qsizetype at = PropertyAt(declarations, key);
    if (at < 0)
        return {};
    const qsizetype end = declarations.indexOf(QLatin1Char(';'), at + key.size());
    return end < 0 ? QString() : declarations.mid(at + key.size(), end - at - key.size());
}

QString StyleSheet::WithAlignment(const QString& declarations, const QString& alignment)
{
    QString result = declarations;
    const qsizetype at = PropertyAt(result, kAlign);
    if (at < 0) {
        // Appended after a last declaration written without its ";", it would spoil both.
        if (!alignment.isEmpty())
            result = Terminated(result) + kAlign + alignment + QLatin1String(";\n");
        return result;
    }
    const qsizetype end = result.indexOf(QLatin1Char(';'), at + kAlign.size());
    if (end < 0)
        return result;
    if (!alignment.isEmpty())
        return result.replace(at, end + 1 - at, kAlign + alignment + QLatin1Char(';'));
    return result.remove(at, SkipLineEnd(result, end + 1) - at);
}

QString StyleSheet::WithPageBreak(const QString& declarations, int pageBreak)
{
    static const QRegularExpression breaks(QStringLiteral("page-break-(?:before|after):always;(?:\\r?\\n)?"));
    QString result = declarations;
    result.remove(breaks);
    if (pageBreak == 1)
        result = Terminated(result) + QLatin1String("page-break-before:always;\n");
    else if (pageBreak == 2)
        result = Terminated(result) + QLatin1String("page-break-after:always;\n");
    return result;
}

bool StyleSheet::AllowedSelector(const QString& selector)
{
    // Braces, a tag's start, a comment's ends and an escape would each break the rules after it.
    for (const char* forbidden : {"{", "}", "<", "/*", "*/", "\\"}) {
        if (selector.contains(QLatin1String(forbidden)))
            return false;
    }
    return true;
}
