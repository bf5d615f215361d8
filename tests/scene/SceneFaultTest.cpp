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

TEST(SceneFaults, FaultedQueriesReturnTheCodeAndLeaveOrSpoilTheirOutputs)
{
    // One query of each kind of out-value; `preset` tells whether it still holds its preset.
    using Query = std::function<UB::Result(CSampleScene&, bool& preset)>;
    const std::pair<const char*, Query> queries[] = {
        {"GetLinkParent",
         [](CSampleScene& s, bool& preset) {
             UB::CHandle* parent = nullptr;
             const UB::Result r = s.scene.GetLinkParent(s.hand, 0, parent);
             preset = parent == nullptr;
             return r;
         }},
        {"GetObjectType",
         [](CSampleScene& s, bool& preset) {
             int type = 0;
             const UB::Result r = s.scene.GetObjectType(s.box, type);
             preset = type == 0;
             return r;
         }},
        {"GetSubNodes",
         [](CSampleScene& s, bool& preset) {
             HandleList out;
             const UB::Result r = s.scene.GetSubNodes(s.robot, out);
             preset = out.IsEmpty();
             return r;
         }},
        {"GetTransform",
         [](CSampleScene& s, bool& preset) {
             TransformRecord out;
             const UB::Result r = s.scene.GetTransform(s.box, 0, out);
             preset = PositionOf(out) == QVector3D();
             return r;
         }},
        {"IsLinkDisabled",
         [](CSampleScene& s, bool& preset) {
             bool disabled = false;
             s.scene.Desc(s.box).linkDisabled = true;
             const UB::Result r = s.scene.IsLinkDisabled(s.box, disabled);
             preset = !disabled;
             return r;
         }},
    };
    for (const auto& [call, query] : queries) {
        SCOPED_TRACE(call);
        CSampleScene sample;
        bool preset = false;
        sample.scene.InjectFault(QString::fromLatin1(call), kFault, 1);
        EXPECT_EQ(query(sample, preset), UB::Result(kFault));
        EXPECT_TRUE(preset);
        EXPECT_EQ(sample.scene.Journal().last().result, kFault);
        // The one counted fault is used up.
        EXPECT_EQ(query(sample, preset), UB::kOk);
        EXPECT_FALSE(preset);

        sample.scene.InjectFault(QString::fromLatin1(call), kFault, 1, true);
        EXPECT_EQ(query(sample, preset), UB::Result(kFault));
        EXPECT_FALSE(preset) << "garbage was asked for";
    }
    // A garbage handle handed back to the scene is refused, not followed.
    CSampleScene sample;
    sample.scene.InjectFault(QStringLiteral("GetLinkParent"), kFault, 1, true);
    UB::CHandle* garbage = nullptr;
    sample.scene.GetLinkParent(sample.hand, 0, garbage);
    ASSERT_NE(garbage, nullptr);
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
    const CSceneSnapshot before = scene.Snapshot();
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

    EXPECT_TRUE(SameScene(before, scene.Snapshot()));
    EXPECT_EQ(scene.PickMode(), 2);
    EXPECT_TRUE(events.lines.isEmpty()) << events.lines.join(QLatin1Char(',')).toStdString();
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(sections.count(), 0);
    EXPECT_TRUE(scene.HotKeyCategories().first().actions.isEmpty());

    // Faults last until cleared; only calls that return a code can fail.
    scene.ClearFault(QStringLiteral("SetPickMode"));
    EXPECT_EQ(scene.SetPickMode(0), UB::kOk);
    EXPECT_EQ(scene.EndPickMode(), UB::Result(kFault));
    scene.ClearFaults();
    EXPECT_EQ(scene.EndPickMode(), UB::kOk);
    EXPECT_FALSE(CSceneModel::FaultableCalls().contains(QStringLiteral("GetObjectName")));
    scene.InjectFault(QStringLiteral("GetObjectName"), kFault);
    EXPECT_EQ(scene.GetObjectName(sample.box), L"Box");
}

} // namespace
} // namespace KV::Test
