// Link parents and transforms over time: a key holds from its time until the next one, and
// world placements follow the link chain as it stands at the time asked about.

#include "SceneTestSupport.h"

namespace KV::Test {
namespace {

UB::CHandle* ParentAt(CSceneModel& scene, UB::CHandle* node, UBTime time)
{
    UB::CHandle* parent = nullptr;
    EXPECT_EQ(scene.GetLinkParent(node, time, parent), UB::kOk);
    return parent;
}

TransformRecord TransformAt(CSceneModel& scene, UB::CHandle* node, UBTime time)
{
    TransformRecord record;
    EXPECT_EQ(scene.GetTransform(node, time, record), UB::kOk);
    return record;
}

TEST(SceneTime, LinkParentHoldsFromItsKeyUntilTheNextKey)
{
    CSampleScene sample;
    CSceneModel& scene = sample.scene;
    scene.SetLinkKey(sample.box, 10, sample.table);
    scene.SetLinkKey(sample.box, 20, sample.robot);
    scene.SetLinkKey(sample.box, 30, nullptr);

    const struct
    {
        UBTime time;
        UB::CHandle* parent;
    } cases[] = {{-5, nullptr},      {9, nullptr},       {10, sample.table},
                 {15, sample.table}, {19, sample.table}, {20, sample.robot},
                 {29, sample.robot}, {30, nullptr},      {100000, nullptr}};
    for (const auto& c : cases)
        EXPECT_EQ(ParentAt(scene, sample.box, c.time), c.parent) << "at time " << c.time;
    EXPECT_EQ(scene.LinkKeyTimes(sample.box), (QVector<UBTime>{10, 20, 30}));

    // A node inside an object hangs from its structural parent until its first link key.
    scene.SetLinkKey(sample.hand, 50, sample.box);
    EXPECT_EQ(ParentAt(scene, sample.hand, -100), sample.arm);
    EXPECT_EQ(ParentAt(scene, sample.hand, 49), sample.arm);
    EXPECT_EQ(ParentAt(scene, sample.hand, 50), sample.box);
}

TEST(SceneTime, TransformHoldsFromItsKeyAndIsIdentityBeforeTheFirst)
{
    CSampleScene sample;
    CSceneModel& scene = sample.scene;
    scene.SetTransformKey(sample.box, 20, Placement({1, 1, 1}, {}, {2, 2, 2}));

    const TransformRecord before = TransformAt(scene, sample.box, -1);
    EXPECT_TRUE(Near(PositionOf(before), {0, 0, 0}));
    EXPECT_TRUE(SameRotation(RotationOf(before), QQuaternion()));
    EXPECT_TRUE(Near(ScaleOf(before), {1, 1, 1}));

    EXPECT_TRUE(Near(PositionOf(TransformAt(scene, sample.box, 0)), {0, 0, 3}));
    EXPECT_TRUE(Near(PositionOf(TransformAt(scene, sample.box, 19)), {0, 0, 3}));
    EXPECT_TRUE(Near(PositionOf(TransformAt(scene, sample.box, 20)), {1, 1, 1}));
    EXPECT_TRUE(Near(ScaleOf(TransformAt(scene, sample.box, 500)), {2, 2, 2}));
    EXPECT_EQ(scene.TransformKeyTimes(sample.box), (QVector<UBTime>{0, 20}));
}

TEST(SceneTime, WorldPlacementFollowsTheLinkChainAtThatTime)
{
    CSampleScene sample;
    CSceneModel& scene = sample.scene;
    // Robot stands at (0, 5, 0) turned 90° about Z, so its arm's +X points along world +Y.
    EXPECT_TRUE(Near(sample.World(sample.arm), {0, 7, 0}));
    EXPECT_TRUE(Near(sample.World(sample.hand), {0, 8, 0}));
    EXPECT_TRUE(SameRotation(RotationOf(scene.WorldTransformAt(sample.hand, 0)),
                             QQuaternion::fromAxisAndAngle(0, 0, 1, 90)));

    scene.SetLinkKey(sample.box, 10, sample.hand);
    scene.SetTransformKey(sample.robot, 20, Placement({0, -5, 0}));
    EXPECT_TRUE(Near(sample.World(sample.box, 5), {0, 0, 3}));
    EXPECT_TRUE(Near(sample.World(sample.box, 10), {0, 8, 3}));
    // From time 20 the robot stands unturned at (0, -5, 0), and the box rides along.
    EXPECT_TRUE(Near(sample.World(sample.hand, 20), {3, -5, 0}));
    EXPECT_TRUE(Near(sample.World(sample.box, 20), {3, -5, 3}));
}

} // namespace
} // namespace KV::Test
