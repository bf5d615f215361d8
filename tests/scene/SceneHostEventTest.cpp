// The host events the scene sends, in order, for link edits, for what a host user does, and
// for deletions; and that building a scene sends none.

#include "SceneTestSupport.h"

#include <QSignalSpy>

namespace KV::Test {
namespace {

TEST(SceneHostEvents, LinkEditsAreAnnouncedOnlyWhenNotified)
{
    CSampleScene sample;
    CSceneModel& scene = sample.scene;
    CHostEventLog events(scene);
    QSignalSpy changes(&scene, &CSceneModel::SceneChanged);

    ASSERT_EQ(scene.LinkObjects({sample.box, sample.table}, sample.hand, 0, 4, true, true),
              UB::kOk);
    EXPECT_EQ(events.lines,
              (QStringList{"ObjectDataChanged2(Box: null -> Hand at 4)",
                           "ObjectDataChanged2(Table: null -> Hand at 4)", "HierarchyChanged",
                           "ObjectDataChanged([Box, Table], 2)"}));
    events.lines.clear();
    // A notified preview is announced, and so is taking it back.
    ASSERT_EQ(scene.UnlinkObject(sample.box, 4, false, true), UB::kOk);
    EXPECT_EQ(events.lines,
              (QStringList{"ObjectDataChanged2(Box: Hand -> null at 4)", "HierarchyChanged",
                           "ObjectDataChanged([Box], 2)", "HierarchyChanged"}));
    events.lines.clear();

    // Edits without notice tell the views, not the host.
    ASSERT_EQ(scene.LinkObjects({sample.box}, sample.arm, 2, 4, false, false), UB::kOk);
    ASSERT_EQ(scene.UnlinkObject(sample.box, 4, true, false), UB::kOk);
    ASSERT_EQ(scene.SetTransform(sample.box, 4, Placement({1, 2, 3})), UB::kOk);
    EXPECT_TRUE(events.lines.isEmpty()) << events.lines.join(QLatin1Char(',')).toStdString();
    EXPECT_EQ(changes.count(), 8);
}

TEST(SceneHostEvents, HostActionsSendTheirEvents)
{
    CSampleScene sample;
    CSceneModel& scene = sample.scene;
    CHostEventLog events(scene);
    QSignalSpy sections(&scene, &CSceneModel::SectionShowRequested);

    scene.SetSelection({sample.box, sample.robot});
    scene.SetCurrentTime(7);
    scene.Play();
    EXPECT_TRUE(scene.IsPlaying());
    scene.Stop();
    EXPECT_FALSE(scene.IsPlaying());
    scene.SetDialogMode(5);
    scene.ChangePickMode(2);
    scene.ChangePickMode(2); // no change, no event
    EXPECT_EQ(scene.SetPickMode(19), UB::kOk);
    EXPECT_EQ(scene.EndPickMode(), UB::kOk);
    EXPECT_EQ(scene.EndPickMode(), UB::kOk); // already off
    scene.SendFileLoaded(1);
    scene.SendHierarchyChanged();
    scene.SendObjectDataChanged({sample.box}, 1);
    scene.SendLinkEvent(sample.hand);
    EXPECT_EQ(scene.ShowSection(4, 0, 336), UB::kOk);

    EXPECT_EQ(
        events.lines,
        (QStringList{"ObjectSelectionChanged", "CurrentTimeChanged(7)", "Played", "Stopped",
                     "CurrentTimeChanged(7)", "DialogModeChanged(5)", "PickedModeChanged(2, 0)",
                     "PickedModeChanged(19, 2)", "PickedModeChanged(0, 19)", "FileLoaded(1)",
                     "HierarchyChanged", "ObjectDataChanged([Box], 1)",
                     "ObjectDataChanged2(Hand: Arm -> Arm at 7)"}));
    ASSERT_EQ(sections.count(), 1);
    EXPECT_EQ(sections.first(), (QVariantList{4, 0, 336}));
    EXPECT_EQ(scene.GetDialogMode(), eDialogModal);
    EXPECT_EQ(scene.GetCurrentTime(), 7);
}

TEST(SceneHostEvents, BuildingASceneSendsNoHostEvents)
{
    CSceneModel scene;
    CHostEventLog events(scene);
    UB::CHandle* object = scene.AddObject({QStringLiteral("Crate")});
    UB::CHandle* node = scene.AddNode(object, {QStringLiteral("Lid")});
    scene.SetLinkKey(node, 3, nullptr);
    scene.SetTransformKey(object, 3, Placement({1, 0, 0}));
    scene.Desc(object).linkBlocked = true;
    scene.SetOwner(node, node);
    scene.SetStandardNodeName(0, QStringLiteral("Crate"));
    scene.Clear();
    EXPECT_TRUE(events.lines.isEmpty()) << events.lines.join(QLatin1Char(',')).toStdString();
}

} // namespace
} // namespace KV::Test
