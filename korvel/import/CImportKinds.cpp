#include "CImportKinds.h"

#include <assimp/scene.h>

namespace KV {

namespace {

// The host's numbers (docs/sandbox.md).
constexpr int kTypeBone = 1;
constexpr int kTypeMesh = 3;
constexpr int kTypeGroup = 4;
constexpr int kTypeDummy = 5;
constexpr int kTypeLight = 21;
constexpr int kTypeCamera = 23;
constexpr int kTypeCharacter = 45;
constexpr int kKindObject = 0;
constexpr int kKindBone = 2;

QByteArray Key(const aiString& name)
{
    return QByteArray(name.data, static_cast<int>(qMin<ai_uint32>(name.length, MAXLEN - 1)));
}

} // namespace

CImportKinds::CImportKinds(const aiScene& scene, bool wholeSkeleton)
    : m_wholeSkeleton(wholeSkeleton)
{
    // Skins, cameras and lights name the nodes they belong to.
    for (unsigned m = 0; scene.mMeshes != nullptr && m < scene.mNumMeshes; ++m) {
        const aiMesh* mesh = scene.mMeshes[m];
        for (unsigned b = 0; mesh != nullptr && mesh->mBones != nullptr && b < mesh->mNumBones;
             ++b) {
            if (mesh->mBones[b] != nullptr)
                m_bones.insert(Key(mesh->mBones[b]->mName));
        }
    }
    for (unsigned c = 0; scene.mCameras != nullptr && c < scene.mNumCameras; ++c) {
        if (scene.mCameras[c] != nullptr)
            m_cameras.insert(Key(scene.mCameras[c]->mName));
    }
    for (unsigned l = 0; scene.mLights != nullptr && l < scene.mNumLights; ++l) {
        if (scene.mLights[l] != nullptr)
            m_lights.insert(Key(scene.mLights[l]->mName));
    }
}

CImportKinds::EKind CImportKinds::KindOf(const aiNode& node, EKind parentKind) const
{
    if (m_wholeSkeleton)
        return EKind::Bone;
    const QByteArray name = Key(node.mName);
    if (m_cameras.contains(name))
        return EKind::Camera;
    if (m_lights.contains(name))
        return EKind::Light;
    if (m_bones.contains(name))
        return EKind::Bone;
    if (node.mNumMeshes > 0)
        return EKind::Mesh;
    // FBX tells a skeleton node (it carries a node attribute) from an empty one (a null).
    bool isNull = false;
    if (node.mMetaData != nullptr && node.mMetaData->Get("IsNull", isNull))
        return isNull ? EKind::Helper : EKind::Bone;
    // Elsewhere an empty node below a joint is a joint the skin does not weight: a tip or an
    // end site.
    return parentKind == EKind::Bone ? EKind::Bone : EKind::Helper;
}

CNodeDesc CImportKinds::NodeDesc(EKind kind, const QString& name)
{
    // In the order of EKind.
    constexpr int kTypes[] = {kTypeBone, kTypeMesh, kTypeCamera, kTypeLight, kTypeDummy};
    CNodeDesc desc;
    desc.name = name;
    desc.objectType = kTypes[static_cast<int>(kind)];
    desc.nodeKind = kind == EKind::Bone ? kKindBone : kKindObject;
    return desc;
}

CNodeDesc CImportKinds::ObjectDesc(const QString& name, bool hasBones)
{
    CNodeDesc desc;
    desc.name = name;
    desc.objectType = hasBones ? kTypeCharacter : kTypeGroup;
    desc.nodeKind = kKindObject;
    return desc;
}

} // namespace KV
