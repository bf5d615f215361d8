// The journal of interface calls: what it records, how it renders arguments, and that it
// records nothing while switched off.

#include "SceneTestSupport.h"

#include <QSignalSpy>

namespace KV::Test {
namespace {

TEST(SceneJournal, RecordsEveryInterfaceCallWithItsArgumentsInOrder)
{
    CSampleScene sample;
    CSceneModel& scene = sample.scene;
    scene.SetSelection({sample.hand, sample.box}); // what a host does is not a call
    QSignalSpy appended(&scene, &CSceneModel::JournalAppended);

    scene.GetSceneManager();
    scene.GetCurrentTime();
    HandleList selected;
    scene.GetSelectedObjects(selected, true);
    UB::CHandle* parent = nullptr;
    scene.GetLinkParent(sample.hand, 0, parent);
    scene.GetObjectName(sample.arm);
    scene.FindNodeByName(sample.robot, L"Hand");
    scene.SetTransform(sample.box, 0, Placement({1, 2.5f, 3}));
    scene.LinkObjects({sample.box, sample.table}, sample.robot, 1, 0, true, false);
    scene.UnlinkObject(sample.box, 0, false, true);
    int type = 0;
    scene.GetObjectType(nullptr, type);
    scene.SetPickMode(2);
    scene.RegisterHotKeyCategory({L"[Hot Key] Modify", L"[Hot Key] Linkage"}, L"KVLinkagePlugin");

    const QString invalid = QString::number(CSceneModel::kInvalidHandle.code);
    EXPECT_EQ(scene.JournalLines(),
              (QStringList{"GetSceneManager() -> 0", "GetCurrentTime() -> 0",
                           "GetSelectedObjects(true) -> 0", "GetLinkParent(Hand, 0) -> 0",
                           "GetObjectName(Arm) -> 0", "FindNodeByName(Robot, \"Hand\") -> 0",
                           "SetTransform(Box, 0, T(1,2.5,3)) -> 0",
                           "LinkObjects([Box, Table], Robot, 1, 0, true, false) -> 0",
                           "UnlinkObject(Box, 0, false, true) -> 0",
                           "GetObjectType(null) -> " + invalid, "SetPickMode(2) -> 0",
                           "RegisterHotKeyCategory(\"[Hot Key] Modify/[Hot Key] Linkage\", "
                           "\"KVLinkagePlugin\") -> 0"}));
    EXPECT_EQ(appended.count(), scene.Journal().size());
    // Besides the code, an entry shows what the call handed back.
    EXPECT_EQ(scene.Journal().at(2).output, QStringLiteral("[Box]"));
    EXPECT_EQ(scene.Journal().at(3).output, QStringLiteral("Arm"));
    EXPECT_EQ(scene.Journal().at(5).output, QStringLiteral("Hand"));

    EXPECT_EQ(scene.JournalLines({QStringLiteral("GetLinkParent"), QStringLiteral("SetPickMode")}),
              (QStringList{"GetLinkParent(Hand, 0) -> 0", "SetPickMode(2) -> 0"}));
    scene.ClearJournal();
    EXPECT_TRUE(scene.JournalLines().isEmpty());

    // Switched off, the journal records nothing, and the calls still work.
    scene.SetJournalEnabled(false);
    scene.GetLinkParent(sample.hand, 0, parent);
    EXPECT_TRUE(scene.Journal().isEmpty());
    EXPECT_EQ(parent, sample.arm);
}

TEST(SceneJournal, ACallComesBeforeWhatItsListenersAsk)
{
    CSampleScene sample;
    CSceneModel& scene = sample.scene;
    QObject listener;
    QObject::connect(scene.EventSender(), &CEventSender::HierarchyChanged, &listener,
                     [&scene] { scene.GetCurrentTime(); });
    QObject::connect(scene.EventSender(), &CEventSender::PickedModeChanged, &listener,
                     [&scene] { scene.GetPickMode(); });

    scene.LinkObjects({sample.box}, sample.table, 0, 0, true, true);
    scene.EndPickMode(); // pick mode already 0: no event, no listener call
    scene.SetPickMode(2);

    EXPECT_EQ(scene.JournalLines(), (QStringList{"LinkObjects([Box], Table, 0, 0, true, true) -> 0",
                                                 "GetCurrentTime() -> 0", "EndPickMode() -> 0",
                                                 "SetPickMode(2) -> 0", "GetPickMode() -> 0"}));
}

} // namespace
} // namespace KV::Test
