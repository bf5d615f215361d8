// The rows the view shows, read from the view itself: expanding only items with children must
// show exactly what expanding every item would.

#include "SceneSketch.h"
#include "TestNodeDialog.h"

namespace {

/// The texts of the rows a user can scroll through, top to bottom.
QStringList ShownRows(QTreeWidget* tree)
{
    QStringList rows;
    for (QTreeWidgetItem* item = tree->topLevelItem(0); item != nullptr;
         item = tree->itemBelow(item))
        rows << item->text(0);
    return rows;
}

TEST_F(NodeDialogFixture, ShowsParentsOpenTheRootFoldedAfterCollapseAndTheAncestorsOfHits)
{
    UB::CHandle* rig = AddSketch(scene, "Rig\n  Hips\n    Spine\n      Chest\n  Leg\n  Tail");
    dialog.show();
    dialog.BuildTree(rig, false);
    EXPECT_EQ(ShownRows(tree), (QStringList{"Rig", "Hips", "Spine", "Chest", "Leg", "Tail"}));

    dialog.m_expandRoot = false;
    dialog.BuildTree(rig, false);
    EXPECT_EQ(ShownRows(tree), QStringList{"Rig"});

    tree->collapseAll();
    dialog.ApplySearch(QStringLiteral("chest"));
    EXPECT_EQ(ShownRows(tree), (QStringList{"Rig", "Hips", "Spine", "Chest"}));
    dialog.ApplySearch(QString());
    EXPECT_EQ(ShownRows(tree), (QStringList{"Rig", "Hips", "Spine", "Chest", "Leg", "Tail"}));
}

} // namespace
