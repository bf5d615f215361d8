#include "CImportFrame.h"

#include <assimp/commonMetaData.h>
#include <assimp/scene.h>

#include <cmath>
#include <cstring>

namespace KV {

namespace {

bool StartsWith(const aiString& text, const char* prefix)
{
    return std::strncmp(text.C_Str(), prefix, std::strlen(prefix)) == 0;
}

} // namespace

CImportFrame CImportFrame::Of(const aiScene& scene)
{
    CImportFrame frame;
    aiString importer;
    if (scene.mMetaData == nullptr || !scene.mMetaData->Get(AI_METADATA_SOURCE_FORMAT, importer))
        return frame;
    const QString name = QString::fromUtf8(importer.C_Str());
    if (name.contains(QLatin1String("BVH"))) {
        // Motion capture has no unit of its own; centimetres are what its tools write.
        frame.format = EFormat::Bvh;
        frame.unitScale = 1.0f;
    } else if (name.contains(QLatin1String("FBX"))) {
        frame.format = EFormat::Fbx;
        frame.TakeFbxSettings(scene);
    } else if (name.contains(QLatin1String("glTF"))) {
        frame.format = EFormat::Gltf;
    } else if (name.contains(QLatin1String("Collada"))) {
        // Assimp has put the file's unit into the root, so everything below is in metres.
        frame.format = EFormat::Collada;
    } else if (name.contains(QLatin1String("XFile"))) {
        frame.format = EFormat::DirectX;
    }
    return frame;
}

void CImportFrame::TakeFbxSettings(const aiScene& scene)
{
    // FBX counts its unit in centimetres, and names its up, front and right axes.
    float unit = 1.0f;
    if (scene.mMetaData->Get("UnitScaleFactor", unit) && std::isfinite(unit) && unit > 0.0f)
        unitScale = unit;
    else
        unitScale = 1.0f;

    int up = 1, upSign = 1, front = 2, frontSign = 1, right = 0, rightSign = 1;
    scene.mMetaData->Get("UpAxis", up);
    scene.mMetaData->Get("UpAxisSign", upSign);
    scene.mMetaData->Get("FrontAxis", front);
    scene.mMetaData->Get("FrontAxisSign", frontSign);
    scene.mMetaData->Get("CoordAxis", right);
    scene.mMetaData->Get("CoordAxisSign", rightSign);
    const bool distinct = up != front && up != right && front != right;
    const bool inRange = up >= 0 && up < 3 && front >= 0 && front < 3 && right >= 0 && right < 3;
    if (!distinct || !inRange)
        return; // a file that names no usable axes keeps Assimp's
    QMatrix4x4 map;
    map.fill(0.0f);
    map(0, right) = rightSign < 0 ? -1.0f : 1.0f;
    map(1, up) = upSign < 0 ? -1.0f : 1.0f;
    map(2, front) = frontSign < 0 ? -1.0f : 1.0f;
    map(3, 3) = 1.0f;
    axes = map;
}

QMatrix4x4 CImportFrame::PointMap() const
{
    QMatrix4x4 map;
    map.scale(unitScale);
    return map * axes;
}

bool CImportFrame::IsMadeUpRoot(const aiNode& root) const
{
    if (root.mNumMeshes > 0)
        return false;
    switch (format) {
    case EFormat::Fbx:     // "RootNode": FBX has no root of its own
    case EFormat::Collada: // the visual scene, holding the unit and up axis
        return true;
    case EFormat::Gltf: // "ROOT" above the several top nodes of a scene
        return std::strcmp(root.mName.C_Str(), "ROOT") == 0;
    case EFormat::DirectX:
        return std::strcmp(root.mName.C_Str(), "$dummy_root") == 0;
    case EFormat::Bvh:
        return false;
    case EFormat::Other:
        break;
    }
    // Assimp's made-up roots of the other formats read like "<3DSRoot>" or "$dummy_root".
    return StartsWith(root.mName, "<") || StartsWith(root.mName, "$");
}

} // namespace KV
