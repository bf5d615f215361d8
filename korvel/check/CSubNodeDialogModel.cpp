#include "CSubNodeDialogModel.h"

#include "CSubNodeDialogUser.h"

#include <QRadioButton>
#include <QTreeWidget>

namespace KV {

namespace {

QList<QTreeWidgetItem*> Ancestors(QTreeWidgetItem* item)
{
    QList<QTreeWidgetItem*> ancestors;
    for (QTreeWidgetItem* parent = item->parent(); parent != nullptr; parent = parent->parent())
        ancestors.append(parent);
    return ancestors;
}

} // namespace

CSubNodeDialogModel::CSubNodeDialogModel(CHostQueries& queries)
    : m_listing(queries)
{}

bool CSubNodeDialogModel::TakePendingEnter()
{
    const bool pending = m_enterPending;
    m_enterPending = false;
    return pending;
}

QVector<CNodeListing::CItem> CSubNodeDialogModel::ReadRebuild(const QTreeWidget* tree,
                                                              UB::CHandle* root,
                                                              const QString& what,
                                                              QStringList* problems)
{
    const QVector<CNodeListing::CItem> expected = m_listing.Build(root, m_hierarchyView);
    QStringList readProblems;
    const QVector<CNodeListing::CItem> actual = CNodeListing::Read(tree, &readProblems);
    const QStringList differences = CNodeListing::Compare(expected, actual);
    *problems += readProblems;
    for (const QString& difference : differences)
        problems->append(QStringLiteral("%1: %2").arg(what, difference));
    m_items.clear();
    m_treeKnown = differences.isEmpty();
    return expected;
}

// ---- What the user did -------------------------------------------------------------------------

void CSubNodeDialogModel::Open(const QTreeWidget* tree, UB::CHandle* owner,
                               const QString& ownerName, UB::CHandle* parent, QStringList* problems)
{
    m_open = true;
    m_alignment = 0;
    if (owner != nullptr)
        m_rootNode = owner;
    const QVector<CNodeListing::CItem> expected =
        ReadRebuild(tree, owner, QStringLiteral("tree of %1").arg(ownerName), problems);
    if (!m_treeKnown)
        return;
    const QList<QTreeWidgetItem*> items = CNodeListing::ItemsInOrder(tree);
    QTreeWidgetItem* current = nullptr;
    for (int i = 0; i < items.size(); ++i) {
        CItemState state;
        state.expanded = i == 0 && owner != nullptr ? m_expandRoot : true;
        if (current == nullptr && expected.at(i).hasHandle && expected.at(i).handle == parent) {
            state.selected = true;
            current = items.at(i);
        }
        m_items.insert(items.at(i), state);
    }
    // The parent's item becomes the current item, and a tree view that scrolls to its current
    // item opens the item's ancestors to show it.
    if (current != nullptr && tree->hasAutoScroll()) {
        for (QTreeWidgetItem* ancestor : Ancestors(current))
            m_items[ancestor].expanded = true;
    }
    CompareTree(tree, problems);
}

void CSubNodeDialogModel::ItemClicked(const QTreeWidget* tree, QTreeWidgetItem* item)
{
    if (!m_treeKnown || tree->selectionMode() == QAbstractItemView::NoSelection)
        return;
    if (tree->selectionMode() == QAbstractItemView::MultiSelection) {
        m_items[item].selected = !m_items[item].selected;
        return;
    }
    for (CItemState& state : m_items)
        state.selected = false;
    m_items[item].selected = true;
}

void CSubNodeDialogModel::SearchChanged(const QTreeWidget* tree, const QString& text)
{
    m_enterPending = true;
    if (!m_open || !m_treeKnown)
        return;
    QList<QTreeWidgetItem*> matches;
    for (QTreeWidgetItem* item : CNodeListing::ItemsInOrder(tree)) {
        CItemState& state = m_items[item];
        state.hidden = true;
        state.selected = false;
        if (text.isEmpty() || item->text(0).contains(text, Qt::CaseInsensitive))
            matches.append(item);
    }
    for (QTreeWidgetItem* match : qAsConst(matches)) {
        m_items[match].hidden = false;
        for (QTreeWidgetItem* ancestor : Ancestors(match)) {
            if (!text.isEmpty()) {
                m_items[ancestor].expanded = true;
                m_items[ancestor].expandedKnown = true;
            }
            m_items[ancestor].hidden = false;
        }
    }
    if (!matches.isEmpty())
        m_items[matches.constFirst()].selected = true;
}

void CSubNodeDialogModel::ViewChosen(const QTreeWidget* tree, bool hierarchy,
                                     const QList<UB::CHandle*>& selected, QStringList* problems)
{
    m_hierarchyView = hierarchy;
    const QVector<CNodeListing::CItem> expected =
        ReadRebuild(tree, m_rootNode, QStringLiteral("rebuilt tree"), problems);
    if (!m_treeKnown)
        return;
    const QList<QTreeWidgetItem*> items = CNodeListing::ItemsInOrder(tree);
    for (int i = 0; i < items.size(); ++i) {
        CItemState state;
        state.expanded = i == 0 && m_rootNode != nullptr ? m_expandRoot : true;
        state.selected = !selected.isEmpty() && expected.at(i).handle == selected.last();
        m_items.insert(items.at(i), state);
    }
}

void CSubNodeDialogModel::ExpandChosen(bool expand)
{
    m_expandRoot = expand;
    // Qt's expand-all leaves hidden items, and everything below them, as they were, while
    // collapse-all closes every item; the rule says only "all items", so either is right for
    // the items a search hides.
    for (auto it = m_items.begin(); it != m_items.end(); ++it) {
        bool hidden = it.key()->isHidden();
        for (QTreeWidgetItem* ancestor : Ancestors(it.key()))
            hidden = hidden || ancestor->isHidden();
        it->expanded = m_expandRoot;
        it->expandedKnown = !m_expandRoot || !hidden;
    }
}

// ---- Comparing ---------------------------------------------------------------------------------

void CSubNodeDialogModel::Compare(const CSubNodeDialogUser& user, QStringList* problems) const
{
    CompareTree(user.Tree(), problems);
    const QRadioButton* chosen = user.Alignment(m_alignment);
    if (chosen != nullptr && !chosen->isChecked())
        problems->append(QStringLiteral("%1 is no longer checked").arg(chosen->objectName()));
}

void CSubNodeDialogModel::CompareTree(const QTreeWidget* tree, QStringList* problems) const
{
    if (!m_treeKnown || tree == nullptr)
        return;
    int reported = 0;
    for (QTreeWidgetItem* item : CNodeListing::ItemsInOrder(tree)) {
        const auto found = m_items.constFind(item);
        if (found == m_items.constEnd()) {
            problems->append(QStringLiteral("the tree holds an item \"%1\" that no rebuild made")
                                 .arg(item->text(0)));
            return;
        }
        const CItemState& want = found.value();
        QStringList wrong;
        if (item->isHidden() != want.hidden)
            wrong.append(want.hidden ? QStringLiteral("shown, should be hidden")
                                     : QStringLiteral("hidden, should be shown"));
        if (item->isSelected() != want.selected)
            wrong.append(want.selected ? QStringLiteral("not selected, should be selected")
                                       : QStringLiteral("selected, should not be"));
        if (item->childCount() > 0 && want.expandedKnown && item->isExpanded() != want.expanded)
            wrong.append(want.expanded ? QStringLiteral("collapsed, should be expanded")
                                       : QStringLiteral("expanded, should be collapsed"));
        if (!wrong.isEmpty() && reported++ < 3)
            problems->append(QStringLiteral("tree item \"%1\" is %2")
                                 .arg(item->text(0), wrong.join(QStringLiteral(", "))));
    }
}

} // namespace KV
