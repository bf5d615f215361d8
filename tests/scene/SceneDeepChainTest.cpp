// Chains far deeper than any real scene: nothing in the scene may recurse with depth.

#include "SceneTestSupport.h"

#include "CCommandScope.h"

#include <QUndoStack>

#include <QTemporaryDir>

namespace KV::Test {
namespace {

constexpr int kDepth = 10000;

TEST(SceneDeepChain, TenThousandDeepStructureWorksEverywhere)
{
    // Root -> N1 -> N2 -> ... -> N10000, each one unit along X from its parent.
    CSceneModel scene;
    UB::CHandle* root = scene.AddObject({QStringLiteral("Root")});
    UB::CHandle* leaf = root;
    for (int i = 1; i <= kDepth; ++i) {
        leaf = scene.AddNode(leaf, {QStringLiteral("N%1").arg(i)});
        scene.SetTransformKey(leaf, 0, Placement({1, 0, 0}));
    }
    UB::CHandle* box = scene.AddObject({QStringLiteral("Box")});

    EXPECT_TRUE(Near(PositionOf(scene.WorldTransformAt(leaf, 0)), {kDepth, 0, 0}));
    EXPECT_EQ(scene.FindNodeByName(root, QStringLiteral("N%1").arg(kDepth).toStdWString()), leaf);
    EXPECT_EQ(scene.FindNodeByName(root, L"nowhere"), nullptr);
    EXPECT_EQ(scene.LinkObjects({box}, leaf, 1, 0, true, true), UB::kOk);
    EXPECT_TRUE(Near(PositionOf(scene.WorldTransformAt(box, 0)), {kDepth, 0, 0}));
    EXPECT_EQ(scene.LinkObjects({root}, box, 0, 0, true, true), CSceneModel::kWouldCycle);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("deep.json"));
    QString error;
    ASSERT_TRUE(scene.SaveFile(path, &error)) << error.toStdString();
    CSceneModel loaded;
    ASSERT_TRUE(loaded.LoadFile(path, &error)) << error.toStdString();
    UB::CHandle* loadedBox = loaded.FindByName(QStringLiteral("Box"));
    EXPECT_TRUE(Near(PositionOf(loaded.WorldTransformAt(loadedBox, 0)), {kDepth, 0, 0}));

    scene.DeleteNodes({root});
    EXPECT_EQ(scene.AllNodes(), (QVector<UB::CHandle*>{box}));
    EXPECT_TRUE(Near(PositionOf(scene.WorldTransformAt(box, 0)), {kDepth, 0, 0}));
}

TEST(SceneDeepChain, TenThousandDeepLinkChainWorksEverywhere)
{
    // Objects O0 <- O1 <- ... <- O10000 linked at time 5, each one unit along Y from the last.
    CSceneModel scene;
    QVector<UB::CHandle*> objects;
    for (int i = 0; i <= kDepth; ++i) {
        objects.append(scene.AddObject({QStringLiteral("O%1").arg(i)}));
        scene.SetTransformKey(objects.last(), 0, Placement({0, float(i), 0}));
    }
    // Linking from the far end keeps every target shallow while the chain grows.
    {
        CCommandScope command(&scene);
        for (int i = kDepth; i >= 1; --i)
            ASSERT_EQ(scene.LinkObjects({objects[i]}, objects[i - 1], 0, 5, true, false), UB::kOk);
    }
    EXPECT_EQ(scene.UndoStack()->text(0), QStringLiteral("Change the links of 10000 objects"));

    UB::CHandle* last = objects.last();
    EXPECT_TRUE(Near(PositionOf(scene.WorldTransformAt(last, 5)), {0, kDepth, 0}));
    EXPECT_EQ(scene.LinkObjects({objects.first()}, last, 0, 5, true, true),
              CSceneModel::kWouldCycle);
    // Before the links the objects stand alone.
    EXPECT_EQ(scene.LinkParentAt(last, 4), nullptr);

    QString error;
    CSceneModel loaded;
    ASSERT_TRUE(loaded.LoadJson(scene.ToJson(), QStringLiteral("chain.json"), &error))
        << error.toStdString();
    UB::CHandle* loadedLast = loaded.FindByName(QStringLiteral("O%1").arg(kDepth));
    EXPECT_TRUE(Near(PositionOf(loaded.WorldTransformAt(loadedLast, 5)), {0, kDepth, 0}));

    scene.DeleteNodes({objects.first()});
    EXPECT_EQ(scene.LinkParentAt(objects[1], 5), nullptr);
    EXPECT_TRUE(Near(PositionOf(scene.WorldTransformAt(last, 5)), {0, kDepth, 0}));
}

} // namespace
} // namespace KV::Test
