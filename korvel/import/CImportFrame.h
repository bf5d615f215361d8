#pragma once

#include <QMatrix4x4>
#include <QString>

struct aiNode;
struct aiScene;

namespace KV {

/// How an imported file's coordinates become the scene's. The scene is right-handed with Y up,
/// X to the right and Z towards the front view's camera, in centimetres. Assimp hands over
/// right-handed, Y-up coordinates in the file's own unit, except that an FBX file keeps its own
/// axes and Collada's unit and up axis sit in the root node.
class CImportFrame
{
public:
    enum class EFormat
    {
        Bvh,
        Fbx,
        Gltf,
        Collada,
        DirectX,
        Other,
    };

    /// The frame of a scene as Assimp read it, told by the importer Assimp used.
    static CImportFrame Of(const aiScene& scene);

    /// Takes points from Assimp's coordinates to the scene's: the unit scale times the axes.
    QMatrix4x4 PointMap() const;
    /// Whether the root node is Assimp's own rather than the file's: the scene object stands
    /// in for it, and its transform is applied to the nodes below it.
    bool IsMadeUpRoot(const aiNode& root) const;

    EFormat format = EFormat::Other;
    /// Centimetres per unit of the file as Assimp gives it.
    float unitScale = 100.0f;
    /// The file's axes in the scene's: a rotation, or a reflection for a left-handed file.
    QMatrix4x4 axes;

private:
    void TakeFbxSettings(const aiScene& scene);
};

} // namespace KV
