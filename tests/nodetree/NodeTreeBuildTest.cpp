#include "NodeDialogFixture.h"
#include "SceneSketch.h"

#include "KVSceneModel.h"
#include "nodetree/CNodeHandleValue.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTreeWidget>

namespace {

using NodeTreeBuildTest = NodeDialogFixture;

const char* const kRig = R"(
Rig
  Hips
    Spine
      Chest
    <empty>
  Leg_L
)";

} // namespace

TEST_F(NodeTreeBuildTest, ListsEveryNodeNestedUnderItsParentExpandedWithItsHandle)
{
    UB::CHandle* rig = AddSketch(scene, kRig);

    dialog.BuildTree(rig, false);

    EXPECT_EQ(DrawTree(tree), QStringLiteral("Rig\n"
                                             "  Hips\n"
                                             "    Spine\n"
                                             "      Chest\n"
                                             "     - \n"
                                             "  Leg_L"));
    QList<QTreeWidgetItem*> items;
    dialog.GetAllItems(items);
    ASSERT_EQ(items.size(), 6);
    const QVector<UB::CHandle*> nodes{rig,
                                      Node("Hips"),
                                      Node("Spine"),
                                      Node("Chest"),
                                      scene.StructuralChildren(Node("Hips")).at(1),
                                      Node("Leg_L")};
    for (int i = 0; i < items.size(); ++i) {
        SCOPED_TRACE(items[i]->text(0).toStdString());
        EXPECT_EQ(items[i]->type(), 0);
        EXPECT_EQ(items[i]->columnCount(), 1);
        EXPECT_EQ(items[i]->data(0, Qt::UserRole).userType(), KV::CNodeHandleValue::MetaTypeId());
        EXPECT_EQ(KV::CNodeTreeWidgetTool::GetItemNode(items[i]), nodes[i]);
        EXPECT_EQ(dialog.m_handleToItem.Find(nodes[i]), items[i]);
    }
    EXPECT_EQ(dialog.m_handleToItem.Size(), 6u);
    EXPECT_EQ(dialog.m_rootNode, rig);
}

TEST_F(NodeTreeBuildTest, AsksTheHostInPreOrder)
{
    UB::CHandle* rig = AddSketch(scene, "Rig\n  Hips\n    Spine\n  Leg_L");
    scene.ClearJournal();

    dialog.BuildTree(rig, false);

    const QStringList calls =
        scene.JournalLines({QStringLiteral("GetNodeKind"), QStringLiteral("GetObjectName"),
                            QStringLiteral("GetChildNodes")});
    ASSERT_EQ(calls.size(), 9);
    const QStringList expectedStarts{
        "GetNodeKind(Rig",     "GetObjectName(Rig",   "GetChildNodes(Rig",
        "GetObjectName(Hips",  "GetChildNodes(Hips",  "GetObjectName(Spine",
        "GetChildNodes(Spine", "GetObjectName(Leg_L", "GetChildNodes(Leg_L"};
    for (int i = 0; i < calls.size(); ++i)
        EXPECT_TRUE(calls[i].startsWith(expectedStarts[i])) << calls[i].toStdString();
}

TEST_F(NodeTreeBuildTest, RebuildsQuietlyAndRestoresTheTreesSignalBlocking)
{
    UB::CHandle* rig = AddSketch(scene, kRig);
    dialog.BuildTree(rig, false);
    tree->topLevelItem(0)->child(0)->setSelected(true);
    tree->setCurrentItem(tree->topLevelItem(0));
    qRegisterMetaType<QTreeWidgetItem*>("QTreeWidgetItem*");
    QSignalSpy selection(tree, &QTreeWidget::itemSelectionChanged);
    QSignalSpy changes(tree, &QTreeWidget::itemChanged);
    QSignalSpy expansions(tree, &QTreeWidget::itemExpanded);
    QSignalSpy current(tree, &QTreeWidget::currentItemChanged);

    dialog.BuildTree(rig, false);
    EXPECT_FALSE(tree->signalsBlocked());
    tree->blockSignals(true);
    dialog.BuildTree(rig, false);
    EXPECT_TRUE(tree->signalsBlocked());
    tree->blockSignals(false);

    EXPECT_EQ(selection.count(), 0);
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(expansions.count(), 0);
    EXPECT_EQ(current.count(), 0);
    EXPECT_TRUE(tree->selectedItems().isEmpty());
    EXPECT_EQ(tree->currentItem(), nullptr);
}

TEST_F(NodeTreeBuildTest, NullRootLeavesOneNullItemAndKeepsTheRememberedRoot)
{
    UB::CHandle* rig = AddSketch(scene, kRig);
    dialog.BuildTree(nullptr, false);
    EXPECT_EQ(dialog.m_rootNode, nullptr);

    dialog.BuildTree(rig, false);
    dialog.BuildTree(nullptr, false);

    ASSERT_EQ(tree->topLevelItemCount(), 1);
    QTreeWidgetItem* item = tree->topLevelItem(0);
    EXPECT_EQ(item->text(0), QStringLiteral("NULL"));
    EXPECT_EQ(item->childCount(), 0);
    EXPECT_FALSE(item->data(0, Qt::UserRole).isValid());
    EXPECT_EQ(KV::CNodeTreeWidgetTool::GetItemNode(item), nullptr);
    EXPECT_TRUE(dialog.m_handleToItem.IsEmpty());
    EXPECT_EQ(dialog.m_rootNode, rig);
}

TEST_F(NodeTreeBuildTest, ListModeListsTheHierarchyToo)
{
    UB::CHandle* rig = AddSketch(scene, kRig);
    dialog.BuildTree(rig, false);
    const QString hierarchy = DrawTree(tree);

    dialog.BuildTree(rig, true);

    EXPECT_EQ(DrawTree(tree), hierarchy);
}

TEST_F(NodeTreeBuildTest, ExpandRootFlagDecidesOnlyTheRootItem)
{
    UB::CHandle* rig = AddSketch(scene, "Rig\n  Hips\n    Spine");
    dialog.m_expandRoot = false;

    dialog.BuildTree(rig, false);

    EXPECT_EQ(DrawTree(tree), QStringLiteral("Rig [collapsed]\n  Hips\n    Spine"));
}

TEST_F(NodeTreeBuildTest, NodeListedTwiceKeepsItsFirstItemForSelection)
{
    UB::CHandle* rig = AddSketch(scene, kRig);
    dialog.ListTwice(Node("Spine"));

    dialog.BuildTree(rig, false);
    dialog.SelectNode(Node("Spine"));

    EXPECT_EQ(DrawTree(tree), QStringLiteral("Rig\n"
                                             "  Hips\n"
                                             "    Spine [selected]\n"
                                             "    Spine\n"
                                             "      Chest\n"
                                             "     - \n"
                                             "  Leg_L"));
    EXPECT_EQ(dialog.m_handleToItem.Find(Node("Spine")), tree->topLevelItem(0)->child(0)->child(0));
}

TEST_F(NodeTreeBuildTest, FailedChildQueryListsThatNodeWithoutChildrenAndGoesOn)
{
    UB::CHandle* rig = AddSketch(scene, kRig);
    // Hips' query fails and writes garbage into the list it was given.
    dialog.m_beforeAddNode = [this](UB::CHandle* node) {
        if (node == Node("Hips"))
            scene.InjectFault(QStringLiteral("GetChildNodes"), UB::ToCode(0x80004005u), 1, true);
    };

    dialog.BuildTree(rig, false);

    EXPECT_EQ(DrawTree(tree), QStringLiteral("Rig\n  Hips\n  Leg_L"));
}

TEST_F(NodeTreeBuildTest, RootWithoutHostIsListedAloneWithAWarning)
{
    UB::CHandle* rig = AddSketch(scene, kRig);
    dialog.m_host = nullptr;

    dialog.BuildTree(rig, false);

    EXPECT_EQ(DrawTree(tree), QStringLiteral(" - "));
    EXPECT_EQ(dialog.m_rootNode, rig);
}

TEST_F(NodeTreeBuildTest, ShowsNamesInAnyScriptIncludingCharactersBeyondSixteenBits)
{
    const QStringList names{QStringLiteral("Zoë"), QString::fromUtf8("骨盤_L"),
                            QString::fromUtf8("Tail \xF0\x9F\x90\x89 tip"), QStringLiteral("a")};
    UB::CHandle* root = scene.AddObject(KV::CNodeDesc{names[0]});
    for (int i = 1; i < names.size(); ++i)
        scene.AddNode(root, KV::CNodeDesc{names[i]});

    dialog.BuildTree(root, false);

    QList<QTreeWidgetItem*> items;
    dialog.GetAllItems(items);
    QStringList texts;
    for (QTreeWidgetItem* item : items)
        texts << item->text(0);
    EXPECT_EQ(texts, names);
}
