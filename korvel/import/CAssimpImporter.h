#pragma once

#include "KVSceneModel.h"

#include <QString>
#include <QStringList>
#include <QVector>

struct aiScene;

namespace KV {

/// Reads a 3D file through Assimp into the nodes the scene adds: one object named after the
/// file, with the file's nodes below it by their names in the file, their rest transforms in
/// the scene's axes and units (CImportFrame) and their kinds (CImportKinds). Every parent comes
/// before its children. Knows nothing of widgets; korvel-import runs it in a process of its own.
class CAssimpImporter
{
public:
    /// Reads `path` in this process. On failure returns false and sets `error` to the file and
    /// the reason.
    static bool Import(const QString& path, QVector<CNewNode>& nodes, QString& error);
    /// The nodes of a scene Assimp has read, under an object called `objectName`. On failure
    /// returns false with the reason (without the file) in `problem`.
    static bool Convert(const aiScene& scene, const QString& objectName, QVector<CNewNode>& nodes,
                        QString& problem);
    /// Whether `path` is a file with something to read in it; otherwise the file and the reason
    /// in `error`.
    static bool CheckFile(const QString& path, QString& error);
    /// The file name patterns Assimp reads, for example "*.fbx".
    static QStringList NamePatterns();
};

} // namespace KV
