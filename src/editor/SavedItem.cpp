#include "editor/SavedItem.h"

#include "core/db/DbHelpers.h"
#include "core/ImageItemKind.h"
#include "core/KeyHelpers.h"
#include "core/services/ExplorerNode.h"
#include "core/services/SelectedNode.h"
#include "model/Configuration.h"
#include "model/Procedure.h"
#include "model/SelectedProperties.h"
#include "model/SubTest.h"
#include "model/TestPlan.h"
#include "platform/KvlError.h"

namespace {

// The error number of a row that is not there.
constexpr long kNoCurrentRecord = 3021;

template <class Item>
void FindAndUpdate(Item& item, int id)
{
    if (item.Find(QString::number(id)) != 0)
        throw KvlError(kNoCurrentRecord, QStringLiteral("Item %1 is no longer in the database.").arg(id));
    if (item.Update() != 0)
        throw KvlError(ItemRecord::kRowNotFound, QStringLiteral("Item %1 could not be stamped.").arg(id));
}

template <class Item>
void FindAndUpdateAt(Item& item, int id, const QString& nodeKey)
{
    item.SetKey(nodeKey);
    FindAndUpdate(item, id);
}

// The id a node's tag gives for its kind; 0 when it gives none.
int TagId(const QString& tag)
{
    bool ok = false;
    const int id = tag.trimmed().toInt(&ok);
    return ok ? id : 0;
}

}  // namespace

SavedItem::SavedItem(const QString& windowKey, const QString& nodeKey) : m_nodeKey(nodeKey)
{
    if (windowKey.contains(QLatin1String("SubTest")))
        m_kind = SubTest;
    else if (windowKey.contains(QLatin1String("Procedure")))
        m_kind = Procedure;
    else if (windowKey.contains(QLatin1String("TestPlan")))
        m_kind = TestPlan;
    else if (windowKey.contains(QLatin1String("Configuration")))
        m_kind = Configuration;
    if (m_kind != None)
        m_id = IdValue(windowKey.section(QLatin1Char(':'), 1));
}

QString SavedItem::Table() const
{
    switch (m_kind) {
        case Configuration:
            return QStringLiteral("CONFIGURATION");
        case TestPlan:
            return QStringLiteral("TESTPLAN");
        case SubTest:
            return QStringLiteral("SUBTEST");
        case Procedure:
            return QStringLiteral("PROCEDURES");
        default:
            return {};
    }
}

int SavedItem::PictureKind() const
{
    switch (m_kind) {
        case Configuration:
            return ImageItemKind::Configuration;
        case TestPlan:
            return ImageItemKind::TestPlan;
        case SubTest:
            return ImageItemKind::SubTest;
        default:
            return ImageItemKind::Procedure;
    }
}

void SavedItem::Stamp() const
{
    switch (m_kind) {
        case Configuration: {
            ::Configuration item;
            FindAndUpdate(item, m_id);
            break;
        }
        case TestPlan: {
            ::TestPlan item;
            FindAndUpdateAt(item, m_id, m_nodeKey);
            break;
        }
        case SubTest: {
            ::SubTest item;
            FindAndUpdateAt(item, m_id, m_nodeKey);
            break;
        }
        case Procedure: {
            ::Procedure item;
            FindAndUpdateAt(item, m_id, m_nodeKey);
            break;
        }
        default:
            break;
    }
}

bool SavedItem::SelectedNodeShowsItem() const
{
    const ExplorerNode* node = gSelectedNode();
    if (!node)
        return false;
    const int image = node->Image();
    switch (m_kind) {
        case Configuration:
            return image == kImageConfiguration && TagId(node->Tag()) == m_id;
        case TestPlan:
            return image == kImageTestPlan && TagId(node->Tag()) == m_id;
        case SubTest:
            return image >= kImageSubTestFirst && image <= kImageSubTestLast && TagId(KeyId(node->Tag())) == m_id;
        case Procedure:
            // Any occurrence of the procedure shows its row; the result rows stay the node's own.
            return image == kImageProcedure && TagId(KeyIdShort(node->Tag())) == m_id;
        default:
            return false;
    }
}

void SavedItem::ShowProperties() const
{
    if (SelectedNodeShowsItem())
        Refresh_Properties();
}
