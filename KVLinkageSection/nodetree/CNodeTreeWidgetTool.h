#pragma once

#include "host/UBTypes.h"
#include "nodetree/CHandleItemMap.h"

#include <QAbstractItemModel>
#include <QList>
#include <QMetaObject>
#include <QPointer>
#include <QString>

#include <map>
#include <vector>

class QTreeWidget;
class QTreeWidgetItem;

namespace UB {
class CHandle;
}

namespace KV {

class CKorvelInterface;
class CSceneManager;
class CTreeDepthLimit;

/// Fills a tree widget with the node hierarchy of one host object and offers what a
/// node-picking dialog does with it: rebuild, search, hide, expand and select. A derived dialog
/// names the tree widget (GetTreeWidget) and may replace the listing rule (AddNodeItem).
///
/// Items are plain QTreeWidgetItems of type 0: the node's name (" - " when empty) and, under
/// Qt::UserRole, the node's handle as a "UBHANDLE" value. No operation recurses with the tree's
/// depth; items deeper than CTreeDepthLimit allows stay collapsed.
class CNodeTreeWidgetTool
{
public:
    CNodeTreeWidgetTool();
    CNodeTreeWidgetTool(const CNodeTreeWidgetTool&) = delete;
    CNodeTreeWidgetTool& operator=(const CNodeTreeWidgetTool&) = delete;

    // ---- Virtual operations, in slot order -------------------------------------------------

    /// Rebuilds the tree for `root` with the tree's signals blocked: everything is emptied, the
    /// root and what lies below it listed through AddNodeItem, parents expanded (the root as the
    /// expand-root flag says) and `root` remembered. A null root gives one "NULL" item and keeps
    /// the remembered root. The host has no flat node list, so `listMode` lists the hierarchy.
    /// Items are assembled off the view, so an override of AddNodeItem sees them without a tree.
    virtual void BuildTree(UB::CHandle* root, bool listMode);

    /// The tree widget; null before the dialog's layout is bound.
    virtual QTreeWidget* GetTreeWidget() = 0;

    /// Adds `node` under `parentItem` (top level when null), then its children from the scene's
    /// GetChildNodes, each through this operation with `flag` false; a failed query lists no
    /// children. Returns the node's item, null for a null node. A nested call only queues its
    /// children for the outermost one, which lists them in the order recursion would.
    virtual QTreeWidgetItem* AddNodeItem(UB::CHandle* node, QTreeWidget* tree,
                                         QTreeWidgetItem* parentItem, bool flag);

    /// Lists the node list as top-level items and returns the first (null when empty).
    virtual QTreeWidgetItem* BuildFromNodeList(QTreeWidget* tree);

    // ---- Operations ------------------------------------------------------------------------

    /// Set-up once the tree widget exists: stores the host, sizes the single column to its
    /// widest text, keeps the horizontal scroll on a click, and sets entry 0 of the option flags
    /// and icon paths. Always returns 0.
    UB::Result InitTreeTool(CKorvelInterface* host);

    /// Makes the item of `node` under `parentItem` (or at the top level of `tree`) and enters
    /// it in the handle-to-item map unless the node has an item already; outside a rebuild it
    /// is expanded at once. Null when there is no node, or neither parent nor tree.
    QTreeWidgetItem* CreateNodeItem(UB::CHandle* node, QTreeWidget* tree,
                                    QTreeWidgetItem* parentItem);

    /// Appends every item of the tree in pre-order to `out`, after what `out` already holds.
    void GetAllItems(QList<QTreeWidgetItem*>& out);

    /// Replaces `found` by the items whose text contains `text` (literal, any case), in
    /// pre-order; an empty text appends every item. Then deselects every item and selects the
    /// first hit, with the tree's signals as they are.
    void FindItems(QList<QTreeWidgetItem*>& found, QString text);

    /// Hides or shows every item.
    void SetAllItemsHidden(bool hidden);

    /// One change of the search text: the end state of hiding everything, FindItems, showing
    /// every hit and its ancestors and, for a non-empty text, expanding those ancestors (down to
    /// the depth limit). Only items whose state changes are touched; while the selection
    /// changes with the tree's signals on, the items selected before and the first hit are
    /// hidden, as they would be. Returns the first hit, null when nothing matches.
    QTreeWidgetItem* ApplySearch(const QString& text);

    /// Expands (down to the depth limit) or collapses every ancestor of `item`. Returns 0.
    UB::Result ExpandAncestors(QTreeWidgetItem* item, bool expand);

    /// Clears the selection, then selects the item of `node` and makes it current with the
    /// tree's signals blocked. An item below the depth limit is not scrolled to: that would
    /// expand every ancestor.
    void SelectNode(UB::CHandle* node);

    /// Deselects every selected (visible) item, one after another.
    void ClearSelection();

    /// The node handle an item carries; null for none (the "NULL" item, a null item).
    static UB::CHandle* GetItemNode(const QTreeWidgetItem* item);

    /// Expands every parent item down to the depth limit, as Qt's expandAll does on a tree
    /// that is not that deep.
    void ExpandAll();
    /// Empties the tree widget without Qt's recursive deletion on a deep tree.
    void ClearTree();

    // ---- State shared with the dialogs and the link-to-sub-node command --------------------

    /// Option flags and icon paths of the list mode; entry 0 of each is set by InitTreeTool.
    std::map<int, bool> m_optionFlags;
    std::map<int, QString> m_iconPaths;
    CKorvelInterface* m_host = nullptr;
    /// Whether the root's item is expanded after a rebuild.
    bool m_expandRoot = true;
    /// Set by the search handler; the next keypad Enter only clears it.
    bool m_enterPending = false;
    bool m_scrollRestoreArmed = false;
    int m_savedScrollPosition = 0;
    /// The root of the last rebuild that had one.
    UB::CHandle* m_rootNode = nullptr;
    /// The dialog's answer: the picked node, or null.
    UB::CHandle* m_chosenNode = nullptr;

    /// One entry per node item made since the last rebuild; a node's first item wins.
    CHandleItemMap m_handleToItem;
    UB::CArrayList<UB::CHandle*> m_nodeList;

protected:
    /// True when every node item made since the last rebuild is the only item of its node,
    /// so the map finds all the items of a node.
    bool IsOneItemPerNode() const { return m_handleToItem.Size() == m_nodeItemCount; }

protected:
    ~CNodeTreeWidgetTool();

private:
    struct CPendingChild
    {
        UB::CHandle* node;
        QTreeWidgetItem* parentItem;
    };
    class CBuildBatch;

    CSceneManager* GetSceneManager() const;
    CTreeDepthLimit* DepthLimitOf(QTreeWidget* tree);
    /// Node items made since the last rebuild, counting a node's second and later items.
    std::size_t m_nodeItemCount = 0;
    void PlaceItem(QTreeWidgetItem* item, QTreeWidget* tree, QTreeWidgetItem* parentItem);

    /// Where a nested AddNodeItem queues its children for the outermost running one.
    std::vector<CPendingChild>* m_pendingChildren = nullptr;
    /// The rebuild in progress, null outside BuildTree.
    CBuildBatch* m_batch = nullptr;
    /// Each item's text, place and the hidden state the last search left it in, in pre-order:
    /// asking Qt costs a variant, or a persistent index, per item and keystroke, and walking
    /// its items a model lookup per child. Emptied whenever the model's items change, items
    /// are made or hidden otherwise. Kept small: the dialog holds one per listed node.
    struct CSearchedItem
    {
        QTreeWidgetItem* item;
        QString text;
        int parent; // position of the parent item, -1 for a top-level one
        bool hidden;
        bool hit;        // during a search
        bool childShown; // during a search
        bool selected;   // during a search
    };
    std::vector<CSearchedItem> m_searched;
    QPointer<QAbstractItemModel> m_searchedModel; // null once the model is gone
    std::vector<QMetaObject::Connection> m_searchedConnections;
    void ForgetSearchedStates() { m_searched.clear(); }
    /// Fills m_searched from the tree unless it still holds the tree's items.
    void RememberItems(QTreeWidget* tree);
    /// The positions of the items a search has entered and not yet left; kept to spare its
    /// growth on every keystroke.
    std::vector<int> m_openItems;
    /// Receives each node's children; kept to spare an allocation per node.
    UB::CArrayList<UB::CHandle*> m_childBuffer;
    QMetaObject::Connection m_clickConnection;
    QMetaObject::Connection m_scrollConnection;
    /// A child of the tree widget, so it lasts as long as the items it guards.
    QPointer<CTreeDepthLimit> m_depthLimit;
};

} // namespace KV
