#pragma once

#include "CNodeListing.h"

#include <QHash>
#include <QList>
#include <QStringList>

class QTreeWidget;
class QTreeWidgetItem;

namespace UB {
class CHandle;
}

namespace KV {

class CHostQueries;
class CSubNodeDialogUser;

/// What the link-to-sub-node dialog must show, worked out from the listing, search and view
/// rules as the user works it: the tree's items with their hidden, expanded and selected
/// states, the view and the expand choice, the chosen alignment and a pending keypad Enter.
/// The dialog is made once and kept, so the view, the expand choice and a pending Enter carry
/// over from one opening to the next.
class CSubNodeDialogModel
{
public:
    explicit CSubNodeDialogModel(CHostQueries& queries);

    bool HierarchyView() const { return m_hierarchyView; }
    bool ExpandRoot() const { return m_expandRoot; }
    bool EnterPending() const { return m_enterPending; }
    /// Keypad Enter after a search only clears the pending Enter: whether one was pending.
    bool TakePendingEnter();

    /// The dialog opened on the tree of `owner` (`ownerName` in reports) with `parent` as the
    /// current node. The tree must hold the listing; its items' states are followed from here.
    void Open(const QTreeWidget* tree, UB::CHandle* owner, const QString& ownerName,
              UB::CHandle* parent, QStringList* problems);
    void Close() { m_open = false; }

    // What the user did.
    void ItemClicked(const QTreeWidget* tree, QTreeWidgetItem* item);
    void AlignmentChosen(int mode) { m_alignment = mode; }
    void SearchChanged(const QTreeWidget* tree, const QString& text);
    /// The hierarchy or the list view was chosen while `selected` nodes were selected: the
    /// tree must hold the listing again, with the last of them selected.
    void ViewChosen(const QTreeWidget* tree, bool hierarchy, const QList<UB::CHandle*>& selected,
                    QStringList* problems);
    void ExpandChosen(bool expand);

    /// One line per state of the real dialog that differs from the expected one.
    void Compare(const CSubNodeDialogUser& user, QStringList* problems) const;

private:
    /// What the rules say of one tree item.
    struct CItemState
    {
        bool expanded = true;
        /// False where the rules allow either state.
        bool expandedKnown = true;
        bool hidden = false;
        bool selected = false;
    };

    /// The items a rebuild for `root` must make. When the tree holds them, their states are
    /// followed from the returned list on; otherwise each difference is reported.
    QVector<CNodeListing::CItem> ReadRebuild(const QTreeWidget* tree, UB::CHandle* root,
                                             const QString& what, QStringList* problems);
    void CompareTree(const QTreeWidget* tree, QStringList* problems) const;

    CNodeListing m_listing;
    bool m_hierarchyView = true;
    bool m_expandRoot = true;
    UB::CHandle* m_rootNode = nullptr;
    bool m_enterPending = false;

    bool m_open = false;
    /// Whether the tree's items were found as the rules make them, so that their states can be
    /// followed.
    bool m_treeKnown = false;
    QHash<QTreeWidgetItem*, CItemState> m_items;
    int m_alignment = 0;
};

} // namespace KV
