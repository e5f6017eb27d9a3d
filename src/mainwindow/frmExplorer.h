#pragma once

#include <QWidget>

class ExplorerNode;
class ExplorerTreeModel;
class ExplorerTreeView;
class QKeyEvent;
class QMouseEvent;
class QToolBar;
class frmMdi;

// The explorer pane: the toolbox of new items and the whole database as one tree. The item
// classes write the tree's nodes (gExplorerNodes()); this window shows them and turns clicks and
// keys into the main window's commands.
class frmExplorer : public QWidget
{
    Q_OBJECT

public:
    explicit frmExplorer(frmMdi* main, QWidget* parent = nullptr);
    ~frmExplorer() override;

    QToolBar* tlbToolBox() const { return m_toolBox; }
    ExplorerTreeView* tvTestPlan() const { return m_tree; }
    ExplorerTreeModel* Model() const { return m_model; }
    // The toolbox button last pressed, 1 to 14.
    int ToolBoxIndex() const { return m_toolBoxIndex; }

    void tlbToolBox_Reset();
    void tlbToolBox_ButtonClick(int index);
    // Empties the tree and builds root, configurations and test plans again; a plan's subtree is
    // read when it is first opened. Returns false after a failure, which is logged.
    bool tvTestPlan_Initialize();
    void tvTestPlan_ExpandAll();
    void tvTestPlan_CollapseAll();
    void tvTestPlan_NodeClick(ExplorerNode* node);
    void tvTestPlan_MouseDown(Qt::MouseButton button, const QPoint& position);
    void tvTestPlan_KeyDown(const QKeyEvent* event);
    void tvTestPlan_DblClick();
    // Opens the description window of the current node's item.
    void Edition();

    // Dragging items: a toolbox button carries a new item of its kind, a tree node the item it
    // shows; only the tree takes drops. Each drag offers copying only.
    QString tlbToolBox_OLEStartDrag(int index);
    bool tlbToolBox_OLEDragOver(const QString& text);
    void tlbToolBox_OLEDragDrop(const QString& text);
    void tlbToolBox_OLECompleteDrag();
    QString tvTestPlan_OLEStartDrag();
    bool tvTestPlan_OLEDragOver(const QString& text, const QPoint& position);
    void tvTestPlan_OLEDragDrop(const QString& text, const QPoint& position);
    void tvTestPlan_OLECompleteDrag();

    // Reads the subtree of a test plan not filled yet.
    void FillPlan(ExplorerNode* plan);
    // The node with that key, after filling the test plan it lies in when needed; null when none.
    ExplorerNode* NodeByKey(const QString& key);
    // The one selection step of the commands that end on a node: selects it in the tree, makes it
    // the current node, writes status panels 4 and 3 and sets the drop highlight. False when the
    // key names no node.
    bool SelectNode(const QString& key);
    ExplorerNode* DropHighlight() const;
    // Marks the node in the tree, opened and scrolled into view, without making it current.
    void ShowNode(ExplorerNode* node);

    // The window's unload: the status panels and the current node are cleared.
    void Form_Unload();

private:
    // The property pane's rows go until a node is clicked again.
    void EmptyPropertyGrid();
    bool BuildTree();
    void BuildToolBox();
    void InstallDragAndDrop();
    // Runs a drag of `text` from `source` to its end.
    static void RunDrag(QWidget* source, const QString& text);
    bool eventFilter(QObject* watched, QEvent* event) override;
    void InstallHandlers();
    bool KeyRuns(const QKeyEvent* event) const;
    void ExpandTo(ExplorerNode* node);

    frmMdi* m_main;
    QToolBar* m_toolBox;
    ExplorerTreeView* m_tree;
    ExplorerTreeModel* m_model;
    int m_toolBoxIndex = 1;
    // Where the left button went down on a toolbox button, for telling a drag from a click.
    QPoint m_pressedAt;
    int m_pressedButton = 0;
};
