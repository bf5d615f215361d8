// Linking and unlinking through the link manager: where the objects end up, and the links the
// scene refuses.

#include "SceneTestSupport.h"

#include <QSignalSpy>
#include <QUndoStack>

namespace KV::Test {
namespace {

const QQuaternion kTilt = QQuaternion::fromAxisAndAngle(1, 0, 0, 30);

TEST(SceneLink, AlignModesPlaceTheObjectRelativeToTheTarget)
{
    // The box stands at (0, 0, 3), tilted 30° about X and scaled 2; the hand is at (0, 8, 0),
    // turned 90° about Z.
    const struct
    {
        int align;
        QVector3D position;
        QQuaternion rotation;
    } cases[] = {{0, {0, 0, 3}, kTilt},
                 {1, {0, 8, 0}, kTilt},
                 {2, {0, 8, 0}, QQuaternion::fromAxisAndAngle(0, 0, 1, 90)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.align);
        CSampleScene sample;
        CSceneModel& scene = sample.scene;
        scene.SetTransformKey(sample.box, 0, Placement({0, 0, 3}, kTilt, {2, 2, 2}));

        ASSERT_EQ(scene.LinkObjects({sample.box}, sample.hand, c.align, 0, true, true), UB::kOk);

        EXPECT_EQ(scene.LinkParentAt(sample.box, 0), sample.hand);
        const TransformRecord world = scene.WorldTransformAt(sample.box, 0);
        EXPECT_TRUE(Near(PositionOf(world), c.position));
        EXPECT_TRUE(SameRotation(RotationOf(world), c.rotation));
        EXPECT_TRUE(Near(ScaleOf(world), {2, 2, 2}));

        // The box now moves with the hand: shifting the robot shifts it by as much.
        scene.SetTransformKey(sample.robot, 0,
                              Placement({0, 6, 1}, QQuaternion::fromAxisAndAngle(0, 0, 1, 90)));
        EXPECT_TRUE(Near(sample.World(sample.box), c.position + QVector3D(0, 1, 1)));
    }
}

TEST(SceneLink, UnlinkingKeepsTheWorldPlacement)
{
    CSampleScene sample;
    CSceneModel& scene = sample.scene;
    ASSERT_EQ(scene.LinkObjects({sample.box}, sample.hand, 1, 0, true, true), UB::kOk);
    scene.SetTransformKey(sample.robot, 0, Placement({4, 4, 4}));
    const QVector3D linkedAt = sample.World(sample.box);

    EXPECT_EQ(scene.UnlinkObject(sample.box, 0, true, true), UB::kOk);
    EXPECT_EQ(scene.LinkParentAt(sample.box, 0), nullptr);
    EXPECT_TRUE(Near(sample.World(sample.box), linkedAt));

    // A null target unlinks as well, whatever the align mode asks for.
    ASSERT_EQ(scene.LinkObjects({sample.box}, sample.table, 0, 0, true, true), UB::kOk);
    EXPECT_EQ(scene.LinkObjects({sample.box}, nullptr, 2, 0, true, true), UB::kOk);
    EXPECT_EQ(scene.LinkParentAt(sample.box, 0), nullptr);
    EXPECT_TRUE(Near(sample.World(sample.box), linkedAt));

    // Unlinking what has no parent does nothing at all.
    QSignalSpy changes(&scene, &CSceneModel::SceneChanged);
    const int steps = scene.UndoStack()->count();
    EXPECT_EQ(scene.UnlinkObject(sample.box, 0, true, true), UB::kNothingDone);
    EXPECT_EQ(scene.UndoStack()->count(), steps);
    EXPECT_EQ(changes.count(), 0);
}

TEST(SceneLink, LinkAtALaterTimeLeavesEarlierTimesAlone)
{
    CSampleScene sample;
    CSceneModel& scene = sample.scene;
    ASSERT_EQ(scene.LinkObjects({sample.box}, sample.hand, 1, 10, true, false), UB::kOk);

    EXPECT_EQ(scene.LinkParentAt(sample.box, 9), nullptr);
    EXPECT_TRUE(Near(sample.World(sample.box, 9), {0, 0, 3}));
    EXPECT_EQ(scene.LinkParentAt(sample.box, 10), sample.hand);
    EXPECT_TRUE(Near(sample.World(sample.box, 10), {0, 8, 0}));
}

TEST(SceneLink, RefusedLinksLeaveTheSceneWhollyUnchanged)
{
    CSampleScene sample;
    CSceneModel& scene = sample.scene;
    // From time 20 the table rides on the box.
    scene.SetLinkKey(sample.table, 20, sample.box);
    CNodeDesc stray{QStringLiteral("Stray")};
    CSceneModel other;
    UB::CHandle* foreign = other.AddObject(stray);

    const struct
    {
        const char* what;
        HandleList objects;
        UB::CHandle* target;
        int align;
        UBTime time;
        UB::Result expected;
    } cases[] = {
        {"robot below its own hand", {sample.robot}, sample.hand, 0, 0, CSceneModel::kWouldCycle},
        {"box to itself", {sample.box}, sample.box, 0, 0, CSceneModel::kWouldCycle},
        {"one good, one cyclic",
         {sample.box, sample.robot},
         sample.arm,
         1,
         0,
         CSceneModel::kWouldCycle},
        {"circle closed later in the span",
         {sample.box},
         sample.table,
         0,
         10,
         CSceneModel::kWouldCycle},
        {"handle of another scene",
         {sample.box, foreign},
         sample.table,
         0,
         0,
         CSceneModel::kInvalidHandle},
        {"null object", {sample.box, nullptr}, sample.table, 0, 0, CSceneModel::kInvalidHandle},
        {"unknown target", {sample.box}, foreign, 0, 0, CSceneModel::kInvalidHandle},
        {"align mode 3", {sample.box}, sample.table, 3, 0, CSceneModel::kInvalidArgument},
    };
    CHostEventLog events(scene);
    QSignalSpy changes(&scene, &CSceneModel::SceneChanged);
    const QByteArray before = scene.ToJson();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(scene.LinkObjects(c.objects, c.target, c.align, c.time, true, true), c.expected);
        EXPECT_EQ(scene.ToJson(), before);
        EXPECT_EQ(scene.Journal().last().result, c.expected.code);
    }
    EXPECT_EQ(scene.UndoStack()->count(), 0);
    EXPECT_TRUE(events.lines.isEmpty()) << events.lines.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(changes.count(), 0);

    // A link key of the box before time 20 ends the span, and with it the circle.
    scene.SetLinkKey(sample.box, 15, nullptr);
    EXPECT_EQ(scene.LinkObjects({sample.box}, sample.table, 0, 10, true, true), UB::kOk);
}

} // namespace
} // namespace KV::Test
