#pragma once

#include "host/UBTypes.h"
#include "nodetree/CHandleItemMap.h"

#include <QList>
#include <QMetaObject>
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

/// Fills a tree widget with the node hierarchy of one host object and offers what a
/// node-picking dialog does with it: rebuild for a root node, search, hiding, expanding and
/// selecting the item of a node. A derived dialog names the tree widget (GetTreeWidget) and
/// may replace the rule that lists nodes (AddNodeItem).
///
/// Every item is a plain QTreeWidgetItem of type 0 with one column: the node's name (" - "
/// when empty) and, under Qt::UserRole, the node's handle as a "UBHANDLE" value.
///
/// Built for trees of 100,000 nodes and chains 10,000 levels deep: no operation recurses
/// with the tree's depth, and work on many items is done in the order and with the signals
/// the one-item-at-a-time way would give.
///
/// Depth limits are Qt's own, with the usual 8 MiB main-thread stack (Qt 5.15, measured in
/// the normal and the sanitizer build alike): the view lays an expanded chain out
/// recursively and overflows between 26,000 and 26,500 levels, so about 26,000 levels can be
/// shown; a chain that is never shown can be built and searched further, until Qt's
/// recursive deletion of items overflows between 65,000 and 75,000 levels.
///
/// The tool has no virtual destructor: it lives and dies as a part of its dialog.
class CNodeTreeWidgetTool
{
public:
    CNodeTreeWidgetTool();
    CNodeTreeWidgetTool(const CNodeTreeWidgetTool&) = delete;
    CNodeTreeWidgetTool& operator=(const CNodeTreeWidgetTool&) = delete;

    // ---- Virtual operations, in slot order -------------------------------------------------

    /// Rebuilds the tree for `root` with the tree widget's signals blocked: the handle-to-item
    /// map, the tree and the node list are emptied, then the root and everything below it are
    /// listed through AddNodeItem, the root's item is expanded as the expand-root flag says and
    /// `root` is remembered. A null root gives a single "NULL" item and keeps the remembered
    /// root. List mode (`listMode` true) lists the same hierarchy: the host offers no flat
    /// node list for a root, so hierarchy mode serves both.
    ///
    /// Items are assembled off the view and inserted in one step, so an override of
    /// AddNodeItem sees items without a tree widget while the rebuild runs.
    virtual void BuildTree(UB::CHandle* root, bool listMode);

    /// The tree widget the tool works on; null before the dialog's layout is bound.
    virtual QTreeWidget* GetTreeWidget() = 0;

    /// Adds `node` under `parentItem` (a top-level item when null) and then its children, as
    /// the scene manager's GetChildNodes gives them, each through this virtual operation with
    /// `flag` false, so an override also governs the deeper levels. A failed GetChildNodes
    /// leaves the node without children. Returns the node's item, null for a null node.
    ///
    /// Children are visited from a work list rather than by recursion: a call made while
    /// another AddNodeItem of this tool is running returns as soon as its node's item exists
    /// and leaves the levels below to the outermost call, which returns when everything is
    /// listed, in the order recursion would give. An override that works after calling this
    /// operation therefore runs before that node's descendants are listed.
    virtual QTreeWidgetItem* AddNodeItem(UB::CHandle* node, QTreeWidget* tree,
                                         QTreeWidgetItem* parentItem, bool flag);

    /// Lists the node list, in order, as top-level items and returns the first (null when the
    /// list is empty). Nothing in this system fills the node list; see BuildTree.
    virtual QTreeWidgetItem* BuildFromNodeList(QTreeWidget* tree);

    // ---- Operations ------------------------------------------------------------------------

    /// Set-up once the tree widget exists: stores the host, sizes the single column to its
    /// widest text (the tree scrolls horizontally), installs the horizontal scroll keeping and
    /// the option flag and icon path entries. Always returns 0.
    UB::Result InitTreeTool(CKorvelInterface* host);

    /// Makes the item of `node` under `parentItem`, or as a top-level item of `tree` without a
    /// parent, expanded, and enters it in the handle-to-item map unless the node already has an
    /// item there. Null node, or no parent and no tree: nothing is made and null returned.
    QTreeWidgetItem* CreateNodeItem(UB::CHandle* node, QTreeWidget* tree,
                                    QTreeWidgetItem* parentItem);

    /// Appends every item of the tree in pre-order to `out`, after what `out` already holds.
    void GetAllItems(QList<QTreeWidgetItem*>& out);

    /// Searches column-0 texts for `text` as a literal, case-insensitive substring at every
    /// depth and replaces `found` by the hits in pre-order; an empty text appends every item
    /// instead. Every item is then deselected and found[0], if any, selected (signals are not
    /// blocked: listeners see each deselection in pre-order, then the selection).
    void FindItems(QList<QTreeWidgetItem*>& found, QString text);

    /// Hides or shows every item.
    void SetAllItemsHidden(bool hidden);

    /// One change of the search text, as a node-picking dialog's search field makes it: the
    /// end state of SetAllItemsHidden(true), FindItems(found, text), then showing every hit
    /// and its ancestors and, unless `text` is empty, expanding those ancestors. `found` is
    /// replaced by the hits (every item for an empty text).
    ///
    /// Only items whose state changes are touched. The selection changes exactly as in
    /// FindItems, and while they are announced the previously selected items and the first
    /// hit are hidden, as everything would be, so the tree's selectedItems() is empty for
    /// every listener as it would be; other items may already show their final state then.
    /// Ancestors are expanded after the selection changes, deepest first.
    void ApplySearch(QList<QTreeWidgetItem*>& found, const QString& text);

    /// Expands or collapses every ancestor of `item`, not `item` itself. Always returns 0.
    UB::Result ExpandAncestors(QTreeWidgetItem* item, bool expand);

    /// Clears the selection, then selects the item of `node` and makes it current with the
    /// tree widget's signals blocked. A node without an item leaves nothing selected.
    void SelectNode(UB::CHandle* node);

    /// Deselects every selected (visible) item, one after another.
    void ClearSelection();

    /// The node handle an item carries; null for none (the "NULL" item, a null item).
    static UB::CHandle* GetItemNode(const QTreeWidgetItem* item);

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
    /// Node items made since the last rebuild, counting a node's second and later items.
    std::size_t m_nodeItemCount = 0;
    /// The node items the last rebuild with a root made.
    std::size_t m_lastItemCount = 0;
    void PlaceItem(QTreeWidgetItem* item, QTreeWidget* tree, QTreeWidgetItem* parentItem);

    /// Where a nested AddNodeItem queues its children for the outermost running one.
    std::vector<CPendingChild>* m_pendingChildren = nullptr;
    /// The rebuild in progress, null outside BuildTree.
    CBuildBatch* m_batch = nullptr;
    /// Receives each node's children; kept to spare an allocation per node.
    UB::CArrayList<UB::CHandle*> m_childBuffer;
    QMetaObject::Connection m_clickConnection;
    QMetaObject::Connection m_scrollConnection;
};

} // namespace KV
