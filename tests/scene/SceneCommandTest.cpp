// What a host command leaves behind: committed edits as one named undo step, previews taken
// back exactly unless their object is committed, structure changes as undo steps, and the
// modified mark. Results are judged on whole-scene snapshots.

#include "SceneTestSupport.h"

#include "CCommandScope.h"

#include <QSignalSpy>
#include <QUndoStack>

namespace KV::Test {
namespace {

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
    EXPECT_TRUE(SameScene({linked.file, 4, 1, true}, scene.Snapshot()));
}

TEST(SceneCommands, PreviewsAreTakenBackExactlyUnlessTheCommandCommitsTheirObject)
{
    CKeyedScene sample;
    CSceneModel& scene = sample.scene;
    CHostEventLog events(scene);
    const CSceneSnapshot before = scene.Snapshot();
    const TransformRecord saved = scene.WorldTransformAt(sample.box, 20);
    {
        CCommandScope command(&scene);
        // A dialog's previews between the box's keys, one of them announced to the host.
        ASSERT_EQ(scene.SetTransform(sample.box, 20, saved), UB::kOk);
        ASSERT_EQ(scene.LinkObjects({sample.box, sample.camera}, sample.arm, 1, 20, false, false),
                  UB::kOk);
        EXPECT_EQ(scene.UnlinkObject(sample.table, 20, false, true), UB::kNothingDone);
        ASSERT_EQ(scene.LinkObjects({sample.table}, sample.robot, 0, -3, false, true), UB::kOk);
        EXPECT_TRUE(scene.IsModified());
        // "No alignment": the saved world placement under the previous parent.
        ASSERT_EQ(scene.SetTransform(sample.box, 20, saved), UB::kOk);
        ASSERT_EQ(scene.LinkObjects({sample.box}, sample.table, 0, 20, false, false), UB::kOk);
        EXPECT_EQ(scene.LinkParentAt(sample.box, 20), sample.table);
        EXPECT_TRUE(SamePlace(saved, scene.WorldTransformAt(sample.box, 20)));
    }
    EXPECT_TRUE(SameScene(before, scene.Snapshot()));
    // The announced preview told the host; taking it back tells it again.
    EXPECT_EQ(events.lines.last(), QStringLiteral("HierarchyChanged"));
    // A preview made outside any command ends with its own call.
    ASSERT_EQ(scene.LinkObjects({sample.box}, sample.hand, 2, 20, false, false), UB::kOk);
    EXPECT_TRUE(SameScene(before, scene.Snapshot()));

    {
        CCommandScope command(&scene);
        ASSERT_EQ(scene.SetTransform(sample.box, 20, saved), UB::kOk);
        ASSERT_EQ(scene.LinkObjects({sample.box}, sample.table, 2, 20, false, false), UB::kOk);
        ASSERT_EQ(scene.SetTransform(sample.camera, 20, Placement({4, 4, 4})), UB::kOk);
        ASSERT_EQ(scene.LinkObjects({sample.box}, sample.hand, 2, 20, true, true), UB::kOk);
    }
    // The box's previews went into its step; the camera's preview went back.
    EXPECT_EQ(scene.LinkParentAt(sample.box, 20), sample.hand);
    EXPECT_TRUE(Near(sample.World(sample.camera, 20), {0, 0, 0}));
    const CSceneSnapshot after = scene.Snapshot();
    EXPECT_EQ(after.undoCount, 1);
    scene.UndoStack()->undo();
    EXPECT_TRUE(SameScene({before.file, 1, 0, false}, scene.Snapshot()));
    scene.UndoStack()->redo();
    EXPECT_TRUE(SameScene(after, scene.Snapshot()));
}

TEST(SceneCommands, DeletingNodesIsAnUndoStepAndAnImportStandsAtItsRestPlacements)
{
    CKeyedScene sample;
    CSceneModel& scene = sample.scene;
    scene.SetSelection({sample.box, sample.hand});
    const CSceneSnapshot before = scene.Snapshot();
    CHostEventLog events(scene);

    scene.DeleteNodes({sample.arm, sample.camera});
    EXPECT_EQ(events.lines,
              (QStringList{"ObjectSelectionChanged", "ObjectDeleted(3)", "HierarchyChanged"}));
    EXPECT_EQ(scene.UndoStack()->text(0), QStringLiteral("Delete 3 nodes"));
    EXPECT_EQ(scene.GetCurrentCamera(), nullptr);
    const CSceneSnapshot deleted = scene.Snapshot();
    scene.UndoStack()->undo();
    EXPECT_TRUE(SameScene({before.file, 1, 0, false}, scene.Snapshot()));
    scene.UndoStack()->redo();
    EXPECT_TRUE(SameScene(deleted, scene.Snapshot()));

    // Handles that are gone or null are ignored, and so is an import whose parent is not an
    // earlier entry.
    events.lines.clear();
    scene.DeleteNodes({nullptr, sample.camera});
    EXPECT_TRUE(scene.AddNodesAsStep({{{QStringLiteral("A")}, 0, {}}}, QString()).isEmpty());
    EXPECT_TRUE(events.lines.isEmpty());
    EXPECT_TRUE(SameScene(deleted, scene.Snapshot()));

    // An import stands at the rest placements it was given.
    const QVector<UB::CHandle*> added = scene.AddNodesAsStep(
        {{{QStringLiteral("Rig")}, -1, {}}, {{QStringLiteral("Jaw")}, 0, Placement({0, 1, 0})}},
        QStringLiteral("Import rig.bvh"));
    ASSERT_EQ(added.size(), 2);
    EXPECT_TRUE(Near(sample.World(added[1]), {0, 1, 0}));
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
