// Handles and the scene's structure: bad handles are refused without harm, structure queries
// answer in order, and the scene's tables (standard names, hot keys) behave as a host's.

#include "SceneTestSupport.h"

#include <QAction>
#include <QUndoStack>

namespace KV::Test {
namespace {

class CForeignHandle : public UB::CHandle
{
public:
    void AddRef() override {}
    void Release() override {}
};

TEST(SceneHandles, NullUnknownAndDeletedHandlesAreRefusedWithoutHarm)
{
    CSampleScene sample;
    CSceneModel& scene = sample.scene;
    CForeignHandle foreign;
    UB::CHandle* deleted = scene.AddNode(sample.box, {QStringLiteral("Lid")});
    scene.DeleteNodes({deleted});

    const QByteArray before = scene.ToJson();
    const int steps = scene.UndoStack()->count();
    for (UB::CHandle* bad :
         {static_cast<UB::CHandle*>(nullptr), static_cast<UB::CHandle*>(&foreign), deleted}) {
        SCOPED_TRACE(scene.Contains(bad) ? "?" : bad ? "unknown" : "null");
        int number = 42;
        bool flag = true;
        UB::CHandle* handle = sample.table;
        HandleList list{sample.table};
        TransformRecord record = Placement({5, 5, 5});
        const UB::Result invalid = CSceneModel::kInvalidHandle;

        EXPECT_EQ(scene.GetObjectType(bad, number), invalid);
        EXPECT_EQ(scene.GetNodeKind(bad, number), invalid);
        EXPECT_EQ(scene.IsLinkDisabled(bad, flag), invalid);
        EXPECT_EQ(scene.GetChildNodes(bad, list), invalid);
        EXPECT_EQ(scene.GetSubNodes(bad, list), invalid);
        EXPECT_EQ(scene.GetNodeOwner(bad, handle), invalid);
        EXPECT_EQ(scene.GetOwnerRoot(bad, handle), invalid);
        EXPECT_EQ(scene.GetLinkParent(bad, 0, handle), invalid);
        EXPECT_EQ(scene.GetTransform(bad, 0, record), invalid);
        EXPECT_EQ(number, 42);
        EXPECT_TRUE(flag);
        EXPECT_EQ(handle, sample.table);
        EXPECT_EQ(list, (HandleList{sample.table}));
        EXPECT_TRUE(Near(PositionOf(record), {5, 5, 5}));

        EXPECT_EQ(scene.GetObjectName(bad), std::wstring());
        EXPECT_EQ(scene.FindNodeByName(bad, L"Hand"), nullptr);
        EXPECT_FALSE(scene.IsLinkableNode(bad));
        EXPECT_FALSE(scene.IsSubNodeLinkExcluded(bad));
        EXPECT_FALSE(scene.IsLinkBlocked(bad));
        EXPECT_EQ(scene.SetTransform(bad, 0, record), invalid);
        EXPECT_EQ(scene.UnlinkObject(bad, 0, true, true), invalid);
        EXPECT_EQ(scene.LinkObjects({bad}, sample.table, 0, 0, true, true), invalid);

        EXPECT_EQ(scene.AddNode(bad, {QStringLiteral("Orphan")}), nullptr);
        scene.Desc(bad).name = QStringLiteral("Renamed"); // lands nowhere
        scene.SetLinkKey(bad, 0, sample.table);
        scene.SetLinkKey(sample.box, 0, bad == nullptr ? sample.box : bad);
        scene.SetTransformKey(bad, 0, record);
        scene.SetOwner(sample.box, bad == nullptr ? &foreign : bad);
        scene.SendLinkEvent(bad);
        scene.SetSelection({bad});
        EXPECT_TRUE(scene.Selection().isEmpty());
        EXPECT_EQ(scene.Name(bad), QString());
        EXPECT_EQ(scene.StructuralParent(bad), nullptr);
    }
    EXPECT_EQ(scene.ToJson(), before);
    EXPECT_EQ(scene.UndoStack()->count(), steps);
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

    HandleList children;
    EXPECT_EQ(scene.GetChildNodes(sample.robot, children), UB::kOk);
    EXPECT_EQ(children, (HandleList{sample.arm, shallowGrip}));
    HandleList subNodes;
    EXPECT_EQ(scene.GetSubNodes(sample.robot, subNodes), UB::kOk);
    EXPECT_EQ(subNodes, children);

    // Depth-first in child order, strictly below the node asked about.
    EXPECT_EQ(scene.FindNodeByName(sample.robot, L"Grip"), deepGrip);
    EXPECT_EQ(scene.FindNodeByName(sample.robot, L"Robot"), nullptr);
    EXPECT_EQ(scene.FindNodeByName(sample.arm, L"Hand"), sample.hand);

    UB::CHandle* owner = nullptr;
    UB::CHandle* root = nullptr;
    EXPECT_EQ(scene.GetNodeOwner(deepGrip, owner), UB::kOk);
    EXPECT_EQ(scene.GetOwnerRoot(deepGrip, root), UB::kOk);
    EXPECT_EQ(owner, sample.robot);
    EXPECT_EQ(root, sample.robot);
    scene.SetOwner(sample.hand, sample.arm);
    scene.SetOwnerRoot(sample.hand, sample.table);
    EXPECT_EQ(scene.GetNodeOwner(sample.hand, owner), UB::kOk);
    EXPECT_EQ(scene.GetOwnerRoot(sample.hand, root), UB::kOk);
    EXPECT_EQ(owner, sample.arm);
    EXPECT_EQ(root, sample.table);

    // Only top-level objects when asked for them, in selection order.
    scene.SetSelection({sample.hand, sample.box, sample.robot});
    HandleList selected;
    EXPECT_EQ(scene.GetSelectedObjects(selected, true), UB::kOk);
    EXPECT_EQ(selected, (HandleList{sample.box, sample.robot}));
    EXPECT_EQ(scene.GetSelectedObjects(selected, false), UB::kOk);
    EXPECT_EQ(selected, (HandleList{sample.hand, sample.box, sample.robot}));

    EXPECT_EQ(scene.GetObjectName(sample.arm), L"Arm");
    int type = 0;
    EXPECT_EQ(scene.GetObjectType(sample.camera, type), UB::kOk);
    EXPECT_EQ(type, 41);
    EXPECT_EQ(scene.GetCurrentCamera(), sample.camera);
}

TEST(SceneHandles, StandardNamesHaveDefaultsAndCanBeChanged)
{
    CSceneModel scene;
    const QMap<int, std::wstring> defaults = {{0, L"Body"},      {55, L"Grip_L"},
                                              {56, L"Grip_R"},   {57, L"Grip_Back"},
                                              {58, L"Skeleton"}, {59, L"Gizmos"}};
    for (auto it = defaults.cbegin(); it != defaults.cend(); ++it)
        EXPECT_EQ(scene.GetStandardNodeName(it.key()), it.value());
    EXPECT_EQ(scene.GetStandardNodeName(1), std::wstring());

    scene.SetStandardNodeName(58, QStringLiteral("Bones"));
    EXPECT_EQ(scene.GetStandardNodeName(58), L"Bones");
    scene.Clear();
    EXPECT_EQ(scene.GetStandardNodeName(58), L"Skeleton");
}

TEST(SceneHandles, HotKeyCategoriesAndActions)
{
    CSceneModel scene;
    const std::vector<std::wstring> path = {L"[Hot Key] Modify", L"[Hot Key] Linkage"};
    const std::uint64_t plugin = scene.RegisterHotKeyCategory(path, L"KVLinkagePlugin");
    EXPECT_NE(plugin, 0u);
    EXPECT_GT(plugin, 0xFFFFFFFFull); // a handle cut to 32 bits would not be found again
    EXPECT_EQ(scene.RegisterHotKeyCategory(path, L"KVLinkagePlugin"), plugin);
    const std::uint64_t section = scene.RegisterHotKeyCategory(path, L"KVLinkageSection");
    EXPECT_NE(section, plugin);
    EXPECT_NE(scene.RegisterHotKeyCategory({L"[Hot Key] Modify"}, L"KVLinkagePlugin"), plugin);

    QAction link;
    link.setObjectName(QStringLiteral("qtLinkAction"));
    link.setShortcut(QKeySequence(QStringLiteral("Ctrl+L")));
    QAction esc;
    esc.setObjectName(QStringLiteral("qtEscHotkey"));
    esc.setShortcuts({QKeySequence(QStringLiteral("Esc")), QKeySequence(QStringLiteral("Ctrl+L"))});
    std::vector<QStringList> conflicts;
    EXPECT_EQ(scene.RegisterHotKeyAction(plugin, &link, nullptr, nullptr, conflicts, 0), UB::kOk);
    EXPECT_TRUE(conflicts.empty());
    EXPECT_EQ(scene.RegisterHotKeyAction(section, &esc, nullptr, nullptr, conflicts, 0), UB::kOk);
    ASSERT_EQ(conflicts.size(), 1u);
    EXPECT_EQ(conflicts[0], (QStringList{"Ctrl+L", "qtLinkAction"}));
    EXPECT_TRUE(link.shortcut().isEmpty());

    EXPECT_TRUE(
        scene.RegisterHotKeyAction(plugin, nullptr, nullptr, nullptr, conflicts, 0).IsFailed());
    EXPECT_TRUE(
        scene.RegisterHotKeyAction(plugin & 0xFFFFFFFFull, &link, nullptr, nullptr, conflicts, 0)
            .IsFailed());

    const QVector<CHotKeyCategory>& categories = scene.HotKeyCategories();
    ASSERT_EQ(categories.size(), 3);
    EXPECT_EQ(categories[0].path, (QStringList{"[Hot Key] Modify", "[Hot Key] Linkage"}));
    EXPECT_EQ(categories[0].owner, QStringLiteral("KVLinkagePlugin"));
    ASSERT_EQ(categories[0].actions.size(), 1);
    EXPECT_EQ(categories[0].actions[0], &link);
    EXPECT_EQ(categories[1].actions.size(), 1);
}

TEST(SceneHandles, ClearEmptiesTheScene)
{
    CSampleScene sample;
    CSceneModel& scene = sample.scene;
    scene.SetSelection({sample.box});
    scene.SetCurrentTime(30);
    scene.ChangePickMode(2);
    scene.SetDialogMode(9);
    scene.Play();
    ASSERT_EQ(scene.LinkObjects({sample.box}, sample.table, 0, 0, true, true), UB::kOk);

    scene.Clear();

    EXPECT_TRUE(scene.AllNodes().isEmpty());
    EXPECT_FALSE(scene.Contains(sample.box));
    EXPECT_TRUE(scene.Selection().isEmpty());
    EXPECT_EQ(scene.GetCurrentCamera(), nullptr);
    EXPECT_EQ(scene.GetCurrentTime(), 0);
    EXPECT_EQ(scene.GetPickMode(), ePickNone);
    EXPECT_EQ(scene.GetDialogMode(), eDialogNone);
    EXPECT_FALSE(scene.IsPlaying());
    EXPECT_EQ(scene.UndoStack()->count(), 0);
}

} // namespace
} // namespace KV::Test
