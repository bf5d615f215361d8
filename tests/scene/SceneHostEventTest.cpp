// The host events the scene sends, in order, for link edits and for what a host user does;
// and the journal of interface calls, which lists a call before what its listeners ask.

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

TEST(SceneHostEvents, HostActionsSendTheirEventsAndBuildingASceneSendsNone)
{
    CSampleScene sample;
    CSceneModel& scene = sample.scene;
    CHostEventLog events(scene);
    UB::CHandle* lid = scene.AddNode(sample.box, {QStringLiteral("Lid")});
    scene.SetLinkKey(lid, 3, nullptr);
    scene.SetTransformKey(lid, 3, Placement({1, 0, 0}));

    scene.SetSelection({sample.box, sample.robot});
    scene.SetCurrentTime(7);
    scene.Play();
    EXPECT_TRUE(scene.IsPlaying());
    scene.Stop();
    EXPECT_FALSE(scene.IsPlaying());
    scene.ChangePickMode(2);
    scene.ChangePickMode(2); // no change, no event
    EXPECT_EQ(scene.EndPickMode(), UB::kOk);
    EXPECT_EQ(scene.EndPickMode(), UB::kOk); // already off
    scene.SetDialogMode(5);
    scene.SendFileLoaded(1);
    scene.SendHierarchyChanged();
    scene.SendObjectDataChanged({sample.box}, 1);
    scene.SendLinkEvent(sample.hand);

    // Stopping settles the time and reports it, so that every view shows where it stopped.
    EXPECT_EQ(
        events.lines,
        (QStringList{"ObjectSelectionChanged", "CurrentTimeChanged(7)", "Played", "Stopped",
                     "CurrentTimeChanged(7)", "PickedModeChanged(2, 0)", "PickedModeChanged(0, 2)",
                     "DialogModeChanged(5)", "FileLoaded(1)", "HierarchyChanged",
                     "ObjectDataChanged([Box], 1)", "ObjectDataChanged2(Hand: Arm -> Arm at 7)"}));
}

TEST(SceneJournal, RecordsEachCallWithItsArgumentsBeforeWhatItsListenersAsk)
{
    CSampleScene sample;
    CSceneModel& scene = sample.scene;
    scene.SetSelection({sample.hand, sample.box}); // what a host does is not a call
    QObject listener;
    QObject::connect(scene.EventSender(), &CEventSender::HierarchyChanged, &listener,
                     [&scene] { scene.GetCurrentTime(); });

    HandleList selected;
    scene.GetSelectedObjects(selected, true);
    UB::CHandle* parent = nullptr;
    scene.GetLinkParent(sample.hand, 0, parent);
    scene.FindNodeByName(sample.robot, L"Hand");
    scene.LinkObjects({sample.box, sample.table}, sample.robot, 1, 0, true, true);

    EXPECT_EQ(scene.JournalLines(),
              (QStringList{"GetSelectedObjects(true) -> 0", "GetLinkParent(Hand, 0) -> 0",
                           "FindNodeByName(Robot, \"Hand\") -> 0",
                           "LinkObjects([Box, Table], Robot, 1, 0, true, true) -> 0",
                           "GetCurrentTime() -> 0"}));
    // Besides the code, an entry shows what the call handed back.
    EXPECT_EQ(scene.Journal().at(0).output, QStringLiteral("[Box]"));
    EXPECT_EQ(scene.Journal().at(1).output, QStringLiteral("Arm"));
    EXPECT_EQ(scene.Journal().at(2).output, QStringLiteral("Hand"));

    // Switched off, the journal records nothing.
    scene.SetJournalEnabled(false);
    scene.GetCurrentTime();
    EXPECT_EQ(scene.Journal().size(), 5);
}

} // namespace
} // namespace KV::Test
