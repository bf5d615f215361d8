#pragma once

#include "KVSceneModel.h"

#include <QByteArray>
#include <QSet>
#include <QString>

struct aiNode;
struct aiScene;

namespace KV {

/// What each node of an imported file is to an animator (a joint, a mesh, a camera, a light or
/// an empty helper) and the object type and node kind the scene gives it. docs/import.md has
/// the table.
class CImportKinds
{
public:
    enum class EKind
    {
        Bone,
        Mesh,
        Camera,
        Light,
        Helper,
    };

    /// `wholeSkeleton`: the format holds nothing but joints (motion capture), so every node is
    /// one.
    CImportKinds(const aiScene& scene, bool wholeSkeleton);

    /// The kind of `node`, whose parent in the file has the kind `parentKind` (Helper for a
    /// node at the top).
    EKind KindOf(const aiNode& node, EKind parentKind) const;

    static CNodeDesc NodeDesc(EKind kind, const QString& name);
    /// The scene object that stands for the whole file: a character when it has joints, a group
    /// otherwise.
    static CNodeDesc ObjectDesc(const QString& name, bool hasBones);

private:
    QSet<QByteArray> m_bones;
    QSet<QByteArray> m_cameras;
    QSet<QByteArray> m_lights;
    bool m_wholeSkeleton;
};

} // namespace KV
