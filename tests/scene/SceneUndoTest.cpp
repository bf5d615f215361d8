// Committed edits as single undo steps: previews leave no step of their own, and undoing the
// edit that ends them goes back to before the first preview.

#include "SceneTestSupport.h"

#include <QSignalSpy>
#include <QUndoStack>

namespace KV::Test {
namespace {

/// What a node looks like from outside at a time.
struct CNodeLook
{
    UB::CHandle* parent;
    QVector3D world;
    QVector<UBTime> linkKeys;
    QVector<UBTime> transformKeys;
};

CNodeLook Look(const CSampleScene& sample, UB::CHandle* node, UBTime time = 0)
{
    return {sample.scene.LinkParentAt(node, time), sample.World(node, time),
            sample.scene.LinkKeyTimes(node), sample.scene.TransformKeyTimes(node)};
}

void ExpectSame(const CNodeLook& actual, const CNodeLook& expected)
{
    EXPECT_EQ(actual.parent, expected.parent);
    EXPECT_TRUE(Near(actual.world, expected.world));
    EXPECT_EQ(actual.linkKeys, expected.linkKeys);
    EXPECT_EQ(actual.transformKeys, expected.transformKeys);
}

TEST(SceneUndo, CommittedLinkUndoesItsPreviewsInOneStep)
{
    CSampleScene sample;
    CSceneModel& scene = sample.scene;
    const TransformRecord saved = scene.LocalTransformAt(sample.box, 5);
    const CNodeLook boxBefore = Look(sample, sample.box, 5);
    const CNodeLook tableBefore = Look(sample, sample.table, 5);

    // A dialog previews its choices at time 5, moving the table on the way, then commits.
    EXPECT_EQ(scene.LinkObjects({sample.box}, sample.hand, 1, 5, false, false), UB::kOk);
    EXPECT_EQ(scene.SetTransform(sample.box, 5, saved), UB::kOk);
    EXPECT_EQ(scene.LinkObjects({sample.box}, sample.arm, 2, 5, false, false), UB::kOk);
    EXPECT_EQ(scene.SetTransform(sample.table, 5, Placement({7, 7, 7})), UB::kOk);
    EXPECT_EQ(scene.UndoStack()->count(), 0);
    ASSERT_EQ(scene.LinkObjects({sample.box}, sample.arm, 2, 5, true, true), UB::kOk);
    const CNodeLook boxAfter = Look(sample, sample.box, 5);
    EXPECT_EQ(scene.UndoStack()->count(), 1);

    scene.UndoStack()->undo();
    ExpectSame(Look(sample, sample.box, 5), boxBefore);
    ExpectSame(Look(sample, sample.table, 5), tableBefore);
    EXPECT_TRUE(Near(sample.World(sample.table, 5), {10, 0, 0}));

    scene.UndoStack()->redo();
    ExpectSame(Look(sample, sample.box, 5), boxAfter);
    EXPECT_EQ(scene.LinkParentAt(sample.box, 5), sample.arm);
    EXPECT_TRUE(Near(sample.World(sample.box, 5), {0, 7, 0}));
    EXPECT_TRUE(Near(sample.World(sample.table, 5), {7, 7, 7}));

    // The next committed edit is a step of its own, without the previews of the first.
    ASSERT_EQ(scene.UnlinkObject(sample.box, 5, true, true), UB::kOk);
    scene.UndoStack()->undo();
    EXPECT_EQ(scene.LinkParentAt(sample.box, 5), sample.arm);
    EXPECT_TRUE(Near(sample.World(sample.table, 5), {7, 7, 7}));
}

TEST(SceneUndo, CancelledPreviewsLeaveNoStepAndUndoSkipsThem)
{
    CSampleScene sample;
    CSceneModel& scene = sample.scene;
    ASSERT_EQ(scene.LinkObjects({sample.box}, sample.table, 0, 0, true, true), UB::kOk);
    const CNodeLook linked = Look(sample, sample.box);
    const TransformRecord saved = scene.LocalTransformAt(sample.box, 0);

    // Preview a link to the hand, then cancel: relink the table and restore the transform.
    EXPECT_EQ(scene.LinkObjects({sample.box}, sample.hand, 2, 0, false, false), UB::kOk);
    EXPECT_EQ(scene.LinkObjects({sample.box}, sample.table, 0, 0, false, false), UB::kOk);
    EXPECT_EQ(scene.SetTransform(sample.box, 0, saved), UB::kOk);
    EXPECT_EQ(scene.UndoStack()->count(), 1);
    ExpectSame(Look(sample, sample.box), linked);

    // Undo takes back the committed link, not a preview.
    scene.UndoStack()->undo();
    EXPECT_EQ(scene.LinkParentAt(sample.box, 0), nullptr);
    EXPECT_TRUE(Near(sample.World(sample.box), {0, 0, 3}));
}

TEST(SceneUndo, UndoAndRedoOfANotifiedEditTellTheHostAgain)
{
    CSampleScene sample;
    CSceneModel& scene = sample.scene;
    ASSERT_EQ(scene.LinkObjects({sample.box}, sample.table, 0, 3, true, true), UB::kOk);
    ASSERT_EQ(scene.LinkObjects({sample.camera}, sample.table, 0, 3, true, false), UB::kOk);
    CHostEventLog events(scene);
    QSignalSpy changes(&scene, &CSceneModel::SceneChanged);

    scene.UndoStack()->undo(); // the camera's link was not announced, nor is its undo
    EXPECT_TRUE(events.lines.isEmpty());
    EXPECT_EQ(changes.count(), 1);

    scene.UndoStack()->undo();
    EXPECT_EQ(events.lines, (QStringList{"ObjectDataChanged2(Box: Table -> null at 3)",
                                         "HierarchyChanged", "ObjectDataChanged([Box], 2)"}));
    events.lines.clear();
    scene.UndoStack()->redo();
    EXPECT_EQ(events.lines, (QStringList{"ObjectDataChanged2(Box: null -> Table at 3)",
                                         "HierarchyChanged", "ObjectDataChanged([Box], 2)"}));
    EXPECT_EQ(changes.count(), 3);
}

TEST(SceneUndo, UndoAfterDeletingALinkedNodeSkipsWhatIsGone)
{
    CSampleScene sample;
    CSceneModel& scene = sample.scene;
    ASSERT_EQ(scene.LinkObjects({sample.box}, sample.table, 0, 0, true, true), UB::kOk);
    ASSERT_EQ(scene.LinkObjects({sample.camera}, sample.box, 0, 0, true, true), UB::kOk);
    scene.DeleteNodes({sample.table});
    EXPECT_EQ(scene.LinkParentAt(sample.box, 0), nullptr);

    scene.UndoStack()->undo(); // camera off the box
    scene.UndoStack()->undo(); // box back to no parent
    scene.UndoStack()->redo(); // box to the table, which is gone: no parent
    EXPECT_EQ(scene.LinkParentAt(sample.box, 0), nullptr);
    scene.UndoStack()->redo();
    EXPECT_EQ(scene.LinkParentAt(sample.camera, 0), sample.box);

    scene.DeleteNodes({sample.box});
    scene.UndoStack()->undo();
    scene.UndoStack()->undo();
    EXPECT_FALSE(scene.Contains(sample.box));
    EXPECT_EQ(scene.LinkParentAt(sample.camera, 0), nullptr);
}

} // namespace
} // namespace KV::Test
