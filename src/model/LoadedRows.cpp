#include "model/LoadedRows.h"

#include "core/NodeKey.h"
#include "core/services/ExplorerNode.h"
#include "core/services/SelectedNode.h"
#include "model/DbValues.h"
#include "platform/KvlError.h"

#include <QLocale>
#include <QStringBuilder>

namespace LoadedRows {

QString Text(const QVariant& value)
{
    return value.isNull() ? QString() : value.toString();
}

QString IdText(const QVariant& value)
{
    if (value.isNull())
        throw KvlError(94, QStringLiteral("Invalid use of Null"));
    return DbValues::IdText(value);
}

QDate Date(const QVariant& value)
{
    return DbValues::ReadDate(value);
}

int Order(const QVariant& value)
{
    bool ok = false;
    const int order = value.toInt(&ok);
    if (value.isNull() || !ok)
        throw KvlError(94, QStringLiteral("Invalid use of Null"));
    return order;
}

QString Author(const QVariant& value)
{
    return value.isNull() ? QStringLiteral("0") : DbValues::IdText(value);
}

QString DateText(const QVariant& value)
{
    const QDate date = DbValues::ReadDate(value);
    return date.isValid() ? QLocale().toString(date, QLocale::ShortFormat) : QString();
}

QString SelectedPath()
{
    const ExplorerNode* node = gSelectedNode();
    return node ? node->FullPath().replace(NodeKey::kSeparator, QLatin1Char('\\')) : QString();
}

QString SelectedKey()
{
    return SelectedNodeKey();
}

QString CollectionKey(const QString& id, const QString& order)
{
    return id % QLatin1Char('|') % order;
}

bool Query(const std::function<QList<LinkRow>()>& read, QList<LinkRow>& rows, const QString& label)
{
    try {
        rows = read();
        return true;
    } catch (const std::exception& error) {
        LogError(label, error);
        return false;
    }
}

}  // namespace LoadedRows
