// A chain deeper than Qt can lay out expanded (about 26,000 levels) or delete by recursion
// (about 65,000): the tool keeps the levels past its depth limit collapsed and deletes items
// bottom-up, so nothing a user does exhausts the stack.

#include "SceneSketch.h"
#include "TestNodeDialog.h"

#include "nodetree/CTreeDepthLimit.h"

#include <QTest>

namespace {

constexpr int kDepth = 100000;
constexpr int kLimit = KV::CTreeDepthLimit::kMaxExpandedDepth;

TEST_F(NodeDialogFixture, ChainOfAHundredThousandLevelsOpensSearchesExpandsAndCloses)
{
    UB::CHandle* root = AddChain(scene, kDepth, QStringLiteral("link"));
    dialog.resize(300, 400);
    dialog.show();
    dialog.BuildTree(root, false);
    dialog.SelectNode(Node("link_99999"));
    tree->viewport()->repaint();
    QList<QTreeWidgetItem*> items;
    dialog.GetAllItems(items);
    ASSERT_EQ(items.size(), kDepth);
    EXPECT_TRUE(items[kLimit - 1]->isExpanded());
    EXPECT_FALSE(items[kLimit]->isExpanded());
    EXPECT_EQ(tree->selectedItems(), QList<QTreeWidgetItem*>{items.last()});

    // The deepest hit is shown; its ancestors open down to the limit only.
    tree->collapseAll();
    dialog.ApplySearch(QStringLiteral("link_99999"));
    tree->viewport()->repaint();
    EXPECT_FALSE(items.last()->isHidden());
    EXPECT_TRUE(items[kLimit - 1]->isExpanded());
    EXPECT_FALSE(items[kLimit]->isExpanded());

    // Neither Expand nor '*' goes past the limit; a hand opens one level at a time.
    tree->collapseAll();
    dialog.ExpandAll();
    tree->setCurrentItem(items[kLimit - 5]);
    QTest::keyClick(tree, Qt::Key_Asterisk);
    tree->viewport()->repaint();
    EXPECT_TRUE(items[kLimit - 1]->isExpanded());
    EXPECT_FALSE(items[kLimit]->isExpanded());
    items[kLimit]->setExpanded(true);
    tree->viewport()->repaint();
    EXPECT_FALSE(items[kLimit + 1]->isExpanded());

    // Rebuilding deletes the old items; closing the dialog deletes the new ones.
    dialog.BuildTree(root, false);
    tree->viewport()->repaint();
}

} // namespace
