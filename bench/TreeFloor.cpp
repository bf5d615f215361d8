#include "TreeFloor.h"

#include "KVSceneModel.h"
#include "nodetree/CNodeHandleValue.h"

#include <benchmark/benchmark.h>

#include <QItemSelectionModel>
#include <QStringMatcher>
#include <QTreeWidget>

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
        const QVector<UB::CHandle*> children = scene.StructuralChildren(node);
        for (int i = children.size() - 1; i >= 0; --i)
            stack.emplace_back(children[i], index);
    }
    return snapshot;
}

namespace {

// Top-level items are gathered under a detached holder first: an item added as a child
// records its row, one inserted at the top level directly does not, and looking up rows
// that were not recorded is quadratic in a flat list.
void BuildFloor(QTreeWidget& tree, const CTreeSnapshot& snapshot, bool nested)
{
    tree.clear();
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
    for (QTreeWidgetItem* item : items)
        item->setExpanded(true);
}

} // namespace

void BuildFloorTree(QTreeWidget& tree, const CTreeSnapshot& snapshot)
{
    BuildFloor(tree, snapshot, true);
}

void BuildFloorList(QTreeWidget& tree, const CTreeSnapshot& snapshot)
{
    BuildFloor(tree, snapshot, false);
}

void SearchFloorTree(QTreeWidget& tree, const QString& text)
{
    const QStringMatcher matcher(text, Qt::CaseInsensitive);
    QTreeWidgetItem* firstHit = nullptr;
    // Depth-first with an exit step per item: an item is shown when it matches or when a
    // child is shown, which is known once its children are done.
    struct Frame
    {
        QTreeWidgetItem* item;
        int nextChild;
        bool match;
        bool childShown;
    };
    std::vector<Frame> stack;
    auto enter = [&](QTreeWidgetItem* item) {
        const bool match = text.isEmpty() || matcher.indexIn(item->text(0)) >= 0;
        if (match && firstHit == nullptr)
            firstHit = item;
        stack.push_back({item, 0, match, false});
    };
    for (int row = 0; row < tree.topLevelItemCount(); ++row) {
        enter(tree.topLevelItem(row));
        while (!stack.empty()) {
            Frame& frame = stack.back();
            if (frame.nextChild < frame.item->childCount()) {
                enter(frame.item->child(frame.nextChild++));
                continue;
            }
            const Frame done = frame;
            stack.pop_back();
            const bool shown = done.match || done.childShown;
            if (done.item->isHidden() == shown)
                done.item->setHidden(!shown);
            if (!text.isEmpty() && done.childShown && !done.item->isExpanded())
                done.item->setExpanded(true);
            if (shown && !stack.empty())
                stack.back().childShown = true;
        }
    }

    const bool onlyFirstSelected = firstHit != nullptr && firstHit->isSelected() &&
                                   tree.selectionModel()->selectedIndexes().size() == 1;
    if (!onlyFirstSelected) {
        tree.clearSelection();
        if (firstHit != nullptr)
            firstHit->setSelected(true);
    }
}

void TimeFloorKeystroke(benchmark::State& state, QTreeWidget& tree, const CTreeSnapshot& snapshot,
                        const QString& before, const QString& after)
{
    BuildFloorTree(tree, snapshot);
    for (auto _ : state) {
        state.PauseTiming();
        SearchFloorTree(tree, before);
        state.ResumeTiming();
        SearchFloorTree(tree, after);
    }
}
