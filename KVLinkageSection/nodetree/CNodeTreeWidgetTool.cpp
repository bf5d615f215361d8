#include "nodetree/CNodeTreeWidgetTool.h"

#include "host/KVKorvelInterface.h"
#include "nodetree/CNodeHandleValue.h"
#include "nodetree/CTreeDepthLimit.h"
#include "nodetree/HostText.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStringMatcher>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVarLengthArray>
#include <QtDebug>

#include <algorithm>
#include <deque>
#include <utility>
#include <vector>

namespace KV {

namespace {

const char* const kIconPath = ":/KVNodeStructureDlg/icon/SpringBoneTagIcon.svg";

/// The selected items, hidden ones too (QTreeWidget::selectedItems leaves those out), sorted by
/// address for lookups.
std::vector<QTreeWidgetItem*> SelectedItemsWithHidden(QTreeWidget* tree)
{
    std::vector<QTreeWidgetItem*> items;
    if (tree->selectionModel() == nullptr)
        return items;
    for (const QModelIndex& index : tree->selectionModel()->selectedIndexes()) {
        QVarLengthArray<int, 64> rows; // a row per level, on the stack for any usual depth
        for (QModelIndex up = index; up.isValid(); up = up.parent())
            rows.push_back(up.row());
        QTreeWidgetItem* item = tree->invisibleRootItem();
        for (auto row = rows.rbegin(); row != rows.rend() && item != nullptr; ++row)
            item = item->child(*row);
        if (item != nullptr)
            items.push_back(item);
    }
    std::sort(items.begin(), items.end());
    items.erase(std::unique(items.begin(), items.end()), items.end());
    return items;
}

} // namespace

// ---- Rebuild state ---------------------------------------------------------------------------

/// Items of a rebuild are assembled off the view and inserted once: items attached one by one
/// make the model announce every insertion, and text or data set afterwards announces twice
/// more. Top-level items wait under a holder item because addChild records each child's row
/// there, and the rows stay true once they move to the (emptied) tree; top-level items
/// inserted directly have no recorded row, and the first lookup of each then scans the whole
/// top level, which is quadratic for a flat list. Expanding needs the view, so it comes after.
class CNodeTreeWidgetTool::CBuildBatch
{
public:
    QTreeWidgetItem holder;
    /// Reused for every item's handle: refilling a value of the same type spares Qt's type
    /// lookup that a new one costs; each item stores its own copy.
    QVariant handleData;
};

CNodeTreeWidgetTool::CNodeTreeWidgetTool() = default;

CNodeTreeWidgetTool::~CNodeTreeWidgetTool()
{
    // The tree widget outlives this part of the dialog by a few steps of destruction; its
    // handlers must not reach a tool that is gone.
    QObject::disconnect(m_clickConnection);
    QObject::disconnect(m_scrollConnection);
    for (const QMetaObject::Connection& connection : m_searchedConnections)
        QObject::disconnect(connection);
    // Qt deletes the items with the tree widget, by recursion.
    if (m_depthLimit != nullptr && m_depthLimit->IsDeep())
        m_depthLimit->Clear();
}

UB::Result CNodeTreeWidgetTool::InitTreeTool(CKorvelInterface* host)
{
    m_host = host;
    if (QTreeWidget* tree = GetTreeWidget()) {
        tree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
        tree->header()->setStretchLastSection(false);

        // A click makes the view scroll its single wide column to the item's start; the first
        // horizontal scroll after a click is undone so the user's position stays.
        QObject::disconnect(m_clickConnection);
        QObject::disconnect(m_scrollConnection);
        m_clickConnection = QObject::connect(
            tree, &QTreeWidget::itemClicked, tree,
            [this, tree] {
                m_scrollRestoreArmed = true;
                m_savedScrollPosition = tree->horizontalScrollBar()->sliderPosition();
            },
            Qt::DirectConnection);
        QScrollBar* bar = tree->horizontalScrollBar();
        m_scrollConnection = QObject::connect(
            bar, &QAbstractSlider::valueChanged, bar,
            [this, bar] {
                if (!m_scrollRestoreArmed)
                    return;
                m_scrollRestoreArmed = false;
                bar->setValue(m_savedScrollPosition);
            },
            Qt::DirectConnection);
    } else {
        qWarning("KVLinkageSection: node tree set up without a tree widget; the layout lacks it");
    }
    m_optionFlags = {{0, false}};
    m_iconPaths = {{0, QString::fromLatin1(kIconPath)}};
    return UB::kOk;
}

CSceneManager* CNodeTreeWidgetTool::GetSceneManager() const
{
    return m_host != nullptr ? m_host->GetSceneManager() : nullptr;
}

CTreeDepthLimit* CNodeTreeWidgetTool::DepthLimitOf(QTreeWidget* tree)
{
    if (m_depthLimit == nullptr || m_depthLimit->parent() != tree)
        m_depthLimit = new CTreeDepthLimit(tree);
    return m_depthLimit;
}

// ---- Building --------------------------------------------------------------------------------

void CNodeTreeWidgetTool::BuildTree(UB::CHandle* root, bool listMode)
{
    // The host has no flat node list for a root, so list mode lists the hierarchy as well.
    Q_UNUSED(listMode);
    QTreeWidget* tree = GetTreeWidget();
    if (tree == nullptr)
        return;
    const QSignalBlocker blocker(tree);

    m_handleToItem.Clear();
    m_nodeItemCount = 0;
    ForgetSearchedStates();
    CTreeDepthLimit* depthLimit = DepthLimitOf(tree);
    depthLimit->Clear();
    m_nodeList.Clear();

    if (root == nullptr) {
        auto* item = new QTreeWidgetItem(0);
        item->setText(0, QStringLiteral("NULL"));
        tree->insertTopLevelItem(0, item);
        return;
    }

    CSceneManager* scene = GetSceneManager();
    if (scene == nullptr) {
        qWarning("KVLinkageSection: node tree rebuilt without a host; only the root is listed");
    } else {
        // Only list mode would read the kind; the host is asked as in every rebuild.
        int kind = 0;
        scene->GetNodeKind(root, kind);
    }

    CBuildBatch batch;
    m_batch = &batch;
    QTreeWidgetItem* rootItem = AddNodeItem(root, tree, nullptr, false);
    m_batch = nullptr;

    tree->addTopLevelItems(batch.holder.takeChildren());
    // Expanding an item without children shows nothing and costs the view a persistent index.
    depthLimit->SetDeepestLevel(CTreeDepthLimit::ExpandParents(tree->invisibleRootItem(), -1));
    if (rootItem != nullptr && !m_expandRoot)
        rootItem->setExpanded(false);
    m_rootNode = root;
}

QTreeWidgetItem* CNodeTreeWidgetTool::AddNodeItem(UB::CHandle* node, QTreeWidget* tree,
                                                  QTreeWidgetItem* parentItem, bool flag)
{
    Q_UNUSED(flag);
    if (node == nullptr)
        return nullptr;
    QTreeWidgetItem* item = CreateNodeItem(node, tree, parentItem);

    CSceneManager* scene = GetSceneManager();
    HandleList& children = m_childBuffer;
    children.Clear();
    if (scene == nullptr || scene->GetChildNodes(node, children).IsFailed())
        return item; // a failed query lists the node without children

    // An outer call is already working through the levels below: leave the children to it.
    if (m_pendingChildren != nullptr) {
        for (UB::CHandle* child : children)
            m_pendingChildren->push_back({child, item});
        return item;
    }

    // Depth-first without recursion. Children queued during one step go on top of the stack
    // together and in their order, so the items come out in the order recursion would make
    // them, even when an override lists several nodes through this operation.
    std::vector<CPendingChild> stack;
    std::vector<CPendingChild> queuedByStep;
    for (int i = children.GetCount() - 1; i >= 0; --i)
        stack.push_back({children[i], item});
    m_pendingChildren = &queuedByStep;
    while (!stack.empty()) {
        const CPendingChild next = stack.back();
        stack.pop_back();
        AddNodeItem(next.node, tree, next.parentItem, false);
        stack.insert(stack.end(), queuedByStep.rbegin(), queuedByStep.rend());
        queuedByStep.clear();
    }
    m_pendingChildren = nullptr;
    return item;
}

QTreeWidgetItem* CNodeTreeWidgetTool::BuildFromNodeList(QTreeWidget* tree)
{
    QTreeWidgetItem* first = nullptr;
    for (UB::CHandle* node : m_nodeList) {
        QTreeWidgetItem* item = CreateNodeItem(node, tree, nullptr);
        if (first == nullptr)
            first = item;
    }
    return first;
}

QTreeWidgetItem* CNodeTreeWidgetTool::CreateNodeItem(UB::CHandle* node, QTreeWidget* tree,
                                                     QTreeWidgetItem* parentItem)
{
    if (node == nullptr || (parentItem == nullptr && tree == nullptr && m_batch == nullptr))
        return nullptr;
    m_handleToItem.Prefetch(node); // the insert below waits for it otherwise
    CSceneManager* scene = GetSceneManager();
    const QString name = scene != nullptr ? FromHostText(scene->GetObjectName(node)) : QString();

    ForgetSearchedStates();
    // Text and data go in before the item is placed, where setting them announces nothing.
    auto* item = new QTreeWidgetItem(0);
    item->setText(0, name.isEmpty() ? QStringLiteral(" - ") : name);
    if (m_batch != nullptr) {
        m_batch->handleData.setValue(CNodeHandleValue{node});
        item->setData(0, Qt::UserRole, m_batch->handleData);
    } else {
        item->setData(0, Qt::UserRole, CNodeHandleValue::ToVariant(node));
    }
    PlaceItem(item, tree, parentItem);
    m_handleToItem.Insert(node, item); // keeps the node's first item
    ++m_nodeItemCount;
    return item;
}

void CNodeTreeWidgetTool::PlaceItem(QTreeWidgetItem* item, QTreeWidget* tree,
                                    QTreeWidgetItem* parentItem)
{
    if (parentItem != nullptr)
        parentItem->addChild(item);
    else if (m_batch != nullptr)
        m_batch->holder.addChild(item);
    else
        tree->addTopLevelItem(item);

    if (m_batch == nullptr && item->treeWidget() != nullptr)
        item->setExpanded(true);
}

// ---- Reading and searching -------------------------------------------------------------------

void CNodeTreeWidgetTool::GetAllItems(QList<QTreeWidgetItem*>& out)
{
    QTreeWidget* tree = GetTreeWidget();
    if (tree == nullptr)
        return;
    for (QTreeWidgetItemIterator it(tree); *it != nullptr; ++it)
        out.append(*it);
}

void CNodeTreeWidgetTool::FindItems(QList<QTreeWidgetItem*>& found, QString text)
{
    QTreeWidget* tree = GetTreeWidget();
    if (tree == nullptr)
        return;

    // Deselecting every item in pre-order changes the selection only at the selected ones, so
    // only those are deselected, in that same order; asking Qt to deselect an unselected item
    // costs as much as a real change when many rows are selected.
    QList<QTreeWidgetItem*> selectedInPreOrder;
    const bool anySelected =
        tree->selectionModel() != nullptr && tree->selectionModel()->hasSelection();
    // A literal match: the text's characters never act as a pattern.
    const QStringMatcher matcher(text, Qt::CaseInsensitive);
    if (!text.isEmpty())
        found.clear();
    for (QTreeWidgetItemIterator it(tree); *it != nullptr; ++it) {
        QTreeWidgetItem* item = *it;
        if (text.isEmpty() || matcher.indexIn(item->text(0)) >= 0)
            found.append(item);
        if (anySelected && item->isSelected())
            selectedInPreOrder.append(item);
    }

    for (QTreeWidgetItem* item : qAsConst(selectedInPreOrder))
        item->setSelected(false);
    if (!found.isEmpty())
        found.first()->setSelected(true);
}

// ---- Visibility and expansion ----------------------------------------------------------------

void CNodeTreeWidgetTool::SetAllItemsHidden(bool hidden)
{
    QTreeWidget* tree = GetTreeWidget();
    if (tree == nullptr)
        return;
    ForgetSearchedStates();
    std::deque<QTreeWidgetItem*> queue;
    for (int row = 0; row < tree->topLevelItemCount(); ++row)
        queue.push_back(tree->topLevelItem(row));
    while (!queue.empty()) {
        QTreeWidgetItem* item = queue.front();
        queue.pop_front();
        // Items already in the wanted state are left alone: a change costs the view far more
        // than the question.
        if (item->isHidden() != hidden)
            item->setHidden(hidden);
        for (int row = 0; row < item->childCount(); ++row)
            queue.push_back(item->child(row));
    }
}

void CNodeTreeWidgetTool::RememberItems(QTreeWidget* tree)
{
    if (!m_searched.empty() && m_searchedModel == tree->model())
        return;
    m_searched.clear();
    // Any change to the items (added, removed, moved, renamed, sorted) makes the remembered
    // states a guess; the model announces each, whoever makes it and even with the tree's
    // signals blocked.
    for (const QMetaObject::Connection& connection : m_searchedConnections)
        QObject::disconnect(connection);
    m_searchedConnections.clear();
    QAbstractItemModel* model = tree->model();
    m_searchedModel = model;
    const auto forget = [this] {
        ForgetSearchedStates();
    };
    m_searchedConnections = {
        QObject::connect(model, &QAbstractItemModel::rowsInserted, model, forget),
        QObject::connect(model, &QAbstractItemModel::rowsRemoved, model, forget),
        QObject::connect(model, &QAbstractItemModel::rowsMoved, model, forget),
        QObject::connect(model, &QAbstractItemModel::modelReset, model, forget),
        QObject::connect(model, &QAbstractItemModel::layoutChanged, model, forget),
        QObject::connect(model, &QAbstractItemModel::dataChanged, model, forget),
    };

    // Pre-order, as the search visits the items. A rebuild's count of items spares the
    // vector's growth, which would hold the old and the new storage at once.
    m_searched.reserve(m_nodeItemCount);
    std::vector<std::pair<QTreeWidgetItem*, int>> stack;
    for (int row = tree->topLevelItemCount() - 1; row >= 0; --row)
        stack.emplace_back(tree->topLevelItem(row), -1);
    while (!stack.empty()) {
        const auto [item, parent] = stack.back();
        stack.pop_back();
        m_searched.push_back({item, item->text(0), parent, item->isHidden(), false, false, false});
        const int position = static_cast<int>(m_searched.size()) - 1;
        for (int row = item->childCount() - 1; row >= 0; --row)
            stack.emplace_back(item->child(row), position);
    }
}

QTreeWidgetItem* CNodeTreeWidgetTool::ApplySearch(const QString& text)
{
    QTreeWidget* tree = GetTreeWidget();
    if (tree == nullptr)
        return nullptr;
    RememberItems(tree);
    const bool everything = text.isEmpty();
    const QStringMatcher matcher(text, Qt::CaseInsensitive);
    // Only the first hit is kept: the callers need no other, and a list of every item would
    // be made and dropped again on each keystroke.
    QTreeWidgetItem* firstHit = nullptr;
    // The selection is read once: asking each item costs a lookup in the selection model.
    // It is nearly always the one item the last search selected.
    const std::vector<QTreeWidgetItem*> selected = SelectedItemsWithHidden(tree);
    QTreeWidgetItem* const onlySelected = selected.size() == 1 ? selected.front() : nullptr;
    const bool severalSelected = selected.size() > 1;
    const auto isSelected = [&](QTreeWidgetItem* item) {
        return item == onlySelected ||
               (severalSelected && std::binary_search(selected.begin(), selected.end(), item));
    };
    QList<QTreeWidgetItem*> selectedInPreOrder;
    std::vector<QTreeWidgetItem*> hiddenWhileSelecting;
    std::vector<QTreeWidgetItem*> toExpand;
    // With the tree's signals blocked nobody sees the selection change on its way, so the
    // items it touches need not be hidden meanwhile: hiding and showing a row costs a relayout.
    const bool announced = !tree->signalsBlocked();

    // One depth-first pass over the remembered items; an item's final visibility is known when
    // it is left, after its children: it is shown when it is a hit or a child of it is shown.
    // Hiding everything and showing the hits again would touch every visible item twice.
    // The items still open are the one being entered's ancestors, the top-level one first, so
    // an item's depth is the number of open items below it.
    // The items do not change during the pass (the model would announce it), so the pass
    // holds their storage in locals the compiler need not reload after each call into Qt.
    CSearchedItem* const entries = m_searched.data();
    const int count = static_cast<int>(m_searched.size());
    std::vector<int>& open = m_openItems;
    open.clear();
    const auto leave = [&](CSearchedItem& entry) {
        QTreeWidgetItem* item = entry.item;
        const bool shown = entry.hit || entry.childShown;
        const bool witness = announced && (entry.selected || item == firstHit);
        if (!shown || witness) {
            if (!entry.hidden)
                item->setHidden(true);
            if (shown)
                hiddenWhileSelecting.push_back(item);
        } else if (entry.hidden) {
            item->setHidden(false);
        }
        entry.hidden = !shown;
        if (shown && entry.parent >= 0)
            entries[entry.parent].childShown = true;
        const int depth = static_cast<int>(open.size()) - 1;
        if (!everything && entry.childShown && depth < CTreeDepthLimit::kMaxExpandedDepth &&
            !item->isExpanded())
            toExpand.push_back(item);
    };
    for (int position = 0; position < count; ++position) {
        CSearchedItem& entry = entries[position];
        while (!open.empty() && open.back() != entry.parent) {
            leave(entries[open.back()]);
            open.pop_back();
        }
        entry.hit = everything || matcher.indexIn(entry.text) >= 0;
        entry.childShown = false;
        if (entry.hit && firstHit == nullptr)
            firstHit = entry.item;
        entry.selected = isSelected(entry.item);
        if (entry.selected)
            selectedInPreOrder.append(entry.item);
        open.push_back(position);
    }
    while (!open.empty()) {
        leave(entries[open.back()]);
        open.pop_back();
    }

    // Unannounced, deselecting and selecting again the one first hit changes nothing.
    const bool unchanged = !announced && firstHit != nullptr && selectedInPreOrder.size() == 1 &&
                           selectedInPreOrder.first() == firstHit;
    if (!unchanged) {
        for (QTreeWidgetItem* item : qAsConst(selectedInPreOrder))
            item->setSelected(false);
        if (firstHit != nullptr)
            firstHit->setSelected(true);
    }
    for (QTreeWidgetItem* item : hiddenWhileSelecting)
        item->setHidden(false);
    for (QTreeWidgetItem* item : toExpand)
        item->setExpanded(true);
    return firstHit;
}

UB::Result CNodeTreeWidgetTool::ExpandAncestors(QTreeWidgetItem* item, bool expand)
{
    if (item == nullptr)
        return UB::kOk;
    int depth = CTreeDepthLimit::DepthOf(item);
    for (QTreeWidgetItem* ancestor = item->parent(); ancestor != nullptr;
         ancestor = ancestor->parent()) {
        --depth;
        // Asking first spares the view a search for the item's row when nothing changes.
        if (ancestor->isExpanded() != expand &&
            (!expand || depth < CTreeDepthLimit::kMaxExpandedDepth))
            ancestor->setExpanded(expand);
    }
    return UB::kOk;
}

// ---- Selection -------------------------------------------------------------------------------

void CNodeTreeWidgetTool::SelectNode(UB::CHandle* node)
{
    QTreeWidget* tree = GetTreeWidget();
    if (tree == nullptr)
        return;
    ClearSelection();
    if (tree->topLevelItemCount() == 0 || node == nullptr)
        return;
    QTreeWidgetItem* item = m_handleToItem.Find(node);
    if (item == nullptr)
        return;
    const QSignalBlocker blocker(tree);
    item->setSelected(true);
    // Scrolling to the current item expands all its ancestors, past the depth limit too.
    const bool pastLimit = CTreeDepthLimit::DepthOf(item) > CTreeDepthLimit::kMaxExpandedDepth &&
                           tree->hasAutoScroll();
    if (pastLimit)
        tree->setAutoScroll(false);
    tree->setCurrentItem(item);
    if (pastLimit)
        tree->setAutoScroll(true);
}

void CNodeTreeWidgetTool::ExpandAll()
{
    if (QTreeWidget* tree = GetTreeWidget())
        DepthLimitOf(tree)->ExpandAll();
}

void CNodeTreeWidgetTool::ClearTree()
{
    ForgetSearchedStates();
    if (QTreeWidget* tree = GetTreeWidget())
        DepthLimitOf(tree)->Clear();
}

void CNodeTreeWidgetTool::ClearSelection()
{
    QTreeWidget* tree = GetTreeWidget();
    if (tree == nullptr)
        return;
    const QList<QTreeWidgetItem*> selected = tree->selectedItems();
    for (QTreeWidgetItem* item : selected)
        item->setSelected(false);
}

UB::CHandle* CNodeTreeWidgetTool::GetItemNode(const QTreeWidgetItem* item)
{
    if (item == nullptr)
        return nullptr;
    return CNodeHandleValue::FromVariant(item->data(0, Qt::UserRole));
}

} // namespace KV
