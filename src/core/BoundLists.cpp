#include "core/BoundLists.h"

#include <QStringList>

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
    qsizetype size = 1;
    while (size < count && size < max)
        size *= 2;
    return size;
}

QString Marks(qsizetype count, const QString& mark)
{
    return QStringList(count, mark).join(QStringLiteral(", "));
}

}  // namespace BoundLists
