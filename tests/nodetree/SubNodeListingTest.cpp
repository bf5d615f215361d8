// Which nodes of the target object the link-to-sub-node dialog lists, and how they nest, in
// the hierarchy and the list view; what a failing host query leaves; a chain 10,000 deep.

#include "SceneShapes.h"
#include "SubNodeDialogTest.h"
#include "support/QtPrinters.h"

#include <QLineEdit>
#include <QTreeWidget>

namespace {

// The standard names are the scene's: 0 "Body", 55 to 57 "Grip_L", "Grip_R", "Grip_Back",
// 58 "Skeleton", 59 "Gizmos". Every node is of type 1 unless drawn otherwise.
//
// - Knight/Body (type 2, named like a body): its grips come first, each with its sub-nodes of
//   type 6 only; Body was reached by that name, so its own sub-nodes count only with type 6.
//   Grip_L is found again below Holster and is listed a second time, in full.
// - Rig's lone Skeleton gives way to its sub-nodes; Gizmos is never listed; kinds 4, 8 and
//   17 and nodes neither linkable nor excluded are left out with all below them; excluded
//   nodes are listed without anything below them.
// - Props holds a Skeleton beside others (listed) and a Body of type 3 (no grips looked up).
const char kKnight[] = R"(
Knight
  Body [type=2]
    Holster [type=6]
      Grip_L
        Dagger [type=6]
        Tassel
    Pouch
  Rig
    Skeleton
      Hips
        Armour [kind=4]
          Plate
        Lamp [kind=8]
        Lens [kind=17]
        Cloak [unlinkable]
          Cape
        Lantern [unlinkable excluded]
          Flame
        Shield [excluded]
          Strap
        Gizmos
          Handle
        <empty>
  Props
    Skeleton
    Crate
    Body [type=3]
      Grip_Back
      Charm [type=6]
)";

const char kKnightHierarchy[] = "Knight\n"
                                "  Body\n"
                                "    Grip_L\n"
                                "      Dagger\n"
                                "    Holster\n"
                                "      Grip_L\n"
                                "        Dagger\n"
                                "        Tassel\n"
                                "  Rig\n"
                                "    Hips [selected]\n"
                                "      Lantern\n"
                                "      Shield\n"
                                "       - \n"
                                "  Props\n"
                                "    Skeleton\n"
                                "    Crate\n"
                                "    Body\n"
                                "      Charm";

class SubNodeListing : public SubNodeDialogTest
{
protected:
    void SetUp() override
    {
        SubNodeDialogTest::SetUp();
        AddStructure(QLatin1String(kKnight));
        cup = AddSelectedObject(QStringLiteral("Cup"), Node("Hips"), Place(0, 0, 0));
    }

    UB::CHandle* cup = nullptr;
};

TEST_F(SubNodeListing, HierarchyViewNestsTheListedNodesUnderTheirListedAncestors)
{
    RunDialog([&] {
        EXPECT_EQ(DrawnTree(), QLatin1String(kKnightHierarchy));
        // Both items of the twice-listed grip carry its node; the map keeps the first.
        QList<QTreeWidgetItem*> grips =
            Tree()->findItems(QStringLiteral("Grip_L"), Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_EQ(grips.size(), 2);
        EXPECT_EQ(KV::CNodeTreeWidgetTool::GetItemNode(grips[0]), Node("Grip_L"));
        EXPECT_EQ(KV::CNodeTreeWidgetTool::GetItemNode(grips[1]), Node("Grip_L"));
        EXPECT_EQ(Dialog()->m_handleToItem.Find(Node("Grip_L")), grips[0]);
    });
}

TEST_F(SubNodeListing, ListViewPutsEveryListedNodeAtTopLevelInDepthFirstOrder)
{
    RunDialog([&] {
        ChooseView("qtListAction");
        EXPECT_EQ(DrawnTree(), QStringLiteral("Knight\nBody\nGrip_L\nDagger\nHolster\nGrip_L\n"
                                              "Dagger\nTassel\nRig\nHips [selected]\nLantern\n"
                                              "Shield\n - \nProps\nSkeleton\nCrate\nBody\nCharm"));
        ChooseView("qtHierarchyAction");
        EXPECT_EQ(DrawnTree(), QLatin1String(kKnightHierarchy));

        // The twice-listed grip picked in one place comes back selected in both.
        ClickItem(QStringLiteral("Grip_L"));
        ChooseView("qtListAction");
        EXPECT_EQ(SelectedTexts(), (QStringList{"Grip_L", "Grip_L"}));
        ChooseView("qtHierarchyAction");
        EXPECT_EQ(SelectedTexts(), (QStringList{"Grip_L", "Grip_L"}));
    });
}

TEST_F(SubNodeListing, AFailedSubNodeQueryListsTheNodeWithoutChildren)
{
    // The root's own sub-nodes cannot be read, even with garbage written into the answer.
    scene->InjectFault(QStringLiteral("GetSubNodes"), -1, 1, true);
    RunDialog([&] { EXPECT_EQ(DrawnTree(), QStringLiteral("Knight")); });

    // Rig's lone skeleton group is found, but its sub-nodes cannot be read.
    const QMetaObject::Connection failNext =
        QObject::connect(scene.get(), &KV::CSceneModel::JournalAppended, section,
                         [this](const KV::CJournalEntry& entry) {
                             if (entry.call == QLatin1String("GetSubNodes") &&
                                 entry.args == QStringList{QStringLiteral("Rig")})
                                 scene->InjectFault(QStringLiteral("GetSubNodes"), -1, 1);
                         });
    RunDialog([&] {
        EXPECT_TRUE(DrawnTree().contains(QStringLiteral("  Rig\n  Props\n")))
            << DrawnTree().toStdString();
        EXPECT_EQ(Tree()->findItems(QStringLiteral("Hips"), Qt::MatchRecursive).size(), 0);
    });
    QObject::disconnect(failNext);
}

TEST_F(SubNodeListing, AnOwnerThatCannotBeFoundGivesTheNullItem)
{
    scene->InjectFault(QStringLiteral("GetNodeOwner"), -1, 1);
    RunDialog([&] {
        EXPECT_EQ(DrawnTree(), QStringLiteral("NULL"));
        EXPECT_TRUE(SelectedTexts().isEmpty());
        ClickItem(QStringLiteral("NULL"));
        EXPECT_EQ(Dialog()->m_chosenNode, nullptr);
    });
}

TEST_F(SubNodeListing, AChainTenThousandDeepIsListedShownAndSearched)
{
    UB::CHandle* chain = AddChain(*scene, 10000, QStringLiteral("link"));
    scene->SetLinkKey(cup, 0, scene->FindByName(QStringLiteral("link_9999")));
    scene->SendHierarchyChanged();
    RunDialog([&] {
        QTreeWidget* tree = Tree();
        ASSERT_EQ(tree->topLevelItemCount(), 1);
        QTreeWidgetItem* item = tree->topLevelItem(0);
        EXPECT_EQ(KV::CNodeTreeWidgetTool::GetItemNode(item), chain);
        int depth = 1;
        while (item->childCount() == 1) {
            item = item->child(0);
            ++depth;
        }
        EXPECT_EQ(depth, 10000);
        EXPECT_TRUE(item->isSelected()) << "the current parent, at the bottom";
        tree->scrollToItem(item);

        TypeInSearch(QStringLiteral("link_5000"));
        EXPECT_EQ(SelectedTexts(), QStringList{QStringLiteral("link_5000")});
        EXPECT_TRUE(item->isHidden());
        EXPECT_EQ(Dialog()->m_chosenNode, scene->FindByName(QStringLiteral("link_5000")));
        ChooseView("qtListAction");
        EXPECT_EQ(tree->topLevelItemCount(), 10000);
        EXPECT_EQ(SelectedTexts(), QStringList{QStringLiteral("link_5000")});
    });
}

} // namespace
