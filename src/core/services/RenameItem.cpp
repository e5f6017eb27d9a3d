#include "core/services/RenameItem.h"

#include "core/DescriptionForm.h"
#include "core/KeyHelpers.h"
#include "core/OpenForms.h"
#include "core/services/DescriptionWindows.h"
#include "core/services/ExplorerNode.h"
#include "core/services/UpdatedNodes.h"

namespace {

// The kind a description window's title names for an item type.
QString KindName(int itemType)
{
    if (itemType == kImageConfiguration)
        return QStringLiteral("Configuration");
    if (itemType == kImageTestPlan)
        return QStringLiteral("TestPlan");
    if (itemType >= kImageSubTestFirst && itemType <= kImageSubTestLast)
        return QStringLiteral("SubTest");
    if (itemType == kImageProcedure)
        return QStringLiteral("Procedure");
    return {};
}

}  // namespace

void RenameItem(int itemType, const QString& id, const QString& name)
{
    const bool subTest = itemType >= kImageSubTestFirst && itemType <= kImageSubTestLast;
    const std::vector<ExplorerNode*> nodes = subTest ? SubTestNodes(id) : tvTestPlan_UpdatedNodes(id, itemType);
    for (ExplorerNode* node : nodes)
        node->SetText(name);

    const QString kind = KindName(itemType);
    if (kind.isEmpty())
        return;
    bool retitled = false;
    for (DescriptionForm* form : OpenForms::All()) {
        const QString& title = form->mstrTitle;
        if (title.section(QLatin1Char(':'), 1).trimmed() == id && title.contains(kind)) {
            form->SetCaption(name);
            retitled = true;
        }
    }
    if (retitled)
        gDescriptionWindows().RefreshTabs();
}
