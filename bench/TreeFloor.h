#pragma once

#include <QString>
#include <QVariant>

#include <vector>

class QAbstractItemView;
class QTreeWidget;

namespace benchmark {
class State;
}

namespace KV {
class CSceneManager;
class CSceneModel;
} // namespace KV
namespace UB {
class CHandle;
}

/// A node structure read from the scene ahead of time, in pre-order: what a floor needs to
/// fill a tree without asking the host.
struct CTreeSnapshot
{
    std::vector<UB::CHandle*> nodes;
    std::vector<QString> texts;
    std::vector<QVariant> data;
    std::vector<int> parents; // index of the parent, -1 for the root
    std::vector<int> depths;  // 0 for the root
    std::vector<bool> hasChildren;
    int deepest = 0;
};

CTreeSnapshot TakeSnapshot(KV::CSceneModel& scene, UB::CHandle* root);

/// The questions a floor asks the host about each node while it builds its items: none (the
/// items copy the snapshot's texts), the node tree's (children, name) or the sub-node
/// listing's (kind, linkable, excluded, type, sub-nodes, name). A tree of the scene cannot be
/// shown without them; each is asked once, and the item's text is made from the host's name.
enum class EHostQuestions
{
    None,
    NodeTree,
    SubNodeListing,
};

struct CFloorHost
{
    KV::CSceneManager* scene = nullptr;
    EHostQuestions questions = EHostQuestions::None;
};

/// The least work Qt and the host need to show the same tree: the host's questions, the items
/// made with their texts and data off the view, inserted in one step, then the parents above
/// the tool's depth limit expanded; expanding a leaf changes nothing on screen.
void BuildFloorTree(QTreeWidget& tree, const CTreeSnapshot& snapshot, const CFloorHost& host = {});

/// The same for a list view: every item at the top level, in the same order.
void BuildFloorList(QTreeWidget& tree, const CTreeSnapshot& snapshot, const CFloorHost& host = {});

/// Qt's expandAll on a bare tree, down to the tool's depth limit.
void ExpandFloor(QTreeWidget& tree);

/// Empties a bare tree; a deep one without Qt's recursive deletion.
void ClearFloor(QTreeWidget& tree);

/// Times the floor of one search keystroke on the bare tree of `snapshot`: each iteration
/// searches for `before` untimed, then for `after` timed, painted when `painted` (the tree is
/// then shown). The floor's search is one pass over the snapshot with one matcher that changes
/// only the hidden, expanded and selected states that differ from the ones it set before: it
/// remembers them rather than asking Qt. With `preview`, a keystroke that finds anything also
/// does what a dialog's preview cannot leave out: it records the first hit's node and asks the
/// host for the selected objects.
void TimeFloorKeystroke(benchmark::State& state, QTreeWidget& tree, const CTreeSnapshot& snapshot,
                        const QString& before, const QString& after, bool painted = false,
                        KV::CSceneManager* preview = nullptr);

/// Lays out and paints the window of `view` now, as the user's wait ends: the view's pending
/// layout and every dirty widget of the window, then the events that follow.
void PaintNow(QAbstractItemView& view);
