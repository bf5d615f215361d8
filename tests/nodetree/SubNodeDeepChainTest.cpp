// The link-to-sub-node dialog on chains far deeper than Qt can lay out expanded: everything
// an animator does with it works, and levels past the depth limit stay collapsed.

#include "SceneSketch.h"
#include "SubNodeDialogTest.h"

#include "nodetree/CTreeDepthLimit.h"

#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace {

class SubNodeDeepChain : public SubNodeDialogTest
{
protected:
    /// The tree's items in pre-order, after the dialog was laid out and painted.
    QList<QTreeWidgetItem*> PaintedItems()
    {
        Tree()->viewport()->repaint();
        QList<QTreeWidgetItem*> items;
        for (QTreeWidgetItemIterator it(Tree()); *it != nullptr; ++it)
            items << *it;
        return items;
    }
};

TEST_F(SubNodeDeepChain, OpensSearchesSwitchesViewsAndClosesWithoutOpeningPastTheLimit)
{
    constexpr int kDepth = 100000;
    constexpr int kLimit = KV::CTreeDepthLimit::kMaxExpandedDepth;
    scene->SetJournalEnabled(false); // nothing here reads it, and it would hold every call
    AddChain(*scene, kDepth, QStringLiteral("link"));
    AddSelectedObject(QStringLiteral("Cup"), Node("link_99999"), Place(1, 2, 3));
    const int result = RunDialog([&] {
        QList<QTreeWidgetItem*> items = PaintedItems();
        ASSERT_EQ(items.size(), kDepth);
        EXPECT_TRUE(items[kLimit - 1]->isExpanded());
        EXPECT_FALSE(items[kLimit]->isExpanded());
        EXPECT_EQ(SelectedTexts(), QStringList{QStringLiteral("link_99999")});

        // Hits down to link_19999: the 80,000 levels below are hidden, which a rebuild must
        // not have to walk level by level.
        TypeInSearch(QStringLiteral("link_1"));
        items = PaintedItems();
        EXPECT_FALSE(items[19999]->isHidden());
        EXPECT_TRUE(items[20000]->isHidden());
        EXPECT_FALSE(items[kLimit]->isExpanded());

        ChooseView("qtListAction");
        EXPECT_EQ(Tree()->topLevelItemCount(), kDepth);
        ChooseView("qtHierarchyAction");
        ChooseView("qtCollapseAction");
        ChooseView("qtExpandAction");
        items = PaintedItems();
        EXPECT_TRUE(items[kLimit - 1]->isExpanded());
        EXPECT_FALSE(items[kLimit]->isExpanded());
    });
    EXPECT_EQ(result, QDialog::Rejected);
}

} // namespace
