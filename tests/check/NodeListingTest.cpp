// The checker's listing rule, against trees worked out by hand from the rule: which nodes the
// link-to-sub-node dialog lists for a root, in which order and under which item.

#include "CHostQueries.h"
#include "CNodeListing.h"
#include "KVSceneModel.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

// Hero (type 2)
// ├─ Body (type 1)                 the body: its prop grips are listed first
// │  └─ Skeleton (type 6)          a lone skeleton group: its bones stand in for it
// │     └─ Hips (type 6)
// │        ├─ Grip_L (type 6)
// │        │  ├─ Tip (type 6)
// │        │  └─ Marker (type 3)   below a grip found by name only type 6 is listed
// │        └─ Hand (type 6)
// ├─ Gizmos (type 6)               never listed, nor anything below it
// │  └─ Handle (type 6)
// ├─ Tail (kind 4)                 node kind 4: left out with everything below
// │  └─ TailTip (type 6)
// ├─ Cape (not linkable)           neither linkable nor excluded: left out
// ├─ Shield (excluded)             listed, but nothing below it
// │  └─ Strap (type 6)
// └─ "" (type 6)                   shown as " - "
class NodeListingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        hero = scene.AddObject({QStringLiteral("Hero"), 2});
        UB::CHandle* body = scene.AddNode(hero, {QStringLiteral("Body"), 1, 2});
        UB::CHandle* skeleton = scene.AddNode(body, {QStringLiteral("Skeleton"), 6, 2});
        UB::CHandle* hips = scene.AddNode(skeleton, {QStringLiteral("Hips"), 6, 2});
        UB::CHandle* grip = scene.AddNode(hips, {QStringLiteral("Grip_L"), 6, 2});
        scene.AddNode(grip, {QStringLiteral("Tip"), 6, 2});
        scene.AddNode(grip, {QStringLiteral("Marker"), 3, 2});
        scene.AddNode(hips, {QStringLiteral("Hand"), 6, 2});
        UB::CHandle* gizmos = scene.AddNode(hero, {QStringLiteral("Gizmos"), 6, 2});
        scene.AddNode(gizmos, {QStringLiteral("Handle"), 6, 2});
        UB::CHandle* tail = scene.AddNode(hero, {QStringLiteral("Tail"), 6, 4});
        scene.AddNode(tail, {QStringLiteral("TailTip"), 6, 2});
        KV::CNodeDesc cape{QStringLiteral("Cape"), 6, 2};
        cape.linkable = false;
        scene.AddNode(hero, cape);
        KV::CNodeDesc shield{QStringLiteral("Shield"), 6, 2};
        shield.subNodeLinkExcluded = true;
        UB::CHandle* shieldNode = scene.AddNode(hero, shield);
        scene.AddNode(shieldNode, {QStringLiteral("Strap"), 6, 2});
        scene.AddNode(hero, {QString(), 6, 2});
    }

    /// Each item as "text < parent text", or just "text" at the top level.
    QStringList Listed(UB::CHandle* root, bool hierarchyView)
    {
        KV::CHostQueries queries(scene);
        const QVector<KV::CNodeListing::CItem> items =
            KV::CNodeListing(queries).Build(root, hierarchyView);
        QStringList lines;
        for (const KV::CNodeListing::CItem& item : items)
            lines.append(item.parent < 0
                             ? item.text
                             : item.text + QStringLiteral(" < ") + items.at(item.parent).text);
        return lines;
    }

    KV::CSceneModel scene;
    UB::CHandle* hero = nullptr;
};

} // namespace

TEST_F(NodeListingTest, TheHierarchyViewNestsEachListedNodeUnderItsListedParent)
{
    EXPECT_EQ(Listed(hero, true),
              (QStringList{QStringLiteral("Hero"), QStringLiteral("Body < Hero"),
                           QStringLiteral("Grip_L < Body"), QStringLiteral("Tip < Grip_L"),
                           QStringLiteral("Hips < Body"), QStringLiteral("Grip_L < Hips"),
                           QStringLiteral("Tip < Grip_L"), QStringLiteral("Marker < Grip_L"),
                           QStringLiteral("Hand < Hips"), QStringLiteral("Shield < Hero"),
                           QStringLiteral(" -  < Hero")}));
}

TEST_F(NodeListingTest, TheListViewPutsEveryListedNodeAtTheTopInTheSameOrder)
{
    EXPECT_EQ(Listed(hero, false),
              (QStringList{QStringLiteral("Hero"), QStringLiteral("Body"), QStringLiteral("Grip_L"),
                           QStringLiteral("Tip"), QStringLiteral("Hips"), QStringLiteral("Grip_L"),
                           QStringLiteral("Tip"), QStringLiteral("Marker"), QStringLiteral("Hand"),
                           QStringLiteral("Shield"), QStringLiteral(" - ")}));
}

TEST_F(NodeListingTest, TheHostsFailuresAndAMissingRootShowAsTheRuleSays)
{
    EXPECT_EQ(Listed(nullptr, true), QStringList{QStringLiteral("NULL")});

    // Sub-nodes that cannot be read leave the root alone; a root of kind 8 lists nothing.
    scene.InjectFault(QStringLiteral("GetSubNodes"), -1);
    EXPECT_EQ(Listed(hero, true), QStringList{QStringLiteral("Hero")});
    scene.ClearFaults();
    scene.Desc(hero).nodeKind = 8;
    EXPECT_TRUE(Listed(hero, true).isEmpty());
}

TEST_F(NodeListingTest, ComparingNamesTheFirstItemThatDiffers)
{
    KV::CHostQueries queries(scene);
    const QVector<KV::CNodeListing::CItem> expected = KV::CNodeListing(queries).Build(hero, true);
    QVector<KV::CNodeListing::CItem> moved = expected;
    moved[4].parent = 0; // Hips hung under Hero instead of Body
    QVector<KV::CNodeListing::CItem> shortened = expected;
    shortened.removeLast();

    EXPECT_TRUE(KV::CNodeListing::Compare(expected, expected).isEmpty());
    EXPECT_EQ(KV::CNodeListing::Compare(expected, moved),
              QStringList{QStringLiteral("tree item 5 \"Hips\" hangs under \"Hero\", should hang "
                                         "under \"Body\"")});
    EXPECT_EQ(KV::CNodeListing::Compare(expected, shortened),
              QStringList{QStringLiteral("the tree holds 10 items, should hold 11; first "
                                         "difference: \" - \" is missing")});
}
