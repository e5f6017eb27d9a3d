#pragma once

#include <QIcon>
#include <QString>

// The picture of an item kind (an ItemImage value, 1 to 14), as the explorer, its toolbox, the
// result lists and the search pane show it.
inline QIcon ItemPicture(int image)
{
    return QIcon(QStringLiteral(":/icons/items/%1.png").arg(image));
}
