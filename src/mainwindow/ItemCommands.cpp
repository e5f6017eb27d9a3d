#include "mainwindow/ItemCommands.h"

#include "core/KeyHelpers.h"
#include "core/NodeKey.h"
#include "core/db/AdoConnection.h"
#include "core/db/kvlDatabase.h"
#include "core/services/ExplorerNode.h"
#include "core/services/ExplorerNodes.h"
#include "core/services/SelectedNode.h"
#include "core/services/UpdatedNodes.h"
#include "mainwindow/ItemTransfer.h"
#include "model/Configuration.h"
#include "model/DbValues.h"
#include "model/Procedure.h"
#include "model/SelectedProperties.h"
#include "model/SubTest.h"
#include "model/TestPlan.h"
#include "platform/BugLog.h"
#include "platform/Hourglass.h"
#include "platform/KvlError.h"
#include "platform/Prompts.h"

#include <stdexcept>

namespace {

constexpr long kNotFound = 3021;  // "No current record"
constexpr long kInvalidArgument = 5;

// A step of an item class that failed and wrote its own log entry: the command only tells the
// user, so that one failure makes one entry.
class StepFailed : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

void Check(int status, const char* step)
{
    if (status != 0)
        throw StepFailed(step);
}

// Finds the item the tag names: a tag that is no number names none, which is said once.
template <class Item>
void FindNamed(Item& item, const QString& kind, const QString& id)
{
    DbValues::Id(id);
    if (item.Find(id) != 0)
        throw KvlError(kNotFound, QStringLiteral("The %1 %2 is not in the database.").arg(kind, id));
}

void Fail(const QString& message, const QString& label, const std::exception& error)
{
    prompts().Critical(message);
    if (!dynamic_cast<const StepFailed*>(&error))
        LogError(label, error);
}

// The nodes that show a new item whose creation was undone.
void RemoveNodesOf(const QString& id, int kind)
{
    if (id.isEmpty())
        return;
    const bool subTest = kind >= kImageSubTestFirst && kind <= kImageSubTestLast;
    QStringList keys;
    for (const ExplorerNode* node : subTest ? SubTestNodes(id) : tvTestPlan_UpdatedNodes(id, kind))
        keys << node->Key();
    ExplorerNodes& tree = gExplorerNodes();
    for (const QString& key : keys) {
        if (tree.Exist(key))
            tree.Remove(key);
    }
}

bool IsSubTest(int image)
{
    return image >= kImageSubTestFirst && image <= kImageSubTestLast;
}

// The node of an item of that kind linked under `target`, made or found for a drop or a paste:
// `isNew` creates it first. Returns the new node's key; `newId` names an item created here.
QString LinkUnder(int kind, const QString& tag, bool isNew, ExplorerNode* target, QString& newId)
{
    if (kind < kImageConfiguration || kind > kImageProcedure || ItemTransfer::Refused(kind, target->Image()))
        throw KvlError(kInvalidArgument, QStringLiteral("An item of kind %1 has no place under this node.").arg(kind));
    if (kind == kImageConfiguration) {
        Configuration configuration;
        if (isNew) {
            Check(configuration.Create(), "Create");
            newId = configuration.Id();
        } else {
            FindNamed(configuration, QStringLiteral("configuration"), tag);
            Check(configuration.Clone(), "Clone");
            newId = configuration.Id();
        }
        configuration.Properties();
        return Configuration::NodeKeyOf(configuration.Id());
    }
    if (kind == kImageTestPlan) {
        TestPlan plan;
        if (isNew) {
            Check(plan.Create(target->Tag()), "Create");
            newId = plan.Id();
        } else {
            FindNamed(plan, QStringLiteral("test plan"), tag);
        }
        Check(plan.Link(target), "Link");
        plan.SetKey(Configuration::NodeKeyOf(target->Tag()) + NodeKey::kSeparator + plan.Id());
        plan.Properties();
        return plan.Key();
    }
    if (IsSubTest(kind)) {
        SubTest subTest;
        if (isNew) {
            Check(subTest.Create(), "Create");
            newId = subTest.Id();
        } else {
            FindNamed(subTest, QStringLiteral("sub-test"), KeyId(tag));
        }
        Check(subTest.Link(target), "Link");
        subTest.Properties();
        return subTest.Key();
    }
    if (kind == kImageProcedure) {
        Procedure procedure;
        if (isNew) {
            Check(procedure.Create(), "Create");
            newId = procedure.Id();
        } else {
            FindNamed(procedure, QStringLiteral("procedure"), KeyIdShort(tag));
        }
        Check(procedure.Link(target), "Link");
        procedure.Properties();
        return procedure.Key();
    }
    return QString();
}

}  // namespace

ItemCommands::ItemCommands(Host host) : m_host(std::move(host)) {}

void ItemCommands::Finish(const QString& key, bool keepHighlight)
{
    if (!m_host.SelectNode(key))
        throw KvlError(ExplorerNodes::kElementNotFound, QStringLiteral("Element not found: ") + key);
    if (!keepHighlight)
        m_host.ClearDropHighlight();
}

QString ItemCommands::Committed(const std::function<QString(QString& newId)>& link, QString& newId)
{
    // Creating and linking the item is one change: a failed link leaves no item behind.
    DbTransaction transaction(gConnection());
    const QString key = link(newId);
    if (!m_host.NodeByKey(key))
        throw KvlError(ExplorerNodes::kElementNotFound, QStringLiteral("Element not found: ") + key);
    if (!transaction.Commit())
        throw KvlError(gConnection().LastErrorNumber(), gConnection().LastErrorText());
    return key;
}

void ItemCommands::Add(const QString& message, const QString& label, int kind,
                       const std::function<QString(QString& newId)>& add)
{
    QString newId;
    try {
        const QString key = Committed(add, newId);
        Finish(key, true);
        if (kind == kImageConfiguration)
            m_host.SetPanel(3, QString());
    } catch (const std::exception& error) {
        RemoveNodesOf(newId, kind);
        Fail(message, label, error);
    }
}

void ItemCommands::mnuAddConfiguration_Click()
{
    Add(QStringLiteral("Error creating new configuration."), QStringLiteral("Error_AddConfiguration : "),
        kImageConfiguration, [](QString& newId) {
            Configuration configuration;
            Check(configuration.Create(), "Create");
            newId = configuration.Id();
            configuration.Properties();
            return Configuration::NodeKeyOf(configuration.Id());
        });
}

void ItemCommands::mnuAddTestPlan_Click()
{
    ExplorerNode* node = gSelectedNode();
    if (!node)
        return;
    Add(QStringLiteral("Error creating new test plan."), QStringLiteral("Error_AddTestPlan : "), kImageTestPlan,
        [node](QString& newId) { return LinkUnder(kImageTestPlan, QString(), true, node, newId); });
}

void ItemCommands::mnuAddSubtest_Click()
{
    ExplorerNode* node = gSelectedNode();
    if (!node)
        return;
    // One level below the node; there is no eleventh.
    const int image = node->Image();
    const int kind = image == kImageTestPlan                                    ? kImageSubTestFirst
                     : image >= kImageSubTestFirst && image < kImageSubTestLast ? image + 1
                                                                                : 0;
    Add(QStringLiteral("Error creating new subtest."), QStringLiteral("Error_AddSubtest : "), kind,
        [node, kind](QString& newId) { return LinkUnder(kind, QString(), true, node, newId); });
}

void ItemCommands::mnuAddProcedure_Click()
{
    ExplorerNode* node = gSelectedNode();
    if (!node)
        return;
    Add(QStringLiteral("Error creating new procedure."), QStringLiteral("Error_AddProcedure : "), kImageProcedure,
        [node](QString& newId) { return LinkUnder(kImageProcedure, QString(), true, node, newId); });
}

void ItemCommands::Move(bool up)
{
    ExplorerNode* node = gSelectedNode();
    if (!node)
        return;
    Hourglass::Set();
    try {
        const int image = node->Image();
        // Sub-tests and procedures of one parent are numbered apart: only a neighbour of the
        // same kind can change places with the node.
        bool neighbour = false;
        const std::vector<ExplorerNode*> siblings =
            node->Parent() ? node->Parent()->ChildNodes() : gExplorerNodes().TopNodes();
        const auto at = std::find(siblings.begin(), siblings.end(), node);
        const auto sameKind = [&](const ExplorerNode* other) {
            return other->Image() == kImageProcedure ? image == kImageProcedure : image != kImageProcedure;
        };
        if (up)
            neighbour = std::any_of(siblings.begin(), at, sameKind);
        else if (at != siblings.end())
            neighbour = std::any_of(at + 1, siblings.end(), sameKind);
        if (!neighbour) {
            Hourglass::Reset();
            return;
        }
        QString key;
        if (IsSubTest(image)) {
            SubTest subTest;
            subTest.SetKey(node->Key());
            FindNamed(subTest, QStringLiteral("sub-test"), KeyId(node->Tag()));
            Check(subTest.Move(node, up), "Move");
            key = subTest.Key();
        } else if (image == kImageProcedure) {
            Procedure procedure;
            procedure.SetKey(node->Key());
            FindNamed(procedure, QStringLiteral("procedure"), KeyIdShort(node->Tag()));
            Check(procedure.Move(node, up), "Move");
            key = procedure.Key();
        } else {
            throw KvlError(kInvalidArgument, QStringLiteral("Only sub-tests and procedures are moved."));
        }
        Finish(key, false);
        Hourglass::Reset();
    } catch (const std::exception& error) {
        Hourglass::Reset();
        Fail(QStringLiteral("Can't move item."),
             up ? QStringLiteral("Error_MoveUp : ") : QStringLiteral("Error_MoveDown : "), error);
    }
}

void ItemCommands::mnuItemDelete_Click()
{
    ExplorerNode* node = gSelectedNode();
    if (!node)
        return;
    Hourglass::Set();
    const auto ask = [](const QString& question) {
        return prompts().Message(question, Prompts::ProgramTitle(), Prompts::Icon::Question, Prompts::Buttons::YesNo,
                                 Prompts::Answer::Yes) == Prompts::Answer::Yes;
    };
    try {
        const int image = node->Image();
        if (image == kImageRoot) {
            Hourglass::Reset();
            mnuClearDatabase_Click();
            return;
        }
        // The node that takes the removed one's place: the next sibling, else the last remaining
        // child, else the parent. Keys below the parent may change with the removal, rows do not.
        ExplorerNode* parent = node->Parent();
        const QString parentKey = parent ? parent->Key() : QString();
        const int row = node->Row();
        bool deleted = false;
        if (image == kImageConfiguration) {
            if (ask(QStringLiteral("The test configuration deletion may provoke irreversible test plan destruction.\n"
                                   "Do you really want to delete the test configuration ?"))) {
                Configuration configuration;
                Check(configuration.Delete(node), "Delete");
                deleted = true;
            }
        } else if (image == kImageTestPlan) {
            if (ask(QStringLiteral("Do you really want to delete the test plan ?"))) {
                TestPlan plan;
                Check(plan.UnLink(node, false), "UnLink");
                deleted = true;
            }
        } else if (IsSubTest(image)) {
            SubTest subTest;
            subTest.SetKey(node->Key());
            FindNamed(subTest, QStringLiteral("sub-test"), KeyId(node->Tag()));
            // Links to test plans and to parent sub-tests alike keep the item alive.
            Check(subTest.LoadTestPlans(false, false), "LoadTestPlans");
            Check(subTest.LoadSubTestParents(false), "LoadSubTestParents");
            const int links = subTest.TestPlans().Count() + subTest.SubTestParents().Count();
            if (links > 1 || ask(QStringLiteral("Do you really want to delete definitively the sub test ?"))) {
                Check(subTest.UnLink(node), "UnLink");
                deleted = true;
            }
        } else if (image == kImageProcedure) {
            Procedure procedure;
            procedure.SetKey(node->Key());
            FindNamed(procedure, QStringLiteral("procedure"), KeyIdShort(node->Tag()));
            Check(procedure.LoadSubTests(false), "LoadSubTests");
            if (procedure.SubTests().Count() > 1 ||
                ask(QStringLiteral("Do you really want to delete definitively the procedure ?"))) {
                Check(procedure.UnLink(node), "UnLink");
                deleted = true;
            }
        } else {
            throw KvlError(kInvalidArgument, QStringLiteral("This node cannot be deleted."));
        }
        if (deleted) {
            ExplorerNodes& tree = gExplorerNodes();
            ExplorerNode* holder = parentKey.isEmpty() ? nullptr : tree.Find(parentKey);
            const std::vector<ExplorerNode*>& children = holder ? holder->ChildNodes() : tree.TopNodes();
            const ExplorerNode* next = row < static_cast<int>(children.size()) ? children[row]
                                       : !children.empty()                     ? children.back()
                                                                               : holder;
            if (next) {
                Finish(next->Key(), false);
            } else {
                SetSelectedNode({});
            }
            Refresh_Properties();
        }
        Hourglass::Reset();
    } catch (const std::exception& error) {
        Hourglass::Reset();
        Fail(QStringLiteral("An error occurred during deletion."), QStringLiteral("Error_Delete : "), error);
    }
}

void ItemCommands::mnuClearDatabase_Click()
{
    if (prompts().Message(QStringLiteral("Do you really want to delete all the database content ?"),
                          Prompts::ProgramTitle(), Prompts::Icon::None, Prompts::Buttons::YesNo,
                          Prompts::Answer::No) != Prompts::Answer::Yes)
        return;
    if (kvlDatabase().ClearDataBase() != 0) {
        prompts().Critical(QStringLiteral("An error occurred in the database data clearing."));
    } else {
        // The old nodes name rows that are gone: the tree shows the emptied database, its root
        // current.
        m_host.InitializeTree();
        if (gExplorerNodes().Exist(NodeKey::kRoot))
            m_host.SelectNode(NodeKey::kRoot);
        m_host.ClearDropHighlight();
    }
    m_host.InitializeProperties();
}

void ItemCommands::mnuItemCopy_Click()
{
    const ExplorerNode* node = gSelectedNode();
    if (node)
        m_host.SetClipboardText(ItemTransfer::Write(node->Image(), node->Tag(), node->Key()));
}

void ItemCommands::mnuItemPaste_Click()
{
    ExplorerNode* node = gSelectedNode();
    if (!node)
        return;
    QString newId;
    int kind = 0;
    try {
        ItemTransfer::Fields fields;
        if (!ItemTransfer::Read(m_host.ClipboardText(), fields))
            return;
        kind = fields.PasteKind();
        const int target = node->Image();
        if (IsSubTest(kind) && ItemTransfer::Refused(kind, target))
            return;  // a sub-test of another level is left alone
        if (!(kind >= kImageConfiguration && kind <= kImageProcedure) || ItemTransfer::Refused(kind, target)) {
            prompts().Critical(QStringLiteral("Can't paste the item on selected target."));
            return;
        }
        const QString key = Committed([&](QString& id) { return LinkUnder(kind, fields.tag, false, node, id); }, newId);
        // A configuration's copy joins the root, which stays current.
        if (target != kImageRoot)
            Finish(key, false);
    } catch (const std::exception& error) {
        RemoveNodesOf(newId, kind);
        Fail(QStringLiteral("Can't paste the item."), QStringLiteral("Error_Paste : "), error);
    }
}

bool ItemCommands::DragOver(const QString& text, const ExplorerNode* target)
{
    if (!CanModify())
        return false;
    if (!target)
        return true;
    try {
        ItemTransfer::Fields fields;
        if (!ItemTransfer::Read(text, fields))
            return true;
        return !ItemTransfer::Refused(fields.DragKind(), target->Image());
    } catch (const std::exception& error) {
        LogError(QStringLiteral("Error_tvTestPlan_OLEDragOver : "), error);
        return false;
    }
}

void ItemCommands::Drop(const QString& text, ExplorerNode* target)
{
    if (!CanModify())
        return;
    SetSelectedNode(target ? target->Key() : QString());
    if (!target)
        return;
    QString newId;
    int kind = 0;
    try {
        ItemTransfer::Fields fields;
        if (!ItemTransfer::Read(text, fields))
            return;
        kind = fields.DragKind();
        if (kind < kImageConfiguration || kind > kImageProcedure || ItemTransfer::Refused(kind, target->Image()))
            throw KvlError(kInvalidArgument,
                           QStringLiteral("An item of kind %1 cannot be dropped on this node.").arg(fields.kind));
        const QString key =
            Committed([&](QString& id) { return LinkUnder(kind, fields.tag, fields.IsNew(), target, id); }, newId);
        Finish(key, false);
    } catch (const std::exception& error) {
        RemoveNodesOf(newId, kind);
        Fail(QStringLiteral("An error occurred in item creation."), QStringLiteral("Error_tvTestPlan_OLEDragDrop : "),
             error);
    }
}
