#include "core/NodeKey.h"

#include <QStringBuilder>

const QChar NodeKey::kSeparator = QChar(0x00A4);
const QString NodeKey::kRoot = QStringLiteral("Root");
const QString NodeKey::kConfigurationPrefix = QStringLiteral("Eqpt");

NodeKey NodeKey::Parse(const QString& key)
{
    NodeKey result;
    if (key.isEmpty())
        return result;
    QString body = key;
    if (body.endsWith(QLatin1Char('$'))) {
        result.m_procedure = true;
        body.chop(1);
    }
    result.m_segments = body.split(kSeparator);
    return result;
}

QString NodeKey::ToString() const
{
    QString text = m_segments.join(kSeparator);
    if (m_procedure)
        text += QLatin1Char('$');
    return text;
}

QString NodeKey::ConfigurationId() const
{
    const QString first = m_segments.value(0);
    return first.startsWith(kConfigurationPrefix) ? first.mid(kConfigurationPrefix.size()) : QString();
}

static bool IsDecimal(const QString& text)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

NodeKey::Link NodeKey::ParseLink(const QString& segment)
{
    Link link;
    const QStringList parts = segment.split(QLatin1Char('|'));
    if (parts.size() != 3)
        return link;
    link.parentId = parts[0];
    link.id = parts[1];
    link.order = parts[2];
    link.valid = IsDecimal(link.parentId) && IsDecimal(link.id) && IsDecimal(link.order);
    return link;
}

QString NodeKey::FormatLink(const QString& parentId, const QString& id, const QString& order)
{
    // Built in one allocation: the tree makes one of these per node.
    return parentId % QLatin1Char('|') % id % QLatin1Char('|') % order;
}

NodeKey NodeKey::Prefix(int n) const
{
    NodeKey result;
    result.m_segments = m_segments.mid(0, qMax(0, n));
    if (n >= Count())
        result.m_procedure = m_procedure;
    return result;
}

NodeKey NodeKey::Child(const QString& parentId, const QString& id, const QString& order, bool procedure) const
{
    NodeKey result = *this;
    result.m_procedure = procedure;
    result.m_segments.append(FormatLink(parentId, id, order));
    return result;
}

bool NodeKey::IsWithin(const NodeKey& ancestor) const
{
    if (ancestor.IsEmpty() || ancestor.Count() > Count())
        return false;
    // A procedure has no occurrences below it.
    if (ancestor.m_procedure)
        return *this == ancestor;
    for (int i = 0; i < ancestor.Count(); ++i) {
        if (m_segments[i] != ancestor.m_segments[i])
            return false;
    }
    return true;
}
