#include "TreeFloor.h"

#include "KVSceneModel.h"
#include "nodetree/CNodeHandleValue.h"
#include "nodetree/CTreeDepthLimit.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QPointer>
#include <QStringMatcher>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <algorithm>
#include <unordered_map>
#include <utility>

CTreeSnapshot TakeSnapshot(KV::CSceneModel& scene, UB::CHandle* root)
{
    CTreeSnapshot snapshot;
    std::vector<std::pair<UB::CHandle*, int>> stack{{root, -1}};
    while (!stack.empty()) {
        const auto [node, parent] = stack.back();
        stack.pop_back();
        const int index = static_cast<int>(snapshot.texts.size());
        const QString name = scene.Name(node);
        snapshot.texts.push_back(name.isEmpty() ? QStringLiteral(" - ") : name);
        snapshot.data.push_back(KV::CNodeHandleValue::ToVariant(node));
        snapshot.parents.push_back(parent);
        snapshot.depths.push_back(parent < 0 ? 0 : snapshot.depths[std::size_t(parent)] + 1);
        snapshot.deepest = std::max(snapshot.deepest, snapshot.depths.back());
        const QVector<UB::CHandle*> children = scene.StructuralChildren(node);
        snapshot.hasChildren.push_back(!children.isEmpty());
        for (int i = children.size() - 1; i >= 0; --i)
            stack.emplace_back(children[i], index);
    }
    return snapshot;
}

namespace {

// Top-level items are gathered under a detached holder first: an item added as a child
// records its row, one inserted at the top level directly does not, and looking up rows
// that were not recorded is quadratic in a flat list.
/// The depth guard of each bare tree: Qt's own clear deletes a deep chain by recursion.
KV::CTreeDepthLimit& DepthLimitOf(QTreeWidget& tree)
{
    // A guard goes with its tree; a new tree may come at the same address.
    // Kept to the end: fixtures that clear their trees on the way out outlive function statics.
    static auto* limits = new std::unordered_map<QTreeWidget*, QPointer<KV::CTreeDepthLimit>>;
    QPointer<KV::CTreeDepthLimit>& limit = (*limits)[&tree];
    if (limit == nullptr)
        limit = new KV::CTreeDepthLimit(&tree);
    return *limit;
}

void BuildFloor(QTreeWidget& tree, const CTreeSnapshot& snapshot, bool nested)
{
    KV::CTreeDepthLimit& limit = DepthLimitOf(tree);
    limit.Clear();
    std::vector<QTreeWidgetItem*> items(snapshot.texts.size());
    QTreeWidgetItem topLevel;
    for (std::size_t i = 0; i < items.size(); ++i) {
        auto* item = new QTreeWidgetItem(0);
        item->setText(0, snapshot.texts[i]);
        item->setData(0, Qt::UserRole, snapshot.data[i]);
        if (!nested || snapshot.parents[i] < 0)
            topLevel.addChild(item);
        else
            items[static_cast<std::size_t>(snapshot.parents[i])]->addChild(item);
        items[i] = item;
    }
    tree.addTopLevelItems(topLevel.takeChildren());
    limit.SetDeepestLevel(nested ? snapshot.deepest : 0);
    if (!nested)
        return;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (snapshot.hasChildren[i] && snapshot.depths[i] < KV::CTreeDepthLimit::kMaxExpandedDepth)
            items[i]->setExpanded(true);
    }
}

} // namespace

void ExpandFloor(QTreeWidget& tree)
{
    DepthLimitOf(tree).ExpandAll();
}

void ClearFloor(QTreeWidget& tree)
{
    DepthLimitOf(tree).Clear();
}

void BuildFloorTree(QTreeWidget& tree, const CTreeSnapshot& snapshot)
{
    BuildFloor(tree, snapshot, true);
}

void BuildFloorList(QTreeWidget& tree, const CTreeSnapshot& snapshot)
{
    BuildFloor(tree, snapshot, false);
}

namespace {

/// The bare tree's items and the states the floor last gave them.
class CFloorSearch
{
public:
    CFloorSearch(QTreeWidget& tree, const CTreeSnapshot& snapshot)
        : m_snapshot(snapshot)
        , m_hidden(snapshot.texts.size(), false)
        , m_shown(snapshot.texts.size())
        , m_childShown(snapshot.texts.size())
    {
        BuildFloorTree(tree, snapshot);
        for (QTreeWidgetItemIterator it(&tree); *it != nullptr; ++it) {
            m_items.push_back(*it);
            m_expanded.push_back((*it)->isExpanded());
        }
    }

    void Search(const QString& text)
    {
        const QStringMatcher matcher(text, Qt::CaseInsensitive);
        const std::size_t count = m_items.size();
        std::fill(m_childShown.begin(), m_childShown.end(), false);
        QTreeWidgetItem* firstHit = nullptr;
        for (std::size_t i = 0; i < count; ++i) {
            m_shown[i] = text.isEmpty() || matcher.indexIn(m_snapshot.texts[i]) >= 0;
            if (m_shown[i] && firstHit == nullptr)
                firstHit = m_items[i];
        }
        // Children come after their parent in pre-order, so a backward pass sees every child
        // of an item before the item.
        for (std::size_t i = count; i-- > 0;) {
            const int parent = m_snapshot.parents[i];
            if (m_childShown[i])
                m_shown[i] = true;
            if (m_shown[i] && parent >= 0)
                m_childShown[std::size_t(parent)] = true;
        }
        for (std::size_t i = 0; i < count; ++i) {
            if (m_hidden[i] == m_shown[i]) {
                m_hidden[i] = !m_shown[i];
                m_items[i]->setHidden(m_hidden[i]);
            }
            if (!text.isEmpty() && m_childShown[i] && !m_expanded[i] &&
                m_snapshot.depths[i] < KV::CTreeDepthLimit::kMaxExpandedDepth) {
                m_expanded[i] = true;
                m_items[i]->setExpanded(true);
            }
        }
        if (firstHit != m_selected) {
            if (m_selected != nullptr)
                m_selected->setSelected(false);
            if (firstHit != nullptr)
                firstHit->setSelected(true);
            m_selected = firstHit;
        }
    }

private:
    const CTreeSnapshot& m_snapshot;
    std::vector<QTreeWidgetItem*> m_items;
    std::vector<bool> m_hidden;
    std::vector<bool> m_expanded;
    std::vector<bool> m_shown;
    std::vector<bool> m_childShown;
    QTreeWidgetItem* m_selected = nullptr;
};

} // namespace

void TimeFloorKeystroke(benchmark::State& state, QTreeWidget& tree, const CTreeSnapshot& snapshot,
                        const QString& before, const QString& after, bool painted)
{
    CFloorSearch search(tree, snapshot);
    if (painted) {
        tree.show();
        PaintNow(tree);
    }
    for (auto _ : state) {
        state.PauseTiming();
        search.Search(before);
        if (painted)
            PaintNow(tree);
        state.ResumeTiming();
        search.Search(after);
        if (painted)
            PaintNow(tree);
    }
    if (painted)
        tree.hide();
}

void PaintNow(QAbstractItemView& view)
{
    view.viewport()->repaint();
    QCoreApplication::processEvents();
}
