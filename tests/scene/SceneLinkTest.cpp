// Keys over time and the link manager: a key holds from its time until the next one, world
// placements follow the link chain as it stands then, linking places the object as its align
// mode says, and the links the scene refuses leave it wholly unchanged. Chains far deeper than
// any real scene work too: nothing in the scene may recurse with depth.

#include "SceneTestSupport.h"

#include "CCommandScope.h"

#include <QSignalSpy>
#include <QUndoStack>

namespace KV::Test {
namespace {

const QQuaternion kTurned = QQuaternion::fromAxisAndAngle(0, 0, 1, 90);

TEST(SceneKeys, KeysHoldUntilTheNextAndWorldPlacementsFollowTheChainAtThatTime)
{
    CSampleScene sample;
    CSceneModel& scene = sample.scene;
    scene.SetLinkKey(sample.box, 10, sample.table);
    scene.SetLinkKey(sample.box, 20, sample.hand);
    scene.SetLinkKey(sample.box, 30, nullptr);
    scene.SetTransformKey(sample.table, 15, Placement({20, 0, 0}));
    scene.SetTransformKey(sample.robot, 25, Placement({0, -5, 0}));
    // The box's local place is (0, 0, 3) from time 0; before that no key holds at all.
    const struct
    {
        UBTime time;
        UB::CHandle* parent;
        QVector3D world;
    } cases[] = {{-5, nullptr, {0, 0, 0}},       {9, nullptr, {0, 0, 3}},
                 {10, sample.table, {10, 0, 3}}, {15, sample.table, {20, 0, 3}},
                 {19, sample.table, {20, 0, 3}}, {20, sample.hand, {0, 8, 3}},
                 {25, sample.hand, {3, -5, 3}},  {30, nullptr, {0, 0, 3}},
                 {100000, nullptr, {0, 0, 3}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.time);
        UB::CHandle* parent = sample.robot;
        TransformRecord world;
        EXPECT_EQ(scene.GetLinkParent(sample.box, c.time, parent), UB::kOk);
        EXPECT_EQ(scene.GetTransform(sample.box, c.time, world), UB::kOk);
        EXPECT_EQ(parent, c.parent);
        EXPECT_TRUE(Near(Position(world), c.world));
    }
    EXPECT_EQ(scene.LinkKeyTimes(sample.box), (QVector<UBTime>{10, 20, 30}));
    EXPECT_EQ(scene.TransformKeyTimes(sample.table), (QVector<UBTime>{0, 15}));
    // The robot turned 90° about Z points its arm along world +Y.
    EXPECT_TRUE(SamePlace(Placement({0, 8, 0}, kTurned), scene.WorldTransformAt(sample.hand, 0)));

    // A node inside an object hangs from its structural parent until its first link key.
    scene.SetLinkKey(sample.hand, 50, sample.box);
    EXPECT_EQ(scene.LinkParentAt(sample.hand, 49), sample.arm);
    EXPECT_EQ(scene.LinkParentAt(sample.hand, 50), sample.box);

    // Without a link parent a transform record is the local transform itself, reserved and all.
    TransformRecord odd = Placement({1, 2, 3}), read;
    odd.reserved[4] = 9;
    CCommandScope command(&scene);
    ASSERT_EQ(scene.SetTransform(sample.camera, 0, odd), UB::kOk);
    ASSERT_EQ(scene.GetTransform(sample.camera, 0, read), UB::kOk);
    EXPECT_TRUE(SameTransform(odd, read));
}

TEST(SceneLink, AlignModesPlaceTheObjectAndUnlinkingKeepsItsWorldPlacement)
{
    // The box stands at (0, 0, 3), tilted and scaled 2; the hand is at (0, 8, 0), turned.
    const QQuaternion tilt = QQuaternion::fromAxisAndAngle(1, 0, 0, 30);
    const struct
    {
        int align;
        TransformRecord world;
    } cases[] = {{0, Placement({0, 0, 3}, tilt)},
                 {1, Placement({0, 8, 0}, tilt)},
                 {2, Placement({0, 8, 0}, kTurned)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.align);
        CSampleScene sample;
        CSceneModel& scene = sample.scene;
        scene.SetTransformKey(sample.box, 0, Placement({0, 0, 3}, tilt, {2, 2, 2}));

        ASSERT_EQ(scene.LinkObjects({sample.box}, sample.hand, c.align, 10, true, true), UB::kOk);
        EXPECT_EQ(scene.LinkParentAt(sample.box, 9), nullptr);
        EXPECT_TRUE(Near(sample.World(sample.box, 9), {0, 0, 3}));
        EXPECT_EQ(scene.LinkParentAt(sample.box, 10), sample.hand);
        EXPECT_TRUE(SamePlace(c.world, scene.WorldTransformAt(sample.box, 10)));
        EXPECT_TRUE(Near(TransformMath::Scale(scene.WorldTransformAt(sample.box, 10)), {2, 2, 2}));

        // The box now moves with the hand: shifting the robot shifts it by as much.
        scene.SetTransformKey(sample.robot, 0, Placement({0, 6, 1}, kTurned));
        const TransformRecord moved = scene.WorldTransformAt(sample.box, 10);
        EXPECT_TRUE(Near(Position(moved), Position(c.world) + QVector3D(0, 1, 1)));
        // Unlinked, or linked to nothing whatever the align mode, it stays where it was.
        ASSERT_EQ(c.align == 0 ? scene.UnlinkObject(sample.box, 10, true, true)
                               : scene.LinkObjects({sample.box}, nullptr, c.align, 10, true, true),
                  UB::kOk);
        EXPECT_EQ(scene.LinkParentAt(sample.box, 10), nullptr);
        EXPECT_TRUE(SamePlace(moved, scene.WorldTransformAt(sample.box, 10)));
    }
}

TEST(SceneLink, RefusedLinksLeaveTheSceneWhollyUnchanged)
{
    CSampleScene sample;
    CSceneModel& scene = sample.scene;
    // From time 20 the table rides on the box.
    scene.SetLinkKey(sample.table, 20, sample.box);
    CSceneModel other;
    UB::CHandle* foreign = other.AddObject({QStringLiteral("Stray")});
    const UB::Result cycle = CSceneModel::kWouldCycle;
    const UB::Result invalid = CSceneModel::kInvalidHandle;
    const struct
    {
        const char* what;
        HandleList objects;
        UB::CHandle* target;
        int align;
        UBTime time;
        UB::Result expected;
    } cases[] = {
        {"robot below its own hand", {sample.robot}, sample.hand, 0, 0, cycle},
        {"box to itself", {sample.box}, sample.box, 0, 0, cycle},
        {"one good, one cyclic", {sample.box, sample.robot}, sample.arm, 1, 0, cycle},
        {"circle closed later", {sample.box}, sample.table, 0, 10, cycle},
        {"handle of another scene", {sample.box, foreign}, sample.table, 0, 0, invalid},
        {"null object", {sample.box, nullptr}, sample.table, 0, 0, invalid},
        {"unknown target", {sample.box}, foreign, 0, 0, invalid},
        {"align mode 3", {sample.box}, sample.table, 3, 0, CSceneModel::kInvalidArgument},
    };
    CHostEventLog events(scene);
    QSignalSpy changes(&scene, &CSceneModel::SceneChanged);
    const CSceneSnapshot before = scene.Snapshot();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(scene.LinkObjects(c.objects, c.target, c.align, c.time, true, true), c.expected);
        EXPECT_EQ(scene.Journal().last().result, c.expected.code);
    }
    // Unlinking what has no parent does nothing at all.
    EXPECT_EQ(scene.UnlinkObject(sample.box, 0, true, true), UB::kNothingDone);
    EXPECT_TRUE(SameScene(before, scene.Snapshot()));
    EXPECT_TRUE(events.lines.isEmpty()) << events.lines.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(changes.count(), 0);

    // A link key of the box before time 20 ends the span, and with it the circle.
    scene.SetLinkKey(sample.box, 15, nullptr);
    EXPECT_EQ(scene.LinkObjects({sample.box}, sample.table, 0, 10, true, true), UB::kOk);
}

constexpr int kDepth = 10000;

TEST(SceneDeepChain, TenThousandDeepStructureAndLinkChainWorkEverywhere)
{
    // Root -> N1 -> ... -> N10000, each a unit along X from its parent; objects O0 <- O1 <- ...
    // <- O10000 linked at time 5, each placed a unit along Y from the last.
    CSceneModel scene;
    UB::CHandle* root = scene.AddObject({QStringLiteral("Root")});
    UB::CHandle* leaf = root;
    QVector<UB::CHandle*> objects;
    for (int i = 1; i <= kDepth; ++i) {
        leaf = scene.AddNode(leaf, {QStringLiteral("N%1").arg(i)});
        scene.SetTransformKey(leaf, 0, Placement({1, 0, 0}));
    }
    for (int i = 0; i <= kDepth; ++i) {
        objects.append(scene.AddObject({QStringLiteral("O%1").arg(i)}));
        scene.SetTransformKey(objects.last(), 0, Placement({0, float(i), 0}));
    }
    {
        // Linking from the far end keeps every target shallow while the chain grows.
        CCommandScope command(&scene);
        for (int i = kDepth; i >= 1; --i)
            ASSERT_EQ(scene.LinkObjects({objects[i]}, objects[i - 1], 0, 5, true, false), UB::kOk);
    }
    EXPECT_EQ(scene.UndoStack()->text(0), QStringLiteral("Change the links of 10000 objects"));
    UB::CHandle* last = objects.last();
    EXPECT_TRUE(Near(Position(scene.WorldTransformAt(last, 5)), {0, kDepth, 0}));
    EXPECT_EQ(scene.LinkObjects({objects.first()}, last, 0, 5, true, true),
              CSceneModel::kWouldCycle);

    EXPECT_TRUE(Near(Position(scene.WorldTransformAt(leaf, 0)), {kDepth, 0, 0}));
    EXPECT_EQ(scene.FindNodeByName(root, QStringLiteral("N%1").arg(kDepth).toStdWString()), leaf);
    ASSERT_EQ(scene.LinkObjects({objects.first()}, leaf, 1, 0, true, true), UB::kOk);
    EXPECT_TRUE(Near(Position(scene.WorldTransformAt(objects.first(), 0)), {kDepth, 0, 0}));
    EXPECT_EQ(scene.LinkObjects({root}, last, 0, 0, true, true), CSceneModel::kWouldCycle);

    QString error;
    CSceneModel loaded;
    ASSERT_TRUE(loaded.LoadJson(scene.ToJson(), QStringLiteral("deep.json"), &error))
        << error.toStdString();
    UB::CHandle* loadedLast = loaded.FindByName(QStringLiteral("O%1").arg(kDepth));
    EXPECT_TRUE(Near(Position(loaded.WorldTransformAt(loadedLast, 5)), {kDepth, kDepth, 0}));

    // Deleting the root and the chain's first object leaves the rest standing where it was.
    scene.DeleteNodes({root, objects.first()});
    EXPECT_EQ(scene.AllNodes().size(), kDepth);
    EXPECT_EQ(scene.LinkParentAt(objects[1], 5), nullptr);
    EXPECT_TRUE(Near(Position(scene.WorldTransformAt(last, 5)), {kDepth, kDepth, 0}));
}

} // namespace
} // namespace KV::Test
