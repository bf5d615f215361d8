#pragma once

// The test files of Debian's assimp-testmodels, and reading what an import gave.

#include "CAssimpImporter.h"
#include "KVSceneModel.h"
#include "TransformMath.h"
#include "support/QtPrinters.h"

#include <QFileInfo>
#include <QString>
#include <QVector>

#include <gtest/gtest.h>

namespace KV::test {

/// A file of assimp-testmodels, for example "BVH/01_01.bvh".
inline QString Model(const char* relativePath)
{
    const QString path = QStringLiteral(KV_ASSIMP_MODELS "/") + QLatin1String(relativePath);
    EXPECT_TRUE(QFileInfo::exists(path))
        << path.toStdString() << " is missing: scripts/setup installs assimp-testmodels";
    return path;
}

/// Every parent comes before its children, the first entry is the only object, and every rest
/// transform is one the scene can hold.
inline ::testing::AssertionResult FormsOneObject(const QVector<CNewNode>& nodes)
{
    if (nodes.isEmpty() || nodes.first().parent != -1)
        return ::testing::AssertionFailure() << "the first entry is not an object";
    for (int i = 1; i < nodes.size(); ++i) {
        if (nodes[i].parent < 0 || nodes[i].parent >= i || !TransformMath::IsUsable(nodes[i].rest))
            return ::testing::AssertionFailure()
                   << "entry " << i << " (" << nodes[i].desc.name.toStdString()
                   << ") has a bad parent or rest transform";
    }
    return ::testing::AssertionSuccess();
}

/// The imported nodes of `path`, read in this process, checked to form one object.
inline QVector<CNewNode> ImportOrFail(const QString& path)
{
    QVector<CNewNode> nodes;
    QString error;
    EXPECT_TRUE(CAssimpImporter::Import(path, nodes, error)) << error.toStdString();
    EXPECT_TRUE(FormsOneObject(nodes)) << path.toStdString();
    return nodes;
}

} // namespace KV::test
