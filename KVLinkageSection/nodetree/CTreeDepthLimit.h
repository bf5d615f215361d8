#pragma once

#include <QObject>

class QTreeWidget;
class QTreeWidgetItem;

namespace KV {

/// Keeps a tree widget's expanded depth within what Qt's view can lay out: the view lays an
/// expanded chain out by recursion, and Qt deletes an item's children by recursion too, so
/// either would exhaust the stack on a deep enough chain. Items this limit deep or deeper are
/// left collapsed; the user may still open them a level at a time.
///
/// Lives as a child and event filter of its tree, where it takes the '*' key on a tree deeper
/// than the limit.
class CTreeDepthLimit : public QObject
{
public:
    /// Well below the about 26,000 levels where Qt's layout runs out of an 8 MiB stack.
    static constexpr int kMaxExpandedDepth = 10000;

    explicit CTreeDepthLimit(QTreeWidget* tree);

    /// The depth of the tree's deepest item (0 for top-level items), as its last build made it.
    void SetDeepestLevel(int level) { m_deepestLevel = level; }
    bool IsDeep() const { return m_deepestLevel >= kMaxExpandedDepth; }

    /// Qt's expandAll, as far down as the limit allows.
    void ExpandAll();
    /// Empties the tree; a deep tree's items are deleted from the bottom up.
    void Clear();

    /// Levels above `item`: 0 for a top-level item.
    static int DepthOf(const QTreeWidgetItem* item);
    /// Expands `top` (at `topDepth`; the invisible root has -1) and every item below it that
    /// has children and lies above the limit, deepest first, so only the last of them makes the
    /// view lay anything out. Returns the deepest level it reached, the limit at most.
    static int ExpandParents(QTreeWidgetItem* top, int topDepth);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTreeWidget* m_tree;
    int m_deepestLevel = 0;
};

} // namespace KV
