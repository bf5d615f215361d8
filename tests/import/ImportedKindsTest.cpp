// FBX, Collada, glTF and DirectX files: the kind each node gets, the made-up roots left out,
// and positions in the scene's axes and centimetres.

#include "ImportTestSupport.h"

#include <vector>

namespace KV::test {

TEST(ImportedKindsTest, NodesGetTheirKindsMadeUpRootsGoAndPositionsComeInSceneUnits)
{
    constexpr int kBone = 1, kMesh = 3, kGroup = 4, kHelper = 5, kLight = 21, kCamera = 23,
                  kCharacter = 45;
    const struct
    {
        const char* path;
        int objectType;
        std::vector<std::pair<const char*, int>> types;
        const char* absent;           // a root Assimp makes up
        const char* placed = nullptr; // a node below the object, at `position`
        float position[3] = {};
    } files[] = {
        // A rig from Blender: the armature is an empty, the bones' tips are bones too.
        {"FBX/huesitos.fbx",
         kCharacter,
         {{"Armature", kHelper},
          {"Bone.006_end", kBone},
          {"Cylinder", kMesh},
          {"Lamp", kLight},
          {"Camera", kCamera}},
         "RootNode"},
        // Y up and centimetres: as in the file.
        {"Collada/duck.dae",
         kGroup,
         {{"LOD3sp", kMesh}, {"camera1", kCamera}, {"directionalLight1", kLight}},
         "VisualSceneNode",
         "camera1",
         {400.113f, 463.264f, -431.078f}},
        // Z up and metres: the file's (7.076701, -5.572294, 5.147222).
        {"Collada/lights.dae", kGroup, {}, "", "Sun", {707.6701f, 514.7222f, 557.2294f}},
        // Unnamed glTF nodes are called by their place in the file; glTF counts in metres.
        {"glTF2/cameras/Cameras.gltf", kGroup, {}, "", "nodes[1]", {50.0f, 50.0f, 300.0f}},
        {"X/anim_test.x",
         kCharacter,
         {{"pCylinder1", kMesh}, {"joint2", kBone}, {"ikHandle1", kHelper}},
         "$dummy_root"},
    };
    for (const auto& file : files) {
        SCOPED_TRACE(file.path);
        const QVector<CNewNode> nodes = ImportOrFail(Model(file.path));
        ASSERT_FALSE(nodes.isEmpty());
        EXPECT_EQ(nodes[0].desc.objectType, file.objectType);
        auto find = [&](const char* name) -> const CNewNode* {
            for (const CNewNode& node : nodes) {
                if (node.desc.name == QString::fromUtf8(name))
                    return &node;
            }
            return nullptr;
        };
        for (const auto& [name, type] : file.types) {
            ASSERT_NE(find(name), nullptr) << name;
            EXPECT_EQ(find(name)->desc.objectType, type) << name;
            EXPECT_EQ(find(name)->desc.nodeKind, type == kBone ? 2 : 0) << name;
        }
        if (*file.absent != '\0') {
            EXPECT_EQ(find(file.absent), nullptr) << file.absent;
        }
        if (file.placed == nullptr)
            continue;
        const CNewNode* placed = find(file.placed);
        ASSERT_NE(placed, nullptr);
        EXPECT_EQ(placed->parent, 0);
        for (int axis = 0; axis < 3; ++axis)
            EXPECT_NEAR(placed->rest.position[axis], file.position[axis], 1e-2f) << axis;
    }
}

} // namespace KV::test
