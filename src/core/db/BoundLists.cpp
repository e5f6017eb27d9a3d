#include "core/db/BoundLists.h"

#include <QStringList>

#include <algorithm>

namespace BoundLists {

QList<qsizetype> Chunks(qsizetype count, qsizetype max)
{
    QList<qsizetype> chunks;
    for (; count >= max; count -= max)
        chunks.append(max);
    for (qsizetype size = max / 2; size > 0 && count > 0; size /= 2) {
        if (count >= size) {
            chunks.append(size);
            count -= size;
        }
    }
    return chunks;
}

qsizetype Padded(qsizetype count, qsizetype max)
{
    // 1, 2, 3, 4, 6, 8, 12, 16, 24...: a padded list is at most half as long again.
    for (qsizetype power = 1;; power *= 2) {
        if (power >= count || power >= max)
            return std::min(power, max);
        const qsizetype between = power + power / 2;
        if (power >= 2 && between >= count)
            return std::min(between, max);
    }
}

void PadWithLast(QVariantList& values, qsizetype max)
{
    if (values.isEmpty())
        return;
    const QVariant last = values.last();
    for (qsizetype size = Padded(values.size(), max); values.size() < size;)
        values << last;
}

QString Marks(qsizetype count, const QString& mark)
{
    return QStringList(count, mark).join(QStringLiteral(", "));
}

}  // namespace BoundLists
