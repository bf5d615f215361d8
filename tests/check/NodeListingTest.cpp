// The checker's listing rule, against a tree worked out by hand from the rule: which nodes the
// link-to-sub-node dialog lists for a root, in which order and under which item.

#include "CHostQueries.h"
#include "CNodeListing.h"
#include "KVSceneModel.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

TEST(NodeListing, ListsWhatTheRuleListsUnderItsListedParentAndNamesTheFirstDifference)
{
    // Hero (type 2) › Body (type 1) › Skeleton › Hips › {Grip_L › {Tip, Marker (type 3)}, Hand}:
    // the body's grips come first, where only type 6 below a grip is listed, and the lone
    // Skeleton group is looked through. Gizmos, the kind 4 Tail and the unlinkable Cape are left
    // out with all below them; the excluded Shield is listed bare; a nameless node shows " - ".
    KV::CSceneModel scene;
    UB::CHandle* hero = scene.AddObject({"Hero", 2});
    UB::CHandle* hips = scene.AddNode(
        scene.AddNode(scene.AddNode(hero, {"Body", 1, 2}), {"Skeleton", 6, 2}), {"Hips", 6, 2});
    UB::CHandle* grip = scene.AddNode(hips, {"Grip_L", 6, 2});
    scene.AddNode(grip, {"Tip", 6, 2});
    scene.AddNode(grip, {"Marker", 3, 2});
    scene.AddNode(hips, {"Hand", 6, 2});
    scene.AddNode(scene.AddNode(hero, {"Gizmos", 6, 2}), {"Handle", 6, 2});
    scene.AddNode(scene.AddNode(hero, {"Tail", 6, 4}), {"TailTip", 6, 2});
    KV::CNodeDesc cape{"Cape", 6, 2};
    cape.linkable = false;
    scene.AddNode(hero, cape);
    KV::CNodeDesc shield{"Shield", 6, 2};
    shield.subNodeLinkExcluded = true;
    scene.AddNode(scene.AddNode(hero, shield), {"Strap", 6, 2});
    scene.AddNode(hero, {QString(), 6, 2});

    KV::CHostQueries queries(scene);
    // Each item as "text < parent text", or just "text" at the top level.
    auto listed = [&](UB::CHandle* root, bool hierarchyView) {
        const QVector<KV::CNodeListing::CItem> items =
            KV::CNodeListing(queries).Build(root, hierarchyView);
        QStringList lines;
        for (const KV::CNodeListing::CItem& item : items)
            lines << (item.parent < 0 ? item.text : item.text + " < " + items[item.parent].text);
        return lines;
    };
    const QStringList hierarchy = {"Hero",          "Body < Hero",     "Grip_L < Body",
                                   "Tip < Grip_L",  "Hips < Body",     "Grip_L < Hips",
                                   "Tip < Grip_L",  "Marker < Grip_L", "Hand < Hips",
                                   "Shield < Hero", " -  < Hero"};
    EXPECT_EQ(listed(hero, true), hierarchy);
    // The list view puts every listed node at the top, in the same order.
    QStringList flat = hierarchy;
    for (QString& line : flat)
        line = line.section(QStringLiteral(" < "), 0, 0);
    EXPECT_EQ(listed(hero, false), flat);
    EXPECT_EQ(listed(nullptr, true), QStringList{"NULL"});

    const QVector<KV::CNodeListing::CItem> expected = KV::CNodeListing(queries).Build(hero, true);
    QVector<KV::CNodeListing::CItem> moved = expected;
    moved[4].parent = 0; // Hips hung under Hero instead of Body
    EXPECT_TRUE(KV::CNodeListing::Compare(expected, expected).isEmpty());
    EXPECT_EQ(KV::CNodeListing::Compare(expected, moved),
              QStringList{"tree item 5 \"Hips\" hangs under \"Hero\", should hang under \"Body\""});
    EXPECT_EQ(KV::CNodeListing::Compare(expected, expected.mid(0, 10)),
              QStringList{"the tree holds 10 items, should hold 11; first difference: \" - \" "
                          "is missing"});

    // Sub-nodes that cannot be read leave the root alone; a root of kind 8 lists nothing.
    scene.InjectFault(QStringLiteral("GetSubNodes"), -1);
    EXPECT_EQ(listed(hero, true), QStringList{"Hero"});
    scene.ClearFaults();
    scene.Desc(hero).nodeKind = 8;
    EXPECT_TRUE(listed(hero, true).isEmpty());
}
