#include "COutliner.h"

#include "CObjectTypes.h"
#include "KVSceneModel.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>

namespace KV {

namespace {

constexpr int kHandleRole = Qt::UserRole;

int DepthOf(const QTreeWidgetItem* item)
{
    int depth = 0;
    while ((item = item->parent()) != nullptr)
        ++depth;
    return depth;
}

} // namespace

COutliner::COutliner(CSceneModel* scene, QWidget* parent)
    : QTreeWidget(parent)
    , m_scene(scene)
{
    setObjectName(QStringLiteral("qtOutliner"));
    setHeaderHidden(true);
    setIndentation(14);
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    header()->setStretchLastSection(false);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setContextMenuPolicy(Qt::CustomContextMenu);
    setUniformRowHeights(true);

    connect(m_scene, &CSceneModel::SceneChanged, this, &COutliner::Refresh);
    connect(m_scene, &CSceneModel::TimeChanged, this, &COutliner::Refresh);
    connect(m_scene, &CSceneModel::SelectionChanged, this, &COutliner::ShowSceneSelection);
    connect(this, &QTreeWidget::itemSelectionChanged, this, &COutliner::TakeSelectionToScene);
    connect(this, &QTreeWidget::itemCollapsed, this,
            [this](QTreeWidgetItem* item) { m_collapsed.insert(NodeOf(item)); });
    connect(this, &QTreeWidget::itemExpanded, this,
            [this](QTreeWidgetItem* item) { m_collapsed.remove(NodeOf(item)); });
    Rebuild();
}

COutliner::~COutliner()
{
    DeleteItems();
}

UB::CHandle* COutliner::NodeOf(const QTreeWidgetItem* item)
{
    if (item == nullptr)
        return nullptr;
    return reinterpret_cast<UB::CHandle*>(item->data(0, kHandleRole).value<quintptr>());
}

void COutliner::mousePressEvent(QMouseEvent* event)
{
    if (m_scene->PickMode() == ePickParent && event->button() == Qt::LeftButton) {
        // Picking a parent leaves the selection alone: it is what gets linked.
        if (QTreeWidgetItem* item = itemAt(event->pos()))
            emit NodePicked(NodeOf(item));
        event->accept();
        return;
    }
    QTreeWidget::mousePressEvent(event);
}

void COutliner::keyPressEvent(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Asterisk || m_deepestLevel < kMaxExpandedDepth) {
        QTreeWidget::keyPressEvent(event);
        return;
    }
    // Qt's '*' opens every level below the current row; stop at the depth limit.
    QTreeWidgetItem* current = currentItem();
    if (current == nullptr)
        return;
    QVector<std::pair<QTreeWidgetItem*, int>> stack{{current, DepthOf(current)}};
    QVector<QTreeWidgetItem*> parents;
    while (!stack.isEmpty()) {
        const auto [item, depth] = stack.takeLast();
        if (depth >= kMaxExpandedDepth || item->childCount() == 0)
            continue;
        parents.append(item);
        for (int row = 0; row < item->childCount(); ++row)
            stack.append({item->child(row), depth + 1});
    }
    // Deepest first: rows under a collapsed parent are only recorded, not laid out.
    for (int i = parents.size() - 1; i >= 0; --i)
        parents[i]->setExpanded(true);
}

void COutliner::Refresh()
{
    // Previews and playback change the scene many times in a row; one rebuild follows them all.
    if (m_rebuildPending)
        return;
    m_rebuildPending = true;
    QTimer::singleShot(0, this, &COutliner::Rebuild);
}

void COutliner::Rebuild()
{
    m_rebuildPending = false;
    const QSignalBlocker blocker(this);
    // The rows come back where the user left them, not at the top.
    const int scrolledTo = verticalScrollBar()->value();
    const UBTime now = m_scene->CurrentTime();
    const QVector<UB::CHandle*> nodes = m_scene->AllNodes();

    DeleteItems();
    m_items.clear();
    m_items.reserve(nodes.size());
    QHash<UB::CHandle*, QVector<UB::CHandle*>> children;
    QVector<UB::CHandle*> roots;
    for (UB::CHandle* node : nodes) {
        UB::CHandle* parent = m_scene->LinkParentAt(node, now);
        if (parent != nullptr && m_scene->Contains(parent))
            children[parent].append(node);
        else
            roots.append(node);
    }

    // Breadth-first with an explicit queue: link chains can be deeper than the stack.
    struct CQueued
    {
        UB::CHandle* node;
        QTreeWidgetItem* parent;
        int depth;
    };
    QVector<CQueued> queue;
    for (UB::CHandle* root : roots)
        queue.append({root, nullptr, 0});
    QVector<QTreeWidgetItem*> toExpand;
    for (int i = 0; i < queue.size(); ++i) {
        UB::CHandle* node = queue[i].node;
        const int depth = queue[i].depth;
        const CNodeDesc& desc = m_scene->Desc(node);
        auto* item = queue[i].parent != nullptr ? new QTreeWidgetItem(queue[i].parent)
                                                : new QTreeWidgetItem(this);
        item->setText(0, desc.name.isEmpty() ? QStringLiteral(" - ") : desc.name);
        item->setToolTip(0, tr("%1: type %2 (%3)")
                                .arg(desc.name)
                                .arg(desc.objectType)
                                .arg(CObjectTypes::TypeName(desc.objectType)));
        item->setIcon(0, IconOf(desc.objectType));
        item->setData(0, kHandleRole, QVariant::fromValue(reinterpret_cast<quintptr>(node)));
        m_items.insert(node, item);
        const QVector<UB::CHandle*> below = children.value(node);
        for (UB::CHandle* child : below)
            queue.append({child, item, depth + 1});
        // A row without children shows no difference expanded; one past the limit stays shut.
        if (!below.isEmpty() && depth < kMaxExpandedDepth && !m_collapsed.contains(node))
            toExpand.append(item);
    }
    m_deepestLevel = queue.isEmpty() ? 0 : queue.last().depth;
    for (QTreeWidgetItem* item : qAsConst(toExpand))
        item->setExpanded(true);
    verticalScrollBar()->setValue(scrolledTo);
    ShowSceneSelection();
}

void COutliner::ShowSceneSelection()
{
    const QSignalBlocker blocker(this);
    clearSelection();
    QTreeWidgetItem* last = nullptr;
    for (UB::CHandle* node : m_scene->Selection()) {
        if (QTreeWidgetItem* item = m_items.value(node, nullptr)) {
            item->setSelected(true);
            last = item;
        }
    }
    // Scrolling to a row expands all its parents, past the depth limit too.
    if (last != nullptr && DepthOf(last) <= kMaxExpandedDepth) {
        setCurrentItem(last, 0, QItemSelectionModel::NoUpdate);
        scrollToItem(last);
    }
}

void COutliner::DeleteItems()
{
    if (m_deepestLevel < kMaxExpandedDepth) {
        clear();
        return;
    }
    const QSignalBlocker blocker(this);
    // Taking the rows out walks the parents of every row the view holds (expanded, hidden,
    // selected); a reset lets go of them all.
    reset();
    QVector<QTreeWidgetItem*> preOrder;
    QList<QTreeWidgetItem*> stack = invisibleRootItem()->takeChildren();
    std::reverse(stack.begin(), stack.end());
    while (!stack.isEmpty()) {
        QTreeWidgetItem* item = stack.takeLast();
        preOrder.append(item);
        for (int row = item->childCount() - 1; row >= 0; --row)
            stack.append(item->child(row));
    }
    // Children go first, each the last of its parent's: nothing recurses or searches.
    for (int i = preOrder.size() - 1; i >= 0; --i) {
        if (QTreeWidgetItem* parent = preOrder[i]->parent())
            parent->takeChild(parent->childCount() - 1);
        delete preOrder[i];
    }
    clear();
    m_deepestLevel = 0;
}

void COutliner::TakeSelectionToScene()
{
    // Objects stay in the order they were selected in: plug-ins treat the first one specially.
    QVector<UB::CHandle*> selection;
    QSet<UB::CHandle*> taken;
    for (UB::CHandle* node : m_scene->Selection()) {
        QTreeWidgetItem* item = m_items.value(node, nullptr);
        if (item != nullptr && item->isSelected()) {
            selection.append(node);
            taken.insert(node);
        }
    }
    for (QTreeWidgetItem* item : selectedItems()) {
        UB::CHandle* node = NodeOf(item);
        if (!taken.contains(node)) {
            selection.append(node);
            taken.insert(node);
        }
    }
    if (selection != m_scene->Selection())
        m_scene->SetSelection(selection);
}

QIcon COutliner::IconOf(int type)
{
    auto it = m_icons.find(type);
    if (it == m_icons.end())
        it = m_icons.insert(type, CObjectTypes::TypeIcon(type));
    return it.value();
}

} // namespace KV
