// What a host command leaves behind: committed edits as one named undo step, previews taken
// back exactly, transform records as world placements, structure changes as undo steps, and
// the modified mark. Results are judged on whole-scene snapshots.

#include "SceneTestSupport.h"

#include "CCommandScope.h"
#include "support/SceneSnapshotAssert.h"

#include <QSignalSpy>
#include <QUndoStack>

namespace KV::Test {
namespace {

::testing::AssertionResult Same(const CSceneSnapshot& actual, const CSceneSnapshot& expected)
{
    return SameScene(expected, actual);
}

TransformRecord GetWorld(CSceneModel& scene, UB::CHandle* object, UBTime time)
{
    TransformRecord record;
    EXPECT_EQ(scene.GetTransform(object, time, record), UB::kOk);
    return record;
}

/// The sample scene with the box keyed to the table at 0 and to the hand at 50, seen at 20.
struct CKeyedScene : CSampleScene
{
    CKeyedScene()
    {
        scene.SetLinkKey(box, 0, table);
        scene.SetLinkKey(box, 50, hand);
        scene.SetTransformKey(box, 50, Placement({0, 0, 1}));
        scene.SetCurrentTime(20);
        scene.UndoStack()->setClean();
    }
};

TEST(SceneCommands, CommittedEditsOfOneCommandAreOneStepNamedAfterWhatItDid)
{
    CSampleScene sample;
    CSceneModel& scene = sample.scene;
    const CSceneSnapshot start = scene.Snapshot();
    {
        CCommandScope command(&scene);
        ASSERT_EQ(scene.LinkObjects({sample.box, sample.table}, sample.hand, 0, 0, true, true),
                  UB::kOk);
    }
    const CSceneSnapshot linked = scene.Snapshot();
    {
        CCommandScope command(&scene);
        for (UB::CHandle* object : {sample.box, sample.table})
            ASSERT_EQ(scene.UnlinkObject(object, 0, true, true), UB::kOk);
    }
    // Outside any command every call is a command of its own.
    ASSERT_EQ(scene.LinkObjects({sample.box}, sample.camera, 0, 0, true, true), UB::kOk);
    ASSERT_EQ(scene.LinkObjects({sample.table}, sample.camera, 0, 0, true, true), UB::kOk);

    QUndoStack* history = scene.UndoStack();
    ASSERT_EQ(history->count(), 4);
    EXPECT_EQ(history->text(0), QStringLiteral("Link 2 objects to Hand"));
    EXPECT_EQ(history->text(1), QStringLiteral("Unlink 2 objects"));
    EXPECT_EQ(history->text(2), QStringLiteral("Link Box to Camera"));
    history->setIndex(1);
    EXPECT_TRUE(Same(scene.Snapshot(), {linked.file, 4, 1, true}));
    history->setIndex(0);
    EXPECT_TRUE(Same(scene.Snapshot(), {start.file, 4, 0, false}));
}

TEST(SceneCommands, PreviewsAreTakenBackExactlyWhenTheCommandEnds)
{
    CKeyedScene sample;
    CSceneModel& scene = sample.scene;
    CHostEventLog events(scene);
    const CSceneSnapshot before = scene.Snapshot();
    const TransformRecord saved = GetWorld(scene, sample.box, 20);
    {
        CCommandScope command(&scene);
        // A dialog's previews between the box's keys, then its restore on Cancel.
        ASSERT_EQ(scene.SetTransform(sample.box, 20, saved), UB::kOk);
        ASSERT_EQ(scene.LinkObjects({sample.box}, sample.table, 2, 20, false, false), UB::kOk);
        ASSERT_EQ(scene.LinkObjects({sample.box, sample.camera}, sample.arm, 1, 20, false, false),
                  UB::kOk);
        EXPECT_EQ(scene.UnlinkObject(sample.table, 20, false, true), UB::kNothingDone);
        ASSERT_EQ(scene.LinkObjects({sample.table}, sample.robot, 0, -3, false, true), UB::kOk);
        EXPECT_EQ(scene.LinkParentAt(sample.box, 20), sample.arm);
        EXPECT_TRUE(scene.IsModified());
        ASSERT_EQ(scene.LinkObjects({sample.box}, sample.table, 0, 20, false, false), UB::kOk);
        ASSERT_EQ(scene.SetTransform(sample.box, 20, saved), UB::kOk);
    }
    EXPECT_TRUE(Same(scene.Snapshot(), before));
    // The notified preview told the host; taking it back tells it again.
    EXPECT_EQ(events.lines.last(), QStringLiteral("HierarchyChanged"));

    // A preview made outside any command ends with its own call.
    ASSERT_EQ(scene.LinkObjects({sample.box}, sample.hand, 2, 20, false, false), UB::kOk);
    EXPECT_TRUE(Same(scene.Snapshot(), before));
}

TEST(SceneCommands, ACommittedObjectTakesItsPreviewsIntoItsStep)
{
    CKeyedScene sample;
    CSceneModel& scene = sample.scene;
    const CSceneSnapshot before = scene.Snapshot();
    const TransformRecord saved = GetWorld(scene, sample.box, 20);
    CSceneSnapshot committed;
    {
        CCommandScope command(&scene);
        ASSERT_EQ(scene.SetTransform(sample.box, 20, saved), UB::kOk);
        ASSERT_EQ(scene.LinkObjects({sample.box}, sample.table, 2, 20, false, false), UB::kOk);
        ASSERT_EQ(scene.SetTransform(sample.camera, 20, Placement({4, 4, 4})), UB::kOk);
        ASSERT_EQ(scene.LinkObjects({sample.box}, sample.hand, 2, 20, true, true), UB::kOk);
        committed = scene.Snapshot();
    }
    // The camera's preview went with the command; the box's link stayed.
    EXPECT_EQ(scene.UndoStack()->count(), 1);
    EXPECT_EQ(scene.LinkParentAt(sample.box, 20), sample.hand);
    EXPECT_TRUE(Near(sample.World(sample.camera, 20), {0, 0, 0}));
    const CSceneSnapshot after = scene.Snapshot();

    scene.UndoStack()->undo();
    EXPECT_TRUE(Same(scene.Snapshot(), {before.file, 1, 0, false}));
    scene.UndoStack()->redo();
    EXPECT_TRUE(Same(scene.Snapshot(), after));
}

TEST(SceneCommands, TransformRecordsArePlacementsInTheWorld)
{
    CSampleScene sample;
    CSceneModel& scene = sample.scene;
    // The box under the hand, 1 above it; the hand is at (0, 8, 0), turned 90° about Z.
    ASSERT_EQ(scene.LinkObjects({sample.box}, sample.hand, 2, 0, true, true), UB::kOk);
    scene.SetTransformKey(sample.box, 0, Placement({0, 0, 1}));
    const TransformRecord saved = GetWorld(scene, sample.box, 0);
    EXPECT_TRUE(Near(PositionOf(saved), {0, 8, 1}));
    EXPECT_TRUE(SameRotation(RotationOf(saved), QQuaternion::fromAxisAndAngle(0, 0, 1, 90)));

    CCommandScope command(&scene);
    // Aligned to the table, then "no alignment": the saved placement under the old parent.
    ASSERT_EQ(scene.LinkObjects({sample.box}, sample.table, 2, 0, false, false), UB::kOk);
    EXPECT_TRUE(Near(sample.World(sample.box), {10, 0, 0}));
    ASSERT_EQ(scene.SetTransform(sample.box, 0, saved), UB::kOk);
    EXPECT_TRUE(Near(sample.World(sample.box), {0, 8, 1}));
    ASSERT_EQ(scene.LinkObjects({sample.box}, sample.hand, 0, 0, false, false), UB::kOk);
    EXPECT_EQ(scene.LinkParentAt(sample.box, 0), sample.hand);
    EXPECT_TRUE(Near(sample.World(sample.box), {0, 8, 1}));
    EXPECT_TRUE(SameRotation(RotationOf(scene.WorldTransformAt(sample.box, 0)),
                             QQuaternion::fromAxisAndAngle(0, 0, 1, 90)));

    // Without a parent the record is the local transform itself, reserved fields and all.
    TransformRecord odd = Placement({1, 2, 3});
    odd.reserved[4] = 9;
    ASSERT_EQ(scene.SetTransform(sample.table, 0, odd), UB::kOk);
    EXPECT_EQ(GetWorld(scene, sample.table, 0).reserved[4], 9);
}

TEST(SceneCommands, DeletingAndAddingNodesAreUndoSteps)
{
    CKeyedScene sample;
    CSceneModel& scene = sample.scene;
    scene.SetSelection({sample.box, sample.hand});
    const CSceneSnapshot before = scene.Snapshot();
    CHostEventLog events(scene);

    scene.DeleteNodes({sample.arm});
    EXPECT_EQ(events.lines,
              (QStringList{"ObjectSelectionChanged", "ObjectDeleted(2)", "HierarchyChanged"}));
    EXPECT_EQ(scene.UndoStack()->text(0), QStringLiteral("Delete 2 nodes"));
    EXPECT_TRUE(Near(sample.World(sample.box, 60), {0, 8, 1})); // kept where the hand held it
    const CSceneSnapshot deleted = scene.Snapshot();
    scene.UndoStack()->undo();
    EXPECT_TRUE(Same(scene.Snapshot(), {before.file, 1, 0, false}));
    scene.UndoStack()->redo();
    EXPECT_TRUE(Same(scene.Snapshot(), deleted));
    int type = 0;
    EXPECT_EQ(scene.GetObjectType(sample.hand, type), CSceneModel::kInvalidHandle);

    // Deleting the camera leaves no camera; handles that are gone or null are ignored.
    scene.DeleteNodes({sample.camera});
    EXPECT_EQ(scene.GetCurrentCamera(), nullptr);
    events.lines.clear();
    const CSceneSnapshot cameraDeleted = scene.Snapshot();
    scene.DeleteNodes({nullptr, sample.camera});
    EXPECT_TRUE(events.lines.isEmpty());
    EXPECT_TRUE(Same(scene.Snapshot(), cameraDeleted));
    scene.UndoStack()->undo();

    TransformRecord rest = Placement({0, 1, 0});
    const QVector<UB::CHandle*> added = scene.AddNodesAsStep(
        {{{QStringLiteral("Rig"), 45}, -1, {}}, {{QStringLiteral("Jaw"), 1, 2}, 0, rest}},
        QStringLiteral("Import rig.bvh"));
    ASSERT_EQ(added.size(), 2);
    EXPECT_EQ(scene.StructuralParent(added[1]), added[0]);
    EXPECT_TRUE(Near(sample.World(added[1]), {0, 1, 0}));
    EXPECT_EQ(scene.UndoStack()->text(1), QStringLiteral("Import rig.bvh"));
    const CSceneSnapshot imported = scene.Snapshot();
    scene.UndoStack()->undo();
    EXPECT_FALSE(scene.Contains(added[0]));
    EXPECT_TRUE(Same(scene.Snapshot(), {deleted.file, 2, 1, true}));
    scene.UndoStack()->redo();
    EXPECT_TRUE(Same(scene.Snapshot(), imported));

    // A parent that is not an earlier entry adds nothing.
    EXPECT_TRUE(scene.AddNodesAsStep({{{QStringLiteral("A")}, 0, {}}}, QString()).isEmpty());
    EXPECT_TRUE(Same(scene.Snapshot(), imported));
}

TEST(SceneCommands, TheModifiedMarkFollowsTheSavedState)
{
    CSampleScene sample;
    CSceneModel& scene = sample.scene;
    QSignalSpy marks(&scene, &CSceneModel::ModifiedChanged);
    ASSERT_EQ(scene.LinkObjects({sample.box}, sample.table, 0, 0, true, true), UB::kOk);
    scene.UndoStack()->setClean(); // saved
    EXPECT_FALSE(scene.IsModified());
    {
        CCommandScope command(&scene);
        ASSERT_EQ(scene.SetTransform(sample.box, 0, Placement({1, 1, 1})), UB::kOk);
        EXPECT_TRUE(scene.IsModified());
    }
    EXPECT_FALSE(scene.IsModified());
    ASSERT_EQ(scene.UnlinkObject(sample.box, 0, true, true), UB::kOk);
    EXPECT_TRUE(scene.IsModified());
    scene.UndoStack()->undo();
    EXPECT_FALSE(scene.IsModified());
    scene.UndoStack()->undo(); // before the save
    EXPECT_TRUE(scene.IsModified());
    EXPECT_EQ(marks.count(), 7);
}

} // namespace
} // namespace KV::Test
