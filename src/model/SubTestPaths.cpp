#include "model/SubTestPaths.h"

#include "core/KeyHelpers.h"
#include "core/services/ItemList.h"
#include "model/SubTest.h"
#include "model/TreeLinks.h"
#include "platform/BugLog.h"

void AddSubTestRows(ItemList& list, TreeLinks& links, const QString& id, const QString& name, const QString& date,
                    const QDate& day)
{
    for (const TreeLinks::Place& place : links.Places(id)) {
        if (!CheckDevice(place.key, kImageSubTestFirst))
            continue;
        // The image follows the depth rather than the "\" in the path, which a name may hold.
        const int image = kImageSubTestFirst + static_cast<int>(place.names.size()) - 2;
        list.AddRow(name, place.names.join(QLatin1Char('\\')), date, image, place.key, day);
    }
}

void ListView_AddSubtestParent(ItemList& list, SubTest& objSubTest, const QString& strDate, const QDate& day)
{
    try {
        TreeLinks links;
        links.Load();
        AddSubTestRows(list, links, objSubTest.Id(), objSubTest.Name(), strDate, day);
    } catch (const std::exception& error) {
        LogError(QStringLiteral("Error_ListView_AddSubtestParent : "), error);
    }
}
