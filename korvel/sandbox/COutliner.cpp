#include "COutliner.h"

#include "CObjectTypes.h"
#include "KVSceneModel.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTimer>

namespace KV {

namespace {

constexpr int kHandleRole = Qt::UserRole;

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

    clear();
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
    QVector<std::pair<UB::CHandle*, QTreeWidgetItem*>> queue;
    for (UB::CHandle* root : roots)
        queue.append({root, nullptr});
    for (int i = 0; i < queue.size(); ++i) {
        UB::CHandle* node = queue[i].first;
        const CNodeDesc& desc = m_scene->Desc(node);
        auto* item = queue[i].second != nullptr ? new QTreeWidgetItem(queue[i].second)
                                                : new QTreeWidgetItem(this);
        item->setText(0, desc.name.isEmpty() ? QStringLiteral(" - ") : desc.name);
        item->setToolTip(0, tr("%1: type %2 (%3)")
                                .arg(desc.name)
                                .arg(desc.objectType)
                                .arg(CObjectTypes::TypeName(desc.objectType)));
        item->setIcon(0, IconOf(desc.objectType));
        item->setData(0, kHandleRole, QVariant::fromValue(reinterpret_cast<quintptr>(node)));
        m_items.insert(node, item);
        for (UB::CHandle* child : children.value(node))
            queue.append({child, item});
    }
    for (auto it = m_items.cbegin(); it != m_items.cend(); ++it)
        it.value()->setExpanded(!m_collapsed.contains(it.key()));
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
    if (last != nullptr) {
        setCurrentItem(last, 0, QItemSelectionModel::NoUpdate);
        scrollToItem(last);
    }
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
