#pragma once

#include <QString>
#include <functional>

class ExplorerNode;

// The Item commands of the main window (add, move, delete, copy, paste), the database's
// Initialize, and the drop of an item on the explorer tree, without a window: each works on the
// current node (gSelectedNode) through the item classes and ends by selecting the node it made
// or left current. The windows give what they own through the host.
class ItemCommands
{
public:
    struct Host
    {
        // The node with that key, its test plan read first when needed; null when none.
        std::function<ExplorerNode*(const QString& key)> NodeByKey;
        // Selects the node as every command that ends on a node does: marked in the tree, made
        // current, named in status panels 4 and 3, drop-highlighted. False when there is none.
        std::function<bool(const QString& key)> SelectNode;
        std::function<void()> ClearDropHighlight;
        std::function<void(int panel, const QString& text)> SetPanel;
        // Builds the tree again from the database.
        std::function<void()> InitializeTree;
        // Empties the property grid.
        std::function<void()> InitializeProperties;
        std::function<QString()> ClipboardText;
        std::function<void(const QString& text)> SetClipboardText;
    };

    explicit ItemCommands(Host host);

    void mnuAddConfiguration_Click();
    void mnuAddTestPlan_Click();
    void mnuAddSubtest_Click();
    void mnuAddProcedure_Click();
    void mnuItemUp_Click() { Move(true); }
    void mnuItemDown_Click() { Move(false); }
    void mnuItemDelete_Click();
    void mnuItemCopy_Click();
    void mnuItemPaste_Click();
    void mnuClearDatabase_Click();

    // Whether an item's transfer text may be dropped on `target` (null: empty tree space). A
    // refused text cannot be dropped there.
    bool DragOver(const QString& text, const ExplorerNode* target);
    // Creates or links the dropped item under `target`, which becomes the current node first.
    void Drop(const QString& text, ExplorerNode* target);

private:
    // Runs `add` (create and link the item, returning the new node's key and the new id) as one
    // transaction; the new node is then selected. On failure the database and the tree stay as
    // they were, and the user hears `message`.
    void Add(const QString& message, const QString& label, int kind, const std::function<QString(QString& newId)>& add);
    // Runs `link` (which creates or links an item and answers the new node's key, naming an item
    // it created in `newId`) in one transaction that commits only once the node is in the tree.
    QString Committed(const std::function<QString(QString& newId)>& link, QString& newId);
    void Move(bool up);
    void Finish(const QString& key, bool keepHighlight);

    Host m_host;
};
