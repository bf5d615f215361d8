#include "nodetree/CTreeDepthLimit.h"

#include <QKeyEvent>
#include <QSignalBlocker>
#include <QTreeWidget>

#include <algorithm>
#include <utility>
#include <vector>

namespace KV {

CTreeDepthLimit::CTreeDepthLimit(QTreeWidget* tree)
    : QObject(tree)
    , m_tree(tree)
{
    tree->installEventFilter(this);
}

void CTreeDepthLimit::ExpandAll()
{
    if (IsDeep())
        ExpandParents(m_tree->invisibleRootItem(), -1);
    else
        m_tree->expandAll();
}

void CTreeDepthLimit::Clear()
{
    if (!IsDeep()) {
        m_tree->clear();
        return;
    }
    // Taking the items out walks the ancestors of every row the view or the selection holds
    // (expanded, hidden, selected); a reset lets go of them all. Nothing is announced, as
    // with a clear.
    const QSignalBlocker blocker(m_tree);
    m_tree->reset();
    const QList<QTreeWidgetItem*> top = m_tree->invisibleRootItem()->takeChildren();
    std::vector<QTreeWidgetItem*> stack(top.rbegin(), top.rend());
    std::vector<QTreeWidgetItem*> preOrder;
    while (!stack.empty()) {
        QTreeWidgetItem* item = stack.back();
        stack.pop_back();
        preOrder.push_back(item);
        for (int row = item->childCount() - 1; row >= 0; --row)
            stack.push_back(item->child(row));
    }
    // In reversed pre-order every item is childless and the last child of its parent when it
    // is deleted, so no deletion recurses and no removal searches.
    for (auto it = preOrder.rbegin(); it != preOrder.rend(); ++it) {
        QTreeWidgetItem* item = *it;
        if (QTreeWidgetItem* parent = item->parent())
            parent->takeChild(parent->childCount() - 1);
        delete item;
    }
    m_tree->clear();
    m_deepestLevel = 0;
}

int CTreeDepthLimit::DepthOf(const QTreeWidgetItem* item)
{
    int depth = 0;
    for (const QTreeWidgetItem* up = item->parent(); up != nullptr; up = up->parent())
        ++depth;
    return depth;
}

int CTreeDepthLimit::ExpandParents(QTreeWidgetItem* top, int topDepth)
{
    int deepest = 0;
    std::vector<QTreeWidgetItem*> parents;
    std::vector<std::pair<QTreeWidgetItem*, int>> stack{{top, topDepth}};
    while (!stack.empty()) {
        const auto [item, depth] = stack.back();
        stack.pop_back();
        deepest = std::max(deepest, depth);
        if (depth >= kMaxExpandedDepth || item->childCount() == 0)
            continue;
        if (depth >= 0)
            parents.push_back(item);
        for (int row = item->childCount() - 1; row >= 0; --row)
            stack.emplace_back(item->child(row), depth + 1);
    }
    for (auto it = parents.rbegin(); it != parents.rend(); ++it) {
        if (!(*it)->isExpanded())
            (*it)->setExpanded(true);
    }
    return deepest;
}

bool CTreeDepthLimit::eventFilter(QObject* watched, QEvent* event)
{
    // Qt's '*' expands everything below the current item, however deep.
    if (watched != m_tree || event->type() != QEvent::KeyPress || !IsDeep() ||
        static_cast<QKeyEvent*>(event)->key() != Qt::Key_Asterisk)
        return false;
    if (QTreeWidgetItem* current = m_tree->currentItem())
        ExpandParents(current, DepthOf(current));
    return true;
}

} // namespace KV
