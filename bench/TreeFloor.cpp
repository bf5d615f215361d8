#include "TreeFloor.h"

#include "KVSceneModel.h"
#include "nodetree/CNodeHandleValue.h"
#include "nodetree/CTreeDepthLimit.h"
#include "nodetree/HostText.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QPointer>
#include <QSignalBlocker>
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
        snapshot.nodes.push_back(node);
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

/// Asks the host what `host` asks about `node` and returns the item's text from its answer.
QString AskHost(const CFloorHost& host, UB::CHandle* node, KV::HandleList& buffer)
{
    KV::CSceneManager& scene = *host.scene;
    buffer.Clear();
    if (host.questions == EHostQuestions::SubNodeListing) {
        int kind = 0;
        int type = 0;
        scene.GetNodeKind(node, kind);
        benchmark::DoNotOptimize(scene.IsLinkableNode(node));
        benchmark::DoNotOptimize(scene.IsSubNodeLinkExcluded(node));
        scene.GetObjectType(node, type);
        scene.GetSubNodes(node, buffer);
    } else {
        scene.GetChildNodes(node, buffer);
    }
    const QString name = KV::FromHostText(scene.GetObjectName(node));
    return name.isEmpty() ? QStringLiteral(" - ") : name;
}

void BuildFloor(QTreeWidget& tree, const CTreeSnapshot& snapshot, bool nested,
                const CFloorHost& host)
{
    KV::CTreeDepthLimit& limit = DepthLimitOf(tree);
    limit.Clear();
    const bool ask = host.scene != nullptr && host.questions != EHostQuestions::None;
    KV::HandleList answers;
    std::vector<QTreeWidgetItem*> items(snapshot.texts.size());
    QTreeWidgetItem topLevel;
    for (std::size_t i = 0; i < items.size(); ++i) {
        auto* item = new QTreeWidgetItem(0);
        // Each item holds a name of its own, made as it is made, as the plug-in's items do:
        // texts shared with the snapshot lie wherever the snapshot's allocations left them,
        // and a search reading them in pre-order then waits on memory the plug-in does not.
        const QString& text = snapshot.texts[i];
        item->setText(0, ask ? AskHost(host, snapshot.nodes[i], answers)
                             : QString(text.constData(), text.size()));
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

void BuildFloorTree(QTreeWidget& tree, const CTreeSnapshot& snapshot, const CFloorHost& host)
{
    BuildFloor(tree, snapshot, true, host);
}

void BuildFloorList(QTreeWidget& tree, const CTreeSnapshot& snapshot, const CFloorHost& host)
{
    BuildFloor(tree, snapshot, false, host);
}

namespace {

/// The bare tree's items and the states the floor last gave them, one entry per item in
/// pre-order: each pass reads them in order, so they lie together.
class CFloorSearch
{
public:
    CFloorSearch(QTreeWidget& tree, const CTreeSnapshot& snapshot, KV::CSceneManager* preview)
        : m_tree(tree)
        , m_preview(preview)
    {
        BuildFloorTree(tree, snapshot);
        m_entries.reserve(snapshot.texts.size());
        std::size_t i = 0;
        for (QTreeWidgetItemIterator it(&tree); *it != nullptr; ++it, ++i) {
            // The text shares the item's own string.
            m_entries.push_back({*it, (*it)->text(0), snapshot.parents[i], false,
                                 (*it)->isExpanded(), false, false});
        }
    }

    void Search(const QString& text)
    {
        // Nobody listens to the bare tree; its signals are blocked as the dialog blocks its own.
        const QSignalBlocker blocker(m_tree);
        const QStringMatcher matcher(text, Qt::CaseInsensitive);
        QTreeWidgetItem* firstHit = nullptr;
        // One pass in pre-order; an item is settled when it is left, after its children, so
        // Qt is told of each change in post-order: the order that costs its model least. The
        // items still open are the ancestors of the one entered, so an item's depth is the
        // number of open items below it.
        const auto leave = [&](CEntry& entry) {
            const bool shown = entry.hit || entry.childShown;
            if (shown && entry.parent >= 0)
                m_entries[std::size_t(entry.parent)].childShown = true;
            if (entry.hidden == shown) {
                entry.hidden = !shown;
                entry.item->setHidden(!shown);
            }
            const auto depth = static_cast<int>(m_open.size()) - 1;
            if (!text.isEmpty() && entry.childShown && !entry.expanded &&
                depth < KV::CTreeDepthLimit::kMaxExpandedDepth) {
                entry.expanded = true;
                m_toExpand.push_back(entry.item);
            }
        };
        for (std::size_t i = 0; i < m_entries.size(); ++i) {
            CEntry& entry = m_entries[i];
            while (!m_open.empty() && static_cast<int>(m_open.back()) != entry.parent) {
                leave(m_entries[m_open.back()]);
                m_open.pop_back();
            }
            entry.hit = text.isEmpty() || matcher.indexIn(entry.text) >= 0;
            if (entry.hit && firstHit == nullptr)
                firstHit = entry.item;
            entry.childShown = false;
            m_open.push_back(i);
        }
        while (!m_open.empty()) {
            leave(m_entries[m_open.back()]);
            m_open.pop_back();
        }
        if (firstHit != m_selected) {
            if (m_selected != nullptr)
                m_selected->setSelected(false);
            if (firstHit != nullptr)
                firstHit->setSelected(true);
            m_selected = firstHit;
        }
        // Expanding last finds the view's layout already pending from the changes above; an
        // expansion before them would lay out the rows below it at once.
        for (QTreeWidgetItem* item : m_toExpand)
            item->setExpanded(true);
        m_toExpand.clear();
        // Selecting the first hit runs the preview even when it was selected already: the
        // search deselects it first.
        if (m_preview != nullptr && firstHit != nullptr) {
            m_chosen = KV::CNodeHandleValue::FromVariant(firstHit->data(0, Qt::UserRole));
            m_preview->GetSelectedObjects(m_selection, true);
            benchmark::DoNotOptimize(m_chosen);
            benchmark::DoNotOptimize(m_selection.IsEmpty());
        }
    }

private:
    struct CEntry
    {
        QTreeWidgetItem* item;
        QString text;
        int parent; // position of the parent, -1 for the root
        bool hidden;
        bool expanded;
        bool hit;
        bool childShown;
    };

    QTreeWidget& m_tree;
    std::vector<CEntry> m_entries;
    std::vector<std::size_t> m_open; // the items entered and not yet left
    std::vector<QTreeWidgetItem*> m_toExpand;
    QTreeWidgetItem* m_selected = nullptr;
    KV::CSceneManager* m_preview;
    UB::CHandle* m_chosen = nullptr;
    KV::HandleList m_selection;
};

} // namespace

void TimeFloorKeystroke(benchmark::State& state, QTreeWidget& tree, const CTreeSnapshot& snapshot,
                        const QString& before, const QString& after, bool painted,
                        KV::CSceneManager* preview)
{
    CFloorSearch search(tree, snapshot, preview);
    if (painted) {
        tree.window()->show();
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
        tree.window()->hide();
}

void PaintNow(QAbstractItemView& view)
{
    view.viewport()->repaint();
    QCoreApplication::processEvents();
}
