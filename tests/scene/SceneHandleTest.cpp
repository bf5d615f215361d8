// Handles, structure and failures: bad handles are refused without harm, structure queries
// answer in order, hot keys are filed as a host files them, and injected faults return their
// code, leave or spoil the out-values as asked, change nothing and run out when counted.

#include "SceneTestSupport.h"

#include <QAction>

namespace KV::Test {
namespace {

TEST(SceneHandles, NullUnknownAndDeletedHandlesAreRefusedWithoutHarm)
{
    CSampleScene sample;
    CSceneModel& scene = sample.scene;
    CSceneModel other;
    UB::CHandle* foreign = other.AddObject({QStringLiteral("Stray")});
    UB::CHandle* deleted = scene.AddNode(sample.box, {QStringLiteral("Lid")});
    scene.DeleteNodes({deleted});

    const CSceneSnapshot before = scene.Snapshot();
    for (UB::CHandle* bad : {static_cast<UB::CHandle*>(nullptr), deleted, foreign}) {
        SCOPED_TRACE(bad == nullptr ? "null" : bad == deleted ? "deleted" : "unknown");
        int number = 42;
        bool flag = true;
        UB::CHandle* handle = sample.table;
        HandleList list{sample.table};
        TransformRecord record = Placement({5, 5, 5});
        const UB::Result invalid = CSceneModel::kInvalidHandle;

        EXPECT_EQ(scene.GetObjectType(bad, number), invalid);
        EXPECT_EQ(scene.IsLinkDisabled(bad, flag), invalid);
        EXPECT_EQ(scene.GetSubNodes(bad, list), invalid);
        EXPECT_EQ(scene.GetNodeOwner(bad, handle), invalid);
        EXPECT_EQ(scene.GetLinkParent(bad, 0, handle), invalid);
        EXPECT_EQ(scene.GetTransform(bad, 0, record), invalid);
        EXPECT_EQ(number, 42);
        EXPECT_TRUE(flag);
        EXPECT_EQ(handle, sample.table);
        EXPECT_EQ(list, (HandleList{sample.table}));
        EXPECT_TRUE(Near(Position(record), {5, 5, 5}));

        EXPECT_EQ(scene.GetObjectName(bad), std::wstring());
        EXPECT_EQ(scene.FindNodeByName(bad, L"Hand"), nullptr);
        EXPECT_FALSE(scene.IsLinkBlocked(bad));
        EXPECT_EQ(scene.SetTransform(bad, 0, record), invalid);
        EXPECT_EQ(scene.UnlinkObject(bad, 0, true, true), invalid);
        EXPECT_EQ(scene.LinkObjects({bad}, sample.table, 0, 0, true, true), invalid);
        // What builds a scene, or acts as its user, ignores them as well.
        EXPECT_EQ(scene.AddNode(bad, {QStringLiteral("Orphan")}), nullptr);
        scene.SetLinkKey(bad, 0, sample.table);
        scene.SetLinkKey(sample.box, 0, bad == nullptr ? sample.box : bad);
        scene.SetTransformKey(bad, 0, record);
        scene.SendLinkEvent(bad);
        scene.SetSelection({bad});
        EXPECT_TRUE(scene.Selection().isEmpty());
    }
    EXPECT_TRUE(SameScene(before, scene.Snapshot()));
}

TEST(SceneHandles, StructureQueriesAnswerInOrder)
{
    //   Robot
    //     Arm
    //       Hand
    //         Grip        (depth 3)
    //     Grip            (depth 1, added later)
    CSampleScene sample;
    CSceneModel& scene = sample.scene;
    UB::CHandle* deepGrip = scene.AddNode(sample.hand, {QStringLiteral("Grip")});
    UB::CHandle* shallowGrip = scene.AddNode(sample.robot, {QStringLiteral("Grip")});

    HandleList children{sample.box}; // replaced, not added to
    EXPECT_EQ(scene.GetChildNodes(sample.robot, children), UB::kOk);
    EXPECT_EQ(children, (HandleList{sample.arm, shallowGrip}));

    // Depth-first in child order, strictly below the node asked about.
    EXPECT_EQ(scene.FindNodeByName(sample.robot, L"Grip"), deepGrip);
    EXPECT_EQ(scene.FindNodeByName(sample.robot, L"Robot"), nullptr);

    UB::CHandle* owner = nullptr;
    UB::CHandle* root = nullptr;
    EXPECT_EQ(scene.GetNodeOwner(deepGrip, owner), UB::kOk);
    EXPECT_EQ(scene.GetOwnerRoot(deepGrip, root), UB::kOk);
    EXPECT_EQ(owner, sample.robot);
    EXPECT_EQ(root, sample.robot);

    // Only top-level objects when asked for them, in selection order.
    scene.SetSelection({sample.hand, sample.box, sample.robot});
    HandleList selected;
    EXPECT_EQ(scene.GetSelectedObjects(selected, true), UB::kOk);
    EXPECT_EQ(selected, (HandleList{sample.box, sample.robot}));
    EXPECT_EQ(scene.GetSelectedObjects(selected, false), UB::kOk);
    EXPECT_EQ(selected, (HandleList{sample.hand, sample.box, sample.robot}));

    EXPECT_EQ(scene.GetStandardNodeName(56), L"Grip_R");
    EXPECT_EQ(scene.GetStandardNodeName(1), std::wstring());
}

TEST(SceneHandles, HotKeysAreFiledByCategoryAndATakenKeyIsReported)
{
    CSceneModel scene;
    const std::vector<std::wstring> path = {L"[Hot Key] Modify", L"[Hot Key] Linkage"};
    const std::uint64_t plugin = scene.RegisterHotKeyCategory(path, L"KVLinkagePlugin");
    EXPECT_EQ(scene.RegisterHotKeyCategory(path, L"KVLinkagePlugin"), plugin);
    const std::uint64_t section = scene.RegisterHotKeyCategory(path, L"KVLinkageSection");
    EXPECT_NE(section, plugin);
    EXPECT_NE(scene.RegisterHotKeyCategory({L"[Hot Key] Modify"}, L"KVLinkagePlugin"), plugin);

    QAction link;
    link.setObjectName(QStringLiteral("qtLinkAction"));
    link.setShortcut(QKeySequence(QStringLiteral("Ctrl+L")));
    QAction esc;
    esc.setShortcuts({QKeySequence(QStringLiteral("Esc")), QKeySequence(QStringLiteral("Ctrl+L"))});
    std::vector<QStringList> conflicts;
    EXPECT_EQ(scene.RegisterHotKeyAction(plugin, &link, nullptr, nullptr, conflicts, 0), UB::kOk);
    EXPECT_EQ(scene.RegisterHotKeyAction(section, &esc, nullptr, nullptr, conflicts, 0), UB::kOk);
    EXPECT_EQ(conflicts, (std::vector<QStringList>{{"Ctrl+L", "qtLinkAction"}}));
    EXPECT_TRUE(link.shortcut().isEmpty());
    // No action, or a category handle cut to 32 bits, files nothing.
    EXPECT_TRUE(
        scene.RegisterHotKeyAction(plugin, nullptr, nullptr, nullptr, conflicts, 0).IsFailed());
    EXPECT_TRUE(
        scene.RegisterHotKeyAction(plugin & 0xFFFFFFFFull, &link, nullptr, nullptr, conflicts, 0)
            .IsFailed());
    ASSERT_EQ(scene.HotKeyCategories().size(), 3);
    EXPECT_EQ(scene.HotKeyCategories()[0].actions, (QVector<QPointer<QAction>>{&link}));
    EXPECT_EQ(scene.HotKeyCategories()[1].actions, (QVector<QPointer<QAction>>{&esc}));
}

TEST(SceneHandles, ClearEmptiesTheSceneQuietly)
{
    CSampleScene sample;
    CSceneModel& scene = sample.scene;
    scene.ChangePickMode(2);
    scene.SetDialogMode(9);
    scene.Play();
    ASSERT_EQ(scene.LinkObjects({sample.box}, sample.table, 0, 0, true, true), UB::kOk);
    CHostEventLog events(scene);

    scene.Clear();

    EXPECT_TRUE(SameScene(CSceneModel().Snapshot(), scene.Snapshot()));
    EXPECT_TRUE(events.lines.isEmpty()) << events.lines.join(QLatin1Char(',')).toStdString();
    EXPECT_EQ(scene.GetPickMode(), ePickNone);
    EXPECT_EQ(scene.GetDialogMode(), eDialogNone);
    EXPECT_FALSE(scene.IsPlaying());
}

constexpr int kFault = -7;

TEST(SceneFaults, FaultedQueriesReturnTheCodeAndLeaveOrSpoilTheirOutputs)
{
    CSampleScene sample;
    CSceneModel& scene = sample.scene;
    UB::CHandle* parent = nullptr;
    HandleList nodes;
    TransformRecord record = Placement({5, 5, 5});
    int type = 0;
    bool disabled = false;
    const auto query = [&] {
        return QVector<int>{scene.GetLinkParent(sample.hand, 0, parent).code,
                            scene.GetSubNodes(sample.robot, nodes).code,
                            scene.GetTransform(sample.box, 0, record).code,
                            scene.GetObjectType(sample.box, type).code,
                            scene.IsLinkDisabled(sample.box, disabled).code};
    };
    const QStringList calls = {"GetLinkParent", "GetSubNodes", "GetTransform", "GetObjectType",
                               "IsLinkDisabled"};
    const QVector<int> faulted(calls.size(), kFault);
    for (const QString& call : calls)
        scene.InjectFault(call, kFault, 1);
    EXPECT_EQ(query(), faulted);
    EXPECT_EQ(parent, nullptr);
    EXPECT_TRUE(nodes.IsEmpty());
    EXPECT_TRUE(SameTransform(Placement({5, 5, 5}), record));
    EXPECT_EQ(type, 0);
    EXPECT_FALSE(disabled);
    // The counted faults are used up.
    EXPECT_EQ(query(), QVector<int>(calls.size(), 0));
    EXPECT_EQ(parent, sample.arm);
    EXPECT_EQ(nodes, (HandleList{sample.arm}));
    EXPECT_EQ(type, 1);

    // Asked for, garbage comes back; a garbage handle handed back to the scene is refused.
    for (const QString& call : calls)
        scene.InjectFault(call, kFault, 1, true);
    parent = nullptr;
    nodes.Clear();
    EXPECT_EQ(query(), faulted);
    ASSERT_NE(parent, nullptr);
    EXPECT_EQ(nodes.GetCount(), 1);
    EXPECT_FALSE(TransformMath::IsUsable(record));
    EXPECT_NE(type, 1);
    EXPECT_TRUE(disabled);
    EXPECT_EQ(scene.LinkObjects({sample.box}, parent, 0, 0, true, true),
              CSceneModel::kInvalidHandle);
}

TEST(SceneFaults, FaultedEditsChangeNothingUntilCleared)
{
    CSampleScene sample;
    CSceneModel& scene = sample.scene;
    ASSERT_EQ(scene.LinkObjects({sample.camera}, sample.table, 0, 0, true, true), UB::kOk);
    for (const char* call :
         {"LinkObjects", "UnlinkObject", "SetTransform", "SetPickMode", "EndPickMode"})
        scene.InjectFault(QString::fromLatin1(call), kFault);
    scene.ChangePickMode(2);
    const CSceneSnapshot before = scene.Snapshot();
    CHostEventLog events(scene);

    EXPECT_EQ(scene.LinkObjects({sample.box}, sample.hand, 2, 0, true, true), UB::Result(kFault));
    EXPECT_EQ(scene.UnlinkObject(sample.camera, 0, true, true), UB::Result(kFault));
    EXPECT_EQ(scene.SetTransform(sample.box, 0, Placement({9, 9, 9})), UB::Result(kFault));
    EXPECT_EQ(scene.SetPickMode(0), UB::Result(kFault));
    EXPECT_EQ(scene.EndPickMode(), UB::Result(kFault));

    EXPECT_TRUE(SameScene(before, scene.Snapshot()));
    EXPECT_EQ(scene.PickMode(), 2);
    EXPECT_TRUE(events.lines.isEmpty()) << events.lines.join(QLatin1Char(',')).toStdString();

    // Faults last until cleared; only calls that return a code can fail.
    scene.ClearFault(QStringLiteral("SetPickMode"));
    EXPECT_EQ(scene.SetPickMode(0), UB::kOk);
    EXPECT_EQ(scene.EndPickMode(), UB::Result(kFault));
    scene.ClearFaults();
    EXPECT_EQ(scene.EndPickMode(), UB::kOk);
    scene.InjectFault(QStringLiteral("GetObjectName"), kFault);
    EXPECT_EQ(scene.GetObjectName(sample.box), L"Box");
}

} // namespace
} // namespace KV::Test
