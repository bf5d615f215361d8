// FBX, Collada, glTF and DirectX files: the kind each node gets, the made-up roots left out,
// and positions in the scene's axes and centimetres.

#include "ImportTestSupport.h"

#include <utility>
#include <vector>

namespace KV::test {

TEST(ImportedKindsTest, JointsMeshesCamerasLightsAndHelpersGetTheirTypes)
{
    constexpr int kBone = 1, kMesh = 3, kGroup = 4, kHelper = 5, kLight = 21, kCamera = 23,
                  kCharacter = 45;
    struct CFile
    {
        const char* path;
        int objectType;
        std::vector<std::pair<const char*, int>> types;
        std::vector<const char*> absent; // roots Assimp makes up
    };
    const CFile files[] = {
        // A rig from Blender: the armature is an empty, the bones' tips are bones too.
        {"FBX/huesitos.fbx",
         kCharacter,
         {{"Armature", kHelper},
          {"Bone", kBone},
          {"Bone.006_end", kBone},
          {"Cylinder", kMesh},
          {"Lamp", kLight},
          {"Camera", kCamera}},
         {"RootNode"}},
        {"Collada/duck.dae",
         kGroup,
         {{"LOD3sp", kMesh}, {"camera1", kCamera}, {"directionalLight1", kLight}},
         {"VisualSceneNode"}},
        // Unnamed glTF nodes are called by their place in the file.
        {"glTF2/simple_skin/simple_skin.gltf",
         kCharacter,
         {{"nodes[0]", kMesh}, {"nodes[1]", kBone}, {"nodes[2]", kBone}},
         {}},
        {"X/anim_test.x",
         kCharacter,
         {{"pCylinder1", kMesh}, {"joint1", kBone}, {"joint2", kBone}, {"ikHandle1", kHelper}},
         {"$dummy_root"}},
    };
    for (const CFile& file : files) {
        SCOPED_TRACE(file.path);
        const QVector<CNewNode> nodes = ImportOrFail(Model(QLatin1String(file.path)));
        ASSERT_TRUE(FormsOneObject(nodes));
        EXPECT_EQ(nodes[0].desc.objectType, file.objectType);
        for (const auto& expected : file.types) {
            const CNewNode* node = Find(nodes, QString::fromUtf8(expected.first));
            ASSERT_NE(node, nullptr) << expected.first;
            EXPECT_EQ(node->desc.objectType, expected.second) << expected.first;
            EXPECT_EQ(node->desc.nodeKind, expected.second == kBone ? 2 : 0) << expected.first;
        }
        for (const char* name : file.absent)
            EXPECT_EQ(Find(nodes, QString::fromUtf8(name)), nullptr) << name;
    }
}

TEST(ImportedKindsTest, PositionsComeInTheScenesAxesAndCentimetres)
{
    struct CCase
    {
        const char* path;
        const char* node;
        float position[3]; // the file's numbers, converted by hand
    };
    const CCase cases[] = {
        // glTF counts in metres.
        {"glTF2/cameras/Cameras.gltf", "nodes[1]", {50.0f, 50.0f, 300.0f}},
        // Z up and metres: the file's (7.076701, -5.572294, 5.147222).
        {"Collada/lights.dae", "Sun", {707.6701f, 514.7222f, 557.2294f}},
        // Y up and centimetres: as in the file.
        {"Collada/duck.dae", "camera1", {400.113f, 463.264f, -431.078f}},
    };
    for (const CCase& c : cases) {
        SCOPED_TRACE(c.path);
        const QVector<CNewNode> nodes = ImportOrFail(Model(QLatin1String(c.path)));
        const CNewNode* node = Find(nodes, QString::fromUtf8(c.node));
        ASSERT_NE(node, nullptr);
        ASSERT_EQ(node->parent, 0) << "a node below the object";
        for (int axis = 0; axis < 3; ++axis)
            EXPECT_NEAR(node->rest.position[axis], c.position[axis], 1e-2f) << axis;
    }
}

} // namespace KV::test
