#pragma once

#include <QString>
#include <QVariant>

#include <vector>

class QTreeWidget;

namespace benchmark {
class State;
}

namespace KV {
class CSceneModel;
}
namespace UB {
class CHandle;
}

/// A node structure read from the scene ahead of time, in pre-order: what a floor needs to
/// fill a tree without asking the host.
struct CTreeSnapshot
{
    std::vector<QString> texts;
    std::vector<QVariant> data;
    std::vector<int> parents; // index of the parent, -1 for the root
};

CTreeSnapshot TakeSnapshot(KV::CSceneModel& scene, UB::CHandle* root);

/// The least work Qt needs to show the same tree: the items are made with their texts and
/// data off the view, inserted in one step, then expanded.
void BuildFloorTree(QTreeWidget& tree, const CTreeSnapshot& snapshot);

/// The same for a list view: every item at the top level, in the same order.
void BuildFloorList(QTreeWidget& tree, const CTreeSnapshot& snapshot);

/// The least work Qt needs for the same search result: one pre-order pass with one matcher
/// that shows the hits and their ancestors, hides the rest, expands the hits' ancestors and
/// selects the first hit, changing only the states that differ.
void SearchFloorTree(QTreeWidget& tree, const QString& text);

/// Times the floor of one search keystroke on the bare tree of `snapshot`: each iteration
/// searches for `before` untimed, then for `after` timed.
void TimeFloorKeystroke(benchmark::State& state, QTreeWidget& tree, const CTreeSnapshot& snapshot,
                        const QString& before, const QString& after);
