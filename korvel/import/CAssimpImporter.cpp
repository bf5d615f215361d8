#include "CAssimpImporter.h"

#include "CImportFrame.h"
#include "CImportKinds.h"
#include "TransformMath.h"

#include <assimp/Importer.hpp>
#include <assimp/config.h>
#include <assimp/scene.h>

#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <cmath>
#include <exception>
#include <vector>

namespace KV {

namespace {

// The largest coordinate a scene file holds.
constexpr float kLargestCoordinate = 1e9f;
constexpr int kLongestReason = 240;

QMatrix4x4 ToMatrix(const aiMatrix4x4& m)
{
    return QMatrix4x4(m.a1, m.a2, m.a3, m.a4, m.b1, m.b2, m.b3, m.b4, m.c1, m.c2, m.c3, m.c4, m.d1,
                      m.d2, m.d3, m.d4);
}

QString NameOf(const aiNode& node)
{
    const int length = static_cast<int>(qMin<ai_uint32>(node.mName.length, MAXLEN - 1));
    return QString::fromUtf8(node.mName.data, length);
}

/// The linear part of `m` (its rotation or reflection and its scale, no translation): what
/// re-expresses a node's own frame in the scene's axes and unit. A map that cannot be inverted
/// leaves the frames as they are.
QMatrix4x4 FramePart(const QMatrix4x4& m)
{
    QMatrix4x4 linear(m);
    linear.setColumn(3, QVector4D(0.0f, 0.0f, 0.0f, 1.0f));
    linear.setRow(3, QVector4D(0.0f, 0.0f, 0.0f, 1.0f));
    bool invertible = false;
    linear.inverted(&invertible);
    return invertible ? linear : QMatrix4x4();
}

bool FitsTheScene(const TransformRecord& record)
{
    if (!TransformMath::IsUsable(record))
        return false;
    for (int i = 0; i < 3; ++i) {
        if (std::fabs(record.position[i]) > kLargestCoordinate ||
            std::fabs(record.scale[i]) > kLargestCoordinate)
            return false;
    }
    return true;
}

struct CPending
{
    const aiNode* node;
    int parent;
    CImportKinds::EKind parentKind;
    bool top;
};

void PushChildren(std::vector<CPending>& stack, const aiNode& node, int parent,
                  CImportKinds::EKind kind, bool top)
{
    // Reversed, so that the children come off the stack in the file's order.
    if (node.mChildren == nullptr)
        return;
    for (unsigned i = node.mNumChildren; i > 0; --i)
        stack.push_back({node.mChildren[i - 1], parent, kind, top});
}

} // namespace

bool CAssimpImporter::Convert(const aiScene& scene, const QString& objectName,
                              QVector<CNewNode>& nodes, QString& problem)
{
    nodes.clear();
    const aiNode* root = scene.mRootNode;
    if (root == nullptr) {
        problem = QStringLiteral("the file holds no nodes");
        return false;
    }
    const CImportFrame frame = CImportFrame::Of(scene);
    const bool madeUpRoot = frame.IsMadeUpRoot(*root);
    const CImportKinds kinds(scene, frame.format == CImportFrame::EFormat::Bvh);

    // Top-level nodes take the way from Assimp's coordinates into the scene's, the made-up
    // root's transform included; every node's own frame is re-expressed in the scene's axes
    // and unit (a conjugation), so that rotations and scales read as in the file.
    const QMatrix4x4 toScene =
        frame.PointMap() * (madeUpRoot ? ToMatrix(root->mTransformation) : QMatrix4x4());
    const QMatrix4x4 frameMap = FramePart(toScene);
    const QMatrix4x4 frameMapInverse = frameMap.inverted();

    CNewNode object;
    nodes.append(object);
    std::vector<CPending> stack;
    if (madeUpRoot)
        PushChildren(stack, *root, 0, CImportKinds::EKind::Helper, true);
    else
        stack.push_back({root, 0, CImportKinds::EKind::Helper, true});

    // Assimp builds a tree, but a damaged file must not lead round in circles.
    QSet<const aiNode*> seen;
    bool hasBones = false;
    while (!stack.empty()) {
        const CPending pending = stack.back();
        stack.pop_back();
        if (pending.node == nullptr || seen.contains(pending.node))
            continue;
        seen.insert(pending.node);
        const aiNode& node = *pending.node;
        const CImportKinds::EKind kind = kinds.KindOf(node, pending.parentKind);
        hasBones = hasBones || kind == CImportKinds::EKind::Bone;

        const QMatrix4x4 local = ToMatrix(node.mTransformation);
        CNewNode added;
        added.desc = CImportKinds::NodeDesc(kind, NameOf(node));
        added.parent = pending.parent;
        added.rest =
            TransformMath::FromMatrix((pending.top ? toScene : frameMap) * local * frameMapInverse);
        if (!FitsTheScene(added.rest)) {
            problem = QStringLiteral("node \"%1\" has a transform the scene cannot hold (not a "
                                     "finite number within ±10^9, or no rotation)")
                          .arg(added.desc.name);
            nodes.clear();
            return false;
        }
        nodes.append(added);
        PushChildren(stack, node, nodes.size() - 1, kind, false);
    }
    if (nodes.size() == 1) {
        problem = QStringLiteral("the file holds no nodes");
        nodes.clear();
        return false;
    }
    nodes[0].desc = CImportKinds::ObjectDesc(objectName, hasBones);
    return true;
}

bool CAssimpImporter::CheckFile(const QString& path, QString& error)
{
    const QFileInfo info(path);
    QString reason;
    QFile file(path);
    if (!info.exists())
        reason = QStringLiteral("the file does not exist");
    else if (info.isDir())
        reason = QStringLiteral("this is a folder, not a file");
    else if (!file.open(QIODevice::ReadOnly))
        reason = QStringLiteral("the file cannot be read (%1)").arg(file.errorString());
    else if (file.size() == 0)
        reason = QStringLiteral("the file is empty");
    if (reason.isEmpty())
        return true;
    error = path + QStringLiteral(": ") + reason;
    return false;
}

bool CAssimpImporter::Import(const QString& path, QVector<CNewNode>& nodes, QString& error)
{
    nodes.clear();
    if (!CheckFile(path, error))
        return false;
    Assimp::Importer importer;
    // Only the node hierarchy is wanted: no pivot helper nodes, no animation, no materials, no
    // made-up skeleton meshes; Collada nodes by their names rather than their ids.
    importer.SetPropertyBool(AI_CONFIG_IMPORT_FBX_PRESERVE_PIVOTS, false);
    importer.SetPropertyBool(AI_CONFIG_IMPORT_FBX_READ_ANIMATIONS, false);
    importer.SetPropertyBool(AI_CONFIG_IMPORT_FBX_READ_MATERIALS, false);
    importer.SetPropertyBool(AI_CONFIG_IMPORT_FBX_READ_TEXTURES, false);
    importer.SetPropertyBool(AI_CONFIG_IMPORT_NO_SKELETON_MESHES, true);
    importer.SetPropertyBool(AI_CONFIG_IMPORT_COLLADA_USE_COLLADA_NAMES, true);
    QString problem;
    try {
        const aiScene* scene = importer.ReadFile(QFile::encodeName(path).toStdString(), 0);
        if (scene == nullptr) {
            // Assimp quotes whole stretches of a damaged file in its reasons.
            QString reason = QString::fromUtf8(importer.GetErrorString()).trimmed();
            if (reason.size() > kLongestReason)
                reason = reason.left(kLongestReason) + QStringLiteral("…");
            problem = reason.isEmpty()
                          ? QStringLiteral("Assimp cannot read this file")
                          : QStringLiteral("Assimp cannot read this file: %1").arg(reason);
        } else {
            Convert(*scene, QFileInfo(path).completeBaseName(), nodes, problem);
        }
    } catch (const std::exception& exception) {
        problem = QStringLiteral("reading it failed (%1)").arg(QString::fromUtf8(exception.what()));
    }
    if (problem.isEmpty())
        return true;
    nodes.clear();
    error = path + QStringLiteral(": ") + problem;
    return false;
}

QStringList CAssimpImporter::NamePatterns()
{
    aiString list;
    Assimp::Importer().GetExtensionList(list);
    return QString::fromUtf8(list.C_Str()).split(QLatin1Char(';'), Qt::SkipEmptyParts);
}

} // namespace KV
