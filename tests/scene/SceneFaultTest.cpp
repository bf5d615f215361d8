// Injected faults: the chosen code comes back, out-values stay as the caller preset them (or
// get garbage when asked), edits change nothing, and counted faults run out.

#include "SceneTestSupport.h"

#include <QAction>
#include <QSignalSpy>
#include <QUndoStack>

#include <functional>

namespace KV::Test {
namespace {

constexpr int kFault = -7;

/// Makes one query with preset out-values; `untouched` tells whether they are still preset.
using Query = std::function<UB::Result(CSampleScene&, bool& untouched)>;

struct CQueryCase
{
    const char* call;
    Query query;
};

std::vector<CQueryCase> Queries()
{
    return {
        {"GetSelectedObjects",
         [](CSampleScene& s, bool& untouched) {
             HandleList out;
             const UB::Result r = s.scene.GetSelectedObjects(out, true);
             untouched = out.IsEmpty();
             return r;
         }},
        {"GetLinkParent",
         [](CSampleScene& s, bool& untouched) {
             UB::CHandle* parent = nullptr;
             const UB::Result r = s.scene.GetLinkParent(s.hand, 0, parent);
             untouched = parent == nullptr;
             return r;
         }},
        {"GetObjectType",
         [](CSampleScene& s, bool& untouched) {
             int type = 0;
             const UB::Result r = s.scene.GetObjectType(s.box, type);
             untouched = type == 0;
             return r;
         }},
        {"GetNodeKind",
         [](CSampleScene& s, bool& untouched) {
             int kind = 0;
             const UB::Result r = s.scene.GetNodeKind(s.hand, kind);
             untouched = kind == 0;
             return r;
         }},
        {"GetChildNodes",
         [](CSampleScene& s, bool& untouched) {
             HandleList out;
             const UB::Result r = s.scene.GetChildNodes(s.robot, out);
             untouched = out.IsEmpty();
             return r;
         }},
        {"GetSubNodes",
         [](CSampleScene& s, bool& untouched) {
             HandleList out;
             const UB::Result r = s.scene.GetSubNodes(s.robot, out);
             untouched = out.IsEmpty();
             return r;
         }},
        {"GetNodeOwner",
         [](CSampleScene& s, bool& untouched) {
             UB::CHandle* owner = nullptr;
             const UB::Result r = s.scene.GetNodeOwner(s.hand, owner);
             untouched = owner == nullptr;
             return r;
         }},
        {"GetOwnerRoot",
         [](CSampleScene& s, bool& untouched) {
             UB::CHandle* root = nullptr;
             const UB::Result r = s.scene.GetOwnerRoot(s.hand, root);
             untouched = root == nullptr;
             return r;
         }},
        {"GetTransform",
         [](CSampleScene& s, bool& untouched) {
             TransformRecord out;
             const UB::Result r = s.scene.GetTransform(s.box, 0, out);
             untouched = PositionOf(out) == QVector3D();
             return r;
         }},
        {"IsLinkDisabled",
         [](CSampleScene& s, bool& untouched) {
             bool disabled = false;
             s.scene.Desc(s.box).linkDisabled = true;
             const UB::Result r = s.scene.IsLinkDisabled(s.box, disabled);
             untouched = !disabled;
             return r;
         }},
    };
}

TEST(SceneFaults, FaultedQueriesReturnTheCodeAndLeaveOutputsAlone)
{
    for (const CQueryCase& c : Queries()) {
        SCOPED_TRACE(c.call);
        CSampleScene sample;
        sample.scene.SetSelection({sample.box});
        sample.scene.InjectFault(QString::fromLatin1(c.call), kFault, 1);
        bool untouched = false;

        EXPECT_EQ(c.query(sample, untouched), UB::Result(kFault));
        EXPECT_TRUE(untouched);
        EXPECT_EQ(sample.scene.Journal().last().call, QString::fromLatin1(c.call));
        EXPECT_EQ(sample.scene.Journal().last().result, kFault);

        // The one counted fault is used up: the next call answers.
        EXPECT_EQ(c.query(sample, untouched), UB::kOk);
        EXPECT_FALSE(untouched);
    }
}

TEST(SceneFaults, FaultsThatTouchOutputsWriteGarbageTheSceneRefuses)
{
    for (const CQueryCase& c : Queries()) {
        SCOPED_TRACE(c.call);
        CSampleScene sample;
        sample.scene.InjectFault(QString::fromLatin1(c.call), kFault, 1, true);
        bool untouched = true;
        EXPECT_EQ(c.query(sample, untouched), UB::Result(kFault));
        EXPECT_FALSE(untouched);
    }
    // A garbage handle handed back to the scene is refused, not followed.
    CSampleScene sample;
    sample.scene.InjectFault(QStringLiteral("GetLinkParent"), kFault, 1, true);
    UB::CHandle* garbage = nullptr;
    sample.scene.GetLinkParent(sample.hand, 0, garbage);
    ASSERT_NE(garbage, nullptr);
    int type = 0;
    EXPECT_EQ(sample.scene.GetObjectType(garbage, type), CSceneModel::kInvalidHandle);
    EXPECT_EQ(sample.scene.LinkObjects({sample.box}, garbage, 0, 0, true, true),
              CSceneModel::kInvalidHandle);
}

TEST(SceneFaults, FaultedEditsChangeNothing)
{
    CSampleScene sample;
    CSceneModel& scene = sample.scene;
    ASSERT_EQ(scene.LinkObjects({sample.camera}, sample.table, 0, 0, true, true), UB::kOk);
    for (const char* call : {"LinkObjects", "UnlinkObject", "SetTransform", "SetPickMode",
                             "EndPickMode", "ShowSection", "RegisterHotKeyAction"}) {
        scene.InjectFault(QString::fromLatin1(call), kFault);
    }
    scene.ChangePickMode(2);
    const QByteArray before = scene.ToJson();
    CHostEventLog events(scene);
    QSignalSpy changes(&scene, &CSceneModel::SceneChanged);
    QSignalSpy sections(&scene, &CSceneModel::SectionShowRequested);
    QAction action;
    std::vector<QStringList> conflicts;
    const std::uint64_t category = scene.RegisterHotKeyCategory({L"Keys"}, L"Test");

    EXPECT_EQ(scene.LinkObjects({sample.box}, sample.hand, 2, 0, true, true), UB::Result(kFault));
    EXPECT_EQ(scene.UnlinkObject(sample.camera, 0, true, true), UB::Result(kFault));
    EXPECT_EQ(scene.SetTransform(sample.box, 0, Placement({9, 9, 9})), UB::Result(kFault));
    EXPECT_EQ(scene.SetPickMode(0), UB::Result(kFault));
    EXPECT_EQ(scene.EndPickMode(), UB::Result(kFault));
    EXPECT_EQ(scene.ShowSection(4, 0, 336), UB::Result(kFault));
    EXPECT_EQ(scene.RegisterHotKeyAction(category, &action, nullptr, nullptr, conflicts, 0),
              UB::Result(kFault));

    EXPECT_EQ(scene.ToJson(), before);
    EXPECT_EQ(scene.UndoStack()->count(), 1);
    EXPECT_EQ(scene.PickMode(), 2);
    EXPECT_TRUE(events.lines.isEmpty()) << events.lines.join(QLatin1Char(',')).toStdString();
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(sections.count(), 0);
    EXPECT_TRUE(scene.HotKeyCategories().first().actions.isEmpty());
    EXPECT_EQ(scene.JournalLines({QStringLiteral("ShowSection")}),
              (QStringList{"ShowSection(4, 0, 336) -> -7"}));
}

TEST(SceneFaults, CountedFaultsRunOutAndClearedFaultsStop)
{
    CSampleScene sample;
    CSceneModel& scene = sample.scene;
    int type = 0;
    scene.InjectFault(QStringLiteral("GetObjectType"), kFault, 2);
    EXPECT_EQ(scene.GetObjectType(sample.box, type), UB::Result(kFault));
    EXPECT_EQ(scene.GetObjectType(sample.box, type), UB::Result(kFault));
    EXPECT_EQ(scene.GetObjectType(sample.box, type), UB::kOk);

    scene.InjectFault(QStringLiteral("GetObjectType"), kFault);
    scene.InjectFault(QStringLiteral("GetNodeKind"), -9);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(scene.GetObjectType(sample.box, type), UB::Result(kFault));
    scene.ClearFault(QStringLiteral("GetObjectType"));
    EXPECT_EQ(scene.GetObjectType(sample.box, type), UB::kOk);
    EXPECT_EQ(scene.GetNodeKind(sample.hand, type), UB::Result(-9));
    scene.ClearFaults();
    EXPECT_EQ(scene.GetNodeKind(sample.hand, type), UB::kOk);

    // Only calls that return a code can fail; any other name is ignored.
    EXPECT_EQ(CSceneModel::FaultableCalls().size(), 17);
    EXPECT_FALSE(CSceneModel::FaultableCalls().contains(QStringLiteral("GetObjectName")));
    scene.InjectFault(QStringLiteral("GetObjectName"), kFault);
    EXPECT_EQ(scene.GetObjectName(sample.box), L"Box");
}

} // namespace
} // namespace KV::Test
